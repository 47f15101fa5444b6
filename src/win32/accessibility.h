// What assistive technology learns of a control beyond its text: buttons and labels are
// named by their captions (their window text); a list or a box, whose purpose no caption
// states, carries the name its form gave it, set through the accessibility property service
// (MSAA, which UI Automation reads too).
#pragma once

#include <windows.h>

#include "ui/control.h"

namespace win32 {

// Gives `handle` the model's accessible name, when it has one. Needs COM on the thread.
void Describe(HWND handle, const ui::Control& model);

}  // namespace win32
