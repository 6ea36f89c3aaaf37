// Registration of the standard and common controls. (Filled in by the controls module.)
#include "user/user.h"

namespace sim::user {

void RegisterControlClasses() {}

}  // namespace sim::user
