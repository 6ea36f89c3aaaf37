// The dialog manager: the "#32770" class, templates, modal and modeless dialogs, keyboard
// navigation. (Filled in by the dialog module.)
#include "user/user.h"

namespace sim::user {

void RegisterDialogClass() {}

}  // namespace sim::user
