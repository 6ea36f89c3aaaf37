// Helpers of the world's view of controls.
#include "controls/world_input.h"

#include "controls/control.h"
#include "controls/text_fold.h"

namespace sim::controls {

bool UserCanReach(HWND control) {
  if (!IsWindow(control) || !IsWindowVisible(control)) return false;
  for (HWND h = control; h; h = GetAncestor(h, GA_PARENT)) {
    if (h == GetDesktopWindow()) break;
    if (!IsWindowEnabled(h)) return false;
  }
  return true;
}

std::u16string VisibleText(const std::u16string& text) {
  std::u16string out;
  for (size_t i = 0; i < text.size(); ++i) {
    char16_t c = text[i];
    if (c == u'\t') break;
    if (c == u'&') {
      if (i + 1 < text.size() && text[i + 1] == u'&') {
        out.push_back(u'&');
        ++i;
      }
      continue;
    }
    out.push_back(c);
  }
  return out;
}

bool LabelMatches(const std::u16string& label, const std::u16string& text) {
  return label == text || EqualsIgnoreCase(VisibleText(label), VisibleText(text));
}

void PostClick(HWND control, POINT at) {
  LPARAM where = MAKELPARAM(at.x, at.y);
  PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, where);
  PostMessageW(control, WM_LBUTTONUP, 0, where);
}

POINT ClientCenter(HWND hwnd) {
  RECT r{};
  GetClientRect(hwnd, &r);
  return POINT{(r.right - r.left) / 2, (r.bottom - r.top) / 2};
}

}  // namespace sim::controls
