#pragma once

#include <vector>

#include <QAbstractTableModel>
#include <QColor>
#include <QDateTime>
#include <QHash>
#include <QString>
#include <QStyledItemDelegate>

namespace quorl {

namespace db {
class Recordset;
}

// ---- Slots ----------------------------------------------------------------------------
//
// The planning chart shows one row per slot: half hours between 08:00 and 20:00, or
// whole days. Slot times are wall-clock readings, as the bookings are stored.

enum ChartViewMode : int { kDayView = 0, kHalfHourView = 1 };

inline constexpr int kSlotRowTwips = 400;
inline constexpr int kBerthColumnTwips = 1000;

// Grid rows, the row of berth names included, for a grid that many twips high: as
// many slotTimes as fit, and one more. A grid lower than one row still has the name row.
int slotGridRows(int gridHeightTwips);

// 08:00 of that day: where the half-hour view begins a day.
QDateTime chartDayStart(const QDate &day);

// The wall-clock reading as seconds, for ordering and slot arithmetic that must not
// shift an hour on the days the clocks change.
qint64 wallSeconds(const QDateTime &value);

// The start times of slotCount rows from start. Day view: the days from start's date,
// each at 00:00. Half-hour view: start and every half hour after it, where a slot at
// 20:00 or later becomes 08:00 of the next day (a start before 08:00 stays).
std::vector<QDateTime> BuildSlots(const QDateTime &start, int slotCount, int viewMode);

// The end of the slot: 30 minutes, or one day, after its start.
QDateTime slotEnd(const QDateTime &slotStart, int viewMode);

// The row label: "HH:mm" in the half-hour view, "dd.MM.yyyy" in the day view.
QString slotHeaderFormat(int viewMode);

// Moves the slotTimes one row: back shows the slot before the first row on top, forward
// the slot after the last row at the bottom. The half-hour view stays within 08:00 to
// 20:00 of the days shown; the day view has no limit. False, with nothing changed,
// when the move is not allowed or there are no rows.
bool ScrollSlots(std::vector<QDateTime> &slotTimes, bool back, int viewMode);

// ---- Bookings on the chart ----------------------------------------------------------------

// The state of a cell, also the index of its legend box.
enum CellState : int { kCellBooked = 0, kCellAvailable = 1, kCellInactive = 2 };

// The colour of a cell in that state: booked yellow, available white, inactive green.
QColor cellStateColor(int state);

// A VB colour &H00BBGGRR as a QColor.
QColor vbColor(quint32 bgr);

struct ChartBerth {
    qint64 id = 0;
    QString name;
    bool active = true;
};

struct ChartBooking {
    qint64 bookingId = 0;
    qint64 berthId = 0;
    QString customerName;
    qint64 from = 0; // wallSeconds of FromDate
    qint64 to = 0;   // wallSeconds of ToDate
};

struct ChartCell {
    int state = kCellAvailable;
    qint64 bookingId = 0; // the booking the cell shows; 0 when it shows none
    QString text;
};

// Every berth, active or not, in the order of their IDs.
QString chartBerthsQuery();

// One row per booking line with at least a moment in [from, to] (a booking touching
// either end included), with the customer's name. Columns: ID, BerthID, Name,
// FromDate, ToDate.
QString chartBookingsQuery(const QDateTime &from, const QDateTime &to);

std::vector<ChartBerth> readChartBerths(db::Recordset &berths);

// The bookings of a period, kept by berth in the order they were read.
class ChartBookings
{
public:
    // Takes the rows of chartBookingsQuery(from, to), in the order of the bookings' IDs.
    void load(db::Recordset &rows, const QDateTime &from, const QDateTime &to);
    void clear();

    // Whether the bookings of [from, to] are all held.
    bool holds(const QDateTime &from, const QDateTime &to) const;
    int size() const { return int(m_bookings.size()); }

    // The first booking of the berth, in the order read, that starts before the slot
    // ends and ends after it starts; or, when inclusive, also one that merely touches
    // the slot. Null when none.
    const ChartBooking *firstInSlot(qint64 berthId, qint64 slotStart, qint64 slotEnd, bool inclusive) const;

    // The cells of the rows of these slotTimes (ascending), row by row, one per berth.
    std::vector<ChartCell> place(const std::vector<QDateTime> &slotTimes, int viewMode,
                                 const std::vector<ChartBerth> &berths) const;

private:
    std::vector<ChartBooking> m_bookings;
    QHash<qint64, std::vector<int>> m_byBerth; // indexes into m_bookings, in the order read
    qint64 m_from = 0;
    qint64 m_to = -1;
};

// The booking a double click on a cell opens: the one the cell shows, else the first
// of the berth that touches the slot (ending at its start or starting at its end); 0
// when none.
qint64 bookingUnderCell(const ChartCell &cell, const ChartBookings &bookings, qint64 berthId,
                        const QDateTime &slotStart, int viewMode);

// ---- The grid's model ---------------------------------------------------------------------
//
// One row per slot and one column per berth; the vertical header labels the slotTimes,
// the horizontal one names the berths.
class PlanningChartModel final : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Role { CellStateRole = Qt::UserRole + 1, BookingIdRole };

    explicit PlanningChartModel(QObject *parent = nullptr);

    // The whole chart. cells holds the rows one after another, one cell per berth.
    void setChart(const std::vector<ChartBerth> &berths, const std::vector<QDateTime> &slotTimes, int viewMode,
                  std::vector<ChartCell> cells);
    // New cells and slot time for one row.
    void setRow(int row, const QDateTime &slot, std::vector<ChartCell> cells);
    // Every row moves one down (back) or up (forward); the freed row keeps its old
    // content until setRow fills it.
    void shiftRows(bool back);

    const std::vector<ChartBerth> &berths() const { return m_berths; }
    const std::vector<QDateTime> &slotTimes() const { return m_slots; }
    const ChartCell &cell(int row, int column) const;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    void emitAllChanged();

    std::vector<ChartBerth> m_berths;
    std::vector<QDateTime> m_slots;
    std::vector<ChartCell> m_cells;
    int m_viewMode = kHalfHourView;
    QString m_headerFormat;
};

// Paints a cell as its state's colour with its text centred; far cheaper than a
// widget per cell.
class ChartCellDelegate final : public QStyledItemDelegate
{
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
};

} // namespace quorl
