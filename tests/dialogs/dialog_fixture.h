// Tellbud connected to Messenger with the handset plugged, and the small dialogs reached as a
// person reaches them: the contact menu on a row, the tray menu, typing and clicking.
#pragma once

#include <sim/controls.h>
#include <sim/dialogs.h>

#include "monitor/connected_fixture.h"

class DialogFixture : public ConnectedFixture {
 protected:
  // The contact menu's command on row `row` (1 is the first).
  void ContactCommand(int row, const std::string& item) {
    Run("list rclick " + std::to_string(row));
    Run("menu " + item);
  }
  void TrayCommand(const std::string& item) {
    Run("tray rclick");
    Run("menu " + item);
  }
  HWND DialogWindow(const std::string& title) {
    auto dialog = sim::FindDialog(world::Utf16(title));
    return dialog ? dialog->hwnd : nullptr;
  }
  bool IsOpen(const std::string& title) { return DialogWindow(title) != nullptr; }
  // Replaces the text of edit `id` as typing would.
  void Type(const std::string& title, int id, const std::u16string& text) {
    HWND dialog = DialogWindow(title);
    ASSERT_NE(dialog, nullptr) << title;
    ASSERT_TRUE(sim::TypeIntoEdit(sim::FindControl(dialog, id), text, true));
    world.Settle();
  }
  std::string EditText(const std::string& title, int id) {
    auto edit = sim::InspectEdit(sim::FindControl(DialogWindow(title), id));
    return edit ? world::Utf8(edit->text) : std::string("<no edit>");
  }
  void Click(const std::string& title, const std::string& button) {
    Run("button \"" + title + "\" \"" + button + "\"");
  }
  // The stored text of a key of Custom.ini, quotes included.
  std::string Custom(const std::string& section, const std::string& key) {
    std::string text = ReadFile("Custom.ini");
    std::string header = "[" + section + "]";
    size_t at = text.find(header);
    if (at == std::string::npos) return "<missing>";
    size_t line = text.find("\n" + key + "=", at);
    if (line == std::string::npos) return "<missing>";
    size_t start = line + key.size() + 2;
    size_t end = text.find_first_of("\r\n", start);
    return text.substr(start, end == std::string::npos ? std::string::npos : end - start);
  }
};
