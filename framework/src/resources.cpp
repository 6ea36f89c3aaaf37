// The registered resource table and the lookups, strings and menus built from it.
#include <framework/resources.h>

#include <framework/cstring.h>

#include <algorithm>

namespace {

// The same program registers the same table on every run, so one table per executable is right;
// it holds no handles or other state of a particular desktop or process.
CResourceTable& Table() {
  static CResourceTable table;
  return table;
}

template <typename T>
const T* FindById(const std::vector<T>& list, UINT nID) {
  auto it = std::find_if(list.begin(), list.end(), [nID](const T& r) { return r.id == nID; });
  return it == list.end() ? nullptr : &*it;
}

// Appends the items to `menu`, building pop-ups recursively. False when a call failed; the
// caller destroys the menu with whatever was already appended.
bool AppendItems(HMENU menu, const std::vector<CMenuItemResource>& items) {
  for (const CMenuItemResource& item : items) {
    if (!item.popup.empty()) {
      HMENU sub = CreatePopupMenu();
      if (!sub) return false;
      if (!AppendItems(sub, item.popup) ||
          !AppendMenuW(menu, item.flags | MF_POPUP, reinterpret_cast<UINT_PTR>(sub), item.text)) {
        DestroyMenu(sub);
        return false;
      }
    } else if (item.flags & MF_SEPARATOR) {
      if (!AppendMenuW(menu, MF_SEPARATOR, 0, nullptr)) return false;
    } else if (!AppendMenuW(menu, item.flags, item.id, item.text ? item.text : TEXT(""))) {
      return false;
    }
  }
  return true;
}

}  // namespace

void AfxSetResourceTable(const CResourceTable& table) {
  if (&table != &Table()) Table() = table;
}

const CResourceTable& AfxGetResourceTable() { return Table(); }

const CDialogResource* AfxFindDialogResource(UINT nID) { return FindById(Table().dialogs, nID); }
const CMenuResource* AfxFindMenuResource(UINT nID) { return FindById(Table().menus, nID); }
const CStringResource* AfxFindStringResource(UINT nID) { return FindById(Table().strings, nID); }

bool AfxIsActiveXItem(const CDialogItem& item) { return item.className && item.className[0] == '{'; }

HMENU AfxLoadMenu(UINT nID) {
  const CMenuResource* resource = AfxFindMenuResource(nID);
  if (!resource) {
    SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return nullptr;
  }
  HMENU menu = CreateMenu();
  if (menu && !AppendItems(menu, resource->items)) {
    DestroyMenu(menu);
    menu = nullptr;
  }
  return menu;
}

CString AfxLoadString(UINT nID) {
  CString text;
  text.LoadString(nID);
  return text;
}
