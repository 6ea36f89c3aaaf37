// COM task memory: blocks that one side allocates and the other frees (strings from
// StringFromCLSID, out-parameters of interfaces).
#include <objbase.h>

#include <cstdlib>

// A zero-byte request still gives a distinct, freeable block, as Windows does.
LPVOID WINAPI CoTaskMemAlloc(SIZE_T cb) { return std::malloc(cb ? cb : 1); }

// Reallocating to zero bytes frees the block.
LPVOID WINAPI CoTaskMemRealloc(LPVOID pv, SIZE_T cb) {
  if (cb == 0 && pv) {
    std::free(pv);
    return nullptr;
  }
  return std::realloc(pv, cb ? cb : 1);
}

void WINAPI CoTaskMemFree(LPVOID pv) { std::free(pv); }
