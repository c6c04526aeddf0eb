#include "reports/DatePickerWithCheck.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QSignalBlocker>

namespace quorl::reports {

DatePickerWithCheck::DatePickerWithCheck(QWidget *parent)
    : QWidget(parent)
    , m_check(new QCheckBox(this))
    , m_date(new QDateEdit(this))
    , m_time(0, 0)
{
    m_check->setObjectName(QStringLiteral("check"));
    m_check->setAccessibleName(QStringLiteral("Use this date"));
    m_date->setObjectName(QStringLiteral("date"));
    m_date->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    m_date->setCalendarPopup(true);
    m_date->setEnabled(false);
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_check);
    layout->addWidget(m_date, 1);
    setFocusProxy(m_date);
    connect(m_check, &QCheckBox::toggled, m_date, &QWidget::setEnabled);
}

std::optional<QDateTime> DatePickerWithCheck::value() const
{
    if (!m_check->isChecked())
        return std::nullopt;
    return QDateTime(m_date->date(), m_time);
}

void DatePickerWithCheck::setValue(const QDateTime &value)
{
    const QSignalBlocker blockDate(m_date);
    m_date->setDate(value.date());
    m_time = value.time();
    setChecked(true);
}

bool DatePickerWithCheck::isChecked() const
{
    return m_check->isChecked();
}

void DatePickerWithCheck::setChecked(bool checked)
{
    m_check->setChecked(checked);
}

} // namespace quorl::reports
