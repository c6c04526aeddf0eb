#include "reservations/Availability.h"

#include <algorithm>

#include <QGuiApplication>
#include <QPalette>

#include "platform/db/Connection.h"
#include "platform/db/Error.h"
#include "platform/db/Recordset.h"
#include "platform/db/SqlText.h"

namespace quorl {

QString AvailabilityQuery(int mode, qint64 bookingId)
{
    QString sql = QStringLiteral(
        "PARAMETERS DATETO DateTime, DATEFROM DateTime; SELECT ID, Name, Length, Width, HasPower, DailyHireCharge "
        "FROM Berth B LEFT JOIN (");
    sql += QStringLiteral("SELECT DISTINCT BerthID FROM Booking BO INNER JOIN BookingBerth BB ON BO.ID = BB.BookingID ");
    sql += QStringLiteral(" WHERE BO.FromDate < [DATETO] AND BO.ToDate > [DATEFROM] ");
    if (mode == 2)
        sql += QStringLiteral(" AND BO.ID <> ") + db::sqlNumber(bookingId);
    sql += QStringLiteral(") as BE ON B.ID = BE.BerthID WHERE BE.BerthID is null and B.Active = -1");
    return sql;
}

std::unique_ptr<db::Recordset> runAvailabilityQuery(db::Connection &connection, const QDateTime &fromDateTime,
                                                    const QDateTime &toDateTime, int mode, qint64 bookingId)
{
    return connection.ExecuteQuery(AvailabilityQuery(mode, bookingId), {QVariant(toDateTime), QVariant(fromDateTime)});
}

QList<qint64> bookingBerthIds(db::Connection &connection, qint64 bookingId)
{
    QList<qint64> ids;
    auto berths = connection.ExecuteQuery(QStringLiteral("SELECT BerthID from BookingBerth WHERE BookingID = ")
                                          + db::sqlNumber(bookingId));
    for (; !berths->isEOF(); berths->MoveNext())
        ids.append(berths->value(0).toLongLong());
    return ids;
}

AvailableBerthsModel::AvailableBerthsModel(QObject *parent)
    : QAbstractTableModel(parent)
{
}

void AvailableBerthsModel::load(db::Recordset &available)
{
    beginResetModel();
    m_berths.clear();
    m_berths.reserve(std::size_t(std::max(0, available.RecordCount())));
    if (available.RecordCount() > 0) {
        for (available.MoveFirst(); !available.isEOF(); available.MoveNext()) {
            AvailableBerth berth;
            berth.id = available.value(ColumnID).toLongLong();
            berth.name = available.value(ColumnName).toString();
            berth.length = available.value(ColumnLength);
            berth.width = available.value(ColumnWidth);
            berth.hasPower = available.value(ColumnHasPower);
            berth.dailyHireCharge = available.value(ColumnDailyHireCharge);
            m_berths.push_back(std::move(berth));
        }
    }
    m_marks.assign(m_berths.size(), false);
    endResetModel();
}

void AvailableBerthsModel::clear()
{
    beginResetModel();
    m_berths.clear();
    m_marks.clear();
    endResetModel();
}

int AvailableBerthsModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_berths.size());
}

int AvailableBerthsModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant AvailableBerthsModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= ColumnCount)
        return {};
    const AvailableBerth &row = m_berths.at(std::size_t(index.row()));
    const bool marked = m_marks.at(std::size_t(index.row()));
    const bool drawnMarked = marked && index.column() >= ColumnName && index.column() <= ColumnHasPower;
    switch (role) {
    case Qt::DisplayRole:
        switch (index.column()) {
        case ColumnID:
            return row.id;
        case ColumnName:
            return row.name;
        case ColumnLength:
            return row.length;
        case ColumnWidth:
            return row.width;
        case ColumnHasPower:
            if (row.hasPower.isNull() || !row.hasPower.isValid())
                return {};
            return row.hasPower.toBool() ? tr("Yes") : tr("No");
        case ColumnDailyHireCharge:
            return row.dailyHireCharge;
        }
        return {};
    case Qt::BackgroundRole:
        if (drawnMarked)
            return QGuiApplication::palette().brush(QPalette::Active, QPalette::Highlight);
        return {};
    case Qt::ForegroundRole:
        if (drawnMarked)
            return QGuiApplication::palette().brush(QPalette::Active, QPalette::HighlightedText);
        return {};
    case Qt::AccessibleDescriptionRole:
        return marked ? tr("selected") : QVariant();
    default:
        return {};
    }
}

QVariant AvailableBerthsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    switch (section) {
    case ColumnID:
        return tr("ID");
    case ColumnName:
        return tr("Name");
    case ColumnLength:
        return tr("Length");
    case ColumnWidth:
        return tr("Width");
    case ColumnHasPower:
        return tr("Power");
    case ColumnDailyHireCharge:
        return tr("Daily Charge");
    }
    return {};
}

int AvailableBerthsModel::rowOfBerth(qint64 berthId) const
{
    for (std::size_t row = 0; row < m_berths.size(); ++row) {
        if (m_berths[row].id == berthId)
            return int(row);
    }
    return -1;
}

bool AvailableBerthsModel::isMarked(int row) const
{
    return row >= 0 && std::size_t(row) < m_marks.size() && m_marks[std::size_t(row)];
}

bool AvailableBerthsModel::setMarked(int row, bool marked)
{
    if (row < 0 || std::size_t(row) >= m_marks.size() || m_marks[std::size_t(row)] == marked)
        return false;
    m_marks[std::size_t(row)] = marked;
    emit dataChanged(index(row, 0), index(row, ColumnCount - 1),
                     {Qt::BackgroundRole, Qt::ForegroundRole, Qt::AccessibleDescriptionRole});
    return true;
}

int AvailableBerthsModel::markedCount() const
{
    return int(std::count(m_marks.begin(), m_marks.end(), true));
}

QList<AvailableBerth> AvailableBerthsModel::markedBerths() const
{
    QList<AvailableBerth> marked;
    for (std::size_t row = 0; row < m_berths.size(); ++row) {
        if (m_marks[row])
            marked.append(m_berths[row]);
    }
    return marked;
}

} // namespace quorl
