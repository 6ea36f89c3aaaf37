// A test with Tellbud.exe running in a folder of its own, the handset control's world channel
// open (the handset starts unplugged), the main window shown and the tray icon drawn; and what a
// user does with it: the tray menu, dialogs, controls and keys, all through real input.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>

#include "tests/wine/desktop.h"
#include "tests/wine/handset_world.h"
#include "tests/wine/tellbud_run.h"

namespace wine_test {

// The tray menu's commands by how many Down presses reach them from the menu just opened.
enum class TrayItem { kAutoRun = 1, kSelectLanguage, kSetAudio, kOption, kAbout, kExit };

constexpr DWORD kStartTimeout = 30000;
constexpr DWORD kUiTimeout = 10000;

class WineTellbud : public ::testing::Test {
 protected:
  void SetUp() override;
  // Ends Tellbud and waits until its icon has left the task bar, where the next test's icon goes.
  void TearDown() override;

  // What the desktop shows, Tellbud's debugger output and the handset's transcript, for failure
  // messages.
  std::string Seen() const;

  // Right-clicks the tray icon and waits for the program's pop-up menu; nullptr when none came.
  HWND OpenTrayMenu();
  // Opens the tray menu and chooses the item with the keyboard.
  void ChooseTrayItem(TrayItem item);
  // The visible top-level window of Tellbud with this title, waited for; nullptr after the time.
  HWND WaitWindow(const std::wstring& title, DWORD timeoutMs = kUiTimeout);
  // Waits until the window is hidden or gone.
  bool WaitGone(HWND hWnd, DWORD timeoutMs = kUiTimeout);
  // Brings the main window to the front and waits until it has the foreground.
  bool Activate(HWND hWnd);
  // Left-clicks the middle of a dialog's control.
  void ClickControl(HWND dialog, int id);
  // The value of KEY in SECTION of a file in Tellbud's folder, read with the profile functions.
  std::wstring IniValue(const wchar_t* file, const wchar_t* section, const wchar_t* key) const;
  // Escape, then Enter, each hides the main window once it is shown again (tray double-click)
  // and in front; AFTER names the moment for the failure message.
  void ExpectKeysHideTheMainWindow(const char* after);
  // Keeps a picture of the window as NAME.bmp in the results folder (the stage converts it to
  // PNG) and checks that it is not blank.
  void Screenshot(HWND hWnd, const wchar_t* name);

  std::unique_ptr<CHandsetWorld> m_world;
  std::unique_ptr<CTellbudRun> m_run;
  HWND m_hMain = nullptr;
};

}  // namespace wine_test
