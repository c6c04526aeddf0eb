#include "platform/ui/MdiChildren.h"

#include <QChildEvent>
#include <QEvent>
#include <QMetaObject>

namespace quorl::ui {
namespace {

// A child that unloads itself, as a window's own Close button does with close(),
// is deleted out of its frame and would leave the frame behind, empty, in the
// main window: the frame then closes too. A frame closed by its own close box
// is hidden already and is left to go its own way.
class FrameFollowsChild final : public QObject
{
public:
    FrameFollowsChild(QMdiSubWindow *frame, QWidget *child)
        : QObject(frame)
        , m_frame(frame)
        , m_child(child)
    {
        frame->installEventFilter(this);
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == m_frame && event->type() == QEvent::ChildRemoved
            && static_cast<QChildEvent *>(event)->child() == m_child && m_frame->isVisible()) {
            // The child is still being destroyed here; the frame closes once that is over.
            QMdiSubWindow *frame = m_frame;
            QMetaObject::invokeMethod(frame, [frame] { frame->close(); }, Qt::QueuedConnection);
        }
        return false;
    }

private:
    QMdiSubWindow *m_frame;
    const QObject *m_child;
};

} // namespace

QMdiSubWindow *addMdiChild(QMdiArea *area, QWidget *child)
{
    QMdiSubWindow *subWindow = area->addSubWindow(child);
    // A closed child is unloaded; keeping the hidden sub-window would bring the
    // old window back, with its old state, at the next use.
    subWindow->setAttribute(Qt::WA_DeleteOnClose);
    child->setAttribute(Qt::WA_DeleteOnClose);
    new FrameFollowsChild(subWindow, child);
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

void hookFormActivate(QWidget *child, const std::function<void()> &formActivate)
{
    auto *subWindow = qobject_cast<QMdiSubWindow *>(child->parentWidget());
    const char *hooked = "quorlFormActivateHooked";
    if (!subWindow || subWindow->property(hooked).toBool())
        return;
    subWindow->setProperty(hooked, true);
    QObject::connect(subWindow, &QMdiSubWindow::aboutToActivate, child, formActivate);
}

void showInFront(QWidget *child, const std::function<void()> &formActivate)
{
    if (auto *subWindow = qobject_cast<QMdiSubWindow *>(child->parentWidget())) {
        hookFormActivate(child, formActivate);
        subWindow->show();
        if (QMdiArea *area = subWindow->mdiArea())
            area->setActiveSubWindow(subWindow);
        formActivate();
        subWindow->raise();
    } else {
        child->show();
        formActivate();
        child->raise();
        child->activateWindow();
    }
}

} // namespace quorl::ui
