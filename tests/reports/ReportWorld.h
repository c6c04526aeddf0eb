#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <QVariant>

#include "masterdata/MasterDataTest.h"
#include "support/PrintedText.h"

namespace quorl {

namespace reports {
class ReportDocument;
}

// The starter database and the event log of MasterDataTest, no printer installed,
// and helpers to put bookings in and to read what a report prints.
class ReportWorld : public MasterDataTest {
protected:
    static QDateTime at(int year, int month, int day, int hour = 0, int minute = 0);

    qint64 addCustomer(const QString &name, const QString &houseName = QStringLiteral("Rose Cottage"));
    qint64 addBerth(const QString &name);
    struct Charges {
        QVariant costOfHire, otherCharges, vat, totalPayable, amountPayed;
    };
    qint64 addBooking(qint64 customerId, const QDateTime &from, const QDateTime &to, const QList<qint64> &berths = {},
                      const QDateTime &created = QDateTime(), const Charges &charges = {});

    // The document printed into a PDF file, as text; pages end with a form feed.
    QString printed(const reports::ReportDocument &document);

private:
    NoPrinterInstalled m_noPrinter;
    int m_printed = 0;
};

} // namespace quorl
