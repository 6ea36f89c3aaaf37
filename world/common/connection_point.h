// Connectable objects for the stand-ins: connection points that sinks advise, and events fired
// to every advised sink through IDispatch::Invoke (arguments in DISPPARAMS' reversed order).
// Portable over the Windows COM headers.
//
// Events reach each sink on the thread that advised it, as COM marshalling delivers them into
// a single-threaded apartment: fired on that thread, the sink is called at once; fired on any
// other thread, the call is posted to the advising thread and runs from its message loop.
//
//   class Phone final : public world::ConnectableObject<IDispatch> {
//    public:
//     Phone() : events_(AddConnectionPoint(DIID_PhoneEvents)) {}
//     void KeyPressed(short key) { events_.Fire(2, key); }
//    private:
//     world::ConnectionPoint& events_;
//   };
#pragma once

#include <map>
#include <memory>
#include <vector>

#include "world/common/apartment_poster.h"
#include "world/common/com_object.h"
#include "world/common/dispatch.h"

namespace world {

// One outgoing interface of a connectable object. It lives inside its container and counts
// references with it.
class ConnectionPoint final : public IConnectionPoint {
 public:
  ConnectionPoint(IConnectionPointContainer* container, REFIID events);
  ~ConnectionPoint();
  ConnectionPoint(const ConnectionPoint&) = delete;
  ConnectionPoint& operator=(const ConnectionPoint&) = delete;

  // IUnknown: references are the container's.
  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;
  // IConnectionPoint.
  STDMETHODIMP GetConnectionInterface(IID* iid) override;
  STDMETHODIMP GetConnectionPointContainer(IConnectionPointContainer** container) override;
  // A sink must answer the events interface or IDispatch (CONNECT_E_CANNOTCONNECT otherwise).
  // Cookies start at 1 and are never reused.
  STDMETHODIMP Advise(IUnknown* sink, DWORD* cookie) override;
  STDMETHODIMP Unadvise(DWORD cookie) override;
  STDMETHODIMP EnumConnections(IEnumConnections** connections) override;

  // Fires event `id` at every advised sink, in advising order. Returns how many sinks it reached
  // (called now or posted to their thread). A sink unadvised before a posted call runs is spared.
  size_t Fire(DISPID id, const std::vector<Variant>& args);
  template <typename... A>
  size_t Fire(DISPID id, const A&... args) {
    return Fire(id, DispatchArguments::List(args...));
  }

  const IID& EventsInterface() const { return events_; }
  size_t SinkCount() const { return connections_.size(); }
  // Further Advise calls fail with CONNECT_E_ADVISELIMIT once `limit` sinks are advised.
  void SetAdviseLimit(size_t limit) { advise_limit_ = limit; }
  // Drops every sink, as a server that shuts down does.
  void UnadviseAll();

 private:
  struct Connection {
    DWORD cookie = 0;
    IUnknown* sink = nullptr;    // as advised; kept alive by `dispatch`, the same object
    ComPtr<IDispatch> dispatch;  // the sink as events are called on it
    DWORD thread_id = 0;
    std::shared_ptr<ApartmentPoster> poster;
    std::shared_ptr<bool> advised;  // false once unadvised, for calls still on their way
  };

  std::shared_ptr<ApartmentPoster> PosterForCurrentThread();

  IConnectionPointContainer* container_;
  IID events_;
  std::vector<Connection> connections_;
  std::map<DWORD, std::weak_ptr<ApartmentPoster>> posters_;
  DWORD next_cookie_ = 1;
  size_t advise_limit_ = static_cast<size_t>(-1);
};

// The connection points of one object, for IConnectionPointContainer.
class ConnectionPointList {
 public:
  ConnectionPoint& Add(IConnectionPointContainer* container, REFIID events);
  ConnectionPoint* Find(REFIID events) const;
  HRESULT Enumerate(IEnumConnectionPoints** out) const;
  HRESULT FindConnectionPoint(REFIID events, IConnectionPoint** out) const;

 private:
  std::vector<std::unique_ptr<ConnectionPoint>> points_;
};

// IConnectionPointContainer over a ConnectionPointList, for a ComObject whose interfaces
// include IConnectionPointContainer.
template <typename Base>
class ConnectionPointContainerImpl : public Base {
 public:
  STDMETHODIMP EnumConnectionPoints(IEnumConnectionPoints** points) override {
    return points_.Enumerate(points);
  }
  STDMETHODIMP FindConnectionPoint(REFIID events, IConnectionPoint** point) override {
    return points_.FindConnectionPoint(events, point);
  }

 protected:
  ConnectionPoint& AddConnectionPoint(REFIID events) {
    return points_.Add(static_cast<IConnectionPointContainer*>(this), events);
  }
  ConnectionPoint* FindPoint(REFIID events) const { return points_.Find(events); }

 private:
  ConnectionPointList points_;
};

template <typename... Interfaces>
using ConnectableObject = ConnectionPointContainerImpl<ComObject<Interfaces..., IConnectionPointContainer>>;

// An automation object with events: IDispatch members from a DispatchTable, plus connection points.
template <typename... Interfaces>
using ConnectableDispatchObject =
    ConnectionPointContainerImpl<DispatchImpl<ComObject<Interfaces..., IConnectionPointContainer>>>;

}  // namespace world
