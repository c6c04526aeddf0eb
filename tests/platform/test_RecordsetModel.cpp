#include <QAbstractItemModelTester>
#include <QApplication>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>

#include "platform/db/Connection.h"
#include "platform/db/Recordset.h"
#include "platform/ui/DataCombo.h"
#include "platform/ui/DataGrid.h"
#include "platform/ui/MsgBox.h"
#include "platform/ui/RecordsetModel.h"
#include "support/QuorlTest.h"

namespace quorl {
namespace {

// Every complaint of the model tester ends up here and fails the test.
QStringList g_modelTesterComplaints;

void collectComplaints(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type != QtDebugMsg && context.category && QByteArray(context.category) == "qt.modeltest")
        g_modelTesterComplaints << message;
}

class BoundViewTest : public QuorlTest
{
protected:
    void SetUp() override
    {
        QuorlTest::SetUp();
        m_connection.Open(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + databasePath());
        m_connection.Execute(QStringLiteral(
            "INSERT INTO Customer (Name, TelNo, ClubMember) VALUES ('Smith', '1', -1), ('Jones', NULL, 0), "
            "('Murphy', '3', 0), ('Brown', '4', -1)"));
        m_connection.Execute(QStringLiteral("INSERT INTO Owner (Name) VALUES ('Jones'), ('Murphy'), ('Walsh')"));
    }

    std::unique_ptr<db::Recordset> open(const QString &sql)
    {
        auto rs = std::make_unique<db::Recordset>();
        rs->Open(sql, &m_connection, db::adLockOptimistic);
        return rs;
    }

    // The model shows what the recordset holds, row by row.
    static void expectSameRows(const ui::RecordsetModel &model, const db::Recordset &rs, int nameColumn)
    {
        ASSERT_EQ(model.rowCount(), rs.RecordCount());
        for (int row = 0; row < model.rowCount(); ++row) {
            EXPECT_EQ(model.index(row, nameColumn).data(ui::RecordsetModel::ValueRole),
                      rs.valueAt(row, rs.fieldIndex(QStringLiteral("Name"))))
                << "row " << row;
        }
    }

    db::Connection m_connection;
};

TEST_F(BoundViewTest, TheModelFollowsEveryChangeOfItsRecordset)
{
    g_modelTesterComplaints.clear();
    const QtMessageHandler previous = qInstallMessageHandler(collectComplaints);
    auto rs = open(QStringLiteral("SELECT Customer.* FROM Customer"));
    ui::RecordsetModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Warning);
    model.setRecordset(rs.get());
    const int name = model.columnOfField(QStringLiteral("NAME"));
    ASSERT_EQ(name, 1);
    expectSameRows(model, *rs, name);

    rs->setFilter(QStringLiteral("ClubMember = 1"));
    expectSameRows(model, *rs, name);
    rs->setFilter(QString());
    rs->setSort(QStringLiteral("Name DESC"));
    expectSameRows(model, *rs, name);

    rs->AddNew();
    rs->setValue(QStringLiteral("Name"), QStringLiteral("Zed"));
    EXPECT_EQ(model.rowCount(), 5);
    EXPECT_EQ(model.index(4, name).data().toString(), QStringLiteral("Zed")) << "the pending new row shows";
    rs->Update();
    expectSameRows(model, *rs, name);

    rs->AddNew();
    rs->CancelUpdate();
    expectSameRows(model, *rs, name);

    rs->MoveFirst();
    rs->MoveNext();
    rs->Delete();
    EXPECT_EQ(model.rowCount(), 4);
    rs->MoveNext();
    expectSameRows(model, *rs, name);

    rs->setValue(QStringLiteral("Name"), QStringLiteral("Changed"));
    rs->Update();
    expectSameRows(model, *rs, name);

    m_connection.Execute(QStringLiteral("INSERT INTO Customer (Name) VALUES ('Late')"));
    rs->Requery();
    expectSameRows(model, *rs, name);

    rs.reset();
    EXPECT_EQ(model.rowCount(), 0);
    qInstallMessageHandler(previous);
    EXPECT_TRUE(g_modelTesterComplaints.isEmpty()) << g_modelTesterComplaints.join(QLatin1Char('\n')).toStdString();
}

TEST_F(BoundViewTest, TheGridRowAndTheCurrentRowMoveTogether)
{
    auto rs = open(QStringLiteral("SELECT Customer.* FROM Customer"));
    ui::DataGrid grid;
    grid.setColumns({{QStringLiteral("ID"), QStringLiteral("ID")},
                     {QStringLiteral("Name"), QStringLiteral("Name")},
                     {QStringLiteral("ClubMember"), QStringLiteral("Club Member"), ui::yesNoText},
                     {QStringLiteral("NoSuchField"), QStringLiteral("Missing")}});
    grid.setDataSource(rs.get());
    grid.setColumnVisible(0, false);
    grid.show();
    EXPECT_EQ(grid.Row(), 0);
    EXPECT_EQ(grid.model()->index(0, 2).data().toString(), QStringLiteral("Yes"));
    EXPECT_EQ(grid.model()->index(1, 2).data().toString(), QStringLiteral("No"));
    EXPECT_EQ(grid.model()->index(0, 3).data().toString(), QString());

    rs->MoveLast();
    EXPECT_EQ(grid.Row(), 3);
    grid.setCurrentIndex(grid.model()->index(1, 1));
    EXPECT_EQ(rs->AbsolutePosition(), 2);
    EXPECT_EQ(rs->value(QStringLiteral("Name")).toString(), QStringLiteral("Jones"));

    // Deleting moves neither on its own; the caller's move is followed.
    rs->Delete();
    EXPECT_EQ(rs->currentRow(), -1);
    rs->MoveNext();
    EXPECT_EQ(grid.Row(), 1);
    EXPECT_EQ(grid.model()->index(grid.Row(), 1).data().toString(), QStringLiteral("Murphy"));
    rs->MoveLast();
    rs->Delete();
    rs->MoveNext();
    rs->MovePrevious();
    EXPECT_EQ(grid.Row(), 1);

    rs->Requery();
    rs->setFilter(QStringLiteral("Name LIKE 'M*'"));
    EXPECT_TRUE(grid.isColumnHidden(0)) << "a hidden column stays hidden when the rows are read again";
    EXPECT_EQ(grid.model()->rowCount(), 1);
    EXPECT_EQ(grid.Row(), 0);
    rs->setFilter(QStringLiteral("Name = 'Nobody'"));
    EXPECT_EQ(grid.Row(), -1);

    QSignalSpy doubleClicks(&grid, &ui::DataGrid::DblClick);
    rs->setFilter(QString());
    const QRect cell = grid.visualRect(grid.model()->index(0, 1));
    QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_EQ(doubleClicks.count(), 1);
    EXPECT_EQ(rs->value(QStringLiteral("Name")).toString(), QStringLiteral("Smith"));
}

TEST_F(BoundViewTest, AnEditableGridWritesACellAndReportsARefusal)
{
    m_connection.Execute(QStringLiteral("INSERT INTO Booking (CustomerID, NoAdults) VALUES (1, 2)"));
    auto rs = open(QStringLiteral("SELECT ID, NoAdults, Notes FROM Booking"));
    ui::DataGrid grid;
    grid.setDataSource(rs.get());
    ui::RecordsetModel *model = grid.recordsetModel();
    EXPECT_FALSE(model->flags(model->index(0, 1)) & Qt::ItemIsEditable) << "read-only unless allowed";

    grid.setAllowUpdate(true);
    EXPECT_FALSE(model->flags(model->index(0, 0)) & Qt::ItemIsEditable) << "the key is never written";
    EXPECT_TRUE(model->setData(model->index(0, 1), QStringLiteral("3")));
    EXPECT_TRUE(model->setData(model->index(0, 2), QStringLiteral("Late arrival")));
    auto stored = m_connection.ExecuteQuery(QStringLiteral("SELECT NoAdults, Notes FROM Booking"));
    EXPECT_EQ(stored->value(0).toInt(), 3);
    EXPECT_EQ(stored->value(1).toString(), QStringLiteral("Late arrival"));

    expectMessage(QString(), ui::vbOK);
    EXPECT_FALSE(model->setData(model->index(0, 1), QStringLiteral("1.5")));
    EXPECT_EQ(model->index(0, 1).data().toString(), QStringLiteral("3"));
    EXPECT_EQ(rs->EditMode(), db::adEditNone);
    stored = m_connection.ExecuteQuery(QStringLiteral("SELECT NoAdults FROM Booking"));
    EXPECT_EQ(stored->value(0).toInt(), 3);
}

TEST_F(BoundViewTest, TheComboOffersTheBoundValueOfTheChosenEntry)
{
    auto owners = open(QStringLiteral("Owner"));
    ui::DataCombo combo;
    combo.setRowSource(owners.get());
    combo.setListField(QStringLiteral("Name"));
    combo.setBoundColumn(QStringLiteral("ID"));
    ASSERT_EQ(combo.count(), 3);
    EXPECT_EQ(combo.itemText(1), QStringLiteral("Murphy"));
    EXPECT_FALSE(combo.boundValue().isValid()) << "nothing is chosen at first";
    EXPECT_EQ(combo.BoundText(), QString());

    combo.setBoundValue(2);
    EXPECT_EQ(combo.Text(), QStringLiteral("Murphy"));
    EXPECT_EQ(combo.BoundText(), QStringLiteral("2"));
    owners->MoveLast();
    EXPECT_EQ(combo.BoundText(), QStringLiteral("2")) << "the row source moving does not change the choice";

    // Read again with a new first row, the same owner stays chosen.
    m_connection.Execute(QStringLiteral("UPDATE Owner SET Name = 'Aaron' WHERE ID = 3"));
    owners->setSort(QStringLiteral("Name"));
    EXPECT_EQ(combo.Text(), QStringLiteral("Murphy"));
    EXPECT_EQ(combo.boundValue().toInt(), 2);

    m_connection.Execute(QStringLiteral("DELETE FROM Owner WHERE ID = 2"));
    owners->Requery();
    EXPECT_FALSE(combo.boundValue().isValid()) << "a choice no longer listed goes";

    combo.setBoundText(QStringLiteral("99"));
    EXPECT_EQ(combo.currentIndex(), -1);
    combo.setText(QStringLiteral("jones"));
    EXPECT_EQ(combo.BoundText(), QStringLiteral("1"));

    combo.setEditable(true);
    combo.setEditText(QStringLiteral("Somebody new"));
    EXPECT_FALSE(combo.boundValue().isValid()) << "a typed text that names no entry chooses none";
    combo.setText(QString());
    EXPECT_EQ(combo.currentIndex(), -1);
}

TEST_F(BoundViewTest, TheListReportsTheUsersChoicesOnly)
{
    auto owners = open(QStringLiteral("SELECT Owner.* FROM Owner"));
    ui::DataList list;
    list.setRowSource(owners.get());
    list.setListField(QStringLiteral("Name"));
    list.setBoundColumn(QStringLiteral("ID"));
    list.show();
    QSignalSpy clicks(&list, &ui::DataList::Click);

    list.setBoundValue(1);
    EXPECT_EQ(list.Text(), QStringLiteral("Jones"));
    EXPECT_EQ(clicks.count(), 0);

    list.setFocus();
    QTest::keyClick(&list, Qt::Key_Down);
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_EQ(list.BoundText(), QStringLiteral("2"));

    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.visualRect(list.model()->index(2, 0)).center());
    EXPECT_EQ(clicks.count(), 2);
    EXPECT_EQ(list.Text(), QStringLiteral("Walsh"));

    // The row source losing the chosen row moves the choice, but no user chose.
    owners->MoveLast();
    owners->Delete();
    EXPECT_EQ(list.model()->rowCount(), 2);
    EXPECT_EQ(clicks.count(), 2);
}

// A press on an entry chooses it, wherever the button comes up again: the list
// reports that choice, so whatever acts on the list's rows acts on the entry shown.
TEST_F(BoundViewTest, AnEntryPressedAndReleasedElsewhereIsReportedAsChosen)
{
    auto owners = open(QStringLiteral("SELECT Owner.* FROM Owner"));
    QWidget window;
    ui::DataList list(&window);
    list.setRowSource(owners.get());
    list.setListField(QStringLiteral("Name"));
    list.setBoundColumn(QStringLiteral("ID"));
    list.setGeometry(0, 0, 200, 150);
    window.resize(400, 300);
    window.show();
    list.setBoundValue(1);
    QSignalSpy clicks(&list, &ui::DataList::Click);

    const QPoint entry = list.visualRect(list.model()->index(2, 0)).center();
    const QPoint outside(300, 250);
    QTest::mousePress(list.viewport(), Qt::LeftButton, {}, entry);
    QMouseEvent drag(QEvent::MouseMove, QPointF(outside), list.viewport()->mapToGlobal(QPointF(outside)),
                     Qt::NoButton, Qt::LeftButton, {});
    QApplication::sendEvent(list.viewport(), &drag);
    QTest::mouseRelease(list.viewport(), Qt::LeftButton, {}, outside);
    EXPECT_EQ(list.Text(), QStringLiteral("Walsh"));
    EXPECT_EQ(clicks.count(), 1);

    // A click on the entry already chosen is reported once, as before.
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, entry);
    EXPECT_EQ(clicks.count(), 2);
}

} // namespace
} // namespace quorl
