// Dialog template reading. Fields are read with memcpy: templates built by programs need not be
// aligned beyond WORDs, and items are aligned to DWORDs from the template's start.
#include "user/dialog_template.h"

#include <cstring>

namespace sim::user {

namespace {

class Reader {
 public:
  explicit Reader(const BYTE* base) : base_(base), p_(base) {}

  template <typename T>
  T Read() {
    T v;
    std::memcpy(&v, p_, sizeof v);
    p_ += sizeof v;
    return v;
  }
  std::u16string ReadString() {
    std::u16string s;
    for (WCHAR c = Read<WCHAR>(); c != 0; c = Read<WCHAR>()) s.push_back(c);
    return s;
  }
  // A name field: 0x0000 for none, 0xFFFF followed by an ordinal, or a string.
  TemplateName ReadName() {
    TemplateName n;
    WORD first;
    std::memcpy(&first, p_, sizeof first);
    if (first == 0x0000) {
      p_ += sizeof(WORD);
      return n;
    }
    n.present = true;
    if (first == 0xFFFF) {
      p_ += sizeof(WORD);
      n.is_ordinal = true;
      n.ordinal = Read<WORD>();
      return n;
    }
    n.text = ReadString();
    return n;
  }
  void AlignTo(size_t n) {
    size_t offset = static_cast<size_t>(p_ - base_);
    p_ += (n - offset % n) % n;
  }
  const BYTE* Here() const { return p_; }
  void Skip(size_t n) { p_ += n; }

 private:
  const BYTE* base_;
  const BYTE* p_;
};

void ReadItemTail(Reader& r, TemplateItem& item) {
  item.class_name = r.ReadName();
  item.title = r.ReadName();
  const BYTE* data = r.Here();
  WORD size = r.Read<WORD>();
  if (size) {
    item.creation_data = data;
    r.Skip(size);
  }
}

}  // namespace

DialogTemplate ParseDialogTemplate(const void* data) {
  DialogTemplate t;
  Reader r(static_cast<const BYTE*>(data));
  WORD version = r.Read<WORD>();
  WORD signature = r.Read<WORD>();
  WORD count = 0;
  if (version == 1 && signature == 0xFFFF) {
    t.extended = true;
    r.Read<DWORD>();  // help id
    t.ex_style = r.Read<DWORD>();
    t.style = r.Read<DWORD>();
  } else {
    t.style = static_cast<DWORD>(version) | (static_cast<DWORD>(signature) << 16);
    t.ex_style = r.Read<DWORD>();
  }
  count = r.Read<WORD>();
  t.x = r.Read<short>();
  t.y = r.Read<short>();
  t.cx = r.Read<short>();
  t.cy = r.Read<short>();
  t.menu = r.ReadName();
  t.class_name = r.ReadName();
  t.title = r.ReadString();
  if (t.style & DS_SETFONT) {
    t.has_font = true;
    t.point_size = r.Read<WORD>();
    if (t.extended) {
      r.Read<WORD>();  // weight
      r.Read<BYTE>();  // italic
      r.Read<BYTE>();  // character set
    }
    t.face = r.ReadString();
  }
  for (WORD i = 0; i < count; ++i) {
    r.AlignTo(sizeof(DWORD));
    TemplateItem item;
    if (t.extended) {
      r.Read<DWORD>();  // help id
      item.ex_style = r.Read<DWORD>();
      item.style = r.Read<DWORD>();
    } else {
      item.style = r.Read<DWORD>();
      item.ex_style = r.Read<DWORD>();
    }
    item.x = r.Read<short>();
    item.y = r.Read<short>();
    item.cx = r.Read<short>();
    item.cy = r.Read<short>();
    item.id = t.extended ? r.Read<DWORD>() : r.Read<WORD>();
    ReadItemTail(r, item);
    t.items.push_back(std::move(item));
  }
  return t;
}

std::u16string PredefinedClassName(WORD atom) {
  switch (atom) {
    case 0x0080:
      return u"Button";
    case 0x0081:
      return u"Edit";
    case 0x0082:
      return u"Static";
    case 0x0083:
      return u"ListBox";
    case 0x0084:
      return u"ScrollBar";
    case 0x0085:
      return u"ComboBox";
    default:
      return {};
  }
}

}  // namespace sim::user
