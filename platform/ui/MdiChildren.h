#pragma once

#include <functional>

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QWidget>

// Child windows of the main window exist once each: the first use creates the
// window inside the main window's MDI area, every later use finds it again.
// Closing a child unloads it (its sub-window is deleted), so the next use starts
// a fresh one, as a form that was unloaded would.

namespace quorl::ui {

// The child widget of a sub-window of the area that is a T, or null.
template <class T>
T *findMdiChild(const QMdiArea *area)
{
    if (!area)
        return nullptr;
    for (QMdiSubWindow *subWindow : area->subWindowList()) {
        if (T *child = dynamic_cast<T *>(subWindow->widget()))
            return child;
    }
    return nullptr;
}

// Puts a newly made child window into the area; the area owns it from now on.
QMdiSubWindow *addMdiChild(QMdiArea *area, QWidget *child);

// The one T of the area, made with create() on first use. Nothing is shown or
// activated here: the window's own Display does that.
template <class T>
T *sharedMdiChild(QMdiArea *area, const std::function<T *()> &create = [] { return new T; })
{
    if (T *existing = findMdiChild<T>(area))
        return existing;
    T *child = create();
    addMdiChild(area, child);
    return child;
}

// Shows the child's sub-window and makes it the active one.
void activateMdiChild(QMdiArea *area, QWidget *child);

// Has the child's sub-window call formActivate each time it becomes the active
// one; a sub-window is hooked once, however often its window is displayed.
void hookFormActivate(QWidget *child, const std::function<void()> &formActivate);

// Brings a displayed child window to the front: its sub-window shown, made the
// active one, formActivate called and the sub-window raised (hooked as above). A
// window outside an MDI area is shown, refreshed the same way and activated.
void showInFront(QWidget *child, const std::function<void()> &formActivate);

// The widget of the area's current sub-window (also while the application is not
// the active one), or null.
QWidget *activeMdiChild(const QMdiArea *area);

// The control that holds the focus inside the current child window, or null.
QWidget *activeMdiControl(const QMdiArea *area);

// Calls the slot Form_Activate() of the current child window by name, so a window
// that shows data from the tables refreshes after another window changed them.
// Returns false when there is no child or it has no such slot.
bool callFormActivate(const QMdiArea *area);

} // namespace quorl::ui
