// Named shared memory: file mappings backed by the paging file. Every view of a mapping is the
// same memory, so processes that open the same name see each other's writes. A view keeps its
// mapping alive after the handle is closed, as on Windows.
#include <windows.h>

#include <algorithm>
#include <memory>
#include <new>
#include <vector>

#include "core/core.h"
#include "kernel/named_objects.h"

namespace {

constexpr ULONGLONG kAllocationGranularity = 65536;
constexpr ULONGLONG kLargestMapping = 1ull << 30;  // the simulated paging file's limit

struct SharedMemory {
  std::unique_ptr<BYTE[]> bytes;
  size_t size = 0;
};

struct MappingObject : sim::KernelObject {
  std::shared_ptr<SharedMemory> memory;
  bool writable = true;
};

struct Views {
  struct View {
    BYTE* address = nullptr;
    std::shared_ptr<MappingObject> mapping;
    DWORD pid = 0;
  };
  std::vector<View> views;
  // Memory of the views of ended processes: their names are released, but their threads may
  // still be unwinding, so the bytes stay until the desktop goes.
  std::vector<std::shared_ptr<SharedMemory>> retired;

  Views() {
    sim::AddProcessEndHook([this](sim::Process& process) {
      DWORD pid = process.info.pid;
      for (auto& view : views)
        if (view.pid == pid) retired.push_back(view.mapping->memory);
      std::erase_if(views, [pid](const View& view) { return view.pid == pid; });
    });
  }
};

Views& AllViews() { return sim::Desktop::Current().Module<Views>(); }

HANDLE FailHandle(DWORD error) {
  SetLastError(error);
  return nullptr;
}

}  // namespace

HANDLE WINAPI CreateFileMappingW(HANDLE hFile, LPSECURITY_ATTRIBUTES, DWORD flProtect,
                                 DWORD dwMaximumSizeHigh, DWORD dwMaximumSizeLow, LPCWSTR lpName) {
  if (hFile != INVALID_HANDLE_VALUE) return FailHandle(ERROR_NOT_SUPPORTED);  // only the paging file
  DWORD protection = flProtect & 0xFF;
  if (protection != PAGE_READONLY && protection != PAGE_READWRITE) return FailHandle(ERROR_INVALID_PARAMETER);
  ULONGLONG size = (static_cast<ULONGLONG>(dwMaximumSizeHigh) << 32) | dwMaximumSizeLow;
  if (size == 0) return FailHandle(ERROR_INVALID_PARAMETER);
  if (size > kLargestMapping) return FailHandle(ERROR_NOT_ENOUGH_MEMORY);

  bool existed = false;
  auto mapping = sim::CreateOrOpenNamed<MappingObject>(
      lpName,
      [&]() -> std::shared_ptr<MappingObject> {
        auto memory = std::make_shared<SharedMemory>();
        memory->bytes.reset(new (std::nothrow) BYTE[size]());
        if (!memory->bytes) {
          SetLastError(ERROR_NOT_ENOUGH_MEMORY);
          return nullptr;
        }
        memory->size = size;
        auto m = std::make_shared<MappingObject>();
        m->memory = std::move(memory);
        m->writable = protection == PAGE_READWRITE;
        return m;
      },
      &existed);
  if (!mapping) return nullptr;
  return sim::AddHandle(mapping, sim::CurrentProcess().info.pid);  // keeps the error set above
}

LPVOID WINAPI MapViewOfFile(HANDLE hFileMappingObject, DWORD dwDesiredAccess, DWORD dwFileOffsetHigh,
                            DWORD dwFileOffsetLow, SIZE_T dwNumberOfBytesToMap) {
  auto mapping = sim::LookupHandleAs<MappingObject>(hFileMappingObject);
  if (!mapping) return FailHandle(ERROR_INVALID_HANDLE);
  ULONGLONG offset = (static_cast<ULONGLONG>(dwFileOffsetHigh) << 32) | dwFileOffsetLow;
  if (offset % kAllocationGranularity) return FailHandle(ERROR_MAPPED_ALIGNMENT);
  size_t size = mapping->memory->size;
  if (offset > size || dwNumberOfBytesToMap > size - offset) return FailHandle(ERROR_ACCESS_DENIED);
  if ((dwDesiredAccess & FILE_MAP_WRITE) && !mapping->writable) return FailHandle(ERROR_ACCESS_DENIED);
  BYTE* address = mapping->memory->bytes.get() + offset;
  AllViews().views.push_back({address, mapping, sim::CurrentProcess().info.pid});
  return address;
}

BOOL WINAPI UnmapViewOfFile(LPCVOID lpBaseAddress) {
  auto& views = AllViews().views;
  DWORD pid = sim::CurrentProcess().info.pid;
  auto it = std::find_if(views.begin(), views.end(), [&](const Views::View& view) {
    return view.address == lpBaseAddress && view.pid == pid;
  });
  if (it == views.end()) {
    SetLastError(ERROR_INVALID_ADDRESS);
    return FALSE;
  }
  views.erase(it);
  return TRUE;
}
