#pragma once

#include <optional>

#include <QDate>
#include <QWidget>

class QCheckBox;
class QDateEdit;

namespace quorl::ui {

// A date picker with a tick box in front: unticked, its value is Null and the date
// is greyed out. The tick box takes the focus for the picker, so a caption label
// that has the picker as buddy names the tick box.
class CheckedDatePicker : public QWidget
{
    Q_OBJECT

public:
    explicit CheckedDatePicker(QWidget *parent = nullptr);

    bool isChecked() const;
    void setChecked(bool checked);
    QDate date() const;
    void setDate(const QDate &date);
    // The date when ticked; nothing when not.
    std::optional<QDate> value() const;

    QCheckBox *tickBox() const { return m_tick; }
    QDateEdit *dateEdit() const { return m_date; }

    // The name screen readers give both parts.
    void setPartNames(const QString &name);

private:
    QCheckBox *m_tick = nullptr;
    QDateEdit *m_date = nullptr;
};

} // namespace quorl::ui
