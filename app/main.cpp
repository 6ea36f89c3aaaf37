// The program's entry point.
#include <windows.h>

#include <framework/winapp.h>

#include "trace/trace_log.h"

int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPWSTR lpCmdLine, int nCmdShow) {
  // The trace log is there before the start-up code runs and goes when the program ends.
  CTraceScope trace;
  return AfxWinMain(hInstance, hPrevInstance, lpCmdLine, nCmdShow);
}
