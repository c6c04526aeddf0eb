#include <memory>
#include <ostream>

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "core/modDatabase.h"
#include "core/modEventLog.h"
#include "core/modFunctions.h"
#include "masterdata/frmBerth.h"
#include "masterdata/frmEditBerths.h"
#include "platform/db/Connection.h"
#include "platform/db/Recordset.h"
#include "platform/db/SqlText.h"
#include "platform/text/Text.h"
#include "platform/ui/DataCombo.h"
#include "platform/ui/MsgBox.h"
#include "reservations/frmBooking.h"
#include "support/QuorlTest.h"

namespace quorl {

// A child window of the main window that counts the calls of its Form_Activate.
class ActivationProbe : public QWidget
{
    Q_OBJECT

public:
    int activations = 0;

public slots:
    void Form_Activate() { ++activations; }
};

namespace {

const QString kDeleteQuestion = QStringLiteral("Are you sure");

// The berth dialog on a database with four berths: A1 and D4 without bookings (D4
// inactive), C3 the only berth of booking 1, and booking 2 on B2 and C3.
class BerthDialogTest : public QuorlTest {
protected:
    void SetUp() override
    {
        QuorlTest::SetUp();
        DbConnection = OpenConnection(databasePath(), QString(), 500);
        ASSERT_TRUE(DbConnection);
        ASSERT_TRUE(QDir().mkpath(driveC() + QStringLiteral("/Quorlc/traces")));
        InitEventLog();
        DbConnection->Execute(QStringLiteral(
            "INSERT INTO Owner (ID, Name) VALUES (1, 'Harbour Ltd'), (2, 'Quay Holdings');"
            "INSERT INTO Berth (ID, Name, TypeID, Active) VALUES (1, 'A1', 1, -1), (2, 'B2', 1, -1), "
            "(3, 'C3', 2, -1), (4, 'D4', 2, 0);"
            "INSERT INTO Booking (ID, FromDate, ToDate, CustomerID) VALUES "
            "(1, '2026-12-01 09:00:00', '2026-12-03 14:00:00', 1), (2, '2026-12-10 09:00:00', '2026-12-12 14:00:00', 1);"
            "INSERT INTO BookingBerth (BookingID, BerthID) VALUES (1, 3), (2, 2), (2, 3);"));
        dialog = std::make_unique<frmBerth>();
    }

    void TearDown() override
    {
        dialog.reset();
        DbConnection.reset();
        EventLogPath.clear();
        QuorlTest::TearDown();
    }

    void open()
    {
        ASSERT_TRUE(dialog->prepare());
        dialog->show();
        QApplication::setActiveWindow(dialog.get());
    }

    template <class T>
    T *control(const char *name) const
    {
        T *found = dialog->findChild<T *>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QLineEdit *box(const char *name) const { return control<QLineEdit>(name); }
    QPushButton *button(const char *name) const { return control<QPushButton>(name); }
    ui::DataList *list() const { return control<ui::DataList>("lstBerth"); }

    QStringList entries() const
    {
        QStringList texts;
        for (int row = 0; row < list()->model()->rowCount(); ++row)
            texts << list()->model()->index(row, 0).data().toString();
        return texts;
    }

    // A click of the user on the list entry with that text.
    void clickEntry(const QString &text)
    {
        const int row = entries().indexOf(text);
        ASSERT_GE(row, 0) << text.toStdString();
        const QRect rect = list()->visualRect(list()->model()->index(row, 0));
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, rect.center());
    }

    void typeBerth(const QString &name, const QString &type)
    {
        box("txtName")->setText(name);
        control<ui::DataCombo>("cboBerthType")->setText(type);
    }

    // Every row of the tables the dialog touches, as text.
    QString content() const
    {
        QString text;
        for (const char *table : {"Berth", "Booking", "BookingBerth", "Owner"}) {
            auto rows = DbConnection->ExecuteQuery(QStringLiteral("SELECT * FROM %1 ORDER BY rowid").arg(QLatin1String(table)));
            text += QLatin1String(table) + QLatin1Char('\n');
            for (; !rows->isEOF(); rows->MoveNext()) {
                for (int field = 0; field < rows->fieldCount(); ++field)
                    text += rows->value(field).toString() + QLatin1Char('|');
                text += QLatin1Char('\n');
            }
        }
        return text;
    }

    QString eventLog() const { return text::readAnsiFile(EventLogPath); }

    // A column of the berth; Yes/No columns as the file holds them, -1 or 0.
    QVariant berthValue(const QString &name, const QString &column) const
    {
        auto rows = DbConnection->ExecuteQuery(
            QStringLiteral("SELECT %1 AS v FROM Berth WHERE Name = %2").arg(column, db::SqlQuote(name)));
        if (rows->isEOF())
            return QStringLiteral("<no berth>");
        const QVariant value = rows->value(QStringLiteral("v"));
        if (value.typeId() == QMetaType::Bool)
            return value.toBool() ? -1 : 0;
        return value;
    }

    int count(const QString &sql) const { return DbConnection->ExecuteQuery(sql)->value(0).toInt(); }

    std::unique_ptr<frmBerth> dialog;
};

TEST_F(BerthDialogTest, ListShowsEveryBerthWithItsMarksInOrderAndTheFirstChosen)
{
    open();
    EXPECT_EQ(dialog->windowTitle(), "Configure Berths ");
    EXPECT_EQ(entries(), QStringList({"A1 - Active ", "B2 (booked) - Active ", "C3 (booked) - Active ", "D4 - Inactive"}));
    EXPECT_EQ(list()->Text(), "A1 - Active ");
    EXPECT_EQ(button("cmdActivate")->text(), "Inac&tivate");
    clickEntry(QStringLiteral("D4 - Inactive"));
    EXPECT_EQ(dialog->berthList()->value(QStringLiteral("Name")).toString(), "D4");
    EXPECT_EQ(button("cmdActivate")->text(), "Ac&tivate");
}

TEST_F(BerthDialogTest, AddStoresTheTrimmedBerthWithTheColumnDefaultsAndClearsTheEntryFields)
{
    open();
    typeBerth(QStringLiteral("  E5  "), QStringLiteral("Walk-ashore"));
    box("txtWidth")->setText(QStringLiteral("3.5"));
    box("txtDailyHireCharge")->setText(QStringLiteral(" 12.50 "));
    control<QCheckBox>("chkHasPower")->setChecked(true);
    control<QPlainTextEdit>("txtNotes")->setPlainText(QStringLiteral("  near the crane "));
    // An owner chosen while "Owner:" is unticked is not stored.
    control<ui::DataCombo>("cboOwner")->setText(QStringLiteral("Harbour Ltd"));
    QTest::mouseClick(button("cmdAdd"), Qt::LeftButton);

    EXPECT_TRUE(entries().contains("E5 - Active "));
    EXPECT_EQ(list()->Text(), "A1 - Active ");
    EXPECT_EQ(box("txtName")->text(), "");
    EXPECT_EQ(box("txtWidth")->text(), "");
    EXPECT_EQ(box("txtDailyHireCharge")->text(), "");
    EXPECT_EQ(control<ui::DataCombo>("cboBerthType")->Text(), "");
    EXPECT_EQ(control<QPlainTextEdit>("txtNotes")->toPlainText(), "  near the crane ");
    EXPECT_TRUE(control<QCheckBox>("chkHasPower")->isChecked());

    QTest::mouseClick(button("Command1"), Qt::LeftButton);
    EXPECT_EQ(berthValue("E5", "TypeID").toInt(), 2);
    EXPECT_FALSE(berthValue("E5", "Length").isValid());
    EXPECT_EQ(berthValue("E5", "Width").toDouble(), 3.5);
    EXPECT_FALSE(berthValue("E5", "OwnerID").isValid());
    EXPECT_EQ(berthValue("E5", "HasPower").toInt(), -1);
    EXPECT_EQ(berthValue("E5", "Active").toInt(), -1);
    EXPECT_EQ(berthValue("E5", "DailyHireCharge").toDouble(), 12.5);
    EXPECT_FALSE(berthValue("E5", "WeeklyHireCharge").isValid());
    EXPECT_EQ(berthValue("E5", "Notes").toString(), "  near the crane ");
    EXPECT_EQ(eventLog(), eventLogEntry(defaultNow(), evBerthAdded, QStringLiteral("Name: 'E5'")));
}

TEST_F(BerthDialogTest, AddStoresTheOwnerOnlyWhenTheOwnerBoxIsTicked)
{
    open();
    typeBerth(QStringLiteral("O'Neill's"), QStringLiteral("Pontoon"));
    control<QCheckBox>("chkOwner")->click();
    EXPECT_TRUE(control<ui::DataCombo>("cboOwner")->isEnabled());
    control<ui::DataCombo>("cboOwner")->setText(QStringLiteral("Quay Holdings"));
    dialog->cmdAdd_Click();
    dialog->Command1_Click();
    EXPECT_EQ(berthValue("O'Neill's", "OwnerID").toInt(), 2);
    EXPECT_TRUE(eventLog().contains("Name: 'O'Neill's'"));
}

struct RefusedAdd {
    const char *name;
    const char *type;
    bool ownerTicked;
    const char *message;
};

void PrintTo(const RefusedAdd &refused, std::ostream *out)
{
    *out << '"' << refused.name << "\" expecting " << refused.message;
}

class BerthAddRefusedTest : public BerthDialogTest, public ::testing::WithParamInterface<RefusedAdd> {};

TEST_P(BerthAddRefusedTest, NothingIsSavedAndTheFieldsKeepTheirText)
{
    const RefusedAdd &refused = GetParam();
    open();
    typeBerth(QString::fromLatin1(refused.name), QString::fromLatin1(refused.type));
    box("txtLength")->setText(QStringLiteral("12"));
    if (refused.ownerTicked)
        control<QCheckBox>("chkOwner")->click();
    expectMessage(QString::fromLatin1(refused.message), ui::vbOK);
    dialog->cmdAdd_Click();
    ASSERT_FALSE(messages().isEmpty());
    EXPECT_EQ(messages().last().title, "Add berth");
    EXPECT_EQ(messages().last().buttons, ui::vbOKOnly | ui::vbExclamation);
    EXPECT_EQ(box("txtName")->text(), refused.name);
    EXPECT_EQ(box("txtLength")->text(), "12");
    EXPECT_EQ(dialog->OperationLog()->RecordCount(), 0);
    dialog->Command1_Click();
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM Berth")), 4);
    EXPECT_EQ(eventLog(), "");
}

INSTANTIATE_TEST_SUITE_P(
    Checks, BerthAddRefusedTest,
    ::testing::Values(
        RefusedAdd{"   ", "Pontoon", false,
                   "No berth name has been entered. Please enter a berth name (or number) to continue."},
        RefusedAdd{"E5", "Pontoon", true, "Please select owner from the list"},
        RefusedAdd{"E5", "", false, "Please select berth type from the list"}));

// Bookings and their charges go by berth ID, so a name may be given twice.
TEST_F(BerthDialogTest, AddTakesANameThatAnotherBerthHasToo)
{
    open();
    typeBerth(QStringLiteral(" a1 "), QStringLiteral("Pontoon"));
    box("txtDailyHireCharge")->setText(QStringLiteral("20"));
    dialog->cmdAdd_Click();
    dialog->Command1_Click();
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM Berth WHERE Name = 'a1'")), 2);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM Berth WHERE Name = 'a1' AND DailyHireCharge = 20")), 1);
    EXPECT_EQ(eventLog(), eventLogEntry(defaultNow(), evBerthAdded, QStringLiteral("Name: 'a1'")));
}

struct ClosingRoad {
    const char *name;
    void (*close)(frmBerth &);
};

void PrintTo(const ClosingRoad &road, std::ostream *out)
{
    *out << road.name;
}

class BerthCancelTest : public BerthDialogTest, public ::testing::WithParamInterface<ClosingRoad> {};

TEST_P(BerthCancelTest, LeavesTheDatabaseAsItWasAndWritesNoEvent)
{
    const QString before = content();
    open();
    typeBerth(QStringLiteral("E5"), QStringLiteral("Pontoon"));
    dialog->cmdAdd_Click();
    dialog->cmdActivate_Click();
    clickEntry(QStringLiteral("C3 (booked) - Active "));
    expectMessage(kDeleteQuestion, ui::vbYes);
    dialog->cmdRemove_Click();
    ASSERT_EQ(dialog->OperationLog()->RecordCount(), 3);
    ASSERT_NE(content(), before);

    GetParam().close(*dialog);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_FALSE(DbConnection->inTransaction());
    EXPECT_EQ(content(), before);
    EXPECT_EQ(eventLog(), "");
}

INSTANTIATE_TEST_SUITE_P(
    Roads, BerthCancelTest,
    ::testing::Values(ClosingRoad{"CancelButton", [](frmBerth &form) {
                                      QTest::mouseClick(form.findChild<QPushButton *>("cmdCancel"), Qt::LeftButton);
                                  }},
                      ClosingRoad{"EscKey", [](frmBerth &form) { QTest::keyClick(&form, Qt::Key_Escape); }},
                      ClosingRoad{"CloseBox", [](frmBerth &form) { form.close(); }}),
    [](const ::testing::TestParamInfo<ClosingRoad> &info) { return std::string(info.param.name); });

TEST_F(BerthDialogTest, OkWritesTheEventsAfterTheCommitInTheOrderOfTheChanges)
{
    open();
    typeBerth(QStringLiteral("F6"), QStringLiteral("Pontoon"));
    dialog->cmdAdd_Click();
    clickEntry(QStringLiteral("B2 (booked) - Active "));
    EXPECT_EQ(button("cmdActivate")->text(), "Inac&tivate");
    dialog->cmdActivate_Click();
    EXPECT_TRUE(entries().contains("B2 (booked) - Inactive"));
    // Nothing reaches the log while the transaction is open.
    EXPECT_EQ(eventLog(), "");

    dialog->Command1_Click();
    EXPECT_FALSE(DbConnection->inTransaction());
    EXPECT_EQ(eventLog(), eventLogEntry(defaultNow(), evBerthAdded, QStringLiteral("Name: 'F6'"))
                              + eventLogEntry(defaultNow(), evBerthModified, QStringLiteral("Berth 'B2' inactivated")));
    // Committed: another connection sees it.
    db::Connection other;
    other.Open(DbConnection->ConnectionString());
    EXPECT_EQ(other.ExecuteQuery(QStringLiteral("SELECT Active * 1 FROM Berth WHERE Name = 'B2'"))->value(0).toInt(), 0);
    EXPECT_EQ(other.ExecuteQuery(QStringLiteral("SELECT COUNT(*) FROM Berth WHERE Name = 'F6'"))->value(0).toInt(), 1);
}

TEST_F(BerthDialogTest, OkWithoutChangesWritesNoEvent)
{
    const QString before = content();
    open();
    dialog->Command1_Click();
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(content(), before);
    EXPECT_EQ(eventLog(), "");
}

TEST_F(BerthDialogTest, ActivateBeforeAnyClickWorksOnTheFirstBerthAndActivatesAnInactiveOne)
{
    open();
    dialog->cmdActivate_Click();
    EXPECT_EQ(entries().first(), "A1 - Inactive");
    EXPECT_EQ(list()->Text(), "A1 - Inactive");
    EXPECT_EQ(button("cmdActivate")->text(), "Ac&tivate");
    clickEntry(QStringLiteral("D4 - Inactive"));
    dialog->cmdActivate_Click();
    dialog->Command1_Click();
    EXPECT_EQ(berthValue("A1", "Active").toInt(), 0);
    EXPECT_EQ(berthValue("D4", "Active").toInt(), -1);
    EXPECT_EQ(eventLog(), eventLogEntry(defaultNow(), evBerthModified, QStringLiteral("Berth 'A1' inactivated"))
                              + eventLogEntry(defaultNow(), evBerthModified, QStringLiteral("Berth 'D4' activated")));
}

TEST_F(BerthDialogTest, RemovingABookedBerthDeletesTheBookingsLeftWithoutBerthsAndLogsTheMarkedName)
{
    open();
    clickEntry(QStringLiteral("C3 (booked) - Active "));
    expectMessage(QStringLiteral("reservations"), ui::vbYes);
    dialog->cmdRemove_Click();
    EXPECT_FALSE(entries().contains("C3 (booked) - Active "));
    EXPECT_EQ(list()->Text(), "D4 - Inactive");
    dialog->Command1_Click();

    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM Berth WHERE ID = 3")), 0);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM Booking WHERE ID = 1")), 0);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM Booking WHERE ID = 2")), 1);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM BookingBerth WHERE BookingID = 2 AND BerthID = 2")), 1);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM BookingBerth WHERE BerthID = 3")), 0);
    EXPECT_EQ(eventLog(), eventLogEntry(defaultNow(), evBerthDeleted, QStringLiteral("Name: 'C3 (booked) - Active '")));
}

TEST_F(BerthDialogTest, ADeclinedRemovalChangesAndLogsNothing)
{
    const QString before = content();
    open();
    clickEntry(QStringLiteral("A1 - Active "));
    expectMessage(kDeleteQuestion, ui::vbNo);
    dialog->cmdRemove_Click();
    EXPECT_EQ(entries().size(), 4);
    dialog->Command1_Click();
    EXPECT_EQ(content(), before);
    EXPECT_EQ(eventLog(), "");
}

TEST_F(BerthDialogTest, OkCallsFormActivateOfTheActiveChildWindowAndCancelDoesNot)
{
    QMainWindow main;
    auto *area = new QMdiArea(&main);
    main.setCentralWidget(area);
    auto *probe = new ActivationProbe;
    area->addSubWindow(probe)->show();
    main.show();
    area->setActiveSubWindow(area->subWindowList().first());

    open();
    dialog->cmdCancel_Click();
    EXPECT_EQ(probe->activations, 0);
    open();
    dialog->Command1_Click();
    EXPECT_EQ(probe->activations, 1);
}

TEST_F(BerthDialogTest, ACommitTheDatabaseRefusesIsUndoneToldAndLogsNothing)
{
    // A deferred constraint fails only at the commit.
    DbConnection->Execute(QStringLiteral(
        "PRAGMA foreign_keys = ON;"
        "CREATE TABLE GuardParent (ID INTEGER PRIMARY KEY);"
        "CREATE TABLE Guard (ParentID INTEGER REFERENCES GuardParent (ID) DEFERRABLE INITIALLY DEFERRED);"
        "CREATE TRIGGER GuardBerth AFTER INSERT ON Berth BEGIN INSERT INTO Guard VALUES (99); END;"));
    const QString before = content();
    open();
    typeBerth(QStringLiteral("G7"), QStringLiteral("Pontoon"));
    dialog->cmdAdd_Click();
    box("txtName")->setText(QStringLiteral("typed after"));
    expectMessage(QStringLiteral("could not be saved"), ui::vbOK);
    dialog->Command1_Click();
    EXPECT_EQ(messages().last().title, "Configure Berths");
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(box("txtName")->text(), "typed after");
    EXPECT_EQ(content(), before);
    EXPECT_EQ(eventLog(), "");
    EXPECT_FALSE(entries().contains("G7 - Active "));

    // The dialog goes on with a fresh transaction.
    dialog->cmdActivate_Click();
    DbConnection->Execute(QStringLiteral("DROP TRIGGER GuardBerth"));
    dialog->Command1_Click();
    EXPECT_EQ(eventLog(), eventLogEntry(defaultNow(), evBerthModified, QStringLiteral("Berth 'A1' inactivated")));
}

struct NumberCase {
    const char *box;
    const char *text;
    const char *title; // null: accepted
};

void PrintTo(const NumberCase &number, std::ostream *out)
{
    *out << number.box << " \"" << number.text << '"';
}

class BerthNumberTest : public BerthDialogTest, public ::testing::WithParamInterface<NumberCase> {};

TEST_P(BerthNumberTest, LeavingTheBoxChecksItsNumber)
{
    const NumberCase &number = GetParam();
    open();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    QLineEdit *target = box(number.box);
    target->setFocus();
    ASSERT_TRUE(target->hasFocus());
    target->setText(QString::fromUtf8(number.text));
    if (number.title)
        expectMessage(QStringLiteral("Please enter a valid number to continue"), ui::vbOK);
    // The press on Activate moves the focus first; a refused number stops the button.
    QTest::mouseClick(button("cmdActivate"), Qt::LeftButton);
    if (number.title) {
        ASSERT_FALSE(messages().isEmpty());
        EXPECT_EQ(messages().last().title, number.title);
        EXPECT_EQ(messages().last().buttons, ui::vbOKOnly | ui::vbExclamation);
        EXPECT_TRUE(target->hasFocus());
        EXPECT_EQ(target->text(), QString::fromUtf8(number.text));
        EXPECT_EQ(dialog->OperationLog()->RecordCount(), 0);
    } else {
        EXPECT_TRUE(messages().isEmpty());
        EXPECT_EQ(dialog->OperationLog()->RecordCount(), 1);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Boxes, BerthNumberTest,
    ::testing::Values(NumberCase{"txtLength", "12abc", "Berth length"}, NumberCase{"txtWidth", "3,5", "Berth width"},
                      NumberCase{"txtDailyHireCharge", "ten", "Daily Hire Charge"},
                      NumberCase{"txtWeeklyHireCharge", "£", "Weekly Hire Charge"},
                      NumberCase{"txtMonthlyHireCharge", "1.2.3", "Monthly Hire Charge"},
                      // Beyond what a money column holds.
                      NumberCase{"txtDailyHireCharge", "1e308", "Daily Hire Charge"},
                      NumberCase{"txtLength", "1e400", "Berth length"}, NumberCase{"txtLength", "", nullptr},
                      NumberCase{"txtLength", " 1e308 ", nullptr}, NumberCase{"txtWidth", "-2.5", nullptr},
                      NumberCase{"txtWeeklyHireCharge", "£70.00", nullptr}));

TEST_F(BerthDialogTest, TextPutIntoANumberBoxWithoutLeavingItIsCheckedByAdd)
{
    open();
    typeBerth(QStringLiteral("H8"), QStringLiteral("Pontoon"));
    box("txtMonthlyHireCharge")->setText(QStringLiteral("lots"));
    expectMessage(QStringLiteral("Please enter a valid number to continue"), ui::vbOK);
    dialog->cmdAdd_Click();
    EXPECT_EQ(messages().last().title, "Monthly Hire Charge");
    EXPECT_EQ(dialog->OperationLog()->RecordCount(), 0);
}

TEST_F(BerthDialogTest, EnterWalksTheTabOrderAndWrapsWithoutReachingEditBerths)
{
    open();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    box("txtName")->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), box("txtLength"));
    button("cmdCancel")->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), box("txtName"));
    EXPECT_TRUE(dialog->isVisible());
    control<QPlainTextEdit>("txtNotes")->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), button("cmdAdd"));
    EXPECT_EQ(control<QPlainTextEdit>("txtNotes")->toPlainText(), "");
}

// Each way a booking is deleted takes its booking lines along: its berths are no
// longer shown booked, and removing them asks no question about reservations.
enum class BookingDeletion { CustomerDeleted, BookingCancelled, BookingFormCancelled };

class BerthAfterBookingDeletionTest : public BerthDialogTest, public ::testing::WithParamInterface<BookingDeletion> {
protected:
    // Deletes booking 2 (B2 and C3) the way the case names; booking 1 (C3) stays.
    void deleteBookingTwo()
    {
        DbConnection->Execute(QStringLiteral("INSERT INTO Customer (ID, Name) VALUES (1, 'Smith'), (2, 'Jones');"
                                             "UPDATE Booking SET CustomerID = 2 WHERE ID = 1"));
        switch (GetParam()) {
        case BookingDeletion::CustomerDeleted: {
            auto customers = OpenRecordset(QStringLiteral("SELECT * FROM Customer ORDER BY ID"), nullptr, false);
            expectMessage(QStringLiteral("remove all past reservations"), ui::vbYes);
            EXPECT_TRUE(DeleteCustomer(1, *customers));
            break;
        }
        case BookingDeletion::BookingCancelled:
            expectMessage(QStringLiteral("Do you want to delete existing reservation?"), ui::vbYes);
            EXPECT_TRUE(ConfirmCancelBooking(2));
            break;
        case BookingDeletion::BookingFormCancelled: {
            frmBooking form;
            form.Display(2, 2);
            expectMessage(QStringLiteral("Do you want to delete existing reservation?"), ui::vbYes);
            form.cmdCancel_Click();
            break;
        }
        }
    }
};

std::string deletionName(BookingDeletion deletion)
{
    static const char *const names[] = {"CustomerDeleted", "BookingCancelled", "BookingFormCancelled"};
    return names[int(deletion)];
}

void PrintTo(BookingDeletion deletion, std::ostream *os) { *os << deletionName(deletion); }

TEST_P(BerthAfterBookingDeletionTest, TheBerthsOfTheDeletedBookingAreNoLongerBooked)
{
    deleteBookingTwo();
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM Booking WHERE ID = 2")), 0);

    open();
    EXPECT_EQ(entries(), QStringList({"A1 - Active ", "B2 - Active ", "C3 (booked) - Active ", "D4 - Inactive"}));
    clickEntry(QStringLiteral("B2 - Active "));
    expectMessage(QStringLiteral("Are you sure to delete this item?"), ui::vbYes);
    dialog->cmdRemove_Click();
    dialog->Command1_Click();
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM Booking WHERE ID = 1")), 1) << "another booking stays";
}

INSTANTIATE_TEST_SUITE_P(Deletions, BerthAfterBookingDeletionTest,
                         ::testing::Values(BookingDeletion::CustomerDeleted, BookingDeletion::BookingCancelled,
                                           BookingDeletion::BookingFormCancelled),
                         [](const ::testing::TestParamInfo<BookingDeletion> &info) { return deletionName(info.param); });

// The berth editor commits each save at once on its own connection, which the
// dialog's unsaved changes would block: Edit Berths saves them first, or stays shut.
struct EditBerthsAnswer {
    const char *name;
    int answer;
    bool editorOpens;
};

void PrintTo(const EditBerthsAnswer &c, std::ostream *os)
{
    *os << c.name;
}

class EditBerthsWithChangesTest : public BerthDialogTest, public ::testing::WithParamInterface<EditBerthsAnswer> {
};

TEST_P(EditBerthsWithChangesTest, TheDialogsChangesAreSavedFirstOrTheEditorStaysShut)
{
    const EditBerthsAnswer &c = GetParam();
    open();
    typeBerth(QStringLiteral("F6"), QStringLiteral("Pontoon"));
    dialog->cmdAdd_Click();

    bool editorShown = false;
    QTimer::singleShot(0, [&] {
        auto *editor = qobject_cast<frmEditBerths *>(QApplication::activeModalWidget());
        editorShown = editor != nullptr;
        if (!editor)
            return;
        editor->txtFields[1]->setText(QStringLiteral("A1 north"));
        editor->cmdUpdate_Click();
        editor->cmdClose_Click();
    });
    expectMessage(QStringLiteral("must be saved before the berths can be edited"), c.answer);
    dialog->Command2_Click();
    EXPECT_EQ(messages().last().title, QStringLiteral("Configure Berths"));
    EXPECT_EQ(messages().last().buttons, ui::vbYesNo | ui::vbQuestion);
    EXPECT_EQ(editorShown, c.editorOpens);
    if (!c.editorOpens)
        QApplication::processEvents(); // the scripted editor step finds nothing to do

    // A change after the editor belongs to the dialog's next transaction again.
    typeBerth(QStringLiteral("G7"), QStringLiteral("Pontoon"));
    dialog->cmdAdd_Click();
    dialog->cmdCancel_Click();

    EXPECT_EQ(berthValue(QStringLiteral("A1 north"), QStringLiteral("ID")).toInt(), c.editorOpens ? 1 : 0);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM Berth WHERE Name = 'F6'")), c.editorOpens ? 1 : 0);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM Berth WHERE Name = 'G7'")), 0);
    EXPECT_EQ(eventLog(), c.editorOpens ? eventLogEntry(defaultNow(), evBerthAdded, QStringLiteral("Name: 'F6'"))
                                        : QString());
}

INSTANTIATE_TEST_SUITE_P(Answers, EditBerthsWithChangesTest,
                         ::testing::Values(EditBerthsAnswer{"YesSavesThemAndOpensTheEditor", ui::vbYes, true},
                                           EditBerthsAnswer{"NoKeepsThemAndTheEditorShut", ui::vbNo, false}),
                         [](const ::testing::TestParamInfo<EditBerthsAnswer> &info) {
                             return std::string(info.param.name);
                         });

TEST_F(BerthDialogTest, EditBerthsWithoutChangesAsksNothing)
{
    open();
    bool editorShown = false;
    QTimer::singleShot(0, [&] {
        auto *editor = qobject_cast<frmEditBerths *>(QApplication::activeModalWidget());
        editorShown = editor != nullptr;
        if (editor)
            editor->cmdClose_Click();
    });
    dialog->Command2_Click();
    EXPECT_TRUE(editorShown);
    EXPECT_TRUE(messages().isEmpty());
}

} // namespace
} // namespace quorl

#include "test_frmBerth.moc"
