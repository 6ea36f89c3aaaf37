// Helpers of the world's view of controls: whether a person could act on a control, and how
// control texts are matched.
#pragma once

#include <windows.h>

#include <string>

namespace sim::controls {

// Visible, and enabled together with every window above it (a modal dialog disables its owner).
bool UserCanReach(HWND control);
// A control's text as a person reads it: '&' markers removed ("&&" is one '&'), and the
// accelerator text after a tab left out.
std::u16string VisibleText(const std::u16string& text);
// Whether `text` names a control or menu item with `label`: as written, or as read, ignoring case.
bool LabelMatches(const std::u16string& label, const std::u16string& text);
// Posts a left click (down and up) at a point of the control's client area.
void PostClick(HWND control, POINT at);
// The middle of a window's client area.
POINT ClientCenter(HWND hwnd);

}  // namespace sim::controls
