// The stand-in's process glue for msnmsgr.exe: Messenger's UI thread runs in this process, "the
// desktop is idle" means that thread has run everything posted to it so far, and Messenger's
// class is registered with COM as the local server of the front class.
#include <ole2.h>

#include <memory>

#include "world/common/com_object.h"
#include "world/messenger/sim_glue.h"
#include "world/messenger_exe/dispatch_front.h"
#include "world/messenger_exe/window_report.h"
#include "world/messenger_exe/process.h"
#include "world/messenger_exe/remote_protocol.h"

namespace world::messenger {

namespace {

constexpr UINT kIdlePing = WM_APP + 0x201;  // lParam: the event to set
const WCHAR kIdleClass[] = L"TellbudMessengerIdle";

HANDLE g_thread = nullptr;
DWORD g_thread_id = 0;
HWND g_idle_window = nullptr;
HANDLE g_idle_event = nullptr;
DWORD g_class_cookie = 0;
HRESULT g_class_registration = E_UNEXPECTED;
std::function<HRESULT(REFIID, void**)> g_create;

LRESULT CALLBACK IdleProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == kIdlePing) {
    SetEvent(reinterpret_cast<HANDLE>(lp));
    return 0;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

struct ThreadStart {
  std::function<void()> body;
  HANDLE ready = nullptr;
};

DWORD WINAPI MessengerThreadMain(LPVOID param) {
  std::unique_ptr<ThreadStart> start(static_cast<ThreadStart*>(param));
  WNDCLASSW wc{};
  wc.lpfnWndProc = IdleProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = kIdleClass;
  RegisterClassW(&wc);
  g_idle_window =
      CreateWindowExW(0, kIdleClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
  process::InstallWindowReport();
  SetEvent(start->ready);
  start->body();
  process::RemoveWindowReport();
  if (g_idle_window) DestroyWindow(g_idle_window);
  return 0;
}

// Makes Messenger's object for a client of another process: the stand-in's object behind its
// late-bound front.
class FrontFactory final : public ComObject<IClassFactory> {
 public:
  STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    ComPtr<IUnknown> object;
    HRESULT hr = g_create ? g_create(IID_IUnknown, object.PutVoid()) : CO_E_SERVER_EXEC_FAILURE;
    if (FAILED(hr)) return hr;
    ComPtr<IDispatch> front = remote::MakeFront(object.Get());
    return front ? front->QueryInterface(riid, ppv) : E_NOINTERFACE;
  }
  STDMETHODIMP LockServer(BOOL) override { return S_OK; }
};

}  // namespace

namespace process {

HANDLE MessengerThread() { return g_thread; }

HRESULT ClassRegistration() { return g_class_registration; }

bool WaitHandlingSent(DWORD count, const HANDLE* handles, DWORD timeoutMs) {
  DWORD start = GetTickCount();
  for (;;) {
    DWORD elapsed = GetTickCount() - start;
    if (elapsed >= timeoutMs) return false;
    DWORD r = MsgWaitForMultipleObjects(count, handles, FALSE, timeoutMs - elapsed, QS_SENDMESSAGE);
    if (r < WAIT_OBJECT_0 + count) return true;
    if (r != WAIT_OBJECT_0 + count) return false;
    MSG msg;
    PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);  // runs the sent messages
  }
}

}  // namespace process

namespace glue {

DWORD StartMessengerProcess(std::function<void()> body) {
  if (g_thread && WaitForSingleObject(g_thread, 0) == WAIT_TIMEOUT) return 0;
  if (g_thread) CloseHandle(g_thread);
  auto* start = new ThreadStart{std::move(body), CreateEventW(nullptr, TRUE, FALSE, nullptr)};
  HANDLE ready = start->ready;
  g_thread = CreateThread(nullptr, 0, MessengerThreadMain, start, 0, &g_thread_id);
  if (!g_thread) {
    CloseHandle(ready);
    delete start;
    return 0;
  }
  HANDLE both[] = {ready, g_thread};
  WaitForMultipleObjects(2, both, FALSE, INFINITE);
  CloseHandle(ready);
  return g_thread_id;
}

bool IsProcessRunning(DWORD pid) {
  return pid && pid == g_thread_id && g_thread && WaitForSingleObject(g_thread, 0) == WAIT_TIMEOUT;
}

void RunUntilIdle() {
  if (!IsProcessRunning(g_thread_id) || !g_idle_window) return;
  if (!g_idle_event) g_idle_event = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  ResetEvent(g_idle_event);
  if (!PostMessageW(g_idle_window, kIdlePing, 0, reinterpret_cast<LPARAM>(g_idle_event))) return;
  // Messages are taken in posting order, so once the ping is answered everything posted before
  // it has run; a thread that ends meanwhile answers nothing more.
  HANDLE both[] = {g_idle_event, g_thread};
  process::WaitHandlingSent(2, both, 30000);
}

void RegisterMessengerClass(std::function<HRESULT(REFIID riid, void** ppv)> create) {
  g_create = std::move(create);
  ComPtr<FrontFactory> factory = MakeCom<FrontFactory>();
  g_class_registration = CoRegisterClassObject(remote::kClsidMessengerFront, factory.Get(),
                                               CLSCTX_LOCAL_SERVER, REGCLS_MULTIPLEUSE, &g_class_cookie);
}

void UnregisterMessengerClass() {
  if (g_class_cookie) CoRevokeClassObject(g_class_cookie);
  g_class_cookie = 0;
  g_create = nullptr;
}

void VanishNow() {
  TerminateProcess(GetCurrentProcess(), 1);
  ExitProcess(1);
}

}  // namespace glue

}  // namespace world::messenger
