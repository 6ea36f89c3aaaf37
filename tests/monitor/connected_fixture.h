// Tellbud in a world where the handset is plugged in and Messenger runs with the user signed
// in: the common ground of the monitor's and the Messenger link's tests.
//
// Tellbud's Messenger watch ticks every two seconds from its start (2 s, 4 s, ...); the first
// tick after start connects and holds the program for half a second while Messenger's main
// window comes up. Start() leaves the clock at 3 s, between two ticks, so that Tick() (two
// seconds) always covers exactly one watch tick.
#pragma once

#include <string>
#include <vector>

#include "support/program_fixture.h"
#include "world/messenger/stand_in.h"

class ConnectedFixture : public ProgramFixture {
 protected:
  // Messenger running and signed in with these contacts ("contact add" arguments), the
  // handset plugged, then Tellbud started and connected.
  void StartConnected(const std::vector<std::string>& contacts) {
    StartMessenger(contacts);
    Run("handset plug");
    StartTellbud();
  }
  void StartMessenger(const std::vector<std::string>& contacts) {
    Run("messenger start");
    Run("messenger signin");
    for (const std::string& c : contacts) Run("contact add " + c);
  }
  // Starts Tellbud and lets it reach the moment after its first Messenger watch tick.
  void StartTellbud() {
    Run("start");
    Run("wait 3s");
  }
  // One Messenger watch tick.
  void Tick() { Run("wait 2s"); }

  CTellbudDlg& Tellbud() {
    CTellbudDlg* dlg = Dialog();
    EXPECT_NE(dlg, nullptr);
    return *dlg;
  }
  int CallState() { return Tellbud().m_nCallState; }
  size_t Watched() { return Tellbud().m_lstConversations.size(); }
  bool HasCurrentConversation() { return static_cast<bool>(Tellbud().m_pCurConversation); }
  std::string Caller() { return world::Utf8(Tellbud().m_strCaller.GetString()); }
  // Column 0 of the rows, joined by '|'.
  std::string Names() { return ContactNames(world); }
};

// Failing expectations print the transcript.
#define EXPECT_NOT_PRINTED(text) \
  EXPECT_FALSE(PrintedSinceMark(text)) << "unexpected: " << (text) << "\n" << Transcript()
