// Where the keyboard focus goes, decided on the model's controls alone so that every window
// follows the same rules: the order Tab walks, and the control that takes the focus when the
// one holding it is hidden or disabled.
#pragma once

#include <vector>

#include "ui/window.h"

namespace ui {

// The window's controls that can hold the focus, shown or not, in the order the eye reads
// them. Controls that touch or overlap form a block (the board, the mode column); blocks
// beside each other come left to right, rows of blocks top to bottom; inside a block the
// controls come row by row, left to right.
std::vector<Control*> TabOrder(const Window& window);

// The control that takes the focus when `from` (null: no control) cannot keep it, or null
// when the window itself should hold it. A button of a control array hands it to the nearest
// shown, enabled button of its array, in its own row first. Otherwise, and when none is left,
// the control the user acts on next: the first shown list, else the first shown one-line text
// box, else the first shown button of a control array. Buttons of their own never take the
// focus this way, so that no key reaches them without the user moving there.
Control* NextFocus(const Window& window, const Control* from);

}  // namespace ui
