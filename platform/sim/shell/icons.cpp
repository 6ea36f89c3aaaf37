// Icon handles. An icon is a user handle (fitting in 32 bits, never equal to a window's) with a
// record of its origin and size; the pixels are validated and not kept. Shared icons are cached
// per origin and size and survive DestroyIcon, as on Windows.
#include <windows.h>

#include <sim/icons.h>

#include <cerrno>
#include <fstream>
#include <iterator>
#include <map>
#include <sys/stat.h>

#include "kernel/file_system.h"
#include "kernel/text_compare.h"
#include "shell/ico_format.h"
#include "user/user.h"

namespace {

using sim::IconDescription;
using Origin = IconDescription::Origin;

constexpr WORD kFirstSystemIcon = 32512;  // IDI_APPLICATION
constexpr WORD kLastSystemIcon = 32518;   // IDI_SHIELD
constexpr int kDefaultIconSize = 32;      // SM_CXICON
constexpr std::streamsize kLargestIconFile = 16 << 20;
constexpr DWORD kResourceVersion = 0x00030000;
constexpr DWORD kOldResourceVersion = 0x00020000;

struct IconTable {
  std::map<HICON, IconDescription> icons;
  std::map<std::u16string, HICON> shared;                                    // cache key -> icon
  std::map<std::u16string, std::map<WORD, std::vector<uint8_t>>> resources;  // folded image name

  IconTable() {
    sim::AddProcessEndHook([this](sim::Process& process) { ReleaseProcess(process.info.pid); });
  }

  void ReleaseProcess(DWORD pid) {
    std::erase_if(icons, [pid](const auto& item) { return item.second.owner_pid == pid; });
    std::erase_if(shared, [this](const auto& item) { return !icons.count(item.second); });
  }
};

IconTable& Table() { return sim::Desktop::Current().Module<IconTable>(); }

HICON NewIcon(IconDescription description) {
  auto& state = sim::user::State();
  HICON icon = reinterpret_cast<HICON>(state.next_handle);
  state.next_handle += 2;
  Table().icons[icon] = std::move(description);
  return icon;
}

HICON Fail(DWORD error) {
  SetLastError(error);
  return nullptr;
}

// Reads a whole file named by a Windows path, recording the open as CreateFileW does.
std::optional<std::vector<uint8_t>> ReadIconFile(LPCWSTR name, std::u16string* windows_path) {
  auto path = sim::ResolvePath(name);
  if (!path) return std::nullopt;
  struct stat st;
  if (stat(path->host.c_str(), &st) != 0) {
    SetLastError(sim::ErrorFromErrno(errno, path->host));
    return std::nullopt;
  }
  std::ifstream in(path->host, std::ios::binary);
  if (S_ISDIR(st.st_mode) || !in) {
    SetLastError(ERROR_ACCESS_DENIED);
    return std::nullopt;
  }
  sim::RecordOpenedFile(*path, GENERIC_READ, OPEN_EXISTING);
  *windows_path = path->windows;
  if (st.st_size > kLargestIconFile) {
    SetLastError(ERROR_INVALID_DATA);
    return std::nullopt;
  }
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The requested size, filled in from the default or from the image itself.
std::pair<int, int> TargetSize(int cx, int cy, UINT flags, int own_width, int own_height) {
  int width = cx ? cx : (flags & LR_DEFAULTSIZE) ? kDefaultIconSize : own_width;
  int height = cy ? cy : (flags & LR_DEFAULTSIZE) ? kDefaultIconSize : own_height;
  return {width, height};
}

// Chooses the .ico entry for the request, validates its image and records the icon (or finds
// the shared one under `share_key`).
HICON IconFromFileBytes(const std::vector<uint8_t>& bytes, int cx, int cy, UINT flags,
                        IconDescription description, const std::u16string& share_key) {
  auto entries = sim::icons::ParseIconFile(bytes, true);
  if (!entries) return Fail(ERROR_INVALID_DATA);
  const auto& first = entries->front();
  auto [width, height] = TargetSize(cx, cy, flags, first.width, first.height);
  const auto& entry = (*entries)[sim::icons::BestEntry(*entries, width, height)];
  if (!sim::icons::MeasureImage(std::span(bytes).subspan(entry.offset, entry.size)))
    return Fail(ERROR_INVALID_DATA);
  description.width = width;
  description.height = height;
  description.shared = (flags & LR_SHARED) != 0;
  std::u16string key = share_key + u"|" + sim::FromUtf8(std::to_string(width) + "x" + std::to_string(height));
  auto& table = Table();
  if (description.shared) {
    auto it = table.shared.find(key);
    if (it != table.shared.end()) return it->second;
  }
  HICON icon = NewIcon(std::move(description));
  if (table.icons[icon].shared) table.shared[key] = icon;
  return icon;
}

std::optional<WORD> ResourceId(LPCWSTR name) {
  if (IS_INTRESOURCE(name)) return static_cast<WORD>(reinterpret_cast<uintptr_t>(name));
  if (name[0] != u'#') return std::nullopt;
  unsigned value = 0;
  for (LPCWSTR p = name + 1; *p; ++p) {
    if (*p < u'0' || *p > u'9' || value > 0xFFFF) return std::nullopt;
    value = value * 10 + (*p - u'0');
  }
  return value <= 0xFFFF ? std::optional<WORD>(static_cast<WORD>(value)) : std::nullopt;
}

HICON SystemIcon(WORD id) {
  std::u16string key = u"system|" + sim::FromUtf8(std::to_string(id));
  auto& table = Table();
  if (auto it = table.shared.find(key); it != table.shared.end()) return it->second;
  IconDescription description;
  description.origin = Origin::kSystem;
  description.resource_id = id;
  description.width = description.height = kDefaultIconSize;
  description.shared = true;
  HICON icon = NewIcon(description);
  table.shared[key] = icon;
  return icon;
}

HICON LoadResourceIcon(LPCWSTR name, int cx, int cy, UINT flags) {
  auto id = ResourceId(name);
  const std::u16string& image = sim::CurrentProcess().info.image_name;
  auto& resources = Table().resources;
  auto module = resources.find(sim::FoldCase(image));
  if (!id || module == resources.end() || !module->second.count(*id))
    return Fail(ERROR_RESOURCE_NAME_NOT_FOUND);
  IconDescription description;
  description.origin = Origin::kResource;
  description.module = image;
  description.resource_id = *id;
  description.owner_pid = sim::CurrentProcess().info.pid;
  std::u16string key =
      u"resource|" + sim::FromUtf8(std::to_string(description.owner_pid) + "|" + std::to_string(*id));
  return IconFromFileBytes(module->second.at(*id), cx, cy, flags, description, key);
}

}  // namespace

HANDLE WINAPI LoadImageW(HINSTANCE hInst, LPCWSTR name, UINT type, int cx, int cy, UINT fuLoad) {
  if (type != IMAGE_ICON) return Fail(ERROR_NOT_SUPPORTED);
  if (!name || cx < 0 || cy < 0) return Fail(ERROR_INVALID_PARAMETER);
  if (fuLoad & LR_LOADFROMFILE) {
    if (IS_INTRESOURCE(name)) return Fail(ERROR_INVALID_PARAMETER);
    IconDescription description;
    description.origin = Origin::kFile;
    auto bytes = ReadIconFile(name, &description.path);
    if (!bytes) return nullptr;
    description.owner_pid = sim::CurrentProcess().info.pid;
    std::u16string key =
        u"file|" + sim::FromUtf8(std::to_string(description.owner_pid)) + u"|" + description.path;
    return IconFromFileBytes(*bytes, cx, cy, fuLoad, description, key);
  }
  if (!hInst) {
    auto id = ResourceId(name);
    if (!id || *id < kFirstSystemIcon || *id > kLastSystemIcon) return Fail(ERROR_RESOURCE_NAME_NOT_FOUND);
    return SystemIcon(*id);
  }
  return LoadResourceIcon(name, cx, cy, fuLoad);
}

HICON WINAPI LoadIconW(HINSTANCE hInstance, LPCWSTR lpIconName) {
  return static_cast<HICON>(LoadImageW(hInstance, lpIconName, IMAGE_ICON, 0, 0, LR_DEFAULTSIZE | LR_SHARED));
}

// Shared icons outlive DestroyIcon: the call succeeds and the handle stays valid.
BOOL WINAPI DestroyIcon(HICON hIcon) {
  auto& icons = Table().icons;
  auto it = icons.find(hIcon);
  if (it == icons.end()) {
    SetLastError(ERROR_INVALID_CURSOR_HANDLE);
    return FALSE;
  }
  if (!it->second.shared) icons.erase(it);
  return TRUE;
}

HICON WINAPI CopyIcon(HICON hIcon) {
  auto& icons = Table().icons;
  auto it = icons.find(hIcon);
  if (it == icons.end()) return Fail(ERROR_INVALID_CURSOR_HANDLE);
  IconDescription copy = it->second;
  copy.shared = false;
  copy.owner_pid = sim::CurrentProcess().info.pid;
  return NewIcon(copy);
}

HICON WINAPI CreateIconFromResourceEx(PBYTE presbits, DWORD dwResSize, BOOL fIcon, DWORD dwVer, int cxDesired,
                                      int cyDesired, UINT Flags) {
  if (!presbits || (dwVer != kResourceVersion && dwVer != kOldResourceVersion) || cxDesired < 0 ||
      cyDesired < 0)
    return Fail(ERROR_INVALID_PARAMETER);
  std::span<const uint8_t> image(presbits, dwResSize);
  if (!fIcon) image = dwResSize >= 4 ? image.subspan(4) : std::span<const uint8_t>();  // a cursor's hot spot
  auto size = sim::icons::MeasureImage(image);
  if (!size) return Fail(ERROR_INVALID_DATA);
  IconDescription description;
  description.origin = Origin::kMemory;
  std::tie(description.width, description.height) =
      TargetSize(cxDesired, cyDesired, Flags, size->width, size->height);
  description.shared = (Flags & LR_SHARED) != 0;
  description.owner_pid = sim::CurrentProcess().info.pid;
  return NewIcon(description);
}

// Returns the resource id of the best image in a group directory, 0 when the directory is not
// one. A zero size asks for the system's icon size.
int WINAPI LookupIconIdFromDirectoryEx(PBYTE presbits, BOOL fIcon, int cxDesired, int cyDesired, UINT) {
  auto entries = sim::icons::ParseGroupDirectory(presbits, fIcon != FALSE);
  if (!entries || entries->empty()) return 0;
  int cx = cxDesired ? cxDesired : kDefaultIconSize;
  int cy = cyDesired ? cyDesired : kDefaultIconSize;
  return (*entries)[sim::icons::BestEntry(*entries, cx, cy)].id;
}

namespace sim {

std::optional<IconDescription> DescribeIcon(HICON icon) {
  auto& icons = Table().icons;
  auto it = icons.find(icon);
  if (it == icons.end()) return std::nullopt;
  return it->second;
}

size_t LiveIconCount() {
  size_t n = 0;
  for (const auto& [icon, description] : Table().icons) n += description.shared ? 0 : 1;
  return n;
}

size_t LiveIconCount(DWORD pid) {
  size_t n = 0;
  for (const auto& [icon, description] : Table().icons)
    n += !description.shared && description.owner_pid == pid;
  return n;
}

bool RegisterIconResource(const std::u16string& image_name, WORD id, std::vector<uint8_t> ico_bytes) {
  if (!icons::ParseIconFile(ico_bytes, true)) return false;
  Table().resources[FoldCase(image_name)][id] = std::move(ico_bytes);
  return true;
}

}  // namespace sim
