#include "platform/db/Recordset.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

#include <QLocale>

#include <sqlite3.h>

#include "platform/db/Connection.h"
#include "platform/db/FieldValue.h"
#include "platform/db/JetSql.h"
#include "platform/db/ShapeCommand.h"
#include "platform/db/Sqlite.h"

namespace quorl::db {
namespace {

QString quoteName(QString name)
{
    name.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + name + QLatin1Char('"');
}

QString fromUtf8(const unsigned char *text)
{
    return text ? QString::fromUtf8(reinterpret_cast<const char *>(text)) : QString();
}

bool isNameToken(const JetToken &t)
{
    return t.kind == JetToken::Word || t.kind == JetToken::Bracketed || t.kind == JetToken::Backquoted;
}

// One cell as stored, in the form the field's type keeps (readAs: Recordset::ReadAs).
QVariant readCell(sqlite3_stmt *statement, int column, std::uint8_t readAs)
{
    enum { Any, Long, Double, Boolean, Text };
    switch (sqlite3_column_type(statement, column)) {
    case SQLITE_NULL:
        return QVariant();
    case SQLITE_INTEGER: {
        const qint64 v = sqlite3_column_int64(statement, column);
        switch (readAs) {
        case Boolean: return QVariant(v != 0);
        case Double: return QVariant(double(v));
        case Text: return QVariant(QString::number(v));
        default:
            if (v >= std::numeric_limits<int>::min() && v <= std::numeric_limits<int>::max())
                return QVariant(int(v));
            return QVariant(qlonglong(v));
        }
    }
    case SQLITE_FLOAT: {
        const double v = sqlite3_column_double(statement, column);
        switch (readAs) {
        case Boolean: return QVariant(v != 0);
        case Text: return QVariant(numberText(v));
        case Long:
            if (v >= std::numeric_limits<int>::min() && v <= std::numeric_limits<int>::max() && v == std::trunc(v))
                return QVariant(int(v));
            return QVariant(v);
        default: return QVariant(v);
        }
    }
    case SQLITE_TEXT: {
        const char *text = reinterpret_cast<const char *>(sqlite3_column_text(statement, column));
        const int bytes = sqlite3_column_bytes(statement, column);
        return QVariant(QString::fromUtf8(text, bytes));
    }
    default: {
        const char *data = static_cast<const char *>(sqlite3_column_blob(statement, column));
        return QVariant(QByteArray(data, sqlite3_column_bytes(statement, column)));
    }
    }
}

} // namespace

Recordset::Recordset(QObject *parent)
    : QObject(parent)
{
}

Recordset::~Recordset()
{
    if (m_connection)
        m_connection->detach(this);
}

// --- opening ---------------------------------------------------------------------

void Recordset::Open(const QString &source, Connection *connection, LockTypeEnum lock, int options)
{
    Close();
    m_lastError.clear();
    m_source = source;
    m_lock = lock;
    m_options = options;
    m_inMemory = false;
    m_filter.clear();
    m_rowFilter = RowFilter();
    m_sort.clear();
    m_sortKeys.clear();
    try {
        if (!connection)
            throw Error(QStringLiteral("No database connection was given for the recordset."));
        if (!connection->isOpen())
            throw Error(QStringLiteral("The database connection is closed."));
        m_connection = connection;
        connection->attach(this);
        QStringList parameterNames;
        m_sql = sqlForSource(&parameterNames);
        install(load(m_sql));
    } catch (const Error &e) {
        if (m_connection) {
            m_connection->detach(this);
            m_connection = nullptr;
        }
        m_columns.clear();
        m_tables.clear();
        m_cells.clear();
        m_deleted.clear();
        m_visible.clear();
        m_lastError = e.message();
        throw;
    }
    m_open = true;
    m_pos = m_visible.empty() ? -1 : 0;
    m_currentDeleted = false;
    emit rowsReset();
    emit currentChanged();
}

void Recordset::Open()
{
    if (m_open)
        Close();
    if (!m_inMemory || m_columns.empty())
        throw Error(QStringLiteral("The recordset has no source and no fields to open."));
    m_lastError.clear();
    m_source.clear();
    m_sql.clear();
    m_lock = adLockBatchOptimistic;
    m_cells.clear();
    m_deleted.clear();
    m_visible.clear();
    m_tables.clear();
    clearEdit();
    m_open = true;
    m_pos = -1;
    m_currentDeleted = false;
    emit rowsReset();
    emit currentChanged();
}

void Recordset::Close()
{
    if (!m_open)
        return;
    clearEdit();
    if (m_connection) {
        m_connection->detach(this);
        m_connection = nullptr;
    }
    m_cells.clear();
    m_deleted.clear();
    m_visible.clear();
    m_tables.clear();
    if (!m_inMemory)
        m_columns.clear();
    m_open = false;
    m_pos = -1;
    m_currentDeleted = false;
    m_filter.clear();
    m_rowFilter = RowFilter();
    m_sort.clear();
    m_sortKeys.clear();
    emit rowsReset();
}

void Recordset::appendField(const QString &name, FieldType type, int definedSize)
{
    if (m_open)
        throw Error(QStringLiteral("Fields can only be appended to a closed recordset."));
    if (!m_inMemory) {
        m_columns.clear();
        m_inMemory = true;
    }
    Column column;
    column.name = name;
    column.type = type;
    column.definedSize = definedSize;
    column.updatable = true;
    m_columns.push_back(std::move(column));
}

QString Recordset::sqlForSource(QStringList *parameterNames) const
{
    const QString text = m_source.trimmed();
    if (text.isEmpty())
        throw Error(QStringLiteral("The recordset has no source."));
    if (isShapeCommand(text))
        throw Error(QStringLiteral("A SHAPE command is no recordset source; it is run by the report layer."));

    std::vector<JetToken> significant;
    for (JetToken &t : tokenizeJet(text))
        if (t.kind != JetToken::Space)
            significant.push_back(std::move(t));
    const bool looksLikeSql = !significant.empty()
        && (significant[0].isWord("SELECT") || significant[0].isWord("PARAMETERS") || significant[0].isWord("WITH")
            || significant[0].isSymbol("("));
    const bool tableOption = m_options != adCmdUnspecified
        && ((m_options & adCmdTableDirect) != 0 || (m_options & 0xf) == adCmdTable);
    const bool bareName = significant.size() == 1 && isNameToken(significant[0]);

    if (!looksLikeSql && (bareName || tableOption)) {
        const QString name = bareName ? significant[0].value : text;
        detail::Statement find(connection()->handle(),
                               QStringLiteral("SELECT name FROM sqlite_master WHERE type IN ('table', 'view') "
                                              "AND name = ?1 COLLATE NOCASE"));
        find.bind(1, name);
        if (!find.step())
            throw Error(QStringLiteral("There is no table named \"%1\".").arg(name));
        // The columns in the table's own order.
        return QStringLiteral("SELECT * FROM ") + quoteName(fromUtf8(sqlite3_column_text(find.get(), 0)));
    }
    TranslatedSql translated = translateJetSql(text);
    *parameterNames = translated.parameters;
    return translated.sql;
}

Recordset::Loaded Recordset::load(const QString &sql) const
{
    Loaded out;
    sqlite3 *db = connection()->handle();
    const QByteArray utf8 = sql.toUtf8();
    const char *tail = nullptr;
    detail::Statement statement(db, utf8.constData(), int(utf8.size()), &tail);
    if (!statement)
        throw Error(QStringLiteral("The source holds no statement: %1").arg(m_source));
    for (const char *p = tail; p && *p; ++p)
        if (!QChar::isSpace(uchar(*p)) && *p != ';')
            throw Error(QStringLiteral("The source holds more than one statement: %1").arg(m_source));
    sqlite3_stmt *st = statement.get();

    const int parameters = sqlite3_bind_parameter_count(st);
    if (parameters > m_parameters.size())
        throw Error(QStringLiteral("The query needs %1 parameter value(s); %2 given.")
                        .arg(parameters)
                        .arg(m_parameters.size()));
    for (int i = 0; i < parameters; ++i)
        statement.bind(i + 1, m_parameters[i]);

    const int columnCount = sqlite3_column_count(st);
    if (columnCount == 0)
        throw Error(QStringLiteral("The source returns no rows: %1").arg(m_source));
    out.columns.resize(size_t(columnCount));
    for (int i = 0; i < columnCount; ++i) {
        Column &column = out.columns[size_t(i)];
        column.name = fromUtf8(reinterpret_cast<const unsigned char *>(sqlite3_column_name(st, i)));
        column.table = fromUtf8(reinterpret_cast<const unsigned char *>(sqlite3_column_table_name(st, i)));
        column.origin = fromUtf8(reinterpret_cast<const unsigned char *>(sqlite3_column_origin_name(st, i)));
        // SQLite may call a column of a nested join "Notes:1"; Jet calls it "Notes".
        const qsizetype colon = column.name.lastIndexOf(QLatin1Char(':'));
        if (colon > 0 && !column.origin.isEmpty()) {
            bool number = false;
            column.name.mid(colon + 1).toInt(&number);
            if (number && column.name.left(colon).compare(column.origin, Qt::CaseInsensitive) == 0)
                column.name.truncate(colon);
        }
        const char *declared = sqlite3_column_decltype(st, i);
        column.type = declared ? fieldTypeFromDeclared(QString::fromUtf8(declared), &column.definedSize)
                               : FieldType::Empty;
        switch (column.type) {
        case FieldType::Long: column.readAs = ReadAs::Long; break;
        case FieldType::Double:
        case FieldType::Currency: column.readAs = ReadAs::Double; break;
        case FieldType::Boolean: column.readAs = ReadAs::Boolean; break;
        case FieldType::Date:
        case FieldType::Text:
        case FieldType::Memo: column.readAs = ReadAs::Text; break;
        case FieldType::Empty: column.readAs = ReadAs::Any; break;
        }
    }

    std::vector<std::uint8_t> readAs(out.columns.size());
    for (int i = 0; i < columnCount; ++i)
        readAs[size_t(i)] = std::uint8_t(out.columns[size_t(i)].readAs);
    out.cells.reserve(size_t(columnCount) * 1024);
    while (statement.step()) {
        for (int i = 0; i < columnCount; ++i)
            out.cells.emplace_back(readCell(st, i, readAs[size_t(i)]));
        ++out.rows;
    }

    // A computed column takes its type from its values.
    for (int i = 0; i < columnCount; ++i) {
        Column &column = out.columns[size_t(i)];
        if (column.type != FieldType::Empty)
            continue;
        column.type = FieldType::Text;
        for (size_t r = 0; r < out.rows; ++r) {
            const QVariant &cell = out.cells[r * size_t(columnCount) + size_t(i)];
            if (!cell.isValid())
                continue;
            switch (cell.typeId()) {
            case QMetaType::Int:
            case QMetaType::LongLong: column.type = FieldType::Long; break;
            case QMetaType::Double: column.type = FieldType::Double; break;
            default: column.type = FieldType::Text; break;
            }
            break;
        }
    }
    describeTables(out);
    return out;
}

void Recordset::describeTables(Loaded &loaded) const
{
    sqlite3 *db = connection()->handle();
    for (int i = 0; i < int(loaded.columns.size()); ++i) {
        const Column &column = loaded.columns[size_t(i)];
        if (column.table.isEmpty())
            continue;
        auto it = std::find_if(loaded.tables.begin(), loaded.tables.end(), [&](const BaseTable &t) {
            return t.name.compare(column.table, Qt::CaseInsensitive) == 0;
        });
        if (it == loaded.tables.end()) {
            loaded.tables.push_back(BaseTable{column.table, {}, {}, false});
            it = loaded.tables.end() - 1;
        }
        it->columns.push_back(i);
    }
    for (BaseTable &table : loaded.tables) {
        // The table's key, in key order.
        std::vector<std::pair<int, QString>> key;
        QString keyType;
        detail::Statement info(db, QStringLiteral("PRAGMA table_info(%1)").arg(quoteName(table.name)));
        while (info.step()) {
            const int pk = sqlite3_column_int(info.get(), 5);
            if (pk > 0) {
                key.emplace_back(pk, fromUtf8(sqlite3_column_text(info.get(), 1)));
                keyType = fromUtf8(sqlite3_column_text(info.get(), 2));
            }
        }
        std::sort(key.begin(), key.end());
        const bool autoNumber = key.size() == 1 && keyType.compare(QLatin1String("INTEGER"), Qt::CaseInsensitive) == 0;
        for (const auto &[order, keyName] : key) {
            Q_UNUSED(order);
            const auto found = std::find_if(table.columns.begin(), table.columns.end(), [&](int c) {
                return loaded.columns[size_t(c)].origin.compare(keyName, Qt::CaseInsensitive) == 0;
            });
            if (found == table.columns.end()) {
                // Without its whole key a row could only be guessed at by the values
                // shown, and a write might land on another row with the same values.
                table.keyColumns.clear();
                table.writable = false;
                break;
            }
            table.keyColumns.push_back(*found);
            if (autoNumber)
                loaded.columns[size_t(*found)].autoNumber = true;
        }
        if (key.empty()) {
            // A table without a key (the scratch table): a row is known by all its values.
            table.byAllColumns = true;
            table.keyColumns = table.columns;
        }
    }
    for (Column &column : loaded.columns) {
        const auto table = std::find_if(loaded.tables.begin(), loaded.tables.end(), [&](const BaseTable &t) {
            return !column.table.isEmpty() && t.name.compare(column.table, Qt::CaseInsensitive) == 0;
        });
        column.updatable =
            m_lock != adLockReadOnly && table != loaded.tables.end() && table->writable && !column.autoNumber;
    }
}

void Recordset::install(Loaded &&loaded)
{
    // The Filter and Sort in force are read against the new fields before anything is
    // replaced: one that no longer fits (a computed column that now holds numbers)
    // throws and leaves the rows, and the positions into them, as they were.
    std::vector<FieldInfo> infos;
    infos.reserve(loaded.columns.size());
    for (const Column &column : loaded.columns)
        infos.push_back(FieldInfo{column.name, column.type});
    const FieldLookup lookupLoaded = [&loaded](const QString &name) {
        for (size_t i = 0; i < loaded.columns.size(); ++i)
            if (loaded.columns[i].name.compare(name, Qt::CaseInsensitive) == 0)
                return int(i);
        return -1;
    };
    RowFilter rowFilter = m_filter.isEmpty() ? RowFilter() : RowFilter(m_filter, infos, lookupLoaded);
    std::vector<SortKey> sortKeys = m_sort.isEmpty() ? std::vector<SortKey>() : parseSort(m_sort, infos, lookupLoaded);

    m_columns = std::move(loaded.columns);
    m_tables = std::move(loaded.tables);
    m_cells = std::move(loaded.cells);
    m_deleted.assign(loaded.rows, 0);
    clearEdit();
    m_rowFilter = std::move(rowFilter);
    m_sortKeys = std::move(sortKeys);
    rebuildVisible();
}

void Recordset::rebuildVisible()
{
    const size_t columns = m_columns.size();
    m_visible.clear();
    m_visible.reserve(m_deleted.size());
    for (size_t r = 0; r < m_deleted.size(); ++r) {
        if (m_deleted[r])
            continue;
        if (!m_rowFilter.isEmpty() && !m_rowFilter.matches(m_cells.data() + r * columns))
            continue;
        m_visible.push_back(int(r));
    }
    if (m_sortKeys.empty())
        return;
    std::stable_sort(m_visible.begin(), m_visible.end(), [&](int a, int b) {
        const QVariant *rowA = m_cells.data() + size_t(a) * columns;
        const QVariant *rowB = m_cells.data() + size_t(b) * columns;
        for (const SortKey &key : m_sortKeys) {
            const int order = compareCells(rowA[key.field], rowB[key.field], key.type);
            if (order != 0)
                return key.descending ? order > 0 : order < 0;
        }
        return false;
    });
}

// --- checks and helpers ----------------------------------------------------------

Connection *Recordset::connection() const
{
    if (!m_connection)
        throw Error(QStringLiteral("The recordset has no open database connection."));
    return m_connection;
}

void Recordset::requireOpen() const
{
    if (!m_open) {
        if (!m_lastError.isEmpty())
            throw Error(QStringLiteral("The recordset could not be opened: %1").arg(m_lastError));
        throw Error(QStringLiteral("The recordset is closed."));
    }
}

void Recordset::requireCurrent() const
{
    requireOpen();
    if (m_currentDeleted)
        throw Error(QStringLiteral("The current row has been deleted."));
    if (m_pos < 0 || m_pos >= int(m_visible.size()))
        throw Error(QStringLiteral("There is no current row: the position is before the first or after the last row."));
}

void Recordset::requireWritable() const
{
    requireOpen();
    if (!m_inMemory && m_lock == adLockReadOnly)
        throw Error(QStringLiteral("The recordset is read-only."));
}

int Recordset::requireField(int field) const
{
    if (field < 0 || field >= fieldCount())
        throw Error(QStringLiteral("The recordset has no field number %1.").arg(field));
    return field;
}

int Recordset::requireField(const QString &name) const
{
    const int field = fieldIndex(name);
    if (field < 0)
        throw Error(QStringLiteral("The recordset has no field named \"%1\".").arg(name));
    return field;
}

int Recordset::storageRow() const
{
    return m_visible[size_t(m_pos)];
}

const QVariant *Recordset::storedRow(int storage) const
{
    return m_cells.data() + size_t(storage) * m_columns.size();
}

QVariant *Recordset::storedRow(int storage)
{
    return m_cells.data() + size_t(storage) * m_columns.size();
}

std::vector<FieldInfo> Recordset::fieldInfos() const
{
    std::vector<FieldInfo> infos;
    infos.reserve(m_columns.size());
    for (const Column &column : m_columns)
        infos.push_back(FieldInfo{column.name, column.type});
    return infos;
}

FieldLookup Recordset::lookup() const
{
    return [this](const QString &name) { return fieldIndex(name); };
}

void Recordset::moveTo(int position)
{
    m_pos = position;
    m_currentDeleted = false;
    emit currentChanged();
}

void Recordset::flushEdit()
{
    // A pending edit is saved when the position changes, as the bound windows expect.
    if (m_editMode != adEditNone)
        Update();
}

void Recordset::clearEdit()
{
    m_editMode = adEditNone;
    m_edit.clear();
    m_changed.clear();
    m_editRow = -1;
}

// --- position --------------------------------------------------------------------

bool Recordset::isEOF() const
{
    if (!m_open)
        return true;
    if (m_currentDeleted)
        return false;
    return m_visible.empty() || m_pos >= int(m_visible.size());
}

bool Recordset::isBOF() const
{
    if (!m_open)
        return true;
    if (m_currentDeleted)
        return false;
    return m_visible.empty() || m_pos < 0;
}

int Recordset::RecordCount() const
{
    return m_open ? int(m_visible.size()) : 0;
}

int Recordset::AbsolutePosition() const
{
    if (!m_open || m_currentDeleted)
        return adPosUnknown;
    if (isBOF())
        return adPosBOF;
    if (isEOF())
        return adPosEOF;
    return m_pos + 1;
}

void Recordset::setAbsolutePosition(int position)
{
    requireOpen();
    if (position < 1 || position > int(m_visible.size()))
        throw Error(QStringLiteral("There is no row at position %1.").arg(position));
    flushEdit();
    moveTo(position - 1);
}

void Recordset::MoveFirst()
{
    requireOpen();
    flushEdit();
    moveTo(m_visible.empty() ? -1 : 0);
}

void Recordset::MoveLast()
{
    requireOpen();
    flushEdit();
    moveTo(int(m_visible.size()) - 1);
}

void Recordset::MoveNext()
{
    requireOpen();
    const int count = int(m_visible.size());
    if (m_currentDeleted) {
        // The deleted row's place is taken by the row that followed it.
        moveTo(std::min(m_pos, count));
        return;
    }
    if (isEOF())
        throw Error(QStringLiteral("The position is already after the last row."));
    flushEdit();
    moveTo(std::min(m_pos + 1, count));
}

void Recordset::MovePrevious()
{
    requireOpen();
    if (m_currentDeleted) {
        moveTo(std::max(m_pos - 1, -1));
        return;
    }
    if (isBOF())
        throw Error(QStringLiteral("The position is already before the first row."));
    flushEdit();
    moveTo(std::max(m_pos - 1, -1));
}

void Recordset::Move(int rows)
{
    requireOpen();
    const int count = int(m_visible.size());
    int target;
    if (m_currentDeleted) {
        target = rows > 0 ? m_pos + rows - 1 : m_pos + rows;
    } else {
        if (rows == 0) {
            requireCurrent();
            return;
        }
        if ((rows > 0 && isEOF()) || (rows < 0 && isBOF()))
            throw Error(QStringLiteral("The position is already off the rows."));
        flushEdit();
        target = m_pos + rows;
    }
    moveTo(std::clamp(target, -1, count));
}

QVariant Recordset::Bookmark() const
{
    requireCurrent();
    return QVariant(storageRow());
}

void Recordset::setBookmark(const QVariant &bookmark)
{
    requireOpen();
    bool ok = false;
    const int storage = bookmark.toInt(&ok);
    const auto it = ok ? std::find(m_visible.begin(), m_visible.end(), storage) : m_visible.end();
    if (it == m_visible.end())
        throw Error(QStringLiteral("The bookmark names no row of the recordset."));
    flushEdit();
    moveTo(int(it - m_visible.begin()));
}

int Recordset::currentRow() const
{
    if (!m_open || m_currentDeleted || m_pos < 0 || m_pos >= int(m_visible.size()))
        return -1;
    return m_pos;
}

// --- fields ----------------------------------------------------------------------

QString Recordset::fieldName(int field) const
{
    return m_columns[size_t(requireField(field))].name;
}

int Recordset::fieldIndex(const QString &name) const
{
    for (size_t i = 0; i < m_columns.size(); ++i)
        if (m_columns[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return int(i);
    return -1;
}

FieldType Recordset::fieldType(int field) const
{
    return m_columns[size_t(requireField(field))].type;
}

bool Recordset::isFieldUpdatable(int field) const
{
    return m_columns[size_t(requireField(field))].updatable;
}

int Recordset::fieldDefinedSize(int field) const
{
    return m_columns[size_t(requireField(field))].definedSize;
}

QVariant Recordset::value(const QString &field) const
{
    return value(requireField(field));
}

QVariant Recordset::value(int field) const
{
    requireCurrent();
    requireField(field);
    const int storage = storageRow();
    const QVariant &cell = m_editMode != adEditNone && m_editRow == storage ? m_edit[size_t(field)]
                                                                           : storedRow(storage)[field];
    return readableValue(cell, m_columns[size_t(field)].type);
}

QVariant Recordset::storedValue(int field) const
{
    requireCurrent();
    requireField(field);
    const int storage = storageRow();
    return m_editMode != adEditNone && m_editRow == storage ? m_edit[size_t(field)] : storedRow(storage)[field];
}

QVariant Recordset::valueAt(int visibleRow, int field) const
{
    requireOpen();
    requireField(field);
    if (visibleRow < 0 || visibleRow >= int(m_visible.size()))
        throw Error(QStringLiteral("There is no row %1.").arg(visibleRow));
    const int storage = m_visible[size_t(visibleRow)];
    const QVariant &cell = m_editMode != adEditNone && m_editRow == storage ? m_edit[size_t(field)]
                                                                           : storedRow(storage)[field];
    return readableValue(cell, m_columns[size_t(field)].type);
}

void Recordset::setValue(const QString &field, const QVariant &value)
{
    setValue(requireField(field), value);
}

void Recordset::setValue(int field, const QVariant &value)
{
    requireCurrent();
    requireWritable();
    requireField(field);
    const Column &column = m_columns[size_t(field)];
    if (!column.updatable)
        throw Error(QStringLiteral("The field \"%1\" cannot be changed.").arg(column.name));
    QVariant stored = coerceForField(value, column.type, column.definedSize, column.name);
    if (m_editMode == adEditNone) {
        const int storage = storageRow();
        const QVariant *row = storedRow(storage);
        m_edit.assign(row, row + m_columns.size());
        m_changed.assign(m_columns.size(), false);
        m_editRow = storage;
        m_editMode = adEditInProgress;
    }
    m_edit[size_t(field)] = std::move(stored);
    m_changed[size_t(field)] = true;
    emit rowChanged(m_pos);
}

// --- filter, sort, find ----------------------------------------------------------

void Recordset::setFilter(const QString &filter)
{
    requireOpen();
    flushEdit();
    if (filter.trimmed().isEmpty()) {
        m_rowFilter = RowFilter();
        m_filter.clear();
    } else {
        m_rowFilter = RowFilter(filter, fieldInfos(), lookup());
        m_filter = filter;
    }
    rebuildVisible();
    emit rowsReset();
    moveTo(m_visible.empty() ? -1 : 0);
}

void Recordset::setSort(const QString &sort)
{
    requireOpen();
    flushEdit();
    if (sort.trimmed().isEmpty()) {
        m_sortKeys.clear();
        m_sort.clear();
    } else {
        m_sortKeys = parseSort(sort, fieldInfos(), lookup());
        m_sort = sort;
    }
    rebuildVisible();
    emit rowsReset();
    moveTo(m_visible.empty() ? -1 : 0);
}

void Recordset::Find(const QString &criteria, int skipRecords, bool forward)
{
    requireOpen();
    flushEdit();
    const RowFilter wanted(criteria, fieldInfos(), lookup());
    const int count = int(m_visible.size());
    int row;
    if (forward)
        row = std::max(m_pos, 0) + skipRecords;
    else
        row = (m_currentDeleted ? m_pos - 1 : std::min(m_pos, count - 1)) - skipRecords;
    const int step = forward ? 1 : -1;
    for (; row >= 0 && row < count; row += step) {
        if (wanted.matches(storedRow(m_visible[size_t(row)]))) {
            moveTo(row);
            return;
        }
    }
    moveTo(forward ? count : -1);
}

void Recordset::Requery()
{
    requireOpen();
    flushEdit();
    if (!m_inMemory)
        install(load(m_sql));
    else
        rebuildVisible();
    emit rowsReset();
    moveTo(m_visible.empty() ? -1 : 0);
}

// --- writes ----------------------------------------------------------------------

void Recordset::AddNew()
{
    requireWritable();
    flushEdit();
    m_positionBeforeAdd = m_pos;
    const size_t columns = m_columns.size();
    m_cells.resize(m_cells.size() + columns);
    m_deleted.push_back(0);
    const int storage = int(m_deleted.size()) - 1;
    m_visible.push_back(storage);
    m_edit.assign(columns, QVariant());
    m_changed.assign(columns, false);
    m_editRow = storage;
    m_editMode = adEditAdd;
    m_pos = int(m_visible.size()) - 1;
    m_currentDeleted = false;
    emit rowInserted(m_pos);
    emit currentChanged();
}

void Recordset::Update()
{
    requireOpen();
    if (m_editMode == adEditNone)
        return;
    if (!m_inMemory) {
        if (m_editMode == adEditAdd)
            writeNewRow();
        else
            writeChanges();
    }
    QVariant *row = storedRow(m_editRow);
    for (size_t f = 0; f < m_columns.size(); ++f)
        row[f] = std::move(m_edit[f]);
    const auto it = std::find(m_visible.begin(), m_visible.end(), m_editRow);
    clearEdit();
    if (it != m_visible.end())
        emit rowChanged(int(it - m_visible.begin()));
}

void Recordset::UpdateBatch()
{
    // Every change has been written at once; only a pending edit is left to save.
    requireOpen();
    flushEdit();
}

void Recordset::CancelUpdate()
{
    requireOpen();
    if (m_editMode == adEditNone)
        return;
    if (m_editMode == adEditInProgress) {
        const auto it = std::find(m_visible.begin(), m_visible.end(), m_editRow);
        clearEdit();
        if (it != m_visible.end())
            emit rowChanged(int(it - m_visible.begin()));
        return;
    }
    // The new row was never written: it goes, and the row current before comes back.
    const auto it = std::find(m_visible.begin(), m_visible.end(), m_editRow);
    const int removedAt = it != m_visible.end() ? int(it - m_visible.begin()) : -1;
    if (it != m_visible.end())
        m_visible.erase(it);
    m_cells.resize(m_cells.size() - m_columns.size());
    m_deleted.pop_back();
    clearEdit();
    if (removedAt >= 0)
        emit rowRemoved(removedAt);
    moveTo(std::clamp(m_positionBeforeAdd, -1, int(m_visible.size())));
}

void Recordset::Delete()
{
    requireWritable();
    requireCurrent();
    const int storage = storageRow();
    if (m_editMode == adEditAdd) {
        // Never written: it simply goes.
        clearEdit();
        m_cells.resize(m_cells.size() - m_columns.size());
        m_deleted.pop_back();
    } else {
        clearEdit();
        if (!m_inMemory)
            writeDelete();
        m_deleted[size_t(storage)] = 1;
    }
    const int removedAt = m_pos;
    m_visible.erase(m_visible.begin() + removedAt);
    m_currentDeleted = true;
    emit rowRemoved(removedAt);
}

QString Recordset::keyCondition(const BaseTable &table, const QVariant *row, QVariantList *binds) const
{
    QStringList parts;
    for (int c : table.keyColumns) {
        const Column &column = m_columns[size_t(c)];
        const QString name = quoteName(column.origin);
        const QVariant &cell = row[c];
        if (!cell.isValid()) {
            parts << name + QLatin1String(" IS NULL");
        } else if (column.type == FieldType::Boolean) {
            parts << QStringLiteral("(%1 <> 0) = ?").arg(name);
            binds->append(bindableValue(cell, FieldType::Boolean).toInt() != 0 ? 1 : 0);
        } else {
            // The value as it was read, so that a row is found whatever its stored form.
            parts << name + QLatin1String(" = ?");
            binds->append(cell);
        }
    }
    const QString condition = parts.join(QLatin1String(" AND "));
    if (!table.byAllColumns)
        return condition;
    return QStringLiteral("rowid = (SELECT rowid FROM %1 WHERE %2 LIMIT 1)").arg(quoteName(table.name), condition);
}

qint64 Recordset::runWrite(const QString &sql, const QVariantList &binds)
{
    Connection *c = connection();
    c->beginWrite();
    detail::Statement statement(c->handle(), sql);
    for (int i = 0; i < binds.size(); ++i)
        statement.bind(i + 1, binds[i]);
    try {
        while (statement.step()) {
        }
    } catch (const Error &) {
        c->noteFailure();
        throw;
    }
    return sqlite3_changes64(c->handle());
}

void Recordset::writeChanges()
{
    std::vector<const BaseTable *> touched;
    for (const BaseTable &table : m_tables)
        if (std::any_of(table.columns.begin(), table.columns.end(), [&](int c) { return m_changed[size_t(c)]; }))
            touched.push_back(&table);
    if (touched.empty())
        return;
    // Columns of two tables change together or not at all.
    std::optional<Savepoint> together;
    if (touched.size() > 1)
        together.emplace(*connection());
    const QVariant *original = storedRow(m_editRow);
    for (const BaseTable *table : touched) {
        QStringList assignments;
        QVariantList binds;
        for (int c : table->columns) {
            if (!m_changed[size_t(c)])
                continue;
            const Column &column = m_columns[size_t(c)];
            assignments << quoteName(column.origin) + QLatin1String(" = ?");
            binds << bindableValue(m_edit[size_t(c)], column.type);
        }
        const QString sql = QStringLiteral("UPDATE %1 SET %2 WHERE %3")
                                .arg(quoteName(table->name), assignments.join(QLatin1String(", ")),
                                     keyCondition(*table, original, &binds));
        if (runWrite(sql, binds) == 0)
            throw Error(QStringLiteral("The row to change is no longer in the table \"%1\"; "
                                       "it may have been changed or deleted meanwhile.")
                            .arg(table->name));
    }
    if (together)
        together->release();
}

void Recordset::writeNewRow()
{
    const BaseTable *target = nullptr;
    for (const BaseTable &table : m_tables) {
        if (!std::any_of(table.columns.begin(), table.columns.end(), [&](int c) { return m_changed[size_t(c)]; }))
            continue;
        if (target)
            throw Error(QStringLiteral("A new row can only be added to one table at a time."));
        target = &table;
    }
    if (!target) {
        if (m_tables.size() != 1)
            throw Error(QStringLiteral("The new row names no table to add it to."));
        target = &m_tables.front();
    }
    if (!target->writable)
        throw Error(QStringLiteral("No row can be added to the table \"%1\" through this recordset: it does not "
                                   "hold the table's key.")
                        .arg(target->name));
    QStringList names, marks;
    QVariantList binds;
    for (int c : target->columns) {
        if (!m_changed[size_t(c)])
            continue;
        const Column &column = m_columns[size_t(c)];
        names << quoteName(column.origin);
        marks << QStringLiteral("?");
        binds << bindableValue(m_edit[size_t(c)], column.type);
    }
    const QString sql = names.isEmpty()
        ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(quoteName(target->name))
        : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
              .arg(quoteName(target->name), names.join(QLatin1String(", ")), marks.join(QLatin1String(", ")));
    runWrite(sql, binds);

    // Read the row back: the new autonumber and the columns' defaults.
    sqlite3 *db = connection()->handle();
    const qint64 rowid = sqlite3_last_insert_rowid(db);
    QStringList columns;
    for (int c : target->columns)
        columns << quoteName(m_columns[size_t(c)].origin);
    detail::Statement readBack(db, QStringLiteral("SELECT %1 FROM %2 WHERE rowid = ?1")
                                       .arg(columns.join(QLatin1String(", ")), quoteName(target->name)));
    readBack.bind(1, QVariant(rowid));
    if (readBack.step()) {
        for (size_t k = 0; k < target->columns.size(); ++k) {
            const int c = target->columns[k];
            m_edit[size_t(c)] = readCell(readBack.get(), int(k), std::uint8_t(m_columns[size_t(c)].readAs));
        }
    }
}

void Recordset::writeDelete()
{
    if (m_tables.size() != 1)
        throw Error(QStringLiteral("Rows can only be deleted from a recordset over one table."));
    const BaseTable &table = m_tables.front();
    if (!table.writable)
        throw Error(QStringLiteral("No row can be deleted from the table \"%1\" through this recordset: it does not "
                                   "hold the table's key.")
                        .arg(table.name));
    QVariantList binds;
    const QString sql = QStringLiteral("DELETE FROM %1 WHERE %2")
                            .arg(quoteName(table.name), keyCondition(table, storedRow(storageRow()), &binds));
    // A row someone else removed already is gone, as asked.
    runWrite(sql, binds);
}

} // namespace quorl::db
