#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include "masterdata/frmAddCustomer.h"
#include "masterdata/frmFindCustomer.h"
#include "platform/ui/DataGrid.h"
#include "platform/ui/MsgBox.h"
#include "platform/ui/Twips.h"
#include "tests/masterdata/MasterDataTest.h"

namespace quorl {
namespace {

class CustomerSearchWindowTest : public MasterDataTest
{
protected:
    void SetUp() override
    {
        MasterDataTest::SetUp();
        exec(QStringLiteral("INSERT INTO Customer (Name, HouseName, Town, ClubMember) VALUES "
                            "('Smith', 'Rose Cottage', 'Brighton', -1), ('Smythe', NULL, 'Bristol', 0), "
                            "('O''Brien', NULL, 'Cork', 0), ('Sam Brown', NULL, 'Bristol', -1)"));
    }

    static void type(frmFindCustomer &w, const char *box, const QString &text)
    {
        child<QLineEdit>(&w, box)->setText(text);
    }
    static QString matches(frmFindCustomer &w) { return child<QLabel>(&w, "lblTotalMatches")->text(); }
    static ui::DataGrid *grid(frmFindCustomer &w) { return child<ui::DataGrid>(&w, "grdCustomer"); }
};

TEST_F(CustomerSearchWindowTest, StaysSmallUntilASearchAppliesAFilter)
{
    frmFindCustomer window;
    window.show();
    EXPECT_TRUE(window.isFirstSearch());
    EXPECT_FALSE(grid(window)->isVisible());
    const QSize small = window.size();

    window.cmdStart_Click(); // every box empty, the check box greyed
    EXPECT_TRUE(window.isFirstSearch());
    EXPECT_EQ(window.size(), small);
    EXPECT_EQ(matches(window), QStringLiteral("0"));

    type(window, "txtName", QStringLiteral("sm"));
    window.cmdStart_Click();
    EXPECT_FALSE(window.isFirstSearch());
    EXPECT_TRUE(grid(window)->isVisible());
    EXPECT_EQ(matches(window), QStringLiteral("2"));
    EXPECT_GE(window.height(), ui::twipsToPixels(7500));
    EXPECT_GE(window.minimumHeight(), ui::twipsToPixels(7500));
    EXPECT_GE(window.minimumWidth(), ui::twipsToPixels(9000));

    // Emptied boxes clear the filter; the count keeps the last search's number.
    type(window, "txtName", QString());
    window.cmdStart_Click();
    EXPECT_EQ(grid(window)->model()->rowCount(), 4);
    EXPECT_EQ(matches(window), QStringLiteral("2"));
}

TEST_F(CustomerSearchWindowTest, SearchesByTypedTextsAndTheClubMemberBox)
{
    frmFindCustomer window;
    type(window, "txtName", QStringLiteral("O'B"));
    window.cmdStart_Click();
    EXPECT_EQ(matches(window), QStringLiteral("1"));
    EXPECT_TRUE(messages().isEmpty());

    type(window, "txtName", QStringLiteral("Sm"));
    type(window, "txtTown", QStringLiteral("Bri"));
    window.cmdStart_Click();
    EXPECT_EQ(matches(window), QStringLiteral("2"));

    QCheckBox *club = child<QCheckBox>(&window, "chkClubMember");
    EXPECT_EQ(club->checkState(), Qt::PartiallyChecked);
    club->click();
    EXPECT_EQ(club->checkState(), Qt::Checked);
    window.cmdStart_Click();
    EXPECT_EQ(matches(window), QStringLiteral("1"));

    club->click();
    EXPECT_EQ(club->checkState(), Qt::Unchecked);
    club->click();
    club->click();
    EXPECT_EQ(club->checkState(), Qt::Unchecked) << "the user's clicks never grey the box again";
    type(window, "txtName", QString());
    type(window, "txtTown", QString());
    window.cmdStart_Click();
    EXPECT_EQ(matches(window), QStringLiteral("2")) << "unticked alone finds the non-members";

    type(window, "txtName", QStringLiteral("Zz"));
    window.cmdStart_Click();
    EXPECT_EQ(matches(window), QStringLiteral("0"));
    EXPECT_EQ(grid(window)->model()->rowCount(), 0);
    window.cmdEditCustomer_Click(); // no row: nothing opens
    window.cmdDeleteCustomer_Click();
}

TEST_F(CustomerSearchWindowTest, DeleteFromTheResultsWritesTheDeletedEventAndKeepsTheCount)
{
    exec(QStringLiteral("INSERT INTO Booking (CustomerID) VALUES (2), (1)"));
    frmFindCustomer window;
    type(window, "txtName", QStringLiteral("Sm"));
    window.cmdStart_Click();
    window.resultRecordset()->MoveNext(); // Smythe, one booking

    expectMessage(QStringLiteral("Deleting this customer will also remove all past reservations."), ui::vbYes);
    window.cmdDeleteCustomer_Click();
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM Customer WHERE Name = 'Smythe'")).toInt(), 0);
    EXPECT_EQ(scalar(QStringLiteral("SELECT CustomerID FROM Booking")).toInt(), 1);
    EXPECT_EQ(grid(window)->model()->rowCount(), 1);
    EXPECT_EQ(matches(window), QStringLiteral("2"));
    EXPECT_EQ(eventLog(), entry(QStringLiteral("Customer deleted"), QStringLiteral("Name: Smythe, HouseName: ")));

    // A declined delete leaves the customer and the log alone.
    expectMessage(QStringLiteral("Deleting this customer will also remove all past reservations."), ui::vbNo);
    window.cmdDeleteCustomer_Click();
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM Customer")).toInt(), 3);
    EXPECT_EQ(eventLog().count(QStringLiteral("Customer deleted")), 1);
}

TEST_F(CustomerSearchWindowTest, AddAndEditWriteTheTableButNotTheResults)
{
    frmFindCustomer window;
    type(window, "txtName", QStringLiteral("Sm"));
    window.cmdStart_Click();

    onModal<frmAddCustomer>([](frmAddCustomer &d) {
        child<QLineEdit>(&d, "txtName")->setText(QStringLiteral("Smart"));
        d.cmdOK_Click();
    });
    window.cmdAddCustomer_Click();
    EXPECT_EQ(count(QStringLiteral("Customer")), 5);
    EXPECT_EQ(grid(window)->model()->rowCount(), 2);

    onModal<frmAddCustomer>([](frmAddCustomer &d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Edit Customer"));
        EXPECT_EQ(child<QLineEdit>(&d, "txtName")->text(), QStringLiteral("Smith"));
        child<QLineEdit>(&d, "txtName")->setText(QStringLiteral("Smith-Jones"));
        d.cmdOK_Click();
    });
    window.cmdEditCustomer_Click();
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM Customer WHERE Name = 'Smith-Jones'")).toInt(), 1);
    EXPECT_EQ(grid(window)->model()->index(0, 1).data().toString(), QStringLiteral("Smith"));
    EXPECT_EQ(eventLog(), entry(QStringLiteral("Customer added"), QStringLiteral("Name: 'Smart' HouseName: ''"))
                              + entry(QStringLiteral("Customer modified"),
                                      QStringLiteral("Name: 'Smith-Jones' HouseName: 'Rose Cottage'")));
}

TEST_F(CustomerSearchWindowTest, EnterWalksTheBoxesTheButtonsAndTheGrid)
{
    frmFindCustomer window;
    window.show();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    const auto enterFrom = [&](const char *name) {
        QWidget *from = window.findChild<QWidget *>(QString::fromLatin1(name));
        from->setFocus();
        QTest::keyClick(from, Qt::Key_Return);
        return QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString();
    };
    EXPECT_EQ(enterFrom("txtMembershipNo"), QStringLiteral("chkClubMember"));
    EXPECT_EQ(enterFrom("chkClubMember"), QStringLiteral("cmdStart"));
    EXPECT_TRUE(window.isFirstSearch()) << "Enter on the search button moves on; it does not search";

    type(window, "txtName", QStringLiteral("Sm"));
    window.cmdStart_Click();
    EXPECT_EQ(enterFrom("cmdColse"), QStringLiteral("cmdAddCustomer"));
    EXPECT_EQ(enterFrom("cmdDeleteCustomer"), QStringLiteral("grdCustomer"));
    EXPECT_EQ(enterFrom("grdCustomer"), QStringLiteral("txtName"));

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    EXPECT_FALSE(window.isVisible());
}

} // namespace
} // namespace quorl
