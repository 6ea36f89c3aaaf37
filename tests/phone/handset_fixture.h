// Tellbud with a handset and a signed-in Messenger, ready for calls: helpers the handset's tests
// share (starting the world, reading the handset, the main window and Messenger's windows).
#pragma once

#include <sim/controls.h>
#include <sim/desktop.h>

#include <string>
#include <vector>

#include "support/program_fixture.h"
#include "world/core/text.h"
#include "world/handset/stand_in.h"
#include "world/messenger/stand_in.h"

class HandsetFixture : public ProgramFixture {
 protected:
  // A handset of `model` (hexadecimal, as `handset plug` takes it), Messenger signed in with
  // `contacts` online (each shown under its name before the @, capitalised), Tellbud started and
  // settled: the handset found and Messenger connected.
  void StartWorld(const std::string& model = "0200",
                  std::initializer_list<const char*> contacts = {"bob@example.com", "ann@example.com"}) {
    Run("handset plug " + model);
    RunAll({"messenger start", "messenger signin"});
    for (const char* signin : contacts)
      Run(std::string("contact add ") + signin + " \"" + Friendly(signin) + "\" online");
    Run("start");
    Run("wait 3s");
    ASSERT_NE(Dialog(), nullptr);
    ASSERT_EQ(Dialog()->m_nCallState, CALL_READY) << Transcript();
    ASSERT_TRUE(Dialog()->m_bMSNConnected) << Transcript();
    Forget();
  }

  // "bob@example.com" is shown as "Bob".
  static std::string Friendly(const std::string& signin) {
    std::string name = signin.substr(0, signin.find('@'));
    if (!name.empty() && name[0] >= 'a' && name[0] <= 'z') name[0] = static_cast<char>(name[0] - 'a' + 'A');
    return name;
  }

  // A call from `signin` that rings the handset.
  void Ring(const std::string& signin = "bob@example.com") {
    Run("call " + signin);
    Run("wait 2s");
    ASSERT_EQ(Dialog()->m_nCallState, CALL_RINGING) << Transcript();
    Forget();
  }
  // A call from `signin`, answered by lifting the handset, that the scan has seen running.
  void Talk(const std::string& signin = "bob@example.com") {
    Ring(signin);
    Run("handset lift");
    Run("wait 2s");
    ASSERT_EQ(Dialog()->m_nCallState, CALL_TALKING) << Transcript();
    Forget();
  }

  world::handset::DeviceState Handset() { return world.handset().State(); }

  std::optional<world::messenger::ConversationView> Conversation(
      const std::string& signin = "bob@example.com") {
    return world.messenger().ConversationOf(signin);
  }

  HWND MainWindow() { return world.TellbudMainWindow().value_or(nullptr); }
  bool MainWindowVisible() {
    auto info = sim::InspectWindow(MainWindow());
    return info && info->visible;
  }

  // The contact list's selection mark and the rows shown selected (0-based).
  int SelectionMark() {
    auto view = sim::InspectListView(world.TellbudContactList().value_or(nullptr));
    return view ? view->selection_mark : -2;
  }
  std::vector<int> SelectedRows() {
    std::vector<int> rows;
    auto view = sim::InspectListView(world.TellbudContactList().value_or(nullptr));
    if (!view) return rows;
    for (size_t i = 0; i < view->rows.size(); ++i)
      if (view->rows[i].selected) rows.push_back(static_cast<int>(i));
    return rows;
  }

  // The lines printed since the previous Expect (or Forget), without their time stamps.
  std::vector<std::string> LinesSinceMark() const {
    std::vector<std::string> lines;
    for (size_t i = mark; i < printed.size(); ++i) {
      const std::string& line = printed[i];
      size_t text = line.find("] ");
      lines.push_back(text == std::string::npos ? line : line.substr(text + 2));
    }
    return lines;
  }
  // How many lines since the previous Expect contain `text`.
  int CountSinceMark(const std::string& text) const {
    int count = 0;
    for (const std::string& line : LinesSinceMark())
      if (line.find(text) != std::string::npos) ++count;
    return count;
  }
};
