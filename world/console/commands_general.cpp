// General commands: the program's life, the clock, files beside the executable, expectations.
#include <algorithm>
#include <filesystem>

#include "world/console/console.h"
#include "world/console/duration.h"
#include "world/console/show.h"
#include "world/core/exe_folder.h"
#include "world/core/ini_edit.h"

namespace console {

namespace {

// One argument of a Windows command line: quoted when it holds blanks or quotes, or is empty.
std::string CommandLineArgument(const std::string& arg) {
  if (!arg.empty() && arg.find_first_of(" \t\"") == std::string::npos) return arg;
  std::string out = "\"";
  for (char c : arg) {
    if (c == '"') out += '\\';
    out += c;
  }
  return out + "\"";
}

Result Start(Console& c, const Call& call) {
  if (!world::World::ProgramLinked()) return Result::Failed("Tellbud is not part of this build");
  std::string arguments;
  for (const std::string& a : call.args) arguments += (arguments.empty() ? "" : " ") + CommandLineArgument(a);
  c.world().StartTellbud(arguments);
  return Result::Ok();
}

Result Wait(Console& c, const Call& call) {
  auto ms = ParseDuration(call.args[0]);
  if (!ms) return Result::Bad("not a duration: '" + call.args[0] + "' (e.g. 500ms, 2s, 1m)");
  c.world().Wait(*ms);
  return Result::Ok();
}

Result Debug(Console& c, const Call& call) {
  const std::string& mode = call.args[0];
  if (mode != "on" && mode != "off") return Result::Bad("usage: debug on | debug off");
  c.world().desktop_reporter().set_debug_output(mode == "on");
  return Result::Ok();
}

Result Ini(Console& c, const Call& call) {
  auto file = world::FileBesideExe(c.world().exe_folder(), call.args[0]);
  if (!file) return Result::Bad("not a file beside the executable: '" + call.args[0] + "'");
  std::string why;
  if (!world::EditIniFile(*file, call.args[1], call.args[2], call.args[3], &why)) return Result::Failed(why);
  return Result::Ok();
}

Result Cat(Console& c, const Call& call) {
  auto file = world::FileBesideExe(c.world().exe_folder(), call.args[0]);
  if (!file) return Result::Bad("not a file beside the executable: '" + call.args[0] + "'");
  std::vector<std::string> lines;
  std::string why;
  if (!world::ReadTextLines(*file, &lines, &why)) return Result::Failed(why);
  for (const std::string& line : lines) c.Print(line);
  return Result::Ok();
}

// What the user or another program does to a file beside the executable: marks it read-only (the
// file's read-only attribute), writable again, or deletes it.
Result File(Console& c, const Call& call) {
  const std::string& action = call.args[0];
  auto file = world::FileBesideExe(c.world().exe_folder(), call.args[1]);
  if (!file) return Result::Bad("not a file beside the executable: '" + call.args[1] + "'");
  namespace fs = std::filesystem;
  std::error_code error;
  if (action == "delete") {
    if (!fs::remove(*file, error)) return Result::Failed(error ? error.message() : "no such file");
    return Result::Ok();
  }
  if (action != "readonly" && action != "writable")
    return Result::Bad("usage: file readonly|writable|delete FILE");
  fs::perms write = fs::perms::owner_write;
  fs::permissions(*file, write, action == "readonly" ? fs::perm_options::remove : fs::perm_options::add,
                  error);
  if (error) return Result::Failed(error.message());
  return Result::Ok();
}

Result Expect(Console& c, const Call& call) {
  if (call.rest.empty()) return Result::Bad("usage: expect TEXT");
  if (c.world().transcript().Expect(call.rest)) return Result::Ok();
  return Result::Failed("expected a line containing '" + call.rest + "' since the previous expect");
}

Result Show(Console& c, const Call&) {
  for (const std::string& line : DescribeWorld(c.world())) c.Print(line);
  return Result::Ok();
}

Result Help(Console& c, const Call& call) {
  size_t width = 0;
  for (const Command& cmd : c.commands()) width = std::max(width, cmd.usage.size());
  for (const Command& cmd : c.commands()) {
    if (!call.args.empty() && cmd.name != call.args[0]) continue;
    c.Print(cmd.usage + std::string(width + 2 - cmd.usage.size(), ' ') + cmd.help);
  }
  if (call.args.empty())
    c.Print(
        "options: tellbud-sim [--dir DIR] [--desktop NAME] [SCRIPT]; processes with the same --desktop "
        "meet, a SCRIPT without it runs alone, standard input joins the default desktop");
  return Result::Ok();
}

}  // namespace

void AddGeneralCommands(Console& c) {
  c.Add({"start", "", 0, -1, "start [ARG...]", "start Tellbud with that command line", Start});
  c.Add({"wait", "", 1, 1, "wait DURATION", "advance the virtual clock (500ms, 2s, 1m)", Wait});
  c.Add({"show", "", 0, 0, "show", "print what a person would see", Show});
  c.Add({"debug", "", 1, 1, "debug on | debug off", "print the program's debugger output", Debug});
  c.Add({"ini", "", 4, 4, "ini FILE SECTION KEY \"VALUE\"", "edit a file beside the executable", Ini});
  c.Add({"file", "", 2, 2, "file readonly|writable|delete FILE",
         "mark a file beside the executable read-only or writable, or delete it", File});
  c.Add({"cat", "", 1, 1, "cat FILE", "print a file beside the executable", Cat});
  c.Add({"expect", "", 1, -1, "expect TEXT",
         "fail unless a line containing TEXT (the rest of the line, as written) was printed since the "
         "previous expect",
         Expect, true});
  c.Add({"help", "", 0, 1, "help [COMMAND]", "list the commands", Help});
  c.Add({"quit", "", 0, 0, "quit", "leave tellbud-sim", [](Console&, const Call&) {
           return Result{Outcome::kQuit, ""};
         }});
}

}  // namespace console
