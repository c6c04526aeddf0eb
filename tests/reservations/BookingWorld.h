#pragma once

#include <functional>

#include <QDateTime>
#include <QList>
#include <QTimer>
#include <QString>
#include <QVariant>

#include "support/QuorlTest.h"

namespace quorl {

class frmBookingSummary;

// Acts on the booking summary while it is open in front of everything, from inside
// its own loop, then closes it unless the action did; notes which booking it showed.
// A summary that never opens is never acted on.
class SummaryVisit {
public:
    using Action = std::function<void(frmBookingSummary &)>;
    explicit SummaryVisit(Action action = {});

    bool opened() const { return m_shownBooking != 0; }
    qint64 shownBooking() const { return m_shownBooking; }
    bool wasModal() const { return m_modal; }

private:
    QTimer m_poll;
    Action m_action;
    qint64 m_shownBooking = 0;
    bool m_modal = false;
};

// A test world with the program's shared connection open on the starter database,
// the event log ready, and small helpers to put customers, berths and bookings in
// and read rows back.
class BookingWorld : public QuorlTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // A wall-clock reading, in the form the program gives its dates.
    static QDateTime at(int year, int month, int day, int hour, int minute);

    qint64 addCustomer(const QString &name, const QString &houseName = QString(), const QString &email = QString());
    qint64 addBerth(const QString &name, const QVariant &dailyCharge = QVariant(), bool active = true);
    qint64 addBooking(const QDateTime &from, const QDateTime &to, const QList<qint64> &berths,
                      qint64 customerId = 0);

    // Every row of a query, each as its values in column order.
    QList<QVariantList> rows(const QString &sql) const;
    QVariant scalar(const QString &sql) const;
    void execute(const QString &sql) const;

    // Today's events.Log as text ("" when nothing was written).
    QString eventLog() const;
};

} // namespace quorl
