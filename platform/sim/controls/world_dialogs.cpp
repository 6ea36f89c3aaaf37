// The world's view of dialog boxes (sim/dialogs.h).
#include <sim/controls.h>
#include <sim/dialogs.h>

#include "controls/control.h"
#include "controls/text_fold.h"
#include "controls/world_input.h"

namespace sim {

namespace {

bool IsDialogWindow(HWND hwnd) {
  user::Window* w = user::FromHandle(hwnd);
  return w && controls::EqualsIgnoreCase(w->cls->name, u"#32770");
}

bool IsPushButton(const user::Window& w) {
  DWORD type = w.style & BS_TYPEMASK;
  return controls::EqualsIgnoreCase(w.cls->name, u"Button") &&
         (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON);
}

}  // namespace

std::optional<DialogInfo> InspectDialog(HWND dialog) {
  if (!IsDialogWindow(dialog)) return std::nullopt;
  user::Window* w = user::FromHandle(dialog);
  DialogInfo info;
  info.hwnd = dialog;
  info.owner = w->owner;
  info.process_id = w->pid;
  info.title = w->title;
  info.enabled = IsWindowEnabled(dialog) != FALSE;
  for (HWND c : ChildWindows(dialog)) {
    user::Window* cw = user::FromHandle(c);
    if (!cw) continue;
    if (controls::EqualsIgnoreCase(cw->cls->name, u"Static") && (cw->style & 0x1F) != SS_ICON) {
      info.static_texts.push_back(cw->title);
    } else if (IsPushButton(*cw)) {
      info.buttons.push_back(DialogButtonInfo{c, static_cast<int>(cw->id), cw->title,
                                              IsWindowEnabled(c) != FALSE,
                                              (cw->style & BS_TYPEMASK) == BS_DEFPUSHBUTTON});
    }
  }
  return info;
}

std::vector<DialogInfo> OpenDialogs() {
  std::vector<DialogInfo> out;
  for (HWND h : TopLevelWindows()) {
    if (!IsWindowVisible(h)) continue;
    if (auto info = InspectDialog(h)) out.push_back(std::move(*info));
  }
  return out;
}

std::optional<DialogInfo> FindDialog(const std::u16string& title) {
  for (DialogInfo& d : OpenDialogs())
    if (d.title == title) return d;
  return std::nullopt;
}

bool ClickDialogButton(HWND dialog, const std::u16string& text) {
  auto info = InspectDialog(dialog);
  if (!info) return false;
  for (const DialogButtonInfo& b : info->buttons)
    if (controls::LabelMatches(b.text, text)) return ClickButton(b.hwnd);
  return false;
}

bool ClickDialogButton(HWND dialog, int id) {
  auto info = InspectDialog(dialog);
  if (!info) return false;
  for (const DialogButtonInfo& b : info->buttons)
    if (b.id == id) return ClickButton(b.hwnd);
  return false;
}

}  // namespace sim
