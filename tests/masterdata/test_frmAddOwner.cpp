#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

#include "masterdata/OwnerRecord.h"
#include "masterdata/frmAddOwner.h"
#include "platform/ui/MsgBox.h"
#include "tests/masterdata/MasterDataTest.h"

namespace quorl {
namespace {

using OwnerDialogTest = MasterDataTest;

void type(frmAddOwner &dialog, const char *box, const QString &text)
{
    child<QLineEdit>(&dialog, box)->setText(text);
}

TEST(OwnerStatements, KeepTheirTextsWithEveryValueQuoted)
{
    OwnerRecord jones;
    jones.Name = QStringLiteral("Jones");
    jones.HouseName = QStringLiteral("Mill House");
    jones.Street = QStringLiteral("Quay Road");
    EXPECT_EQ(ownerInsertSql(jones),
              QStringLiteral("INSERT INTO Owner (Name, HouseName, Street, Area, Town, PostCode, MobileNo, EmailAddress, "
                             "Notes) SELECT 'Jones', 'Mill House', 'Quay Road', '', '', '', '', '', ''"));
    EXPECT_EQ(ownerUpdateSql(jones, 3),
              QStringLiteral("UPDATE Owner SET Name = 'Jones', HouseName = 'Mill House', Street = 'Quay Road', "
                             "Area = '', Town = '', PostCode = '', MobileNo = '', EmailAddress = '', Notes = '' "
                             "WHERE ID = 3"));
}

TEST_F(OwnerDialogTest, AddsOwnersOneAfterAnotherUntilCancelled)
{
    frmAddOwner dialog;
    onModal<frmAddOwner>([this](frmAddOwner &d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Add Owner"));
        type(d, "txtName", QStringLiteral("Jones"));
        type(d, "txtHouseName", QStringLiteral("Mill House"));
        child<QPlainTextEdit>(&d, "txtNotes")->setPlainText(QStringLiteral("Two boats"));
        d.cmdOK_Click();
        EXPECT_TRUE(d.isVisible()) << "the dialog stays open for the next owner";
        EXPECT_EQ(child<QLineEdit>(&d, "txtName")->text(), QString());
        EXPECT_EQ(child<QLineEdit>(&d, "txtHouseName")->text(), QString());
        EXPECT_EQ(child<QPlainTextEdit>(&d, "txtNotes")->toPlainText(), QString());

        type(d, "txtName", QStringLiteral("O'Hara"));
        d.cmdOK_Click();
        EXPECT_EQ(count(QStringLiteral("Owner")), 2);

        type(d, "txtName", QStringLiteral("Not saved"));
        d.cmdCancel_Click();
    });
    dialog.Display(1, 0);

    EXPECT_EQ(count(QStringLiteral("Owner")), 2);
    EXPECT_EQ(scalar(QStringLiteral("SELECT Notes FROM Owner WHERE Name = 'Jones'")).toString(), QStringLiteral("Two boats"));
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM Owner WHERE Name = 'O''Hara' AND Street = ''")).toInt(), 1);
    EXPECT_EQ(eventLog(), entry(QStringLiteral("Owner added"), QStringLiteral("Name: 'Jones' HouseName: 'Mill House'"))
                              + entry(QStringLiteral("Owner added"), QStringLiteral("Name: 'O'Hara' HouseName: ''")));
}

TEST_F(OwnerDialogTest, EditSaysOwnerAndClosesWhenSaved)
{
    exec(QStringLiteral("INSERT INTO Owner (Name, HouseName, Notes) VALUES ('Jones', 'Mill House', NULL)"));
    const qint64 jones = lastId(QStringLiteral("Owner"));
    frmAddOwner dialog;
    onModal<frmAddOwner>([](frmAddOwner &d) {
        EXPECT_TRUE(d.windowTitle().contains(QStringLiteral("Owner")));
        EXPECT_FALSE(d.windowTitle().contains(QStringLiteral("ustomer")));
        EXPECT_EQ(child<QLineEdit>(&d, "txtHouseName")->text(), QStringLiteral("Mill House"));
        type(d, "txtTown", QStringLiteral("Kinsale"));
        d.cmdOK_Click();
    });
    dialog.Display(2, jones);

    EXPECT_EQ(scalar(QStringLiteral("SELECT Town FROM Owner")).toString(), QStringLiteral("Kinsale"));
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM Owner WHERE Notes = ''")).toInt(), 1);
    EXPECT_EQ(eventLog(), entry(QStringLiteral("Owner modified"), QStringLiteral("Name: 'Jones' HouseName: 'Mill House'")));

    onModal<frmAddOwner>([](frmAddOwner &d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Add Owner"));
        EXPECT_EQ(child<QLineEdit>(&d, "txtName")->text(), QString());
        d.cmdOK_Click(); // empty name: nothing happens
        EXPECT_TRUE(d.isVisible());
        d.cmdCancel_Click();
    });
    dialog.Display(1, 0);
    EXPECT_EQ(count(QStringLiteral("Owner")), 1);
}

TEST_F(OwnerDialogTest, RefusedSaveKeepsTheEntriesInAddMode)
{
    exec(QStringLiteral("CREATE TEMP TRIGGER RefuseOwner BEFORE INSERT ON Owner "
                        "BEGIN SELECT RAISE(ABORT, 'owners are closed'); END"));
    expectMessage(QStringLiteral("owners are closed"), ui::vbOK);
    frmAddOwner dialog;
    onModal<frmAddOwner>([this](frmAddOwner &d) {
        type(d, "txtName", QStringLiteral("Jones"));
        d.cmdOK_Click();
        EXPECT_TRUE(d.isVisible());
        EXPECT_EQ(child<QLineEdit>(&d, "txtName")->text(), QStringLiteral("Jones"));
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Add Owner"));
        exec(QStringLiteral("DROP TRIGGER RefuseOwner"));
        d.cmdOK_Click();
        EXPECT_TRUE(d.isVisible()) << "still adding";
        EXPECT_EQ(child<QLineEdit>(&d, "txtName")->text(), QString());
        d.cmdCancel_Click();
    });
    dialog.Display(1, 0);
    EXPECT_EQ(messages().first().title, QStringLiteral("Add Owner"));
    EXPECT_EQ(count(QStringLiteral("Owner")), 1);
    EXPECT_EQ(eventLog(), entry(QStringLiteral("Owner added"), QStringLiteral("Name: 'Jones' HouseName: ''")));
}

TEST_F(OwnerDialogTest, EnterWrapsFromTheEmailBoxAndPassesTheNotesBy)
{
    frmAddOwner dialog;
    ASSERT_TRUE(dialog.prepare(1, 0));
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    const auto enterFrom = [&](const char *name) {
        QWidget *from = dialog.findChild<QWidget *>(QString::fromLatin1(name));
        from->setFocus();
        QTest::keyClick(from, Qt::Key_Enter);
        return QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString();
    };
    EXPECT_EQ(enterFrom("txtMobileNo"), QStringLiteral("txtEmail"));
    EXPECT_EQ(enterFrom("txtEmail"), QStringLiteral("txtName"));
    EXPECT_EQ(enterFrom("txtNotes"), QStringLiteral("cmdOK"));
    EXPECT_EQ(enterFrom("cmdOK"), QStringLiteral("cmdCancel"));
    EXPECT_EQ(enterFrom("cmdCancel"), QStringLiteral("txtName"));
    dialog.cmdCancel_Click();
}

TEST_F(OwnerDialogTest, AnOwnerDeletedElsewhereIsReportedNotOpened)
{
    expectMessage(QStringLiteral("no longer exists"), ui::vbOK);
    frmAddOwner dialog;
    dialog.Display(2, 42);
    EXPECT_EQ(messages().first().title, QStringLiteral("Edit Owner"));
}

} // namespace
} // namespace quorl
