#include "BookingWorld.h"

#include <QApplication>
#include <QDir>
#include <QPointer>

#include "core/modDatabase.h"
#include "core/modEventLog.h"
#include "platform/db/Connection.h"
#include "platform/db/Error.h"
#include "platform/db/FieldValue.h"
#include "platform/db/Recordset.h"
#include "platform/db/SqlText.h"
#include "platform/text/Text.h"
#include "platform/ui/Clock.h"
#include "reservations/frmBookingSummary.h"

namespace quorl {

SummaryVisit::SummaryVisit(Action action)
    : m_action(std::move(action))
{
    m_poll.setInterval(0);
    QObject::connect(&m_poll, &QTimer::timeout, [this] {
        QPointer<frmBookingSummary> summary = qobject_cast<frmBookingSummary *>(QApplication::activeModalWidget());
        if (!summary || !summary->isVisible())
            return;
        m_poll.stop();
        m_shownBooking = summary->BookingID();
        m_modal = summary->isModal() && summary->isWindow();
        if (m_action)
            m_action(*summary);
        if (summary && summary->isVisible())
            summary->close();
    });
    m_poll.start();
}

void BookingWorld::SetUp()
{
    QuorlTest::SetUp();
    QDir().mkpath(driveC() + QStringLiteral("/Quorlc/traces"));
    DbConnection = OpenConnection(databasePath(), QString(), 500);
    ASSERT_TRUE(DbConnection) << "the starter database did not open";
    InitEventLog();
}

void BookingWorld::TearDown()
{
    DbConnection.reset();
    EventLogPath.clear();
    QuorlTest::TearDown();
}

QDateTime BookingWorld::at(int year, int month, int day, int hour, int minute)
{
    return db::wallClockDateTime(QDate(year, month, day), QTime(hour, minute));
}

qint64 BookingWorld::addCustomer(const QString &name, const QString &houseName, const QString &email)
{
    execute(QStringLiteral("INSERT INTO Customer (Name, HouseName, Street, Area, Town, PostCode, TelNo, EmailAddress) "
                           "VALUES (%1, %2, 'Quay Street', 'Harbourside', 'Porthwen', 'PW1 2AB', '01234 567890', %3)")
                .arg(db::SqlQuote(name), db::SqlQuote(houseName), db::SqlQuote(email)));
    return scalar(QStringLiteral("SELECT MAX(ID) FROM Customer")).toLongLong();
}

qint64 BookingWorld::addBerth(const QString &name, const QVariant &dailyCharge, bool active)
{
    const QString charge = dailyCharge.isValid() ? db::sqlNumber(dailyCharge.toDouble()) : QStringLiteral("NULL");
    execute(QStringLiteral("INSERT INTO Berth (Name, Length, Width, HasPower, Active, DailyHireCharge) "
                           "VALUES (%1, 12, 4, -1, %2, %3)")
                .arg(db::SqlQuote(name), active ? QStringLiteral("-1") : QStringLiteral("0"), charge));
    return scalar(QStringLiteral("SELECT MAX(ID) FROM Berth")).toLongLong();
}

qint64 BookingWorld::addBooking(const QDateTime &from, const QDateTime &to, const QList<qint64> &berths,
                                qint64 customerId)
{
    const QString format = QStringLiteral("yyyy-MM-dd HH:mm:ss");
    execute(QStringLiteral("INSERT INTO Booking (FromDate, ToDate, CustomerID, BerthConfirmationNumber) "
                           "VALUES ('%1', '%2', %3, 41)")
                .arg(from.toString(format), to.toString(format), db::sqlNumber(customerId)));
    const qint64 id = scalar(QStringLiteral("SELECT MAX(ID) FROM Booking")).toLongLong();
    for (qint64 berth : berths) {
        execute(QStringLiteral("INSERT INTO BookingBerth (BookingID, BerthID) VALUES (%1, %2)")
                    .arg(db::sqlNumber(id), db::sqlNumber(berth)));
    }
    return id;
}

QList<QVariantList> BookingWorld::rows(const QString &sql) const
{
    QList<QVariantList> result;
    auto recordset = DbConnection->ExecuteQuery(sql);
    for (; !recordset->isEOF(); recordset->MoveNext()) {
        QVariantList row;
        for (int field = 0; field < recordset->fieldCount(); ++field)
            row.append(recordset->value(field));
        result.append(row);
    }
    return result;
}

QVariant BookingWorld::scalar(const QString &sql) const
{
    const QList<QVariantList> all = rows(sql);
    return all.isEmpty() || all.first().isEmpty() ? QVariant() : all.first().first();
}

void BookingWorld::execute(const QString &sql) const
{
    DbConnection->Execute(sql);
}

QString BookingWorld::eventLog() const
{
    bool ok = false;
    const QString text = text::readAnsiFile(EventLogPath, &ok);
    return ok ? text : QString();
}

} // namespace quorl
