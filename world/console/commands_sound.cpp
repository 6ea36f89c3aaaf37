// The sound devices: mixers added, removed, set and made to fail.
#include "world/console/console.h"
#include "world/console/numbers.h"

namespace console {

namespace {

Result Unknown(const std::string& name) { return Result::Failed("there is no mixer '" + name + "'"); }

Result Add(Console& c, const Call& call) {
  DWORD channels = 2;
  bool uniform = false;
  for (size_t i = 1; i < call.args.size(); ++i) {
    if (call.args[i] == "uniform") {
      uniform = true;
    } else if (auto n = ParseNumber(call.args[i]); n && i == 1 && *n <= sim::kMaxMixerChannels) {
      channels = static_cast<DWORD>(*n);
    } else {
      return Result::Bad("not a channel count (0.." + std::to_string(sim::kMaxMixerChannels) +
                         ") or 'uniform': '" + call.args[i] + "'");
    }
  }
  if (!c.world().sound().AddMixer(call.args[0], channels, uniform))
    return Result::Failed("cannot add a mixer named '" + call.args[0] +
                          "' (empty, too long or already there)");
  return Result::Ok();
}

Result Remove(Console& c, const Call& call) {
  if (!c.world().sound().RemoveMixer(call.args[0])) return Unknown(call.args[0]);
  return Result::Ok();
}

Result Set(Console& c, const Call& call) {
  auto line = sim::ParseMixerLine(call.args[1]);
  if (!line) return Result::Bad("not a line: '" + call.args[1] + "' (speakers, wavein or waveout)");
  std::vector<DWORD> values;
  for (size_t i = 2; i < call.args.size(); ++i) {
    auto v = ParseNumber(call.args[i]);
    if (!v || *v > 0xFFFF) return Result::Bad("not a volume (0..65535): '" + call.args[i] + "'");
    values.push_back(static_cast<DWORD>(*v));
  }
  auto& sound = c.world().sound();
  auto now = sound.MixerVolumes(call.args[0], *line);
  if (!now) return Unknown(call.args[0]);
  if (!sound.SetMixerVolume(call.args[0], *line, values))
    return Result::Bad("give one volume for all channels or one per channel (" + std::to_string(now->size()) +
                       ")");
  return Result::Ok();
}

Result Fail(Console& c, const Call& call, bool fail) {
  if (!c.world().sound().FailMixer(call.args[0], fail)) return Unknown(call.args[0]);
  return Result::Ok();
}

}  // namespace

void AddSoundCommands(Console& c) {
  c.Add({"mixer", "add", 1, 3, "mixer add \"NAME\" [CHANNELS] [uniform]",
         "add a sound device's mixer (2 channels unless told; every volume 65535)", Add});
  c.Add({"mixer", "remove", 1, 1, "mixer remove \"NAME\"", "take a mixer away (handles open on it fail)",
         Remove});
  c.Add({"mixer", "set", 3, 3 + static_cast<int>(sim::kMaxMixerChannels),
         "mixer set \"NAME\" speakers|wavein|waveout VOLUME...",
         "set a line's volume (0..65535) as the sound settings would: one for all channels or one each",
         Set});
  c.Add({"mixer", "fail", 1, 1, "mixer fail \"NAME\"", "make every call on a mixer fail",
         [](Console& c, const Call& call) { return Fail(c, call, true); }});
  c.Add({"mixer", "heal", 1, 1, "mixer heal \"NAME\"", "let a failing mixer work again",
         [](Console& c, const Call& call) { return Fail(c, call, false); }});
}

}  // namespace console
