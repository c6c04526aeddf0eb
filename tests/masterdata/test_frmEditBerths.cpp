#include <memory>

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

#include "core/modDatabase.h"
#include "core/modEventLog.h"
#include "masterdata/frmBerth.h"
#include "masterdata/frmEditBerths.h"
#include "platform/db/Connection.h"
#include "platform/db/Recordset.h"
#include "platform/ui/Adodc.h"
#include "platform/ui/DataCombo.h"
#include "support/QuorlTest.h"

namespace quorl {
namespace {

class EditBerthsTest : public QuorlTest {
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
            "INSERT INTO Berth (ID, Name, Length, TypeID, OwnerID, Active, DailyHireCharge, Notes) VALUES "
            "(1, 'A1', 10, 1, 2, -1, 12.5, 'by the gate'), (2, 'B2', NULL, 3, NULL, 0, NULL, NULL);"));
    }

    void TearDown() override
    {
        editor.reset();
        DbConnection.reset();
        EventLogPath.clear();
        QuorlTest::TearDown();
    }

    void openEditor() { editor = std::make_unique<frmEditBerths>(); }

    QString berthName(qint64 id) const
    {
        auto rows = DbConnection->ExecuteQuery(QStringLiteral("SELECT Name FROM Berth WHERE ID = %1").arg(id));
        return rows->isEOF() ? QStringLiteral("<no berth>") : rows->value(0).toString();
    }

    qint64 berthNumber(qint64 id, const QString &column) const
    {
        return DbConnection->ExecuteQuery(QStringLiteral("SELECT %1 FROM Berth WHERE ID = %2").arg(column).arg(id))
            ->value(0)
            .toLongLong();
    }

    std::unique_ptr<frmEditBerths> editor;
};

TEST_F(EditBerthsTest, ShowsTheFirstBerthInBoundFieldsWithItsOwnerAndType)
{
    openEditor();
    EXPECT_EQ(editor->windowTitle(), "Edit Berths");
    EXPECT_EQ(editor->datPrimaryRS->Caption(), "Record: 1");
    EXPECT_EQ(editor->txtFields[0]->text(), "1");
    EXPECT_TRUE(editor->txtFields[0]->isReadOnly());
    EXPECT_EQ(editor->txtFields[1]->text(), "A1");
    EXPECT_EQ(editor->txtFields[2]->text(), "10");
    EXPECT_EQ(editor->txtFields[9]->text(), "12.5");
    EXPECT_EQ(editor->txtNotes->toPlainText(), "by the gate");
    EXPECT_TRUE(editor->chkFields[8]->isChecked());
    EXPECT_EQ(editor->DataCombo1->Text(), "Quay Holdings");
    EXPECT_EQ(editor->DataCombo2->Text(), "Pontoon");
    // Its connection is its own, on the file the program uses.
    ASSERT_NE(editor->datPrimaryRS->connection(), nullptr);
    EXPECT_NE(editor->datPrimaryRS->connection(), DbConnection.get());
    EXPECT_EQ(editor->datPrimaryRS->connection()->databasePath(), DbConnection->databasePath());

    editor->datPrimaryRS->moveNext();
    EXPECT_EQ(editor->datPrimaryRS->Caption(), "Record: 2");
    EXPECT_EQ(editor->txtFields[1]->text(), "B2");
    EXPECT_EQ(editor->txtFields[2]->text(), "");
    EXPECT_FALSE(editor->chkFields[8]->isChecked());
    EXPECT_EQ(editor->DataCombo1->Text(), "");
    EXPECT_EQ(editor->DataCombo2->Text(), "Swinging mooring");
}

TEST_F(EditBerthsTest, ATypeChosenInTheComboIsStoredByItsIdWhenMovingOn)
{
    openEditor();
    editor->DataCombo2->setText(QStringLiteral("Dry stack"));
    editor->DataCombo1->setText(QStringLiteral("Harbour Ltd"));
    editor->datPrimaryRS->moveNext();
    EXPECT_EQ(berthNumber(1, QStringLiteral("TypeID")), 4);
    EXPECT_EQ(berthNumber(1, QStringLiteral("OwnerID")), 1);
    EXPECT_EQ(berthName(1), "A1");
}

TEST_F(EditBerthsTest, OpensTheDatabaseTheProgramUsesWhereverItLies)
{
    // The program runs on a copy elsewhere; the file at the fixed path holds other rows.
    const QString elsewhere = worldDir() + QStringLiteral("/elsewhere.mdb");
    DbConnection.reset();
    ASSERT_TRUE(QFile::copy(databasePath(), elsewhere));
    DbConnection = OpenConnection(elsewhere, QString(), 500);
    ASSERT_TRUE(DbConnection);
    DbConnection->Execute(QStringLiteral("UPDATE Berth SET Name = 'In use' WHERE ID = 1"));

    openEditor();
    EXPECT_EQ(editor->txtFields[1]->text(), "In use");
    editor->txtFields[1]->setText(QStringLiteral("Edited"));
    editor->cmdUpdate_Click();
    EXPECT_EQ(berthName(1), "Edited");
    db::Connection fixed;
    fixed.Open(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=C:\\Quorlc\\Data\\db.mdb;"));
    EXPECT_EQ(fixed.ExecuteQuery(QStringLiteral("SELECT Name FROM Berth WHERE ID = 1"))->value(0).toString(), "A1");
}

TEST_F(EditBerthsTest, AValueTheColumnRefusesRaisesTheDataErrorAndTheRowStays)
{
    openEditor();
    editor->txtFields[2]->setText(QStringLiteral("long"));
    expectMessage(QStringLiteral("Data error event hit err:"), ui::vbOK);
    editor->datPrimaryRS->moveNext();
    EXPECT_EQ(editor->datPrimaryRS->Caption(), "Record: 1");
    EXPECT_EQ(editor->txtFields[2]->text(), "long");
    EXPECT_EQ(berthNumber(1, QStringLiteral("Length")), 10);

    expectMessage(QStringLiteral("Length"), ui::vbOK);
    editor->cmdUpdate_Click();
    EXPECT_FALSE(messages().last().prompt.startsWith("Data error"));
}

TEST_F(EditBerthsTest, SavesAreCommittedAtOnceAndOutliveTheBerthDialogsCancel)
{
    frmBerth dialog;
    ASSERT_TRUE(dialog.prepare());
    openEditor();
    editor->txtFields[1]->setText(QStringLiteral("A1 east"));
    editor->cmdUpdate_Click();
    editor->cmdClose_Click();
    dialog.cmdCancel_Click();
    EXPECT_EQ(berthName(1), "A1 east");
}

TEST_F(EditBerthsTest, WhileTheBerthDialogHoldsTheWriteLockTheSaveWaitsThenSaysSoAndKeepsTheEdit)
{
    frmBerth dialog;
    ASSERT_TRUE(dialog.prepare());
    dialog.cmdActivate_Click(); // the dialog's transaction now writes
    ASSERT_TRUE(DbConnection->holdsWriteLock());

    openEditor();
    editor->txtFields[1]->setText(QStringLiteral("A1 west"));
    expectMessage(QString::fromLatin1(db::kBusyMessage), ui::vbOK);
    editor->cmdUpdate_Click();
    EXPECT_EQ(messages().last().prompt, QString::fromLatin1(db::kBusyMessage));
    EXPECT_EQ(editor->txtFields[1]->text(), "A1 west");
    EXPECT_TRUE(editor->datPrimaryRS->hasChanges());

    dialog.Command1_Click();
    editor->cmdUpdate_Click();
    EXPECT_EQ(berthName(1), "A1 west");
    EXPECT_EQ(berthNumber(1, QStringLiteral("Active")), 0);
}

TEST_F(EditBerthsTest, EditBerthsOpensTheEditorModallyAndTheListIsNotReadAgain)
{
    frmBerth dialog;
    ASSERT_TRUE(dialog.prepare());
    bool shown = false;
    QTimer::singleShot(0, [&] {
        auto *modal = qobject_cast<frmEditBerths *>(QApplication::activeModalWidget());
        shown = modal != nullptr;
        if (!modal)
            return;
        modal->txtFields[1]->setText(QStringLiteral("Renamed"));
        modal->cmdUpdate_Click();
        modal->cmdClose_Click();
    });
    dialog.show();
    dialog.Command2_Click();
    EXPECT_TRUE(shown);
    EXPECT_EQ(berthName(1), "Renamed");
    EXPECT_EQ(dialog.berthList()->value(QStringLiteral("Name")).toString(), "A1");
    dialog.cmdCancel_Click();
    EXPECT_EQ(berthName(1), "Renamed");
}

TEST_F(EditBerthsTest, ClosingWritesAChangeLeftInTheFields)
{
    openEditor();
    editor->txtFields[3]->setText(QStringLiteral("4.25"));
    editor->cmdClose_Click();
    EXPECT_EQ(DbConnection->ExecuteQuery(QStringLiteral("SELECT Width FROM Berth WHERE ID = 1"))->value(0).toDouble(), 4.25);
    EXPECT_FALSE(editor->datPrimaryRS->isOpen());
}

TEST_F(EditBerthsTest, AChangeThatCannotBeWrittenOnClosingIsDroppedOnlyWhenTheUserSaysSo)
{
    db::Connection other;
    other.Open(DbConnection->ConnectionString());
    other.BeginTrans();
    other.Execute(QStringLiteral("UPDATE Owner SET Name = 'Harbour plc' WHERE ID = 1"));

    openEditor();
    editor->show();
    editor->txtFields[1]->setText(QStringLiteral("kept"));
    expectMessage(QString::fromLatin1(db::kBusyMessage), ui::vbOK);
    expectMessage(QStringLiteral("could not be saved"), ui::vbNo);
    editor->cmdClose_Click();
    EXPECT_TRUE(editor->isVisible());
    EXPECT_EQ(editor->txtFields[1]->text(), "kept");

    expectMessage(QString::fromLatin1(db::kBusyMessage), ui::vbOK);
    expectMessage(QStringLiteral("could not be saved"), ui::vbYes);
    editor->close();
    EXPECT_FALSE(editor->isVisible());
    other.CommitTrans();
    EXPECT_EQ(berthName(1), "A1");
}

} // namespace
} // namespace quorl
