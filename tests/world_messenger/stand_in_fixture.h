// A desktop with the Messenger stand-in and a transcript recorder, for the stand-in's tests.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <sim/desktop.h>

#include <string>
#include <vector>

#include "world/messenger/stand_in.h"

namespace world::messenger {

class TranscriptRecorder : public Reporter {
 public:
  std::vector<std::string> lines;
  void Report(const std::string& source, const std::string& text) override {
    lines.push_back(source + " " + text);
  }
  bool Has(const std::string& line) const {
    for (const auto& l : lines)
      if (l == line) return true;
    return false;
  }
};

class StandInTest : public ::testing::Test {
 protected:
  sim::Desktop desktop;
  TranscriptRecorder transcript;
  MessengerStandIn messenger{&transcript};

  void SetUp() override {
    ASSERT_TRUE(messenger.Start());
    ASSERT_TRUE(messenger.SignIn());
    ASSERT_TRUE(messenger.AddContact("bob@example.com", "Bob", kStatusOnline));
    transcript.lines.clear();
  }

  ConversationView Bob() {
    auto c = messenger.ConversationOf("bob@example.com");
    EXPECT_TRUE(c.has_value());
    return c.value_or(ConversationView{});
  }

  // Presses Alt+letter as keybd_event delivers it to the foreground window.
  void PressAlt(BYTE letter) {
    keybd_event(VK_MENU, 0, 0, 0);
    keybd_event(letter, 0, 0, 0);
    keybd_event(letter, 0, KEYEVENTF_KEYUP, 0);
    keybd_event(VK_MENU, 0, KEYEVENTF_KEYUP, 0);
    desktop.RunUntilIdle();
  }
};

}  // namespace world::messenger
