#include "test_desktop.h"

namespace platform_test {

bool RunningOnWine() { return false; }

}  // namespace platform_test
