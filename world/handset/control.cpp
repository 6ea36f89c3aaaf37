#include "world/handset/control.h"

#include "world/common/apartment_poster.h"
#include "world/common/connection_point.h"
#include "world/common/ole_control.h"
#include "world/handset/handset_ids.h"
#include "world/handset/methods.h"

namespace world::handset {

namespace {

class HandsetControl final
    : public OleControlImpl<
          ConnectableDispatchObject<IDispatch, IOleObject, IProvideClassInfo2, IPersistStreamInit>>,
      private EventSink {
 public:
  explicit HandsetControl(std::shared_ptr<Device> device)
      : OleControlImpl(kClsidHandsetControl, kDiidHandsetEvents),
        session_(std::move(device), *this),
        events_(AddConnectionPoint(kDiidHandsetEvents)) {}

  bool HasWindow() const { return poster_.IsValid(); }

  // IDispatch: GetIDsOfNames knows no names (the program calls by dispatch id), and there is no
  // type information; the methods are answered here.
  STDMETHODIMP Invoke(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                      EXCEPINFO*, UINT* arg_err) override {
    if (!IsEqualIID(riid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
    return InvokeMethod(session_, id, flags, params, result, arg_err);
  }

 private:
  ~HandsetControl() override = default;

  // ---- EventSink: called on the world's thread ----------------------------------------------
  void OnDeviceEvent(const Event& event) override {
    // The poster is a member: a control that goes drops the events still on their way. The
    // reference held while firing lets a sink release the program's last one.
    poster_.Post([this, event] {
      ComPtr<HandsetControl> keep_alive(this);
      Fire(event);
    });
  }
  bool Reachable() const override { return poster_.IsValid(); }

  // On the creating thread, from its message loop. Like many controls, it raises events only
  // once its container has given it a client site; without one they are lost.
  void Fire(const Event& event) {
    if (!HasClientSite()) return;
    DISPID id = static_cast<DISPID>(event.id);
    switch (event.id) {
      case EventId::kKeyPressed:
        events_.Fire(id, static_cast<SHORT>(event.argument));
        break;
      case EventId::kHookChanged:
      case EventId::kHookChangedB:
      case EventId::kLineActivity:
        events_.Fire(id, event.argument != 0);
        break;
      case EventId::kDeviceRemoved:
      case EventId::kLevelKeyPressed:
        events_.Fire(id);
        break;
    }
  }

  ApartmentPoster poster_;  // the hidden window on the creating thread
  Session session_;
  ConnectionPoint& events_;
};

}  // namespace

HRESULT CreateHandsetControl(std::shared_ptr<Device> device, REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  if (!device) return E_INVALIDARG;
  auto control = MakeCom<HandsetControl>(std::move(device));
  if (!control->HasWindow()) return E_FAIL;
  return control->QueryInterface(riid, ppv);
}

}  // namespace world::handset
