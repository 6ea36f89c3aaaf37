#include "world/fuzz/episode.h"

#include <sstream>

#include "world/console/console.h"
#include "world/console/tokenizer.h"
#include "world/core/exe_folder.h"
#include "world/fuzz/generator.h"

namespace fuzz {

namespace {

constexpr uint64_t kFnvOffset = 14695981039346656037ull;
constexpr uint64_t kFnvPrime = 1099511628211ull;

std::string ReplaceAll(std::string text, const std::string& from, const std::string& to) {
  for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
  return text;
}

// A fresh world with the program's folder, its console and the invariants.
class Episode {
 public:
  Episode(const Options& options, const RecordSink& records)
      : records_(records), checker_(Invariants(options), options.skip) {
    // Each world has a folder of its own; its name is left out, so that runs compare equal.
    std::string folder = folder_.path().string();
    std::string windows = "Z:" + folder;
    for (char& c : windows)
      if (c == '/') c = '\\';
    world_.transcript().SetSink([this, folder, windows](const std::string& raw) {
      std::string line = ReplaceAll(ReplaceAll(raw, windows, "<folder>"), folder, "<folder>");
      for (unsigned char c : line) hash_ = (hash_ ^ c) * kFnvPrime;
      hash_ = (hash_ ^ '\n') * kFnvPrime;
      ++lines_;
    });
  }

  world::World& world() { return world_; }

  // Runs one step and checks the invariants; false once one is broken.
  bool Step(const Words& step) {
    bool quiet = step.size() == 1 && step[0] == kQuietStep;
    records_("step " + ScriptLine(step));
    if (quiet) {
      // A click the program had not yet acted on can place a call while the contacts hang up;
      // one more round ends it. A program that keeps calling on its own still breaks the checks.
      for (int round = 0; round < 2; ++round) {
        for (const Words& command : QuietCommands(world_)) Command(command);
        if (!CallsInMessenger(world_)) break;
      }
    } else {
      Command(step);
    }
    if (auto broken = checker_.Check(world_, quiet)) {
      records_("broken " + broken->invariant + "\t" + broken->detail);
      return false;
    }
    return true;
  }

  void End() {
    records_("end " + std::to_string(hash_) + " " + std::to_string(lines_) + " " +
             std::to_string(world_.Now()));
  }

 private:
  static std::vector<Invariant> Invariants(const Options& options) {
    std::vector<Invariant> all = StandardInvariants();
    all.insert(all.end(), options.extra.begin(), options.extra.end());
    return all;
  }

  void Command(const Words& words) {
    records_("begin " + ScriptLine(words));
    console::Result result = RunWords(console_, words);
    bool ok = result.outcome == console::Outcome::kOk;
    records_(std::string(ok ? "run " : "refused ") + ScriptLine(words));
    checker_.NoteCommand(words, ok);
  }

  const RecordSink& records_;
  world::TemporaryFolder folder_;
  world::World world_{folder_.path()};
  console::Console console_{world_};
  Checker checker_;
  uint64_t hash_ = kFnvOffset;
  uint64_t lines_ = 0;
};

Words ParseScriptLine(const std::string& line) {
  Words words;
  for (const console::Word& w : console::Tokenize(line).words) words.push_back(w.text);
  return words;
}

}  // namespace

void RunSeed(uint64_t seed, const Options& options, const RecordSink& records) {
  Episode episode(options, records);
  Generator generator(seed);
  for (int i = 0; i < options.steps; ++i)
    if (!episode.Step(generator.Next(episode.world()))) return episode.End();
  episode.Step({kQuietStep});
  episode.End();
}

void RunSteps(const std::vector<Words>& steps, const Options& options, const RecordSink& records) {
  Episode episode(options, records);
  for (const Words& step : steps)
    if (!episode.Step(step)) break;
  episode.End();
}

EpisodeResult ParseRecords(const std::vector<std::string>& records) {
  EpisodeResult result;
  std::optional<std::string> unfinished;  // a command begun that never returned
  for (const std::string& record : records) {
    size_t blank = record.find(' ');
    std::string kind = record.substr(0, blank);
    std::string rest = blank == std::string::npos ? "" : record.substr(blank + 1);
    if (kind == "begin") {
      unfinished = rest;
    } else if (kind == "step") {
      result.steps.push_back(ParseScriptLine(rest));
      result.refused.push_back(true);
    } else if (kind == "run") {
      unfinished.reset();
      result.script.push_back(rest);
      if (!result.refused.empty()) result.refused.back() = false;
    } else if (kind == "refused") {
      unfinished.reset();
      result.script.push_back("# refused: " + rest);
    } else if (kind == "broken") {
      size_t tab = rest.find('\t');
      result.violation = Violation{rest.substr(0, tab), tab == std::string::npos ? "" : rest.substr(tab + 1)};
    } else if (kind == "end") {
      std::istringstream in(rest);
      in >> result.transcript_hash >> result.transcript_lines >> result.virtual_ms;
      result.ended = true;
    }
  }
  // The run died inside this command: it belongs to the script that reproduces the death.
  if (unfinished) result.script.push_back(*unfinished);
  return result;
}

std::vector<std::string> ReproductionScript(uint64_t seed, const EpisodeResult& result) {
  std::vector<std::string> out;
  out.push_back("# tellbud-fuzz, seed " + std::to_string(seed));
  if (result.violation)
    out.push_back("# broken after the last command: " + result.violation->invariant + ": " +
                  result.violation->detail);
  out.insert(out.end(), result.script.begin(), result.script.end());
  out.push_back("show");
  return out;
}

}  // namespace fuzz
