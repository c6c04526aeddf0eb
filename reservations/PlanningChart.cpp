#include "reservations/PlanningChart.h"

#include <algorithm>

#include <QPainter>

#include "core/modFunctions.h"
#include "platform/db/FieldValue.h"
#include "platform/db/Recordset.h"

namespace quorl {

namespace {

constexpr qint64 kSecondsPerDay = 86400;
constexpr qint64 kHalfHour = 1800;
constexpr qint64 kFirstSlotOfDay = 8 * 3600;
constexpr qint64 kEndOfSlotDay = 20 * 3600;

QDateTime fromWallSeconds(qint64 seconds)
{
    const qint64 day = seconds / kSecondsPerDay;
    const qint64 time = seconds % kSecondsPerDay;
    return db::wallClockDateTime(QDate::fromJulianDay(day), QTime::fromMSecsSinceStartOfDay(int(time * 1000)));
}

qint64 halfHourOfDay(qint64 wall)
{
    const qint64 time = wall % kSecondsPerDay;
    return time - time % kHalfHour;
}

// The stored text "YYYY-MM-DD HH:MM[:SS]" as wallSeconds, read without time-zone rules.
qint64 storedWallSeconds(const QVariant &stored)
{
    const QString text = stored.toString();
    const auto number = [&text](int at, int length) {
        int value = 0;
        for (int i = at; i < at + length; ++i) {
            const char16_t c = text.at(i).unicode();
            if (c < u'0' || c > u'9')
                return -1;
            value = value * 10 + (c - u'0');
        }
        return value;
    };
    if (text.size() >= 16) {
        const QDate date(number(0, 4), number(5, 2), number(8, 2));
        const int hour = number(11, 2);
        const int minute = number(14, 2);
        const int second = text.size() >= 19 ? number(17, 2) : 0;
        if (date.isValid() && hour >= 0 && minute >= 0 && second >= 0)
            return date.toJulianDay() * kSecondsPerDay + hour * 3600 + minute * 60 + second;
    }
    return wallSeconds(db::dateFromStoredText(text));
}

bool sameBerths(const std::vector<ChartBerth> &a, const std::vector<ChartBerth> &b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const ChartBerth &x, const ChartBerth &y) {
        return x.id == y.id && x.name == y.name && x.active == y.active;
    });
}

} // namespace

int slotGridRows(int gridHeightTwips)
{
    return std::max(0, gridHeightTwips) / kSlotRowTwips + 1;
}

QDateTime chartDayStart(const QDate &day)
{
    return db::wallClockDateTime(day, QTime(8, 0));
}

qint64 wallSeconds(const QDateTime &value)
{
    if (!value.isValid())
        return 0;
    return value.date().toJulianDay() * kSecondsPerDay + value.time().msecsSinceStartOfDay() / 1000;
}

std::vector<QDateTime> BuildSlots(const QDateTime &start, int slotCount, int viewMode)
{
    std::vector<QDateTime> slotTimes;
    slotTimes.reserve(std::size_t(std::max(0, slotCount)));
    if (viewMode == kDayView) {
        for (int i = 0; i < slotCount; ++i)
            slotTimes.push_back(DateOnly(start.date().addDays(i)));
        return slotTimes;
    }
    qint64 cur = wallSeconds(start);
    for (int i = 0; i < slotCount; ++i) {
        // A day shows 08:00 to 19:30; what does not fit goes on at 08:00 of the next day.
        if (halfHourOfDay(cur) >= kEndOfSlotDay)
            cur = (cur / kSecondsPerDay + 1) * kSecondsPerDay + kFirstSlotOfDay;
        slotTimes.push_back(fromWallSeconds(cur));
        cur += kHalfHour;
    }
    return slotTimes;
}

QDateTime slotEnd(const QDateTime &slotStart, int viewMode)
{
    if (viewMode == kDayView)
        return slotStart.addDays(1);
    return fromWallSeconds(wallSeconds(slotStart) + kHalfHour);
}

QString slotHeaderFormat(int viewMode)
{
    return viewMode != kDayView ? QStringLiteral("HH:mm") : QStringLiteral("dd.MM.yyyy");
}

bool ScrollSlots(std::vector<QDateTime> &slotTimes, bool back, int viewMode)
{
    if (slotTimes.empty())
        return false;
    const QDateTime &edge = back ? slotTimes.front() : slotTimes.back();
    QDateTime next;
    if (viewMode == kDayView) {
        next = edge.addDays(back ? -1 : 1);
    } else {
        // The half-hour view never leaves 08:00 to 20:00 of a day: another day is
        // reached through the date picker or the day view.
        const qint64 wall = wallSeconds(edge) + (back ? -kHalfHour : kHalfHour);
        const qint64 time = halfHourOfDay(wall);
        if (time < kFirstSlotOfDay || time >= kEndOfSlotDay)
            return false;
        next = fromWallSeconds(wall);
    }
    if (back) {
        slotTimes.pop_back();
        slotTimes.insert(slotTimes.begin(), next);
    } else {
        slotTimes.erase(slotTimes.begin());
        slotTimes.push_back(next);
    }
    return true;
}

QColor vbColor(quint32 bgr)
{
    return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}

QColor cellStateColor(int state)
{
    switch (state) {
    case kCellBooked:
        return vbColor(0x0000FFFF);
    case kCellInactive:
        return vbColor(0x0000C000);
    default:
        return vbColor(0x00FFFFFF);
    }
}

QString chartBerthsQuery()
{
    return QStringLiteral("SELECT ID, Name, Active FROM Berth ORDER BY ID");
}

QString chartBookingsQuery(const QDateTime &from, const QDateTime &to)
{
    // The dates come as their stored wall-clock text, read straight into wall-clock
    // seconds without a date-time made for every row.
    return QStringLiteral("SELECT B.ID, BB.BerthID, C.Name, CAST(B.FromDate AS TEXT) AS FromDate, "
                          "CAST(B.ToDate AS TEXT) AS ToDate "
                          "FROM (Booking B LEFT JOIN Customer C ON B.CustomerID = C.ID) "
                          "INNER JOIN BookingBerth BB ON B.ID = BB.BookingID "
                          "WHERE B.FromDate <= %1 AND B.ToDate >= %2")
        .arg(SqlDateHalfHour(to), SqlDateHalfHour(from));
}

std::vector<ChartBerth> readChartBerths(db::Recordset &berths)
{
    std::vector<ChartBerth> list;
    if (berths.RecordCount() <= 0)
        return list;
    list.reserve(std::size_t(berths.RecordCount()));
    for (berths.MoveFirst(); !berths.isEOF(); berths.MoveNext()) {
        ChartBerth berth;
        berth.id = berths.value(0).toLongLong();
        berth.name = berths.value(1).toString();
        berth.active = berths.value(2).toBool();
        list.push_back(std::move(berth));
    }
    return list;
}

void ChartBookings::load(db::Recordset &rows, const QDateTime &from, const QDateTime &to)
{
    clear();
    if (rows.RecordCount() > 0) {
        m_bookings.reserve(std::size_t(rows.RecordCount()));
        for (rows.MoveFirst(); !rows.isEOF(); rows.MoveNext()) {
            ChartBooking booking;
            booking.bookingId = rows.value(0).toLongLong();
            booking.berthId = rows.value(1).toLongLong();
            booking.customerName = rows.value(2).toString();
            booking.from = storedWallSeconds(rows.value(3));
            booking.to = storedWallSeconds(rows.value(4));
            m_bookings.push_back(std::move(booking));
        }
    }
    // Put in order here, not by the query: an ORDER BY on the key would lead SQLite to walk
    // the whole table in key order instead of the index on the booking periods.
    std::sort(m_bookings.begin(), m_bookings.end(), [](const ChartBooking &a, const ChartBooking &b) {
        return a.bookingId != b.bookingId ? a.bookingId < b.bookingId : a.berthId < b.berthId;
    });
    for (std::size_t i = 0; i < m_bookings.size(); ++i)
        m_byBerth[m_bookings[i].berthId].push_back(int(i));
    m_from = wallSeconds(from);
    m_to = wallSeconds(to);
}

void ChartBookings::clear()
{
    m_bookings.clear();
    m_byBerth.clear();
    m_from = 0;
    m_to = -1;
}

bool ChartBookings::holds(const QDateTime &from, const QDateTime &to) const
{
    return m_from <= wallSeconds(from) && wallSeconds(to) <= m_to;
}

const ChartBooking *ChartBookings::firstInSlot(qint64 berthId, qint64 slotStart, qint64 slotEnd, bool inclusive) const
{
    const auto found = m_byBerth.constFind(berthId);
    if (found == m_byBerth.constEnd())
        return nullptr;
    for (int index : *found) {
        const ChartBooking &booking = m_bookings[std::size_t(index)];
        const bool inSlot = inclusive ? booking.from <= slotEnd && booking.to >= slotStart
                                      : booking.from < slotEnd && booking.to > slotStart;
        if (inSlot)
            return &booking;
    }
    return nullptr;
}

std::vector<ChartCell> ChartBookings::place(const std::vector<QDateTime> &slotTimes, int viewMode,
                                            const std::vector<ChartBerth> &berths) const
{
    const std::size_t rows = slotTimes.size();
    const std::size_t columns = berths.size();
    std::vector<ChartCell> cells(rows * columns);
    std::vector<qint64> starts(rows);
    std::vector<qint64> ends(rows);
    for (std::size_t r = 0; r < rows; ++r) {
        starts[r] = wallSeconds(slotTimes[r]);
        ends[r] = starts[r] + (viewMode == kDayView ? kSecondsPerDay : kHalfHour);
    }

    for (std::size_t c = 0; c < columns; ++c) {
        const ChartBerth &berth = berths[c];
        const int freeState = berth.active ? kCellAvailable : kCellInactive;
        for (std::size_t r = 0; r < rows; ++r)
            cells[r * columns + c].state = freeState;
        const auto found = m_byBerth.constFind(berth.id);
        if (found == m_byBerth.constEnd())
            continue;
        // Each booking colours the rows it overlaps; a cell keeps the first booking
        // read, and a booking ending at a slot's start or starting at its end is not in it.
        for (int index : *found) {
            const ChartBooking &booking = m_bookings[std::size_t(index)];
            std::size_t r = std::size_t(std::upper_bound(ends.begin(), ends.end(), booking.from) - ends.begin());
            for (; r < rows && starts[r] < booking.to; ++r) {
                ChartCell &cell = cells[r * columns + c];
                if (cell.state == kCellBooked)
                    continue;
                cell.state = kCellBooked;
                cell.bookingId = booking.bookingId;
                cell.text = booking.customerName;
            }
        }
    }
    return cells;
}

qint64 bookingUnderCell(const ChartCell &cell, const ChartBookings &bookings, qint64 berthId,
                        const QDateTime &slotStart, int viewMode)
{
    if (cell.state == kCellBooked && cell.bookingId != 0)
        return cell.bookingId;
    const ChartBooking *touching = bookings.firstInSlot(berthId, wallSeconds(slotStart),
                                                        wallSeconds(slotEnd(slotStart, viewMode)), true);
    return touching ? touching->bookingId : 0;
}

PlanningChartModel::PlanningChartModel(QObject *parent)
    : QAbstractTableModel(parent)
    , m_headerFormat(slotHeaderFormat(kHalfHourView))
{
}

void PlanningChartModel::setChart(const std::vector<ChartBerth> &berths, const std::vector<QDateTime> &slotTimes,
                                  int viewMode, std::vector<ChartCell> cells)
{
    cells.resize(slotTimes.size() * berths.size());
    // The same grid with other contents keeps the user's place in it.
    const bool sameShape = slotTimes.size() == m_slots.size() && sameBerths(berths, m_berths);
    if (!sameShape)
        beginResetModel();
    m_berths = berths;
    m_slots = slotTimes;
    m_cells = std::move(cells);
    m_viewMode = viewMode;
    m_headerFormat = slotHeaderFormat(viewMode);
    if (!sameShape)
        endResetModel();
    else
        emitAllChanged();
}

void PlanningChartModel::setRow(int row, const QDateTime &slot, std::vector<ChartCell> cells)
{
    if (row < 0 || std::size_t(row) >= m_slots.size())
        return;
    const std::size_t columns = m_berths.size();
    cells.resize(columns);
    m_slots[std::size_t(row)] = slot;
    std::move(cells.begin(), cells.end(), m_cells.begin() + std::ptrdiff_t(std::size_t(row) * columns));
    emit headerDataChanged(Qt::Vertical, row, row);
    if (columns > 0)
        emit dataChanged(index(row, 0), index(row, int(columns) - 1));
}

void PlanningChartModel::shiftRows(bool back)
{
    if (m_slots.size() < 2)
        return;
    const auto columns = std::ptrdiff_t(m_berths.size());
    if (back) {
        std::rotate(m_slots.rbegin(), m_slots.rbegin() + 1, m_slots.rend());
        std::rotate(m_cells.rbegin(), m_cells.rbegin() + columns, m_cells.rend());
    } else {
        std::rotate(m_slots.begin(), m_slots.begin() + 1, m_slots.end());
        std::rotate(m_cells.begin(), m_cells.begin() + columns, m_cells.end());
    }
    emitAllChanged();
}

const ChartCell &PlanningChartModel::cell(int row, int column) const
{
    return m_cells.at(std::size_t(row) * m_berths.size() + std::size_t(column));
}

void PlanningChartModel::emitAllChanged()
{
    if (!m_slots.empty())
        emit headerDataChanged(Qt::Vertical, 0, int(m_slots.size()) - 1);
    if (!m_slots.empty() && !m_berths.empty())
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}

int PlanningChartModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_slots.size());
}

int PlanningChartModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_berths.size());
}

QVariant PlanningChartModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount())
        return {};
    const ChartCell &c = cell(index.row(), index.column());
    switch (role) {
    case Qt::DisplayRole:
        return c.text;
    case Qt::BackgroundRole:
        return cellStateColor(c.state);
    case Qt::ForegroundRole:
        return QColor(Qt::black);
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
    case CellStateRole:
        return c.state;
    case BookingIdRole:
        return c.bookingId;
    default:
        return {};
    }
}

QVariant PlanningChartModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
    if (role != Qt::DisplayRole || section < 0)
        return {};
    if (orientation == Qt::Horizontal)
        return std::size_t(section) < m_berths.size() ? QVariant(m_berths[std::size_t(section)].name) : QVariant();
    return std::size_t(section) < m_slots.size() ? QVariant(m_slots[std::size_t(section)].toString(m_headerFormat))
                                                 : QVariant();
}

void ChartCellDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    painter->save();
    painter->fillRect(option.rect, index.data(Qt::BackgroundRole).value<QColor>());
    if (option.state & QStyle::State_Selected) {
        // A frame, not a fill, so the selected cell keeps its state's colour.
        painter->setPen(QPen(option.palette.color(QPalette::Highlight), 2));
        painter->drawRect(option.rect.adjusted(1, 1, -1, -1));
    }
    const QString text = index.data(Qt::DisplayRole).toString();
    if (!text.isEmpty()) {
        painter->setPen(Qt::black);
        const QRect area = option.rect.adjusted(3, 0, -3, 0);
        painter->drawText(area, Qt::AlignCenter, option.fontMetrics.elidedText(text, Qt::ElideRight, area.width()));
    }
    painter->restore();
}

} // namespace quorl
