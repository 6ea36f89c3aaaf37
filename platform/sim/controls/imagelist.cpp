// Image lists: numbered icons of one size for the list view. Each image keeps the icon it was
// made from, which identifies it for the world; the caller may destroy its icon afterwards.
#include "controls/imagelist.h"

#include <map>

#include "core/core.h"

namespace sim::controls {

namespace {

struct ImageList {
  int cx = 0;
  int cy = 0;
  UINT flags = 0;
  std::vector<HICON> icons;
};

struct ImageLists {
  std::map<HIMAGELIST, ImageList> lists;
  uintptr_t next = 0x0B000010;  // handles fit in 32 bits
};

ImageLists& State() { return Desktop::Current().Module<ImageLists>(); }

ImageList* Find(HIMAGELIST handle) {
  auto& lists = State().lists;
  auto it = lists.find(handle);
  return it == lists.end() ? nullptr : &it->second;
}

}  // namespace

std::vector<HICON> ImageListIcons(HIMAGELIST list) {
  ImageList* l = Find(list);
  return l ? l->icons : std::vector<HICON>{};
}

}  // namespace sim::controls

using sim::controls::Find;

HIMAGELIST WINAPI ImageList_Create(int cx, int cy, UINT flags, int cInitial, int) {
  if (cx <= 0 || cy <= 0 || cInitial < 0) return nullptr;
  auto& state = sim::controls::State();
  auto handle = reinterpret_cast<HIMAGELIST>(state.next);
  state.next += 4;
  state.lists.emplace(handle, sim::controls::ImageList{cx, cy, flags, {}});
  return handle;
}

BOOL WINAPI ImageList_Destroy(HIMAGELIST himl) {
  return sim::controls::State().lists.erase(himl) ? TRUE : FALSE;
}

int WINAPI ImageList_GetImageCount(HIMAGELIST himl) {
  auto* l = Find(himl);
  return l ? static_cast<int>(l->icons.size()) : 0;
}

int WINAPI ImageList_ReplaceIcon(HIMAGELIST himl, int i, HICON hicon) {
  auto* l = Find(himl);
  if (!l || !hicon) return -1;
  if (i == -1) {
    l->icons.push_back(hicon);
    return static_cast<int>(l->icons.size()) - 1;
  }
  if (i < 0 || i >= static_cast<int>(l->icons.size())) return -1;
  l->icons[static_cast<size_t>(i)] = hicon;
  return i;
}

BOOL WINAPI ImageList_Remove(HIMAGELIST himl, int i) {
  auto* l = Find(himl);
  if (!l) return FALSE;
  if (i == -1) {
    l->icons.clear();
    return TRUE;
  }
  if (i < 0 || i >= static_cast<int>(l->icons.size())) return FALSE;
  l->icons.erase(l->icons.begin() + i);
  return TRUE;
}

BOOL WINAPI ImageList_GetIconSize(HIMAGELIST himl, int* cx, int* cy) {
  auto* l = Find(himl);
  if (!l || !cx || !cy) return FALSE;
  *cx = l->cx;
  *cy = l->cy;
  return TRUE;
}
