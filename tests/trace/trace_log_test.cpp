// The trace log: nothing at all unless SysLog is set; the shared block of the process is owned by
// the first trace object that finds it empty, holds two pointers, and is given back at the end.
#include <sim/debug.h>

#include "support/program_fixture.h"
#include "trace/trace_log.h"

namespace {

using TraceLogTest = ProgramFixture;

TEST_F(TraceLogTest, WithSysLogAbsentOrZeroNothingIsWritten) {
  sim::DebugOutputLog log;
  Run("start");
  Run("registry dword HKCU\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion SysLog 0");
  RunAll({"start *exit*", "wait 1s", "start", "wait 3s"});
  EXPECT_EQ(log.Text().find(u"[QMX+"), std::u16string::npos);
}

TEST_F(TraceLogTest, TheFirstTraceObjectOwnsTheSharedBlockAndGivesItBack) {
  sim::ProcessInfo info{0, u"probe.exe", u"Z:\\probe.exe", u"probe.exe", 0};
  world.desktop().StartProcess(info, [] {
    CTraceLog first, second;  // as two modules of one process
    first.SetUp();
    WCHAR name[MAX_PATH], expected[MAX_PATH];
    CTraceLog::BlockName(name);
    wsprintfW(expected, TEXT("Object_System_stackDeepth_%x"), GetCurrentProcessId());
    EXPECT_EQ(lstrcmpW(name, expected), 0);
    HANDLE mapping = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(CTraceBlock), name);
    auto* block = static_cast<CTraceBlock*>(MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, 0));
    EXPECT_NE(block, nullptr);
    if (!block) return 1;
    EXPECT_EQ(block->owner, reinterpret_cast<ULONG_PTR>(&first));
    auto* table = reinterpret_cast<CTraceDepthTable*>(block->table);
    EXPECT_NE(table, nullptr);
    if (!table) return 1;
    EXPECT_EQ(table->nUsed, 0u);
    table->flags[3] = 1;  // an entry in use is cleared at teardown
    table->nUsed = 1;

    second.SetUp();
    second.TearDown();
    EXPECT_EQ(block->owner, reinterpret_cast<ULONG_PTR>(&first)) << "a second object only joins";
    EXPECT_EQ(block->table, reinterpret_cast<ULONG_PTR>(table));
    first.TearDown();
    EXPECT_EQ(block->owner, 0u);
    EXPECT_EQ(block->table, 0u);
    UnmapViewOfFile(block);
    CloseHandle(mapping);
    return 0;
  });
  world.Settle();
}

}  // namespace
