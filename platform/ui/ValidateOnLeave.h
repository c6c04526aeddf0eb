#pragma once

#include <functional>

class QWidget;

// A number box checks its text when the user moves on to another control of the
// same window, and keeps the focus when the text is refused. The check runs only
// for moves inside the window: switching to another window, or the check's own
// message box taking the focus, is no move and runs nothing. While one check runs
// no other starts, so its message box can never call it again.

namespace quorl::ui {

// validate() returns false to keep the focus in the box (it tells the user why).
// A mouse press or shortcut that moved the focus away is then swallowed, so the
// control it was aimed at does not act on a refused value.
void installValidateOnLeave(QWidget *box, std::function<bool()> validate);

// A control the user may move to without the box being checked (false), as
// a Cancel button whose use discards what was typed. Controls check by default.
void setCausesValidation(QWidget *control, bool causesValidation);

} // namespace quorl::ui
