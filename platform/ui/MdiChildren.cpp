#include "platform/ui/MdiChildren.h"

#include <QMetaObject>

namespace quorl::ui {

QMdiSubWindow *addMdiChild(QMdiArea *area, QWidget *child)
{
    QMdiSubWindow *subWindow = area->addSubWindow(child);
    // A closed child is unloaded; keeping the hidden sub-window would bring the
    // old window back, with its old state, at the next use.
    subWindow->setAttribute(Qt::WA_DeleteOnClose);
    child->setAttribute(Qt::WA_DeleteOnClose);
    return subWindow;
}

void activateMdiChild(QMdiArea *area, QWidget *child)
{
    if (!area || !child)
        return;
    for (QMdiSubWindow *subWindow : area->subWindowList()) {
        if (subWindow->widget() == child) {
            subWindow->show();
            area->setActiveSubWindow(subWindow);
            return;
        }
    }
}

QWidget *activeMdiChild(const QMdiArea *area)
{
    if (!area)
        return nullptr;
    QMdiSubWindow *subWindow = area->currentSubWindow();
    return subWindow ? subWindow->widget() : nullptr;
}

QWidget *activeMdiControl(const QMdiArea *area)
{
    QWidget *child = activeMdiChild(area);
    if (!child)
        return nullptr;
    QWidget *control = child->focusWidget();
    if (!control || (control != child && !child->isAncestorOf(control)))
        return nullptr;
    return control;
}

bool callFormActivate(const QMdiArea *area)
{
    QWidget *child = activeMdiChild(area);
    if (!child)
        return false;
    const QMetaObject *meta = child->metaObject();
    if (meta->indexOfMethod("Form_Activate()") < 0)
        return false;
    return QMetaObject::invokeMethod(child, "Form_Activate", Qt::DirectConnection);
}

} // namespace quorl::ui
