// What the driver sees and does on the Wine desktop, through the Windows API: another process's
// list view columns, the notification area's window, real mouse and keyboard input, and the
// screen's pixels.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace wine_test {

// The column titles of a list view in another process: the texts are read through a buffer
// allocated in that process, as Windows requires for messages with pointers across processes.
std::vector<std::wstring> ListViewColumns(HWND list);

// The shell's notification-area window ("Shell_TrayWnd"), or nullptr.
HWND TrayWindow();
// The tray window's client rectangle in screen coordinates when it is visible (it is shown while
// at least one icon is in it); an empty rectangle otherwise.
RECT TrayIconsArea();

// Real input through SendInput.
void MoveMouse(POINT screen);
void Click(POINT screen, bool right);
void DoubleClick(POINT screen);
void PressKey(WORD vk);

// The visible pop-up menu window (class "#32768") of the given process, or nullptr.
HWND PopupMenuOf(DWORD processId);

// The screen as 32-bit pixels, rows from the top.
struct Screen {
  int width = 0;
  int height = 0;
  std::vector<DWORD> pixels;
  DWORD At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};
Screen CaptureScreen();
// Writes the capture as a 32-bit BMP file.
bool SaveBitmap(const Screen& screen, const std::wstring& path);
// How many different colours the capture holds (a blank screen has one).
size_t CountColours(const Screen& screen, size_t enough);
// Pixels in `area` darker than mid-grey.
int CountDarkPixels(const Screen& screen, RECT area);

}  // namespace wine_test
