// The notification area. Icons are identified by (owner window, id). The structure is read only
// as far as the caller's cbSize reaches, so an older, shorter structure is never over-read.
#include <shellapi.h>
#include <windows.h>

#include <sim/tray.h>

#include <algorithm>
#include <cstring>

#include "core/core.h"
#include "user/user.h"

namespace {

struct TrayState {
  std::vector<sim::TrayIconInfo> icons;
};

TrayState& Tray() { return sim::Desktop::Current().Module<TrayState>(); }

// How much a structure of this size holds: 0 for an unknown size.
int StructureVersion(DWORD size) {
  if (size == NOTIFYICONDATAW_V1_SIZE) return 1;
  if (size == NOTIFYICONDATAW_V2_SIZE) return 2;
  if (size == NOTIFYICONDATAW_V3_SIZE) return 3;
  if (size == sizeof(NOTIFYICONDATAW)) return 4;
  return 0;
}

// A fixed array's text up to its terminator, cut to leave room for one.
std::u16string BoundedText(const WCHAR* text, size_t capacity) {
  size_t n = 0;
  while (n < capacity && text[n]) ++n;
  return std::u16string(text, std::min(n, capacity - 1));
}

sim::TrayIconInfo* Find(HWND owner, UINT id) {
  for (auto& icon : Tray().icons)
    if (icon.owner == owner && icon.id == id) return &icon;
  return nullptr;
}

// Applies the fields that uFlags marks valid; returns which of icon and tip changed.
UINT Apply(sim::TrayIconInfo& icon, const NOTIFYICONDATAW& data, int version) {
  UINT changed = 0;
  if (data.uFlags & NIF_MESSAGE) icon.callback_message = data.uCallbackMessage;
  if ((data.uFlags & NIF_ICON) && icon.icon != data.hIcon) {
    icon.icon = data.hIcon;
    changed |= NIF_ICON;
  }
  if (data.uFlags & NIF_TIP) {
    std::u16string tip = BoundedText(data.szTip, version == 1 ? 64 : 128);
    if (tip != icon.tip) {
      icon.tip = tip;
      changed |= NIF_TIP;
    }
  }
  if (version >= 2 && (data.uFlags & NIF_STATE) && (data.dwStateMask & NIS_HIDDEN))
    icon.hidden = (data.dwState & NIS_HIDDEN) != 0;
  if (version >= 2 && (data.uFlags & NIF_INFO)) {
    icon.balloon_text = BoundedText(data.szInfo, 256);
    icon.balloon_title = BoundedText(data.szInfoTitle, 64);
    icon.balloon_flags = data.dwInfoFlags;
    if (!icon.balloon_text.empty()) {
      std::string line = sim::ToUtf8(icon.balloon_title) + ": " + sim::ToUtf8(icon.balloon_text);
      sim::Desktop::Current().Notify([&](sim::Observer& o) { o.OnNote("balloon", line); });
    }
  }
  return changed;
}

BOOL Fail(DWORD error) {
  SetLastError(error);
  return FALSE;
}

POINT PositionOf(size_t index) {
  return POINT{GetSystemMetrics(SM_CXSCREEN) - 60 - 24 * static_cast<LONG>(index),
               GetSystemMetrics(SM_CYSCREEN) - 20};
}

// Moves the cursor onto the icon and posts its callback messages for `mouse` messages; the
// version-3 notification `after_message` follows the first `after_up`.
bool SendMouse(HWND owner, UINT id, std::initializer_list<UINT> mouse, UINT after_up, UINT after_message) {
  auto found = sim::FindTrayIcon(owner, id);
  if (!found || !found->callback_message) return false;
  const sim::TrayIconInfo& icon = *found;
  POINT at = icon.position;
  SetCursorPos(at.x, at.y);
  auto post = [&](UINT message) {
    if (icon.version >= NOTIFYICON_VERSION_4)
      PostMessageW(icon.owner, icon.callback_message, MAKEWPARAM(at.x, at.y), MAKELPARAM(message, icon.id));
    else
      PostMessageW(icon.owner, icon.callback_message, icon.id, message);
  };
  bool first_up = true;
  for (UINT message : mouse) {
    post(message);
    if (message == after_up && first_up && icon.version >= NOTIFYICON_VERSION && after_message) {
      post(after_message);
      first_up = false;
    }
  }
  return true;
}

}  // namespace

BOOL WINAPI Shell_NotifyIconW(DWORD dwMessage, PNOTIFYICONDATAW lpData) {
  if (!lpData) return Fail(ERROR_INVALID_PARAMETER);
  int version = StructureVersion(lpData->cbSize);
  if (!version) return Fail(ERROR_INVALID_PARAMETER);
  NOTIFYICONDATAW data;
  std::memset(&data, 0, sizeof data);
  std::memcpy(&data, lpData, lpData->cbSize);

  sim::TrayIconInfo* icon = Find(data.hWnd, data.uID);
  switch (dwMessage) {
    case NIM_ADD: {
      if (icon) return Fail(ERROR_INVALID_PARAMETER);
      if (!sim::user::FromHandle(data.hWnd)) return Fail(ERROR_INVALID_WINDOW_HANDLE);
      sim::TrayIconInfo added;
      added.owner = data.hWnd;
      added.id = data.uID;
      Apply(added, data, version);
      Tray().icons.push_back(added);
      sim::Desktop::Current().Notify(
          [&](sim::Observer& o) { o.OnTrayIconAdded(added.owner, added.id, added.icon, added.tip); });
      return TRUE;
    }
    case NIM_MODIFY: {
      if (!icon) return Fail(ERROR_INVALID_PARAMETER);
      UINT changed = Apply(*icon, data, version);
      sim::TrayIconInfo now = *icon;
      if (changed)
        sim::Desktop::Current().Notify(
            [&](sim::Observer& o) { o.OnTrayIconChanged(now.owner, now.id, changed, now.icon, now.tip); });
      return TRUE;
    }
    case NIM_DELETE: {
      if (!icon) return Fail(ERROR_INVALID_PARAMETER);
      HWND owner = icon->owner;
      UINT id = icon->id;
      std::erase_if(Tray().icons, [&](auto& i) { return i.owner == owner && i.id == id; });
      sim::Desktop::Current().Notify([&](sim::Observer& o) { o.OnTrayIconRemoved(owner, id); });
      return TRUE;
    }
    case NIM_SETFOCUS:
      return icon ? TRUE : Fail(ERROR_INVALID_PARAMETER);
    case NIM_SETVERSION:
      if (!icon || version < 2) return Fail(ERROR_INVALID_PARAMETER);
      if (data.uVersion != 0 && data.uVersion != NOTIFYICON_VERSION && data.uVersion != NOTIFYICON_VERSION_4)
        return Fail(ERROR_INVALID_PARAMETER);
      icon->version = data.uVersion;
      return TRUE;
    default:
      return Fail(ERROR_INVALID_PARAMETER);
  }
}

namespace sim {

std::vector<TrayIconInfo> TrayIcons() {
  std::vector<TrayIconInfo> icons = Tray().icons;
  for (size_t i = 0; i < icons.size(); ++i) icons[i].position = PositionOf(i);
  return icons;
}

std::optional<TrayIconInfo> FindTrayIcon(HWND owner, UINT id) {
  for (const auto& icon : TrayIcons())
    if (icon.owner == owner && icon.id == id) return icon;
  return std::nullopt;
}

bool ClickTrayIcon(HWND owner, UINT id) {
  return SendMouse(owner, id, {WM_LBUTTONDOWN, WM_LBUTTONUP}, WM_LBUTTONUP, NIN_SELECT);
}

bool DoubleClickTrayIcon(HWND owner, UINT id) {
  return SendMouse(owner, id, {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP}, WM_LBUTTONUP,
                   NIN_SELECT);
}

bool RightClickTrayIcon(HWND owner, UINT id) {
  return SendMouse(owner, id, {WM_RBUTTONDOWN, WM_RBUTTONUP}, WM_RBUTTONUP, WM_CONTEXTMENU);
}

size_t RemoveDeadTrayIcons() {
  std::vector<std::pair<HWND, UINT>> dead;
  for (const auto& icon : Tray().icons)
    if (!user::FromHandle(icon.owner)) dead.emplace_back(icon.owner, icon.id);
  std::erase_if(Tray().icons, [](const TrayIconInfo& icon) { return !user::FromHandle(icon.owner); });
  for (auto [owner, id] : dead)
    Desktop::Current().Notify([&](Observer& o) { o.OnTrayIconRemoved(owner, id); });
  return dead.size();
}

}  // namespace sim
