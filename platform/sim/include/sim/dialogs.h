// Dialog boxes as the world sees them: the open dialogs (message boxes included) with their
// texts and buttons, and clicking a button the way a person does (see sim/controls.h: the click
// is posted and takes effect when the desktop runs).
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace sim {

struct DialogButtonInfo {
  HWND hwnd = nullptr;
  int id = 0;
  std::u16string text;
  bool enabled = true;
  bool is_default = false;
};

struct DialogInfo {
  HWND hwnd = nullptr;
  HWND owner = nullptr;
  DWORD process_id = 0;
  std::u16string title;
  std::vector<std::u16string> static_texts;  // in creation order
  std::vector<DialogButtonInfo> buttons;     // push buttons, in creation order
  bool enabled = true;
};

// Visible top-level dialog windows ("#32770"), topmost first.
std::vector<DialogInfo> OpenDialogs();
std::optional<DialogInfo> InspectDialog(HWND dialog);
// The topmost visible dialog with this title.
std::optional<DialogInfo> FindDialog(const std::u16string& title);

// Clicks a push button of the dialog, matched by its text without '&' markers, or by id.
bool ClickDialogButton(HWND dialog, const std::u16string& text);
bool ClickDialogButton(HWND dialog, int id);

}  // namespace sim
