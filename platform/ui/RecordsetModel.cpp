#include "platform/ui/RecordsetModel.h"

#include <QDateTime>

#include "platform/db/Error.h"
#include "platform/db/Recordset.h"
#include "platform/text/Text.h"

namespace quorl::ui {

QString yesNoText(const QVariant &value)
{
    if (!value.isValid() || value.isNull())
        return QString();
    return value.toBool() ? QStringLiteral("Yes") : QStringLiteral("No");
}

namespace {

QString fifteenDigits(double value)
{
    return QString::number(value, 'g', 15);
}

} // namespace

QString plainCellText(const QVariant &value)
{
    return plainCellText(value, fifteenDigits);
}

QString plainCellText(const QVariant &value, QString (*numberText)(double))
{
    if (!value.isValid() || value.isNull())
        return QString();
    switch (value.typeId()) {
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    case QMetaType::QDateTime:
        return text::formatGeneralDate(value.toDateTime());
    case QMetaType::Double:
    case QMetaType::Float:
        return numberText(value.toDouble());
    default:
        return value.toString();
    }
}

RecordsetModel::RecordsetModel(QObject *parent)
    : QAbstractTableModel(parent)
{
}

RecordsetModel::~RecordsetModel() = default;

void RecordsetModel::setRecordset(db::Recordset *recordset)
{
    if (m_recordset)
        disconnect(m_recordset, nullptr, this, nullptr);
    m_recordset = recordset;
    if (recordset) {
        connect(recordset, &db::Recordset::rowsReset, this, &RecordsetModel::resetFromRecordset);
        connect(recordset, &db::Recordset::rowChanged, this, &RecordsetModel::onRowChanged);
        connect(recordset, &db::Recordset::rowInserted, this, &RecordsetModel::onRowInserted);
        connect(recordset, &db::Recordset::rowRemoved, this, &RecordsetModel::onRowRemoved);
        connect(recordset, &QObject::destroyed, this, &RecordsetModel::onRecordsetDestroyed);
    }
    resetFromRecordset();
}

db::Recordset *RecordsetModel::recordset() const
{
    return m_recordset.data();
}

void RecordsetModel::setColumns(const QList<GridColumn> &columns)
{
    beginResetModel();
    m_columns = columns;
    resolveColumns();
    m_rowCount = recordsetRowCount();
    endResetModel();
}

int RecordsetModel::fieldOfColumn(int column) const
{
    return column >= 0 && column < m_resolved.size() ? m_resolved[column].field : -1;
}

int RecordsetModel::columnOfField(const QString &fieldName) const
{
    for (int c = 0; c < m_resolved.size(); ++c) {
        if (m_resolved[c].column.dataField.compare(fieldName, Qt::CaseInsensitive) == 0)
            return c;
    }
    return -1;
}

void RecordsetModel::setEditable(bool editable)
{
    if (m_editable == editable)
        return;
    m_editable = editable;
    if (m_rowCount > 0 && !m_resolved.isEmpty())
        emit dataChanged(index(0, 0), index(m_rowCount - 1, int(m_resolved.size()) - 1));
}

int RecordsetModel::recordsetRowCount() const
{
    return m_recordset && m_recordset->isOpen() ? m_recordset->RecordCount() : 0;
}

void RecordsetModel::resolveColumns()
{
    m_resolved.clear();
    db::Recordset *rs = m_recordset.data();
    if (m_columns.isEmpty()) {
        const int fields = rs && rs->isOpen() ? rs->fieldCount() : 0;
        for (int f = 0; f < fields; ++f)
            m_resolved.append({GridColumn{rs->fieldName(f), rs->fieldName(f)}, f});
        return;
    }
    for (const GridColumn &column : m_columns)
        m_resolved.append({column, rs && rs->isOpen() ? rs->fieldIndex(column.dataField) : -1});
}

void RecordsetModel::resetFromRecordset()
{
    beginResetModel();
    m_pendingInsert = m_pendingRemove = -1;
    resolveColumns();
    m_rowCount = recordsetRowCount();
    endResetModel();
}

void RecordsetModel::onRowChanged(int visibleRow)
{
    if (visibleRow < 0 || visibleRow >= m_rowCount || m_resolved.isEmpty())
        return;
    emit dataChanged(index(visibleRow, 0), index(visibleRow, int(m_resolved.size()) - 1));
}

// The recordset has added the row already; views are told of it as if it were about
// to come, the rows after it read one further on until the insertion is announced.
void RecordsetModel::onRowInserted(int visibleRow)
{
    if (visibleRow < 0 || visibleRow > m_rowCount || recordsetRowCount() != m_rowCount + 1) {
        resetFromRecordset();
        return;
    }
    m_pendingInsert = visibleRow;
    beginInsertRows(QModelIndex(), visibleRow, visibleRow);
    m_pendingInsert = -1;
    ++m_rowCount;
    endInsertRows();
}

void RecordsetModel::onRowRemoved(int visibleRow)
{
    if (visibleRow < 0 || visibleRow >= m_rowCount || recordsetRowCount() != m_rowCount - 1) {
        resetFromRecordset();
        return;
    }
    m_pendingRemove = visibleRow;
    beginRemoveRows(QModelIndex(), visibleRow, visibleRow);
    m_pendingRemove = -1;
    --m_rowCount;
    endRemoveRows();
}

void RecordsetModel::onRecordsetDestroyed()
{
    beginResetModel();
    m_recordset = nullptr;
    m_pendingInsert = m_pendingRemove = -1;
    resolveColumns();
    m_rowCount = 0;
    endResetModel();
}

int RecordsetModel::recordsetRow(int modelRow) const
{
    if (m_pendingInsert >= 0)
        return modelRow < m_pendingInsert ? modelRow : modelRow + 1;
    if (m_pendingRemove >= 0) {
        if (modelRow == m_pendingRemove)
            return -1;
        return modelRow < m_pendingRemove ? modelRow : modelRow - 1;
    }
    return modelRow;
}

int RecordsetModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rowCount;
}

int RecordsetModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_resolved.size());
}

QVariant RecordsetModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return QVariant();
    const ResolvedColumn &column = m_resolved[index.column()];
    const int row = recordsetRow(index.row());
    if (!m_recordset || column.field < 0 || row < 0)
        return QVariant();

    QVariant value;
    try {
        value = m_recordset->valueAt(row, column.field);
    } catch (const db::Error &) {
        // A row the recordset no longer holds shows empty until the views are told.
        return QVariant();
    }

    switch (role) {
    case Qt::DisplayRole:
        return column.column.format ? column.column.format(value) : plainCellText(value);
    case Qt::EditRole:
        if (!value.isValid())
            return QString();
        return value.typeId() == QMetaType::QDateTime ? QVariant(plainCellText(value)) : value;
    case ValueRole:
        return value;
    case Qt::TextAlignmentRole: {
        if (column.column.alignment)
            return QVariant::fromValue(column.column.alignment | Qt::AlignVCenter);
        const db::FieldType type = m_recordset->fieldType(column.field);
        const bool number =
            type == db::FieldType::Long || type == db::FieldType::Double || type == db::FieldType::Currency;
        return QVariant::fromValue(Qt::Alignment((number ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter));
    }
    default:
        return QVariant();
    }
}

QVariant RecordsetModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return QVariant();
    if (orientation == Qt::Horizontal)
        return section >= 0 && section < m_resolved.size() ? QVariant(m_resolved[section].column.caption) : QVariant();
    return section >= 0 && section < m_rowCount ? QVariant(section + 1) : QVariant();
}

Qt::ItemFlags RecordsetModel::flags(const QModelIndex &index) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return Qt::NoItemFlags;
    Qt::ItemFlags result = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    const int field = m_resolved[index.column()].field;
    if (m_editable && m_recordset && field >= 0 && m_recordset->LockType() != db::adLockReadOnly
        && m_recordset->isFieldUpdatable(field))
        result |= Qt::ItemIsEditable;
    return result;
}

bool RecordsetModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable))
        return false;
    const int row = recordsetRow(index.row());
    const int field = m_resolved[index.column()].field;
    if (row < 0)
        return false;
    try {
        m_recordset->setAbsolutePosition(row + 1);
        // An emptied cell is Null, as the grid stores it.
        const bool empty = value.typeId() == QMetaType::QString && value.toString().isEmpty()
            && m_recordset->fieldType(field) != db::FieldType::Text && m_recordset->fieldType(field) != db::FieldType::Memo;
        m_recordset->setValue(field, empty ? QVariant() : value);
        m_recordset->Update();
    } catch (const db::Error &error) {
        try {
            m_recordset->CancelUpdate();
        } catch (const db::Error &) {
            // The edit could not even be dropped; the message below says what went wrong first.
        }
        m_lastError = error.message();
        emit writeFailed(m_lastError);
        return false;
    }
    return true;
}

} // namespace quorl::ui
