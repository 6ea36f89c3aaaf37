// What a user would call right, checked after every step of the fuzzer: each invariant is a
// small named check over the world (and the running program's main window) that returns what is
// wrong, or nothing. Some invariants need history (how long the handset has rung without a call),
// kept in the checker between steps.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "world/core/world.h"
#include "world/fuzz/step.h"

namespace fuzz {

struct Violation {
  std::string invariant;
  std::string detail;
};

class Checker;

// One invariant: its name (what the fuzzer prints and --skip names) and its check.
struct Invariant {
  std::string name;
  std::function<std::optional<std::string>(Checker&, world::World&)> check;
  // Checked only right after the world was made quiet (the liveness checks).
  bool after_quiet_only = false;
};

// The invariants every run checks, in order.
std::vector<Invariant> StandardInvariants();

// The grace the program has to catch up with a change in the world before the handset must stop
// ringing or follow a running call: two monitor ticks, the six-second pause after line activity
// and the few seconds of a ring-style preview.
inline constexpr int64_t kCatchUpMs = 12000;

class Checker {
 public:
  // Checks `invariants` except those named in `skip`.
  Checker(std::vector<Invariant> invariants, std::set<std::string> skip);

  // Tells the checker a command ran (it remembers the values the user wrote into INI files).
  void NoteCommand(const Words& words, bool succeeded);
  // Checks every invariant; `quiet` says the world was just made quiet. The first broken one.
  std::optional<Violation> Check(world::World& world, bool quiet);

  // ---- History for the checks -------------------------------------------------------------------
  // The values the user wrote into keys the program never writes: {file, section, key} -> value.
  const std::map<std::vector<std::string>, std::string>& hand_edits() const { return hand_edits_; }
  // Since when (virtual ms) `condition` has held without a break, by the condition's name; it
  // starts at the first check that sees it.
  int64_t HeldSince(const std::string& condition, bool holds, int64_t now);
  // Whether Messenger's conversation `id` was already open when the running Tellbud started.
  bool OpenBeforeTellbud(int id) const { return open_before_tellbud_.contains(id); }

 private:
  void NoteTellbud(world::World& world);

  std::vector<Invariant> invariants_;
  std::set<std::string> skip_;
  std::map<std::vector<std::string>, std::string> hand_edits_;
  std::map<std::string, int64_t> held_since_;
  DWORD tellbud_ = 0;                  // the running Tellbud's process id, 0 for none
  std::set<int> open_before_tellbud_;  // conversations open when it started
};

}  // namespace fuzz
