#include <QHeaderView>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>

#include "masterdata/frmAddCustomer.h"
#include "masterdata/frmViewCustomers.h"
#include "platform/ui/DataGrid.h"
#include "platform/ui/MdiChildren.h"
#include "platform/ui/MsgBox.h"
#include "tests/masterdata/MasterDataTest.h"

namespace quorl {
namespace {

const QString kShortQuestion = QStringLiteral("Are you sure to delete this item?");
const QString kLongQuestion = QStringLiteral("Deleting this customer will also remove all past reservations.");

class CustomerListTest : public MasterDataTest
{
protected:
    void addCustomers()
    {
        exec(QStringLiteral("INSERT INTO Customer (Name, HouseName, ClubMember) VALUES "
                            "('Smith', 'Rose Cottage', -1), ('Jones', NULL, 0), ('O''Hara', 'Quay', 0)"));
    }

    static QString gridText(ui::DataGrid *grid, int row, int column)
    {
        return grid->model()->index(row, column).data().toString();
    }

    static ui::DataGrid *grid(frmViewCustomers &list) { return child<ui::DataGrid>(&list, "grdCustomer"); }
};

TEST_F(CustomerListTest, ShowsTheCustomersInTheListColumns)
{
    addCustomers();
    frmViewCustomers list;
    list.Display();
    ui::DataGrid *g = grid(list);
    const QStringList captions{"ID", "Name", "House Name", "Street", "Area", "Town", "Post Code", "Tel No",
                               "Mobile No", "Email", "Notes", "Club Member", "Membership No"};
    ASSERT_EQ(g->model()->columnCount(), captions.size());
    for (int c = 0; c < captions.size(); ++c)
        EXPECT_EQ(g->model()->headerData(c, Qt::Horizontal).toString(), captions[c]);
    EXPECT_TRUE(g->isColumnHidden(0));
    EXPECT_EQ(g->model()->rowCount(), 3);
    EXPECT_EQ(gridText(g, 0, 11), QStringLiteral("Yes"));
    EXPECT_EQ(gridText(g, 1, 11), QStringLiteral("No"));
    EXPECT_EQ(gridText(g, 1, 2), QString());
    EXPECT_EQ(g->Row(), 0);
}

TEST_F(CustomerListTest, OnAnEmptyTableEditAndDeleteDoNothing)
{
    frmViewCustomers list;
    list.Display();
    list.cmdEditCustomer_Click(); // a modal dialog here would never close: the test would hang
    list.cmdDeleteCustomer_Click();
    EXPECT_TRUE(messages().isEmpty());
    EXPECT_EQ(eventLog(), QString());
}

TEST_F(CustomerListTest, AddAndEditReReadTheListAndSelectTheFirstRow)
{
    addCustomers();
    frmViewCustomers list;
    list.Display();
    list.listRecordset()->MoveLast();
    onModal<frmAddCustomer>([](frmAddCustomer &d) {
        child<QLineEdit>(&d, "txtName")->setText(QStringLiteral("Brown"));
        d.cmdOK_Click();
    });
    list.cmdAddCustomer_Click();
    EXPECT_EQ(grid(list)->model()->rowCount(), 4);
    EXPECT_EQ(gridText(grid(list), 3, 1), QStringLiteral("Brown"));
    EXPECT_EQ(grid(list)->Row(), 0);

    // Edit opens the row the list stands on; a double click on it opens nothing.
    list.listRecordset()->Find(QStringLiteral("Name = 'O''Hara'"));
    EXPECT_FALSE(doubleClickOpensAWindow(grid(list)));
    onModal<frmAddCustomer>([](frmAddCustomer &d) {
        EXPECT_EQ(child<QLineEdit>(&d, "txtName")->text(), QStringLiteral("O'Hara"));
        child<QLineEdit>(&d, "txtName")->setText(QStringLiteral("O'Hara-Brown"));
        d.cmdOK_Click();
    });
    list.cmdEditCustomer_Click();
    EXPECT_EQ(gridText(grid(list), 2, 1), QStringLiteral("O'Hara-Brown"));
    EXPECT_EQ(grid(list)->Row(), 0);

    // A cancelled edit still reads the list again.
    list.listRecordset()->MoveLast();
    onModal<frmAddCustomer>([](frmAddCustomer &d) { d.cmdCancel_Click(); });
    list.cmdEditCustomer_Click();
    EXPECT_EQ(grid(list)->Row(), 0);
}

TEST_F(CustomerListTest, DeleteWithoutBookingsAsksTheShortQuestionAndLogsTheRow)
{
    addCustomers();
    frmViewCustomers list;
    list.Display();
    list.listRecordset()->MoveNext(); // Jones, no house name

    expectMessage(kShortQuestion, ui::vbNo);
    list.cmdDeleteCustomer_Click();
    EXPECT_EQ(count(QStringLiteral("Customer")), 3);
    EXPECT_EQ(eventLog(), QString());

    expectMessage(kShortQuestion, ui::vbYes);
    list.cmdDeleteCustomer_Click();
    EXPECT_EQ(messages().last().title, QStringLiteral("Confirm deletion"));
    EXPECT_EQ(count(QStringLiteral("Customer")), 2);
    EXPECT_EQ(grid(list)->model()->rowCount(), 2);
    EXPECT_EQ(gridText(grid(list), grid(list)->Row(), 1), QStringLiteral("O'Hara")) << "the next row is selected";
    EXPECT_EQ(eventLog(), entry(QStringLiteral("Customer deleted"), QStringLiteral("Name: Jones, HouseName: ")));

    // The last row gone, the one before it is selected.
    expectMessage(kShortQuestion, ui::vbYes);
    list.cmdDeleteCustomer_Click();
    EXPECT_EQ(gridText(grid(list), grid(list)->Row(), 1), QStringLiteral("Smith"));
}

TEST_F(CustomerListTest, DeleteWithBookingsAsksTheLongQuestionAndTakesTheBookings)
{
    addCustomers();
    exec(QStringLiteral("INSERT INTO Booking (CustomerID, NoAdults) VALUES (1, 2), (1, 1), (2, 1)"));
    frmViewCustomers list;
    list.Display();

    expectMessage(kLongQuestion, ui::vbNo);
    list.cmdDeleteCustomer_Click();
    EXPECT_EQ(count(QStringLiteral("Booking")), 3);
    EXPECT_EQ(eventLog(), QString());

    expectMessage(kLongQuestion, ui::vbYes);
    list.cmdDeleteCustomer_Click();
    EXPECT_EQ(count(QStringLiteral("Booking")), 1);
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM Customer WHERE ID = 1")).toInt(), 0);
    EXPECT_EQ(eventLog(), entry(QStringLiteral("Customer deleted"), QStringLiteral("Name: Smith, HouseName: Rose Cottage")));
}

TEST_F(CustomerListTest, ACustomerDeletedElsewhereIsReportedAndLeavesTheList)
{
    addCustomers();
    frmViewCustomers list;
    list.Display();
    exec(QStringLiteral("DELETE FROM Customer WHERE Name = 'Smith'"));

    expectMessage(QStringLiteral("no longer exists"), ui::vbOK);
    list.cmdDeleteCustomer_Click();
    EXPECT_EQ(eventLog(), QString());
    EXPECT_EQ(grid(list)->model()->rowCount(), 2);

    exec(QStringLiteral("DELETE FROM Customer WHERE Name = 'Jones'"));
    expectMessage(QStringLiteral("no longer exists"), ui::vbOK);
    list.cmdEditCustomer_Click();
    EXPECT_EQ(grid(list)->model()->rowCount(), 1);
}

TEST_F(CustomerListTest, IsMaximisedOnEveryActivation)
{
    QMdiArea area;
    area.resize(900, 700);
    area.show();
    auto *list = ui::sharedMdiChild<frmViewCustomers>(&area);
    list->Display();
    auto *subWindow = qobject_cast<QMdiSubWindow *>(list->parentWidget());
    ASSERT_TRUE(subWindow);
    EXPECT_TRUE(subWindow->isMaximized());

    QMdiSubWindow *other = area.addSubWindow(new QWidget);
    other->showNormal();
    area.setActiveSubWindow(other);
    subWindow->showNormal();
    area.setActiveSubWindow(subWindow);
    EXPECT_TRUE(subWindow->isMaximized());
}

} // namespace
} // namespace quorl
