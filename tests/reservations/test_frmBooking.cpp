#include <memory>
#include <ostream>
#include <stdexcept>

#include <time.h>

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QAction>
#include <QLineEdit>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimeEdit>
#include <QTimer>

#include "BookingWorld.h"
#include "core/MDIMain.h"
#include "core/RegistryValues.h"
#include "core/modDatabase.h"
#include "masterdata/frmAddCustomer.h"
#include "platform/db/Connection.h"
#include "platform/registry/Registry.h"
#include "platform/ui/DataCombo.h"
#include "platform/ui/MdiChildren.h"
#include "platform/ui/MsgBox.h"
#include "reservations/Availability.h"
#include "reservations/frmBooking.h"

namespace quorl {
namespace {

class BookingForm : public BookingWorld {
protected:
    void SetUp() override
    {
        BookingWorld::SetUp();
        form = std::make_unique<frmBooking>();
    }
    void TearDown() override
    {
        form.reset();
        BookingWorld::TearDown();
    }

    template <class T>
    T *control(const char *name) const
    {
        T *widget = form->findChild<T *>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    QLineEdit *box(const char *name) const { return control<QLineEdit>(name); }
    QString text(const char *name) const { return box(name)->text(); }
    QString label(const char *name) const { return control<QLabel>(name)->text(); }
    ui::DataCombo *combo(const char *name) const { return control<ui::DataCombo>(name); }

    void setPeriod(const QDateTime &from, const QDateTime &to)
    {
        control<QDateEdit>("dtpFromDate")->setDate(from.date());
        control<QTimeEdit>("dtpFromTime")->setTime(from.time());
        control<QDateEdit>("dtpToDate")->setDate(to.date());
        control<QTimeEdit>("dtpToTime")->setTime(to.time());
    }
    void mark(qint64 berthId)
    {
        const int row = form->availableBerths()->rowOfBerth(berthId);
        ASSERT_GE(row, 0) << "berth " << berthId << " is not offered";
        form->grdBerth_Click(row + 1);
    }
    void activate()
    {
        QApplication::setActiveWindow(form.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }

    // A new booking of the berths for 1 June 09:00 to 3 June 14:00, on its confirmation page.
    void newBookingToConfirmation(qint64 customerId, const QList<qint64> &berths)
    {
        form->Display(1, 0);
        ASSERT_TRUE(form->isLoaded());
        setPeriod(at(2026, 6, 1, 9, 0), at(2026, 6, 3, 14, 0));
        form->cmdNext_Click();
        for (qint64 berth : berths)
            mark(berth);
        form->cmdNext_Click();
        combo("cboCustomer")->setBoundValue(customerId);
        form->cmdNext_Click();
        ASSERT_EQ(form->CurrentStep(), 3);
    }

    // Both tables in full, to prove that a refused save wrote nothing.
    QList<QVariantList> snapshot() const
    {
        return rows(QStringLiteral("SELECT * FROM Booking ORDER BY ID"))
            + rows(QStringLiteral("SELECT BookingID, BerthID FROM BookingBerth ORDER BY BookingID, BerthID"));
    }

    std::unique_ptr<frmBooking> form;
};

TEST_F(BookingForm, ANewBookingOpensOnTodayAtTheRegistryTimesWithTheNextConfirmationNumber)
{
    form->Display(1, 0);
    EXPECT_EQ(control<QDateEdit>("dtpFromDate")->date(), QDate(2026, 12, 8));
    EXPECT_EQ(control<QDateEdit>("dtpToDate")->date(), QDate(2026, 12, 8));
    EXPECT_EQ(control<QTimeEdit>("dtpFromTime")->time(), QTime(9, 0));
    EXPECT_EQ(control<QTimeEdit>("dtpToTime")->time(), QTime(14, 0));
    EXPECT_EQ(control<QTimeEdit>("dtpToTime")->displayFormat(), QStringLiteral("HH:mm"));
    EXPECT_EQ(text("txtBerthConfirmationNumber"), QStringLiteral("1"));
    EXPECT_EQ(text("txtNoAdults"), QStringLiteral("2"));
    EXPECT_EQ(text("txtNoKids"), QStringLiteral("0"));
    EXPECT_EQ(form->CurrentStep(), 0);
    EXPECT_FALSE(control<QPushButton>("cmdBack")->isVisible());
    EXPECT_EQ(control<QPushButton>("cmdNext")->text(), QStringLiteral("&Next"));
    EXPECT_TRUE(control<QLabel>("lblStep(0)")->font().bold());
    EXPECT_TRUE(form->windowTitle().isEmpty());
    EXPECT_FALSE(control<QPushButton>("cmdNext")->autoDefault());

    addBooking(at(2026, 1, 1, 9, 0), at(2026, 1, 2, 9, 0), {}); // confirmation number 41
    SetRegistryValue(HKEY_LOCAL_MACHINE, QString::fromUtf8(kProgramKey), QStringLiteral("CheckInTime"),
                     QStringLiteral("10:30"));
    form->cmdCancel_Click();
    form->Display(1, 0);
    EXPECT_EQ(text("txtBerthConfirmationNumber"), QStringLiteral("42"));
    EXPECT_EQ(control<QTimeEdit>("dtpFromTime")->time(), QTime(10, 30));
}

struct TimeSettingCase {
    const char *name;
    const char *value; // of both "CheckInTime" and "CheckoutTime"
    QTime arrival;
    QTime departure;
};

void PrintTo(const TimeSettingCase &c, std::ostream *out)
{
    *out << c.name;
}

class BookingTimeSettings : public BookingForm, public ::testing::WithParamInterface<TimeSettingCase> {
};

TEST_P(BookingTimeSettings, ANewBookingTakesTheTimeTheSettingMeansOrElseTheUsualOne)
{
    const TimeSettingCase &c = GetParam();
    for (const char *name : {kValueCheckInTime, kValueCheckoutTime})
        SetRegistryValue(HKEY_LOCAL_MACHINE, QString::fromUtf8(kProgramKey), QString::fromUtf8(name),
                         QString::fromUtf8(c.value));
    form->Display(1, 0);
    ASSERT_TRUE(form->isLoaded());
    EXPECT_EQ(control<QTimeEdit>("dtpFromTime")->time(), c.arrival);
    EXPECT_EQ(control<QTimeEdit>("dtpToTime")->time(), c.departure);
}

INSTANTIATE_TEST_SUITE_P(
    Values, BookingTimeSettings,
    ::testing::Values(TimeSettingCase{"AsTheSettingsWindowWritesIt", "16:30:00", QTime(16, 30), QTime(16, 30)},
                      TimeSettingCase{"OneDigitHour", " 7:30 ", QTime(7, 30), QTime(7, 30)},
                      TimeSettingCase{"LeadingZeroHour", "07:05", QTime(7, 5), QTime(7, 5)},
                      TimeSettingCase{"WithADatePart", "08/12/2026 10:30:00", QTime(10, 30), QTime(10, 30)},
                      TimeSettingCase{"TwelveHourClock", "2:30 PM", QTime(14, 30), QTime(14, 30)},
                      TimeSettingCase{"Empty", "", QTime(9, 0), QTime(14, 0)},
                      TimeSettingCase{"HourAlone", "9", QTime(9, 0), QTime(14, 0)},
                      TimeSettingCase{"NoSuchTime", "25:00", QTime(9, 0), QTime(14, 0)}),
    [](const ::testing::TestParamInfo<TimeSettingCase> &info) { return std::string(info.param.name); });

// Periods compare as the wall clock reads them, whatever the local time zone.
const QString kReading = QStringLiteral("yyyy-MM-dd HH:mm:ss");

struct DateCase {
    const char *name;
    QDateTime from;
    QDateTime to;
    const char *message; // nullptr: accepted
    QDateTime snappedFrom;
    QDateTime snappedTo;
};

void PrintTo(const DateCase &c, std::ostream *out)
{
    *out << c.name;
}

class BookingDates : public BookingForm, public ::testing::WithParamInterface<DateCase> {
};

TEST_P(BookingDates, StepZeroSnapsThePeriodAndRefusesImpossibleOnes)
{
    const DateCase &c = GetParam();
    addBerth(QStringLiteral("A1"));
    form->Display(1, 0);
    setPeriod(c.from, c.to);
    if (c.message)
        expectMessage(QString::fromUtf8(c.message), ui::vbOK);
    form->cmdNext_Click();
    if (c.message) {
        EXPECT_EQ(messages().last().title, QStringLiteral("Booking"));
        EXPECT_EQ(messages().last().buttons, ui::vbExclamation | ui::vbOKOnly);
        EXPECT_EQ(form->CurrentStep(), 0);
        EXPECT_EQ(form->focusWidget(), control<QDateEdit>("dtpToDate"));
    } else {
        EXPECT_EQ(form->CurrentStep(), 1);
        EXPECT_EQ(form->FromDateTime().toString(kReading), c.snappedFrom.toString(kReading));
        EXPECT_EQ(form->ToDateTime().toString(kReading), c.snappedTo.toString(kReading));
    }
    // The pickers keep what the user set.
    EXPECT_EQ(control<QTimeEdit>("dtpFromTime")->time(), c.from.time());
}

const char *const kDepartureFirst = "Departure date must be after the Arrival date.";
const char *const kBadInterval = "Booking interval is invalid";

QDateTime june(int day, int hour, int minute)
{
    return QDateTime(QDate(2026, 6, day), QTime(hour, minute));
}

INSTANTIATE_TEST_SUITE_P(
    Periods, BookingDates,
    ::testing::Values(
        DateCase{"SameDayAtTheUsualTimes", june(1, 9, 0), june(1, 14, 0), nullptr, june(1, 9, 0), june(1, 14, 0)},
        DateCase{"SnappedOutwards", june(1, 10, 10), june(1, 10, 20), nullptr, june(1, 10, 0), june(1, 10, 30)},
        DateCase{"SnappedAcrossTheHour", june(1, 10, 40), june(1, 10, 50), nullptr, june(1, 10, 30), june(1, 11, 0)},
        DateCase{"DepartureBeforeArrival", june(1, 14, 0), june(1, 9, 0), kDepartureFirst, {}, {}},
        DateCase{"DepartureAtArrival", june(1, 10, 0), june(1, 10, 0), kDepartureFirst, {}, {}},
        DateCase{"LateArrivalEarlyDeparture", june(1, 20, 0), june(2, 7, 30), kBadInterval, {}, {}},
        DateCase{"DepartureSnappedToMidnight", june(1, 23, 0), june(1, 23, 45), kBadInterval, {}, {}},
        DateCase{"ArrivalBeforeEightPm", june(1, 19, 30), june(2, 7, 30), nullptr, june(1, 19, 30), june(2, 7, 30)},
        DateCase{"DepartureAtEight", june(1, 20, 0), june(2, 8, 0), nullptr, june(1, 20, 0), june(2, 8, 0)},
        DateCase{"TwoNights", june(1, 20, 0), june(3, 7, 30), nullptr, june(1, 20, 0), june(3, 7, 30)},
        DateCase{"OverTheMonthEnd", june(30, 14, 0), QDateTime(QDate(2026, 7, 1), QTime(9, 0)), nullptr,
                 june(30, 14, 0), QDateTime(QDate(2026, 7, 1), QTime(9, 0))},
        DateCase{"OverTheYearEnd", QDateTime(QDate(2026, 12, 31), QTime(14, 0)),
                 QDateTime(QDate(2027, 1, 2), QTime(9, 59)), nullptr, QDateTime(QDate(2026, 12, 31), QTime(14, 0)),
                 QDateTime(QDate(2027, 1, 2), QTime(10, 0))}),
    [](const ::testing::TestParamInfo<DateCase> &info) { return std::string(info.param.name); });

// British summer time begins on 29 March 2026 at 01:00, when the clocks go to 02:00;
// the rules are spelt out so no zone database is needed.
class BookingOverTheClockChange : public BookingForm {
protected:
    void SetUp() override
    {
        setVariable("TZ", QStringLiteral("GMT0BST,M3.5.0/1,M10.5.0"));
        tzset();
        BookingForm::SetUp();
    }
    void TearDown() override
    {
        BookingForm::TearDown(); // puts the zone back
        tzset();
    }
};

TEST_F(BookingOverTheClockChange, TimesInTheSkippedHourAreTakenShownAndStoredAsTheWallClockReads)
{
    if (QDateTime(QDate(2026, 3, 29), QTime(1, 30)).isValid())
        GTEST_SKIP() << "this Qt resolves a skipped local time itself";
    const qint64 smith = addCustomer(QStringLiteral("Smith"), QStringLiteral("Rose Cottage"));
    const qint64 a1 = addBerth(QStringLiteral("A1"), 10.0);
    const struct {
        QDateTime from;
        QDateTime to;
        const char *shown;
    } stays[] = {
        {QDateTime(QDate(2026, 3, 28), QTime(14, 0)), QDateTime(QDate(2026, 3, 29), QTime(1, 30)),
         "28.03.2026 14:00 to 29.03.2026 01:30"},
        // Arriving as the first one leaves: the berth is free again.
        {QDateTime(QDate(2026, 3, 29), QTime(1, 30)), QDateTime(QDate(2026, 3, 30), QTime(9, 0)),
         "29.03.2026 01:30 to 30.03.2026 09:00"},
    };
    for (const auto &stay : stays) {
        form->Display(1, 0);
        setPeriod(stay.from, stay.to);
        form->cmdNext_Click();
        ASSERT_EQ(form->CurrentStep(), 1) << stay.shown;
        mark(a1);
        form->cmdNext_Click();
        EXPECT_EQ(text("txtCostOfHire"), QStringLiteral("£10.00"));
        combo("cboCustomer")->setBoundValue(smith);
        form->cmdNext_Click();
        EXPECT_EQ(label("lblDates"), QString::fromUtf8(stay.shown));
        form->cmdNext_Click();
        ASSERT_FALSE(form->isLoaded());
        const QString from = QStringLiteral("From: ") + QString::fromUtf8(stay.shown) + QStringLiteral("\r\n");
        EXPECT_TRUE(eventLog().contains(from)) << eventLog().toStdString();
    }
    EXPECT_EQ(rows(QStringLiteral("SELECT FromDate || '', ToDate || '' FROM Booking ORDER BY ID")),
              (QList<QVariantList>{{QStringLiteral("2026-03-28 14:00:00"), QStringLiteral("2026-03-29 01:30:00")},
                                   {QStringLiteral("2026-03-29 01:30:00"), QStringLiteral("2026-03-30 09:00:00")}}));
}

TEST_F(BookingForm, StepOneGoesOnOnlyWithAMarkedBerth)
{
    const qint64 a1 = addBerth(QStringLiteral("A1"));
    form->Display(1, 0);
    setPeriod(at(2026, 6, 1, 9, 0), at(2026, 6, 2, 9, 0));
    form->cmdNext_Click();
    mark(a1);
    mark(a1); // a second click takes the mark off again
    EXPECT_EQ(form->SelectedCount(), 0);
    expectMessage(QStringLiteral("Please select one or more units"), ui::vbOK);
    form->cmdNext_Click();
    EXPECT_EQ(form->CurrentStep(), 1);

    mark(a1);
    form->cmdNext_Click();
    EXPECT_EQ(form->CurrentStep(), 2);
    form->cmdBack_Click();
    form->cmdBack_Click();
    form->cmdNext_Click();
    EXPECT_EQ(form->SelectedCount(), 0) << "a reload of the list starts without marks";
}

TEST_F(BookingForm, TheCostOfHireChargesEachMarkedBerthItsOwnDailyRate)
{
    const qint64 a1 = addBerth(QStringLiteral("A1"), 12.5);
    const qint64 a2 = addBerth(QStringLiteral("A2"), 20.0);
    // Two berths of one name keep their own rates.
    const qint64 pontoon = addBerth(QStringLiteral("Pontoon"), 10.0);
    const qint64 pontoonToo = addBerth(QStringLiteral("Pontoon"), 30.0);
    addBerth(QStringLiteral("No rate"));
    form->Display(1, 0);
    setPeriod(at(2026, 6, 1, 9, 0), at(2026, 6, 4, 9, 0));
    form->cmdNext_Click();
    mark(a1);
    mark(a2);
    form->cmdNext_Click();
    EXPECT_EQ(text("txtCostOfHire"), QStringLiteral("£97.50"));

    form->cmdBack_Click();
    form->cmdBack_Click();
    setPeriod(at(2026, 6, 1, 9, 0), at(2026, 6, 2, 9, 0));
    form->cmdNext_Click();
    mark(pontoonToo);
    form->cmdNext_Click();
    EXPECT_EQ(text("txtCostOfHire"), QStringLiteral("£30.00"));
    form->cmdBack_Click();
    mark(pontoon);
    form->cmdNext_Click();
    EXPECT_EQ(text("txtCostOfHire"), QStringLiteral("£40.00"));
}

TEST_F(BookingForm, LeavingTheOtherChargesWorksOutVatAndTotalAndMovesToTheAmountPaid)
{
    const qint64 a1 = addBerth(QStringLiteral("A1"), 100.0);
    form->Display(1, 0);
    setPeriod(at(2026, 6, 1, 9, 0), at(2026, 6, 2, 9, 0));
    form->cmdNext_Click();
    mark(a1);
    form->cmdNext_Click();
    activate();
    box("txtOtherCharges")->setFocus();
    box("txtOtherCharges")->setText(QStringLiteral("10"));
    box("txtVAT")->setFocus();
    EXPECT_EQ(text("txtOtherCharges"), QStringLiteral("£10.00"));
    EXPECT_EQ(text("txtVAT"), QStringLiteral("£19.25"));
    EXPECT_EQ(text("txtTotalPayable"), QStringLiteral("£129.25"));
    EXPECT_TRUE(box("txtAmountPayed")->hasFocus());

    // An empty box counts as 0, and the total adds the VAT unrounded.
    box("txtCostOfHire")->setText(QStringLiteral("£10.01"));
    box("txtOtherCharges")->clear();
    form->txtOtherCharges_LostFocus();
    EXPECT_EQ(text("txtOtherCharges"), QString());
    EXPECT_EQ(text("txtVAT"), QStringLiteral("£1.75"));
    EXPECT_EQ(text("txtTotalPayable"), QStringLiteral("£11.76"));
}

struct NumberBoxCase {
    const char *box;
    const char *title;
    const char *refused;
};

void PrintTo(const NumberBoxCase &c, std::ostream *out)
{
    *out << c.box << " \"" << c.refused << '"';
}

class BookingNumberBoxes : public BookingForm, public ::testing::WithParamInterface<NumberBoxCase> {
};

TEST_P(BookingNumberBoxes, ANonNumberKeepsTheFocusUnderTheBoxsTitle)
{
    const NumberBoxCase &c = GetParam();
    const qint64 a1 = addBerth(QStringLiteral("A1"), 10.0);
    form->Display(1, 0);
    form->cmdNext_Click();
    mark(a1);
    form->cmdNext_Click();
    activate();
    QLineEdit *checked = box(c.box);
    QLineEdit *elsewhere = box("txtGuestConfNum");
    checked->setFocus();
    checked->setText(QString::fromUtf8(c.refused));
    expectMessage(QStringLiteral("Please enter a valid number to continue"), ui::vbOK);
    elsewhere->setFocus();
    EXPECT_EQ(messages().last().title, QString::fromUtf8(c.title));
    EXPECT_TRUE(checked->hasFocus());

    for (const char *accepted : {"", "£12"}) {
        checked->setText(QString::fromUtf8(accepted));
        elsewhere->setFocus();
        checked->setFocus();
    }
    EXPECT_EQ(messages().size(), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Boxes, BookingNumberBoxes,
    ::testing::Values(NumberBoxCase{"txtAmountPayed", "Amount Payed", "12abc"},
                      NumberBoxCase{"txtBerthConfirmationNumber", "Berth Confirmation No.", "1.5"},
                      NumberBoxCase{"txtCostOfHire", "Cost of Hire", "12,50"},
                      NumberBoxCase{"txtNoAdults", "No Adults", "two"},
                      NumberBoxCase{"txtNoKids", "No Kids", "0.5"},
                      NumberBoxCase{"txtOtherCharges", "Other Charges", "£"},
                      NumberBoxCase{"txtTotalPayable", "Total Payable", "1e3"},
                      NumberBoxCase{"txtVAT", "VAT", "12abc"}));

TEST_F(BookingForm, ConfirmingANewBookingWritesTheRowItsBerthsAndEventEleven)
{
    const qint64 smith = addCustomer(QStringLiteral("Smith"), QStringLiteral("Rose Cottage"),
                                     QStringLiteral("smith@example.com"));
    const qint64 a1 = addBerth(QStringLiteral("A1"), 12.5);
    const qint64 a2 = addBerth(QStringLiteral("A2"), 20.0);
    addBerth(QStringLiteral("A3"), 15.0);
    form->Display(1, 0);
    setPeriod(at(2026, 6, 1, 9, 0), at(2026, 6, 3, 14, 0));
    box("txtBookedBy")->setText(QStringLiteral("Ann"));
    control<QPlainTextEdit>("txtNotes")->setPlainText(QStringLiteral("Mooring lines\nBow first"));
    form->cmdNext_Click();
    mark(a1);
    mark(a2);
    form->cmdNext_Click();
    combo("cboCustomer")->setBoundValue(smith);
    combo("cboPaymentMethod")->setBoundValue(2);
    box("txtNoAdults")->setText(QStringLiteral("3"));
    box("txtNoKids")->setText(QStringLiteral("1"));
    box("txtOtherCharges")->setText(QStringLiteral("10"));
    form->txtOtherCharges_LostFocus();
    box("txtAmountPayed")->setText(QStringLiteral("£50.00"));
    box("txtGuestConfNum")->setText(QStringLiteral("G-7"));
    box("txtPowerRequirements")->setText(QStringLiteral("16A"));
    box("txtCreditCardType")->setText(QStringLiteral("Visa"));
    control<QCheckBox>("chkClubMember")->setChecked(true);
    form->cmdNext_Click();

    EXPECT_EQ(label("lblDates"), QStringLiteral("01.06.2026 09:00 to 03.06.2026 14:00"));
    EXPECT_EQ(label("lblName"), QStringLiteral("Smith, Rose Cottage"));
    EXPECT_EQ(label("lblAddress"), QStringLiteral("Quay Street, Harbourside, Porthwen, PW1 2AB"));
    EXPECT_EQ(label("lblNoAdults"), QStringLiteral("3"));
    EXPECT_EQ(control<QPushButton>("cmdNext")->text(), QStringLiteral("&Confirm"));
    form->Label38_Click();
    EXPECT_EQ(shellCalls().last().target, QStringLiteral("mailto:smith@example.com"));

    form->cmdNext_Click();
    EXPECT_FALSE(form->isLoaded());
    EXPECT_FALSE(form->isVisible());
    const QList<QVariantList> saved = rows(QStringLiteral(
        "SELECT ID, FromDate, ToDate, BookedBy, CustomerID, Notes, NoAdults, NoKids, OtherCharges, VAT, TotalPayable, "
        "AmountPayed, PaymentMethodID, CreditCardType, CostOfHire, BerthConfirmationNumber, GuestConfirmationNumber, "
        "PowerRequirements, ClubMember, CreditCardNo FROM Booking"));
    ASSERT_EQ(saved.size(), 1);
    const QVariantList &row = saved.first();
    EXPECT_EQ(row[1].toDateTime(), at(2026, 6, 1, 9, 0));
    EXPECT_EQ(row[2].toDateTime(), at(2026, 6, 3, 14, 0));
    EXPECT_EQ(row[3].toString(), QStringLiteral("Ann"));
    EXPECT_EQ(row[4].toLongLong(), smith);
    EXPECT_EQ(row[5].toString(), QStringLiteral("Mooring lines\r\nBow first"));
    EXPECT_EQ(row[6].toInt(), 3);
    EXPECT_EQ(row[7].toInt(), 1);
    EXPECT_DOUBLE_EQ(row[8].toDouble(), 10.0);
    // What stands in the boxes is stored: VAT and total as shown, in pence.
    EXPECT_DOUBLE_EQ(row[9].toDouble(), 13.13);
    EXPECT_DOUBLE_EQ(row[10].toDouble(), 88.13);
    EXPECT_DOUBLE_EQ(row[11].toDouble(), 50.0);
    EXPECT_EQ(row[12].toInt(), 2);
    EXPECT_EQ(row[13].toString(), QStringLiteral("Visa"));
    EXPECT_DOUBLE_EQ(row[14].toDouble(), 65.0);
    EXPECT_EQ(row[15].toInt(), 1);
    EXPECT_EQ(row[16].toString(), QStringLiteral("G-7"));
    EXPECT_EQ(row[17].toString(), QStringLiteral("16A"));
    EXPECT_TRUE(row[18].toBool());
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM Booking WHERE ClubMember = -1")).toInt(), 1);
    EXPECT_EQ(row[19].toString(), QString()) << "an empty box stores an empty text";
    EXPECT_EQ(rows(QStringLiteral("SELECT BookingID, BerthID FROM BookingBerth ORDER BY BerthID")),
              (QList<QVariantList>{{row[0], a1}, {row[0], a2}}));
    EXPECT_TRUE(eventLog().contains(QStringLiteral("[Booking added]\r\nFrom: 01.06.2026 09:00 to 03.06.2026 14:00\r\n"
                                                   "Customer:Smith, Rose Cottage\r\nBerth(s): A1, A2\r\n\r\n")))
        << eventLog().toStdString();
}

TEST_F(BookingForm, EditingRewritesTheRowAndReplacesItsBerths)
{
    const qint64 smith = addCustomer(QStringLiteral("Smith"), QStringLiteral("Rose Cottage"));
    const qint64 a1 = addBerth(QStringLiteral("A1"), 10.0);
    const qint64 a2 = addBerth(QStringLiteral("A2"), 20.0);
    const qint64 a3 = addBerth(QStringLiteral("A3"), 30.0);
    const qint64 edited = addBooking(at(2026, 6, 1, 9, 0), at(2026, 6, 3, 14, 0), {a1, a2}, smith);
    const qint64 neighbour = addBooking(at(2026, 6, 1, 9, 0), at(2026, 6, 3, 14, 0), {a3}, smith);
    execute(QStringLiteral("UPDATE Booking SET OtherCharges = 10, VAT = 1.75, NoAdults = 4, NoKids = -1, "
                           "ClubMember = -1, Notes = NULL WHERE ID = %1")
                .arg(edited));

    form->Display(2, edited);
    ASSERT_TRUE(form->isLoaded());
    EXPECT_EQ(text("txtOtherCharges"), QStringLiteral("10"));
    EXPECT_EQ(text("txtVAT"), QStringLiteral("1.75"));
    EXPECT_EQ(text("txtNoAdults"), QStringLiteral("4"));
    EXPECT_EQ(text("txtNoKids"), QStringLiteral("0"));
    EXPECT_EQ(text("txtBerthConfirmationNumber"), QStringLiteral("41"));
    EXPECT_TRUE(control<QCheckBox>("chkClubMember")->isChecked());
    EXPECT_EQ(combo("cboCustomer")->boundValue().toLongLong(), smith);
    EXPECT_TRUE(combo("cboPaymentMethod")->BoundText().isEmpty());
    EXPECT_EQ(control<QTimeEdit>("dtpToTime")->time(), QTime(14, 0));

    form->cmdNext_Click();
    EXPECT_EQ(form->SelectedCount(), 2) << "the booking's own berths are offered and marked";
    EXPECT_EQ(form->availableBerths()->rowOfBerth(a3), -1);
    mark(a2);
    form->cmdNext_Click();
    EXPECT_EQ(text("txtCostOfHire"), QStringLiteral("£20.00"));
    form->cmdNext_Click();
    form->cmdNext_Click();
    EXPECT_FALSE(form->isLoaded());

    EXPECT_EQ(rows(QStringLiteral("SELECT BookingID, BerthID FROM BookingBerth ORDER BY BookingID")),
              (QList<QVariantList>{{edited, a1}, {neighbour, a3}}));
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM Booking")).toInt(), 2);
    EXPECT_FALSE(scalar(QStringLiteral("SELECT PaymentMethodID FROM Booking WHERE ID = %1").arg(edited)).isValid());
    EXPECT_EQ(scalar(QStringLiteral("SELECT NoKids FROM Booking WHERE ID = %1").arg(edited)).toInt(), 0);
    EXPECT_TRUE(eventLog().contains(QStringLiteral("[Booking modified]\r\nFrom: 01.06.2026 09:00 to 03.06.2026 "
                                                   "14:00\r\nCustomer:Smith, Rose Cottage\r\nBerth(s): A1\r\n")));

    // A chosen method survives an edit that leaves the list alone.
    execute(QStringLiteral("UPDATE Booking SET PaymentMethodID = 3 WHERE ID = %1").arg(edited));
    form->Display(2, edited);
    for (int step = 0; step < 4; ++step)
        form->cmdNext_Click();
    EXPECT_EQ(scalar(QStringLiteral("SELECT PaymentMethodID FROM Booking WHERE ID = %1").arg(edited)).toInt(), 3);
}

TEST_F(BookingForm, EditingToNewDatesDropsTheBerthsNoLongerFreeAndKeepsTheOnesMarked)
{
    const qint64 smith = addCustomer(QStringLiteral("Smith"), QStringLiteral("Rose Cottage"));
    const qint64 a1 = addBerth(QStringLiteral("A1"), 10.0);
    const qint64 a2 = addBerth(QStringLiteral("A2"), 20.0);
    const qint64 a3 = addBerth(QStringLiteral("A3"), 30.0);
    const qint64 a4 = addBerth(QStringLiteral("A4"), 40.0);
    const qint64 edited = addBooking(at(2026, 6, 1, 9, 0), at(2026, 6, 3, 14, 0), {a1, a2, a3}, smith);
    const qint64 later = addBooking(at(2026, 6, 5, 9, 0), at(2026, 6, 6, 14, 0), {a3}, smith);
    execute(QStringLiteral("UPDATE Berth SET Active = 0 WHERE ID = %1").arg(a2));

    form->Display(2, edited);
    setPeriod(at(2026, 6, 4, 9, 0), at(2026, 6, 6, 9, 0));
    form->cmdNext_Click();
    EXPECT_EQ(form->availableBerths()->rowOfBerth(a2), -1) << "laid up since";
    EXPECT_EQ(form->availableBerths()->rowOfBerth(a3), -1) << "held by the later booking on the new dates";
    EXPECT_EQ(form->SelectedCount(), 1);
    mark(a4);
    form->cmdNext_Click();
    EXPECT_EQ(text("txtCostOfHire"), QStringLiteral("£100.00"));

    // Marks made by hand go with a reload of the list; the stored berths come back.
    form->cmdBack_Click();
    form->cmdBack_Click();
    form->cmdNext_Click();
    EXPECT_EQ(form->SelectedCount(), 1);
    mark(a4);
    form->cmdNext_Click();
    form->cmdNext_Click();
    form->cmdNext_Click();
    ASSERT_FALSE(form->isLoaded());

    EXPECT_EQ(rows(QStringLiteral("SELECT BookingID, BerthID FROM BookingBerth ORDER BY BookingID, BerthID")),
              (QList<QVariantList>{{edited, a1}, {edited, a4}, {later, a3}}));
    EXPECT_EQ(rows(QStringLiteral("SELECT FromDate || '', ToDate || '', CostOfHire FROM Booking WHERE ID = %1")
                       .arg(edited)),
              (QList<QVariantList>{
                  {QStringLiteral("2026-06-04 09:00:00"), QStringLiteral("2026-06-06 09:00:00"), 100}}));
    EXPECT_TRUE(eventLog().contains(QStringLiteral("[Booking modified]\r\nFrom: 04.06.2026 09:00 to 06.06.2026 "
                                                   "09:00\r\nCustomer:Smith, Rose Cottage\r\nBerth(s): A1, A4\r\n")))
        << eventLog().toStdString();
}

TEST_F(BookingForm, SwitchedOffCountsStoreMinusOneAndShowAsZeroOnceSwitchedOn)
{
    const qint64 smith = addCustomer(QStringLiteral("Smith"));
    const qint64 a1 = addBerth(QStringLiteral("A1"));
    SetRegistryValue(HKEY_LOCAL_MACHINE, QString::fromUtf8(kProgramKey),
                     QString::fromUtf8(kValueShowAdultsAndKids), QStringLiteral("0"));
    newBookingToConfirmation(smith, {a1});
    EXPECT_TRUE(box("txtNoAdults")->isHidden());
    EXPECT_TRUE(control<QLabel>("lblNoAdultsEdit")->isHidden());
    for (const char *name : {"lblNoAdults", "lblNoKids", "lblAdults", "lblKids"})
        EXPECT_TRUE(control<QLabel>(name)->isHidden()) << name;
    form->cmdNext_Click();
    EXPECT_EQ(rows(QStringLiteral("SELECT NoAdults, NoKids FROM Booking")), (QList<QVariantList>{{-1, -1}}));

    SetRegistryValue(HKEY_LOCAL_MACHINE, QString::fromUtf8(kProgramKey),
                     QString::fromUtf8(kValueShowAdultsAndKids), QStringLiteral("1"));
    form->Display(2, scalar(QStringLiteral("SELECT ID FROM Booking")).toLongLong());
    EXPECT_FALSE(box("txtNoAdults")->isHidden());
    EXPECT_EQ(text("txtNoAdults"), QStringLiteral("0"));
    EXPECT_EQ(text("txtNoKids"), QStringLiteral("0"));
}

TEST_F(BookingForm, CancellingAnEditAsksAndDeletesTheBookingWithItsBerthLines)
{
    const qint64 smith = addCustomer(QStringLiteral("Smith"), QStringLiteral("Rose Cottage"));
    const qint64 a1 = addBerth(QStringLiteral("A1"));
    const qint64 booking = addBooking(at(2026, 6, 1, 9, 0), at(2026, 6, 3, 14, 0), {a1}, smith);

    form->Display(2, booking);
    expectMessage(QStringLiteral("Do you want to delete existing reservation?"), ui::vbNo);
    form->cmdCancel_Click();
    EXPECT_FALSE(form->isLoaded());
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM Booking")).toInt(), 1);
    EXPECT_FALSE(eventLog().contains(QStringLiteral("[Booking cancelled]")));

    form->Display(2, booking);
    setPeriod(at(2026, 7, 1, 9, 0), at(2026, 7, 2, 9, 0)); // typed, but the stored booking is what goes
    expectMessage(QStringLiteral("Do you want to delete existing reservation?"), ui::vbYes);
    form->cmdCancel_Click();
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM Booking")).toInt(), 0);
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM BookingBerth")).toInt(), 0);
    EXPECT_TRUE(eventLog().contains(QStringLiteral("[Booking cancelled]\r\nFrom: 01.06.2026 09:00 to 03.06.2026 "
                                                   "14:00\r\nCustomer: Smith, Rose Cottage\r\n\r\n")));

    form->Display(1, 0);
    form->cmdCancel_Click(); // no question for a new booking
    EXPECT_FALSE(form->isLoaded());
}

TEST_F(BookingForm, TheCancelQuestionIsTheFormsOwnAndABookingGoneMeanwhileIsNotLoggedAgain)
{
    const qint64 smith = addCustomer(QStringLiteral("Smith"), QStringLiteral("Rose Cottage"));
    const qint64 a1 = addBerth(QStringLiteral("A1"));
    const qint64 booking = addBooking(at(2026, 6, 1, 9, 0), at(2026, 6, 3, 14, 0), {a1}, smith);

    form->Display(2, booking);
    expectMessage(QStringLiteral("Do you want to delete existing reservation?"), ui::vbNo);
    form->cmdCancel_Click();
    EXPECT_EQ(messages().last().title, QStringLiteral("Booking"));
    EXPECT_EQ(messages().last().buttons, ui::vbYesNo);

    // Another window cancelled it while this one stood open: nothing is deleted here,
    // so no second cancellation goes into the log.
    form->Display(2, booking);
    execute(QStringLiteral("DELETE FROM Booking WHERE ID = %1").arg(booking));
    expectMessage(QStringLiteral("Do you want to delete existing reservation?"), ui::vbYes);
    expectMessage(QStringLiteral("This booking no longer exists."), ui::vbOK);
    form->cmdCancel_Click();
    EXPECT_EQ(messages().last().title, QStringLiteral("Booking"));
    EXPECT_FALSE(eventLog().contains(QStringLiteral("[Booking cancelled]")));
    EXPECT_FALSE(form->isLoaded());
}

struct FailureCase {
    const char *name;
    int mode;
    const char *trigger; // %B: the second berth's ID
};

void PrintTo(const FailureCase &c, std::ostream *out)
{
    *out << c.name;
}

class BookingSaveFailure : public BookingForm, public ::testing::WithParamInterface<FailureCase> {
};

TEST_P(BookingSaveFailure, AFailedWriteLeavesNothingNoEventAndTheFormAsTyped)
{
    const FailureCase &c = GetParam();
    const qint64 smith = addCustomer(QStringLiteral("Smith"));
    const qint64 a1 = addBerth(QStringLiteral("A1"), 10.0);
    const qint64 a2 = addBerth(QStringLiteral("A2"), 10.0);
    if (c.mode == 1) {
        newBookingToConfirmation(smith, {a1, a2});
    } else {
        const qint64 booking = addBooking(at(2026, 6, 1, 9, 0), at(2026, 6, 3, 14, 0), {a1, a2}, smith);
        form->Display(2, booking);
        for (int step = 0; step < 3; ++step)
            form->cmdNext_Click();
        ASSERT_EQ(form->CurrentStep(), 3);
    }
    box("txtOtherCharges")->setText(QStringLiteral("£12.00"));
    const QList<QVariantList> before = snapshot();
    execute(QStringLiteral("CREATE TEMP TRIGGER failing %1 BEGIN SELECT RAISE(ABORT, 'disk trouble'); END")
                .arg(QString::fromUtf8(c.trigger).replace(QStringLiteral("%B"), QString::number(a2))));

    expectMessage(QStringLiteral("The booking could not be saved."), ui::vbOK);
    form->cmdNext_Click();
    EXPECT_EQ(messages().last().title, QStringLiteral("Booking"));
    EXPECT_EQ(snapshot(), before);
    EXPECT_FALSE(DbConnection->inTransaction());
    EXPECT_FALSE(eventLog().contains(QStringLiteral("[Booking")));
    EXPECT_TRUE(form->isLoaded());
    EXPECT_EQ(form->CurrentStep(), 3);
    EXPECT_EQ(text("txtOtherCharges"), QStringLiteral("£12.00"));
    EXPECT_EQ(form->SelectedCount(), 2);

    // Once the trouble is gone the same form saves, once.
    execute(QStringLiteral("DROP TRIGGER failing"));
    form->cmdNext_Click();
    EXPECT_FALSE(form->isLoaded());
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM Booking")).toInt(), 1);
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM BookingBerth")).toInt(), 2);
}

INSTANTIATE_TEST_SUITE_P(
    Writes, BookingSaveFailure,
    ::testing::Values(FailureCase{"NewBookingRow", 1, "BEFORE INSERT ON Booking"},
                      FailureCase{"NewSecondBerthRow", 1, "BEFORE INSERT ON BookingBerth WHEN NEW.BerthID = %B"},
                      FailureCase{"EditedBookingRow", 2, "BEFORE UPDATE ON Booking"},
                      FailureCase{"OldBerthRows", 2, "BEFORE DELETE ON BookingBerth"},
                      FailureCase{"EditedSecondBerthRow", 2, "BEFORE INSERT ON BookingBerth WHEN NEW.BerthID = %B"}),
    [](const ::testing::TestParamInfo<FailureCase> &info) { return std::string(info.param.name); });

TEST_F(BookingForm, ConfirmingTwiceGivesOneBooking)
{
    const qint64 smith = addCustomer(QStringLiteral("Smith"));
    const qint64 a1 = addBerth(QStringLiteral("A1"));
    newBookingToConfirmation(smith, {a1});
    // The second click of a double click reaches the button after the first one's save.
    control<QPushButton>("cmdNext")->click();
    control<QPushButton>("cmdNext")->click();
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM Booking")).toInt(), 1);
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM BookingBerth")).toInt(), 1);
    EXPECT_EQ(eventLog().count(QStringLiteral("[Booking added]")), 1);
}

struct GoneCase {
    const char *name;
    const char *change; // %C the customer, %B the second berth
    const char *message;
};

void PrintTo(const GoneCase &c, std::ostream *out)
{
    *out << c.name;
}

class BookingMeanwhile : public BookingForm, public ::testing::WithParamInterface<GoneCase> {
};

TEST_P(BookingMeanwhile, WhatAnotherWindowTookAwayIsRefusedAtTheSave)
{
    const GoneCase &c = GetParam();
    const qint64 smith = addCustomer(QStringLiteral("Smith"));
    const qint64 a1 = addBerth(QStringLiteral("A1"));
    const qint64 a2 = addBerth(QStringLiteral("A2"));
    newBookingToConfirmation(smith, {a1, a2});
    execute(QString::fromUtf8(c.change)
                .replace(QStringLiteral("%C"), QString::number(smith))
                .replace(QStringLiteral("%B"), QString::number(a2)));
    const QList<QVariantList> before = snapshot();

    expectMessage(QString::fromUtf8(c.message), ui::vbOK);
    form->cmdNext_Click();
    EXPECT_EQ(messages().last().title, QStringLiteral("Booking"));
    EXPECT_EQ(snapshot(), before);
    EXPECT_FALSE(eventLog().contains(QStringLiteral("[Booking")));
    EXPECT_TRUE(form->isLoaded());
    EXPECT_EQ(form->CurrentStep(), 3);
}

INSTANTIATE_TEST_SUITE_P(
    Changes, BookingMeanwhile,
    ::testing::Values(
        GoneCase{"CustomerDeleted", "DELETE FROM Customer WHERE ID = %C", "customer of this booking no longer exists"},
        GoneCase{"BerthDeleted", "DELETE FROM Berth WHERE ID = %B", "no longer free for this period: A2"},
        GoneCase{"BerthLaidUp", "UPDATE Berth SET Active = 0 WHERE ID = %B", "no longer free for this period: A2"},
        GoneCase{"BerthBooked",
                 "INSERT INTO Booking (ID, FromDate, ToDate, CustomerID) VALUES (900, '2026-06-02 09:00:00', "
                 "'2026-06-02 18:00:00', %C); INSERT INTO BookingBerth (BookingID, BerthID) VALUES (900, %B)",
                 "no longer free for this period: A2"}),
    [](const ::testing::TestParamInfo<GoneCase> &info) { return std::string(info.param.name); });

TEST_F(BookingForm, AnEmptyConfirmationNumberSendsTheUserBackToItsBox)
{
    const qint64 smith = addCustomer(QStringLiteral("Smith"));
    const qint64 a1 = addBerth(QStringLiteral("A1"));
    newBookingToConfirmation(smith, {a1});
    box("txtBerthConfirmationNumber")->clear();
    expectMessage(QStringLiteral("Please enter a valid number to continue"), ui::vbOK);
    form->cmdNext_Click();
    EXPECT_EQ(messages().last().title, QStringLiteral("Berth Confirmation No."));
    EXPECT_EQ(form->CurrentStep(), 2);
    EXPECT_EQ(form->focusWidget(), box("txtBerthConfirmationNumber"));
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM Booking")).toInt(), 0);
}

TEST_F(BookingForm, StepTwoNeedsACustomerAndEditingAVanishedBookingIsRefused)
{
    const qint64 a1 = addBerth(QStringLiteral("A1"));
    form->Display(1, 0);
    form->cmdNext_Click();
    mark(a1);
    form->cmdNext_Click();
    expectMessage(QStringLiteral("Please select customer"), ui::vbOK);
    form->cmdNext_Click();
    EXPECT_EQ(form->CurrentStep(), 2);
    EXPECT_EQ(form->focusWidget(), combo("cboCustomer"));

    form->cmdCancel_Click();
    expectMessage(QStringLiteral("This booking no longer exists."), ui::vbOK);
    form->Display(2, 999);
    EXPECT_FALSE(form->isLoaded());
}

TEST_F(BookingForm, EveryDisplayAfterLeavingStartsFromACleanForm)
{
    const qint64 smith = addCustomer(QStringLiteral("Smith"));
    const qint64 a1 = addBerth(QStringLiteral("A1"));
    newBookingToConfirmation(smith, {a1});
    box("txtCreditCardNo")->setText(QStringLiteral("4111"));
    control<QPlainTextEdit>("txtNotes")->setPlainText(QStringLiteral("left over"));
    control<QCheckBox>("chkClubMember")->setChecked(true);
    form->cmdCancel_Click();

    form->Display(1, 0);
    EXPECT_EQ(form->CurrentStep(), 0);
    EXPECT_EQ(form->SelectedCount(), 0);
    EXPECT_TRUE(text("txtCreditCardNo").isEmpty());
    EXPECT_TRUE(text("txtCostOfHire").isEmpty());
    EXPECT_TRUE(control<QPlainTextEdit>("txtNotes")->toPlainText().isEmpty());
    EXPECT_FALSE(control<QCheckBox>("chkClubMember")->isChecked());
    EXPECT_TRUE(combo("cboCustomer")->BoundText().isEmpty());
    EXPECT_TRUE(label("lblName").isEmpty());
}

TEST_F(BookingForm, NewAddsACustomerThroughItsDialogAndChoosesIt)
{
    addCustomer(QStringLiteral("Smith"));
    form->Display(1, 0);
    const int listed = combo("cboCustomer")->count();

    QTimer::singleShot(0, [] {
        auto *dialog = qobject_cast<frmAddCustomer *>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->findChild<QLineEdit *>(QStringLiteral("txtName"))->setText(QStringLiteral("Jones"));
        dialog->cmdOK_Click();
    });
    form->cmdAddCustomer_Click();
    EXPECT_EQ(combo("cboCustomer")->count(), listed + 1);
    EXPECT_EQ(combo("cboCustomer")->Text(), QStringLiteral("Jones"));
    const qint64 jones = scalar(QStringLiteral("SELECT ID FROM Customer WHERE Name = 'Jones'")).toLongLong();
    EXPECT_EQ(combo("cboCustomer")->boundValue().toLongLong(), jones);

    QTimer::singleShot(0, [] {
        auto *dialog = qobject_cast<frmAddCustomer *>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->cmdCancel_Click();
    });
    form->cmdAddCustomer_Click();
    EXPECT_EQ(combo("cboCustomer")->count(), listed + 1);
    EXPECT_EQ(combo("cboCustomer")->boundValue().toLongLong(), jones);
}

TEST_F(BookingForm, EnterMovesTheFocusToTheNextControlThatCanTakeIt)
{
    form->Display(1, 0);
    activate();
    control<QDateEdit>("dtpFromDate")->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), control<QTimeEdit>("dtpFromTime"));

    // The berth grid and the customer page are out of view: the notes come next.
    box("txtBookedBy")->setFocus();
    QTest::keyClick(box("txtBookedBy"), Qt::Key_Enter);
    EXPECT_EQ(QApplication::focusWidget(), control<QPlainTextEdit>("txtNotes"));
    // With Shift or Ctrl too, Enter moves on and types no line break into the notes.
    for (const Qt::KeyboardModifier modifier : {Qt::ShiftModifier, Qt::ControlModifier}) {
        control<QPlainTextEdit>("txtNotes")->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return, modifier);
        EXPECT_EQ(QApplication::focusWidget(), control<QPushButton>("cmdNext"));
    }
    EXPECT_EQ(control<QPlainTextEdit>("txtNotes")->toPlainText(), QString());
}

TEST_F(BookingForm, AsAChildWindowItOpensMaximisedAndUnloadsWhenDone)
{
    QMainWindow main;
    auto *area = new QMdiArea(&main);
    main.setCentralWidget(area);
    main.show();
    QPointer<frmBooking> child = ui::sharedMdiChild<frmBooking>(area);
    child->Display(1, 0);
    auto *subWindow = qobject_cast<QMdiSubWindow *>(child->parentWidget());
    ASSERT_NE(subWindow, nullptr);
    EXPECT_TRUE(subWindow->isMaximized());
    EXPECT_EQ(ui::findMdiChild<frmBooking>(area), child.data());

    child->cmdCancel_Click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(child.isNull());
    EXPECT_EQ(ui::findMdiChild<frmBooking>(area), nullptr);
}

TEST_F(BookingForm, AMailLinkThatFailsIsLoggedAndTheBookingGoesOn)
{
    class BrokenShell final : public ui::ShellService {
    public:
        bool openUrl(const QString &) override { throw std::runtime_error("no mail program"); }
        bool startProgram(const QString &, const QStringList &) override { return false; }
        bool deleteFile(const QString &) override { return false; }
    };
    const qint64 smith = addCustomer(QStringLiteral("Smith"), QString(), QStringLiteral("smith@example.com"));
    const qint64 a1 = addBerth(QStringLiteral("A1"), 20.0);
    newBookingToConfirmation(smith, {a1});

    auto scripted = ui::setShellService(std::make_unique<BrokenShell>());
    QTest::mouseClick(control<QLabel>("Label38"), Qt::LeftButton);
    ui::setShellService(std::move(scripted));

    EXPECT_TRUE(form->isLoaded());
    EXPECT_EQ(form->CurrentStep(), 3);
    QFile log(QDir(programDir()).filePath(QStringLiteral("message.log")));
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    const QString text = QString::fromLatin1(log.readAll());
    EXPECT_TRUE(text.contains(QStringLiteral(" (ERR): frmBooking.Label38_Click: no mail program"))) << text.toStdString();
}

TEST_F(BookingForm, ASaveThatNeverVisitsTheOtherChargesStoresVatAndTotalOfTheCost)
{
    const qint64 smith = addCustomer(QStringLiteral("Smith"));
    const qint64 a1 = addBerth(QStringLiteral("A1"), 100.0);
    newBookingToConfirmation(smith, {a1});
    form->cmdNext_Click();
    ASSERT_FALSE(form->isLoaded());
    EXPECT_EQ(rows(QStringLiteral("SELECT CostOfHire, OtherCharges, VAT, TotalPayable FROM Booking")),
              (QList<QVariantList>{{200, 0, 35, 235}}));
}

TEST_F(BookingForm, NewDatesInAnEditBringVatAndTotalAlongAndTypedOnesAreKept)
{
    const qint64 smith = addCustomer(QStringLiteral("Smith"));
    const qint64 a1 = addBerth(QStringLiteral("A1"), 100.0);
    const qint64 booking = addBooking(at(2026, 6, 1, 9, 0), at(2026, 6, 2, 9, 0), {a1}, smith);
    execute(QStringLiteral("UPDATE Booking SET CostOfHire = 100, OtherCharges = 20, VAT = 21, TotalPayable = 141 "
                           "WHERE ID = %1")
                .arg(booking));

    form->Display(2, booking);
    setPeriod(at(2026, 6, 1, 9, 0), at(2026, 6, 4, 9, 0));
    form->cmdNext_Click();
    form->cmdNext_Click();
    EXPECT_EQ(text("txtCostOfHire"), QStringLiteral("£300.00"));
    EXPECT_EQ(text("txtOtherCharges"), QStringLiteral("£20.00"));
    EXPECT_EQ(text("txtVAT"), QStringLiteral("£56.00"));
    EXPECT_EQ(text("txtTotalPayable"), QStringLiteral("£376.00"));
    // The user may still settle on other figures.
    box("txtVAT")->setText(QStringLiteral("0"));
    box("txtTotalPayable")->setText(QStringLiteral("£320.00"));
    form->cmdNext_Click();
    form->cmdNext_Click();
    ASSERT_FALSE(form->isLoaded());
    EXPECT_EQ(rows(QStringLiteral("SELECT CostOfHire, VAT, TotalPayable FROM Booking WHERE ID = %1").arg(booking)),
              (QList<QVariantList>{{300, 0, 320}}));
}

// A request to open the booking form while it holds a booking being entered.
struct SecondRequest {
    const char *name;
    bool editing;       // the form holds booking 1 (true) or a new booking (false)
    int mode;           // what the second request asks for
    int booking;        // 1 or 2, for mode 2
    bool viaAddCommand; // the main window's Add Booking command rather than another window
    bool told;          // the user is told to finish the booking being entered first
};

void PrintTo(const SecondRequest &c, std::ostream *os)
{
    *os << c.name;
}

class BookingFormAskedAgain : public BookingForm, public ::testing::WithParamInterface<SecondRequest> {
};

TEST_P(BookingFormAskedAgain, TheBookingBeingEnteredComesToTheFrontAsItIs)
{
    const SecondRequest &c = GetParam();
    const qint64 smith = addCustomer(QStringLiteral("Smith"));
    const qint64 a1 = addBerth(QStringLiteral("A1"), 10.0);
    const qint64 ids[] = {0, addBooking(at(2026, 6, 1, 9, 0), at(2026, 6, 2, 9, 0), {a1}, smith),
                          addBooking(at(2026, 7, 1, 9, 0), at(2026, 7, 2, 9, 0), {a1}, smith)};

    MDIMain main(nullptr, defaultNavigation());
    main.show();
    QPointer<frmBooking> child = main.sharedChild<frmBooking>();
    child->Display(c.editing ? 2 : 1, c.editing ? ids[1] : 0);
    ASSERT_TRUE(child->isLoaded());
    auto *typed = child->findChild<QLineEdit *>(QStringLiteral("txtBookedBy"));
    typed->setText(QStringLiteral("Ann at the desk"));
    child->cmdNext_Click();
    ASSERT_EQ(child->CurrentStep(), 1);
    // Another window is in front when the request comes.
    auto *other = new QWidget;
    ui::addMdiChild(main.mdiArea(), other)->show();
    main.mdiArea()->setActiveSubWindow(main.mdiArea()->subWindowList().last());

    if (c.told)
        expectMessage(QStringLiteral("Please finish or cancel it"), ui::vbOK);
    if (c.viaAddCommand)
        main.menuEntry(QStringLiteral("mnuBookingsAdd"))->trigger();
    else
        main.sharedChild<frmBooking>()->Display(c.mode, c.mode == 2 ? ids[c.booking] : 0);
    if (c.told) {
        EXPECT_EQ(messages().last().title, QStringLiteral("Booking"));
        EXPECT_EQ(messages().last().buttons, ui::vbExclamation | ui::vbOKOnly);
    } else {
        EXPECT_TRUE(messages().isEmpty());
    }

    ASSERT_FALSE(child.isNull());
    EXPECT_EQ(main.mdiArea()->subWindowList().size(), 2) << "one booking form";
    EXPECT_EQ(ui::activeMdiChild(main.mdiArea()), child.data());
    EXPECT_TRUE(child->isLoaded());
    EXPECT_EQ(child->Mode(), c.editing ? 2 : 1);
    EXPECT_EQ(child->BookingID(), c.editing ? ids[1] : 0);
    EXPECT_EQ(child->CurrentStep(), 1);
    EXPECT_EQ(typed->text(), QStringLiteral("Ann at the desk"));
}

INSTANTIATE_TEST_SUITE_P(
    Requests, BookingFormAskedAgain,
    ::testing::Values(SecondRequest{"AddBookingAgainWhileAdding", false, 1, 0, true, false},
                      SecondRequest{"AnEditFromACalendarWhileAdding", false, 2, 1, false, true},
                      SecondRequest{"AddBookingWhileEditing", true, 1, 0, true, true},
                      SecondRequest{"AnotherEditWhileEditing", true, 2, 2, false, true},
                      SecondRequest{"TheSameEditAgain", true, 2, 1, false, false}),
    [](const ::testing::TestParamInfo<SecondRequest> &info) { return std::string(info.param.name); });

} // namespace
} // namespace quorl
