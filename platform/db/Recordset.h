#pragma once

#include <cstdint>
#include <vector>

#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>

#include "platform/db/Error.h"
#include "platform/db/RowFilter.h"
#include "platform/db/Types.h"

namespace quorl::db {

class Connection;

// A client-side recordset: every row is read at open and the statement finalised at
// once, so no read lock outlives the open. Navigation, Filter, Find and Sort work on
// the rows held; writes go at once through the recordset's own connection (so they
// join its open transaction) to the base table of the written columns, identified by
// the table's key. A QObject, so bound views can follow it.
//
// A recordset without a source (fields appended, then Open()) keeps its rows in
// memory only.
class Recordset : public QObject
{
    Q_OBJECT

public:
    explicit Recordset(QObject *parent = nullptr);
    ~Recordset() override;

    // A table name (options 2 or 512, or a bare name) or SELECT text. Throws Error;
    // a failed open leaves the recordset closed with lastError() saying why.
    void Open(const QString &source, Connection *connection, LockTypeEnum lock = adLockReadOnly,
              int options = adCmdUnspecified);
    // Opens a recordset built with appendField(), empty, in memory.
    void Open();
    void Close();
    bool isOpen() const { return m_open; }
    QString Source() const { return m_source; }
    Connection *ActiveConnection() const { return m_connection; }
    LockTypeEnum LockType() const { return m_lock; }
    // Values for the PARAMETERS of the source, in declaration order; kept for Requery.
    void setParameters(const QVariantList &values) { m_parameters = values; }

    void setLastError(const QString &message) { m_lastError = message; }
    QString lastError() const { return m_lastError; }

    // A closed recordset reads as empty: both true, no rows.
    bool isEOF() const;
    bool isBOF() const;
    int RecordCount() const;
    // 1-based over the visible rows; adPosBOF / adPosEOF off them.
    int AbsolutePosition() const;
    void setAbsolutePosition(int position);
    void MoveFirst();
    void MoveLast();
    void MoveNext();
    void MovePrevious();
    void Move(int rows);
    QVariant Bookmark() const;
    void setBookmark(const QVariant &bookmark);
    // The current visible row, 0-based; -1 when there is none.
    int currentRow() const;

    int fieldCount() const { return int(m_columns.size()); }
    QString fieldName(int field) const;
    int fieldIndex(const QString &name) const;   // without regard to letter case; -1 when missing
    FieldType fieldType(int field) const;
    bool isFieldUpdatable(int field) const;
    int fieldDefinedSize(int field) const;

    // Null is an invalid QVariant; Date fields give QDateTime, Boolean fields bool.
    // Throws at BOF/EOF, on a deleted row, or for an unknown field.
    QVariant value(const QString &field) const;
    QVariant value(int field) const;
    // The current row's cell in its stored form (a date as its text "YYYY-MM-DD HH:MM:SS"),
    // for callers that write many values out and need no date arithmetic.
    QVariant storedValue(int field) const;
    // Any visible row, as a bound view shows it (the current row with its pending edit).
    QVariant valueAt(int visibleRow, int field) const;
    // Starts an edit of the current row; the value is checked against the field type.
    void setValue(const QString &field, const QVariant &value);
    void setValue(int field, const QVariant &value);

    QString Filter() const { return m_filter; }
    void setFilter(const QString &filter);   // "" clears; moves to the first row
    QString Sort() const { return m_sort; }
    void setSort(const QString &sort);       // "" clears; moves to the first row
    // Searches from the current row (skipRecords further on); not found leaves the
    // position at EOF (or BOF searching backwards).
    void Find(const QString &criteria, int skipRecords = 0, bool forward = true);
    // Reads the rows again; Filter and Sort stay, the position goes to the first row.
    void Requery();

    void AddNew();
    void Update();
    void CancelUpdate();
    // Deletes the current row; it stays current (no values) until the caller moves.
    void Delete();
    void UpdateBatch();
    EditModeEnum EditMode() const { return m_editMode; }

    void appendField(const QString &name, FieldType type, int definedSize = 0);

signals:
    void rowsReset();
    void currentChanged();
    void rowChanged(int visibleRow);
    void rowInserted(int visibleRow);
    void rowRemoved(int visibleRow);

private:
    friend class Connection;

    enum class ReadAs : std::uint8_t { Any, Long, Double, Boolean, Text };

    struct Column
    {
        QString name;
        FieldType type = FieldType::Empty;
        int definedSize = 0;
        ReadAs readAs = ReadAs::Any;
        QString table;    // base table and column; empty for a computed column
        QString origin;
        bool autoNumber = false;
        bool updatable = false;
    };

    struct BaseTable
    {
        QString name;
        std::vector<int> columns;      // the recordset's columns from this table
        std::vector<int> keyColumns;   // the key; every column when the table has none
        bool byAllColumns = false;
        // False when the table has a key the recordset does not hold all of (a join
        // showing a customer's name, a DISTINCT list): its rows could not be told apart.
        bool writable = true;
    };

    struct Loaded
    {
        std::vector<Column> columns;
        std::vector<QVariant> cells;
        std::vector<BaseTable> tables;
        size_t rows = 0;
    };

    Connection *connection() const;
    void requireOpen() const;
    void requireCurrent() const;
    void requireWritable() const;
    int requireField(int field) const;
    int requireField(const QString &name) const;
    int storageRow() const;
    const QVariant *storedRow(int storage) const;
    QVariant *storedRow(int storage);
    std::vector<FieldInfo> fieldInfos() const;
    FieldLookup lookup() const;

    QString sqlForSource(QStringList *parameterNames) const;
    Loaded load(const QString &sql) const;
    void describeTables(Loaded &loaded) const;
    void install(Loaded &&loaded);
    void rebuildVisible();
    void moveTo(int position);
    void flushEdit();
    void clearEdit();

    QString keyCondition(const BaseTable &table, const QVariant *row, QVariantList *binds) const;
    qint64 runWrite(const QString &sql, const QVariantList &binds);
    void writeChanges();
    void writeNewRow();
    void writeDelete();

    bool m_open = false;
    bool m_inMemory = false;
    QString m_source;
    QString m_sql;
    int m_options = adCmdUnspecified;
    LockTypeEnum m_lock = adLockReadOnly;
    Connection *m_connection = nullptr;
    QVariantList m_parameters;
    QString m_lastError;

    std::vector<Column> m_columns;
    std::vector<BaseTable> m_tables;
    std::vector<QVariant> m_cells;     // stored rows one after the other, fieldCount() cells each
    std::vector<std::uint8_t> m_deleted;
    std::vector<int> m_visible;        // stored rows in the order shown
    int m_pos = -1;                    // index into m_visible; -1 BOF, size() EOF
    bool m_currentDeleted = false;

    EditModeEnum m_editMode = adEditNone;
    std::vector<QVariant> m_edit;
    std::vector<bool> m_changed;
    int m_editRow = -1;
    int m_positionBeforeAdd = -1;

    QString m_filter;
    RowFilter m_rowFilter;
    QString m_sort;
    std::vector<SortKey> m_sortKeys;
};

} // namespace quorl::db
