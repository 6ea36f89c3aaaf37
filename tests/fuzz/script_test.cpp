// The fuzzer's steps as script lines: tellbud-sim must read every line back into the very words
// the fuzzer ran, or a reproduction script would replay something else.
#include <gtest/gtest.h>

#include "world/console/tokenizer.h"
#include "world/core/exe_folder.h"
#include "world/fuzz/step.h"
#include "world/messenger/stand_in.h"

namespace {

fuzz::Words ReadBack(const std::string& line) {
  fuzz::Words words;
  for (const console::Word& w : console::Tokenize(line).words) words.push_back(w.text);
  return words;
}

TEST(FuzzScript, OddWordsReadBackUnchanged) {
  const std::vector<fuzz::Words> steps = {
      {"contact", "add", "", " ", "online"},
      {"contact", "add", "zoë@exämple.com", "Zoë \"Z\" Ünal"},
      {"ini", "Custom.ini", "CustomName", "a\\b", "back\\slash\\"},
      {"handset", "key", "#"},
      {"handset", "key", "#", "1"},
      {"handset", "dial", "12#"},
      {"chat", "ann@example.com", "  two  blanks  "},
      {"ini", "Tellbud.ini", "UserNotes", "note1", "; not a comment"},
      {"menu", "#tag", "x"},
  };
  for (const fuzz::Words& step : steps)
    EXPECT_EQ(ReadBack(fuzz::ScriptLine(step)), step) << fuzz::ScriptLine(step);
}

TEST(FuzzScript, PlainWordsStayUnquoted) {
  EXPECT_EQ(fuzz::ScriptLine({"handset", "plug", "0500"}), "handset plug 0500");
  EXPECT_EQ(fuzz::ScriptLine({"wait", "2s"}), "wait 2s");
  EXPECT_EQ(fuzz::ScriptLine({"start", "*exit*"}), "start *exit*");
}

// Running the words does what running their line does, refusals and bad commands included.
TEST(FuzzScript, WordsRunAsTheirLineRuns) {
  world::TemporaryFolder folder_a, folder_b;
  std::vector<std::string> lines_a, lines_b;
  {
    world::World world(folder_a.path());
    world.transcript().SetSink([&](const std::string& l) { lines_a.push_back(l); });
    console::Console console(world);
    EXPECT_EQ(fuzz::RunWords(console, {"messenger", "start"}).outcome, console::Outcome::kOk);
    EXPECT_EQ(fuzz::RunWords(console, {"contact", "add", "a b@example.com", "A \"B\""}).outcome,
              console::Outcome::kOk);
    EXPECT_EQ(fuzz::RunWords(console, {"answer", "nobody"}).outcome, console::Outcome::kFailed);
    EXPECT_EQ(fuzz::RunWords(console, {"wait"}).outcome, console::Outcome::kBadCommand);
    EXPECT_EQ(fuzz::RunWords(console, {"handset", "fly"}).outcome, console::Outcome::kBadCommand);
    EXPECT_EQ(world.messenger().Contacts().back().friendly, "A \"B\"");
  }
  {
    world::World world(folder_b.path());
    world.transcript().SetSink([&](const std::string& l) { lines_b.push_back(l); });
    console::Console console(world);
    EXPECT_EQ(console.ExecuteLine(fuzz::ScriptLine({"messenger", "start"})).outcome, console::Outcome::kOk);
    EXPECT_EQ(console.ExecuteLine(fuzz::ScriptLine({"contact", "add", "a b@example.com", "A \"B\""})).outcome,
              console::Outcome::kOk);
  }
  EXPECT_EQ(lines_a, lines_b);
}

}  // namespace
