// A fuzzing campaign: seed after seed until the budgets of steps and virtual hours are spent,
// every failure minimised to a short tellbud-sim script, and a sample of seeds run twice to
// show that a seed gives the same transcript every time.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

#include "world/fuzz/episode.h"

namespace fuzz {

struct Campaign {
  uint64_t first_seed = 1;
  uint64_t last_seed = UINT64_MAX;  // the campaign also ends here, budgets spent or not
  uint64_t budget_steps = 0;        // steps to run at least (0: no step budget)
  double budget_hours = 0;          // virtual hours to cover at least (0: none)
  uint64_t determinism_every = 25;  // every Nth seed runs twice (0: never)
  bool isolate = true;              // each run in a child process
  int shrink_runs = 300;            // trial runs a minimisation may take
  size_t max_findings = 3;          // the campaign stops after this many
  Options options;
};

struct Finding {
  uint64_t seed = 0;
  Violation violation;
  size_t original_steps = 0;
  size_t minimised_steps = 0;
  std::vector<std::string> script;  // the minimised tellbud-sim script
};

struct CampaignReport {
  uint64_t first_seed = 0;
  uint64_t last_seed = 0;  // the last seed run
  uint64_t steps = 0;
  int64_t virtual_ms = 0;
  uint64_t determinism_checks = 0;
  std::vector<Finding> findings;
};

// Runs one set of steps (isolated or not) and reads its records.
EpisodeResult Replay(const std::vector<Words>& steps, const Options& options, bool isolate);

// Shrinks a failing run of `seed` to a short list of steps that breaks the same invariant.
Finding Minimise(uint64_t seed, const EpisodeResult& failing, const Options& options, bool isolate,
                 int shrink_runs);

// Runs the campaign, writing progress and findings to `log`.
CampaignReport RunCampaign(const Campaign& campaign, std::ostream& log);

}  // namespace fuzz
