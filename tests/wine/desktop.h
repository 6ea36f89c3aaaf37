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
// The texts of a list view's rows (first column), read the same way.
std::vector<std::wstring> ListViewItems(HWND list);

// The task bar of Wine's virtual desktop ("Shell_TrayWnd"), or nullptr.
HWND TrayWindow();
// The square of the notification icon `index` (0 the rightmost) on the task bar, in screen coordinates;
// an empty rectangle without a visible task bar.
RECT TrayIconRect(int index = 0);
// Whether an icon is drawn there (pixels other than the task bar's face colour).
bool TrayShowsIcon(int index = 0);
// Closes the tips shown now. Wine's task bar keeps an icon's tip up after the mouse has left
// the icon, where it would cover a menu.
void HideTips();
// Of the .ico files given, the one whose picture the first notification icon resembles most.
std::wstring TrayIconLooksLike(const std::vector<std::wstring>& files);
// A picture the notification icon may show, by name.
struct IconCandidate {
  std::wstring name;
  HICON icon;
};
// The name of the candidate whose icon the first notification icon resembles most; "" without
// a task bar.
std::wstring TrayIconResembles(const std::vector<IconCandidate>& candidates);
// An .ico file loaded at the small icon size, or nullptr.
HICON LoadSmallIconFile(const std::wstring& file);
// The middle of the first notification icon.
POINT TrayIconPoint();
// The tip the task bar shows while the mouse rests on the first icon, or "" when none shows
// within `timeoutMs`.
std::wstring TrayTip(DWORD timeoutMs);

// Real input through SendInput. A click at the place of the previous click of the same button
// waits out the double-click time first, as a user clicking twice on purpose would, so that it
// is not taken for a double-click.
void MoveMouse(POINT screen);
void Click(POINT screen, bool right);
void DoubleClick(POINT screen);
// Waits until the top-level window is the foreground window, its thread's active window, and a
// window of its thread has the keyboard focus, so that keys pressed now reach it.
bool WaitKeyboardReady(HWND top, DWORD timeoutMs);
// Left-clicks the middle of the window, as a user activates a window.
void ClickInside(HWND hWnd);
void PressKey(WORD vk);
// A key pressed while another (VK_MENU, VK_CONTROL, VK_SHIFT) is held.
void PressKeyWith(WORD modifier, WORD vk);
// Types the text as Unicode key input.
void TypeText(const std::wstring& text);

// The visible pop-up menu window (class "#32768") of the given process, or nullptr.
HWND PopupMenuOf(DWORD processId);
// Right-clicks the tray icon and waits up to `waitMs` for the process's pop-up menu; a user
// clicks again (three times at most) when a click brought nothing up on a busy machine. The
// menu, or nullptr.
HWND OpenTrayMenuOf(DWORD processId, DWORD waitMs);

// The visible top-level windows, one line each: handle, class, title, process, rectangle; for
// failure messages that say what was on the desktop.
std::string DescribeWindows();
// The visible top-level window of the process with this title, or nullptr.
HWND FindWindowOf(DWORD processId, const std::wstring& title);

// The screen as 32-bit pixels, rows from the top.
struct Screen {
  int width = 0;
  int height = 0;
  std::vector<DWORD> pixels;
  DWORD At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};
Screen CaptureScreen();
// The pixels of one area of the screen (quicker than the whole screen).
Screen CaptureArea(RECT area);
// An .ico file drawn at the small icon size in the middle of a WIDTH x HEIGHT picture filled
// with BACKGROUND; empty when the file cannot be loaded.
Screen DrawIconFile(const std::wstring& file, int width, int height, DWORD background);
// The same for an icon at hand.
Screen DrawIcon(HICON icon, int width, int height, DWORD background);
// The part of the capture inside `area`.
Screen Crop(const Screen& screen, RECT area);
// Writes the capture as a 32-bit BMP file.
bool SaveBitmap(const Screen& screen, const std::wstring& path);
// How many different colours the capture holds (a blank screen has one).
size_t CountColours(const Screen& screen, size_t enough);
// Pixels in `area` darker than mid-grey.
int CountDarkPixels(const Screen& screen, RECT area);

}  // namespace wine_test
