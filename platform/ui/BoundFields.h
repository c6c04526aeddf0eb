#pragma once

#include <functional>
#include <optional>

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariant>

#include "platform/ui/Adodc.h"

class QCheckBox;
class QLineEdit;
class QPlainTextEdit;
class QWidget;

namespace quorl::ui {

class DataCombo;

// Controls bound to fields of a data control's recordset: each shows its field of
// the current row and, once the user changed it, writes it back when the data
// control writes the row. Only changed controls are written, so paging through
// rows writes nothing. A box whose field cannot be written (a key, a computed
// column) is made read-only.
//
// Text boxes show Null as empty text; an emptied box writes Null to a field that is
// no text. Numbers, Yes/No and dates are checked by the field's type when written.
class BoundFields final : public QObject, public AdodcBinding
{
    Q_OBJECT

public:
    explicit BoundFields(Adodc *dataSource, QObject *parent = nullptr);
    ~BoundFields() override;

    void bind(QLineEdit *box, const QString &dataField);
    void bind(QPlainTextEdit *box, const QString &dataField);
    void bind(QCheckBox *box, const QString &dataField);
    // The combo's bound value is written to the field; its list comes from elsewhere.
    void bind(DataCombo *combo, const QString &dataField);

    // How a bound text box's text (when not blank) becomes the value written, where a
    // window reads more than the field's type does ("£15" for a charge). Nothing back
    // means the text is no value, and the write is refused.
    using TextReader = std::function<std::optional<QVariant>(const QString &text)>;
    void setTextReader(QLineEdit *box, TextReader reader);

    Adodc *dataSource() const { return m_dataSource; }

    void loadFromRow() override;
    bool hasChanges() const override;
    void writeToRow() override;

    // How a stored value reads in a text box.
    static QString displayText(const QVariant &value);

private:
    enum class Kind { LineEdit, PlainText, CheckBox, Combo };
    struct Binding {
        QPointer<QWidget> control;
        QString field;
        Kind kind;
        QVariant loaded; // what the control held right after loading
        TextReader reader;
    };

    QVariant currentValue(const Binding &binding) const;
    void show(Binding &binding, const QVariant &value, bool updatable);
    void add(QWidget *control, const QString &dataField, Kind kind);

    QPointer<Adodc> m_dataSource;
    QList<Binding> m_bindings;
};

} // namespace quorl::ui
