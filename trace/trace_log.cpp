#include "trace/trace_log.h"

#include <strsafe.h>

#include <framework/cstring.h>

CTraceLog g_traceLog;

namespace {

const WCHAR kSwitchKey[] = TEXT("SOFTWARE\\Microsoft\\Windows\\CurrentVersion");
const WCHAR kSwitchValue[] = TEXT("SysLog");
const WCHAR kModuleTag[] = TEXT("QMX");
const int kEntryBytes = 8;

BOOL ReadSwitch() {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kSwitchKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return FALSE;
  DWORD data = 0;
  DWORD size = sizeof data;
  // Four bytes of data, whatever the value's type.
  LONG result = RegQueryValueExW(key, kSwitchValue, nullptr, nullptr, reinterpret_cast<LPBYTE>(&data), &size);
  RegCloseKey(key);
  return result == ERROR_SUCCESS && data != 0;
}

CTraceDepthTable* NewDepthTable() {
  auto* table = new CTraceDepthTable;
  table->pEntries = new BYTE[CTraceDepthTable::ENTRIES * kEntryBytes];
  ZeroMemory(table->flags, sizeof table->flags);
  table->nUsed = 0;
  return table;
}

void FreeDepthTable(CTraceDepthTable* table) {
  for (int i = 0; i < CTraceDepthTable::ENTRIES; ++i) {
    if (!table->flags[i]) continue;
    table->flags[i] = 0;
    ZeroMemory(table->pEntries + i * kEntryBytes, kEntryBytes);
    --table->nUsed;
  }
  delete[] table->pEntries;
  delete table;
}

// Milliseconds on the performance counter; its frequency is read once.
double CounterMilliseconds() {
  static LONGLONG frequency = 0;
  static bool known = false;
  if (!known) {
    LARGE_INTEGER f;
    frequency = QueryPerformanceFrequency(&f) ? f.QuadPart : 0;
    known = true;
  }
  LARGE_INTEGER now;
  if (frequency <= 0 || !QueryPerformanceCounter(&now)) return 0.0;
  return static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(frequency);
}

}  // namespace

void CTraceLog::BlockName(LPWSTR name) {
  StringCchPrintfW(name, MAX_PATH, TEXT("Object_System_%s_%x"), TEXT("stackDeepth"), GetCurrentProcessId());
}

void CTraceLog::SetUp() {
  CState& state = m_state.Get();
  WCHAR name[MAX_PATH] = {0};
  BlockName(name);
  state.hMapping =
      CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(CTraceBlock), name);
  if (state.hMapping) {
    state.pView = static_cast<CTraceBlock*>(MapViewOfFile(state.hMapping, FILE_MAP_ALL_ACCESS, 0, 0, 0));
    if (!state.pView) {
      CloseHandle(state.hMapping);
      state.hMapping = nullptr;
    }
  }
  if (state.pView && state.pView->owner == 0) {
    state.pView->owner = reinterpret_cast<ULONG_PTR>(this);
    state.pView->table = reinterpret_cast<ULONG_PTR>(NewDepthTable());
  }
  state.bEnabled = ReadSwitch();
  Trace(TEXT("Last build at %s %s"), TEXT(__DATE__), TEXT(__TIME__));
}

void CTraceLog::TearDown() {
  CState& state = m_state.Get();
  if (state.pView) {
    if (state.pView->owner == reinterpret_cast<ULONG_PTR>(this)) {
      state.pView->owner = 0;
      if (state.pView->table) FreeDepthTable(reinterpret_cast<CTraceDepthTable*>(state.pView->table));
      state.pView->table = 0;
    }
    UnmapViewOfFile(state.pView);
  }
  if (state.hMapping) CloseHandle(state.hMapping);
  m_state.Reset();
}

BOOL CTraceLog::IsEnabled() const { return m_state.Peek().bEnabled; }

void CTraceLog::Trace(LPCWSTR format, ...) {
  va_list args;
  va_start(args, format);
  TraceV(format, args);
  va_end(args);
}

void CTraceLog::TraceV(LPCWSTR format, va_list args) {
  if (!IsEnabled()) return;
  CString message;
  message.FormatV(format, args);
  CString line;
  line.Format(TEXT("[%s+%.4x:%.4x] %8.3f %s\n"), kModuleTag, GetCurrentProcessId(), GetCurrentThreadId(),
              CounterMilliseconds(), static_cast<LPCWSTR>(message));
  OutputDebugStringW(line);
}
