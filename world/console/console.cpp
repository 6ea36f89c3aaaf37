#include "world/console/console.h"

#include "world/console/platform_mark.h"
#include "world/console/tokenizer.h"

namespace console {

namespace {

std::string TrimRight(std::string s) {
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r' || s.back() == '\n'))
    s.pop_back();
  return s;
}

}  // namespace

Console::Console(world::World& world) : world_(world) {
  AddGeneralCommands(*this);
  AddDesktopCommands(*this);
  AddRegistryCommands(*this);
  AddHandsetCommands(*this);
  AddMessengerCommands(*this);
  AddDialogCommands(*this);
  AddSoundCommands(*this);
}

Result Console::ExecuteLine(const std::string& marked_line) {
  // Lines marked for the Windows script driver are what only Wine shows: nothing to do here.
  MarkedLine marked = SplitPlatformMark(marked_line);
  if (!marked.error.empty()) return Result::Bad(marked.error);
  if (marked.platform == Platform::kWine) return Result::Ok();
  const std::string& line = marked.text;
  Tokenized tokens = Tokenize(line);
  if (tokens.words.empty()) return tokens.error.empty() ? Result::Ok() : Result::Bad(tokens.error);
  const std::string& name = tokens.words[0].text;

  bool known_name = false;
  const Command* match = nullptr;
  size_t consumed = 1;
  for (const Command& c : commands_) {
    if (c.name != name) continue;
    known_name = true;
    if (c.sub.empty()) {
      match = &c;
      break;
    }
    if (tokens.words.size() > 1 && tokens.words[1].text == c.sub) {
      match = &c;
      consumed = 2;
      break;
    }
  }
  if (!match) {
    if (!known_name) return Result::Bad("unknown command '" + name + "' (try 'help')");
    std::string subs;
    for (const Command& c : commands_)
      if (c.name == name) subs += (subs.empty() ? "" : ", ") + c.sub;
    return Result::Bad("'" + name + "' needs one of: " + subs);
  }

  Call call;
  if (match->raw) {
    size_t start = tokens.words[consumed - 1].start + tokens.words[consumed - 1].text.size();
    start = line.find_first_not_of(" \t", start);
    if (start != std::string::npos) call.rest = TrimRight(line.substr(start));
    if (!call.rest.empty()) call.args.push_back(call.rest);
    return match->run(*this, call);
  }
  if (!tokens.error.empty()) return Result::Bad(tokens.error);
  for (size_t i = consumed; i < tokens.words.size(); ++i) call.args.push_back(tokens.words[i].text);
  if (consumed < tokens.words.size()) call.rest = TrimRight(line.substr(tokens.words[consumed].start));
  int count = static_cast<int>(call.args.size());
  if (count < match->min_args || (match->max_args >= 0 && count > match->max_args))
    return Result::Bad("usage: " + match->usage);
  return match->run(*this, call);
}

}  // namespace console
