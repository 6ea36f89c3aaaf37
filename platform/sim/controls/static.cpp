// The "Static" class: text labels and icons (SS_ICON). An icon static made from a template whose
// title is an ordinal (0xFFFF, id) shows that icon resource of the module.
#include <windows.h>

#include "controls/control.h"

namespace sim::controls {

namespace {

struct StaticData : user::ControlData {
  HICON icon = nullptr;
  HBITMAP bitmap = nullptr;
};

bool IsIconStatic(HWND hwnd) {
  return (static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE)) & 0x1F) == SS_ICON;
}

HICON LoadTemplateIcon(const CREATESTRUCTW& cs) {
  LPCWSTR name = cs.lpszName;
  if (!name) return nullptr;
  HINSTANCE instance = cs.hInstance ? cs.hInstance : GetModuleHandleW(nullptr);
  if (name[0] == 0xFFFF) return LoadIconW(instance, MAKEINTRESOURCEW(name[1]));
  if (name[0]) return LoadIconW(instance, name);
  return nullptr;
}

HANDLE Swap(HANDLE* slot, HANDLE next, HWND hwnd) {
  HANDLE old = *slot;
  *slot = next;
  InvalidateRect(hwnd, nullptr, TRUE);
  return old;
}

LRESULT CALLBACK StaticProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    StaticData& d = AttachData<StaticData>(hwnd);
    LRESULT r = DefWindowProcW(hwnd, msg, wp, lp);
    auto* cs = reinterpret_cast<CREATESTRUCTW*>(lp);
    if (cs && IsIconStatic(hwnd)) {
      // The title names the icon; it is not text to show.
      d.icon = LoadTemplateIcon(*cs);
      if (Window* w = user::FromHandle(hwnd)) w->title.clear();
    }
    return r;
  }
  StaticData* d = DataOf<StaticData>(hwnd);
  if (!d) return DefWindowProcW(hwnd, msg, wp, lp);
  switch (msg) {
    case WM_GETDLGCODE:
      return DLGC_STATIC;
    case STM_SETICON:
      return reinterpret_cast<LRESULT>(
          Swap(reinterpret_cast<HANDLE*>(&d->icon), reinterpret_cast<HANDLE>(wp), hwnd));
    case STM_GETICON:
      return reinterpret_cast<LRESULT>(d->icon);
    case STM_SETIMAGE:
      if (wp == IMAGE_ICON || wp == IMAGE_CURSOR)
        return reinterpret_cast<LRESULT>(
            Swap(reinterpret_cast<HANDLE*>(&d->icon), reinterpret_cast<HANDLE>(lp), hwnd));
      if (wp == IMAGE_BITMAP)
        return reinterpret_cast<LRESULT>(
            Swap(reinterpret_cast<HANDLE*>(&d->bitmap), reinterpret_cast<HANDLE>(lp), hwnd));
      return 0;
    case STM_GETIMAGE:
      if (wp == IMAGE_ICON || wp == IMAGE_CURSOR) return reinterpret_cast<LRESULT>(d->icon);
      if (wp == IMAGE_BITMAP) return reinterpret_cast<LRESULT>(d->bitmap);
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      if (d->icon && IsIconStatic(hwnd)) DrawIcon(dc, 0, 0, d->icon);
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_SETTEXT:
      return SetTextAndRedraw(hwnd, lp);
    default:
      return DefWindowProcW(hwnd, msg, wp, lp);
  }
}

}  // namespace

void RegisterStaticClass() { RegisterControlClass(u"Static", StaticProc, CS_DBLCLKS); }

HICON StaticIcon(HWND hwnd) {
  StaticData* d = DataOf<StaticData>(hwnd);
  return d ? d->icon : nullptr;
}

}  // namespace sim::controls
