#include "platform/ui/ValidateOnLeave.h"

#include <exception>

#include <QApplication>
#include <QEvent>
#include <QHash>
#include <QMdiSubWindow>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <QtDebug>

namespace quorl::ui {
namespace {

constexpr const char *kCausesValidationProperty = "causesValidation";

// The form a control belongs to: its top-level window, or the MDI child it sits in,
// since moving between two MDI children is a window switch for the user.
QWidget *formOf(QWidget *widget)
{
    while (widget) {
        if (widget->isWindow() || qobject_cast<QMdiSubWindow *>(widget))
            return widget;
        widget = widget->parentWidget();
    }
    return nullptr;
}

bool causesValidation(QWidget *control, const QWidget *form)
{
    for (QWidget *widget = control; widget && widget != form; widget = widget->parentWidget()) {
        const QVariant value = widget->property(kCausesValidationProperty);
        if (value.isValid() && !value.toBool())
            return false;
    }
    return true;
}

class LeaveValidator final : public QObject
{
public:
    static LeaveValidator &instance()
    {
        static QPointer<LeaveValidator> theInstance;
        if (!theInstance)
            theInstance = new LeaveValidator(qApp);
        return *theInstance;
    }

    void install(QWidget *box, std::function<bool()> validate)
    {
        if (!m_validators.contains(box))
            connect(box, &QObject::destroyed, this, [this, box] { m_validators.remove(box); });
        m_validators.insert(box, std::move(validate));
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseButtonRelease:
            return m_swallowTarget && watched->isWidgetType()
                && (watched == m_swallowTarget || m_swallowTarget->isAncestorOf(static_cast<QWidget *>(watched)));
        case QEvent::Shortcut:
            return watched->isWidgetType() && !checkBeforeShortcut(static_cast<QWidget *>(watched));
        default:
            return false;
        }
    }

private:
    explicit LeaveValidator(QObject *parent)
        : QObject(parent)
    {
        connect(qApp, &QApplication::focusChanged, this, &LeaveValidator::onFocusChanged);
        qApp->installEventFilter(this);
    }

    bool isMoveInsideForm(QWidget *box, QWidget *target) const
    {
        if (!target || target == box || box->isAncestorOf(target))
            return false;
        QWidget *form = formOf(box);
        return form && formOf(target) == form && causesValidation(target, form);
    }

    // The focus has already moved: check, and on refusal bring it back.
    void onFocusChanged(QWidget *old, QWidget *now)
    {
        if (m_running || !old || !m_validators.contains(old) || !isMoveInsideForm(old, now))
            return;
        if (m_checkedBox == old) {
            m_checkedBox = nullptr;
            return;
        }
        QPointer<QWidget> box(old);
        QPointer<QWidget> target(now);
        if (!runCheck(old) && box) {
            m_running = true;
            box->setFocus(Qt::OtherFocusReason);
            m_running = false;
            // The press that moved the focus is still on its way to the target.
            m_swallowTarget = target;
            QTimer::singleShot(0, this, [this] { m_swallowTarget = nullptr; });
        }
    }

    // A shortcut (a button's access key) acts without waiting for the focus: check first.
    bool checkBeforeShortcut(QWidget *receiver)
    {
        QWidget *box = QApplication::focusWidget();
        if (m_running || !box || !m_validators.contains(box) || !isMoveInsideForm(box, receiver))
            return true;
        if (!runCheck(box))
            return false;
        m_checkedBox = box;
        QTimer::singleShot(0, this, [this] { m_checkedBox = nullptr; });
        return true;
    }

    bool runCheck(QWidget *box)
    {
        const std::function<bool()> validate = m_validators.value(box);
        if (!validate)
            return true;
        m_running = true;
        bool accepted = true;
        try {
            accepted = validate();
        } catch (const std::exception &error) {
            qWarning("A number check failed: %s", error.what());
        }
        m_running = false;
        return accepted;
    }

    QHash<QWidget *, std::function<bool()>> m_validators;
    bool m_running = false;
    QPointer<QWidget> m_checkedBox;
    QPointer<QWidget> m_swallowTarget;
};

} // namespace

void installValidateOnLeave(QWidget *box, std::function<bool()> validate)
{
    if (box)
        LeaveValidator::instance().install(box, std::move(validate));
}

void setCausesValidation(QWidget *control, bool causesValidation)
{
    if (control)
        control->setProperty(kCausesValidationProperty, causesValidation);
}

} // namespace quorl::ui
