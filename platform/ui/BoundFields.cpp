#include "platform/ui/BoundFields.h"

#include <QCheckBox>
#include <QDateTime>
#include <QLineEdit>
#include <QPlainTextEdit>

#include "platform/db/Recordset.h"
#include "platform/text/Text.h"
#include "platform/ui/DataCombo.h"
#include "platform/ui/TextBoxes.h"

namespace quorl::ui {

namespace {

bool isTextField(db::FieldType type)
{
    return type == db::FieldType::Text || type == db::FieldType::Memo;
}

} // namespace

BoundFields::BoundFields(Adodc *dataSource, QObject *parent) : QObject(parent), m_dataSource(dataSource)
{
    if (m_dataSource)
        m_dataSource->addBinding(this);
}

BoundFields::~BoundFields()
{
    if (m_dataSource)
        m_dataSource->removeBinding(this);
}

void BoundFields::bind(QLineEdit *box, const QString &dataField)
{
    add(box, dataField, Kind::LineEdit);
}

void BoundFields::bind(QPlainTextEdit *box, const QString &dataField)
{
    add(box, dataField, Kind::PlainText);
}

void BoundFields::bind(QCheckBox *box, const QString &dataField)
{
    add(box, dataField, Kind::CheckBox);
}

void BoundFields::bind(DataCombo *combo, const QString &dataField)
{
    add(combo, dataField, Kind::Combo);
}

void BoundFields::setTextReader(QLineEdit *box, TextReader reader)
{
    for (Binding &binding : m_bindings) {
        if (binding.control == box)
            binding.reader = reader;
    }
}

void BoundFields::add(QWidget *control, const QString &dataField, Kind kind)
{
    if (!control)
        return;
    m_bindings.append(Binding{control, dataField, kind, QVariant(), TextReader()});
    Binding &binding = m_bindings.last();
    binding.loaded = currentValue(binding);
}

QString BoundFields::displayText(const QVariant &value)
{
    if (!value.isValid() || value.isNull())
        return QString();
    switch (value.typeId()) {
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    case QMetaType::Double:
    case QMetaType::Float:
        return QString::number(value.toDouble(), 'g', 15);
    case QMetaType::QDateTime:
        return text::formatGeneralDate(value.toDateTime());
    default:
        return value.toString();
    }
}

QVariant BoundFields::currentValue(const Binding &binding) const
{
    if (!binding.control)
        return QVariant();
    switch (binding.kind) {
    case Kind::LineEdit:
        return static_cast<QLineEdit *>(binding.control.data())->text();
    case Kind::PlainText:
        return storedText(static_cast<QPlainTextEdit *>(binding.control.data()));
    case Kind::CheckBox:
        return static_cast<QCheckBox *>(binding.control.data())->isChecked();
    case Kind::Combo:
        return static_cast<DataCombo *>(binding.control.data())->BoundText();
    }
    return QVariant();
}

void BoundFields::show(Binding &binding, const QVariant &value, bool updatable)
{
    QWidget *control = binding.control;
    if (!control)
        return;
    switch (binding.kind) {
    case Kind::LineEdit: {
        auto *box = static_cast<QLineEdit *>(control);
        box->setText(displayText(value));
        box->setReadOnly(!updatable);
        box->setCursorPosition(0);
        break;
    }
    case Kind::PlainText: {
        auto *box = static_cast<QPlainTextEdit *>(control);
        box->setPlainText(displayText(value));
        box->setReadOnly(!updatable);
        break;
    }
    case Kind::CheckBox: {
        auto *box = static_cast<QCheckBox *>(control);
        box->setChecked(value.isValid() && !value.isNull() && value.toDouble() != 0);
        box->setEnabled(updatable);
        break;
    }
    case Kind::Combo:
        static_cast<DataCombo *>(control)->setBoundText(displayText(value));
        control->setEnabled(updatable);
        break;
    }
    binding.loaded = currentValue(binding);
}

void BoundFields::loadFromRow()
{
    db::Recordset *rows = m_dataSource ? m_dataSource->Recordset() : nullptr;
    const bool onRow = rows && rows->isOpen() && !rows->isBOF() && !rows->isEOF();
    for (Binding &binding : m_bindings) {
        const int index = onRow ? rows->fieldIndex(binding.field) : -1;
        if (index < 0)
            show(binding, QVariant(), false);
        else
            show(binding, rows->value(index), rows->isFieldUpdatable(index));
    }
}

bool BoundFields::hasChanges() const
{
    for (const Binding &binding : m_bindings) {
        if (binding.control && currentValue(binding) != binding.loaded)
            return true;
    }
    return false;
}

void BoundFields::writeToRow()
{
    db::Recordset *rows = m_dataSource ? m_dataSource->Recordset() : nullptr;
    if (!rows || !rows->isOpen() || rows->isBOF() || rows->isEOF())
        return;
    for (const Binding &binding : m_bindings) {
        const QVariant value = currentValue(binding);
        if (!binding.control || value == binding.loaded)
            continue;
        const int index = rows->fieldIndex(binding.field);
        if (index < 0)
            throw db::Error(tr("The field '%1' is not in the rows of the data control.").arg(binding.field));
        if (!rows->isFieldUpdatable(index))
            continue;
        const db::FieldType type = rows->fieldType(index);
        const bool text = value.typeId() == QMetaType::QString;
        if (text && !isTextField(type) && value.toString().trimmed().isEmpty()) {
            rows->setValue(index, QVariant());
        } else if (text && binding.reader && !value.toString().trimmed().isEmpty()) {
            const std::optional<QVariant> read = binding.reader(value.toString());
            if (!read)
                throw db::Error(tr("The field '%1' cannot take \"%2\".").arg(binding.field, value.toString()));
            rows->setValue(index, *read);
        } else {
            rows->setValue(index, value);
        }
    }
}

} // namespace quorl::ui
