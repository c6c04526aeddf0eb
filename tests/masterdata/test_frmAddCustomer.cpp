#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include "masterdata/CustomerRecord.h"
#include "core/frmViewEventLog.h"
#include "masterdata/frmAddCustomer.h"
#include "platform/ui/MsgBox.h"
#include "tests/masterdata/MasterDataTest.h"

namespace quorl {
namespace {

class CustomerDialogTest : public MasterDataTest
{
protected:
    static void type(frmAddCustomer &dialog, const char *box, const QString &text)
    {
        child<QLineEdit>(&dialog, box)->setText(text);
    }

    // The row as the database holds it, Null kept apart from "".
    QVariantList customerRow(qint64 id)
    {
        const auto rs = DbConnection->ExecuteQuery(
            QStringLiteral("SELECT Name, HouseName, Street, Area, Town, PostCode, TelNo, MobileNo, EmailAddress, "
                           "Notes, ClubMember, MembershipNo FROM Customer WHERE ID = ")
            + QString::number(id));
        QVariantList values;
        if (!rs->isEOF()) {
            for (int f = 0; f < rs->fieldCount(); ++f)
                values << rs->value(f);
        }
        return values;
    }
};

TEST(CustomerStatements, KeepTheirTextsWithEveryValueQuoted)
{
    CustomerRecord smith;
    smith.Name = QStringLiteral("Smith");
    smith.HouseName = QStringLiteral("Rose Cottage");
    smith.ClubMember = 1;
    smith.MembershipNo = QStringLiteral("M7");
    EXPECT_EQ(customerInsertSql(smith),
              QStringLiteral("INSERT INTO Customer (Name, HouseName, Street, Area, Town, PostCode, TelNo, MobileNo, "
                             "EmailAddress, Notes, ClubMember, MembershipNo) SELECT 'Smith', 'Rose Cottage', '', '', "
                             "'', '', '', '', '', '', 1, 'M7'"));
    EXPECT_EQ(customerUpdateSql(smith, 17),
              QStringLiteral("UPDATE Customer SET Name = 'Smith', HouseName = 'Rose Cottage', Street = '', Area = '', "
                             "Town = '', PostCode = '', TelNo = '', MobileNo = '', EmailAddress = '', Notes = '', "
                             "ClubMember = 1, MembershipNo = 'M7'WHERE ID = 17"));
    smith.Name = QStringLiteral("O'Neill");
    EXPECT_TRUE(customerInsertSql(smith).contains(QStringLiteral("SELECT 'O''Neill', ")));
}

TEST_F(CustomerDialogTest, AddSavesEmptyStringsAndReturnsTheNewKey)
{
    exec(QStringLiteral("INSERT INTO Customer (Name) VALUES ('Earlier')"));
    frmAddCustomer dialog;
    onModal<frmAddCustomer>([](frmAddCustomer &d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Add customer"));
        type(d, "txtName", QStringLiteral(" "));
        d.cmdOK_Click();
    });
    dialog.Display(1, 0);

    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.ID(), lastId(QStringLiteral("Customer")));
    EXPECT_NE(dialog.ID(), 0);
    const QVariantList row = customerRow(dialog.ID());
    ASSERT_EQ(row.size(), 12);
    EXPECT_EQ(row[0].toString(), QStringLiteral(" ")) << "one blank is a name; nothing is trimmed";
    for (int f : {1, 2, 3, 4, 5, 6, 7, 8, 9, 11}) {
        EXPECT_TRUE(row[f].isValid()) << "column " << f << " is Null";
        EXPECT_EQ(row[f].toString(), QString()) << "column " << f;
    }
    EXPECT_EQ(row[10].toBool(), false);
    EXPECT_EQ(eventLog(), entry(QStringLiteral("Customer added"), QStringLiteral("Name: ' ' HouseName: ''")));
}

TEST_F(CustomerDialogTest, AddWithApostrophesAndClubMemberSavesEveryBox)
{
    frmAddCustomer dialog;
    onModal<frmAddCustomer>([](frmAddCustomer &d) {
        type(d, "txtName", QStringLiteral("O'Neill"));
        type(d, "txtHouseName", QStringLiteral("Ship's Rest"));
        type(d, "txtStreet", QStringLiteral("Quay Rd"));
        type(d, "txtArea", QStringLiteral("Harbour"));
        type(d, "txtTown", QStringLiteral("Cork"));
        type(d, "txtPostCode", QStringLiteral("T12 X"));
        type(d, "txtTelNo", QStringLiteral("021 1"));
        type(d, "txtMobileNo", QStringLiteral("087 2"));
        type(d, "txtEmail", QStringLiteral("oneill@example.ie"));
        type(d, "txtMembershipNo", QStringLiteral("M'7"));
        child<QPlainTextEdit>(&d, "txtNotes")->setPlainText(QStringLiteral("Line 1\nIt's 50% * #2"));
        child<QCheckBox>(&d, "chkClubMember")->setChecked(true);
        d.cmdOK_Click();
    });
    dialog.Display(1, 0);

    const QVariantList row = customerRow(dialog.ID());
    ASSERT_EQ(row.size(), 12);
    EXPECT_EQ(row[0].toString(), QStringLiteral("O'Neill"));
    EXPECT_EQ(row[1].toString(), QStringLiteral("Ship's Rest"));
    EXPECT_EQ(row[5].toString(), QStringLiteral("T12 X"));
    EXPECT_EQ(row[8].toString(), QStringLiteral("oneill@example.ie"));
    EXPECT_EQ(row[9].toString(), QStringLiteral("Line 1\r\nIt's 50% * #2")) << "notes keep their line breaks as CR LF";
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM Customer WHERE ClubMember = -1")).toInt(), 1);
    EXPECT_EQ(row[11].toString(), QStringLiteral("M'7"));
    EXPECT_EQ(eventLog(), entry(QStringLiteral("Customer added"), QStringLiteral("Name: 'O'Neill' HouseName: 'Ship's Rest'")));
}

TEST_F(CustomerDialogTest, OkWithAnEmptyNameDoesNothing)
{
    frmAddCustomer dialog;
    bool leftOpen = false;
    onModal<frmAddCustomer>([](frmAddCustomer &d) {
        type(d, "txtHouseName", QStringLiteral("Rose Cottage"));
        d.cmdOK_Click();
    }, &leftOpen);
    dialog.Display(1, 0);
    EXPECT_TRUE(leftOpen);
    EXPECT_EQ(count(QStringLiteral("Customer")), 0);
    EXPECT_EQ(eventLog(), QString());
    EXPECT_EQ(dialog.ID(), 0);
}

TEST_F(CustomerDialogTest, CancelKeepsTheIdPassed)
{
    exec(QStringLiteral("INSERT INTO Customer (Name) VALUES ('Smith')"));
    const qint64 smith = lastId(QStringLiteral("Customer"));
    frmAddCustomer dialog;
    onModal<frmAddCustomer>([](frmAddCustomer &d) {
        type(d, "txtName", QStringLiteral("Jones"));
        d.cmdCancel_Click();
    });
    dialog.Display(1, 0);
    EXPECT_EQ(dialog.ID(), 0);

    onModal<frmAddCustomer>([](frmAddCustomer &d) {
        type(d, "txtName", QStringLiteral("Changed"));
        QTest::keyClick(&d, Qt::Key_Escape);
    });
    dialog.Display(2, smith);
    EXPECT_EQ(dialog.ID(), smith);
    EXPECT_EQ(scalar(QStringLiteral("SELECT Name FROM Customer")).toString(), QStringLiteral("Smith"));
    EXPECT_EQ(count(QStringLiteral("Customer")), 1);
    EXPECT_EQ(eventLog(), QString());
}

TEST_F(CustomerDialogTest, EditShowsNullsEmptyAndWritesEmptyStrings)
{
    exec(QStringLiteral("INSERT INTO Customer (Name, HouseName, Town, ClubMember, MembershipNo) "
                        "VALUES ('Smith', NULL, 'Brighton', NULL, 'M7')"));
    exec(QStringLiteral("UPDATE Customer SET ClubMember = NULL"));
    const qint64 smith = lastId(QStringLiteral("Customer"));
    frmAddCustomer dialog;
    onModal<frmAddCustomer>([](frmAddCustomer &d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Edit Customer"));
        EXPECT_EQ(child<QLineEdit>(&d, "txtName")->text(), QStringLiteral("Smith"));
        EXPECT_EQ(child<QLineEdit>(&d, "txtHouseName")->text(), QString());
        EXPECT_EQ(child<QLineEdit>(&d, "txtTown")->text(), QStringLiteral("Brighton"));
        EXPECT_EQ(child<QLineEdit>(&d, "txtMembershipNo")->text(), QStringLiteral("M7"));
        EXPECT_FALSE(child<QCheckBox>(&d, "chkClubMember")->isChecked());
        type(d, "txtName", QStringLiteral("Smith-Jones"));
        d.cmdOK_Click();
    });
    dialog.Display(2, smith);

    EXPECT_EQ(dialog.ID(), smith);
    const QVariantList row = customerRow(smith);
    ASSERT_EQ(row.size(), 12);
    EXPECT_EQ(row[0].toString(), QStringLiteral("Smith-Jones"));
    EXPECT_TRUE(row[1].isValid()) << "a Null shown empty is saved as an empty string";
    EXPECT_EQ(row[10].toBool(), false);
    EXPECT_TRUE(row[10].isValid());
    EXPECT_EQ(eventLog(), entry(QStringLiteral("Customer modified"), QStringLiteral("Name: 'Smith-Jones' HouseName: ''")));

    // The edit leaves nothing behind for the next add.
    onModal<frmAddCustomer>([](frmAddCustomer &d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Add customer"));
        EXPECT_EQ(child<QLineEdit>(&d, "txtName")->text(), QString());
        EXPECT_EQ(child<QLineEdit>(&d, "txtTown")->text(), QString());
        d.cmdCancel_Click();
    });
    dialog.Display(1, 0);
}

TEST_F(CustomerDialogTest, RefusedSaveStaysOpenWithTheEntriesAndWritesNoEvent)
{
    exec(QStringLiteral("CREATE TEMP TRIGGER RefuseCustomer BEFORE INSERT ON Customer "
                        "BEGIN SELECT RAISE(ABORT, 'no customers today'); END"));
    expectMessage(QStringLiteral("no customers today"), ui::vbOK);
    frmAddCustomer dialog;
    bool leftOpen = false;
    onModal<frmAddCustomer>([&](frmAddCustomer &d) {
        type(d, "txtName", QStringLiteral("Smith"));
        type(d, "txtTown", QStringLiteral("Brighton"));
        d.cmdOK_Click();
        EXPECT_EQ(child<QLineEdit>(&d, "txtName")->text(), QStringLiteral("Smith"));
        EXPECT_EQ(child<QLineEdit>(&d, "txtTown")->text(), QStringLiteral("Brighton"));
        EXPECT_FALSE(DbConnection->inTransaction()) << "the failed save's transaction is rolled back";

        // Once the database takes it, the same entries save.
        exec(QStringLiteral("DROP TRIGGER RefuseCustomer"));
        d.cmdOK_Click();
    }, &leftOpen);
    dialog.Display(1, 0);

    ASSERT_EQ(messages().size(), 1);
    EXPECT_EQ(messages().first().title, QStringLiteral("Add customer"));
    EXPECT_FALSE(leftOpen);
    EXPECT_EQ(count(QStringLiteral("Customer")), 1);
    EXPECT_EQ(eventLog(), entry(QStringLiteral("Customer added"), QStringLiteral("Name: 'Smith' HouseName: ''")));
}

TEST_F(CustomerDialogTest, ACustomerDeletedElsewhereIsReportedNotOpened)
{
    exec(QStringLiteral("INSERT INTO Customer (Name) VALUES ('Smith')"));
    const qint64 smith = lastId(QStringLiteral("Customer"));
    exec(QStringLiteral("DELETE FROM Customer"));
    expectMessage(QStringLiteral("no longer exists"), ui::vbOK);
    frmAddCustomer dialog;
    dialog.Display(2, smith); // returns at once: no modal loop runs
    EXPECT_EQ(messages().first().title, QStringLiteral("Edit Customer"));
    EXPECT_EQ(dialog.ID(), smith);
}

// A customer the database cannot be read for is not said to be deleted: the user
// is told what went wrong, and would otherwise add the customer a second time.
TEST_F(CustomerDialogTest, ACustomerThatCannotBeReadIsNotReportedAsDeleted)
{
    exec(QStringLiteral("INSERT INTO Customer (Name) VALUES ('Smith')"));
    const qint64 smith = lastId(QStringLiteral("Customer"));
    DbConnection->Close();
    expectMessage(QString(), ui::vbOK);
    frmAddCustomer dialog;
    dialog.Display(2, smith);
    ASSERT_EQ(messages().size(), 1);
    EXPECT_FALSE(messages().first().prompt.contains(QStringLiteral("no longer exists")))
        << messages().first().prompt.toStdString();
    EXPECT_FALSE(messages().first().prompt.isEmpty());
    EXPECT_EQ(messages().first().title, QStringLiteral("Edit Customer"));
}

TEST_F(CustomerDialogTest, ACustomerDeletedWhileEditedIsNotSavedAsSuccess)
{
    exec(QStringLiteral("INSERT INTO Customer (Name) VALUES ('Smith')"));
    const qint64 smith = lastId(QStringLiteral("Customer"));
    expectMessage(QStringLiteral("no longer exists"), ui::vbOK);
    frmAddCustomer dialog;
    bool leftOpen = false;
    onModal<frmAddCustomer>([this](frmAddCustomer &d) {
        exec(QStringLiteral("DELETE FROM Customer"));
        d.cmdOK_Click();
    }, &leftOpen);
    dialog.Display(2, smith);
    EXPECT_TRUE(leftOpen);
    EXPECT_EQ(eventLog(), QString());
}

TEST_F(CustomerDialogTest, EnterWalksTheBoxesAndWrapsFromTheNotes)
{
    frmAddCustomer dialog;
    ASSERT_TRUE(dialog.prepare(1, 0));
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));

    const auto enterFrom = [&](const char *name) {
        QWidget *from = dialog.findChild<QWidget *>(QString::fromLatin1(name));
        from->setFocus();
        QTest::keyClick(from, Qt::Key_Return);
        return QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString();
    };
    EXPECT_EQ(enterFrom("txtName"), QStringLiteral("txtHouseName"));
    EXPECT_EQ(enterFrom("txtEmail"), QStringLiteral("txtMembershipNo"));
    EXPECT_EQ(enterFrom("txtMembershipNo"), QStringLiteral("txtNotes"));
    EXPECT_EQ(enterFrom("txtNotes"), QStringLiteral("txtName"));
    EXPECT_EQ(enterFrom("chkClubMember"), QStringLiteral("cmdOK"));
    EXPECT_EQ(enterFrom("cmdOK"), QStringLiteral("cmdCancel"));
    EXPECT_EQ(enterFrom("cmdCancel"), QStringLiteral("txtName"));

    // Enter on OK moved the focus; it pressed nothing, so nothing was saved or closed.
    child<QLineEdit>(&dialog, "txtName")->setText(QStringLiteral("Smith"));
    enterFrom("cmdOK");
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(count(QStringLiteral("Customer")), 0);
    EXPECT_EQ(child<QPlainTextEdit>(&dialog, "txtNotes")->toPlainText(), QString());
    dialog.cmdCancel_Click();
}

// What the user pastes into the boxes is what the row and the event log get: a
// name of several lines is its first line, so it cannot write an entry of its own.
TEST_F(CustomerDialogTest, PastedTextKeepsOneLinePerBoxAndForgesNoEventLogEntry)
{
    frmAddCustomer dialog;
    ASSERT_TRUE(dialog.prepare(1, 0));
    dialog.show();
    const auto paste = [&](const char *name, const QString &clip) {
        QWidget *box = dialog.findChild<QWidget *>(QString::fromLatin1(name));
        box->setFocus();
        QGuiApplication::clipboard()->setText(clip);
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    };
    paste("txtName", QStringLiteral("Smith\r\n\r\n[08/03/2026 09:01:00]\r\n[Customer deleted]\r\nName: Jones"));
    paste("txtHouseName", QString::fromUtf8("Rose\0 Cottage\x01", 14));
    paste("txtEmail", QStringLiteral("smith@example.org\njones@example.org"));
    paste("txtNotes", QStringLiteral("Gate code 42\nBerth by the crane"));
    dialog.cmdOK_Click();

    const QVariantList row = customerRow(lastId(QStringLiteral("Customer")));
    ASSERT_EQ(row.size(), 12);
    EXPECT_EQ(row[0].toString(), QStringLiteral("Smith"));
    EXPECT_EQ(row[1].toString(), QStringLiteral("Rose Cottage"));
    EXPECT_EQ(row[8].toString(), QStringLiteral("smith@example.org"));
    EXPECT_EQ(row[9].toString(), QStringLiteral("Gate code 42\r\nBerth by the crane"));
    EXPECT_EQ(eventLog(), entry(QStringLiteral("Customer added"), QStringLiteral("Name: 'Smith' HouseName: 'Rose Cottage'")));
    QString shown;
    ASSERT_TRUE(readLogText(EventLogPath, shown));
    EXPECT_FALSE(shown.contains(QStringLiteral("[Customer deleted]"))) << "the trace viewer shows no forged entry";
}

TEST_F(CustomerDialogTest, TheEmailLabelOpensAMailToTheBoxText)
{
    frmAddCustomer dialog;
    ASSERT_TRUE(dialog.prepare(1, 0));
    dialog.show();
    child<QLineEdit>(&dialog, "txtEmail")->setText(QStringLiteral("ann o'hara@example.com"));
    QTest::mouseClick(child<QLabel>(&dialog, "lblSendEmail"), Qt::LeftButton);
    dialog.cmdCancel_Click();

    child<QLineEdit>(&dialog, "txtEmail")->clear();
    dialog.lblSendEmail_Click();
    ASSERT_EQ(shellCalls().size(), 2);
    EXPECT_EQ(shellCalls()[0].kind, QStringLiteral("openUrl"));
    EXPECT_EQ(shellCalls()[0].target, QStringLiteral("mailto:ann o'hara@example.com"));
    EXPECT_EQ(shellCalls()[1].target, QStringLiteral("mailto:"));
}

} // namespace
} // namespace quorl
