// Tellbud connected to Messenger with the handset plugged, and its dialogs reached as a person
// reaches them: the contact menu on a row, typing and clicking.
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
  bool IsOpen(const std::string& title) { return sim::FindDialog(world::Utf16(title)).has_value(); }
  // Replaces the text of edit `id` as typing would (Backspace empties it).
  void Type(const std::string& title, int id, const std::string& text) {
    auto dialog = sim::FindDialog(world::Utf16(title));
    ASSERT_TRUE(dialog.has_value()) << title;
    ASSERT_TRUE(sim::TypeIntoEdit(sim::FindControl(dialog->hwnd, id), text.empty() ? u"\b" : world::Utf16(text), true));
    world.Settle();
  }
  void Click(const std::string& title, const std::string& button) {
    Run("button \"" + title + "\" \"" + button + "\"");
  }
};
