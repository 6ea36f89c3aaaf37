// What a user sees in a control: read through the simulated desktop's own inspection on Linux,
// through the control's messages on Windows.
#pragma once

#include <windows.h>

#include <vector>

#include "wide_string.h"

namespace platform_test {

WString EditText(HWND edit);
std::vector<WString> ComboItems(HWND combo);
std::vector<WString> ListViewFirstColumn(HWND list);
// The first dialog box open in this test's programs, or null.
HWND FirstOpenDialog();

}  // namespace platform_test
