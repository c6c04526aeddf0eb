#include "platform/ui/WizardPages.h"

#include <algorithm>

#include <QAbstractButton>
#include <QFrame>
#include <QLabel>
#include <QStackedWidget>

namespace quorl::ui {

WizardPages::WizardPages(QStackedWidget *stack, QWidget *window, QAbstractButton *back, QAbstractButton *next,
                         const QString &lastNextCaption, const QString &nextCaption)
    : QObject(stack)
    , m_stack(stack)
    , m_window(window)
    , m_back(back)
    , m_next(next)
    , m_lastNextCaption(lastNextCaption)
    , m_nextCaption(nextCaption)
{
}

QWidget *WizardPages::addPage(const QString &caption)
{
    auto *frame = new QFrame(m_stack);
    frame->setObjectName(QStringLiteral("fraStep(%1)").arg(m_pages.size()));
    m_stack->addWidget(frame);
    m_pages.append(frame);
    m_captions.append(caption);
    return frame;
}

void WizardPages::setStepLabels(const QList<QLabel *> &labels)
{
    m_stepLabels = labels;
}

int WizardPages::count() const
{
    return int(m_pages.size());
}

QWidget *WizardPages::page(int index) const
{
    return index >= 0 && index < count() ? m_pages.at(index) : nullptr;
}

QString WizardPages::caption(int index) const
{
    return index >= 0 && index < count() ? m_captions.at(index) : QString();
}

void WizardPages::showStep(int index)
{
    if (m_pages.isEmpty())
        return;
    m_current = std::clamp(index, 0, count() - 1);
    m_stack->setCurrentWidget(m_pages.at(m_current));
    if (m_window)
        m_window->setWindowTitle(m_captions.at(m_current));
    for (int i = 0; i < m_stepLabels.size(); ++i) {
        QFont font = m_stepLabels.at(i)->font();
        font.setBold(i == m_current);
        m_stepLabels.at(i)->setFont(font);
    }
    if (m_back)
        m_back->setVisible(m_current > 0);
    if (m_next)
        m_next->setText(isLast() ? m_lastNextCaption : m_nextCaption);
    emit stepShown(m_current);
}

} // namespace quorl::ui
