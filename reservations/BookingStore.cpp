#include "reservations/BookingStore.h"

#include <QSet>

#include "platform/db/Connection.h"
#include "platform/db/Error.h"
#include "platform/db/Recordset.h"
#include "platform/db/SqlText.h"

namespace quorl {
namespace {

// Rolls back unless committed, so a failure at any statement leaves nothing behind.
class Transaction final
{
public:
    explicit Transaction(db::Connection &connection)
        : m_connection(connection)
    {
        m_connection.BeginTrans();
    }
    ~Transaction()
    {
        if (m_open) {
            try {
                m_connection.RollbackTrans();
            } catch (const db::Error &) {
                // The statement that failed already ended the transaction.
            }
        }
    }
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;

    void commit()
    {
        m_connection.CommitTrans();
        m_open = false;
    }

private:
    db::Connection &m_connection;
    bool m_open = true;
};

void writeColumns(db::Recordset &row, const BookingRecord &record)
{
    row.setValue(QStringLiteral("FromDate"), record.FromDate);
    row.setValue(QStringLiteral("ToDate"), record.ToDate);
    row.setValue(QStringLiteral("BookedBy"), record.BookedBy);
    row.setValue(QStringLiteral("CustomerID"), record.CustomerID);
    row.setValue(QStringLiteral("Notes"), record.Notes);
    row.setValue(QStringLiteral("NoAdults"), record.NoAdults);
    row.setValue(QStringLiteral("NoKids"), record.NoKids);
    row.setValue(QStringLiteral("OtherCharges"), record.OtherCharges);
    row.setValue(QStringLiteral("VAT"), record.VAT);
    row.setValue(QStringLiteral("TotalPayable"), record.TotalPayable);
    row.setValue(QStringLiteral("AmountPayed"), record.AmountPayed);
    if (record.PaymentMethodID.isValid() && !record.PaymentMethodID.isNull())
        row.setValue(QStringLiteral("PaymentMethodID"), record.PaymentMethodID.toLongLong());
    row.setValue(QStringLiteral("CreditCardNo"), record.CreditCardNo);
    row.setValue(QStringLiteral("CreditCardExpiry"), record.CreditCardExpiry);
    row.setValue(QStringLiteral("CreditCardType"), record.CreditCardType);
    row.setValue(QStringLiteral("CreditCardCV2No"), record.CreditCardCV2No);
    row.setValue(QStringLiteral("CostOfHire"), record.CostOfHire);
    row.setValue(QStringLiteral("BerthConfirmationNumber"), record.BerthConfirmationNumber);
    row.setValue(QStringLiteral("GuestConfirmationNumber"), record.GuestConfirmationNumber);
    row.setValue(QStringLiteral("PowerRequirements"), record.PowerRequirements);
    row.setValue(QStringLiteral("ClubMember"), record.ClubMember);
}

bool customerExists(db::Connection &connection, qint64 customerId)
{
    auto count = connection.ExecuteQuery(QStringLiteral("SELECT COUNT(*) AS c FROM Customer WHERE ID = ")
                                         + db::sqlNumber(customerId));
    return !count->isEOF() && count->value(0).toLongLong() > 0;
}

// The berths of the list that are no longer free for the period, the booking's own
// rows aside.
QStringList unavailableBerths(db::Connection &connection, const BookingRecord &record, qint64 bookingId,
                              const QList<AvailableBerth> &berths)
{
    QSet<qint64> free;
    auto available = runAvailabilityQuery(connection, record.FromDate, record.ToDate, 2, bookingId);
    for (; !available->isEOF(); available->MoveNext())
        free.insert(available->value(0).toLongLong());
    QStringList names;
    for (const AvailableBerth &berth : berths) {
        if (!free.contains(berth.id))
            names.append(berth.name);
    }
    return names;
}

} // namespace

std::unique_ptr<db::Recordset> openBookingRow(db::Connection &connection, qint64 bookingId)
{
    auto row = std::make_unique<db::Recordset>();
    row->Open(QStringLiteral("SELECT * FROM Booking WHERE ID = ") + db::sqlNumber(bookingId), &connection,
              db::adLockOptimistic, db::adCmdText);
    return row;
}

qint64 nextConfirmationNumber(db::Connection &connection)
{
    try {
        auto highest = connection.ExecuteQuery(QStringLiteral("SELECT Max(BerthConfirmationNumber) as M FROM Booking"));
        if (highest->isEOF())
            return 1;
        const QVariant value = highest->value(QStringLiteral("M"));
        if (!value.isValid() || value.isNull())
            return 1;
        bool ok = false;
        const qint64 number = value.toLongLong(&ok);
        return ok ? number + 1 : 1;
    } catch (const db::Error &) {
        return 1;
    }
}

SaveResult saveBooking(db::Connection &connection, int mode, qint64 bookingId, const BookingRecord &record,
                       const QList<AvailableBerth> &berths)
{
    SaveResult result;
    Transaction transaction(connection);

    auto row = openBookingRow(connection, mode == 2 ? bookingId : 0);
    if (mode == 2) {
        if (row->isEOF()) {
            result.outcome = SaveOutcome::BookingGone;
            return result;
        }
    } else {
        row->AddNew();
    }
    writeColumns(*row, record);
    row->Update();
    const qint64 savedId = mode == 2 ? bookingId : row->value(QStringLiteral("ID")).toLongLong();

    if (mode == 2)
        connection.Execute(QStringLiteral("DELETE FROM BookingBerth WHERE BookingID = ") + db::sqlNumber(bookingId));

    // Checked after the first write, so the transaction already holds the write lock
    // and nobody can take the customer or a berth away before the commit.
    if (!customerExists(connection, record.CustomerID)) {
        result.outcome = SaveOutcome::CustomerGone;
        return result;
    }
    result.unavailableBerths = unavailableBerths(connection, record, savedId, berths);
    if (berths.isEmpty() || !result.unavailableBerths.isEmpty()) {
        result.outcome = SaveOutcome::BerthsGone;
        return result;
    }

    for (const AvailableBerth &berth : berths) {
        connection.Execute(QStringLiteral("INSERT INTO BookingBerth (BookingID, BerthID) VALUES (%1, %2)")
                               .arg(db::sqlNumber(savedId), db::sqlNumber(berth.id)));
    }
    transaction.commit();
    result.bookingId = savedId;
    return result;
}

} // namespace quorl
