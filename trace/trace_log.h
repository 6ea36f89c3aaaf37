// The trace log: time-stamped lines for the debugger output, for the program's developers. It is
// off unless the current user's registry value "SysLog" under
// "SOFTWARE\Microsoft\Windows\CurrentVersion" is non-zero, read once when the log is set up.
//
// Each process has one trace object, set up before the program's start-up code and torn down
// when the program ends. It joins (or creates and owns) a small block of memory shared by the
// modules of the process, named "Object_System_stackDeepth_<process id in hex>".
#pragma once

#include <windows.h>

#include <framework/process_local.h>

// The shared block: the owning trace object and its depth table, each a pointer of the
// process (8 bytes in all in a 32-bit process).
struct CTraceBlock {
  ULONG_PTR owner;
  ULONG_PTR table;
};
static_assert(sizeof(CTraceBlock) == 2 * sizeof(void*), "the block holds two pointers");

// The owner's depth table. Nothing adds entries; the owner clears the used ones at teardown.
struct CTraceDepthTable {
  static const int ENTRIES = 256;
  BYTE* pEntries;  // ENTRIES entries of 8 bytes, a separate allocation
  BYTE flags[ENTRIES];
  DWORD nUsed;
};

class CTraceLog {
 public:
  // Joins or creates the process's shared block, reads the switch and writes the banner.
  void SetUp();
  // Gives the block back, with the depth table when this object owns it.
  void TearDown();
  // printf-style; nothing while the log is off.
  void Trace(LPCWSTR format, ...);
  void TraceV(LPCWSTR format, va_list args);
  BOOL IsEnabled() const;

  // The calling process's block name into `name` (MAX_PATH characters).
  static void BlockName(LPWSTR name);

 private:
  struct CState {
    HANDLE hMapping = nullptr;
    CTraceBlock* pView = nullptr;
    BOOL bEnabled = FALSE;
  };
  // On Windows a process holds one; the simulated desktop runs several processes in one.
  CProcessLocal<CState> m_state;
};

// The program's trace object.
extern CTraceLog g_traceLog;

// Sets the trace log up for as long as it lives: the program's entry point holds one for the
// whole run.
class CTraceScope {
 public:
  CTraceScope() { g_traceLog.SetUp(); }
  ~CTraceScope() { g_traceLog.TearDown(); }
  CTraceScope(const CTraceScope&) = delete;
  CTraceScope& operator=(const CTraceScope&) = delete;
};
