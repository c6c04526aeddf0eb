#include <memory>
#include <ostream>

#include <gtest/gtest.h>

#include <QPlainTextEdit>

#include "BookingWorld.h"
#include "core/modDatabase.h"
#include "core/modEventLog.h"
#include "platform/db/Connection.h"
#include "platform/ui/DataCombo.h"
#include "platform/ui/MsgBox.h"
#include "reservations/frmBerthNotes.h"

namespace quorl {
namespace {

class BerthNotes : public BookingWorld {
protected:
    void SetUp() override
    {
        BookingWorld::SetUp();
        for (const char *name : {"A1", "A2", "B7"})
            berths << addBerth(QString::fromLatin1(name));
        execute(QStringLiteral("UPDATE Berth SET Notes = 'old ' || Name WHERE Name <> 'A2'"));
        dialog = std::make_unique<frmBerthNotes>();
    }
    void TearDown() override
    {
        dialog.reset();
        other.reset();
        BookingWorld::TearDown();
    }

    void open()
    {
        ASSERT_TRUE(dialog->prepare());
        dialog->show();
    }
    QPlainTextEdit *notesBox() const { return dialog->findChild<QPlainTextEdit *>(QStringLiteral("txtNotes")); }
    void choose(const QVariant &berthId)
    {
        dialog->findChild<ui::DataCombo *>(QStringLiteral("cboName"))->setBoundValue(berthId);
        dialog->cboName_Click();
    }
    void typeNotes()
    {
        for (qint64 berth : berths) {
            choose(berth);
            notesBox()->setPlainText(QStringLiteral("new note %1").arg(berth));
        }
    }
    QStringList storedNotes() const
    {
        QStringList notes;
        for (const QVariantList &row : rows(QStringLiteral("SELECT Notes FROM Berth ORDER BY ID")))
            notes << row.first().toString();
        return notes;
    }
    QStringList newNotes() const
    {
        QStringList notes;
        for (qint64 berth : berths)
            notes << QStringLiteral("new note %1").arg(berth);
        return notes;
    }
    QString notesEvent() const { return eventLogEntry(defaultNow(), evBerthModified, QStringLiteral("Notes modified")); }

    QList<qint64> berths;
    std::unique_ptr<frmBerthNotes> dialog;
    std::unique_ptr<db::Connection> other;
};

TEST_F(BerthNotes, OkStoresEveryNoteTypedWithOneEvent)
{
    open();
    typeNotes();
    dialog->cmdOK_Click();
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(storedNotes(), newNotes());
    EXPECT_EQ(eventLog(), notesEvent());
}

TEST_F(BerthNotes, OkWithoutChangesOrBerthsStillLogs)
{
    execute(QStringLiteral("DELETE FROM Berth"));
    open();
    dialog->cmdOK_Click();
    EXPECT_EQ(eventLog(), notesEvent());
}

TEST_F(BerthNotes, TheNotesBoxTakesTextOnlyWhileABerthIsChosen)
{
    open();
    choose(QVariant());
    EXPECT_FALSE(notesBox()->isEnabled());
    choose(berths.first());
    EXPECT_TRUE(notesBox()->isEnabled());
    EXPECT_EQ(notesBox()->toPlainText(), "old A1");
}

struct CloseCase {
    const char *name;
    void (*close)(frmBerthNotes &);
};

void PrintTo(const CloseCase &c, std::ostream *out)
{
    *out << c.name;
}

class BerthNotesThrownAway : public BerthNotes, public ::testing::WithParamInterface<CloseCase> {
};

TEST_P(BerthNotesThrownAway, LeavesEveryNoteAsItWasAndLogsNothing)
{
    const QStringList before = storedNotes();
    open();
    typeNotes();
    GetParam().close(*dialog);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(storedNotes(), before);
    EXPECT_EQ(eventLog(), "");
}

INSTANTIATE_TEST_SUITE_P(Closing, BerthNotesThrownAway,
                         ::testing::Values(CloseCase{"Cancel", [](frmBerthNotes &d) { d.cmdCancel_Click(); }},
                                           CloseCase{"CloseBox", [](frmBerthNotes &d) { d.close(); }}),
                         [](const auto &info) { return std::string(info.param.name); });

enum class Obstacle { RefusingTrigger, CheckAtCommit, OtherConnectionsLock };

struct FailureCase {
    const char *name;
    Obstacle obstacle;
};

void PrintTo(const FailureCase &c, std::ostream *out)
{
    *out << c.name;
}

class BerthNotesRefused : public BerthNotes, public ::testing::WithParamInterface<FailureCase> {
protected:
    void block()
    {
        switch (GetParam().obstacle) {
        case Obstacle::RefusingTrigger:
            execute(QStringLiteral("CREATE TRIGGER NoNotes BEFORE UPDATE ON Berth BEGIN "
                                   "SELECT RAISE(ABORT, 'notes are frozen'); END;"));
            break;
        case Obstacle::CheckAtCommit:
            // A deferred constraint fails only at the commit.
            execute(QStringLiteral("PRAGMA foreign_keys = ON;"
                                   "CREATE TABLE GuardParent (ID INTEGER PRIMARY KEY);"
                                   "CREATE TABLE Guard (ParentID INTEGER REFERENCES GuardParent (ID) "
                                   "DEFERRABLE INITIALLY DEFERRED);"
                                   "CREATE TRIGGER NoNotes AFTER UPDATE ON Berth BEGIN INSERT INTO Guard VALUES (9); END;"));
            break;
        case Obstacle::OtherConnectionsLock:
            DbConnection->setBusyTimeout(50);
            other = OpenConnection(databasePath(), QString(), 500);
            other->BeginTrans();
            other->Execute(QStringLiteral("UPDATE Company SET Town = Town"));
            break;
        }
    }
    void unblock()
    {
        if (other)
            other->RollbackTrans();
        else
            execute(QStringLiteral("DROP TRIGGER NoNotes"));
    }
};

TEST_P(BerthNotesRefused, IsUndoneToldAndLogsNothingAndKeepsTheTypedNotes)
{
    block();
    const QStringList before = storedNotes();
    open();
    typeNotes();
    expectMessage(QStringLiteral("could not be saved"), ui::vbOK);
    dialog->cmdOK_Click();
    EXPECT_EQ(messages().last().title, "Berth  Notes");
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(notesBox()->toPlainText(), newNotes().last());
    EXPECT_EQ(storedNotes(), before);
    EXPECT_EQ(eventLog(), "");

    // Once the obstacle is gone the same notes are stored.
    unblock();
    dialog->cmdOK_Click();
    EXPECT_EQ(storedNotes(), newNotes());
    EXPECT_EQ(eventLog(), notesEvent());
}

INSTANTIATE_TEST_SUITE_P(Failures, BerthNotesRefused,
                         ::testing::Values(FailureCase{"RefusingTrigger", Obstacle::RefusingTrigger},
                                           FailureCase{"CheckAtCommit", Obstacle::CheckAtCommit},
                                           FailureCase{"OtherConnectionsLock", Obstacle::OtherConnectionsLock}),
                         [](const auto &info) { return std::string(info.param.name); });

} // namespace
} // namespace quorl
