#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "core/modFunctions.h"
#include "platform/db/FieldValue.h"
#include "support/QuorlTest.h"

namespace quorl {
namespace {

// ---- The half-hour grid ---------------------------------------------------------------

struct HalfHourCase {
    QDateTime value;
    bool snapDown;
    QString literal;
    QDateTime snapped;
};

void PrintTo(const HalfHourCase &c, std::ostream *os)
{
    *os << c.value.toString(Qt::ISODate).toStdString() << (c.snapDown ? " down" : " up");
}

QDateTime at(int y, int mo, int d, int h, int mi, int s = 0)
{
    return db::wallClockDateTime(QDate(y, mo, d), QTime(h, mi, s));
}

class HalfHour : public ::testing::TestWithParam<HalfHourCase> {};

TEST_P(HalfHour, LiteralAndSnappedTimeAgree)
{
    const HalfHourCase &c = GetParam();
    EXPECT_EQ(SqlDateHalfHour(c.value, c.snapDown), c.literal);
    EXPECT_EQ(snapToHalfHour(c.value, c.snapDown), c.snapped);
    // The offset is wall-clock time from the day's midnight, whatever the clocks do that day.
    EXPECT_EQ(QDateTime(c.value.date(), QTime(0, 0), Qt::UTC).addSecs(RoundTimeToHalfHour(c.value, c.snapDown)),
              QDateTime(c.snapped.date(), c.snapped.time(), Qt::UTC));
    EXPECT_EQ(dateAtHalfHour(c.value.date(), c.value.time(), c.snapDown), c.snapped);
}

INSTANTIATE_TEST_SUITE_P(
    Edges, HalfHour,
    ::testing::Values(
        HalfHourCase{at(2026, 3, 8, 9, 0), true, QStringLiteral("#2026/3/8 9:0#"), at(2026, 3, 8, 9, 0)},
        HalfHourCase{at(2026, 3, 8, 9, 0), false, QStringLiteral("#2026/3/8 9:0#"), at(2026, 3, 8, 9, 0)},
        HalfHourCase{at(2026, 12, 8, 10, 15), true, QStringLiteral("#2026/12/8 10:0#"), at(2026, 12, 8, 10, 0)},
        HalfHourCase{at(2026, 12, 8, 10, 15), false, QStringLiteral("#2026/12/8 10:30#"), at(2026, 12, 8, 10, 30)},
        HalfHourCase{at(2026, 12, 8, 10, 30), true, QStringLiteral("#2026/12/8 10:30#"), at(2026, 12, 8, 10, 30)},
        HalfHourCase{at(2026, 12, 8, 10, 30), false, QStringLiteral("#2026/12/8 10:30#"), at(2026, 12, 8, 10, 30)},
        HalfHourCase{at(2026, 12, 8, 10, 45), true, QStringLiteral("#2026/12/8 10:30#"), at(2026, 12, 8, 10, 30)},
        HalfHourCase{at(2026, 12, 8, 10, 45), false, QStringLiteral("#2026/12/8 11:0#"), at(2026, 12, 8, 11, 0)},
        HalfHourCase{at(2026, 12, 8, 10, 0, 59), false, QStringLiteral("#2026/12/8 10:0#"), at(2026, 12, 8, 10, 0)},
        HalfHourCase{at(2026, 12, 8, 10, 29, 59), true, QStringLiteral("#2026/12/8 10:0#"), at(2026, 12, 8, 10, 0)},
        HalfHourCase{at(2026, 12, 8, 10, 31), false, QStringLiteral("#2026/12/8 11:0#"), at(2026, 12, 8, 11, 0)},
        HalfHourCase{at(2026, 12, 8, 0, 1), true, QStringLiteral("#2026/12/8 0:0#"), at(2026, 12, 8, 0, 0)},
        HalfHourCase{at(2026, 12, 8, 23, 30), false, QStringLiteral("#2026/12/8 23:30#"), at(2026, 12, 8, 23, 30)},
        HalfHourCase{at(2026, 12, 8, 23, 45), true, QStringLiteral("#2026/12/8 23:30#"), at(2026, 12, 8, 23, 30)},
        HalfHourCase{at(2026, 12, 8, 23, 45), false, QStringLiteral("#2026/12/9 0:0#"), at(2026, 12, 9, 0, 0)},
        HalfHourCase{at(2026, 12, 31, 23, 59, 59), false, QStringLiteral("#2027/1/1 0:0#"), at(2027, 1, 1, 0, 0)},
        HalfHourCase{at(2028, 2, 28, 23, 31), false, QStringLiteral("#2028/2/29 0:0#"), at(2028, 2, 29, 0, 0)}));

TEST(HalfHourOffset, SnappingUpLateInTheDayGivesAWholeDay)
{
    EXPECT_EQ(RoundTimeToHalfHour(QTime(23, 45), false), 24 * 3600);
    EXPECT_EQ(RoundTimeToHalfHour(QTime(23, 45), true), 23 * 3600 + 30 * 60);
    EXPECT_EQ(RoundTimeToHalfHour(QTime(0, 0), false), 0);
}

class ClockChangeDay : public QuorlTest {};

TEST_F(ClockChangeDay, GridKeepsTheWallClockWhenTheClocksGoForwardOrBack)
{
    setVariable("TZ", QStringLiteral("Europe/London"));
    const auto reading = [](const QDateTime &value) { return std::pair(value.date(), value.time()); };
    for (const QDate day : {QDate(2026, 3, 29), QDate(2026, 10, 25)}) {
        EXPECT_EQ(reading(dateAtHalfHour(day, QTime(14, 10), false)), std::pair(day, QTime(14, 30)));
        EXPECT_EQ(reading(dateAtHalfHour(day, QTime(23, 45), false)), std::pair(day.addDays(1), QTime(0, 0)));
        EXPECT_EQ(reading(snapToHalfHour(QDateTime(day, QTime(9, 20)), true)), std::pair(day, QTime(9, 0)));
        // Midnight of a day and a skipped time keep their readings too.
        EXPECT_EQ(reading(DateOnly(day)), std::pair(day, QTime(0, 0)));
        EXPECT_EQ(reading(dateAtHalfHour(day, QTime(1, 40), true)), std::pair(day, QTime(1, 30)));
        EXPECT_EQ(SqlDateHalfHour(QDateTime(day, QTime(14, 10)), false),
                  QStringLiteral("#2026/%1/%2 14:30#").arg(day.month()).arg(day.day()));
    }
}

TEST(HalfHourOffset, DateAloneIsItsMidnight)
{
    EXPECT_EQ(SqlDateHalfHour(QDate(2026, 12, 9)), QStringLiteral("#2026/12/9 0:0#"));
    EXPECT_EQ(SqlDateHalfHour(QDateTime()), QStringLiteral("#1899/12/30 0:0#"));
}

// ---- Dates read by a pattern ------------------------------------------------------------

struct ParseCase {
    const char *name;
    QString text;
    QString pattern;
    QDateTime expected;
};

void PrintTo(const ParseCase &c, std::ostream *os)
{
    *os << c.name;
}

class ParseByPattern : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseByPattern, FoldsTheCalendar)
{
    const ParseCase &c = GetParam();
    EXPECT_EQ(ParseDateByFormat(c.text, c.pattern), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ParseByPattern,
    ::testing::Values(
        ParseCase{"DayFolder", QStringLiteral("01022026"), QStringLiteral("ddMMyyyy"), at(2026, 2, 1, 0, 0)},
        ParseCase{"EmptyText", QString(), QStringLiteral("ddMMyyyy"), at(1999, 11, 30, 0, 0)},
        ParseCase{"NotANumber", QStringLiteral("notadate"), QStringLiteral("ddMMyyyy"), at(1999, 11, 30, 0, 0)},
        ParseCase{"ShortText", QStringLiteral("0812"), QStringLiteral("ddMMyyyy"), at(2000, 12, 8, 0, 0)},
        ParseCase{"DayPastMonthEndCarries", QStringLiteral("31022026"), QStringLiteral("ddMMyyyy"), at(2026, 3, 3, 0, 0)},
        ParseCase{"MonthThirteenAndDayZero", QStringLiteral("00132026"), QStringLiteral("ddMMyyyy"),
                  at(2026, 12, 31, 0, 0)},
        ParseCase{"MonthZeroIsDecemberBefore", QStringLiteral("15002026"), QStringLiteral("ddMMyyyy"),
                  at(2025, 12, 15, 0, 0)},
        ParseCase{"TwoDigitYearBelowThirty", QStringLiteral("010229"), QStringLiteral("ddMMyy"), at(2029, 2, 1, 0, 0)},
        ParseCase{"TwoDigitYearFromThirty", QStringLiteral("010230"), QStringLiteral("ddMMyy"), at(1930, 2, 1, 0, 0)},
        ParseCase{"WithTime", QStringLiteral("08.12.2026 09:30"), QStringLiteral("dd.MM.yyyy hh:mm"),
                  at(2026, 12, 8, 9, 30)},
        ParseCase{"LettersAreCaseSensitive", QStringLiteral("2026-12-08 07"), QStringLiteral("yyyy-MM-dd mm"),
                  at(2026, 12, 8, 0, 7)},
        ParseCase{"HoursCarryIntoDays", QStringLiteral("0812202625"), QStringLiteral("ddMMyyyyhh"),
                  at(2026, 12, 9, 1, 0)},
        ParseCase{"FieldAboveItsRangeIsZero", QStringLiteral("08122026999"), QStringLiteral("ddMMyyyyhhh"),
                  at(2026, 12, 8, 0, 0)},
        ParseCase{"NegativeYearGivesZeroDate", QStringLiteral("-5"), QStringLiteral("yy"), at(1899, 12, 30, 0, 0)},
        ParseCase{"YearBeyondTheCalendarGivesZeroDate", QStringLiteral("100000101"), QStringLiteral("yyyyyMMdd"),
                  at(1899, 12, 30, 0, 0)}),
    [](const auto &info) { return std::string(info.param.name); });

// ---- Enter-key navigation ------------------------------------------------------------------

class FocusTest : public QuorlTest {
protected:
    void SetUp() override
    {
        QuorlTest::SetUp();
        form = std::make_unique<QDialog>();
        auto *layout = new QVBoxLayout(form.get());
        txtName = add<QLineEdit>(layout, "txtName");
        auto *caption = new QLabel(QStringLiteral("Street:"), form.get());
        layout->addWidget(caption);
        txtStreet = add<QLineEdit>(layout, "txtStreet");
        auto *line = new QFrame(form.get());
        line->setFrameShape(QFrame::HLine);
        layout->addWidget(line);
        txtAdults = add<QSpinBox>(layout, "txtAdults");
        cboType = add<QComboBox>(layout, "cboType");
        chkClubMember = add<QCheckBox>(layout, "chkClubMember");
        cmdOK = add<QPushButton>(layout, "cmdOK");
        form->show();
        QApplication::setActiveWindow(form.get());
    }

    void TearDown() override
    {
        form.reset();
        QuorlTest::TearDown();
    }

    template <typename W>
    W *add(QVBoxLayout *layout, const char *name)
    {
        auto *widget = new W(form.get());
        widget->setObjectName(QString::fromLatin1(name));
        widget->setFocusPolicy(Qt::StrongFocus);
        layout->addWidget(widget);
        return widget;
    }

    QWidget *focused() const { return form->focusWidget(); }

    // The control holding the focus, by name (a spin box's editor counts as the spin box).
    QString focusedName() const
    {
        for (QWidget *w = focused(); w; w = w->parentWidget()) {
            if (w->parentWidget() == form.get())
                return w->objectName();
        }
        return QString();
    }

    std::unique_ptr<QDialog> form;
    QLineEdit *txtName = nullptr;
    QLineEdit *txtStreet = nullptr;
    QSpinBox *txtAdults = nullptr;
    QComboBox *cboType = nullptr;
    QCheckBox *chkClubMember = nullptr;
    QPushButton *cmdOK = nullptr;
};

TEST_F(FocusTest, TabIndexesFollowTheFocusChainWithoutLabelsAndLines)
{
    const QList<QWidget *> controls = tabControls(form.get());
    ASSERT_EQ(controls.size(), 6);
    EXPECT_EQ(controls.at(0), txtName);
    EXPECT_EQ(controls.at(1), txtStreet);
    EXPECT_EQ(tabIndexOf(txtAdults, form.get()), 2);
    EXPECT_EQ(tabIndexOf(cmdOK, form.get()), 5);

    QWidget::setTabOrder(txtName, cmdOK);
    EXPECT_EQ(tabIndexOf(cmdOK, form.get()), 1);
}

TEST_F(FocusTest, EnterWalksPastDisabledAndHiddenControlsAndWraps)
{
    txtStreet->setEnabled(false);
    cboType->hide();
    txtName->setFocus();

    int index = 0;
    ASSERT_TRUE(FocusNextControl(index, form.get()));
    EXPECT_EQ(focusedName(), QStringLiteral("txtAdults"));
    EXPECT_EQ(index, 2);
    EXPECT_EQ(tabIndexOf(focused(), form.get()), 2) << "the spin box's editor has the spin box's index";

    ASSERT_TRUE(FocusNextControl(form.get()));
    EXPECT_EQ(focusedName(), QStringLiteral("chkClubMember"));
    ASSERT_TRUE(FocusNextControl(form.get()));
    EXPECT_EQ(focusedName(), QStringLiteral("cmdOK"));
    ASSERT_TRUE(FocusNextControl(form.get()));
    EXPECT_EQ(focusedName(), QStringLiteral("txtName"));
}

TEST_F(FocusTest, FocusStaysWhenNothingLaterNorTheFirstCanTakeIt)
{
    chkClubMember->setFocus();
    cmdOK->setEnabled(false);
    txtName->setEnabled(false);
    int index = tabIndexOf(chkClubMember, form.get());
    EXPECT_FALSE(FocusNextControl(index, form.get()));
    EXPECT_EQ(focused(), chkClubMember);
    EXPECT_EQ(index, 4);
}

// The form takes Enter before its controls, but not the keys of a window it opened.
TEST_F(FocusTest, OnlyEnterInTheFormsOwnControlsMovesTheFocus)
{
    QDialog opened(form.get());
    auto *txtOther = new QLineEdit(&opened);
    struct Case {
        const char *what;
        QWidget *control;
        int key;
        bool taken;
    };
    const Case cases[] = {
        {"Return in a box", txtName, Qt::Key_Return, true},
        {"keypad Enter on a button", cmdOK, Qt::Key_Enter, true},
        {"Tab", txtName, Qt::Key_Tab, false},
        {"Return in a window the form opened", txtOther, Qt::Key_Return, false},
    };
    for (const Case &c : cases) {
        QKeyEvent press(QEvent::KeyPress, c.key, Qt::NoModifier);
        QKeyEvent release(QEvent::KeyRelease, c.key, Qt::NoModifier);
        EXPECT_EQ(isEnterKeyIn(form.get(), c.control, &press), c.taken) << c.what;
        EXPECT_FALSE(isEnterKeyIn(form.get(), c.control, &release)) << c.what << ", released";
    }
}

TEST_F(FocusTest, ExplicitIndexesLeaveGapsWhereLabelsStand)
{
    auto *lblSendEmail = new QLabel(QStringLiteral("Email"), form.get());
    form->layout()->addWidget(lblSendEmail);
    setTabIndex(txtName, 0);
    setTabIndex(txtStreet, 1);
    setTabIndex(lblSendEmail, 2);
    setTabIndex(chkClubMember, 3);
    setTabIndex(cmdOK, 4);

    EXPECT_EQ(tabControls(form.get()).size(), 4) << "controls without an index take no part";
    txtStreet->setFocus();
    ASSERT_TRUE(FocusNextControl(form.get()));
    EXPECT_EQ(focused(), txtName) << "the label's index is a gap, so Enter wraps";

    chkClubMember->setFocus();
    ASSERT_TRUE(FocusNextControl(form.get()));
    EXPECT_EQ(focused(), cmdOK);
    ASSERT_TRUE(FocusNextControl(form.get()));
    EXPECT_EQ(focused(), txtName);
}

TEST_F(FocusTest, GroupBoxesAreNeverControls)
{
    auto *fraStep = new QGroupBox(QStringLiteral("Step"), form.get());
    fraStep->setCheckable(true);
    form->layout()->addWidget(fraStep);
    EXPECT_EQ(tabIndexOf(fraStep, form.get()), -1);
    EXPECT_FALSE(tabControls(form.get()).contains(fraStep));
}

// ---- Window placement ----------------------------------------------------------------------

using PlacementTest = QuorlTest;

TEST_F(PlacementTest, ModesShowTheFormOrLeaveItAlone)
{
    QWidget owner;
    owner.setGeometry(100, 100, 800, 600);
    owner.show();
    QDialog dialog(&owner);
    dialog.resize(200, 100);

    ShowFormPositioned(&dialog, 4);
    EXPECT_FALSE(dialog.isVisible());

    ShowFormPositioned(&dialog, kShowCentredOnParent);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.size(), QSize(200, 100)) << "placing never resizes";
    EXPECT_EQ(dialog.frameGeometry().center(), owner.frameGeometry().center());

    ShowFormPositioned(&dialog, kShowAtParentOrigin);
    EXPECT_EQ(dialog.pos(), owner.mapToGlobal(QPoint(0, 0)));
}

} // namespace
} // namespace quorl
