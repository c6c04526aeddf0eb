#pragma once

#include <optional>

#include <QDateTime>
#include <QWidget>

class QCheckBox;
class QDateEdit;

namespace quorl::reports {

// A date picker with a check box: cleared, it holds no value; ticked, a date
// with the time of day it was given.
class DatePickerWithCheck final : public QWidget
{
    Q_OBJECT

public:
    explicit DatePickerWithCheck(QWidget *parent = nullptr);

    std::optional<QDateTime> value() const;
    // Sets the date and time and ticks the box.
    void setValue(const QDateTime &value);
    bool isChecked() const;
    void setChecked(bool checked);

    QCheckBox *checkBox() const { return m_check; }
    QDateEdit *dateEdit() const { return m_date; }

private:
    QCheckBox *m_check = nullptr;
    QDateEdit *m_date = nullptr;
    QTime m_time;
};

} // namespace quorl::reports
