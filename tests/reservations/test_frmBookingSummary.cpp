#include <ostream>

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTest>

#include "BookingWorld.h"
#include "platform/ui/MdiChildren.h"
#include "reservations/BookingSummary.h"
#include "reservations/frmBooking.h"
#include "reservations/frmBookingSummary.h"
#include "support/PrintedText.h"

namespace quorl {
namespace {

// Smith of Rose Cottage has booked C1 from 3 May 2024 09:00 to 5 May 2024 14:00.
class BookingSummaryWindow : public BookingWorld {
protected:
    void SetUp() override
    {
        BookingWorld::SetUp();
        smith = addCustomer(QStringLiteral("Smith"), QStringLiteral("Rose Cottage"), QStringLiteral("smith@example.org"));
        berth = addBerth(QStringLiteral("C1"), 25);
        booking = addBooking(at(2024, 5, 3, 9, 0), at(2024, 5, 5, 14, 0), {berth}, smith);
        execute(QStringLiteral("UPDATE Booking SET CostOfHire = 12.5, OtherCharges = 0, VAT = 2.5, TotalPayable = 15, "
                               "NoAdults = 2, NoKids = 0, Notes = 'Late arrival' WHERE ID = ")
                + QString::number(booking));
        area.show();
        summary = ui::sharedMdiChild<frmBookingSummary>(&area);
    }
    void TearDown() override
    {
        area.closeAllSubWindows();
        BookingWorld::TearDown();
    }

    template <class T>
    T *control(const char *name) const
    {
        T *found = summary->findChild<T *>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QString labelText(const char *name) const { return control<QLabel>(name)->text(); }
    bool enabled(const char *name) const { return control<QPushButton>(name)->isEnabled(); }

    QMdiArea area;
    NoPrinterInstalled noPrinter;
    frmBookingSummary *summary = nullptr;
    qint64 smith = 0;
    qint64 berth = 0;
    qint64 booking = 0;
};

TEST_F(BookingSummaryWindow, ShowsTheBookingAndKeepsItsPlainCopyForThePrints)
{
    summary->Display(booking);
    EXPECT_TRUE(summary->isVisible());
    EXPECT_EQ(summary->BookingID(), booking);
    EXPECT_EQ(labelText("lblDates"), QStringLiteral("03.05.2024 09:00 to 05.05.2024 14:00"));
    EXPECT_EQ(labelText("lblName"), QStringLiteral("Smith, Rose Cottage"));
    EXPECT_EQ(labelText("lblAddress"), QStringLiteral("Quay Street, Harbourside, Porthwen, PW1 2AB"));
    EXPECT_EQ(labelText("lblMail"), QStringLiteral("smith@example.org"));
    EXPECT_EQ(control<QLineEdit>("Text1")->text(), QStringLiteral("£12.50"));
    EXPECT_EQ(control<QLineEdit>("Text5")->text(), QString());   // nothing paid yet

    const QList<QVariantList> scratch = rows(QStringLiteral("SELECT ID, CostOfHire, CustomerID, CompanyID FROM InvTemp"));
    ASSERT_EQ(scratch.size(), 1);
    EXPECT_EQ(scratch.first().value(0).toLongLong(), booking);
    EXPECT_EQ(scratch.first().value(1).toDouble(), 12.5);
    EXPECT_EQ(scratch.first().value(2).toLongLong(), smith);
    EXPECT_EQ(scratch.first().value(3), scalar(QStringLiteral("SELECT CompanyID FROM Company")));
}

TEST_F(BookingSummaryWindow, TheScratchTableHoldsOnlyTheLastBookingShown)
{
    execute(QStringLiteral("INSERT INTO InvTemp (ID) VALUES (900), (901)"));
    const qint64 jones = addCustomer(QStringLiteral("Jones"));
    const qint64 second = addBooking(at(2024, 6, 1, 10, 0), at(2024, 6, 2, 10, 0), {berth}, jones);
    summary->Display(booking);
    summary->Display(second);
    EXPECT_EQ(rows(QStringLiteral("SELECT ID FROM InvTemp")), QList<QVariantList>({{second}}));
    EXPECT_EQ(labelText("lblName"), QStringLiteral("Jones, "));
}

TEST_F(BookingSummaryWindow, ABookingWithoutItsCustomerShowsNothingAndCopiesNothing)
{
    summary->Display(booking);
    execute(QStringLiteral("DELETE FROM Customer WHERE ID = ") + QString::number(smith));
    summary->Display(booking);
    EXPECT_FALSE(summary->isVisible());
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM InvTemp")).toInt(), 0);
    EXPECT_FALSE(enabled("Command2"));
}

struct CountCase {
    const char *name;
    int adults;
    int kids;
    bool numbersShown;
    bool captionsShown;
};

void PrintTo(const CountCase &c, std::ostream *os) { *os << c.name; }
class HeadCounts : public BookingSummaryWindow, public ::testing::WithParamInterface<CountCase> {};

TEST_P(HeadCounts, ShowOrHideTogether)
{
    execute(QStringLiteral("UPDATE Booking SET NoAdults = %1, NoKids = %2").arg(GetParam().adults).arg(GetParam().kids));
    summary->Display(booking);
    EXPECT_EQ(control<QLabel>("lblNoAdults")->isVisible(), GetParam().numbersShown);
    EXPECT_EQ(control<QLabel>("lblNoKids")->isVisible(), GetParam().numbersShown);
    EXPECT_EQ(control<QLabel>("lblAdults")->isVisible(), GetParam().captionsShown);
    EXPECT_EQ(control<QLabel>("lblKids")->isVisible(), GetParam().captionsShown);
    if (GetParam().numbersShown) {
        EXPECT_EQ(labelText("lblNoAdults"), QString::number(GetParam().adults));
    }
}

INSTANTIATE_TEST_SUITE_P(Counts, HeadCounts,
                         ::testing::Values(CountCase{"SwitchedOff", -1, -1, false, false},
                                           CountCase{"TwoAdultsNoChildren", 2, 0, true, true}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(BookingSummaryWindow, CancelDeletesTheBookingWritesTheEventAndDisablesTheRest)
{
    summary->Display(booking);
    expectMessage(QStringLiteral("Do you want to delete existing reservation?"), ui::vbNo);
    control<QPushButton>("Command2")->click();
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM Booking")).toInt(), 1);
    EXPECT_TRUE(enabled("Command4"));

    expectMessage(QStringLiteral("Do you want to delete existing reservation?"), ui::vbYes);
    control<QPushButton>("Command2")->click();
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM Booking")).toInt(), 0);
    EXPECT_TRUE(eventLog().contains(
        QStringLiteral("From: 03.05.2024 09:00 to 05.05.2024 14:00, Customer:Smith, Rose Cottage")));
    for (const char *name : {"Command1", "Command2", "Command4", "Command5"})
        EXPECT_FALSE(enabled(name)) << name;
    EXPECT_TRUE(enabled("Command3"));
}

TEST_F(BookingSummaryWindow, TheReceiptPrintsTheBookingShown)
{
    summary->Display(booking);
    const QString path = worldDir() + QStringLiteral("/receipt.pdf");
    expectFileDialog(path);
    control<QPushButton>("Command4")->click();
    const QString text = pdfText(path);
    EXPECT_TRUE(text.contains(QStringLiteral("INVOICE")));
    EXPECT_TRUE(text.contains(QStringLiteral("£12.50")));
    EXPECT_TRUE(text.contains(QStringLiteral("Rose Cottage")));

    const QString form = worldDir() + QStringLiteral("/form.pdf");
    expectFileDialog(form);
    control<QPushButton>("Command5")->click();
    EXPECT_TRUE(pdfText(form).contains(QStringLiteral("Reservation Form")));
}

TEST_F(BookingSummaryWindow, EditOpensTheBookingFormOnThisBooking)
{
    summary->Display(booking);
    control<QPushButton>("Command1")->click();
    auto *form = ui::findMdiChild<frmBooking>(&area);
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->Mode(), 2);
    EXPECT_EQ(form->BookingID(), booking);
}

TEST_F(BookingSummaryWindow, EmailOpensAMailtoAddress)
{
    summary->Display(booking);
    QTest::mouseClick(control<QLabel>("Label38"), Qt::LeftButton);
    ASSERT_EQ(shellCalls().size(), 1);
    EXPECT_EQ(shellCalls().first().target, QStringLiteral("mailto:smith@example.org"));
    EXPECT_EQ(mailtoUrl(QString()), QStringLiteral("mailto:"));
    EXPECT_EQ(mailtoUrl(QStringLiteral("a b?x@example.org")), QStringLiteral("mailto:a%20b%3Fx@example.org"));
}

} // namespace
} // namespace quorl
