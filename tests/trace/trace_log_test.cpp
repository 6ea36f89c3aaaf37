// The trace log: off unless SysLog is set; when on, the build banner is its first line, tagged
// with the module and the process and thread ids; the shared block of the process is owned by
// the first trace object that finds it empty and given back at the end.
#include <sim/debug.h>

#include <regex>

#include "support/program_fixture.h"
#include "trace/trace_log.h"

namespace {

class TraceLogTest : public ProgramFixture {
 protected:
  std::vector<std::string> TraceLines(const sim::DebugOutputLog& log) {
    std::vector<std::string> lines;
    for (const auto& line : log.lines()) {
      std::string text = world::Utf8(line.text);
      if (text.starts_with("[QMX+")) lines.push_back(text);
    }
    return lines;
  }
  // Runs `f` on a thread of a simulated process of its own and waits for it.
  template <typename F>
  DWORD InProcess(F f) {
    sim::ProcessInfo info{0, u"probe.exe", u"Z:\\probe.exe", u"probe.exe", 0};
    DWORD pid = world.desktop().StartProcess(info, [f]() mutable {
      f();
      return 0;
    });
    world.Settle();
    return pid;
  }
};

TEST_F(TraceLogTest, WithSysLogSetTheBannerIsTheFirstLine) {
  sim::DebugOutputLog log;
  Run("registry dword HKCU\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion SysLog 1");
  Run("start");
  auto lines = TraceLines(log);
  ASSERT_FALSE(lines.empty());
  ASSERT_FALSE(log.lines().empty());
  EXPECT_EQ(world::Utf8(log.lines().front().text), lines.front()) << "the banner comes before anything else";
  DWORD pid = world.RunningTellbuds().front();
  char tag[32];
  std::snprintf(tag, sizeof tag, "[QMX+%04x:", static_cast<unsigned>(pid));
  EXPECT_TRUE(lines.front().starts_with(tag)) << lines.front();
  EXPECT_TRUE(std::regex_match(lines.front(),
                               std::regex(R"(\[QMX\+[0-9a-f]{4,}:[0-9a-f]{4,}\] [ 0-9]{4,}\.[0-9]{3} )"
                                          R"(Last build at [A-Z][a-z]{2} [ 0-9]\d \d{4} \d\d:\d\d:\d\d\n)")))
      << lines.front();
}

TEST_F(TraceLogTest, WithSysLogAbsentOrZeroNothingIsWritten) {
  for (const char* setting :
       {"", "registry dword HKCU\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion SysLog 0"}) {
    if (*setting) Run(setting);
    sim::DebugOutputLog log;
    Run("start");
    Run("wait 5s");
    EXPECT_TRUE(TraceLines(log).empty()) << setting;
    Run("start *exit*");
    Run("wait 1s");
  }
}

// The block holds two pointers of the process; the first trace object owns it and its depth
// table, a second one (another module) only joins, and the owner's teardown frees the block.
TEST_F(TraceLogTest, TheFirstTraceObjectOwnsTheSharedBlockAndGivesItBack) {
  InProcess([] {
    CTraceLog first, second;
    first.SetUp();
    WCHAR name[MAX_PATH];
    CTraceLog::BlockName(name);
    WCHAR expected[MAX_PATH];
    wsprintfW(expected, TEXT("Object_System_stackDeepth_%x"), GetCurrentProcessId());
    EXPECT_EQ(lstrcmpW(name, expected), 0);

    HANDLE mapping =
        CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(CTraceBlock), name);
    ASSERT_NE(mapping, nullptr);
    auto* block = static_cast<CTraceBlock*>(MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, 0));
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(block->owner, reinterpret_cast<ULONG_PTR>(&first));
    ASSERT_NE(block->table, 0u);
    auto* table = reinterpret_cast<CTraceDepthTable*>(block->table);
    EXPECT_EQ(table->nUsed, 0u);
    table->flags[3] = 1;  // an entry in use is cleared at teardown
    table->nUsed = 1;

    second.SetUp();
    EXPECT_EQ(block->owner, reinterpret_cast<ULONG_PTR>(&first)) << "a second object only joins";
    EXPECT_EQ(block->table, reinterpret_cast<ULONG_PTR>(table));
    second.TearDown();
    EXPECT_EQ(block->owner, reinterpret_cast<ULONG_PTR>(&first));
    first.TearDown();
    EXPECT_EQ(block->owner, 0u);
    EXPECT_EQ(block->table, 0u);
    UnmapViewOfFile(block);
    CloseHandle(mapping);
  });
}

// Each simulated process has its own trace state: one with the log on does not switch on
// another's.
TEST_F(TraceLogTest, EachProcessHasItsOwnSwitch) {
  Run("registry dword HKCU\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion SysLog 1");
  BOOL enabledMeanwhile = TRUE;
  InProcess([&] {
    g_traceLog.SetUp();
    EXPECT_TRUE(g_traceLog.IsEnabled());
    g_traceLog.TearDown();
  });
  InProcess([&] { enabledMeanwhile = g_traceLog.IsEnabled(); });
  EXPECT_FALSE(enabledMeanwhile) << "a process that never set the log up has it off";
}

}  // namespace
