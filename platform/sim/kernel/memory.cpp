// GlobalAlloc and the process heap. Blocks are tracked per desktop so that a bad pointer fails
// cleanly instead of corrupting memory, and so that what programs leave allocated is released
// with the desktop (as Windows reclaims a process's memory) rather than leaking into other tests.
// Memory of an ended process is kept until then: its threads may still be unwinding.
#include <windows.h>

#include <cstdlib>
#include <map>

#include "core/core.h"

namespace {

struct Allocations {
  std::map<void*, DWORD> blocks;  // block -> owning process
  Allocations() = default;
  Allocations(const Allocations&) = delete;
  Allocations& operator=(const Allocations&) = delete;
  ~Allocations() {
    for (auto& [block, owner] : blocks) std::free(block);
  }
};

Allocations& Blocks() { return sim::Desktop::Current().Module<Allocations>(); }

// One heap per process; its handle is this value (it fits in 32 bits, as handles do).
constexpr uintptr_t kProcessHeap = 0x00140000;

void* Allocate(SIZE_T bytes, bool zero) {
  size_t size = bytes ? bytes : 1;  // a zero-byte block is still a distinct, valid block
  void* block = zero ? std::calloc(1, size) : std::malloc(size);
  if (!block) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  Blocks().blocks[block] = sim::CurrentProcess().info.pid;
  return block;
}

bool Release(void* block) {
  auto& blocks = Blocks().blocks;
  auto it = blocks.find(block);
  if (it == blocks.end()) return false;
  blocks.erase(it);
  std::free(block);
  return true;
}

}  // namespace

// Every block is fixed: the returned handle is the block's address.
HGLOBAL WINAPI GlobalAlloc(UINT uFlags, SIZE_T dwBytes) {
  return Allocate(dwBytes, (uFlags & GMEM_ZEROINIT) != 0);
}

HGLOBAL WINAPI GlobalFree(HGLOBAL hMem) {
  if (!hMem || Release(hMem)) return nullptr;
  SetLastError(ERROR_INVALID_HANDLE);
  return hMem;
}

HANDLE WINAPI GetProcessHeap(void) { return reinterpret_cast<HANDLE>(kProcessHeap); }

LPVOID WINAPI HeapAlloc(HANDLE hHeap, DWORD dwFlags, SIZE_T dwBytes) {
  if (reinterpret_cast<uintptr_t>(hHeap) != kProcessHeap) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  return Allocate(dwBytes, (dwFlags & HEAP_ZERO_MEMORY) != 0);
}

BOOL WINAPI HeapFree(HANDLE hHeap, DWORD, LPVOID lpMem) {
  if (reinterpret_cast<uintptr_t>(hHeap) != kProcessHeap) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (!lpMem || Release(lpMem)) return TRUE;
  SetLastError(ERROR_INVALID_PARAMETER);
  return FALSE;
}
