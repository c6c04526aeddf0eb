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
        oldNotes = storedNotes();
        for (qint64 berth : berths)
            newNotes << QStringLiteral("new note %1").arg(berth);
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
        for (int i = 0; i < berths.size(); ++i) {
            choose(berths[i]);
            notesBox()->setPlainText(newNotes[i]);
        }
    }
    QStringList storedNotes() const
    {
        QStringList notes;
        for (const QVariantList &row : rows(QStringLiteral("SELECT Notes FROM Berth ORDER BY ID")))
            notes << row.first().toString();
        return notes;
    }
    QString notesEvent() const { return eventLogEntry(defaultNow(), evBerthModified, QStringLiteral("Notes modified")); }

    QList<qint64> berths;
    QStringList oldNotes;
    QStringList newNotes;
    std::unique_ptr<frmBerthNotes> dialog;
    std::unique_ptr<db::Connection> other;
};

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
    bool kept;
};
void PrintTo(const CloseCase &c, std::ostream *out) { *out << c.name; }

class BerthNotesClosed : public BerthNotes, public ::testing::WithParamInterface<CloseCase> {
};

TEST_P(BerthNotesClosed, KeepsEveryNoteTypedWithOneEventOrNoneAndNoEvent)
{
    open();
    typeNotes();
    GetParam().close(*dialog);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(storedNotes(), GetParam().kept ? newNotes : oldNotes);
    EXPECT_EQ(eventLog(), GetParam().kept ? notesEvent() : QString());
}

INSTANTIATE_TEST_SUITE_P(Closing, BerthNotesClosed,
                         ::testing::Values(CloseCase{"Ok", [](frmBerthNotes &d) { d.cmdOK_Click(); }, true},
                                           CloseCase{"Cancel", [](frmBerthNotes &d) { d.cmdCancel_Click(); }, false},
                                           CloseCase{"CloseBox", [](frmBerthNotes &d) { d.close(); }, false}),
                         [](const auto &info) { return std::string(info.param.name); });

enum class Obstacle { RefusingTrigger, CheckAtCommit, OtherConnectionsLock };

class BerthNotesRefused : public BerthNotes, public ::testing::WithParamInterface<Obstacle> {
protected:
    void block()
    {
        switch (GetParam()) {
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
};

TEST_P(BerthNotesRefused, IsUndoneToldAndLogsNothingAndKeepsTheTypedNotes)
{
    block();
    open();
    typeNotes();
    expectMessage(QStringLiteral("could not be saved"), ui::vbOK);
    dialog->cmdOK_Click();
    EXPECT_EQ(messages().last().title, "Berth  Notes");
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(notesBox()->toPlainText(), newNotes.last());
    EXPECT_EQ(storedNotes(), oldNotes);
    EXPECT_EQ(eventLog(), "");

    // Once the obstacle is gone the same notes are stored.
    if (other)
        other->RollbackTrans();
    else
        execute(QStringLiteral("DROP TRIGGER NoNotes"));
    dialog->cmdOK_Click();
    EXPECT_EQ(storedNotes(), newNotes);
    EXPECT_EQ(eventLog(), notesEvent());
}

const char *obstacleName(Obstacle obstacle)
{
    const char *names[] = {"RefusingTrigger", "CheckAtCommit", "OtherConnectionsLock"};
    return names[int(obstacle)];
}
void PrintTo(Obstacle obstacle, std::ostream *os) { *os << obstacleName(obstacle); }

INSTANTIATE_TEST_SUITE_P(Failures, BerthNotesRefused,
                         ::testing::Values(Obstacle::RefusingTrigger, Obstacle::CheckAtCommit,
                                           Obstacle::OtherConnectionsLock),
                         [](const auto &info) { return std::string(obstacleName(info.param)); });

} // namespace
} // namespace quorl
