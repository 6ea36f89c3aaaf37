// The console's commands for the handset and Messenger stand-ins: what they accept and what
// they tell when the world cannot do it.
#include <gtest/gtest.h>

#include "world/console/console.h"
#include "world/console_fixture.h"
#include "world/handset/stand_in.h"
#include "world/messenger/stand_in.h"

namespace {

using console::Outcome;

class StandInCommandsTest : public ConsoleFixture {};

TEST_F(StandInCommandsTest, HandsetIsPluggedWithAHexadecimalModelCode) {
  EXPECT_EQ(Run("handset plug"), Outcome::kOk);
  EXPECT_EQ(world.handset().State().model, 0x0200);
  EXPECT_EQ(Run("handset unplug"), Outcome::kOk);
  EXPECT_EQ(Run("handset plug 0AB0"), Outcome::kOk);
  EXPECT_EQ(world.handset().State().model, 0x0AB0);
  EXPECT_EQ(Run("handset unplug"), Outcome::kOk);
  EXPECT_EQ(Run("handset plug 0x0301"), Outcome::kOk);
  EXPECT_EQ(world.handset().State().model, 0x0301);
}

TEST_F(StandInCommandsTest, MalformedModelCodesAndKeysAreBadCommands) {
  EXPECT_EQ(Run("handset plug xyz"), Outcome::kBadCommand);
  EXPECT_EQ(Run("handset plug 0x"), Outcome::kBadCommand);
  EXPECT_EQ(Run("handset plug 123456789abc"), Outcome::kBadCommand);
  EXPECT_EQ(Run("handset key 1 hello"), Outcome::kBadCommand);
  EXPECT_EQ(Run("handset key 99999"), Outcome::kBadCommand);
  EXPECT_EQ(Run("handset dial 12a"), Outcome::kBadCommand);
}

TEST_F(StandInCommandsTest, HandsetActionsFailWhileUnpluggedOrRepeated) {
  EXPECT_EQ(Run("handset lift"), Outcome::kFailed);
  EXPECT_EQ(Run("handset key 1"), Outcome::kFailed);
  EXPECT_EQ(Run("handset unplug"), Outcome::kFailed);
  ASSERT_EQ(Run("handset plug"), Outcome::kOk);
  EXPECT_EQ(Run("handset plug"), Outcome::kFailed);
  EXPECT_EQ(Run("handset lift"), Outcome::kOk);
  EXPECT_EQ(Run("handset lift"), Outcome::kFailed);
  EXPECT_TRUE(world.handset().State().hook_lifted);
  EXPECT_EQ(Run("handset down"), Outcome::kOk);
  EXPECT_EQ(Run("handset key 1 # * prev next del call end speaker 131"), Outcome::kOk);
  EXPECT_EQ(Run("handset dial 12#"), Outcome::kOk);
  EXPECT_EQ(Run("handset line"), Outcome::kOk);
  EXPECT_EQ(Run("handset level"), Outcome::kOk);
}

TEST_F(StandInCommandsTest, ShowIncludesTheHandsetsState) {
  Run("handset plug");
  Run("show");
  EXPECT_TRUE(Printed("handset: plugged"));
}

TEST_F(StandInCommandsTest, MessengerCommandsNeedARunningMessenger) {
  EXPECT_EQ(Run("messenger signin"), Outcome::kFailed);
  EXPECT_EQ(Run("contact add bob@example.com Bob"), Outcome::kFailed);
  EXPECT_EQ(Run("call bob@example.com"), Outcome::kFailed);
  EXPECT_EQ(Run("messenger start"), Outcome::kOk);
  EXPECT_EQ(Run("messenger start"), Outcome::kFailed);
  EXPECT_EQ(Run("messenger signin"), Outcome::kOk);
  EXPECT_EQ(Run("messenger quit"), Outcome::kOk);
}

TEST_F(StandInCommandsTest, ContactsTakeStatusNamesOrNumbers) {
  ASSERT_EQ(Run("messenger start"), Outcome::kOk);
  EXPECT_EQ(Run("contact add bob@example.com \"Bob B\" online"), Outcome::kOk);
  EXPECT_EQ(Run("contact add eve@example.com Eve busy"), Outcome::kOk);
  EXPECT_EQ(Run("contact add amy@example.com Amy 0x22"), Outcome::kOk);
  EXPECT_EQ(Run("contact add tom@example.com Tom"), Outcome::kOk);
  EXPECT_EQ(Run("contact add zed@example.com Zed sleepy"), Outcome::kBadCommand);
  auto contacts = world.messenger().Contacts();
  ASSERT_EQ(contacts.size(), 4u);
  EXPECT_EQ(contacts[0].friendly, "Bob B");
  EXPECT_EQ(contacts[0].status, 2);
  EXPECT_EQ(contacts[1].status, 10);
  EXPECT_EQ(contacts[2].status, 0x22);
  EXPECT_EQ(contacts[3].status, 1) << "offline unless told otherwise";
  EXPECT_EQ(Run("contact status bob@example.com offline"), Outcome::kOk);
  EXPECT_EQ(world.messenger().Contacts()[0].status, 1);
  EXPECT_EQ(Run("contact remove nobody@example.com"), Outcome::kFailed);
}

TEST_F(StandInCommandsTest, FaultsNeedAKnownOperationAndAFailureCode) {
  EXPECT_EQ(Run("messenger fail get_MyStatus E_FAIL 2"), Outcome::kOk);
  EXPECT_EQ(Run("messenger fail Create 0x80080005"), Outcome::kOk);
  EXPECT_EQ(Run("messenger fail Frobnicate E_FAIL"), Outcome::kBadCommand);
  EXPECT_EQ(Run("messenger fail get_MyStatus 0"), Outcome::kBadCommand) << "S_OK is no failure";
  EXPECT_EQ(Run("messenger fail get_MyStatus E_NOPE"), Outcome::kBadCommand);
  EXPECT_EQ(Run("messenger fail get_MyStatus E_FAIL 0"), Outcome::kBadCommand);
  EXPECT_EQ(Run("messenger heal"), Outcome::kOk);
}

TEST_F(StandInCommandsTest, LanguageMustBeOneMessengerSpeaks) {
  EXPECT_EQ(Run("messenger language German"), Outcome::kOk);
  EXPECT_EQ(world.messenger().language(), world::messenger::Language::kGerman);
  EXPECT_EQ(Run("messenger language Klingon"), Outcome::kBadCommand);
}

TEST_F(StandInCommandsTest, ConversationCommandsTellWhatIsMissing) {
  ASSERT_EQ(Run("messenger start"), Outcome::kOk);
  EXPECT_EQ(Run("window minimize bob@example.com"), Outcome::kFailed);
  EXPECT_EQ(Run("close bob@example.com"), Outcome::kFailed);
  EXPECT_EQ(Run("dialog \"Windows Live Messenger\" Button,,Static"), Outcome::kBadCommand);
  EXPECT_EQ(Run("dialog \"Other\" Button,Static"), Outcome::kOk);
  EXPECT_EQ(Run("button \"Other\" \"Button\""), Outcome::kOk);
  EXPECT_EQ(Run("button \"Nowhere\" \"OK\""), Outcome::kFailed);
}

TEST_F(StandInCommandsTest, MenuCommandsNeedAnOpenMenu) {
  EXPECT_EQ(Run("menu Exit"), Outcome::kFailed);
  EXPECT_EQ(Run("menu none"), Outcome::kFailed);
}

}  // namespace
