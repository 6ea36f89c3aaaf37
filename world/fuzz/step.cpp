#include "world/fuzz/step.h"

namespace fuzz {

std::string ScriptWord(const std::string& word) {
  bool plain = !word.empty() && word[0] != '#';
  for (char c : word)
    if (c == '"' || c == ' ' || c == '\t' || c == '\r' || c == '\n') plain = false;
  if (plain) return word;
  std::string out = "\"";
  for (char c : word) {
    if (c == '"' || c == '\\') out += '\\';
    out += c;
  }
  return out + "\"";
}

std::string ScriptLine(const Words& words) {
  std::string line;
  for (const std::string& w : words) line += (line.empty() ? "" : " ") + ScriptWord(w);
  return line;
}

console::Result RunWords(console::Console& console, const Words& words) {
  if (words.empty()) return console::Result::Ok();
  const console::Command* match = nullptr;
  size_t consumed = 1;
  for (const console::Command& c : console.commands()) {
    if (c.name != words[0]) continue;
    if (c.sub.empty()) {
      match = &c;
      break;
    }
    if (words.size() > 1 && words[1] == c.sub) {
      match = &c;
      consumed = 2;
      break;
    }
  }
  if (!match) return console::Result::Bad("no command " + ScriptLine(words));
  console::Call call;
  call.args.assign(words.begin() + static_cast<long>(consumed), words.end());
  for (const std::string& a : call.args) call.rest += (call.rest.empty() ? "" : " ") + ScriptWord(a);
  int count = static_cast<int>(call.args.size());
  if (count < match->min_args || (match->max_args >= 0 && count > match->max_args))
    return console::Result::Bad("usage: " + match->usage);
  return match->run(console, call);
}

}  // namespace fuzz
