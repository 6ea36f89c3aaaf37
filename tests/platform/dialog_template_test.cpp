// Reading in-memory dialog templates: the standard form with DWORD-aligned items, and the
// extended form.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "dialog_test_support.h"
#include "platform/sim/user/dialog_template.h"

namespace {

using dialog_test::TemplateWriter;
using sim::user::ParseDialogTemplate;

TEST(DialogTemplateTest, StandardTemplateGivesHeaderFontAndItemsInOrder) {
  TemplateWriter t(WS_POPUP | WS_CAPTION, WS_EX_TOOLWINDOW, 1, 2, 150, 90, u"Options", 9, u"Tahoma");
  t.AddItem(0x0080, u"OK", IDOK, WS_CHILD | BS_DEFPUSHBUTTON, 5, 6, 50, 14);
  t.AddItem(u"SysListView32", u"", 1003, WS_CHILD, 7, 8, 100, 60, WS_EX_CLIENTEDGE);
  t.AddItem(0x0082, TemplateWriter::TitleRef::Ordinal(128), 20, WS_CHILD | SS_ICON, 1, 1, 20, 20);
  sim::user::DialogTemplate parsed = ParseDialogTemplate(t.Get());

  EXPECT_FALSE(parsed.extended);
  EXPECT_EQ(parsed.style, static_cast<DWORD>(WS_POPUP | WS_CAPTION | DS_SETFONT));
  EXPECT_EQ(parsed.ex_style, static_cast<DWORD>(WS_EX_TOOLWINDOW));
  EXPECT_EQ(parsed.cx, 150);
  EXPECT_EQ(parsed.cy, 90);
  EXPECT_EQ(parsed.title, u"Options");
  EXPECT_TRUE(parsed.has_font);
  EXPECT_EQ(parsed.point_size, 9);
  EXPECT_EQ(parsed.face, u"Tahoma");
  ASSERT_EQ(parsed.items.size(), 3u);
  EXPECT_TRUE(parsed.items[0].class_name.is_ordinal);
  EXPECT_EQ(parsed.items[0].class_name.ordinal, 0x0080);
  EXPECT_EQ(parsed.items[0].title.text, u"OK");
  EXPECT_EQ(parsed.items[0].id, static_cast<DWORD>(IDOK));
  EXPECT_EQ(parsed.items[1].class_name.text, u"SysListView32");
  EXPECT_EQ(parsed.items[1].ex_style, static_cast<DWORD>(WS_EX_CLIENTEDGE));
  EXPECT_EQ(parsed.items[1].x, 7);
  EXPECT_EQ(parsed.items[1].cy, 60);
  EXPECT_TRUE(parsed.items[2].title.is_ordinal);
  EXPECT_EQ(parsed.items[2].title.ordinal, 128);
}

TEST(DialogTemplateTest, ItemsFollowTitlesOfOddLengthOnDwordBoundaries) {
  // Titles of one and two characters leave the item ends at different WORD offsets.
  TemplateWriter t(WS_POPUP, 0, 0, 0, 10, 10, u"T", 0);
  t.AddItem(0x0082, u"a", 1, WS_CHILD, 0, 0, 1, 1);
  t.AddItem(0x0082, u"bc", 2, WS_CHILD, 0, 0, 1, 1);
  t.AddItem(0x0082, u"def", 3, WS_CHILD, 0, 0, 1, 1);
  sim::user::DialogTemplate parsed = ParseDialogTemplate(t.Get());
  EXPECT_FALSE(parsed.has_font);
  ASSERT_EQ(parsed.items.size(), 3u);
  EXPECT_EQ(parsed.items[0].title.text, u"a");
  EXPECT_EQ(parsed.items[1].title.text, u"bc");
  EXPECT_EQ(parsed.items[2].title.text, u"def");
  EXPECT_EQ(parsed.items[2].id, 3u);
}

// Builds DLGTEMPLATEEX bytes by hand: the extended header, a font with weight, italic and
// charset, and one item with a DWORD id and creation data.
std::vector<BYTE> ExtendedTemplateBytes() {
  std::vector<BYTE> b;
  auto word = [&](WORD w) {
    b.push_back(static_cast<BYTE>(w));
    b.push_back(static_cast<BYTE>(w >> 8));
  };
  auto dword = [&](DWORD d) {
    word(static_cast<WORD>(d));
    word(static_cast<WORD>(d >> 16));
  };
  auto str = [&](const char16_t* s) {
    for (; *s; ++s) word(*s);
    word(0);
  };
  word(1);
  word(0xFFFF);
  dword(0);  // help id
  dword(WS_EX_APPWINDOW);
  dword(WS_POPUP | DS_SETFONT);
  word(1);
  word(3);
  word(4);
  word(100);
  word(50);
  word(0);  // menu
  word(0);  // class
  str(u"Ex");
  word(8);
  word(400);
  b.push_back(0);
  b.push_back(1);
  str(u"MS Shell Dlg");
  while (b.size() % 4) b.push_back(0);
  dword(0);  // help id
  dword(0);
  dword(WS_CHILD | WS_VISIBLE);
  word(1);
  word(2);
  word(30);
  word(10);
  dword(70000);
  word(0xFFFF);
  word(0x0081);
  str(u"text");
  word(2);  // creation data: its size in bytes after the size word, then the data
  word(0xABCD);
  return b;
}

TEST(DialogTemplateTest, ExtendedTemplateIsRecognisedBySignature) {
  std::vector<BYTE> bytes = ExtendedTemplateBytes();
  std::vector<DWORD> aligned((bytes.size() + 3) / 4);
  std::memcpy(aligned.data(), bytes.data(), bytes.size());
  sim::user::DialogTemplate parsed = ParseDialogTemplate(aligned.data());
  EXPECT_TRUE(parsed.extended);
  EXPECT_EQ(parsed.style, static_cast<DWORD>(WS_POPUP | DS_SETFONT));
  EXPECT_EQ(parsed.ex_style, static_cast<DWORD>(WS_EX_APPWINDOW));
  EXPECT_EQ(parsed.title, u"Ex");
  EXPECT_EQ(parsed.face, u"MS Shell Dlg");
  ASSERT_EQ(parsed.items.size(), 1u);
  EXPECT_EQ(parsed.items[0].id, 70000u);
  EXPECT_EQ(parsed.items[0].class_name.ordinal, 0x0081);
  EXPECT_EQ(parsed.items[0].title.text, u"text");
  ASSERT_NE(parsed.items[0].creation_data, nullptr);
  WORD size;
  std::memcpy(&size, parsed.items[0].creation_data, sizeof size);
  EXPECT_EQ(size, 2);
}

}  // namespace
