// Chooses the fuzzer's next step from the world as it stands: what the handset, Messenger, its
// contacts and their calls, the user at the PC (the program's dialogs and their controls, restarts
// while a call rings or runs), the INI files (edited, read-only, deleted) and the sound devices can
// do next, each with a weight, and waits of every length. Odd contact names (empty, blank, very long,
// non-ASCII, letter-case variants of one another) are part of the pool.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "world/core/world.h"
#include "world/fuzz/rng.h"
#include "world/fuzz/step.h"

namespace fuzz {

// The contacts' sign-in names the world plays with.
const std::vector<std::string>& ContactPool();

// A key of an INI file that the program never writes, with the value the user gave it.
struct HandEdit {
  std::string file;
  std::string section;
  std::string key;
  std::string value;
};

// The marker word of the step that quiets the world: faults healed, calls ended by the
// contacts, menus and dialogs closed, the handset put down, then a long wait. The episode
// expands it into the commands it takes (QuietCommands) and checks that the program caught up.
inline const char kQuietStep[] = "*quiet*";

// The commands that make the world quiet now; the last one is the wait.
std::vector<Words> QuietCommands(world::World& world);
// Whether Messenger has a call ringing or running that a contact could end.
bool CallsInMessenger(world::World& world);

// Actions of the user on dialogs of the program: each returns the commands that act on an open
// dialog (or nothing when it does not know the dialog). Dialogs the program grows register here.
using DialogActor = std::function<std::vector<Words>(world::World& world, Rng& rng)>;
void AddDialogActor(DialogActor actor);

class Generator {
 public:
  explicit Generator(uint64_t seed) : rng_(seed) {}
  // The next step, often one that applies to the world as it is.
  Words Next(world::World& world);

 private:
  Words Handset(world::World& world);
  Words Messenger(world::World& world);
  Words Contact(world::World& world);
  Words CallAction(world::World& world);
  Words User(world::World& world);
  Words DuringCall(world::World& world);
  Words Files();
  Words SoundDevices();
  Words IniEdit();
  Words Wait();
  std::string Signin();

  Rng rng_;
  int hand_edits_ = 0;
};

}  // namespace fuzz
