#include <memory>
#include <ostream>

#include <gtest/gtest.h>

#include <QApplication>
#include <QMdiSubWindow>
#include <QPushButton>

#include "BookingWorld.h"
#include "core/MDIMain.h"
#include "core/modEventLog.h"
#include "platform/db/Recordset.h"
#include "platform/ui/MdiChildren.h"
#include "platform/ui/MsgBox.h"
#include "reservations/frmBooking.h"
#include "reservations/frmBookingSummary.h"
#include "reservations/frmCalendar.h"

namespace quorl {
namespace {

// Today, 8 December 2026, holds Ann's arrival and Bob's departure. Ann has no house name.
class DayCalendar : public BookingWorld {
protected:
    void SetUp() override
    {
        BookingWorld::SetUp();
        const qint64 a1 = addBerth(QStringLiteral("A1"));
        const qint64 b2 = addBerth(QStringLiteral("B2"));
        ann = addBooking(at(2026, 12, 8, 14, 0), at(2026, 12, 10, 9, 0), {a1},
                         addCustomer(QStringLiteral("Ann O'Neil")));
        bob = addBooking(at(2026, 12, 7, 10, 0), at(2026, 12, 8, 12, 0), {b2},
                         addCustomer(QStringLiteral("Bob Hale"), QStringLiteral("Quay House")));
        main = std::make_unique<MDIMain>();
        main->show();
        main->menuEntry(QStringLiteral("mnuBookingsCalendar"))->trigger();
        calendar = ui::findMdiChild<frmCalendar>(main->mdiArea());
        ASSERT_NE(calendar, nullptr);
    }
    void TearDown() override
    {
        main.reset();
        BookingWorld::TearDown();
    }

    QStringList shownNames() const
    {
        QStringList names;
        db::Recordset *list = calendar->dayList();
        for (int row = 0; row < list->RecordCount(); ++row)
            names << list->valueAt(row, list->fieldIndex(QStringLiteral("CName"))).toString();
        return names;
    }
    void choose(qint64 bookingId) const
    {
        calendar->dayList()->MoveFirst();
        calendar->dayList()->Find(QStringLiteral("ID = %1").arg(bookingId));
        ASSERT_FALSE(calendar->dayList()->isEOF());
    }
    void click(const char *button) const
    {
        calendar->findChild<QPushButton *>(QLatin1String(button))->click();
    }
    qint64 bookingCount() const { return scalar(QStringLiteral("SELECT COUNT(*) FROM Booking")).toLongLong(); }

    std::unique_ptr<MDIMain> main;
    frmCalendar *calendar = nullptr;
    qint64 ann = 0;
    qint64 bob = 0;
};

TEST_F(DayCalendar, OpensMaximisedOnTodayPickingADayRefiltersAndActivationRereads)
{
    EXPECT_EQ(calendar->shownDay(), QDate(2026, 12, 8));
    EXPECT_TRUE(qobject_cast<QMdiSubWindow *>(calendar->parentWidget())->isMaximized());
    EXPECT_EQ(shownNames(), (QStringList{"Ann O'Neil", "Bob Hale"}));
    addBooking(at(2026, 12, 9, 18, 0), at(2026, 12, 10, 9, 0), {}, addCustomer(QStringLiteral("Cy Late")));
    calendar->setShownDay(QDate(2026, 12, 9));
    EXPECT_EQ(shownNames(), QStringList{"Ann O'Neil"});
    calendar->Form_Activate();
    EXPECT_EQ(shownNames(), (QStringList{"Ann O'Neil", "Cy Late"}));
}

TEST_F(DayCalendar, AnEmptyDaysButtonsDoNothing)
{
    calendar->setShownDay(QDate(2026, 12, 20));
    EXPECT_EQ(shownNames(), QStringList{"No reservations exist for this date"});
    SummaryVisit summary;
    for (const char *button : {"cmdEdit", "cmdSummary", "cmdCancel"})
        click(button); // an unexpected question would fail the test
    EXPECT_EQ(ui::findMdiChild<frmBooking>(main->mdiArea()), nullptr);
    EXPECT_FALSE(summary.opened());
    EXPECT_EQ(bookingCount(), 2);
}

struct OpenCase {
    const char *name;
    const char *button;
    int mode;    // of the booking form; 0: the summary
    bool chosen; // opens Bob's booking
};

void PrintTo(const OpenCase &c, std::ostream *out) { *out << c.name; }

class CalendarOpensTheBookingForm : public DayCalendar, public ::testing::WithParamInterface<OpenCase> {
};

TEST_P(CalendarOpensTheBookingForm, WithTheChosenBookingOrANewOne)
{
    choose(bob);
    SummaryVisit summary;
    click(GetParam().button);
    const qint64 expected = GetParam().chosen ? bob : 0;
    if (GetParam().mode == 0) {
        EXPECT_EQ(summary.shownBooking(), expected);
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << "the summary is closed when the button returns";
        return;
    }
    EXPECT_FALSE(summary.opened());
    const frmBooking *form = ui::findMdiChild<frmBooking>(main->mdiArea());
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->Mode(), GetParam().mode);
    EXPECT_EQ(form->BookingID(), expected);
}

INSTANTIATE_TEST_SUITE_P(Buttons, CalendarOpensTheBookingForm,
                         ::testing::Values(OpenCase{"AddReservation", "cmdAdd", 1, false},
                                           OpenCase{"EditReservation", "cmdEdit", 2, true},
                                           OpenCase{"ShowSummary", "cmdSummary", 0, true}),
                         [](const auto &info) { return std::string(info.param.name); });

struct CancelCase {
    const char *name;
    int answer;
    QStringList remaining;
    const char *eventDetails; // null: no event
};

void PrintTo(const CancelCase &c, std::ostream *out) { *out << c.name; }

class CalendarCancel : public DayCalendar, public ::testing::WithParamInterface<CancelCase> {
};

TEST_P(CalendarCancel, AsksThenDeletesTheChosenBookingAndLogsIt)
{
    choose(ann);
    expectMessage(QStringLiteral("Do you want to delete existing reservation?"), GetParam().answer);
    click("cmdCancel");
    EXPECT_EQ(messages().last().title, "Cancel booking");
    EXPECT_EQ(shownNames(), GetParam().remaining);
    EXPECT_EQ(bookingCount(), GetParam().remaining.size());
    const char *details = GetParam().eventDetails;
    EXPECT_EQ(eventLog(), details ? eventLogEntry(defaultNow(), evBookingCancelled, QString::fromUtf8(details)) : "");
}

INSTANTIATE_TEST_SUITE_P(
    Answers, CalendarCancel,
    ::testing::Values(CancelCase{"Yes", ui::vbYes, {"Bob Hale"},
                                 "From: 08.12.2026 14:00 to 10.12.2026 09:00, Customer: Ann O'Neil, "},
                      CancelCase{"No", ui::vbNo, {"Ann O'Neil", "Bob Hale"}, nullptr}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(DayCalendar, ABookingCancelledInItsSummaryIsGoneFromTheDayOnceTheSummaryCloses)
{
    choose(bob);
    SummaryVisit summary([this](frmBookingSummary &open) {
        expectMessage(QStringLiteral("Do you want to delete existing reservation?"), ui::vbYes);
        open.findChild<QPushButton *>(QStringLiteral("Command2"))->click();
    });
    click("cmdSummary");
    ASSERT_EQ(summary.shownBooking(), bob);
    EXPECT_EQ(bookingCount(), 1);
    EXPECT_EQ(shownNames(), QStringList{"Ann O'Neil"});
}

TEST_F(DayCalendar, ABookingCancelledElsewhereIsNotCancelledOrLoggedAgain)
{
    choose(ann);
    execute(QStringLiteral("DELETE FROM Booking WHERE ID = %1").arg(ann));
    expectMessage(QStringLiteral("no longer exists"), ui::vbOK);
    click("cmdCancel");
    EXPECT_EQ(eventLog(), "");
    EXPECT_EQ(shownNames(), QStringList{"Bob Hale"});
}

TEST_F(DayCalendar, ARefreshThatKeepsFailingIsToldOnceUntilOneSucceeds)
{
    execute(QStringLiteral("ALTER TABLE BookingBerth RENAME TO Hidden"));
    expectMessage(QStringLiteral("BookingBerth"), ui::vbOK);
    calendar->Form_Activate();
    calendar->Form_Activate(); // a second question would fail the test
    execute(QStringLiteral("ALTER TABLE Hidden RENAME TO BookingBerth"));
    calendar->Form_Activate();
    EXPECT_EQ(shownNames(), (QStringList{"Ann O'Neil", "Bob Hale"}));
}

} // namespace
} // namespace quorl
