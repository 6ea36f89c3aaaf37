// What the user does in Tellbud's dialogs: typing into an edit, choosing in a combo box, dragging
// a slider, and the main window's system menu.
#include <sim/controls.h>
#include <sim/dialogs.h>
#include <sim/menus.h>

#include "world/console/console.h"
#include "world/console/numbers.h"
#include "world/core/menu_text.h"
#include "world/core/text.h"

namespace console {

namespace {

// The control `id` of the open dialog titled `title`; `why` tells what is missing.
HWND DialogControl(const std::string& title, const std::string& id_text, std::string* why) {
  auto dialog = sim::FindDialog(world::Utf16(title));
  if (!dialog) {
    *why = "no open dialog titled '" + title + "'";
    return nullptr;
  }
  auto id = ParseNumber(id_text);
  if (!id || *id > 0xFFFF) {
    *why = "not a control id: '" + id_text + "'";
    return nullptr;
  }
  HWND control = sim::FindControl(dialog->hwnd, static_cast<int>(*id));
  if (!control) *why = "the dialog '" + title + "' has no control " + id_text;
  return control;
}

// Selects the whole text and types the new one over it, character by character; an empty text
// is typed as Backspace on the selection.
Result Type(Console& c, const Call& call) {
  std::string why;
  HWND edit = DialogControl(call.args[0], call.args[1], &why);
  if (!edit) return Result::Failed(why);
  if (!sim::InspectEdit(edit)) return Result::Failed("control " + call.args[1] + " is not an edit");
  std::u16string text = world::Utf16(call.args[2]);
  if (!sim::TypeIntoEdit(edit, text.empty() ? u"\b" : text, true))
    return Result::Failed("the edit does not take typing now (hidden or disabled)");
  c.world().Settle();
  return Result::Ok();
}

Result Choose(Console& c, const Call& call) {
  std::string why;
  HWND combo = DialogControl(call.args[0], call.args[1], &why);
  if (!combo) return Result::Failed(why);
  auto info = sim::InspectComboBox(combo);
  if (!info) return Result::Failed("control " + call.args[1] + " is not a combo box");
  if (!sim::ChooseComboBoxItem(combo, world::Utf16(call.args[2])))
    return Result::Failed("the combo box has no item '" + call.args[2] + "' or does not take the mouse now");
  c.world().Settle();
  return Result::Ok();
}

Result Slide(Console& c, const Call& call) {
  std::string why;
  HWND slider = DialogControl(call.args[0], call.args[1], &why);
  if (!slider) return Result::Failed(why);
  if (!sim::InspectTrackbar(slider)) return Result::Failed("control " + call.args[1] + " is not a slider");
  auto position = ParseNumber(call.args[2]);
  if (!position || *position > 0x7FFFFFFF)
    return Result::Bad("not a slider position: '" + call.args[2] + "'");
  if (!sim::DragTrackbar(slider, static_cast<LONG>(*position)))
    return Result::Failed("the slider does not take the mouse now (hidden or disabled)");
  c.world().Settle();
  return Result::Ok();
}

Result SystemMenu(Console& c, const Call& call) {
  std::string item;
  for (const std::string& a : call.args) item += (item.empty() ? "" : " ") + a;
  auto main = c.world().TellbudMainWindow();
  if (!main) return Result::Failed("Tellbud has no main window");
  if (!IsWindowEnabled(*main)) return Result::Failed("Tellbud's main window is disabled (a dialog is open)");
  if (!sim::ChooseSystemMenuItem(*main, world::Utf16(item))) {
    return Result::Failed("the system menu has no enabled item '" + item + "' (it has " +
                          world::DescribeMenuItems(sim::SystemMenuItems(*main)) + ")");
  }
  c.world().Settle();
  return Result::Ok();
}

}  // namespace

void AddDialogCommands(Console& c) {
  c.Add({"type", "", 3, 3, "type \"DIALOG TITLE\" ID \"TEXT\"",
         "replace an edit's text as a person typing it would (limits and digits-only apply)", Type});
  c.Add({"choose", "", 3, 3, "choose \"DIALOG TITLE\" ID \"ITEM\"",
         "pick the item with that text in a combo box, as with the mouse", Choose});
  c.Add({"slide", "", 3, 3, "slide \"DIALOG TITLE\" ID POSITION",
         "drag a slider's thumb to POSITION and let go", Slide});
  c.Add({"sysmenu", "", 1, -1, "sysmenu ITEM", "choose an item of Tellbud's main window's system menu",
         SystemMenu});
}

}  // namespace console
