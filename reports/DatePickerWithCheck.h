#pragma once

#include <QDateTime>

#include "platform/ui/CheckedDatePicker.h"

namespace quorl::reports {

// The Report Manager's period picker: the checked date picker in the dd/MM/yyyy
// form, the focus landing on the date rather than on the tick box.
class DatePickerWithCheck final : public ui::CheckedDatePicker
{
    Q_OBJECT

public:
    explicit DatePickerWithCheck(QWidget *parent = nullptr);

    // Sets the day, without the date box announcing a change, and ticks the box.
    void setValue(const QDateTime &value);
};

} // namespace quorl::reports
