#include "world/handset/device.h"

#include <algorithm>

#include "world/core/reporter.h"

namespace world::handset {

bool IsLineAdaptor(int32_t model) { return model >= 0x0500 && model <= 0x058F; }
bool ReportsHookAsSecondKind(int32_t model) { return model >= 0x0AB0 && model <= 0x0AFF; }

namespace {

const char* OnOff(bool on) { return on ? "on" : "off"; }

bool IsChannel(short channel) { return channel == kChannelPstn || channel == kChannelUsb; }

int Index(ChannelGroup group) { return static_cast<int>(group); }

}  // namespace

std::string Describe(const DeviceState& s) {
  if (!s.plugged) return "unplugged";
  std::string out = "plugged model=" + std::to_string(s.model);
  if (s.line_adaptor) out += " adaptor";
  out += s.open ? " open" : " closed";
  out += " display=" + Quote(s.display);
  out += s.ringing ? " ringing" : " silent";
  out += " style=" + std::to_string(s.ring_style);
  out += std::string(" speakerA=") + OnOff(s.speaker_a) + " speakerB=" + OnOff(s.speaker_b);
  out += " channel=" + std::to_string(s.channel[0]) + "/" + std::to_string(s.channel[1]);
  out += " default=" + std::to_string(s.default_channel[0]) + "/" + std::to_string(s.default_channel[1]);
  out += " level=" + std::to_string(s.level);
  out += s.hook_lifted ? " hook=lifted" : " hook=down";
  out += " key=" + std::to_string(s.last_acknowledged_key);
  return out;
}

// ---- Device: the world's side ------------------------------------------------------------------

void Device::ResetVolatileState() {
  state_.display.clear();
  state_.ringing = false;
  state_.ring_style = 0;
  state_.speaker_a = false;
  state_.speaker_b = false;
  state_.level = kInitialLevel;
  state_.hook_lifted = false;
  state_.last_acknowledged_key = 0;
  for (int g = 0; g < 2; ++g)
    state_.channel[g] = state_.line_adaptor ? state_.default_channel[g] : kChannelUsb;
}

bool Device::Plug(int32_t model) {
  if (state_.plugged) return false;
  state_.plugged = true;
  state_.model = model;
  state_.line_adaptor = IsLineAdaptor(model);
  ResetVolatileState();
  return true;
}

bool Device::Unplug() {
  if (!state_.plugged) return false;
  Raise(Event{EventId::kDeviceRemoved, 0});
  for (Session* s : sessions_) s->open_ = false;
  state_.plugged = false;
  state_.ringing = false;
  return true;
}

bool Device::Key(short code) {
  if (!state_.plugged) return false;
  Raise(Event{EventId::kKeyPressed, code});
  return true;
}

bool Device::Hook(bool lifted) {
  if (!state_.plugged || state_.hook_lifted == lifted) return false;
  state_.hook_lifted = lifted;
  EventId id = ReportsHookAsSecondKind(state_.model) ? EventId::kHookChangedB : EventId::kHookChanged;
  Raise(Event{id, lifted ? 0 : 1});  // the event's flag says "on hook"
  return true;
}

bool Device::LineActivity() {
  if (!state_.plugged) return false;
  if (state_.line_adaptor) state_.channel[0] = state_.channel[1] = kChannelPstn;
  Raise(Event{EventId::kLineActivity, 1});
  return true;
}

bool Device::LevelKey() {
  if (!state_.plugged) return false;
  Raise(Event{EventId::kLevelKeyPressed, 0});
  return true;
}

bool Device::SetLevel(short level) {
  if (!state_.plugged || level < 0 || level > kMaxLevel) return false;
  state_.level = level;
  return true;
}

void Device::Raise(const Event& event) {
  // Collected first: a sink's reaction must not disturb the walk over the session list.
  std::vector<Session*> targets;
  for (Session* s : sessions_)
    if (s->IsOpen()) targets.push_back(s);
  for (Session* s : targets) s->sink_.OnDeviceEvent(event);
}

bool Device::IsOpen() const {
  return std::any_of(sessions_.begin(), sessions_.end(), [](const Session* s) { return s->IsOpen(); });
}

DeviceState Device::State() const {
  DeviceState s = state_;
  s.open = IsOpen();
  return s;
}

// ---- Session: the program's side ---------------------------------------------------------------

Session::Session(std::shared_ptr<Device> device, EventSink& sink) : device_(std::move(device)), sink_(sink) {
  device_->sessions_.push_back(this);
}

Session::~Session() {
  auto& list = device_->sessions_;
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
}

bool Session::IsOpen() const { return open_ && device_->state_.plugged && sink_.Reachable(); }

DeviceState* Session::OpenState() { return IsOpen() ? &device_->state_ : nullptr; }
const DeviceState* Session::OpenState() const { return IsOpen() ? &device_->state_ : nullptr; }

bool Session::OpenDevice() {
  open_ = device_->state_.plugged;
  return open_;
}

void Session::CloseDevice() { open_ = false; }

int32_t Session::GetModelCode() const {
  const DeviceState* s = OpenState();
  return s ? s->model : 0;
}

void Session::SetRing(bool ring, short style) {
  DeviceState* s = OpenState();
  if (!s) return;
  if (style >= 0 && style < kRingStyleCount) s->ring_style = style;
  s->ringing = ring;
}

void Session::AcknowledgeKey(short key) {
  if (DeviceState* s = OpenState()) s->last_acknowledged_key = key;
}

void Session::SetIdle() {
  if (DeviceState* s = OpenState()) {
    s->ringing = false;
    s->display.clear();
  }
}

void Session::ShowDialString(const std::string& text) {
  if (DeviceState* s = OpenState()) s->display = text;
}

void Session::ShowIncomingCall(const std::string& caller) {
  if (DeviceState* s = OpenState()) {
    s->ringing = true;
    s->display = caller;
  }
}

void Session::ShowTalking(const std::string& contact) {
  if (DeviceState* s = OpenState()) {
    s->ringing = false;
    s->display = contact;
  }
}

short Session::GetChannel(ChannelGroup group) const {
  const DeviceState* s = OpenState();
  return s ? s->channel[Index(group)] : 0;
}

void Session::SetChannel(ChannelGroup group, short channel) {
  DeviceState* s = OpenState();
  if (s && IsChannel(channel)) s->channel[Index(group)] = channel;
}

void Session::SetDefaultChannel(ChannelGroup group, short channel) {
  DeviceState* s = OpenState();
  if (s && IsChannel(channel)) s->default_channel[Index(group)] = channel;
}

void Session::SetSpeakerA(bool on) {
  if (DeviceState* s = OpenState()) s->speaker_a = on;
}

void Session::SetSpeakerB(bool on) {
  if (DeviceState* s = OpenState()) s->speaker_b = on;
}

short Session::GetLevel() const {
  const DeviceState* s = OpenState();
  return s ? s->level : 0;
}

void Session::SetLevel(short level) {
  DeviceState* s = OpenState();
  if (s && level >= 0 && level <= kMaxLevel) s->level = level;
}

}  // namespace world::handset
