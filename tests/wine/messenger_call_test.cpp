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

}  // namespace
}  // namespace wine_test
