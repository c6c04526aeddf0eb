#include "platform/ui/WaitCursor.h"

#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>

namespace quorl::ui {

WaitCursor::WaitCursor()
    : m_active(qobject_cast<QGuiApplication *>(QCoreApplication::instance()) != nullptr)
{
    if (m_active)
        QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
}

WaitCursor::~WaitCursor()
{
    if (m_active && qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        QGuiApplication::restoreOverrideCursor();
}

} // namespace quorl::ui
