#include <sim/controls.h>
#include <sim/dialogs.h>

#include "inspect.h"

namespace platform_test {

WString EditText(HWND edit) { return sim::InspectEdit(edit)->text; }

std::vector<WString> ComboItems(HWND combo) { return sim::InspectComboBox(combo)->items; }

std::vector<WString> ListViewFirstColumn(HWND list) {
  std::vector<WString> texts;
  auto info = sim::InspectListView(list);
  for (auto& row : info->rows) texts.push_back(row.texts.at(0));
  return texts;
}

HWND FirstOpenDialog() {
  auto dialogs = sim::OpenDialogs();
  return dialogs.empty() ? nullptr : dialogs.front().hwnd;
}

}  // namespace platform_test
