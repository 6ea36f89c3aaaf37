// The USB handset as the person at the PC plays it.
#include "world/console/console.h"
#include "world/console/handset_keys.h"
#include "world/console/numbers.h"
#include "world/handset/stand_in.h"

namespace console {

namespace {

using world::handset::HandsetStandIn;

HandsetStandIn& Handset(Console& c) { return c.world().handset(); }

// A world action on the handset, then the program's reaction; false means the device cannot do
// it now (unplugged, already in that state).
Result Act(Console& c, bool done, const std::string& refusal) {
  if (!done) return Result::Failed(refusal);
  c.world().Settle();
  return Result::Ok();
}

Result Plug(Console& c, const Call& call) {
  int32_t model = world::handset::kDefaultModelCode;
  if (!call.args.empty()) {
    const std::string& text = call.args[0];
    std::string hex = text.starts_with("0x") || text.starts_with("0X") ? text : "0x" + text;
    auto number = ParseNumber(hex);
    if (!number || *number > 0x7FFFFFFF)
      return Result::Bad("not a model code: '" + text + "' (hexadecimal, e.g. 0x0200)");
    model = static_cast<int32_t>(*number);
  }
  return Act(c, Handset(c).Plug(model), "the handset is already plugged in");
}

// Presses the keys in order, letting the program react to each.
Result PressKeys(Console& c, const std::vector<short>& codes) {
  for (short code : codes)
    if (Result r = Act(c, Handset(c).Key(code), "the handset is not plugged in"); r.outcome != Outcome::kOk)
      return r;
  return Result::Ok();
}

Result Key(Console& c, const Call& call) {
  std::vector<short> codes;
  for (const std::string& name : call.args) {
    auto code = HandsetKeyCode(name);
    if (!code)
      return Result::Bad("not a handset key: '" + name +
                         "' (0-9, *, #, prev, next, del, call, end, speaker or a code)");
    codes.push_back(*code);
  }
  return PressKeys(c, codes);
}

Result Dial(Console& c, const Call& call) {
  std::vector<short> codes;
  for (char digit : call.args[0]) {
    auto code = HandsetKeyCode(std::string(1, digit));
    if (!code) return Result::Bad("not a digit to dial: '" + std::string(1, digit) + "' (0-9, *, #)");
    codes.push_back(*code);
  }
  return PressKeys(c, codes);
}

Result SetLevel(Console& c, const Call& call) {
  auto level = ParseNumber(call.args[0]);
  if (!level || *level > static_cast<uint64_t>(world::handset::kMaxLevel))
    return Result::Bad("not a level: '" + call.args[0] + "' (0 to " +
                       std::to_string(world::handset::kMaxLevel) + ")");
  return Act(c, Handset(c).SetLevel(static_cast<short>(*level)), "the handset is not plugged in");
}

}  // namespace

void AddHandsetCommands(Console& c) {
  c.Add({"handset", "plug", 0, 1, "handset plug [MODEL]",
         "plug the handset in (model code in hex, default 0x0200)", Plug});
  c.Add({"handset", "unplug", 0, 0, "handset unplug", "unplug the handset", [](Console& c, const Call&) {
           return Act(c, Handset(c).Unplug(), "the handset is not plugged in");
         }});
  c.Add(
      {"handset", "lift", 0, 0, "handset lift", "lift the handset off its hook", [](Console& c, const Call&) {
         return Act(c, Handset(c).Hook(true), "the handset is not plugged in or already lifted");
       }});
  c.Add({"handset", "down", 0, 0, "handset down", "put the handset down on its hook",
         [](Console& c, const Call&) {
           return Act(c, Handset(c).Hook(false), "the handset is not plugged in or already down");
         }});
  c.Add({"handset", "key", 1, -1, "handset key KEY [KEY...]",
         "press keys: 0-9, *, #, prev, next, del, call, end, speaker, or a code", Key});
  c.Add({"handset", "dial", 1, 1, "handset dial DIGITS", "press digit keys: handset dial 12#", Dial});
  c.Add({"handset", "line", 0, 0, "handset line", "activity on the telephone line",
         [](Console& c, const Call&) {
           return Act(c, Handset(c).LineActivity(), "the handset is not plugged in");
         }});
  c.Add({"handset", "level", 0, 0, "handset level", "press the level key", [](Console& c, const Call&) {
           return Act(c, Handset(c).LevelKey(), "the handset is not plugged in");
         }});
  c.Add({"handset", "setlevel", 1, 1, "handset setlevel N",
         "set the level on the handset itself, without the level key", SetLevel});
}

}  // namespace console
