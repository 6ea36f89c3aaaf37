// Resources described in C++: the dialog template bytes (parsed back here), menus and strings.
#include <gtest/gtest.h>
#include <windows.h>

#include <sim/desktop.h>

#include <framework/cstring.h>
#include <framework/resources.h>

#include <cstring>
#include <string>
#include <variant>

namespace {

// Reads a template back the way a dialog manager does.
class TemplateReader {
 public:
  explicit TemplateReader(const std::vector<BYTE>& bytes) : bytes_(bytes) {}

  template <typename T>
  T Read() {
    T value{};
    EXPECT_LE(pos_ + sizeof(T), bytes_.size());
    if (pos_ + sizeof(T) <= bytes_.size()) std::memcpy(&value, bytes_.data() + pos_, sizeof(T));
    pos_ += sizeof(T);
    return value;
  }
  // A string, or an ordinal (0xFFFF followed by the value) returned as its number.
  std::variant<std::u16string, WORD> NameOrOrdinal() {
    WORD first = Read<WORD>();
    if (first == 0xFFFF) return Read<WORD>();
    std::u16string text;
    for (WORD c = first; c != 0; c = Read<WORD>()) text += static_cast<char16_t>(c);
    return text;
  }
  std::u16string String() { return std::get<std::u16string>(NameOrOrdinal()); }
  void AlignToDword() { pos_ = (pos_ + 3) & ~size_t{3}; }
  size_t pos() const { return pos_; }

 private:
  const std::vector<BYTE>& bytes_;
  size_t pos_ = 0;
};

CDialogResource SampleDialog() {
  CDialogResource d;
  d.id = 102;
  d.caption = u"Tellbud";
  d.x = 5;
  d.y = 6;
  d.cx = 200;
  d.cy = 120;
  d.style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
  d.exStyle = WS_EX_APPWINDOW;
  d.fontFace = u"MS Shell Dlg";
  d.pointSize = 8;
  d.items = {
      {u"Button", u"OK", IDOK, 10, 100, 50, 14, WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 0},
      {u"{11111111-2222-3333-4444-555555555555}", nullptr, 1001, 0, 0, 10, 10, WS_VISIBLE, 0, 0},
      {u"SysListView32", u"", 1003, 7, 7, 186, 80, WS_VISIBLE | WS_BORDER, WS_EX_CLIENTEDGE, 0},
      {u"Static", nullptr, 1010, 1, 1, 20, 20, WS_VISIBLE | SS_ICON, 0, 128},
      {u"COMBOBOX", u"", 1000, 70, 100, 60, 80, WS_VISIBLE | CBS_DROPDOWNLIST, 0, 0},
      {u"Edit", u"abc", 1004, 70, 20, 60, 12, WS_VISIBLE | ES_AUTOHSCROLL, 0, 0},
  };
  return d;
}

struct ParsedItem {
  DLGITEMTEMPLATE header;
  size_t offset;
  std::variant<std::u16string, WORD> cls;
  std::variant<std::u16string, WORD> title;
  WORD extra;
};

TEST(DialogTemplateTest, HeaderCarriesStylesSizeCaptionAndFont) {
  std::vector<BYTE> bytes = AfxBuildDialogTemplate(SampleDialog());
  TemplateReader r(bytes);
  auto header = r.Read<DLGTEMPLATE>();
  EXPECT_EQ(header.style, static_cast<DWORD>(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_SETFONT));
  EXPECT_EQ(header.dwExtendedStyle, static_cast<DWORD>(WS_EX_APPWINDOW));
  EXPECT_EQ(header.cdit, 5);  // the ActiveX item is left to the control host
  EXPECT_EQ(header.x, 5);
  EXPECT_EQ(header.y, 6);
  EXPECT_EQ(header.cx, 200);
  EXPECT_EQ(header.cy, 120);
  EXPECT_EQ(r.Read<WORD>(), 0);  // no menu
  EXPECT_EQ(r.Read<WORD>(), 0);  // default class
  EXPECT_EQ(r.String(), u"Tellbud");
  EXPECT_EQ(r.Read<WORD>(), 8);
  EXPECT_EQ(r.String(), u"MS Shell Dlg");
}

TEST(DialogTemplateTest, ItemsAreDwordAlignedWithAtomsForPredefinedClasses) {
  std::vector<BYTE> bytes = AfxBuildDialogTemplate(SampleDialog());
  TemplateReader r(bytes);
  auto header = r.Read<DLGTEMPLATE>();
  r.Read<WORD>();
  r.Read<WORD>();
  r.String();
  r.Read<WORD>();
  r.String();
  std::vector<ParsedItem> items;
  for (int i = 0; i < header.cdit; ++i) {
    r.AlignToDword();
    ParsedItem item{};
    item.offset = r.pos();
    item.header = r.Read<DLGITEMTEMPLATE>();
    item.cls = r.NameOrOrdinal();
    item.title = r.NameOrOrdinal();
    item.extra = r.Read<WORD>();
    items.push_back(item);
  }
  EXPECT_EQ(r.pos(), bytes.size());
  ASSERT_EQ(items.size(), 5u);
  for (const ParsedItem& item : items) {
    EXPECT_EQ(item.offset % 4, 0u);
    EXPECT_TRUE(item.header.style & WS_CHILD);
    EXPECT_EQ(item.extra, 0);
  }
  EXPECT_EQ(std::get<WORD>(items[0].cls), 0x0080);
  EXPECT_EQ(std::get<std::u16string>(items[0].title), u"OK");
  EXPECT_EQ(items[0].header.id, IDOK);
  EXPECT_EQ(items[0].header.x, 10);
  EXPECT_EQ(items[0].header.cy, 14);
  EXPECT_EQ(std::get<std::u16string>(items[1].cls), u"SysListView32");
  EXPECT_EQ(items[1].header.dwExtendedStyle, static_cast<DWORD>(WS_EX_CLIENTEDGE));
  EXPECT_EQ(std::get<WORD>(items[2].cls), 0x0082);
  EXPECT_EQ(std::get<WORD>(items[2].title), 128);   // the icon, by resource id
  EXPECT_EQ(std::get<WORD>(items[3].cls), 0x0085);  // class names match ignoring case
  EXPECT_EQ(std::get<WORD>(items[4].cls), 0x0081);
  EXPECT_EQ(std::get<std::u16string>(items[4].title), u"abc");
}

TEST(DialogTemplateTest, WithoutAFontFaceTheTemplateHasNoFont) {
  CDialogResource d;
  d.caption = nullptr;
  d.style = WS_POPUP | DS_SETFONT;
  std::vector<BYTE> bytes = AfxBuildDialogTemplate(d);
  TemplateReader r(bytes);
  auto header = r.Read<DLGTEMPLATE>();
  EXPECT_FALSE(header.style & DS_SETFONT);
  EXPECT_EQ(header.cdit, 0);
  r.Read<WORD>();
  r.Read<WORD>();
  EXPECT_EQ(r.String(), u"");
  EXPECT_EQ(r.pos(), bytes.size());
}

TEST(DialogTemplateTest, ActiveXItemsAreRecognisedByTheirClassId) {
  CDialogItem control{u"{ABC}", nullptr, 1, 0, 0, 10, 10};
  CDialogItem button{u"Button", nullptr, 2, 0, 0, 10, 10};
  CDialogItem unnamed;
  EXPECT_TRUE(AfxIsActiveXItem(control));
  EXPECT_FALSE(AfxIsActiveXItem(button));
  EXPECT_FALSE(AfxIsActiveXItem(unnamed));
}

class ResourceTableTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CResourceTable table;
    table.dialogs = {SampleDialog()};
    table.strings = {{101, u"About Tellbud..."}, {102, u"Tellbud"}};
    table.menus = {{134,
                    {{u"Tray",
                      0,
                      MF_STRING,
                      {{u"&Options...", 32778, MF_STRING},
                       CMenuItemResource::Separator(),
                       {u"Start with Windows", 32776, MF_STRING | MF_CHECKED},
                       {u"Language", 0, MF_STRING, {{u"English", 40001, MF_STRING}}},
                       {u"E&xit", 32771, MF_STRING}}}}}};
    AfxSetResourceTable(table);
  }
  void TearDown() override { AfxSetResourceTable(CResourceTable{}); }

  sim::Desktop desktop;
};

TEST_F(ResourceTableTest, LookupsFindRegisteredResourcesOnly) {
  ASSERT_NE(AfxFindDialogResource(102), nullptr);
  EXPECT_EQ(std::u16string(AfxFindDialogResource(102)->caption), u"Tellbud");
  EXPECT_EQ(AfxFindDialogResource(103), nullptr);
  EXPECT_EQ(std::u16string(AfxLoadString(101).GetString()), u"About Tellbud...");
  EXPECT_TRUE(AfxLoadString(7).IsEmpty());
}

TEST_F(ResourceTableTest, LoadMenuBuildsPopupsSeparatorsAndStates) {
  HMENU menu = AfxLoadMenu(134);
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(GetMenuItemCount(menu), 1);
  HMENU tray = GetSubMenu(menu, 0);
  ASSERT_NE(tray, nullptr);
  EXPECT_EQ(GetMenuItemCount(tray), 5);
  EXPECT_EQ(GetMenuItemID(tray, 0), 32778u);
  WCHAR text[64] = {};
  GetMenuStringW(tray, 32771, text, 64, MF_BYCOMMAND);
  EXPECT_EQ(std::u16string(text), u"E&xit");
  EXPECT_TRUE(GetMenuState(tray, 1, MF_BYPOSITION) & MF_SEPARATOR);
  EXPECT_TRUE(GetMenuState(tray, 32776, MF_BYCOMMAND) & MF_CHECKED);
  HMENU language = GetSubMenu(tray, 3);
  ASSERT_NE(language, nullptr);
  EXPECT_EQ(GetMenuItemID(language, 0), 40001u);
  EXPECT_TRUE(DestroyMenu(menu));
  EXPECT_FALSE(IsMenu(tray));
}

TEST_F(ResourceTableTest, LoadingAMissingMenuFailsWithResourceNotFound) {
  SetLastError(0);
  EXPECT_EQ(AfxLoadMenu(999), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND));
}

}  // namespace
