// The console's commands over a World: each line a person types (or a script holds) is split
// into words and run as one command; what follows from it is printed as transcript lines.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "world/core/world.h"

namespace console {

enum class Outcome {
  kOk,
  kFailed,      // an expectation failed, or the action cannot be done in the world as it is
  kBadCommand,  // the command is unknown or malformed
  kQuit,
};

struct Result {
  Outcome outcome = Outcome::kOk;
  std::string message;

  static Result Ok() { return {}; }
  static Result Failed(std::string why) { return {Outcome::kFailed, std::move(why)}; }
  static Result Bad(std::string why) { return {Outcome::kBadCommand, std::move(why)}; }
};

// A command's arguments: the words after its name, and the raw text after its name (for
// `expect`, which takes the rest of the line as it is written).
struct Call {
  std::vector<std::string> args;
  std::string rest;
};

class Console;

struct Command {
  std::string name;  // "handset"
  std::string sub;   // "plug"; empty for a command without sub-commands
  int min_args = 0;
  int max_args = 0;  // -1: any number
  std::string usage;
  std::string help;
  std::function<Result(Console&, const Call&)> run;
  // Takes the rest of the line as it is written (`Call::rest`), quotes and all; the words after
  // the name are not required to be well formed.
  bool raw = false;
};

class Console {
 public:
  explicit Console(world::World& world);

  world::World& world() { return world_; }

  // Runs one line; blank lines, comments and lines marked [wine] do nothing, a line marked [sim]
  // runs without its mark.
  Result ExecuteLine(const std::string& line);

  // Output of a command (show, cat, help): printed, and seen by `expect`.
  void Print(const std::string& line) { world_.transcript().Print(line); }

  const std::vector<Command>& commands() const { return commands_; }
  void Add(Command command) { commands_.push_back(std::move(command)); }

 private:
  world::World& world_;
  std::vector<Command> commands_;
};

// The command groups, each in its own file.
void AddGeneralCommands(Console& console);
void AddDesktopCommands(Console& console);
void AddRegistryCommands(Console& console);
void AddHandsetCommands(Console& console);
void AddMessengerCommands(Console& console);
void AddDialogCommands(Console& console);
void AddSoundCommands(Console& console);

}  // namespace console
