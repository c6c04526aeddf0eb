#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <QVariant>

#include "support/PrintedText.h"
#include "support/QuorlTest.h"

namespace quorl {

namespace reports {
class ReportDocument;
}

// A test world with the shared connection open on the starter database, the event
// log ready, no printer installed, and helpers to put bookings in and to read what
// a report prints.
class ReportWorld : public QuorlTest {
protected:
    void SetUp() override;
    void TearDown() override;

    static QDateTime at(int year, int month, int day, int hour = 0, int minute = 0);

    qint64 addCustomer(const QString &name, const QString &houseName = QStringLiteral("Rose Cottage"));
    qint64 addBerth(const QString &name);
    struct Charges {
        QVariant costOfHire;
        QVariant otherCharges;
        QVariant vat;
        QVariant totalPayable;
        QVariant amountPayed;
    };
    qint64 addBooking(qint64 customerId, const QDateTime &from, const QDateTime &to, const QList<qint64> &berths = {},
                      const QDateTime &created = QDateTime(), const Charges &charges = {});

    void execute(const QString &sql) const;
    QVariant scalar(const QString &sql) const;

    // The document printed into a PDF file, as text; pages end with a form feed.
    QString printed(const reports::ReportDocument &document);

private:
    std::unique_ptr<NoPrinterInstalled> m_noPrinter;
    int m_printed = 0;
};

} // namespace quorl
