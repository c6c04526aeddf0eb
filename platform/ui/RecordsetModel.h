#pragma once

#include <functional>

#include <QAbstractTableModel>
#include <QList>
#include <QPointer>
#include <QString>
#include <QVariant>

namespace quorl::db {
class Recordset;
}

namespace quorl::ui {

// How a cell shows its value; an empty function shows it in the plain form.
using CellFormat = std::function<QString(const QVariant &value)>;

// One column of a bound view: the field it shows, its heading, its format.
struct GridColumn
{
    QString dataField;
    QString caption;
    CellFormat format = {};
    // None given: numbers to the right, the rest to the left.
    Qt::Alignment alignment = {};
};

// "Yes" or "No" for a Yes/No field; a Null shows nothing.
QString yesNoText(const QVariant &value);

// The plain text of a value as a grid shows it: Null empty, Yes/No "True"/"False",
// dates in the general date form, numbers without grouping.
QString plainCellText(const QVariant &value);
// The same with the numbers (double and float values) as numberText writes them.
QString plainCellText(const QVariant &value, QString (*numberText)(double));

// A table model over a recordset's visible rows (its Filter and Sort applied). The
// model follows the recordset's signals, so every view on it shows what the
// recordset holds; it never moves the recordset except to write an edited cell.
// The recordset is not owned; when it is destroyed the model goes empty.
class RecordsetModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    // The value of a cell as the recordset gives it (Null an invalid QVariant).
    static constexpr int ValueRole = Qt::UserRole + 1;

    explicit RecordsetModel(QObject *parent = nullptr);
    ~RecordsetModel() override;

    void setRecordset(db::Recordset *recordset);
    db::Recordset *recordset() const;

    // The columns shown; none given means every field of the recordset in its order,
    // headed by the field name. A column whose field the recordset lacks stays empty.
    void setColumns(const QList<GridColumn> &columns);
    QList<GridColumn> columns() const { return m_columns; }
    // The recordset's field shown in a column, or -1.
    int fieldOfColumn(int column) const;
    // The column showing a field (name without regard to letter case), or -1.
    int columnOfField(const QString &fieldName) const;

    // Whether cells of updatable fields may be changed in place (each change is
    // written to the database at once). Off unless set.
    void setEditable(bool editable);
    bool isEditable() const { return m_editable; }
    QString lastError() const { return m_lastError; }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;

signals:
    // An edited cell the database refused, with its reason; the row keeps its value.
    void writeFailed(const QString &message);

private:
    struct ResolvedColumn
    {
        GridColumn column;
        int field = -1;
    };

    void resetFromRecordset();
    void resolveColumns();
    void onRowChanged(int visibleRow);
    void onRowInserted(int visibleRow);
    void onRowRemoved(int visibleRow);
    void onRecordsetDestroyed();
    int recordsetRow(int modelRow) const;
    int recordsetRowCount() const;

    QPointer<db::Recordset> m_recordset;
    QList<GridColumn> m_columns;
    QList<ResolvedColumn> m_resolved;
    int m_rowCount = 0;
    // While views are told of a row the recordset has already added or removed, the
    // model still shows the rows as they were before it.
    int m_pendingInsert = -1;
    int m_pendingRemove = -1;
    bool m_editable = false;
    QString m_lastError;
};

} // namespace quorl::ui
