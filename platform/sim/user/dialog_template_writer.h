// Builds standard in-memory dialog templates (DLGTEMPLATE with DWORD-aligned DLGITEMTEMPLATEs),
// for the desktop's own dialogs (message boxes) and for tests. Needs only <windows.h>.
#pragma once

#include <windows.h>

#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace sim::user {

class DialogTemplateWriter {
 public:
  // An item's class: a predefined atom (0x80 Button ... 0x85 ComboBox) or a class name.
  struct ClassRef {
    ClassRef(WORD a) : atom(a) {}                             // NOLINT: implicit on purpose
    ClassRef(std::basic_string_view<WCHAR> n) : name(n) {}    // NOLINT
    ClassRef(const WCHAR* n) : name(n) {}                     // NOLINT
    ClassRef(const std::basic_string<WCHAR>& n) : name(n) {}  // NOLINT
    WORD atom = 0;
    std::basic_string_view<WCHAR> name;
  };
  // An item's title: a string or a resource ordinal (e.g. the icon of an SS_ICON static).
  struct TitleRef {
    TitleRef(std::basic_string_view<WCHAR> t) : text(t) {}    // NOLINT
    TitleRef(const WCHAR* t) : text(t) {}                     // NOLINT
    TitleRef(const std::basic_string<WCHAR>& t) : text(t) {}  // NOLINT
    static TitleRef Ordinal(WORD id) {
      TitleRef r(TEXT(""));
      r.ordinal = id;
      r.is_ordinal = true;
      return r;
    }
    std::basic_string_view<WCHAR> text;
    bool is_ordinal = false;
    WORD ordinal = 0;
  };

  DialogTemplateWriter(DWORD style, DWORD ex_style, short x, short y, short cx, short cy,
                       std::basic_string_view<WCHAR> title, WORD point_size = 8,
                       std::basic_string_view<WCHAR> face = TEXT("MS Shell Dlg")) {
    PutDword(style | (point_size ? DS_SETFONT : 0));
    PutDword(ex_style);
    count_offset_ = bytes_.size();
    PutWord(0);
    PutWord(static_cast<WORD>(x));
    PutWord(static_cast<WORD>(y));
    PutWord(static_cast<WORD>(cx));
    PutWord(static_cast<WORD>(cy));
    PutWord(0);  // no menu
    PutWord(0);  // the standard dialog class
    PutString(title);
    if (point_size) {
      PutWord(point_size);
      PutString(face);
    }
  }

  DialogTemplateWriter& AddItem(ClassRef cls, TitleRef title, WORD id, DWORD style, short x, short y,
                                short cx, short cy, DWORD ex_style = 0) {
    while (bytes_.size() % 4) bytes_.push_back(0);
    PutDword(style);
    PutDword(ex_style);
    PutWord(static_cast<WORD>(x));
    PutWord(static_cast<WORD>(y));
    PutWord(static_cast<WORD>(cx));
    PutWord(static_cast<WORD>(cy));
    PutWord(id);
    if (cls.atom) {
      PutWord(0xFFFF);
      PutWord(cls.atom);
    } else {
      PutString(cls.name);
    }
    if (title.is_ordinal) {
      PutWord(0xFFFF);
      PutWord(title.ordinal);
    } else {
      PutString(title.text);
    }
    PutWord(0);  // no creation data
    ++count_;
    return *this;
  }

  // The finished template; valid while the writer lives and is not changed.
  LPCDLGTEMPLATEW Get() {
    std::memcpy(&bytes_[count_offset_], &count_, sizeof count_);
    storage_.assign((bytes_.size() + 3) / 4, 0);
    std::memcpy(storage_.data(), bytes_.data(), bytes_.size());
    return reinterpret_cast<LPCDLGTEMPLATEW>(storage_.data());
  }

 private:
  void PutWord(WORD w) {
    bytes_.push_back(static_cast<BYTE>(w & 0xFF));
    bytes_.push_back(static_cast<BYTE>(w >> 8));
  }
  void PutDword(DWORD d) {
    PutWord(static_cast<WORD>(d & 0xFFFF));
    PutWord(static_cast<WORD>(d >> 16));
  }
  void PutString(std::basic_string_view<WCHAR> s) {
    for (WCHAR c : s) PutWord(static_cast<WORD>(c));
    PutWord(0);
  }

  std::vector<BYTE> bytes_;
  std::vector<DWORD> storage_;  // DWORD-aligned copy handed out by Get()
  size_t count_offset_ = 0;
  WORD count_ = 0;
};

}  // namespace sim::user
