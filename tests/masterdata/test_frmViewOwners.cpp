#include <QLineEdit>

#include "masterdata/frmAddOwner.h"
#include "masterdata/frmViewOwners.h"
#include "platform/ui/DataGrid.h"
#include "platform/ui/MsgBox.h"
#include "tests/masterdata/MasterDataTest.h"

namespace quorl {
namespace {

using OwnerListTest = MasterDataTest;

ui::DataGrid *grid(frmViewOwners &list)
{
    return child<ui::DataGrid>(&list, "grdOwners");
}

TEST_F(OwnerListTest, OwnersAddedInOneVisitAllShowAfterTheDialogCloses)
{
    frmViewOwners list;
    list.Display();
    EXPECT_EQ(grid(list)->model()->rowCount(), 0);
    list.cmdEditOwner_Click(); // empty table: nothing opens
    list.cmdDeleteOwner_Click();

    onModal<frmAddOwner>([](frmAddOwner &d) {
        for (const char *name : {"Jones", "Murphy", "O'Hara"}) {
            child<QLineEdit>(&d, "txtName")->setText(QString::fromLatin1(name));
            d.cmdOK_Click();
        }
        d.cmdCancel_Click();
    });
    list.cmdAddOwner_Click();
    ASSERT_EQ(grid(list)->model()->rowCount(), 3);
    EXPECT_EQ(grid(list)->model()->index(2, 1).data().toString(), QStringLiteral("O'Hara"));
    EXPECT_TRUE(grid(list)->isColumnHidden(0));
    EXPECT_EQ(grid(list)->model()->headerData(8, Qt::Horizontal).toString(), QStringLiteral("Email Address"));
    EXPECT_TRUE(messages().isEmpty());
}

TEST_F(OwnerListTest, DeletingAnOwnerWithBerthsTakesTheBerthsOnlyOnYes)
{
    exec(QStringLiteral("INSERT INTO Owner (Name, HouseName) VALUES ('Jones', 'Mill House'), ('Murphy', NULL)"));
    exec(QStringLiteral("INSERT INTO Berth (Name, OwnerID) VALUES ('A1', 1), ('A2', 1), ('B1', 2)"));
    frmViewOwners list;
    list.Display();

    const QString question = QStringLiteral("Deleting this owner will also remove all owners berth.");
    expectMessage(question, ui::vbNo);
    list.cmdDeleteOwner_Click();
    EXPECT_EQ(count(QStringLiteral("Berth")), 3);
    EXPECT_EQ(count(QStringLiteral("Owner")), 2);
    EXPECT_EQ(eventLog(), QString());

    expectMessage(question, ui::vbYes);
    list.cmdDeleteOwner_Click();
    EXPECT_EQ(scalar(QStringLiteral("SELECT Name FROM Berth")).toString(), QStringLiteral("B1"));
    EXPECT_EQ(count(QStringLiteral("Owner")), 1);
    EXPECT_EQ(eventLog(), entry(QStringLiteral("Owner deleted"), QStringLiteral("Name: Jones, HouseName: Mill House")));
    EXPECT_EQ(grid(list)->model()->index(grid(list)->Row(), 1).data().toString(), QStringLiteral("Murphy"));
}

TEST_F(OwnerListTest, EditReReadsTheList)
{
    exec(QStringLiteral("INSERT INTO Owner (Name) VALUES ('Jones'), ('Murphy')"));
    frmViewOwners list;
    list.Display();
    list.listRecordset()->MoveLast();
    onModal<frmAddOwner>([](frmAddOwner &d) {
        EXPECT_EQ(child<QLineEdit>(&d, "txtName")->text(), QStringLiteral("Murphy"));
        child<QLineEdit>(&d, "txtName")->setText(QStringLiteral("Murphy & Sons"));
        d.cmdOK_Click();
    });
    list.cmdEditOwner_Click();
    EXPECT_EQ(grid(list)->model()->index(1, 1).data().toString(), QStringLiteral("Murphy & Sons"));
    EXPECT_EQ(grid(list)->Row(), 0);
    EXPECT_EQ(eventLog(), entry(QStringLiteral("Owner modified"), QStringLiteral("Name: 'Murphy & Sons' HouseName: ''")));
}

TEST_F(OwnerListTest, DoubleClickOnAnOwnerOpensNothing)
{
    exec(QStringLiteral("INSERT INTO Owner (Name) VALUES ('Jones'), ('Murphy')"));
    frmViewOwners list;
    list.Display();
    list.listRecordset()->MoveLast();
    EXPECT_FALSE(doubleClickOpensAWindow(grid(list)));
    for (QWidget *window : QApplication::topLevelWidgets())
        EXPECT_FALSE(qobject_cast<frmAddOwner *>(window) && window->isVisible()) << "opened without a modal loop";
    EXPECT_TRUE(messages().isEmpty());
    EXPECT_EQ(eventLog(), QString());
}

} // namespace
} // namespace quorl
