#include <gtest/gtest.h>

#include "ReportWorld.h"
#include "reports/CommandLayouts.h"
#include "reports/DataEnvironment1.h"

namespace quorl {
namespace {

namespace env = reports::DataEnvironment1;

// The company and one booking copied into the scratch table, as the summary leaves them.
class CommandLayouts : public ReportWorld {
protected:
    void SetUp() override
    {
        ReportWorld::SetUp();
        exec(QStringLiteral("UPDATE Company SET [Company Name] = 'Quorl Bay Marina', Street = '1 Harbour Wall', "
                               "Town = 'Porthwen', [Telephone No] = '01234 000111', [VAT No] = 'GB 123 4567 89', "
                               "[Receipt Footer] = 'Thank you for berthing with us.', "
                               "TermsandConditions = 'Berths are let by the night.'"));
        customer = addCustomer(QStringLiteral("O'Brien"), QStringLiteral("Mill House"));
        exec(QStringLiteral("UPDATE Customer SET EmailAddress = 'obrien@example.org', ClubMember = -1, "
                               "MembershipNo = 'M-77' WHERE ID = ") + QString::number(customer));
        exec(QStringLiteral(
                    "INSERT INTO InvTemp (ID, CostOfHire, OtherCharges, VAT, TotalPayable, AmountPayed, FromDate, "
                    "ToDate, BookedBy, CustomerID, BerthConfirmationNumber, CompanyID) VALUES (42, 1234.5, 0, 246.9, "
                    "1481.4, 500, '2026-12-08 10:00:00', '2026-12-10 09:30:00', 'Ann', %1, 7, 1)")
                    .arg(customer));
    }

    qint64 customer = 0;
};

TEST_F(CommandLayouts, ReceiptPrintsTheCompanyTheChargesAndTheCustomer)
{
    const QString text = printed(reports::invoiceReport(env::run(QString::fromUtf8(env::Receipt))));
    for (const char *expected : {"Quorl Bay Marina", "1 Harbour Wall", "01234 000111", "GB 123 4567 89", "INVOICE",
                                 "Invoice Number:", "42", "08/12/2026 10:00:00", "Ann", "£1,234.50", "£0.00",
                                 "£246.90", "£1,481.40", "£500.00", "O'Brien", "Mill House", "PW1 2AB",
                                 "Thank you for berthing with us."})
        EXPECT_TRUE(text.contains(QString::fromUtf8(expected))) << expected << "\n" << text.toStdString();
}

TEST_F(CommandLayouts, ReceiptLeavesOutRowsOfAnotherCompany)
{
    const qint64 stranger = addCustomer(QStringLiteral("Stranger"));
    exec(QStringLiteral("INSERT INTO InvTemp (ID, CustomerID, CompanyID) VALUES (43, %1, 99)").arg(stranger));
    const QString text = printed(reports::invoiceReport(env::run(QString::fromUtf8(env::Receipt))));
    EXPECT_TRUE(text.contains(QStringLiteral("O'Brien")));
    EXPECT_FALSE(text.contains(QStringLiteral("Stranger")));
    EXPECT_EQ(text.count(QStringLiteral("Invoice Number:")), 1);
}

TEST_F(CommandLayouts, BookingFormPrintsTheReservationTheCustomerAndTheTerms)
{
    const QString text = printed(reports::bookingFormReport(env::run(QString::fromUtf8(env::Booking))));
    for (const char *expected : {"Quorl Bay Marina", "Reservation Form", "Reservation Number:", "42",
                                 "08/12/2026 10:00:00", "10/12/2026 09:30:00", "10:00", " 9:30", "O'Brien",
                                 "obrien@example.org", "\u2612", "M-77", "Reservation Terms and Conditions:",
                                 "Berths are let by the night.", "Signature: ____", "Date: ____"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(expected))) << expected << "\n" << text.toStdString();
}

TEST_F(CommandLayouts, OutstandingListsOnlyBookingsWithABalanceDue)
{
    const qint64 paid = addCustomer(QStringLiteral("Paidup"));
    const qint64 unknown = addCustomer(QStringLiteral("Nopayment"));
    const qint64 owing = addCustomer(QStringLiteral("Owing £ Co"));
    addBooking(paid, at(2026, 12, 1, 10), at(2026, 12, 2, 10), {}, {}, {100, 0, 20, 120, 120});
    addBooking(unknown, at(2026, 12, 3, 10), at(2026, 12, 4, 10), {}, {}, {100, 0, 20, 120, {}});
    addBooking(owing, at(2026, 12, 5, 10), at(2026, 12, 6, 10), {}, {}, {1000, 50, 210, 1260, 260});

    const QString text =
        printed(reports::outstandingReport(env::run(QString::fromUtf8(env::Outstanding)), at(2026, 12, 8, 10, 47)));
    EXPECT_TRUE(text.contains(QStringLiteral("Reservations With Balance Due")));
    EXPECT_TRUE(text.contains(QStringLiteral("08 December 2026")));
    EXPECT_TRUE(text.contains(QStringLiteral("10:47")));
    EXPECT_TRUE(text.contains(QStringLiteral("Owing £ Co")));
    for (const char *amount : {"£1,000.00", "£50.00", "£210.00", "£1,260.00", "£260.00"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(amount))) << amount;
    EXPECT_TRUE(text.contains(QStringLiteral("05/12/2026 10:00:00")));
    EXPECT_FALSE(text.contains(QStringLiteral("Paidup")));
    EXPECT_FALSE(text.contains(QStringLiteral("Nopayment")));
}

TEST_F(CommandLayouts, AFileThatCannotBeWrittenIsReported)
{
    expectFileDialog(worldDir() + QStringLiteral("/no such folder/receipt.pdf"));
    expectMessage(QStringLiteral("could not be printed"), ui::vbOK);
    EXPECT_FALSE(reports::PrintInvoice());
}

} // namespace
} // namespace quorl
