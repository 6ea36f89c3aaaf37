#include "world/messenger/dialog_template.h"

namespace world::messenger {

namespace {

void PutDword(std::vector<WORD>& out, DWORD v) {
  out.push_back(LOWORD(v));
  out.push_back(HIWORD(v));
}

void PutShort(std::vector<WORD>& out, short v) { out.push_back(static_cast<WORD>(v)); }

void PutString(std::vector<WORD>& out, const Text& s) {
  for (WCHAR c : s) out.push_back(static_cast<WORD>(c));
  out.push_back(0);
}

// Item templates start on DWORD boundaries.
void AlignToDword(std::vector<WORD>& out) {
  if (out.size() % 2) out.push_back(0);
}

}  // namespace

std::vector<WORD> BuildDialogTemplate(const Text& title, DWORD style, short cx, short cy,
                                      const std::vector<DialogItem>& items) {
  std::vector<WORD> out;
  PutDword(out, style & ~static_cast<DWORD>(DS_SETFONT));
  PutDword(out, 0);  // extended style
  out.push_back(static_cast<WORD>(items.size()));
  PutShort(out, 0);
  PutShort(out, 0);
  PutShort(out, cx);
  PutShort(out, cy);
  out.push_back(0);  // no menu
  out.push_back(0);  // the dialog class
  PutString(out, title);
  for (const DialogItem& item : items) {
    AlignToDword(out);
    PutDword(out, item.style | WS_CHILD | WS_VISIBLE);
    PutDword(out, 0);
    PutShort(out, item.x);
    PutShort(out, item.y);
    PutShort(out, item.cx);
    PutShort(out, item.cy);
    out.push_back(item.id);
    PutString(out, item.class_name);
    PutString(out, item.text);
    out.push_back(0);  // no creation data
  }
  return out;
}

}  // namespace world::messenger
