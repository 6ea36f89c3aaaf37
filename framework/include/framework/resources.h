// The program's resources, described once in plain C++ for every build: dialog templates, menus
// and the string table. The program fills a CResourceTable (res/) and registers it with
// AfxSetResourceTable first thing; the framework builds dialogs, menus and strings from it.
// Icons are not described here: they are the module's icon resources, loaded with
// LoadIconW(AfxGetInstanceHandle(), MAKEINTRESOURCEW(id)).
//
// Texts are LPCWSTR and must outlive the table (string literals written with TEXT()).
#pragma once

#include <windows.h>

#include <utility>
#include <vector>

class CString;

// One control of a dialog template. Positions and sizes are in dialog units.
struct CDialogItem {
  CDialogItem() = default;
  CDialogItem(LPCWSTR className, LPCWSTR text, UINT id, short x, short y, short cx, short cy, DWORD style = 0,
              DWORD exStyle = 0, WORD iconId = 0)
      : className(className),
        text(text),
        id(id),
        x(x),
        y(y),
        cx(cx),
        cy(cy),
        style(style),
        exStyle(exStyle),
        iconId(iconId) {}

  // A predefined class ("Button", "Edit", "Static", "ListBox", "ScrollBar", "ComboBox"), any
  // other window class name ("SysListView32", "msctls_trackbar32"), or a class id "{...}" for
  // an ActiveX control, which the control host creates instead of the dialog manager.
  LPCWSTR className = nullptr;
  LPCWSTR text = nullptr;
  UINT id = 0;
  short x = 0;
  short y = 0;
  short cx = 0;
  short cy = 0;
  // The control's style; WS_CHILD is always added. Write WS_VISIBLE for visible controls.
  DWORD style = 0;
  DWORD exStyle = 0;
  // For a Static with SS_ICON: the icon resource it shows (the template then names the icon
  // by ordinal instead of text).
  WORD iconId = 0;
};

struct CDialogResource {
  CDialogResource() = default;
  CDialogResource(UINT id, LPCWSTR caption, short x, short y, short cx, short cy, DWORD style,
                  DWORD exStyle = 0, LPCWSTR fontFace = nullptr, WORD pointSize = 8,
                  std::vector<CDialogItem> items = {})
      : id(id),
        caption(caption),
        x(x),
        y(y),
        cx(cx),
        cy(cy),
        style(style),
        exStyle(exStyle),
        fontFace(fontFace),
        pointSize(pointSize),
        items(std::move(items)) {}

  UINT id = 0;
  LPCWSTR caption = nullptr;
  short x = 0;
  short y = 0;
  short cx = 0;
  short cy = 0;
  DWORD style = 0;
  DWORD exStyle = 0;
  // With a face name the template gets DS_SETFONT and the font; without one it gets neither.
  LPCWSTR fontFace = nullptr;
  WORD pointSize = 8;
  std::vector<CDialogItem> items;
};

// A menu item: a command (text and id), a separator (flags MF_SEPARATOR), or a pop-up (non-empty
// popup list). flags may add MF_CHECKED, MF_GRAYED, MF_DEFAULT...
struct CMenuItemResource {
  CMenuItemResource() = default;
  CMenuItemResource(LPCWSTR text, UINT id, UINT flags = MF_STRING, std::vector<CMenuItemResource> popup = {})
      : text(text), id(id), flags(flags), popup(std::move(popup)) {}
  static CMenuItemResource Separator() { return CMenuItemResource(nullptr, 0, MF_SEPARATOR); }

  LPCWSTR text = nullptr;
  UINT id = 0;
  UINT flags = MF_STRING;
  std::vector<CMenuItemResource> popup;
};

struct CMenuResource {
  UINT id = 0;
  std::vector<CMenuItemResource> items;
};

struct CStringResource {
  UINT id = 0;
  LPCWSTR text = nullptr;
};

struct CResourceTable {
  std::vector<CDialogResource> dialogs;
  std::vector<CMenuResource> menus;
  std::vector<CStringResource> strings;
};

// Registers the program's resources (a copy is kept). Calling it again replaces them.
void AfxSetResourceTable(const CResourceTable& table);
const CResourceTable& AfxGetResourceTable();

const CDialogResource* AfxFindDialogResource(UINT nID);
const CMenuResource* AfxFindMenuResource(UINT nID);
const CStringResource* AfxFindStringResource(UINT nID);

// True for an item the control host creates (its class is a "{...}" class id).
bool AfxIsActiveXItem(const CDialogItem& item);

// The in-memory DLGTEMPLATE for a dialog: the standard format, every item DWORD-aligned, the
// predefined classes as 0xFFFF plus their atom. ActiveX items are left out. The vector's storage
// is suitably aligned to pass its data() to CreateDialogIndirectParamW.
std::vector<BYTE> AfxBuildDialogTemplate(const CDialogResource& dialog);

// A menu built from the resource table with CreateMenu/CreatePopupMenu/AppendMenuW, owned by the
// caller (DestroyMenu). NULL with ERROR_RESOURCE_NAME_NOT_FOUND when there is no such menu.
HMENU AfxLoadMenu(UINT nID);

// A string of the string table, or an empty string when there is none.
CString AfxLoadString(UINT nID);
