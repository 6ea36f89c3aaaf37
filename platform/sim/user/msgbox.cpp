// MessageBoxW: a modal "#32770" dialog built from a template, owned by hWnd, with the text in a
// static and one push button per answer; the first button (or MB_DEFBUTTONn) is the default.
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include <sim/desktop.h>

#include "user/dialog_template_writer.h"

namespace {

constexpr WORD kTextId = 0xFFFF;
constexpr short kMargin = 7;
constexpr short kButtonWidth = 50;
constexpr short kButtonHeight = 14;
constexpr short kButtonGap = 4;
constexpr short kLineHeight = 8;
constexpr short kCharWidth = 4;  // an average character is four horizontal dialog units

struct MessageBoxButton {
  int id;
  const char16_t* text;
};

std::vector<MessageBoxButton> ButtonsFor(UINT type) {
  switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL:
      return {{IDOK, u"OK"}, {IDCANCEL, u"Cancel"}};
    case MB_ABORTRETRYIGNORE:
      return {{IDABORT, u"&Abort"}, {IDRETRY, u"&Retry"}, {IDIGNORE, u"&Ignore"}};
    case MB_YESNOCANCEL:
      return {{IDYES, u"&Yes"}, {IDNO, u"&No"}, {IDCANCEL, u"Cancel"}};
    case MB_YESNO:
      return {{IDYES, u"&Yes"}, {IDNO, u"&No"}};
    case MB_RETRYCANCEL:
      return {{IDRETRY, u"&Retry"}, {IDCANCEL, u"Cancel"}};
    default:
      return {{IDOK, u"OK"}};
  }
}

struct MessageBoxState {
  std::vector<MessageBoxButton> buttons;
  int default_index = 0;
};

bool HasButton(const MessageBoxState& s, int id) {
  return std::any_of(s.buttons.begin(), s.buttons.end(),
                     [&](const MessageBoxButton& b) { return b.id == id; });
}

// Escape and the close box give IDCANCEL only when there is a Cancel button; a box with just OK
// answers IDOK, and any other box stays open.
INT_PTR CALLBACK MessageBoxProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_INITDIALOG: {
      SetWindowLongPtrW(dlg, DWLP_USER, lp);
      auto* state = reinterpret_cast<MessageBoxState*>(lp);
      SetFocus(GetDlgItem(dlg, state->buttons[static_cast<size_t>(state->default_index)].id));
      return FALSE;
    }
    case WM_COMMAND: {
      auto* state = reinterpret_cast<MessageBoxState*>(GetWindowLongPtrW(dlg, DWLP_USER));
      if (!state || HIWORD(wp) != BN_CLICKED) return FALSE;
      int id = LOWORD(wp);
      if (id == IDCANCEL && !HasButton(*state, IDCANCEL)) {
        if (state->buttons.size() == 1 && state->buttons[0].id == IDOK) EndDialog(dlg, IDOK);
        return TRUE;
      }
      if (HasButton(*state, id)) EndDialog(dlg, id);
      return TRUE;
    }
    default:
      return FALSE;
  }
}

std::vector<std::u16string> Lines(const std::u16string& text) {
  std::vector<std::u16string> lines(1);
  for (char16_t c : text) {
    if (c == u'\n') {
      lines.emplace_back();
    } else if (c != u'\r') {
      lines.back().push_back(c);
    }
  }
  return lines;
}

}  // namespace

int WINAPI MessageBoxW(HWND hWnd, LPCWSTR lpText, LPCWSTR lpCaption, UINT uType) {
  std::u16string text = lpText ? lpText : u"";
  MessageBoxState state;
  state.buttons = ButtonsFor(uType);
  int count = static_cast<int>(state.buttons.size());
  state.default_index = std::min(static_cast<int>((uType & MB_DEFMASK) >> 8), count - 1);

  std::vector<std::u16string> lines = Lines(text);
  size_t longest = 0;
  for (auto& l : lines) longest = std::max(longest, l.size());
  short text_cx = static_cast<short>(std::min<size_t>(longest * kCharWidth, 600));
  short text_cy = static_cast<short>(std::min<size_t>(lines.size() * kLineHeight, 400));
  short buttons_cx = static_cast<short>(count * kButtonWidth + (count - 1) * kButtonGap);
  short cx = static_cast<short>(std::max<short>(std::max(text_cx, buttons_cx), 100) + 2 * kMargin);
  short cy = static_cast<short>(kMargin + text_cy + kMargin + kButtonHeight + kMargin);

  sim::user::DialogTemplateWriter writer(DS_MODALFRAME | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU, 0, 0,
                                         0, cx, cy, lpCaption ? lpCaption : u"Error");
  writer.AddItem(0x0082, text, kTextId, WS_CHILD | WS_VISIBLE | SS_LEFT, kMargin, kMargin, text_cx, text_cy);
  short x = static_cast<short>((cx - buttons_cx) / 2);
  for (int i = 0; i < count; ++i) {
    DWORD style =
        WS_CHILD | WS_VISIBLE | WS_TABSTOP | (i == state.default_index ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
    if (i == 0) style |= WS_GROUP;
    writer.AddItem(0x0080, state.buttons[static_cast<size_t>(i)].text,
                   static_cast<WORD>(state.buttons[static_cast<size_t>(i)].id), style, x,
                   static_cast<short>(cy - kMargin - kButtonHeight), kButtonWidth, kButtonHeight);
    x = static_cast<short>(x + kButtonWidth + kButtonGap);
  }
  std::u16string caption = lpCaption ? lpCaption : u"Error";
  sim::Desktop::Current().Notify([&](sim::Observer& o) { o.OnMessageBoxOpened(hWnd, caption, text); });
  INT_PTR result = DialogBoxIndirectParamW(GetModuleHandleW(nullptr), writer.Get(), hWnd, MessageBoxProc,
                                           reinterpret_cast<LPARAM>(&state));
  return result > 0 ? static_cast<int>(result) : 0;
}
