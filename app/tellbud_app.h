// CTellbudApp: the application object. Its start-up decides whether this process may run at all
// (one instance per user), lets a second start end the running instance or bring its window
// forward, resolves the settings paths and runs the main window; it never enters the
// framework's own message loop.
#pragma once

#include <framework/winapp.h>

// The single-instance name: the mutex's and the main window's title.
#define TELLBUD_INSTANCE_NAME TEXT("Tellbud<1.0>")
// A start whose command line contains this ends the running instance.
#define TELLBUD_EXIT_MARKER TEXT("*exit*")

class CTellbudApp : public CWinApp {
 public:
  BOOL InitInstance() override;
};

extern CTellbudApp theApp;
