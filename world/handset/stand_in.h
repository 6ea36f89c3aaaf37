// The USB handset as the world plays it (tests and the tellbud-sim console): one device, and the
// control's class registered on the current desktop so that the program can create controls
// over it with CoCreateInstance. Simulation glue; the device and control are portable.
//
// One stand-in per desktop: a second one takes the class registration over.
//
// World actions tell the open controls at once, but each control raises the event on its own
// thread, so the program sees it only when that thread's message loop runs (RunUntilIdle).
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "world/handset/device.h"

namespace world::handset {

class HandsetStandIn {
 public:
  // Registers the control's class on the current desktop, which must exist (replacing any
  // earlier registration); `reporter` (may be null) receives a transcript line for every call
  // the program makes.
  explicit HandsetStandIn(Reporter* reporter = nullptr);
  // Unregisters the class; controls the program still holds keep working over the device, but
  // report nothing any more.
  ~HandsetStandIn();
  HandsetStandIn(const HandsetStandIn&) = delete;
  HandsetStandIn& operator=(const HandsetStandIn&) = delete;

  // See Device for what each action does and when it is refused (false).
  bool Plug(int32_t model = kDefaultModelCode) { return Plugged(device_->Plug(model), true); }
  bool Unplug() { return Plugged(device_->Unplug(), false); }
  // Told after every plug (true) and unplug (false) that took place: the world lets the
  // handset's sound device come and go with it.
  void SetPlugListener(std::function<void(bool plugged)> listener) { plug_listener_ = std::move(listener); }
  bool Key(short code) { return device_->Key(code); }
  bool Hook(bool lifted) { return device_->Hook(lifted); }
  bool LineActivity() { return device_->LineActivity(); }
  bool LevelKey() { return device_->LevelKey(); }
  bool SetLevel(short level) { return device_->SetLevel(level); }

  DeviceState State() const { return device_->State(); }
  std::string Describe() const { return handset::Describe(device_->State()); }
  Device& device() { return *device_; }

 private:
  bool Plugged(bool done, bool plugged) {
    if (done && plug_listener_) plug_listener_(plugged);
    return done;
  }

  std::shared_ptr<Device> device_;
  std::function<void(bool)> plug_listener_;
};

}  // namespace world::handset
