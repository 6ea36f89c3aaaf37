// In-memory dialog templates (DLGTEMPLATE followed by its DLGITEMTEMPLATEs) for Messenger's
// dialogs, which it creates with CreateDialogIndirectParamW.
#pragma once

#include <windows.h>

#include <vector>

#include "world/messenger/text.h"

namespace world::messenger {

struct DialogItem {
  Text class_name;  // "Button", "Static", ...
  Text text;
  WORD id = 0;
  DWORD style = 0;  // WS_CHILD | WS_VISIBLE are added
  short x = 0, y = 0, cx = 0, cy = 0;
};

// The template as WORDs, so that the buffer is suitably aligned for the dialog manager. No
// font is named, so the system font's base units apply.
std::vector<WORD> BuildDialogTemplate(const Text& title, DWORD style, short cx, short cy,
                                      const std::vector<DialogItem>& items);

}  // namespace world::messenger
