#include "world/handset/stand_in.h"

#include <sim/com.h>
#include <sim/desktop.h>

#include "world/handset/control.h"
#include "world/handset/handset_ids.h"

namespace world::handset {

HandsetStandIn::HandsetStandIn(Reporter* reporter) : device_(std::make_shared<Device>(reporter)) {
  std::shared_ptr<Device> device = device_;
  sim::RegisterComClass(kClsidHandsetControl, [device](IUnknown*, REFIID riid, void** ppv) {
    return CreateHandsetControl(device, riid, ppv);
  });
}

HandsetStandIn::~HandsetStandIn() {
  // Controls still held by a program outlive the stand-in; they must not report to a world
  // that may be gone.
  device_->set_reporter(nullptr);
  if (sim::Desktop::Exists()) sim::UnregisterComClass(kClsidHandsetControl);
}

}  // namespace world::handset
