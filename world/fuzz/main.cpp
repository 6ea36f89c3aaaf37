// tellbud-fuzz: Tellbud in seeded random worlds, with the invariants checked after every step.
//
//   tellbud-fuzz --seeds 1..500                  the worlds of seeds 1 to 500
//   tellbud-fuzz --seeds 1 --steps 100000 --hours 1000
//                                                seeds from 1 until both budgets are spent
//   tellbud-fuzz --replay failing.tbs            a script's commands as steps, with the checks
//
// Options: --steps-per-world N (200), --skip NAME[,NAME] (invariants not checked; process-ended
// makes a run that died a note instead of a failure),
// --determinism-every N (25: every Nth seed runs twice), --shrink-runs N (300),
// --max-findings N (3), --no-fork (run worlds in this process).
// Exit code 0 when nothing broke, 1 when something did, 2 for a usage error.
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>

#include "world/console/tokenizer.h"
#include "world/fuzz/campaign.h"

namespace {

const char kUsage[] =
    "usage: tellbud-fuzz [--seeds FIRST[..LAST]] [--steps N] [--hours H] [--steps-per-world N]\n"
    "                    [--skip NAME,...] [--determinism-every N] [--shrink-runs N] [--max-findings N]\n"
    "                    [--no-fork]\n"
    "       tellbud-fuzz --replay SCRIPT [--skip NAME,...] [--no-fork]\n";

int Usage(const std::string& why) {
  std::cerr << "tellbud-fuzz: " << why << "\n" << kUsage;
  return 2;
}

std::optional<uint64_t> Number(const std::string& text) {
  if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos || text.size() > 19)
    return std::nullopt;
  return std::stoull(text);
}

// The steps of a script: its commands, without comments, `show` and `expect`.
std::optional<std::vector<fuzz::Words>> ReadScript(const std::string& path) {
  std::ifstream in(path);
  if (!in) return std::nullopt;
  std::vector<fuzz::Words> steps;
  for (std::string line; std::getline(in, line);) {
    fuzz::Words words;
    for (const console::Word& w : console::Tokenize(line).words) words.push_back(w.text);
    if (words.empty() || words[0] == "show" || words[0] == "expect") continue;
    steps.push_back(words);
  }
  return steps;
}

int Replay(const std::string& path, const fuzz::Options& options, bool isolate) {
  auto steps = ReadScript(path);
  if (!steps) return Usage("cannot read " + path);
  fuzz::EpisodeResult result = fuzz::Replay(*steps, options, isolate);
  for (const std::string& line : result.script) std::cout << line << "\n";
  if (!result.violation) {
    std::cout << "tellbud-fuzz: " << result.steps.size() << " steps, every invariant holds\n";
    return 0;
  }
  std::cout << "tellbud-fuzz: broken invariant " << result.violation->invariant << ": "
            << result.violation->detail << "\n";
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  fuzz::Campaign campaign;
  std::string replay;
  bool seeds_given = false;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    auto value = [&]() -> std::string { return i + 1 < argc ? argv[++i] : ""; };
    if (arg == "--no-fork") {
      campaign.isolate = false;
      continue;
    }
    if (arg != "--seeds" && arg != "--steps" && arg != "--hours" && arg != "--steps-per-world" &&
        arg != "--skip" && arg != "--determinism-every" && arg != "--shrink-runs" &&
        arg != "--max-findings" && arg != "--replay")
      return Usage("unknown option '" + arg + "'");
    if (i + 1 >= argc) return Usage(arg + " needs a value");
    std::string text = value();
    if (arg == "--replay") {
      replay = text;
    } else if (arg == "--skip") {
      std::stringstream names(text);
      for (std::string name; std::getline(names, name, ',');) campaign.options.skip.insert(name);
    } else if (arg == "--hours") {
      char* end = nullptr;
      campaign.budget_hours = std::strtod(text.c_str(), &end);
      if (end == text.c_str() || *end || campaign.budget_hours < 0)
        return Usage("not a number of hours: " + text);
    } else if (arg == "--seeds") {
      size_t dots = text.find("..");
      auto first = Number(text.substr(0, dots));
      auto last = dots == std::string::npos ? first : Number(text.substr(dots + 2));
      if (!first || !last || *last < *first) return Usage("not a seed range: " + text);
      campaign.first_seed = *first;
      campaign.last_seed = dots == std::string::npos ? UINT64_MAX : *last;
      seeds_given = dots != std::string::npos;
    } else {
      auto n = Number(text);
      if (!n) return Usage("not a number: " + text);
      if (arg == "--steps") campaign.budget_steps = *n;
      if (arg == "--steps-per-world")
        campaign.options.steps = static_cast<int>(std::min<uint64_t>(*n, 1000000));
      if (arg == "--determinism-every") campaign.determinism_every = *n;
      if (arg == "--shrink-runs") campaign.shrink_runs = static_cast<int>(std::min<uint64_t>(*n, 1000000));
      if (arg == "--max-findings") campaign.max_findings = std::max<uint64_t>(*n, 1);
    }
  }
  if (!replay.empty()) return Replay(replay, campaign.options, campaign.isolate);
  if (!seeds_given && campaign.budget_steps == 0 && campaign.budget_hours == 0)
    return Usage("give a seed range (FIRST..LAST) or a budget (--steps, --hours)");

  auto started = std::chrono::steady_clock::now();
  fuzz::CampaignReport report = fuzz::RunCampaign(campaign, std::cout);
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  char summary[256];
  std::snprintf(summary, sizeof summary,
                "tellbud-fuzz: seeds %llu..%llu, %llu steps, %.1f virtual hours, %llu seeds run twice, "
                "%zu failures, %.1f s\n",
                static_cast<unsigned long long>(report.first_seed),
                static_cast<unsigned long long>(report.last_seed),
                static_cast<unsigned long long>(report.steps), static_cast<double>(report.virtual_ms) / 3.6e6,
                static_cast<unsigned long long>(report.determinism_checks), report.findings.size(), seconds);
  std::cout << summary;
  return report.findings.empty() ? 0 : 1;
}
