// Registration of the standard and common controls, and the common controls' initialisation
// calls (the classes are always registered, so these only check their argument).
#include <commctrl.h>

#include "controls/control.h"

namespace sim::user {

void RegisterControlClasses() {
  controls::RegisterButtonClass();
  controls::RegisterStaticClass();
  controls::RegisterEditClass();
  controls::RegisterComboBoxClass();
  controls::RegisterListViewClass();
  controls::RegisterTrackbarClass();
}

}  // namespace sim::user

void WINAPI InitCommonControls(void) {}

BOOL WINAPI InitCommonControlsEx(const INITCOMMONCONTROLSEX* picce) {
  return picce && picce->dwSize == sizeof(INITCOMMONCONTROLSEX) ? TRUE : FALSE;
}
