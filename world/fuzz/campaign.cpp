#include "world/fuzz/campaign.h"

#include <ostream>

#include "world/fuzz/isolate.h"
#include "world/fuzz/shrink.h"

namespace fuzz {

namespace {

constexpr int64_t kHourMs = 3600 * 1000;

std::vector<std::string> Run(const std::function<void(const RecordSink&)>& body, bool isolate, bool quiet) {
  return isolate ? RunIsolated(body, quiet) : RunInProcess(body);
}

EpisodeResult RunSeedOnce(uint64_t seed, const Options& options, bool isolate) {
  return ParseRecords(Run([&](const RecordSink& r) { RunSeed(seed, options, r); }, isolate, false));
}

void PrintFinding(const Finding& f, std::ostream& log) {
  log << "seed " << f.seed << ": broken invariant " << f.violation.invariant << ": " << f.violation.detail
      << "\n"
      << "minimised from " << f.original_steps << " to " << f.minimised_steps
      << " steps; tellbud-sim script:\n";
  for (const std::string& line : f.script) log << "  " << line << "\n";
}

}  // namespace

EpisodeResult Replay(const std::vector<Words>& steps, const Options& options, bool isolate) {
  return ParseRecords(Run([&](const RecordSink& r) { RunSteps(steps, options, r); }, isolate, true));
}

Finding Minimise(uint64_t seed, const EpisodeResult& failing, const Options& options, bool isolate,
                 int shrink_runs) {
  const std::string& invariant = failing.violation->invariant;
  auto still_fails = [&](const std::vector<Words>& trial) -> std::optional<std::vector<Words>> {
    EpisodeResult r = Replay(trial, options, isolate);
    if (!r.violation || r.violation->invariant != invariant) return std::nullopt;
    return r.steps;
  };
  // Steps the world refused changed nothing; they go first, in one trial.
  std::vector<Words> steps = failing.steps;
  std::vector<Words> accepted;
  for (size_t i = 0; i < steps.size(); ++i)
    if (i + 1 == steps.size() || !failing.refused[i]) accepted.push_back(steps[i]);
  if (accepted.size() < steps.size() && shrink_runs > 0) {
    --shrink_runs;
    if (auto used = still_fails(accepted)) steps = *used;
  }
  steps = Shrink<Words>(steps, still_fails, shrink_runs);
  EpisodeResult last = Replay(steps, options, isolate);
  Finding finding;
  finding.seed = seed;
  finding.original_steps = failing.steps.size();
  // The shrunk steps fail the same way by construction; should the replay disagree, the
  // original run is what is reported.
  const EpisodeResult& shown = last.violation && last.violation->invariant == invariant ? last : failing;
  finding.violation = *shown.violation;
  finding.minimised_steps = shown.steps.size();
  finding.script = ReproductionScript(seed, shown);
  return finding;
}

CampaignReport RunCampaign(const Campaign& c, std::ostream& log) {
  CampaignReport report;
  report.first_seed = c.first_seed;
  for (uint64_t seed = c.first_seed;; ++seed) {
    EpisodeResult result = RunSeedOnce(seed, c.options, c.isolate);
    report.last_seed = seed;
    report.steps += result.steps.size();
    report.virtual_ms += result.virtual_ms;
    if (result.violation && c.options.skip.contains(result.violation->invariant)) {
      // Only a run that died can break a skipped invariant (no check runs for those): it is
      // noted, not minimised.
      log << "seed " << seed << ": not checked: " << result.violation->invariant << ": "
          << result.violation->detail << "\n";
    } else if (result.violation) {
      log << "seed " << seed << ": broken invariant " << result.violation->invariant << " after "
          << result.steps.size() << " steps; minimising\n";
      report.findings.push_back(Minimise(seed, result, c.options, c.isolate, c.shrink_runs));
      PrintFinding(report.findings.back(), log);
    } else if (c.determinism_every && (seed - c.first_seed) % c.determinism_every == 0) {
      EpisodeResult again = RunSeedOnce(seed, c.options, c.isolate);
      ++report.determinism_checks;
      if (again.transcript_hash != result.transcript_hash ||
          again.transcript_lines != result.transcript_lines || again.script != result.script) {
        Finding f;
        f.seed = seed;
        f.violation = {"deterministic", "two runs of the seed gave different transcripts (" +
                                            std::to_string(result.transcript_lines) + " and " +
                                            std::to_string(again.transcript_lines) + " lines)"};
        f.original_steps = f.minimised_steps = result.steps.size();
        f.script = ReproductionScript(seed, result);
        report.findings.push_back(f);
        PrintFinding(f, log);
      }
    }
    bool budgets = c.budget_steps > 0 || c.budget_hours > 0;
    bool steps_done = report.steps >= c.budget_steps;
    bool hours_done = static_cast<double>(report.virtual_ms) >= c.budget_hours * kHourMs;
    if (report.findings.size() >= c.max_findings || seed == c.last_seed ||
        (budgets && steps_done && hours_done))
      break;
  }
  return report;
}

}  // namespace fuzz
