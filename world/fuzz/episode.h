// One world of the fuzzer from start to end: a fresh World, its steps (chosen by a seed, or
// given), the invariants checked after each, and a quiet end whose liveness is checked too.
//
// A run reports what it does as record lines, so that a run in a child process (isolate.h)
// tells its parent everything up to the moment it died:
//   step LINE        a step is about to run (LINE is its script line, or *quiet*)
//   begin LINE       a command is about to run
//   run LINE         a command ran
//   refused LINE     a command the world refused (it changed nothing)
//   broken NAME\tDETAIL
//   end HASH LINES MS   the transcript's FNV-1a hash and line count, the virtual time at the end
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "world/fuzz/invariants.h"
#include "world/fuzz/step.h"

namespace fuzz {

struct Options {
  int steps = 200;               // steps a seeded world runs before its quiet end
  std::set<std::string> skip;    // invariants not checked
  std::vector<Invariant> extra;  // checked after the standard ones (a planted fault, in tests)
};

using RecordSink = std::function<void(const std::string& record)>;

// Runs the world of `seed` (steps chosen as it goes), or the given steps, writing records.
void RunSeed(uint64_t seed, const Options& options, const RecordSink& records);
void RunSteps(const std::vector<Words>& steps, const Options& options, const RecordSink& records);

// What the records of a run say.
struct EpisodeResult {
  std::optional<Violation> violation;
  std::vector<Words> steps;         // every step begun, the last one the step that broke
  std::vector<bool> refused;        // per step: the world refused all it tried (it changed nothing)
  std::vector<std::string> script;  // the commands run, refused ones as comments
  bool ended = false;               // the run reached its end record
  uint64_t transcript_hash = 0;
  uint64_t transcript_lines = 0;
  int64_t virtual_ms = 0;
};

EpisodeResult ParseRecords(const std::vector<std::string>& records);

// The script that replays a failing run in tellbud-sim, with a header saying what broke.
std::vector<std::string> ReproductionScript(uint64_t seed, const EpisodeResult& result);

}  // namespace fuzz
