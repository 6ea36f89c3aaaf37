#include "desktop.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <set>
#include <utility>

#include "tests/wine/remote_list_view.h"
#include "tests/wine/tellbud_run.h"

namespace wine_test {

std::vector<std::wstring> ListViewColumns(HWND list) {
  std::vector<std::wstring> titles;
  constexpr int kChars = 128;
  CRemoteBuffer buffer(list, sizeof(LVCOLUMNW) + kChars * sizeof(wchar_t));
  for (int i = 0; buffer; ++i) {
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT;
    column.pszText = reinterpret_cast<LPWSTR>(buffer.At(sizeof(LVCOLUMNW)));
    column.cchTextMax = kChars;
    wchar_t text[kChars] = {};
    if (!buffer.Write(0, &column, sizeof column) || !buffer.Write(sizeof column, text, sizeof text)) break;
    if (!SendMessageW(list, LVM_GETCOLUMNW, i, reinterpret_cast<LPARAM>(buffer.At(0)))) break;
    if (!buffer.Read(sizeof column, text, sizeof text)) break;
    text[kChars - 1] = 0;
    titles.push_back(text);
  }
  return titles;
}

std::vector<std::wstring> ListViewItems(HWND list) {
  std::vector<std::wstring> items;
  for (const ListViewRow& row : ListViewRows(list)) items.push_back(row.texts.empty() ? L"" : row.texts[0]);
  return items;
}

HWND TrayWindow() { return FindWindowW(L"Shell_TrayWnd", nullptr); }

// Wine's task bar draws the notification icons from its right end, each in a square of the small
// icon's size with a border of 2 pixels around it, the first one rightmost.
RECT TrayIconRect(int index) {
  RECT icon{};
  HWND tray = TrayWindow();
  if (!tray || !IsWindowVisible(tray)) return icon;
  RECT bar{};
  GetClientRect(tray, &bar);
  MapWindowPoints(tray, nullptr, reinterpret_cast<POINT*>(&bar), 2);
  int cx = GetSystemMetrics(SM_CXSMICON) + 4;
  int cy = GetSystemMetrics(SM_CYSMICON) + 4;
  int top = bar.top + (bar.bottom - bar.top - cy) / 2;
  return RECT{bar.right - cx * (index + 1), top, bar.right - cx * index, top + cy};
}

bool TrayShowsIcon(int index) {
  RECT icon = TrayIconRect(index);
  if (icon.right <= icon.left) return false;
  Screen square = Crop(CaptureScreen(), icon);
  if (square.pixels.empty()) return false;
  // The square's corner lies in the border around the icon: the task bar's own colour.
  DWORD background = square.pixels[0];
  int drawn = 0;
  for (DWORD pixel : square.pixels) drawn += pixel != background;
  return drawn > 16;
}

void HideTips() {
  for (HWND hWnd = FindWindowExW(nullptr, nullptr, L"tooltips_class32", nullptr); hWnd;
       hWnd = FindWindowExW(nullptr, hWnd, L"tooltips_class32", nullptr)) {
    DWORD_PTR unused = 0;
    if (IsWindowVisible(hWnd)) SendMessageTimeoutW(hWnd, TTM_POP, 0, 0, SMTO_ABORTIFHUNG, 2000, &unused);
  }
}

std::wstring TrayIconResembles(const std::vector<IconCandidate>& candidates) {
  Screen square = CaptureArea(TrayIconRect());
  if (square.pixels.empty()) return {};
  std::wstring best;
  long long bestDistance = -1;
  for (const IconCandidate& candidate : candidates) {
    Screen drawn = DrawIcon(candidate.icon, square.width, square.height, square.pixels[0]);
    if (drawn.pixels.size() != square.pixels.size()) continue;
    long long distance = 0;
    for (size_t i = 0; i < drawn.pixels.size(); ++i)
      for (int shift : {0, 8, 16})
        distance += std::abs(static_cast<int>((drawn.pixels[i] >> shift) & 0xFF) -
                             static_cast<int>((square.pixels[i] >> shift) & 0xFF));
    if (bestDistance < 0 || distance < bestDistance) {
      bestDistance = distance;
      best = candidate.name;
    }
  }
  return best;
}

HICON LoadSmallIconFile(const std::wstring& file) {
  return static_cast<HICON>(LoadImageW(nullptr, file.c_str(), IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                       GetSystemMetrics(SM_CYSMICON), LR_LOADFROMFILE));
}

std::wstring TrayIconLooksLike(const std::vector<std::wstring>& files) {
  std::vector<IconCandidate> candidates;
  for (const std::wstring& file : files)
    if (HICON icon = LoadSmallIconFile(file)) candidates.push_back(IconCandidate{file, icon});
  std::wstring best = TrayIconResembles(candidates);
  for (const IconCandidate& candidate : candidates) DestroyIcon(candidate.icon);
  return best;
}

POINT TrayIconPoint() {
  RECT icon = TrayIconRect();
  return POINT{(icon.left + icon.right) / 2, (icon.top + icon.bottom) / 2};
}

std::wstring TrayTip(DWORD timeoutMs) {
  POINT icon = TrayIconPoint();
  MoveMouse(POINT{icon.x - 200, icon.y - 200});
  Sleep(300);
  MoveMouse(icon);
  std::wstring tip;
  DWORD start = GetTickCount();
  while (tip.empty() && GetTickCount() - start < timeoutMs) {
    Sleep(100);
    for (HWND hWnd = FindWindowExW(nullptr, nullptr, L"tooltips_class32", nullptr); hWnd;
         hWnd = FindWindowExW(nullptr, hWnd, L"tooltips_class32", nullptr)) {
      // GetWindowText does not ask another process's window; WM_GETTEXT does.
      wchar_t text[128] = {};
      DWORD_PTR length = 0;
      if (IsWindowVisible(hWnd) &&
          SendMessageTimeoutW(hWnd, WM_GETTEXT, 128, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000,
                              &length) &&
          length > 0)
        tip = text;
    }
  }
  return tip;
}

namespace {

void SendMouse(DWORD flags, POINT screen) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = MulDiv(screen.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
  input.mi.dy = MulDiv(screen.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
  // A button event carries its position too: without MOUSEEVENTF_MOVE it happens wherever the
  // cursor is when it is read, and under Wine that can still be the previous click's place.
  input.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  SendInput(1, &input, sizeof input);
}

}  // namespace

void MoveMouse(POINT screen) {
  SendMouse(MOUSEEVENTF_MOVE, screen);
  Sleep(100);
  // The cursor is there before a button goes down.
  POINT at{};
  for (int i = 0; i < 20 && GetCursorPos(&at) && (at.x != screen.x || at.y != screen.y); ++i) {
    SendMouse(MOUSEEVENTF_MOVE, screen);
    Sleep(50);
  }
}

void Click(POINT screen, bool right) {
  static POINT s_last{-1, -1};
  static bool s_lastRight = false;
  static DWORD s_lastTick = 0;
  DWORD since = GetTickCount() - s_lastTick;
  if (right == s_lastRight && std::abs(screen.x - s_last.x) < GetSystemMetrics(SM_CXDOUBLECLK) &&
      std::abs(screen.y - s_last.y) < GetSystemMetrics(SM_CYDOUBLECLK) && since <= GetDoubleClickTime())
    Sleep(GetDoubleClickTime() - since + 100);
  MoveMouse(screen);
  SendMouse(right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN, screen);
  SendMouse(right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP, screen);
  s_last = screen;
  s_lastRight = right;
  s_lastTick = GetTickCount();
  Sleep(50);
}

bool WaitKeyboardReady(HWND top, DWORD timeoutMs) {
  DWORD start = GetTickCount();
  for (;;) {
    GUITHREADINFO gui{};
    gui.cbSize = sizeof gui;
    if (GetForegroundWindow() == top && GetGUIThreadInfo(GetWindowThreadProcessId(top, nullptr), &gui) &&
        gui.hwndActive == top && gui.hwndFocus)
      return true;
    if (GetTickCount() - start > timeoutMs) return false;
    Sleep(50);
  }
}

void ClickInside(HWND hWnd) {
  RECT rc{};
  GetWindowRect(hWnd, &rc);
  Click(POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2}, false);
}

void DoubleClick(POINT screen) {
  MoveMouse(screen);
  for (int i = 0; i < 2; ++i) {
    SendMouse(MOUSEEVENTF_LEFTDOWN, screen);
    SendMouse(MOUSEEVENTF_LEFTUP, screen);
  }
  Sleep(50);
}

namespace {

INPUT Key(WORD vk, DWORD flags) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = vk;
  input.ki.dwFlags = flags;
  return input;
}

}  // namespace

void PressKey(WORD vk) {
  INPUT inputs[] = {Key(vk, 0), Key(vk, KEYEVENTF_KEYUP)};
  SendInput(2, inputs, sizeof(INPUT));
  Sleep(100);
}

void PressKeyWith(WORD modifier, WORD vk) {
  INPUT inputs[] = {Key(modifier, 0), Key(vk, 0), Key(vk, KEYEVENTF_KEYUP), Key(modifier, KEYEVENTF_KEYUP)};
  SendInput(4, inputs, sizeof(INPUT));
  Sleep(100);
}

void TypeText(const std::wstring& text) {
  for (wchar_t c : text) {
    INPUT inputs[] = {Key(0, KEYEVENTF_UNICODE), Key(0, KEYEVENTF_UNICODE | KEYEVENTF_KEYUP)};
    inputs[0].ki.wScan = inputs[1].ki.wScan = c;
    SendInput(2, inputs, sizeof(INPUT));
  }
  Sleep(100);
}

HWND PopupMenuOf(DWORD processId) {
  for (HWND hWnd = FindWindowExW(nullptr, nullptr, L"#32768", nullptr); hWnd;
       hWnd = FindWindowExW(nullptr, hWnd, L"#32768", nullptr)) {
    DWORD pid = 0;
    GetWindowThreadProcessId(hWnd, &pid);
    if (pid == processId && IsWindowVisible(hWnd)) return hWnd;
  }
  return nullptr;
}

HWND OpenTrayMenuOf(DWORD processId, DWORD waitMs) {
  HWND menu = nullptr;
  for (int attempt = 0; attempt < 3 && !menu; ++attempt) {
    if (attempt > 0) {
      MoveMouse(POINT{400, 300});
      HideTips();
      Sleep(GetDoubleClickTime() + 100);
    }
    Click(TrayIconPoint(), true);
    WaitFor([&] { return (menu = PopupMenuOf(processId)) != nullptr; }, waitMs);
  }
  return menu;
}

namespace {

std::string Narrow(const wchar_t* text) {
  int n = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  std::string out(n > 0 ? n - 1 : 0, '\0');
  if (n > 1) WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), n, nullptr, nullptr);
  return out;
}

BOOL CALLBACK DescribeOne(HWND hWnd, LPARAM param) {
  if (!IsWindowVisible(hWnd)) return TRUE;
  wchar_t title[128] = {}, cls[64] = {};
  GetWindowTextW(hWnd, title, 128);
  GetClassNameW(hWnd, cls, 64);
  DWORD pid = 0;
  GetWindowThreadProcessId(hWnd, &pid);
  RECT rc{};
  GetWindowRect(hWnd, &rc);
  char line[512];
  snprintf(line, sizeof line, "  %p class \"%s\" title \"%s\" process %lu at (%ld,%ld)-(%ld,%ld)%s\n",
           static_cast<void*>(hWnd), Narrow(cls).c_str(), Narrow(title).c_str(), pid, rc.left, rc.top,
           rc.right, rc.bottom, hWnd == GetForegroundWindow() ? " foreground" : "");
  *reinterpret_cast<std::string*>(param) += line;
  return TRUE;
}

}  // namespace

std::string DescribeWindows() {
  std::string text = "visible top-level windows:\n";
  EnumWindows(DescribeOne, reinterpret_cast<LPARAM>(&text));
  // A key or button another step left down changes what every later click and key does.
  static const std::pair<int, const char*> kHeld[] = {
      {VK_SHIFT, "Shift"}, {VK_CONTROL, "Ctrl"},        {VK_MENU, "Alt"},
      {VK_LWIN, "Win"},    {VK_LBUTTON, "left button"}, {VK_RBUTTON, "right button"}};
  std::string held;
  for (const auto& [vk, name] : kHeld)
    if (GetAsyncKeyState(vk) & 0x8000) held += std::string(held.empty() ? "" : ", ") + name;
  text += "held down: " + (held.empty() ? std::string("nothing") : held) + "\n";
  return text;
}

HWND FindWindowOf(DWORD processId, const std::wstring& title) {
  for (HWND hWnd = FindWindowExW(nullptr, nullptr, nullptr, title.c_str()); hWnd;
       hWnd = FindWindowExW(nullptr, hWnd, nullptr, title.c_str())) {
    DWORD pid = 0;
    GetWindowThreadProcessId(hWnd, &pid);
    if (pid == processId && IsWindowVisible(hWnd)) return hWnd;
  }
  return nullptr;
}

Screen CaptureScreen() {
  return CaptureArea(RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)});
}

namespace {

// The script driver reads the screen from a thread of its own while a test reads it too; GDI
// work on the screen's DC goes one at a time.
std::mutex& ScreenLock() {
  static std::mutex lock;
  return lock;
}

}  // namespace

Screen CaptureArea(RECT area) {
  std::lock_guard<std::mutex> hold(ScreenLock());
  Screen screen;
  screen.width = area.right - area.left;
  screen.height = area.bottom - area.top;
  if (screen.width <= 0 || screen.height <= 0) return Screen{};
  HDC desktop = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(desktop);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = screen.width;
  info.bmiHeader.biHeight = -screen.height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(desktop, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bitmap && bits) {
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, screen.width, screen.height, desktop, area.left, area.top, SRCCOPY);
    GdiFlush();
    auto* pixels = static_cast<const DWORD*>(bits);
    screen.pixels.assign(pixels, pixels + static_cast<size_t>(screen.width) * screen.height);
    SelectObject(memory, old);
    DeleteObject(bitmap);
  }
  DeleteDC(memory);
  ReleaseDC(nullptr, desktop);
  // A capture that failed is no picture, not one of the size asked for without its pixels.
  return screen.pixels.empty() ? Screen{} : screen;
}

Screen DrawIcon(HICON icon, int width, int height, DWORD background) {
  std::lock_guard<std::mutex> hold(ScreenLock());
  Screen picture;
  int cx = GetSystemMetrics(SM_CXSMICON), cy = GetSystemMetrics(SM_CYSMICON);
  if (!icon) return picture;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bitmap && bits) {
    HGDIOBJ old = SelectObject(memory, bitmap);
    auto* pixels = static_cast<DWORD*>(bits);
    std::fill(pixels, pixels + width * height, background);
    DrawIconEx(memory, (width - cx) / 2, (height - cy) / 2, icon, cx, cy, 0, nullptr, DI_NORMAL);
    GdiFlush();
    picture.width = width;
    picture.height = height;
    picture.pixels.assign(pixels, pixels + width * height);
    SelectObject(memory, old);
    DeleteObject(bitmap);
  }
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return picture;
}

Screen DrawIconFile(const std::wstring& file, int width, int height, DWORD background) {
  HICON icon = LoadSmallIconFile(file);
  if (!icon) return Screen{};
  Screen picture = DrawIcon(icon, width, height, background);
  DestroyIcon(icon);
  return picture;
}

Screen Crop(const Screen& screen, RECT area) {
  Screen part;
  area.left = std::max<LONG>(area.left, 0);
  area.top = std::max<LONG>(area.top, 0);
  area.right = std::min<LONG>(area.right, screen.width);
  area.bottom = std::min<LONG>(area.bottom, screen.height);
  if (area.right <= area.left || area.bottom <= area.top) return part;
  part.width = area.right - area.left;
  part.height = area.bottom - area.top;
  for (int y = area.top; y < area.bottom; ++y)
    part.pixels.insert(part.pixels.end(), screen.pixels.begin() + y * screen.width + area.left,
                       screen.pixels.begin() + y * screen.width + area.right);
  return part;
}

bool SaveBitmap(const Screen& screen, const std::wstring& path) {
  if (screen.pixels.empty()) return false;
  DWORD imageBytes = static_cast<DWORD>(screen.pixels.size() * sizeof(DWORD));
  BITMAPFILEHEADER file{};
  BITMAPINFOHEADER header{};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof file + sizeof header;
  file.bfSize = file.bfOffBits + imageBytes;
  header.biSize = sizeof header;
  header.biWidth = screen.width;
  header.biHeight = -screen.height;
  header.biPlanes = 1;
  header.biBitCount = 32;
  header.biCompression = BI_RGB;
  HANDLE out =
      CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (out == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  bool ok = WriteFile(out, &file, sizeof file, &written, nullptr) &&
            WriteFile(out, &header, sizeof header, &written, nullptr) &&
            WriteFile(out, screen.pixels.data(), imageBytes, &written, nullptr) && written == imageBytes;
  CloseHandle(out);
  return ok;
}

size_t CountColours(const Screen& screen, size_t enough) {
  std::set<DWORD> colours;
  for (DWORD pixel : screen.pixels) {
    colours.insert(pixel & 0xFFFFFF);
    if (colours.size() >= enough) break;
  }
  return colours.size();
}

int CountDarkPixels(const Screen& screen, RECT area) {
  int dark = 0;
  for (int y = std::max<LONG>(area.top, 0); y < std::min<LONG>(area.bottom, screen.height); ++y)
    for (int x = std::max<LONG>(area.left, 0); x < std::min<LONG>(area.right, screen.width); ++x) {
      DWORD p = screen.At(x, y);
      int sum = (p & 0xFF) + ((p >> 8) & 0xFF) + ((p >> 16) & 0xFF);
      if (sum < 3 * 96) ++dark;
    }
  return dark;
}

}  // namespace wine_test
