// The USB telephone handset the world plugs into the PC, as one device shared by every control
// the program creates over time. Pure C++: the control (control.h) turns the program's dispatch
// calls into Session calls and the device's events into connection-point events.
//
// Behaviour chosen for the stand-in (everything the program relies on is documented here):
// - Model codes: 0x0500..0x058F are USB/PSTN line adaptors (they have a telephone line and two
//   channels, PSTN 0 and USB 1); 0x0AB0..0x0AFF are the second kind of handset, which reports
//   the hook as HookChangedB instead of HookChanged. Every other code is a plain USB handset.
// - Plugging in starts the volatile state afresh: not ringing (ring style 0), empty display,
//   speakers off, level 10, handset on hook, no key acknowledged. An adaptor starts each channel
//   group on its default channel, a plain handset on USB. The default channels (initially USB)
//   are kept in the device's own memory and survive unplugging; every model stores the channels
//   the program sets.
// - The program's requests take effect only through a session that has the device open;
//   otherwise they do nothing and return 0 (FALSE). Several sessions may have it open at once
//   (a program started again before the old control was released); events go to all of them.
// - World actions return false when the device cannot perform them at all (unplugged, already
//   plugged, hook already in that position); events are raised only to open sessions.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace world {
class Reporter;
}

namespace world::handset {

inline constexpr int32_t kDefaultModelCode = 0x0200;
inline constexpr short kChannelPstn = 0;
inline constexpr short kChannelUsb = 1;
inline constexpr short kRingStyleCount = 10;  // styles 0..9
inline constexpr short kInitialLevel = 10;
inline constexpr short kMaxLevel = 79;  // levels 0..79, all the level key reaches; others are ignored

bool IsLineAdaptor(int32_t model);
bool ReportsHookAsSecondKind(int32_t model);

// The two independent channel groups (GetChannel/SetChannel and GetChannel2/SetChannel2).
enum class ChannelGroup { kFirst = 0, kSecond = 1 };

// What the device tells the program; the values are the control's event dispatch ids.
enum class EventId : int {
  kDeviceRemoved = 1,
  kKeyPressed = 2,    // argument: the key code (short)
  kHookChanged = 4,   // argument: on hook (BOOL)
  kLineActivity = 5,  // argument: activity (BOOL)
  kHookChangedB = 7,  // argument: on hook (BOOL)
  kLevelKeyPressed = 8,
};

struct Event {
  EventId id = EventId::kDeviceRemoved;
  int argument = 0;  // unused by events without an argument
  bool operator==(const Event&) const = default;
};

// A control's receiver for the device's events. OnDeviceEvent is called on the world's thread,
// inside the world action; the receiver hands the event on to its own thread.
class EventSink {
 public:
  virtual ~EventSink() = default;
  virtual void OnDeviceEvent(const Event& event) = 0;
  // False once the receiver can no longer be reached (its program has ended); its session then
  // no longer counts as having the device open, as the system closes a dead process's handles.
  virtual bool Reachable() const { return true; }
};

// Everything the world can inspect (`show`).
struct DeviceState {
  bool plugged = false;
  bool open = false;
  int32_t model = 0;
  bool line_adaptor = false;
  std::string display;  // UTF-8
  bool ringing = false;
  short ring_style = 0;
  bool speaker_a = false;
  bool speaker_b = false;
  short channel[2] = {kChannelUsb, kChannelUsb};  // indexed by ChannelGroup
  short default_channel[2] = {kChannelUsb, kChannelUsb};
  short level = kInitialLevel;
  bool hook_lifted = false;
  short last_acknowledged_key = 0;
};

// One line for the console's `show`, e.g.
// "plugged model=512 open display=\"bob\" ringing style=3 speakerA=off speakerB=on channel=1/1
// default=1/1 level=10 hook=down key=0".
std::string Describe(const DeviceState& state);

class Session;

class Device {
 public:
  explicit Device(Reporter* reporter = nullptr) : reporter_(reporter) {}
  Device(const Device&) = delete;
  Device& operator=(const Device&) = delete;

  // ---- The world's actions ----------------------------------------------------------------
  bool Plug(int32_t model = kDefaultModelCode);
  // Raises DeviceRemoved to every open session, then closes them.
  bool Unplug();
  bool Key(short code);
  bool Hook(bool lifted);
  // Telephone-line activity: an adaptor's line then belongs to PSTN (both groups switch to 0).
  bool LineActivity();
  bool LevelKey();
  // The person sets the level on the handset itself (0..kMaxLevel); false when unplugged or
  // out of range. Raises no event.
  bool SetLevel(short level);

  DeviceState State() const;
  bool IsOpen() const;

  // Where the controls report the program's calls; may be null (nothing reported).
  Reporter* reporter() const { return reporter_; }
  void set_reporter(Reporter* reporter) { reporter_ = reporter; }

 private:
  friend class Session;
  void Raise(const Event& event);
  void ResetVolatileState();

  Reporter* reporter_ = nullptr;
  DeviceState state_;
  std::vector<Session*> sessions_;  // every live session, open or not, in creation order
};

// A control's connection to the device: the program's requests, in the device's own terms.
// Every request is ignored (returning 0 or false) unless this session has the device open.
class Session {
 public:
  Session(std::shared_ptr<Device> device, EventSink& sink);
  ~Session();
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  bool IsOpen() const;
  Device& device() { return *device_; }

  bool OpenDevice();  // true when a device is plugged; the session then has it open
  void CloseDevice();
  int32_t GetModelCode() const;
  void SetRing(bool ring, short style);  // records the style when it is 0..9
  void AcknowledgeKey(short key);
  void SetIdle();
  void ShowDialString(const std::string& text);
  void ShowIncomingCall(const std::string& caller);
  void ShowTalking(const std::string& contact);
  short GetChannel(ChannelGroup group) const;
  void SetChannel(ChannelGroup group, short channel);  // 0 or 1; other values are ignored
  void SetDefaultChannel(ChannelGroup group, short channel);
  void SetSpeakerA(bool on);
  void SetSpeakerB(bool on);
  short GetLevel() const;
  void SetLevel(short level);

 private:
  friend class Device;
  DeviceState* OpenState();
  const DeviceState* OpenState() const;

  std::shared_ptr<Device> device_;
  EventSink& sink_;
  bool open_ = false;
};

}  // namespace world::handset
