// tellbud-sim [--dir DIR] [--desktop NAME] [SCRIPT]: runs Tellbud in the simulated world, from a
// script, from commands piped on standard input, or interactively on a terminal.
#include <unistd.h>

#include <sim/rendezvous.h>

#include <cstring>
#include <fstream>
#include <iostream>
#include <optional>

#include "world/console/console.h"
#include "world/console/runner.h"
#include "world/core/exe_folder.h"

namespace {

constexpr char kUsage[] =
    "usage: tellbud-sim [--dir DIR] [--desktop NAME] [SCRIPT]\n"
    "  DIR     the folder that plays Tellbud.exe's directory (created and filled when missing,\n"
    "          kept afterwards); without it a temporary copy is used and removed at exit\n"
    "  NAME    the desktop to share with other tellbud-sim processes of the same NAME (letters,\n"
    "          digits, - _ .; 'default' is the user's default desktop). Without it a SCRIPT runs\n"
    "          on a private desktop, and commands from standard input join the default desktop\n"
    "  SCRIPT  commands to run; without it they are read from standard input, interactively\n"
    "          on a terminal. Type 'help' for the commands.\n";

struct Options {
  std::optional<std::string> dir;
  std::optional<std::string> desktop;
  std::optional<std::string> script;
};

std::optional<Options> ParseOptions(int argc, char** argv) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--dir") == 0 && i + 1 < argc && !options.dir) {
      options.dir = argv[++i];
    } else if (std::strcmp(argv[i], "--desktop") == 0 && i + 1 < argc && !options.desktop) {
      options.desktop = argv[++i];
      if (!sim::ValidDesktopName(*options.desktop)) return std::nullopt;
    } else if (argv[i][0] == '-' && argv[i][1] != '\0') {
      return std::nullopt;
    } else if (!options.script) {
      options.script = argv[i];
    } else {
      return std::nullopt;
    }
  }
  return options;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
    std::cout << kUsage;
    return console::kExitOk;
  }
  auto options = ParseOptions(argc, argv);
  if (!options) {
    std::cerr << kUsage;
    return console::kExitBadCommand;
  }
  std::ifstream script;
  if (options->script) {
    script.open(*options->script);
    if (!script) {
      std::cerr << "tellbud-sim: cannot open " << *options->script << "\n";
      return console::kExitBadCommand;
    }
  }

  try {
    std::optional<world::TemporaryFolder> temporary;
    std::filesystem::path dir;
    if (options->dir) {
      dir = *options->dir;
    } else {
      dir = temporary.emplace().path();
    }
    console::InstallStopSignalHandlers();
    world::World world(dir);
    console::Console console(world);
    // A script promises to start clean: without a desktop named, nobody else meets it.
    std::string why;
    bool shared = options->desktop || !options->script;
    if (shared &&
        !sim::EnableRendezvous(sim::DesktopRendezvousFolder(options->desktop.value_or("default")), &why))
      std::cerr << "tellbud-sim: other tellbud-sim processes will not see this one: " << why << "\n";

    if (options->script) {
      console::StreamSource source(script);
      return console::RunScript(console, source, *options->script, std::cerr);
    }
    if (isatty(STDIN_FILENO)) return console::RunInteractive(console);
    console::DescriptorSource source(STDIN_FILENO, world);
    return console::RunScript(console, source, "<stdin>", std::cerr);
  } catch (const std::exception& e) {
    std::cerr << "tellbud-sim: " << e.what() << "\n";
    return console::kExitBadCommand;
  }
}
