// Apartments: CoInitialize(Ex), CoUninitialize and OleInitialize/OleUninitialize, counted per
// thread as Windows does.
#include <ole2.h>

#include "com/com_state.h"

namespace sim::com {

ThreadState& CurrentThreadState() { return CurrentThread().slots.Get<ThreadState>(); }

bool IsThreadInitialized() {
  ThreadState* state = CurrentThread().slots.Find<ThreadState>();
  return state && state->init_count > 0;
}

}  // namespace sim::com

namespace sim {

ComApartment ThreadApartment(DWORD thread_id) {
  Thread* thread = FindThread(thread_id);
  com::ThreadState* state = thread ? thread->slots.Find<com::ThreadState>() : nullptr;
  if (!state || state->init_count == 0) return ComApartment::kNone;
  return state->multithreaded ? ComApartment::kMultiThreaded : ComApartment::kSingleThreaded;
}

}  // namespace sim

namespace {

constexpr DWORD kKnownCoInitFlags =
    COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE | COINIT_SPEED_OVER_MEMORY;

}  // namespace

// The first call on a thread enters the apartment (S_OK); later calls for the same apartment
// only count (S_FALSE); a call for the other apartment fails and does not count.
HRESULT WINAPI CoInitializeEx(LPVOID pvReserved, DWORD dwCoInit) {
  if (pvReserved || (dwCoInit & ~kKnownCoInitFlags)) return E_INVALIDARG;
  bool multithreaded = (dwCoInit & COINIT_APARTMENTTHREADED) == 0;
  sim::com::ThreadState& state = sim::com::CurrentThreadState();
  if (state.init_count > 0) {
    if (state.multithreaded != multithreaded) return RPC_E_CHANGED_MODE;
    ++state.init_count;
    return S_FALSE;
  }
  state.multithreaded = multithreaded;
  state.init_count = 1;
  return S_OK;
}

HRESULT WINAPI CoInitialize(LPVOID pvReserved) {
  return CoInitializeEx(pvReserved, COINIT_APARTMENTTHREADED);
}

// Balances one successful initialisation; extra calls on an uninitialised thread do nothing.
void WINAPI CoUninitialize(void) {
  sim::com::ThreadState& state = sim::com::CurrentThreadState();
  if (state.init_count > 0) --state.init_count;
}

HRESULT WINAPI OleInitialize(LPVOID pvReserved) {
  if (pvReserved) return E_INVALIDARG;
  HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  if (FAILED(hr)) return hr;
  sim::com::ThreadState& state = sim::com::CurrentThreadState();
  ++state.ole_init_count;
  return state.ole_init_count > 1 ? S_FALSE : hr;
}

void WINAPI OleUninitialize(void) {
  sim::com::ThreadState& state = sim::com::CurrentThreadState();
  if (state.ole_init_count == 0) return;
  --state.ole_init_count;
  CoUninitialize();
}
