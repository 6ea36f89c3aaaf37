// Connection points, their containers' lists, and the enumerators of both.
#include "world/common/connection_point.h"

#include <olectl.h>

#include <algorithm>

namespace world {

namespace {

IUnknown* HeldObject(const CONNECTDATA& data) { return data.pUnk; }
IUnknown* HeldObject(IConnectionPoint* point) { return point; }

// Items taken when the enumerator was made, each holding a reference; clones share them.
template <typename Element>
struct Snapshot {
  std::vector<Element> items;
  Snapshot() = default;
  Snapshot(const Snapshot&) = delete;
  Snapshot& operator=(const Snapshot&) = delete;
  ~Snapshot() {
    for (const Element& item : items)
      if (IUnknown* object = HeldObject(item)) object->Release();
  }
  void Add(const Element& item) {
    if (IUnknown* object = HeldObject(item)) object->AddRef();
    items.push_back(item);
  }
};

// IEnumConnections and IEnumConnectionPoints: every element handed out carries a reference for
// the caller.
template <typename EnumInterface, typename Element>
class SnapshotEnumerator final : public ComObject<EnumInterface> {
 public:
  SnapshotEnumerator(std::shared_ptr<const Snapshot<Element>> snapshot, size_t position)
      : snapshot_(std::move(snapshot)), position_(position) {}

  STDMETHODIMP Next(ULONG count, Element* out, ULONG* fetched) override {
    if (!out || (count > 1 && !fetched)) return E_POINTER;
    ULONG n = 0;
    for (; n < count && position_ < snapshot_->items.size(); ++n, ++position_) {
      out[n] = snapshot_->items[position_];
      if (IUnknown* object = HeldObject(out[n])) object->AddRef();
    }
    if (fetched) *fetched = n;
    return n == count ? S_OK : S_FALSE;
  }
  STDMETHODIMP Skip(ULONG count) override {
    size_t left = snapshot_->items.size() - position_;
    position_ += std::min<size_t>(count, left);
    return count <= left ? S_OK : S_FALSE;
  }
  STDMETHODIMP Reset() override {
    position_ = 0;
    return S_OK;
  }
  STDMETHODIMP Clone(EnumInterface** out) override {
    if (!out) return E_POINTER;
    *out = new SnapshotEnumerator(snapshot_, position_);
    return S_OK;
  }

 private:
  std::shared_ptr<const Snapshot<Element>> snapshot_;
  size_t position_;
};

using ConnectionsEnumerator = SnapshotEnumerator<IEnumConnections, CONNECTDATA>;
using PointsEnumerator = SnapshotEnumerator<IEnumConnectionPoints, IConnectionPoint*>;

// Calls one event on one sink; the sink's result, exception texts and argument errors are of no
// interest to a source.
void Deliver(IDispatch* sink, DISPID id, const std::vector<Variant>& args) {
  InvokeDispatch(sink, id, DISPATCH_METHOD, args);
}

}  // namespace

// ---- ConnectionPoint --------------------------------------------------------------------------------

ConnectionPoint::ConnectionPoint(IConnectionPointContainer* container, REFIID events)
    : container_(container), events_(events) {}

ConnectionPoint::~ConnectionPoint() { UnadviseAll(); }

STDMETHODIMP ConnectionPoint::QueryInterface(REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IConnectionPoint)) {
    *ppv = static_cast<IConnectionPoint*>(this);
    AddRef();
    return S_OK;
  }
  *ppv = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) ConnectionPoint::AddRef() { return container_->AddRef(); }

STDMETHODIMP_(ULONG) ConnectionPoint::Release() { return container_->Release(); }

STDMETHODIMP ConnectionPoint::GetConnectionInterface(IID* iid) {
  if (!iid) return E_POINTER;
  *iid = events_;
  return S_OK;
}

STDMETHODIMP ConnectionPoint::GetConnectionPointContainer(IConnectionPointContainer** container) {
  if (!container) return E_POINTER;
  container_->AddRef();
  *container = container_;
  return S_OK;
}

STDMETHODIMP ConnectionPoint::Advise(IUnknown* sink, DWORD* cookie) {
  if (!cookie) return E_POINTER;
  *cookie = 0;
  if (!sink) return E_POINTER;
  if (connections_.size() >= advise_limit_) return CONNECT_E_ADVISELIMIT;
  Connection c;
  // The events interface is a dispinterface, so a sink answering it is an IDispatch.
  if (FAILED(sink->QueryInterface(events_, c.dispatch.PutVoid())) &&
      FAILED(sink->QueryInterface(IID_IDispatch, c.dispatch.PutVoid())))
    return CONNECT_E_CANNOTCONNECT;
  c.cookie = next_cookie_++;
  c.sink = sink;
  c.thread_id = GetCurrentThreadId();
  c.poster = PosterForCurrentThread();
  c.advised = std::make_shared<bool>(true);
  *cookie = c.cookie;
  connections_.push_back(std::move(c));
  return S_OK;
}

STDMETHODIMP ConnectionPoint::Unadvise(DWORD cookie) {
  auto it = std::find_if(connections_.begin(), connections_.end(),
                         [cookie](const Connection& c) { return c.cookie == cookie; });
  if (it == connections_.end()) return CONNECT_E_NOCONNECTION;
  Connection gone = std::move(*it);
  connections_.erase(it);
  *gone.advised = false;
  return S_OK;  // `gone` releases the sink here, after the list no longer shows it
}

STDMETHODIMP ConnectionPoint::EnumConnections(IEnumConnections** connections) {
  if (!connections) return E_POINTER;
  auto snapshot = std::make_shared<Snapshot<CONNECTDATA>>();
  for (const Connection& c : connections_) snapshot->Add(CONNECTDATA{c.sink, c.cookie});
  *connections = new ConnectionsEnumerator(std::move(snapshot), 0);
  return S_OK;
}

void ConnectionPoint::UnadviseAll() {
  std::vector<Connection> gone;
  gone.swap(connections_);
  for (Connection& c : gone) *c.advised = false;
}

size_t ConnectionPoint::Fire(DISPID id, const std::vector<Variant>& args) {
  // Sinks advised or unadvised by a sink during the call do not change this event's audience.
  std::vector<Connection> audience = connections_;
  DWORD thread = GetCurrentThreadId();
  size_t reached = 0;
  for (const Connection& c : audience) {
    if (!*c.advised) continue;  // unadvised by an earlier sink of this event
    if (c.thread_id == thread || !c.poster) {
      Deliver(c.dispatch.Get(), id, args);
      ++reached;
      continue;
    }
    bool posted = c.poster->Post([sink = c.dispatch, advised = c.advised, id, args] {
      if (*advised) Deliver(sink.Get(), id, args);
    });
    if (posted) ++reached;
  }
  return reached;
}

std::shared_ptr<ApartmentPoster> ConnectionPoint::PosterForCurrentThread() {
  DWORD thread = GetCurrentThreadId();
  std::shared_ptr<ApartmentPoster> poster = posters_[thread].lock();
  if (!poster || !poster->IsValid()) {
    poster = std::make_shared<ApartmentPoster>();
    posters_[thread] = poster;
  }
  return poster;
}

// ---- ConnectionPointList ----------------------------------------------------------------------------

ConnectionPoint& ConnectionPointList::Add(IConnectionPointContainer* container, REFIID events) {
  points_.push_back(std::make_unique<ConnectionPoint>(container, events));
  return *points_.back();
}

ConnectionPoint* ConnectionPointList::Find(REFIID events) const {
  for (const auto& point : points_)
    if (IsEqualIID(point->EventsInterface(), events)) return point.get();
  return nullptr;
}

HRESULT ConnectionPointList::Enumerate(IEnumConnectionPoints** out) const {
  if (!out) return E_POINTER;
  auto snapshot = std::make_shared<Snapshot<IConnectionPoint*>>();
  for (const auto& point : points_) snapshot->Add(point.get());
  *out = new PointsEnumerator(std::move(snapshot), 0);
  return S_OK;
}

HRESULT ConnectionPointList::FindConnectionPoint(REFIID events, IConnectionPoint** out) const {
  if (!out) return E_POINTER;
  *out = Find(events);
  if (!*out) return CONNECT_E_NOCONNECTION;
  (*out)->AddRef();
  return S_OK;
}

}  // namespace world
