#include "platform/ui/CheckedDatePicker.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QHBoxLayout>

namespace quorl::ui {

CheckedDatePicker::CheckedDatePicker(QWidget *parent)
    : QWidget(parent)
    , m_tick(new QCheckBox(this))
    , m_date(new QDateEdit(this))
{
    m_tick->setObjectName(QStringLiteral("tick"));
    m_date->setObjectName(QStringLiteral("date"));
    m_date->setCalendarPopup(true);
    m_date->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    m_date->setEnabled(false);
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(m_tick);
    layout->addWidget(m_date, 1);
    setFocusProxy(m_tick);
    connect(m_tick, &QCheckBox::toggled, m_date, &QWidget::setEnabled);
}

bool CheckedDatePicker::isChecked() const
{
    return m_tick->isChecked();
}

void CheckedDatePicker::setChecked(bool checked)
{
    m_tick->setChecked(checked);
}

QDate CheckedDatePicker::date() const
{
    return m_date->date();
}

void CheckedDatePicker::setDate(const QDate &date)
{
    m_date->setDate(date);
}

std::optional<QDate> CheckedDatePicker::value() const
{
    if (!isChecked())
        return std::nullopt;
    return date();
}

void CheckedDatePicker::setPartNames(const QString &name)
{
    m_tick->setAccessibleName(name);
    m_date->setAccessibleName(name);
}

} // namespace quorl::ui
