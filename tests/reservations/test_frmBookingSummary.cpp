#include <functional>
#include <memory>
#include <ostream>

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "BookingWorld.h"
#include "core/MDIMain.h"
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
        main = std::make_unique<MDIMain>(nullptr, Navigation{});
        main->show();
        summary = frmBookingSummary::shared(main.get());
    }
    void TearDown() override
    {
        main.reset();
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

    std::unique_ptr<MDIMain> main;
    NoPrinterInstalled noPrinter;
    frmBookingSummary *summary = nullptr;
    qint64 smith = 0;
    qint64 berth = 0;
    qint64 booking = 0;
};

TEST_F(BookingSummaryWindow, ShowsTheBookingAndKeepsItsPlainCopyForThePrints)
{
    ASSERT_TRUE(summary->load(booking));
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
    summary->load(booking);
    summary->load(second);
    EXPECT_EQ(rows(QStringLiteral("SELECT ID FROM InvTemp")), QList<QVariantList>({{second}}));
    EXPECT_EQ(labelText("lblName"), QStringLiteral("Jones, "));
}

TEST_F(BookingSummaryWindow, ABookingWithoutItsCustomerShowsNothingAndCopiesNothing)
{
    summary->load(booking);
    execute(QStringLiteral("DELETE FROM Customer WHERE ID = ") + QString::number(smith));
    SummaryVisit visit;
    summary->Display(booking);   // returns at once
    EXPECT_FALSE(visit.opened());
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
    summary->load(booking);
    const auto shown = [this](const char *name) { return control<QLabel>(name)->isVisibleTo(summary); };
    EXPECT_EQ(shown("lblNoAdults"), GetParam().numbersShown);
    EXPECT_EQ(shown("lblNoKids"), GetParam().numbersShown);
    EXPECT_EQ(shown("lblAdults"), GetParam().captionsShown);
    EXPECT_EQ(shown("lblKids"), GetParam().captionsShown);
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
    bool openAfterCancel = false;
    SummaryVisit visit([&](frmBookingSummary &) {
        expectMessage(QStringLiteral("Do you want to delete existing reservation?"), ui::vbNo);
        control<QPushButton>("Command2")->click();
        EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM Booking")).toInt(), 1);
        EXPECT_TRUE(enabled("Command4"));

        expectMessage(QStringLiteral("Do you want to delete existing reservation?"), ui::vbYes);
        control<QPushButton>("Command2")->click();
        EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM Booking")).toInt(), 0);
        for (const char *name : {"Command1", "Command2", "Command4", "Command5"})
            EXPECT_FALSE(enabled(name)) << name;
        EXPECT_TRUE(enabled("Command3"));
        openAfterCancel = summary->isVisible();
    });
    summary->Display(booking);
    ASSERT_TRUE(visit.opened());
    EXPECT_TRUE(openAfterCancel) << "the summary stays open after cancelling";
    EXPECT_TRUE(eventLog().contains(
        QStringLiteral("From: 03.05.2024 09:00 to 05.05.2024 14:00, Customer:Smith, Rose Cottage")));
}

TEST_F(BookingSummaryWindow, TheReceiptPrintsTheBookingShown)
{
    summary->load(booking);
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

TEST_F(BookingSummaryWindow, EditOpensTheBookingFormOnThisBookingOnceTheSummaryHasClosed)
{
    bool formWhileOpen = true;
    bool summaryStillShown = true;
    SummaryVisit visit([&](frmBookingSummary &) {
        control<QPushButton>("Command1")->click();
        formWhileOpen = ui::findMdiChild<frmBooking>(main->mdiArea()) != nullptr;
        summaryStillShown = summary->isVisible();
    });
    summary->Display(booking);
    ASSERT_TRUE(visit.opened());
    EXPECT_FALSE(formWhileOpen) << "the booking form opened inside the summary's loop";
    EXPECT_FALSE(summaryStillShown);
    auto *form = ui::findMdiChild<frmBooking>(main->mdiArea());
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->Mode(), 2);
    EXPECT_EQ(form->BookingID(), booking);
}

TEST_F(BookingSummaryWindow, EmailOpensAMailtoAddress)
{
    SummaryVisit visit([this](frmBookingSummary &) { QTest::mouseClick(control<QLabel>("Label38"), Qt::LeftButton); });
    summary->Display(booking);
    ASSERT_TRUE(visit.opened());
    ASSERT_EQ(shellCalls().size(), 1);
    EXPECT_EQ(shellCalls().first().target, QStringLiteral("mailto:smith@example.org"));
    EXPECT_EQ(mailtoUrl(QString()), QStringLiteral("mailto:"));
    EXPECT_EQ(mailtoUrl(QStringLiteral("a b?x@example.org")), QStringLiteral("mailto:a%20b%3Fx@example.org"));
}

// Each Display shows the one summary in front of the main window until it is
// closed, whichever way it is closed, and the next Display shows it again.
struct CloseCase {
    const char *name;
    std::function<void(frmBookingSummary &)> close;
};

void PrintTo(const CloseCase &c, std::ostream *os) { *os << c.name; }
class ClosingTheSummary : public BookingSummaryWindow, public ::testing::WithParamInterface<CloseCase> {};

TEST_P(ClosingTheSummary, EndsDisplayAndTheNextDisplayShowsItAgain)
{
    const qint64 second = addBooking(at(2024, 6, 1, 10, 0), at(2024, 6, 2, 10, 0), {berth}, smith);
    for (const qint64 shown : {booking, second}) {
        SummaryVisit visit(GetParam().close);
        frmBookingSummary::shared(main.get())->Display(shown);
        EXPECT_EQ(visit.shownBooking(), shown);
        EXPECT_TRUE(visit.wasModal());
        EXPECT_FALSE(summary->isVisible());
    }
    EXPECT_EQ(frmBookingSummary::shared(main.get()), summary);
    EXPECT_TRUE(summary->isWindow());
    EXPECT_EQ(summary->parentWidget(), main.get());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    Summary, ClosingTheSummary,
    ::testing::Values(CloseCase{"CloseButton", [](frmBookingSummary &s) {
                                    s.findChild<QPushButton *>(QStringLiteral("Command3"))->click();
                                }},
                      CloseCase{"EscapeKey", [](frmBookingSummary &s) { QTest::keyClick(&s, Qt::Key_Escape); }},
                      CloseCase{"WindowClosed", [](frmBookingSummary &s) { s.close(); }}),
    [](const auto &info) { return std::string(info.param.name); });

} // namespace
} // namespace quorl
