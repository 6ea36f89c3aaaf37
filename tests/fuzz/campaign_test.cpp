// The fuzzer end to end: a seed replays exactly, a planted fault is found and shrunk to a short
// script that tellbud-sim replays into the same fault, a run that dies is a finding, and the
// INI check notices a value the user wrote going missing.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "world/console/console.h"
#include "world/core/exe_folder.h"
#include "world/core/ini_edit.h"
#include "world/fuzz/campaign.h"
#include "world/fuzz/isolate.h"
#include "world/handset/stand_in.h"

namespace {

std::set<std::string> AllStandardInvariants() {
  std::set<std::string> names;
  for (const fuzz::Invariant& i : fuzz::StandardInvariants()) names.insert(i.name);
  return names;
}

std::vector<std::string> RecordsOfSeed(uint64_t seed, const fuzz::Options& options) {
  return fuzz::RunInProcess([&](const fuzz::RecordSink& r) { fuzz::RunSeed(seed, options, r); });
}

TEST(FuzzCampaign, ASeedRunsTheSameEveryTime) {
  fuzz::Options options;
  options.steps = 80;
  options.skip = AllStandardInvariants();
  std::vector<std::string> first = RecordsOfSeed(11, options);
  EXPECT_EQ(RecordsOfSeed(11, options), first);
  EXPECT_NE(RecordsOfSeed(12, options), first);
  fuzz::EpisodeResult result = fuzz::ParseRecords(first);
  EXPECT_TRUE(result.ended);
  EXPECT_EQ(result.steps.size(), 81u);  // the steps and the quiet end
  EXPECT_GT(result.transcript_lines, 0u);
}

// A deliberately wrong invariant: "the handset never rings for a call". The fuzzer must find a
// world where it does, and shrink it to the few commands such a world needs.
TEST(FuzzCampaign, APlantedFaultIsFoundAndMinimised) {
  fuzz::Campaign campaign;
  campaign.first_seed = 1;
  campaign.last_seed = 300;
  campaign.isolate = false;
  campaign.determinism_every = 0;
  campaign.max_findings = 1;
  campaign.options.steps = 40;
  campaign.shrink_runs = 80;
  campaign.options.skip = AllStandardInvariants();
  campaign.options.extra.push_back(
      {"planted", [](fuzz::Checker&, world::World& w) -> std::optional<std::string> {
         if (w.handset().State().ringing) return "the handset rings";
         return std::nullopt;
       }});
  std::ostringstream log;
  fuzz::CampaignReport report = fuzz::RunCampaign(campaign, log);
  ASSERT_EQ(report.findings.size(), 1u) << log.str();
  const fuzz::Finding& finding = report.findings.front();
  EXPECT_EQ(finding.violation.invariant, "planted");
  EXPECT_LE(finding.minimised_steps, 12u) << log.str();
  EXPECT_LT(finding.minimised_steps, finding.original_steps);
  EXPECT_NE(log.str().find("seed " + std::to_string(finding.seed) + ": broken invariant planted"),
            std::string::npos);

  // The script replays in tellbud-sim's console into a ringing handset.
  world::TemporaryFolder folder;
  world::World world(folder.path());
  world.transcript().SetSink([](const std::string&) {});
  console::Console console(world);
  for (const std::string& line : finding.script)
    ASSERT_EQ(console.ExecuteLine(line).outcome, console::Outcome::kOk) << line;
  EXPECT_TRUE(world.handset().State().ringing) << log.str();
}

TEST(FuzzCampaign, ARunThatDiesIsAFindingWithItsSteps) {
  std::vector<std::string> records = fuzz::RunIsolated(
      [](const fuzz::RecordSink& r) {
        r("step handset plug");
        r("run handset plug");
        r("step start");
        r("begin start");
        std::abort();
      },
      true);
  fuzz::EpisodeResult result = fuzz::ParseRecords(records);
  ASSERT_TRUE(result.violation);
  EXPECT_EQ(result.violation->invariant, "process-ended");
  EXPECT_NE(result.violation->detail.find("signal 6"), std::string::npos);
  EXPECT_EQ(result.steps, (std::vector<fuzz::Words>{{"handset", "plug"}, {"start"}}));
  // The command the run died in is the last line of the script that reproduces it.
  EXPECT_EQ(result.script, (std::vector<std::string>{"handset plug", "start"}));
  EXPECT_FALSE(result.ended);
}

TEST(FuzzInvariants, AValueTheUserWroteMustStay) {
  world::TemporaryFolder folder;
  world::World world(folder.path());
  std::vector<fuzz::Invariant> ini;
  for (const fuzz::Invariant& i : fuzz::StandardInvariants())
    if (i.name == "ini-intact") ini.push_back(i);
  fuzz::Checker checker(ini, {});
  auto file = world.exe_folder() / "Tellbud.ini";
  ASSERT_TRUE(world::EditIniFile(file, "UserNotes", "note1", "kept"));
  checker.NoteCommand({"ini", "Tellbud.ini", "UserNotes", "note1", "kept"}, true);
  checker.NoteCommand({"ini", "Tellbud.ini", "UserNotes", "note2", "never written"}, false);  // refused
  EXPECT_FALSE(checker.Check(world, false));

  ASSERT_TRUE(world::EditIniFile(file, "UserNotes", "note1", "changed"));
  auto changed = checker.Check(world, false);
  ASSERT_TRUE(changed);
  EXPECT_EQ(changed->invariant, "ini-intact");

  std::ofstream(file, std::ios::trunc) << "[OPTION]\r\nRingType=0\r\n";
  auto lost = checker.Check(world, false);
  ASSERT_TRUE(lost);
  EXPECT_NE(lost->detail.find("lost [UserNotes] note1=kept"), std::string::npos) << lost->detail;

  std::ofstream(file, std::ios::trunc) << "[UserNotes]\r\nnote1=kept\r\ngarbage line\r\n";
  auto garbage = checker.Check(world, false);
  ASSERT_TRUE(garbage);
  EXPECT_NE(garbage->detail.find("line 3 is not INI"), std::string::npos) << garbage->detail;
}

TEST(FuzzInvariants, AConditionIsTimedFromWhenItWasFirstSeen) {
  fuzz::Checker checker({}, {});
  EXPECT_EQ(checker.HeldSince("ringing", true, 1000), 1000);
  EXPECT_EQ(checker.HeldSince("ringing", true, 5000), 1000);
  EXPECT_EQ(checker.HeldSince("other", true, 5000), 5000);
  EXPECT_EQ(checker.HeldSince("ringing", false, 6000), 6000);
  EXPECT_EQ(checker.HeldSince("ringing", true, 7000), 7000);
}

}  // namespace
