#include "reports/DatePickerWithCheck.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QLayout>
#include <QSignalBlocker>

namespace quorl::reports {

DatePickerWithCheck::DatePickerWithCheck(QWidget *parent)
    : ui::CheckedDatePicker(parent)
{
    tickBox()->setObjectName(QStringLiteral("check"));
    tickBox()->setAccessibleName(QStringLiteral("Use this date"));
    dateEdit()->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    layout()->setSpacing(-1); // the style's spacing
    setFocusProxy(dateEdit());
}

void DatePickerWithCheck::setValue(const QDateTime &value)
{
    {
        const QSignalBlocker blockDate(dateEdit());
        setDate(value.date());
    }
    setChecked(true);
}

} // namespace quorl::reports
