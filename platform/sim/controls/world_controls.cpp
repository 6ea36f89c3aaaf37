// The world's view of buttons and statics, and its clicks on buttons (sim/controls.h).
#include <sim/controls.h>

#include "controls/control.h"
#include "controls/world_input.h"

namespace sim {

namespace {

std::u16string ClassOf(HWND hwnd) {
  user::Window* w = user::FromHandle(hwnd);
  return w ? w->cls->name : std::u16string();
}

}  // namespace

std::optional<ControlInfo> InspectControl(HWND control) {
  user::Window* w = user::FromHandle(control);
  if (!w) return std::nullopt;
  ControlInfo info;
  info.class_name = w->cls->name;
  info.text = w->title;
  info.id = static_cast<int>(w->id);
  info.enabled = IsWindowEnabled(control) != FALSE;
  info.visible = IsWindowVisible(control) != FALSE;
  info.checked = controls::ButtonChecked(control);
  info.is_default = ClassOf(control) == u"Button" && (w->style & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
  info.icon = controls::StaticIcon(control);
  return info;
}

HWND FindControl(HWND parent, int id) {
  for (HWND c : ChildWindows(parent)) {
    user::Window* w = user::FromHandle(c);
    if (w && static_cast<int>(w->id) == id) return c;
  }
  return nullptr;
}

HWND FindControlByText(HWND parent, const std::u16string& text) {
  for (HWND c : ChildWindows(parent)) {
    user::Window* w = user::FromHandle(c);
    if (w && controls::LabelMatches(w->title, text)) return c;
  }
  return nullptr;
}

bool ClickButton(HWND button) {
  if (!controls::UserCanReach(button)) return false;
  controls::PostClick(button, controls::ClientCenter(button));
  return true;
}

bool ClickButton(HWND parent, int id) { return ClickButton(FindControl(parent, id)); }

bool ClickButton(HWND parent, const std::u16string& text) {
  for (HWND c : ChildWindows(parent)) {
    user::Window* w = user::FromHandle(c);
    if (w && ClassOf(c) == u"Button" && controls::LabelMatches(w->title, text)) return ClickButton(c);
  }
  return false;
}

}  // namespace sim

namespace sim {

std::optional<EditInfo> InspectEdit(HWND edit) {
  EditInfo info;
  if (!controls::InspectEditState(edit, &info.limit, &info.selection_start, &info.selection_end))
    return std::nullopt;
  user::Window* w = user::FromHandle(edit);
  info.text = w->title;
  info.read_only = (w->style & ES_READONLY) != 0;
  info.enabled = IsWindowEnabled(edit) != FALSE;
  info.visible = IsWindowVisible(edit) != FALSE;
  return info;
}

bool TypeIntoEdit(HWND edit, const std::u16string& text, bool replace) {
  if (!InspectEdit(edit) || !controls::UserCanReach(edit)) return false;
  RECT r{};
  GetClientRect(edit, &r);
  controls::PostClick(edit, POINT{r.right > 0 ? r.right - 1 : 0, r.bottom / 2});
  if (replace) PostMessageW(edit, EM_SETSEL, 0, -1);
  for (char16_t c : text) PostMessageW(edit, WM_CHAR, c, 1);
  return true;
}

}  // namespace sim
