#include <memory>

#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QWidget>

#include "platform/db/Connection.h"
#include "platform/db/Recordset.h"
#include "platform/ui/Adodc.h"
#include "platform/ui/BoundFields.h"
#include "support/QuorlTest.h"

namespace quorl {
namespace {

const QString kBerthSource = QStringLiteral("select ID,Name,Length,HasPower,Notes from Berth");

// A bound form in miniature: a data control on the test database with a name box,
// a length box, a power box and a notes box.
class AdodcTest : public QuorlTest {
protected:
    void SetUp() override
    {
        QuorlTest::SetUp();
        m_other = std::make_unique<db::Connection>();
        m_other->Open(connectionString());
        m_other->Execute(QStringLiteral("INSERT INTO Berth (Name, Length, HasPower, Notes) VALUES "
                                        "('A1', 10, -1, 'first'), ('A2', 12.5, 0, NULL), ('A3', NULL, 0, 'third')"));
        m_form = std::make_unique<QWidget>();
        adodc = new ui::Adodc(m_form.get());
        adodc->setConnectionString(connectionString());
        adodc->setRecordSource(kBerthSource);
        id = new QLineEdit(m_form.get());
        name = new QLineEdit(m_form.get());
        length = new QLineEdit(m_form.get());
        power = new QCheckBox(m_form.get());
        notes = new QPlainTextEdit(m_form.get());
        bound = new ui::BoundFields(adodc, m_form.get());
        bound->bind(id, QStringLiteral("ID"));
        bound->bind(name, QStringLiteral("Name"));
        bound->bind(length, QStringLiteral("Length"));
        bound->bind(power, QStringLiteral("HasPower"));
        bound->bind(notes, QStringLiteral("Notes"));
    }

    void TearDown() override
    {
        m_form.reset();
        m_other.reset();
        QuorlTest::TearDown();
    }

    QString connectionString() const
    {
        return QStringLiteral("PROVIDER=Microsoft.Jet.OLEDB.4.0;Data Source=") + databasePath() + QLatin1Char(';');
    }

    // A column of one berth as another connection reads it.
    QVariant stored(const QString &berth, const QString &column)
    {
        auto rows = m_other->ExecuteQuery(QStringLiteral("SELECT %1 FROM Berth WHERE Name = '%2'").arg(column, berth));
        return rows->isEOF() ? QVariant(QStringLiteral("<no row>")) : rows->value(0);
    }

    // A Yes/No column as the file holds it, -1 or 0.
    int storedFlag(const QString &berth, const QString &column)
    {
        return m_other->ExecuteQuery(QStringLiteral("SELECT %1 * 1 FROM Berth WHERE Name = '%2'").arg(column, berth))
            ->value(0)
            .toInt();
    }

    std::unique_ptr<db::Connection> m_other;
    std::unique_ptr<QWidget> m_form;
    ui::Adodc *adodc = nullptr;
    ui::BoundFields *bound = nullptr;
    QLineEdit *id = nullptr;
    QLineEdit *name = nullptr;
    QLineEdit *length = nullptr;
    QCheckBox *power = nullptr;
    QPlainTextEdit *notes = nullptr;
};

TEST_F(AdodcTest, OpensOnItsOwnConnectionAndShowsTheFirstRow)
{
    QSignalSpy moved(adodc, &ui::Adodc::moveComplete);
    ASSERT_TRUE(adodc->open());
    EXPECT_NE(adodc->connection(), nullptr);
    EXPECT_NE(adodc->connection(), m_other.get());
    EXPECT_EQ(moved.count(), 1);
    EXPECT_EQ(name->text(), "A1");
    EXPECT_EQ(length->text(), "10");
    EXPECT_TRUE(power->isChecked());
    EXPECT_EQ(notes->toPlainText(), "first");
    // The key is the database's: its box cannot be typed into.
    EXPECT_TRUE(id->isReadOnly());
    EXPECT_FALSE(name->isReadOnly());
}

TEST_F(AdodcTest, NavigationStopsAtBothEnds)
{
    ASSERT_TRUE(adodc->open());
    adodc->movePrevious();
    EXPECT_EQ(name->text(), "A1");
    adodc->moveNext();
    EXPECT_EQ(name->text(), "A2");
    EXPECT_EQ(length->text(), "12.5");
    EXPECT_FALSE(power->isChecked());
    EXPECT_EQ(notes->toPlainText(), "");
    adodc->moveLast();
    EXPECT_EQ(name->text(), "A3");
    EXPECT_EQ(length->text(), "");
    adodc->moveNext();
    EXPECT_EQ(name->text(), "A3");
    EXPECT_EQ(adodc->Recordset()->AbsolutePosition(), 3);
    adodc->moveFirst();
    EXPECT_EQ(adodc->Recordset()->AbsolutePosition(), 1);
}

TEST_F(AdodcTest, ChangesAreWrittenWhenTheRowIsLeftAndCommittedAtOnce)
{
    ASSERT_TRUE(adodc->open());
    name->setText(QStringLiteral("A1 north"));
    length->setText(QStringLiteral("11.25"));
    power->setChecked(false);
    notes->setPlainText(QStringLiteral("moved"));
    EXPECT_TRUE(adodc->hasChanges());
    adodc->moveNext();
    EXPECT_EQ(name->text(), "A2");
    EXPECT_FALSE(adodc->hasChanges());
    // Another connection sees the change: nothing waits for a commit.
    EXPECT_EQ(stored("A1 north", "Length").toDouble(), 11.25);
    EXPECT_EQ(storedFlag("A1 north", "HasPower"), 0);
    EXPECT_EQ(stored("A1 north", "Notes").toString(), "moved");
}

TEST_F(AdodcTest, ANotesBoxStoresItsLineBreaksAsCrLfAndAStoredOneReadsAsUnchanged)
{
    ASSERT_TRUE(adodc->open());
    notes->setPlainText(QStringLiteral("Line 1\nLine 2\rLine 3"));
    adodc->moveNext();
    EXPECT_EQ(stored("A1", "Notes").toString(), "Line 1\r\nLine 2\r\nLine 3");

    adodc->movePrevious();
    EXPECT_FALSE(adodc->hasChanges()) << "the stored CR LF is what the box gives back";
}

TEST_F(AdodcTest, UpdateBatchWritesTheCurrentRowAndAnEmptiedNumberBecomesNull)
{
    ASSERT_TRUE(adodc->open());
    length->clear();
    power->setChecked(false);
    adodc->UpdateBatch();
    EXPECT_FALSE(stored("A1", "Length").isValid());
    EXPECT_EQ(storedFlag("A1", "HasPower"), 0);
    power->setChecked(true);
    adodc->UpdateBatch();
    EXPECT_EQ(storedFlag("A1", "HasPower"), -1);
}

TEST_F(AdodcTest, AValueTheFieldRefusesIsReportedAndTheRowKeptWithTheTypedText)
{
    ASSERT_TRUE(adodc->open());
    QSignalSpy errors(adodc, &ui::Adodc::error);
    length->setText(QStringLiteral("long"));
    adodc->moveNext();
    ASSERT_EQ(errors.count(), 1);
    EXPECT_FALSE(errors.first().first().toString().isEmpty());
    EXPECT_EQ(adodc->Recordset()->AbsolutePosition(), 1);
    EXPECT_EQ(length->text(), "long");
    EXPECT_EQ(stored("A1", "Length").toDouble(), 10.0);

    EXPECT_THROW(adodc->UpdateBatch(), db::Error);
    length->setText(QStringLiteral("9"));
    adodc->moveNext();
    EXPECT_EQ(errors.count(), 1);
    EXPECT_EQ(name->text(), "A2");
    EXPECT_EQ(stored("A1", "Length").toDouble(), 9.0);
}

// What a refused write had put into the row goes with the refusal: the next write
// stores what the fields hold then, not a value the user has since taken back.
TEST_F(AdodcTest, AChangeTakenBackAfterARefusedWriteIsNotStored)
{
    ASSERT_TRUE(adodc->open());
    name->setText(QStringLiteral("A1 renamed"));
    length->setText(QStringLiteral("long"));
    EXPECT_THROW(adodc->UpdateBatch(), db::Error);
    EXPECT_EQ(name->text(), "A1 renamed");
    EXPECT_TRUE(adodc->hasChanges());

    name->setText(QStringLiteral("A1"));
    length->setText(QStringLiteral("9"));
    adodc->UpdateBatch();
    EXPECT_EQ(name->text(), "A1");
    EXPECT_EQ(stored("A1", "Length").toDouble(), 9.0);
    EXPECT_EQ(stored("A1 renamed", "Length").toString(), "<no row>");
}

TEST_F(AdodcTest, AWriteLockedByAnotherConnectionKeepsTheChangeUntilItIsFree)
{
    ASSERT_TRUE(adodc->open());
    m_other->BeginTrans();
    m_other->Execute(QStringLiteral("UPDATE Berth SET Notes = 'locked' WHERE Name = 'A3'"));

    // Paging without a change writes nothing, so it never meets the lock.
    QSignalSpy errors(adodc, &ui::Adodc::error);
    adodc->moveNext();
    adodc->moveFirst();
    EXPECT_EQ(errors.count(), 0);

    name->setText(QStringLiteral("A1 busy"));
    try {
        adodc->UpdateBatch();
        ADD_FAILURE() << "the write went through another connection's lock";
    } catch (const db::Error &error) {
        EXPECT_TRUE(error.isBusy());
        EXPECT_EQ(error.message(), QString::fromLatin1(db::kBusyMessage));
    }
    EXPECT_EQ(name->text(), "A1 busy");
    EXPECT_TRUE(adodc->hasChanges());

    m_other->CommitTrans();
    adodc->UpdateBatch();
    EXPECT_EQ(stored("A1 busy", "Length").toDouble(), 10.0);
}

TEST_F(AdodcTest, RefreshReadsTheRowsAgainAndDropsWhatWasTyped)
{
    ASSERT_TRUE(adodc->open());
    adodc->moveNext();
    name->setText(QStringLiteral("typed"));
    m_other->Execute(QStringLiteral("UPDATE Berth SET Name = 'Z1' WHERE Name = 'A1'"));
    adodc->Refresh();
    EXPECT_EQ(name->text(), "Z1");
    EXPECT_FALSE(adodc->hasChanges());
    EXPECT_EQ(stored("A2", "Name").toString(), "A2");
}

TEST_F(AdodcTest, AMissingFileIsReportedAndTheFormStaysUsable)
{
    adodc->setConnectionString(QStringLiteral("PROVIDER=Microsoft.Jet.OLEDB.4.0;Data Source=C:\\Nowhere\\db.mdb;"));
    QSignalSpy errors(adodc, &ui::Adodc::error);
    EXPECT_FALSE(adodc->open());
    EXPECT_EQ(errors.count(), 1);
    EXPECT_FALSE(adodc->isOpen());
    EXPECT_EQ(name->text(), "");
    adodc->moveNext();
    EXPECT_NO_THROW(adodc->close());
}

TEST_F(AdodcTest, WithoutAnErrorHandlerTheDataControlShowsTheErrorItself)
{
    adodc->setRecordSource(QStringLiteral("select Name from Nowhere"));
    expectMessage(QStringLiteral("Nowhere"), ui::vbOK);
    EXPECT_FALSE(adodc->open());
}

TEST_F(AdodcTest, AnEmptyRecordSourceShowsNoRowAndWritesNothing)
{
    m_other->Execute(QStringLiteral("DELETE FROM Berth"));
    ASSERT_TRUE(adodc->open());
    EXPECT_EQ(name->text(), "");
    name->setText(QStringLiteral("nowhere to go"));
    EXPECT_NO_THROW(adodc->UpdateBatch());
    adodc->moveNext();
    EXPECT_EQ(m_other->ExecuteQuery(QStringLiteral("SELECT COUNT(*) FROM Berth"))->value(0).toInt(), 0);
}

} // namespace
} // namespace quorl
