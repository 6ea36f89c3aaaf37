#include <framework/winapp.h>

#include <framework/wnd.h>

#include <ole2.h>

namespace {

// The one application object of the executable (a global constructed before start-up).
CWinApp*& TheApp() {
  static CWinApp* app = nullptr;
  return app;
}

// Settings of the calling process's run of the program.
struct RunSettings {
  bool controlContainer = false;
  int oleInitializations = 0;  // successful CoInitializeEx calls to balance at the end
};
CProcessLocal<RunSettings>& Settings() {
  static CProcessLocal<RunSettings> settings;
  return settings;
}

// The executable's file name without directory and extension.
CString ModuleTitle() {
  CString path;
  for (DWORD size = MAX_PATH;; size *= 2) {
    DWORD copied = GetModuleFileNameW(nullptr, path.GetBuffer(static_cast<int>(size)), size);
    path.ReleaseBuffer(copied < size ? static_cast<int>(copied) : 0);
    if (copied < size || size >= 32768) break;
  }
  int slash = path.ReverseFind('\\');
  CString name = path.Mid(slash + 1);
  int dot = name.ReverseFind('.');
  return dot > 0 ? name.Left(dot) : name;
}

}  // namespace

CWinApp::CWinApp(LPCWSTR pszAppName) : m_strFixedName(pszAppName) { TheApp() = this; }

CWinApp::~CWinApp() {
  if (TheApp() == this) TheApp() = nullptr;
}

int CWinApp::ExitInstance() { return m_nExitCode.Peek(); }

BOOL CWinApp::PreTranslateMessage(MSG* pMsg) {
  for (HWND hWnd = pMsg->hwnd; hWnd; hWnd = GetParent(hWnd)) {
    CWnd* wnd = CWnd::FromHandlePermanent(hWnd);
    if (wnd && wnd->PreTranslateMessage(pMsg)) return TRUE;
    if (!(GetWindowLongW(hWnd, GWL_STYLE) & WS_CHILD)) break;
  }
  return FALSE;
}

int CWinApp::Run() {
  MSG msg{};
  for (;;) {
    BOOL result = GetMessageW(&msg, nullptr, 0, 0);
    if (result == 0) {
      m_nExitCode.Get() = static_cast<int>(msg.wParam);
      break;
    }
    if (result == -1) break;
    if (!PreTranslateMessage(&msg)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  return ExitInstance();
}

void CWinApp::BeginRun(HINSTANCE hInstance, LPWSTR lpCmdLine, int nCmdShow) {
  EndRun();
  m_hInstance = hInstance;
  m_lpCmdLine = lpCmdLine;
  m_nCmdShow = nCmdShow;
  m_strAppName.Get() = m_strFixedName.IsEmpty() ? ModuleTitle() : m_strFixedName;
}

void CWinApp::EndRun() {
  m_pMainWnd.Reset();
  m_hInstance.Reset();
  m_lpCmdLine.Reset();
  m_nCmdShow.Reset();
  m_strAppName.Reset();
  m_nExitCode.Reset();
}

CWinApp* AfxGetApp() { return TheApp(); }

HINSTANCE AfxGetInstanceHandle() {
  CWinApp* app = AfxGetApp();
  return app ? static_cast<HINSTANCE>(app->m_hInstance) : GetModuleHandleW(nullptr);
}

LPCWSTR AfxGetAppName() {
  // Before AfxWinMain has named the run (or without an application object) the name is still
  // the executable's title.
  static CProcessLocal<CString> withoutApp;
  CWinApp* app = AfxGetApp();
  CString& name = app ? app->m_strAppName.Get() : withoutApp.Get();
  if (name.IsEmpty()) name = app && !app->m_strFixedName.IsEmpty() ? app->m_strFixedName : ModuleTitle();
  return name;
}

CWnd* AfxGetMainWnd() {
  CWinApp* app = AfxGetApp();
  return app ? static_cast<CWnd*>(app->m_pMainWnd) : nullptr;
}

void AfxPostQuitMessage(int nExitCode) { PostQuitMessage(nExitCode); }

void AfxEnableControlContainer() { Settings().Get().controlContainer = true; }

BOOL AfxControlContainerEnabled() { return Settings().Peek().controlContainer; }

BOOL AfxOleInit() {
  // Asked every time: COM itself knows whether this thread has entered its apartment.
  HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  if (FAILED(hr)) return FALSE;
  ++Settings().Get().oleInitializations;
  return TRUE;
}

void AfxTrace(LPCWSTR pszText) {
  CString line(pszText);
  line += TEXT("\r\n");
  OutputDebugStringW(line);
}

void AfxTraceException(LPCWSTR pszWhere, const std::exception& e) {
  CString line = CString(TEXT("Exception in ")) + pszWhere + TEXT(": ");
  for (const char* p = e.what(); p && *p; ++p) {
    unsigned char c = static_cast<unsigned char>(*p);
    line += static_cast<WCHAR>(c < 0x80 ? c : '?');
  }
  AfxTrace(line);
}

int AfxWinMain(HINSTANCE hInstance, HINSTANCE, LPWSTR lpCmdLine, int nCmdShow) {
  CWinApp* app = AfxGetApp();
  if (!app) return -1;
  Settings().Reset();
  app->BeginRun(hInstance, lpCmdLine, nCmdShow);
  int exitCode = -1;
  try {
    if (app->InitInstance()) {
      exitCode = app->Run();
    } else {
      CWnd* mainWnd = app->m_pMainWnd;
      if (mainWnd && mainWnd->GetSafeHwnd()) mainWnd->DestroyWindow();
      exitCode = app->ExitInstance();
    }
  } catch (const std::exception& e) {
    AfxTraceException(TEXT("the application's start or run"), e);
  }
  for (int i = Settings().Peek().oleInitializations; i > 0; --i) CoUninitialize();
  Settings().Reset();
  app->EndRun();
  return exitCode;
}
