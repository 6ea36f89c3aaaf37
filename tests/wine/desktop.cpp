#include "desktop.h"

#include <commctrl.h>

#include <algorithm>
#include <set>

namespace wine_test {

std::vector<std::wstring> ListViewColumns(HWND list) {
  std::vector<std::wstring> titles;
  DWORD pid = 0;
  GetWindowThreadProcessId(list, &pid);
  HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
  if (!process) return titles;
  constexpr int kChars = 128;
  SIZE_T size = sizeof(LVCOLUMNW) + kChars * sizeof(wchar_t);
  auto* remote = static_cast<BYTE*>(VirtualAllocEx(process, nullptr, size, MEM_COMMIT, PAGE_READWRITE));
  if (remote) {
    auto* remoteText = reinterpret_cast<wchar_t*>(remote + sizeof(LVCOLUMNW));
    for (int i = 0;; ++i) {
      LVCOLUMNW column{};
      column.mask = LVCF_TEXT;
      column.pszText = remoteText;
      column.cchTextMax = kChars;
      wchar_t text[kChars] = {};
      if (!WriteProcessMemory(process, remote, &column, sizeof column, nullptr) ||
          !WriteProcessMemory(process, remoteText, text, sizeof text, nullptr))
        break;
      if (!SendMessageW(list, LVM_GETCOLUMNW, i, reinterpret_cast<LPARAM>(remote))) break;
      if (!ReadProcessMemory(process, remoteText, text, sizeof text, nullptr)) break;
      text[kChars - 1] = 0;
      titles.push_back(text);
    }
    VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  }
  CloseHandle(process);
  return titles;
}

HWND TrayWindow() { return FindWindowW(L"Shell_TrayWnd", nullptr); }

RECT TrayIconsArea() {
  RECT area{};
  HWND tray = TrayWindow();
  if (!tray || !IsWindowVisible(tray)) return area;
  GetClientRect(tray, &area);
  MapWindowPoints(tray, nullptr, reinterpret_cast<POINT*>(&area), 2);
  return area;
}

namespace {

void SendMouse(DWORD flags, POINT screen) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = MulDiv(screen.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
  input.mi.dy = MulDiv(screen.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
  input.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE;
  SendInput(1, &input, sizeof input);
}

}  // namespace

void MoveMouse(POINT screen) {
  SendMouse(MOUSEEVENTF_MOVE, screen);
  Sleep(50);
}

void Click(POINT screen, bool right) {
  MoveMouse(screen);
  SendMouse(right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN, screen);
  SendMouse(right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP, screen);
  Sleep(50);
}

void DoubleClick(POINT screen) {
  MoveMouse(screen);
  for (int i = 0; i < 2; ++i) {
    SendMouse(MOUSEEVENTF_LEFTDOWN, screen);
    SendMouse(MOUSEEVENTF_LEFTUP, screen);
  }
  Sleep(50);
}

void PressKey(WORD vk) {
  INPUT inputs[2]{};
  inputs[0].type = inputs[1].type = INPUT_KEYBOARD;
  inputs[0].ki.wVk = inputs[1].ki.wVk = vk;
  inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, inputs, sizeof(INPUT));
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

Screen CaptureScreen() {
  Screen screen;
  screen.width = GetSystemMetrics(SM_CXSCREEN);
  screen.height = GetSystemMetrics(SM_CYSCREEN);
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
    BitBlt(memory, 0, 0, screen.width, screen.height, desktop, 0, 0, SRCCOPY);
    GdiFlush();
    auto* pixels = static_cast<const DWORD*>(bits);
    screen.pixels.assign(pixels, pixels + static_cast<size_t>(screen.width) * screen.height);
    SelectObject(memory, old);
    DeleteObject(bitmap);
  }
  DeleteDC(memory);
  ReleaseDC(nullptr, desktop);
  return screen;
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
