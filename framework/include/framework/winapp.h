// CWinApp: the application object. The program derives one class from it and defines exactly one
// global instance of it; its wWinMain calls AfxWinMain, which runs InitInstance, the message loop
// (Run) and ExitInstance.
#pragma once

#include <windows.h>

#include <framework/cstring.h>
#include <framework/process_local.h>

#include <exception>

class CWnd;

class CWinApp {
 public:
  // Registers this object as the application (AfxGetApp). Calls no Windows API.
  explicit CWinApp(LPCWSTR pszAppName = nullptr);
  virtual ~CWinApp();
  CWinApp(const CWinApp&) = delete;
  CWinApp& operator=(const CWinApp&) = delete;

  // Returning FALSE ends the program without a message loop; AfxWinMain then returns
  // ExitInstance()'s code (0 unless a WM_QUIT was seen).
  virtual BOOL InitInstance() { return TRUE; }
  // Called when the program ends; returns the exit code.
  virtual int ExitInstance();
  // The message loop: GetMessage until WM_QUIT, then ExitInstance().
  virtual int Run();
  // Gives the window a message is for (and its top-level ancestor) the chance to handle it
  // before it is dispatched (dialogs run IsDialogMessageW here). TRUE: handled.
  virtual BOOL PreTranslateMessage(MSG* pMsg);

  // These belong to the calling process's run of the program.
  CProcessLocalValue<CWnd*> m_pMainWnd;
  CProcessLocalValue<HINSTANCE> m_hInstance;
  CProcessLocalValue<LPWSTR> m_lpCmdLine;
  CProcessLocalValue<int> m_nCmdShow;

 private:
  friend int AfxWinMain(HINSTANCE, HINSTANCE, LPWSTR, int);
  void BeginRun(HINSTANCE hInstance, LPWSTR lpCmdLine, int nCmdShow);
  void EndRun();

  friend LPCWSTR AfxGetAppName();
  CString m_strFixedName;               // a name given to the constructor, which wins over the module's
  CProcessLocal<CString> m_strAppName;  // the executable's file name without its extension
  CProcessLocal<int> m_nExitCode;       // the last WM_QUIT's code
};

CWinApp* AfxGetApp();
HINSTANCE AfxGetInstanceHandle();
LPCWSTR AfxGetAppName();
CWnd* AfxGetMainWnd();
void AfxPostQuitMessage(int nExitCode);
// Lets dialogs host ActiveX controls (items whose class is "{CLSID}"); without it those items
// are skipped. Lasts for the current run of the program.
void AfxEnableControlContainer();
BOOL AfxControlContainerEnabled();
// Initialises COM for the calling thread as a single-threaded apartment; AfxWinMain balances it
// when the run ends. FALSE when COM could not be initialised.
BOOL AfxOleInit();
// Writes a line for the debugger (OutputDebugStringW), with the line end added.
void AfxTrace(LPCWSTR pszText);
// Writes "Exception in <where>: <what>" for the debugger.
void AfxTraceException(LPCWSTR pszWhere, const std::exception& e);

// The framework's entry point; the program's wWinMain returns its result. An exception that
// leaves InitInstance or Run is written for the debugger and ends the run with exit code -1.
int AfxWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPWSTR lpCmdLine, int nCmdShow);
