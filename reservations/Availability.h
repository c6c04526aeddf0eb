#pragma once

#include <memory>
#include <vector>

#include <QAbstractTableModel>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QVariant>

namespace quorl {

namespace db {
class Connection;
class Recordset;
}

// The berths that can be booked for a period: active, and held by no booking that
// overlaps it. Two periods overlap when the booking starts before the new departure
// and ends after the new arrival, so a booking ending exactly at the arrival (or
// starting exactly at the departure) leaves the berth free. In mode 2 the booking
// being edited does not block its own berths.
QString AvailabilityQuery(int mode, qint64 bookingId);

// Runs the query with the departure and arrival bound as its DATETO and DATEFROM
// parameters. Columns: ID, Name, Length, Width, HasPower, DailyHireCharge. Throws
// db::Error.
std::unique_ptr<db::Recordset> runAvailabilityQuery(db::Connection &connection, const QDateTime &fromDateTime,
                                                    const QDateTime &toDateTime, int mode, qint64 bookingId);

// The berths a stored booking holds.
QList<qint64> bookingBerthIds(db::Connection &connection, qint64 bookingId);

// One free berth as the grid shows it.
struct AvailableBerth {
    qint64 id = 0;
    QString name;
    QVariant length;
    QVariant width;
    QVariant hasPower;
    QVariant dailyHireCharge; // Null when the berth has no daily charge
};

// The grid of free berths with the user's marks. A marked row shows its name,
// length, width and power in the system highlight colours. Rows are counted from 0
// here; the form's grid rows are counted from 1 below the header.
class AvailableBerthsModel final : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { ColumnID, ColumnName, ColumnLength, ColumnWidth, ColumnHasPower, ColumnDailyHireCharge, ColumnCount };

    explicit AvailableBerthsModel(QObject *parent = nullptr);

    // Takes the rows of the availability query; every mark is cleared.
    void load(db::Recordset &available);
    void clear();

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    const AvailableBerth &berth(int row) const { return m_berths.at(std::size_t(row)); }
    int rowOfBerth(qint64 berthId) const; // -1 when not listed

    bool isMarked(int row) const;
    // Returns whether the mark changed; a row already in that state stays as it is.
    bool setMarked(int row, bool marked);
    int markedCount() const;
    QList<AvailableBerth> markedBerths() const;

private:
    std::vector<AvailableBerth> m_berths;
    std::vector<bool> m_marks;
};

} // namespace quorl
