// Where the keyboard focus goes, decided on the model's controls alone so that every window
// follows the same rules: the order Tab walks, where an arrow key walks it on the buttons, and
// the control that takes the focus when the one holding it is hidden or disabled.
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

enum class Direction { Left, Right, Up, Down };

// The button an arrow key walks the focus to from `from`, or null when none lies that way.
// It walks among the shown, enabled buttons of `from`'s array (a board's cells), or among the
// buttons of their own for one of those. The buttons in `from`'s own row (for Left and Right)
// or column (for Up and Down) come first, so that a walk along a row passes over cleared
// cells; otherwise the nearest one that way, where sideways distance weighs double.
Button* Neighbour(const Window& window, const Button& from, Direction direction);

}  // namespace ui
