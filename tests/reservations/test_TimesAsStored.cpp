// A stored date and time is shown as the wall clock reads it, never moved through the
// local time zone: on the night the clocks go forward no local time reads 01:30, yet a
// booking stored with that reading shows 01:30 in every window, print and event.

#include <time.h>

#include <memory>
#include <ostream>

#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>

#include "BookingWorld.h"
#include "core/MDIMain.h"
#include "platform/db/Recordset.h"
#include "platform/ui/MdiChildren.h"
#include "platform/ui/MsgBox.h"
#include "reservations/frmBookingSummary.h"
#include "reservations/frmCalendar.h"
#include "support/PrintedText.h"

namespace quorl {
namespace {

const QString kCancelQuestion = QStringLiteral("Do you want to delete existing reservation?");

// British summer time begins at 01:00 on 28 March 2027, when the clocks go to 02:00.
// Smith leaves A1 at 01:30 that night and Jones arrives then.
class ClockChangeNight : public BookingWorld {
protected:
    void SetUp() override
    {
        setVariable("TZ", QStringLiteral("Europe/London"));
        tzset();
        BookingWorld::SetUp();
        // Without the zone in effect the test would pass whatever the program does.
        ASSERT_EQ(QDateTime(QDate(2027, 7, 1), QTime(12, 0)).offsetFromUtc(), 3600) << "no British time zone";
        const qint64 a1 = addBerth(QStringLiteral("A1"), 10.0);
        leaving = addBooking(at(2027, 3, 27, 14, 0), at(2027, 3, 28, 12, 0), {a1},
                             addCustomer(QStringLiteral("Smith"), QStringLiteral("Rose Cottage")));
        arriving = addBooking(at(2027, 3, 28, 12, 0), at(2027, 3, 29, 9, 0), {a1},
                              addCustomer(QStringLiteral("Jones"), QStringLiteral("Mill House")));
        execute(QStringLiteral("UPDATE Booking SET ToDate = '2027-03-28 01:30:00' WHERE ID = %1").arg(leaving));
        execute(QStringLiteral("UPDATE Booking SET FromDate = '2027-03-28 01:30:00' WHERE ID = %1").arg(arriving));
        main = std::make_unique<MDIMain>();
        main->show();
    }
    void TearDown() override
    {
        main.reset();
        BookingWorld::TearDown(); // puts the zone back
        tzset();
    }

    frmCalendar *openCalendar()
    {
        main->menuEntry(QStringLiteral("mnuBookingsCalendar"))->trigger();
        auto *calendar = ui::findMdiChild<frmCalendar>(main->mdiArea());
        if (calendar)
            calendar->setShownDay(QDate(2027, 3, 28));
        return calendar;
    }

    std::unique_ptr<MDIMain> main;
    qint64 leaving = 0;
    qint64 arriving = 0;
};

TEST_F(ClockChangeNight, TheDayCalendarShowsTheStoredTimes)
{
    frmCalendar *calendar = openCalendar();
    ASSERT_NE(calendar, nullptr);
    db::Recordset *list = calendar->dayList();
    QStringList shown;
    for (list->MoveFirst(); !list->isEOF(); list->MoveNext()) {
        shown << list->value(QStringLiteral("CName")).toString() + QLatin1Char(':')
                + list->value(QStringLiteral("Arrival")).toString() + QLatin1Char('-')
                + list->value(QStringLiteral("Departure")).toString();
    }
    EXPECT_EQ(shown, (QStringList{"Smith:n/a- 01:30", "Jones: 01:30-n/a"}));
}

// Each window that cancels a booking writes the cancel event with its stored times.
struct CancelCase {
    const char *name;
    bool arrivingBooking; // else the one leaving
    bool fromSummary;     // else from the day calendar
    const char *details;
};

void PrintTo(const CancelCase &c, std::ostream *out) { *out << c.name; }

class ClockChangeCancel : public ClockChangeNight, public ::testing::WithParamInterface<CancelCase> {};

TEST_P(ClockChangeCancel, TheEventHoldsTheStoredTimes)
{
    const qint64 booking = GetParam().arrivingBooking ? arriving : leaving;
    expectMessage(kCancelQuestion, ui::vbYes);
    if (GetParam().fromSummary) {
        frmBookingSummary *summary = frmBookingSummary::shared(main.get());
        ASSERT_TRUE(summary->load(booking));
        summary->findChild<QPushButton *>(QStringLiteral("Command2"))->click();
    } else {
        frmCalendar *calendar = openCalendar();
        ASSERT_NE(calendar, nullptr);
        calendar->dayList()->MoveFirst();
        calendar->dayList()->Find(QStringLiteral("ID = %1").arg(booking));
        ASSERT_FALSE(calendar->dayList()->isEOF());
        calendar->findChild<QPushButton *>(QStringLiteral("cmdCancel"))->click();
    }
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM Booking WHERE ID = %1").arg(booking)), 0);
    EXPECT_TRUE(eventLog().contains(QString::fromUtf8(GetParam().details))) << eventLog().toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Windows, ClockChangeCancel,
    ::testing::Values(CancelCase{"DayCalendarLeaving", false, false,
                                 "From: 27.03.2027 14:00 to 28.03.2027 01:30, Customer: Smith, Rose Cottage"},
                      CancelCase{"DayCalendarArriving", true, false,
                                 "From: 28.03.2027 01:30 to 29.03.2027 09:00, Customer: Jones, Mill House"},
                      CancelCase{"SummaryArriving", true, true,
                                 "From: 28.03.2027 01:30 to 29.03.2027 09:00, Customer:Jones, Mill House"}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(ClockChangeNight, TheSummaryAndItsReservationFormShowTheStoredTimes)
{
    NoPrinterInstalled noPrinter;
    frmBookingSummary *summary = frmBookingSummary::shared(main.get());
    ASSERT_TRUE(summary->load(arriving));
    EXPECT_EQ(summary->findChild<QLabel *>(QStringLiteral("lblDates"))->text(),
              QStringLiteral("28.03.2027 01:30 to 29.03.2027 09:00"));

    const QString form = worldDir() + QStringLiteral("/form.pdf");
    expectFileDialog(form);
    summary->findChild<QPushButton *>(QStringLiteral("Command5"))->click();
    const QString printed = pdfText(form);
    EXPECT_TRUE(printed.contains(QStringLiteral("28/03/2027 01:30:00"))) << printed.toStdString();
    EXPECT_FALSE(printed.contains(QStringLiteral("02:30"))) << printed.toStdString();
}

} // namespace
} // namespace quorl
