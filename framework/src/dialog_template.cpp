// Builds the standard in-memory dialog template from a dialog's description.
#include <framework/resources.h>

#include <string>

namespace {

constexpr DWORD kStaticTypeMask = 0x1F;  // the SS_ type bits of a Static's style

struct PredefinedClass {
  LPCWSTR name;  // lower case
  WORD atom;
};

// The classes a template names by atom, and their atoms.
constexpr PredefinedClass kPredefined[] = {
    {TEXT("button"), 0x0080},  {TEXT("edit"), 0x0081},      {TEXT("static"), 0x0082},
    {TEXT("listbox"), 0x0083}, {TEXT("scrollbar"), 0x0084}, {TEXT("combobox"), 0x0085},
};

bool EqualsIgnoringAsciiCase(LPCWSTR text, LPCWSTR lower) {
  size_t i = 0;
  for (; text[i] && lower[i]; ++i) {
    WCHAR c = text[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<WCHAR>(c - 'A' + 'a');
    if (c != lower[i]) return false;
  }
  return text[i] == lower[i];
}

WORD PredefinedAtom(LPCWSTR className) {
  if (!className) return 0;
  for (const PredefinedClass& c : kPredefined) {
    if (EqualsIgnoringAsciiCase(className, c.name)) return c.atom;
  }
  return 0;
}

class TemplateWriter {
 public:
  std::vector<BYTE> bytes;

  void Word(WORD w) { Raw(&w, sizeof w); }
  void Raw(const void* data, size_t size) {
    const BYTE* p = static_cast<const BYTE*>(data);
    bytes.insert(bytes.end(), p, p + size);
  }
  // A zero-terminated string (a null pointer writes the empty string, 0x0000).
  void String(LPCWSTR text) {
    if (text) Raw(text, sizeof(WCHAR) * std::char_traits<WCHAR>::length(text));
    Word(0);
  }
  void Ordinal(WORD id) {
    Word(0xFFFF);
    Word(id);
  }
  void AlignToDword() { bytes.resize((bytes.size() + 3) & ~size_t{3}, 0); }
};

void WriteItem(TemplateWriter& out, const CDialogItem& item) {
  out.AlignToDword();
  DLGITEMTEMPLATE header{};
  header.style = item.style | WS_CHILD;
  header.dwExtendedStyle = item.exStyle;
  header.x = item.x;
  header.y = item.y;
  header.cx = item.cx;
  header.cy = item.cy;
  header.id = static_cast<WORD>(item.id);
  out.Raw(&header, sizeof header);

  if (WORD atom = PredefinedAtom(item.className)) {
    out.Ordinal(atom);
  } else {
    out.String(item.className);
  }
  bool iconStatic = PredefinedAtom(item.className) == 0x0082 && (item.style & kStaticTypeMask) == SS_ICON;
  if (iconStatic && item.iconId != 0) {
    out.Ordinal(item.iconId);
  } else {
    out.String(item.text);
  }
  out.Word(0);  // no creation data
}

}  // namespace

std::vector<BYTE> AfxBuildDialogTemplate(const CDialogResource& dialog) {
  TemplateWriter out;
  WORD count = 0;
  for (const CDialogItem& item : dialog.items) count += AfxIsActiveXItem(item) ? 0 : 1;

  DLGTEMPLATE header{};
  header.style =
      dialog.fontFace ? (dialog.style | DS_SETFONT) : (dialog.style & ~static_cast<DWORD>(DS_SETFONT));
  header.dwExtendedStyle = dialog.exStyle;
  header.cdit = count;
  header.x = dialog.x;
  header.y = dialog.y;
  header.cx = dialog.cx;
  header.cy = dialog.cy;
  out.Raw(&header, sizeof header);
  out.Word(0);  // no menu
  out.Word(0);  // the default dialog class
  out.String(dialog.caption);
  if (dialog.fontFace) {
    out.Word(dialog.pointSize);
    out.String(dialog.fontFace);
  }
  for (const CDialogItem& item : dialog.items) {
    if (!AfxIsActiveXItem(item)) WriteItem(out, item);
  }
  return std::move(out.bytes);
}
