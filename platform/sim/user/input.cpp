// Synthetic keyboard input: keybd_event queues the key to the thread that owns the foreground
// window; when that thread takes it, it goes to the thread's focus window as WM_KEYDOWN/WM_KEYUP,
// or WM_SYSKEYDOWN/WM_SYSKEYUP while Alt is held without Ctrl (Alt itself included), as Windows
// delivers it. When that thread has no focus window, the active window gets every key as a
// system key. Input comes after posted messages, as on Windows.
#include <windows.h>

#include "user/user.h"

using namespace sim::user;

namespace {

bool Down(BYTE vk) { return (State().key_state[vk] & 0x80) != 0; }

}  // namespace

void WINAPI keybd_event(BYTE bVk, BYTE bScan, DWORD dwFlags, ULONG_PTR) {
  auto& s = State();
  bool up = (dwFlags & KEYEVENTF_KEYUP) != 0;
  bool was_down = Down(bVk);
  sim::Desktop::Current().Notify([&](sim::Observer& o) { o.OnKeyboardEvent(bVk, up); });
  bool alt_before = Down(VK_MENU) || Down(VK_LMENU) || Down(VK_RMENU);
  if (up) {
    s.key_state[bVk] &= static_cast<BYTE>(~0x80);
  } else {
    s.key_state[bVk] |= 0x80;
    s.key_state[bVk] ^= 0x01;  // toggle bit, as for Caps Lock
  }
  if (bVk == VK_LMENU || bVk == VK_RMENU) s.key_state[VK_MENU] = s.key_state[bVk];
  bool alt = alt_before || (!up && (bVk == VK_MENU || bVk == VK_LMENU || bVk == VK_RMENU));
  bool ctrl = Down(VK_CONTROL);

  // The key joins the input of the thread that owns the foreground window; that thread decides
  // where it goes when it takes it, so a busy thread gets it once it has caught up with its
  // activation.
  Window* fg = FromHandle(s.foreground);
  if (!fg || !fg->thread) return;
  LPARAM lp = 1 | (static_cast<LPARAM>(bScan) << 16);
  if (alt) lp |= LPARAM{1} << 29;
  if (was_down) lp |= LPARAM{1} << 30;
  if (up) lp |= LPARAM{1} << 31;
  Queue(*fg->thread)
      .input.push_back(
          KeyInput{bVk, up, alt, ctrl, lp, s.foreground, static_cast<DWORD>(sim::Now()), s.cursor});
}

namespace sim::user {

// Without a focus window (the active window is minimised, or nobody took the focus) every key
// goes to the active window as a system key.
std::optional<MSG> ResolveKeyInput(const ThreadQueue& q, const KeyInput& key) {
  bool focused = FromHandle(q.focus) != nullptr;
  HWND target = focused ? q.focus : FromHandle(q.active) ? q.active : key.foreground;
  if (!FromHandle(target)) return std::nullopt;
  bool sys = (key.alt && !key.ctrl) || !focused;
  UINT msg = key.up ? (sys ? WM_SYSKEYUP : WM_KEYUP) : (sys ? WM_SYSKEYDOWN : WM_KEYDOWN);
  return MSG{target, msg, key.vk, key.lparam, key.time, key.pt};
}

}  // namespace sim::user

SHORT WINAPI GetKeyState(int nVirtKey) {
  if (nVirtKey < 0 || nVirtKey > 255) return 0;
  BYTE v = State().key_state[nVirtKey];
  SHORT r = 0;
  if (v & 0x80) r = static_cast<SHORT>(0x8000);
  if (v & 0x01) r |= 1;
  return r;
}

SHORT WINAPI GetAsyncKeyState(int vKey) { return static_cast<SHORT>(GetKeyState(vKey) & 0x8000); }

UINT WINAPI MapVirtualKeyW(UINT uCode, UINT) { return uCode; }
