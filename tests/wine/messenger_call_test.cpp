// Tellbud.exe with the Messenger stand-in as a process of its own (msnmsgr.exe, reached through
// TellbudMessenger.dll registered under Messenger's class) and the handset control: the contact
// list, a call from ringing to its end, and Messenger crashing in the middle of a call.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

#include "tests/wine/messenger_world.h"
#include "tests/wine/tellbud_fixture.h"

namespace wine_test {
namespace {

const char kBobWindow[] = "\"Bob - Dialog\"";

class MessengerProcess : public WineTellbud {
 protected:
  void SetUp() override {
    m_messenger = std::make_unique<CMessengerWorld>();
    WineTellbud::SetUp();
    if (HasFatalFailure()) return;
    ASSERT_TRUE(m_world->Play("plug")) << Everything();
    ASSERT_TRUE(m_world->WaitLine("handset OpenDevice(0) -> TRUE", kUiTimeout)) << Everything();
    ASSERT_TRUE(m_messenger->Start()) << "msnmsgr.exe did not start serving\n" << Everything();
    ASSERT_TRUE(m_messenger->Command("messenger signin")) << Everything();
    ASSERT_TRUE(m_messenger->Command("contact add bob@example.com \"Bob\" online")) << Everything();
    ASSERT_TRUE(m_messenger->Command("contact add ann@example.com \"Ann\" offline")) << Everything();
  }
  void TearDown() override {
    WineTellbud::TearDown();
    m_messenger.reset();
  }

  std::string Everything() const {
    return Seen() + "messenger transcript:\n" + (m_messenger ? m_messenger->Transcript() : "  (none)\n");
  }
  std::vector<std::wstring> Rows() const {
    HWND list = FindWindowExW(m_hMain, nullptr, L"SysListView32", nullptr);
    return list ? ListViewItems(list) : std::vector<std::wstring>();
  }
  // Waits until the contact list's rows are exactly `rows`.
  bool ListShows(const std::vector<std::wstring>& rows) {
    return WaitFor([&] { return Rows() == rows; }, kStartTimeout);
  }
  std::string RowsText() const {
    std::string text = "rows:";
    for (const std::wstring& row : Rows()) text += " \"" + std::string(row.begin(), row.end()) + "\"";
    return text + "\n";
  }
  // The handset rings for Bob's call.
  void Ring() {
    ASSERT_TRUE(ListShows({L"Bob", L" ", L"Ann"})) << RowsText() << Everything();
    ASSERT_TRUE(m_messenger->Command("call bob@example.com")) << Everything();
    ASSERT_TRUE(m_world->WaitLine("handset ShowIncomingCall(\"bob@example.com\")", kStartTimeout))
        << Everything();
  }
  // Lifting the handset answers the call in Messenger's window, and the handset shows it.
  void Answer() {
    ASSERT_TRUE(Activate(m_hMain)) << Everything();
    ASSERT_TRUE(m_world->Play("lift")) << Everything();
    EXPECT_TRUE(m_messenger->WaitLine("keyboard 0x43 down", kUiTimeout))
        << "Alt+C did not reach Messenger's window\n"
        << Everything();
    ASSERT_TRUE(m_messenger->WaitLine(
        std::string("history ") + kBobWindow + " \"You are now in a voice conversation with Bob.\"",
        kUiTimeout))
        << Everything();
    ASSERT_TRUE(m_world->WaitLine("handset ShowTalking(\"bob@example.com\")", kStartTimeout)) << Everything();
  }

  std::unique_ptr<CMessengerWorld> m_messenger;
};

// Online contacts above the separator, the others below it; a contact's change of status
// reaches Tellbud as Messenger's event, carried from msnmsgr.exe to Tellbud's sink.
TEST_F(MessengerProcess, ContactsShowInTheListAndFollowTheirStatus) {
  EXPECT_TRUE(ListShows({L"Bob", L" ", L"Ann"})) << RowsText() << Everything();
  ASSERT_TRUE(m_messenger->Command("contact status ann@example.com online")) << Everything();
  EXPECT_TRUE(ListShows({L"Ann", L"Bob", L" "})) << RowsText() << Everything();
  ASSERT_TRUE(m_messenger->Command("contact remove bob@example.com")) << Everything();
  EXPECT_TRUE(ListShows({L"Ann", L" "})) << RowsText() << Everything();
}

// An incoming call rings the handset; lifting answers it with Alt+C in Messenger's window, and
// putting the handset down ends it with Messenger's question answered.
TEST_F(MessengerProcess, IncomingCallRingsIsAnsweredAndEndsFromTheHandset) {
  Ring();
  Answer();
  size_t before = m_messenger->Lines().size();
  ASSERT_TRUE(m_world->Play("down")) << Everything();
  EXPECT_TRUE(m_messenger->WaitLine("messenger Close(" + std::string(kBobWindow) + ")", kUiTimeout))
      << Everything();
  EXPECT_TRUE(m_messenger->WaitLine("window \"Windows Live Messenger\" shown", kUiTimeout))
      << "Messenger did not ask\n"
      << Everything();
  EXPECT_TRUE(m_messenger->WaitLine("click \"Windows Live Messenger\" 1", kUiTimeout))
      << "Messenger's question was not clicked\n"
      << Everything();
  EXPECT_TRUE(m_messenger->WaitLine(
      std::string("history ") + kBobWindow + " \"The voice conversation has ended.\"", kUiTimeout))
      << Everything();
  EXPECT_TRUE(m_messenger->WaitLine(std::string("window ") + kBobWindow + " destroyed", kUiTimeout))
      << Everything();
  EXPECT_TRUE(m_world->WaitLine("handset SetIdle()", kUiTimeout)) << Everything();
  EXPECT_EQ(0u, m_messenger->CountLines("refused", before)) << Everything();
}

// Messenger crashing in the middle of a call: the handset goes idle, Tellbud goes on, and a
// Messenger started again (with its stored contacts and status) is found again.
TEST_F(MessengerProcess, MessengerKilledMidCallIdlesTheHandsetAndIsFoundAgain) {
  Ring();
  Answer();
  size_t before = m_world->Lines().size();
  ASSERT_TRUE(m_messenger->Kill()) << Everything();
  EXPECT_TRUE(WaitFor(
      [&] {
        std::vector<std::string> lines = m_world->Lines();
        return std::any_of(
            lines.begin() + static_cast<long>(std::min(before, lines.size())), lines.end(),
            [](const std::string& l) { return l.find("handset SetIdle()") != std::string::npos; });
      },
      kStartTimeout))
      << "the handset was not set idle after Messenger's crash\n"
      << Everything();
  EXPECT_TRUE(ListShows({})) << RowsText() << Everything();
  EXPECT_FALSE(m_run->HasExited()) << Everything();

  ASSERT_TRUE(m_messenger->Start()) << "msnmsgr.exe did not serve again after the crash\n" << Everything();
  EXPECT_TRUE(ListShows({L"Bob", L" ", L"Ann"})) << RowsText() << Everything();
}

// An always-on-top window of another program, full screen, shown without taking the foreground
// from anyone; its own thread answers its messages.
class CCoverWindow {
 public:
  CCoverWindow() {
    m_hReady = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    m_hThread = CreateThread(nullptr, 0, Run, this, 0, nullptr);
    WaitForSingleObject(m_hReady, kUiTimeout);
  }
  ~CCoverWindow() {
    if (m_hWnd) PostMessageW(m_hWnd, WM_CLOSE, 0, 0);
    WaitForSingleObject(m_hThread, kUiTimeout);
    CloseHandle(m_hThread);
    CloseHandle(m_hReady);
  }
  HWND Handle() const { return m_hWnd; }

 private:
  static DWORD WINAPI Run(LPVOID param) {
    auto* self = static_cast<CCoverWindow*>(param);
    self->m_hWnd = CreateWindowExW(WS_EX_TOPMOST | WS_EX_NOACTIVATE, L"Static", L"cover", WS_POPUP, 0, 0,
                                   GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), nullptr,
                                   nullptr, nullptr, nullptr);
    if (self->m_hWnd) ShowWindow(self->m_hWnd, SW_SHOWNOACTIVATE);
    SetEvent(self->m_hReady);
    MSG msg;
    while (self->m_hWnd && GetMessageW(&msg, nullptr, 0, 0) > 0) {
      if (msg.message == WM_CLOSE && msg.hwnd == self->m_hWnd) break;
      DispatchMessageW(&msg);
    }
    if (self->m_hWnd) DestroyWindow(self->m_hWnd);
    return 0;
  }
  HWND m_hWnd = nullptr;
  HANDLE m_hReady = nullptr;
  HANDLE m_hThread = nullptr;
};

// Messenger's conversation window minimised when the handset is lifted: Tellbud restores it
// before typing Alt+C, which a minimised window would not get as its shortcut.
TEST_F(MessengerProcess, AMinimisedConversationWindowIsRestoredAndAnswered) {
  Ring();
  HWND bob = FindWindowW(L"IMWindowClass", L"Bob - Dialog");
  ASSERT_TRUE(bob) << Everything();
  ShowWindow(bob, SW_MINIMIZE);
  ASSERT_TRUE(WaitFor([&] { return IsIconic(bob) != FALSE; }, kUiTimeout)) << Everything();
  Answer();
  EXPECT_FALSE(IsIconic(bob)) << Everything();
}

// An always-on-top window over everything when the handset is lifted: the keys go to the window
// with the foreground, not the one on top, so Alt+C still answers in Messenger's window.
TEST_F(MessengerProcess, AConversationWindowUnderAnAlwaysOnTopWindowIsAnswered) {
  Ring();
  CCoverWindow cover;
  ASSERT_TRUE(cover.Handle() && IsWindowVisible(cover.Handle())) << Everything();
  Answer();
}

// Messenger's class not registered while msnmsgr.exe runs: Tellbud finds the process but cannot
// create its objects, shows no contacts and stays responsive; registered again, it connects.
TEST_F(MessengerProcess, AnUnregisteredMessengerClassLeavesTellbudWaitingNotHanging) {
  ASSERT_TRUE(ListShows({L"Bob", L" ", L"Ann"})) << RowsText() << Everything();
  HMODULE dll = LoadLibraryW(L"TellbudMessenger.dll");
  ASSERT_TRUE(dll) << "TellbudMessenger.dll is not beside the test program";
  using RegisterFunction = HRESULT(WINAPI*)();
  // Through void* : GetProcAddress's type is not the function's.
  auto unregister =
      reinterpret_cast<RegisterFunction>(reinterpret_cast<void*>(GetProcAddress(dll, "DllUnregisterServer")));
  auto reregister =
      reinterpret_cast<RegisterFunction>(reinterpret_cast<void*>(GetProcAddress(dll, "DllRegisterServer")));
  ASSERT_TRUE(unregister && reregister);
  ASSERT_TRUE(m_messenger->Quit()) << Everything();
  ASSERT_TRUE(ListShows({})) << RowsText() << Everything();
  ASSERT_EQ(S_OK, unregister());
  struct Reregister {
    RegisterFunction f;
    ~Reregister() { f(); }
  } restore{reregister};
  ASSERT_TRUE(m_messenger->Start()) << Everything();
  Sleep(6000);  // three watch ticks with msnmsgr.exe in the process list
  EXPECT_TRUE(Rows().empty()) << RowsText() << Everything();
  DWORD_PTR result = 0;
  EXPECT_TRUE(SendMessageTimeoutW(m_hMain, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kUiTimeout, &result))
      << "Tellbud's window does not answer\n"
      << Everything();
  EXPECT_FALSE(m_run->HasExited()) << Everything();
  ASSERT_EQ(S_OK, reregister());
  EXPECT_TRUE(ListShows({L"Bob", L" ", L"Ann"})) << RowsText() << Everything();
}  // the DLL stays loaded: `restore` still calls into it

}  // namespace
}  // namespace wine_test
