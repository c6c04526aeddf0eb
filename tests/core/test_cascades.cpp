#include <QStringList>

#include "core/modDatabase.h"
#include "core/modFunctions.h"
#include "platform/db/Error.h"
#include "platform/ui/MsgBox.h"
#include "support/QuorlTest.h"

namespace quorl {
namespace {

const QString kShortQuestion = QStringLiteral("Are you sure to delete this item?");
const QString kCustomerQuestion = QStringLiteral(
    "Deleting this customer will also remove all past reservations. This would affect historic reports. Are you sure "
    "you want to delete this customer?");
const QString kOwnerQuestion = QStringLiteral(
    "Deleting this owner will also remove all owners berth. This would affect historic reports. Are you sure you want "
    "to delete this owner?");

// Customers Ann (bookings 1 and 2), Bob (none) and O'Neil (booking 3); owners Olga
// (berths A1 and A2) and Per (none); berth B1 without owner, C1 never booked.
// Booking 1 holds A1, booking 2 holds A1 and B1, booking 3 holds A2.
class CascadeTest : public QuorlTest {
protected:
    void SetUp() override
    {
        QuorlTest::SetUp();
        DbConnection = OpenConnection(databasePath(), QString(), 500);
        ASSERT_TRUE(DbConnection);
        const QStringList seed{
            QStringLiteral("INSERT INTO Customer (ID, Name) VALUES (1, 'Ann'), (2, 'Bob'), (3, 'O''Neil')"),
            QStringLiteral("INSERT INTO Owner (ID, Name) VALUES (1, 'Olga'), (2, 'Per')"),
            QStringLiteral("INSERT INTO Berth (ID, Name, OwnerID) VALUES (1, 'A1', 1), (2, 'A2', 1), (3, 'B1', NULL), "
                           "(4, 'C1', 2)"),
            QStringLiteral("INSERT INTO Booking (ID, CustomerID, FromDate, ToDate) VALUES "
                           "(1, 1, '2026-12-01 09:00:00', '2026-12-02 14:00:00'), "
                           "(2, 1, '2026-12-05 09:00:00', '2026-12-07 14:00:00'), "
                           "(3, 3, '2026-12-08 09:00:00', '2026-12-09 14:00:00')"),
            QStringLiteral("INSERT INTO BookingBerth (BookingID, BerthID) VALUES (1, 1), (2, 1), (2, 3), (3, 2)"),
        };
        for (const QString &sql : seed)
            DbConnection->Execute(sql);
    }

    void TearDown() override
    {
        DbConnection.reset();
        QuorlTest::TearDown();
    }

    // The first column of every row, as text joined by commas, so a failure shows the rows.
    static QString rows(const QString &sql)
    {
        auto rs = DbConnection->ExecuteQuery(sql);
        QStringList values;
        for (; !rs->isEOF(); rs->MoveNext())
            values << rs->value(0).toString();
        return values.join(QLatin1Char(','));
    }

    static QString customers() { return rows(QStringLiteral("SELECT ID FROM Customer ORDER BY ID")); }
    static QString owners() { return rows(QStringLiteral("SELECT ID FROM Owner ORDER BY ID")); }
    static QString berths() { return rows(QStringLiteral("SELECT ID FROM Berth ORDER BY ID")); }
    static QString bookings() { return rows(QStringLiteral("SELECT ID FROM Booking ORDER BY ID")); }
    static QString bookingBerths()
    {
        return rows(QStringLiteral("SELECT BookingID || '-' || BerthID FROM BookingBerth ORDER BY BookingID, BerthID"));
    }

    static std::unique_ptr<db::Recordset> list(const QString &table, const QString &where = QString())
    {
        auto rs = OpenRecordset(QStringLiteral("SELECT * FROM ") + table + where + QStringLiteral(" ORDER BY ID"),
                                nullptr, false);
        EXPECT_TRUE(rs->isOpen()) << rs->lastError().toStdString();
        return rs;
    }

    static void standOn(db::Recordset &rs, qint64 id)
    {
        rs.MoveFirst();
        while (!rs.isEOF() && rs.value(QStringLiteral("ID")).toLongLong() != id)
            rs.MoveNext();
        ASSERT_FALSE(rs.isEOF()) << "no row " << id;
    }

    static qint64 currentId(const db::Recordset &rs)
    {
        return rs.isEOF() || rs.isBOF() ? -1 : rs.value(QStringLiteral("ID")).toLongLong();
    }

    void expectConfirmation(const QString &question, int answer)
    {
        expectMessage(question, answer);
        m_expectedQuestion = question;
    }

    void checkQuestion(const QString &title = QStringLiteral("Confirm deletion")) const
    {
        ASSERT_FALSE(messages().isEmpty());
        EXPECT_EQ(messages().last().prompt, m_expectedQuestion);
        EXPECT_EQ(messages().last().title, title);
        EXPECT_EQ(messages().last().buttons, int(ui::vbYesNo)) << "Yes and No, no icon";
    }

    // A connection-local trigger that makes every deletion from the table fail.
    static void blockDeletesFrom(const QString &table)
    {
        DbConnection->Execute(QStringLiteral("CREATE TEMP TRIGGER Block") + table + QStringLiteral(" BEFORE DELETE ON ")
                              + table + QStringLiteral(" BEGIN SELECT RAISE(ABORT, 'rows of ") + table
                              + QStringLiteral(" are locked'); END"));
    }

    QString m_expectedQuestion;
};

TEST_F(CascadeTest, CustomerWithoutBookingsGetsTheShortQuestionAndGoesAlone)
{
    auto rs = list(QStringLiteral("Customer"));
    standOn(*rs, 2);
    expectConfirmation(kShortQuestion, ui::vbYes);

    EXPECT_TRUE(DeleteCustomer(2, *rs));
    checkQuestion();
    EXPECT_EQ(customers(), QStringLiteral("1,3"));
    EXPECT_EQ(bookings(), QStringLiteral("1,2,3"));
    EXPECT_EQ(currentId(*rs), 3) << "the list moves to the next row";
}

TEST_F(CascadeTest, CustomerWithBookingsGoesWithThemAndTheirBerthLines)
{
    auto rs = list(QStringLiteral("Customer"));
    expectConfirmation(kCustomerQuestion, ui::vbYes);

    EXPECT_TRUE(DeleteCustomer(1, *rs));
    checkQuestion();
    EXPECT_EQ(customers(), QStringLiteral("2,3"));
    EXPECT_EQ(bookings(), QStringLiteral("3"));
    EXPECT_EQ(bookingBerths(), QStringLiteral("3-2")) << "no berth stays booked by a booking that is gone";
    EXPECT_EQ(currentId(*rs), 2);
    EXPECT_EQ(rs->RecordCount(), 2);
}

TEST_F(CascadeTest, AnsweringNoDeletesNothing)
{
    auto customersList = list(QStringLiteral("Customer"));
    expectMessage(kCustomerQuestion, ui::vbNo);
    EXPECT_FALSE(DeleteCustomer(1, *customersList));
    EXPECT_EQ(currentId(*customersList), 1);

    auto ownersList = list(QStringLiteral("Owner"));
    expectMessage(kOwnerQuestion, ui::vbNo);
    EXPECT_FALSE(DeleteOwner(1, *ownersList));

    auto berthsList = list(QStringLiteral("Berth"));
    expectMessage(QStringLiteral("reservations made with it"), ui::vbNo);
    EXPECT_FALSE(DeleteBerth(1, *berthsList));
    expectMessage(kShortQuestion, ui::vbNo);
    EXPECT_FALSE(DeleteBerth(4, *berthsList));

    expectMessage(QStringLiteral("Do you want to delete existing reservation?"), ui::vbNo);
    EXPECT_FALSE(ConfirmCancelBooking(1));

    EXPECT_EQ(customers(), QStringLiteral("1,2,3"));
    EXPECT_EQ(owners(), QStringLiteral("1,2"));
    EXPECT_EQ(berths(), QStringLiteral("1,2,3,4"));
    EXPECT_EQ(bookings(), QStringLiteral("1,2,3"));
    EXPECT_EQ(bookingBerths(), QStringLiteral("1-1,2-1,2-3,3-2"));
}

TEST_F(CascadeTest, DeletingTheLastRowLeavesTheListOnTheNewLastRow)
{
    auto rs = list(QStringLiteral("Customer"));
    rs->MoveLast();
    expectMessage(kCustomerQuestion, ui::vbYes);
    EXPECT_TRUE(DeleteCustomer(3, *rs));
    EXPECT_FALSE(rs->isEOF());
    EXPECT_EQ(currentId(*rs), 2);
    EXPECT_EQ(bookings(), QStringLiteral("1,2"));
}

TEST_F(CascadeTest, DeletingTheOnlyRowLeavesTheListEmpty)
{
    auto rs = list(QStringLiteral("Customer"), QStringLiteral(" WHERE ID = 2"));
    expectMessage(kShortQuestion, ui::vbYes);
    EXPECT_TRUE(DeleteCustomer(2, *rs));
    EXPECT_EQ(rs->RecordCount(), 0);
    EXPECT_TRUE(rs->isEOF());
}

TEST_F(CascadeTest, ListWithoutACurrentRowAsksNothing)
{
    auto empty = list(QStringLiteral("Customer"), QStringLiteral(" WHERE ID = 99"));
    EXPECT_FALSE(DeleteCustomer(1, *empty));
    auto ownersList = list(QStringLiteral("Owner"));
    ownersList->MoveLast();
    ownersList->MoveNext();
    EXPECT_FALSE(DeleteOwner(2, *ownersList));
    EXPECT_TRUE(messages().isEmpty());
    EXPECT_EQ(customers(), QStringLiteral("1,2,3"));
}

TEST_F(CascadeTest, OwnerGoesWithTheBerthsButTheirBookingsStay)
{
    auto rs = list(QStringLiteral("Owner"));
    expectConfirmation(kOwnerQuestion, ui::vbYes);
    EXPECT_TRUE(DeleteOwner(1, *rs));
    checkQuestion();
    EXPECT_EQ(owners(), QStringLiteral("2"));
    EXPECT_EQ(berths(), QStringLiteral("3,4"));
    EXPECT_EQ(bookings(), QStringLiteral("1,2,3"));
    EXPECT_EQ(bookingBerths(), QStringLiteral("1-1,2-1,2-3,3-2"));
    EXPECT_EQ(currentId(*rs), 2);
}

TEST_F(CascadeTest, OwnerWithoutBerthsGetsTheShortQuestion)
{
    auto rs = list(QStringLiteral("Owner"));
    standOn(*rs, 2);
    // Per owns C1 in the seed; free it first so the owner has no berths.
    DbConnection->Execute(QStringLiteral("UPDATE Berth SET OwnerID = NULL WHERE ID = 4"));
    expectConfirmation(kShortQuestion, ui::vbYes);
    EXPECT_TRUE(DeleteOwner(2, *rs));
    checkQuestion();
    EXPECT_EQ(owners(), QStringLiteral("1"));
    EXPECT_EQ(berths(), QStringLiteral("1,2,3,4"));
    EXPECT_EQ(currentId(*rs), 1);
}

TEST_F(CascadeTest, BerthTakesTheBookingsThatHeldOnlyIt)
{
    auto rs = list(QStringLiteral("Berth"));
    rs->MoveLast();
    expectConfirmation(QStringLiteral("reservations made with it"), ui::vbYes);
    EXPECT_TRUE(DeleteBerth(1, *rs));
    EXPECT_EQ(messages().last().title, QStringLiteral("Confirm deletion"));
    EXPECT_EQ(messages().last().buttons, int(ui::vbYesNo));
    EXPECT_TRUE(messages().last().prompt.contains(QStringLiteral("berth")));
    EXPECT_EQ(berths(), QStringLiteral("2,3,4"));
    EXPECT_EQ(bookings(), QStringLiteral("2,3")) << "booking 2 still holds B1";
    EXPECT_EQ(bookingBerths(), QStringLiteral("2-3,3-2"));
    EXPECT_EQ(currentId(*rs), 2) << "found by ID, then the row after it";
}

TEST_F(CascadeTest, UnbookedBerthGetsTheShortQuestion)
{
    auto rs = list(QStringLiteral("Berth"));
    expectConfirmation(kShortQuestion, ui::vbYes);
    EXPECT_TRUE(DeleteBerth(4, *rs));
    checkQuestion();
    EXPECT_EQ(berths(), QStringLiteral("1,2,3"));
    EXPECT_EQ(bookings(), QStringLiteral("1,2,3"));
    EXPECT_EQ(currentId(*rs), 3) << "the last row went, so the list stands on the new last row";
}

TEST_F(CascadeTest, BerthNotInTheListFailsAndDeletesNothing)
{
    auto rs = list(QStringLiteral("Berth"), QStringLiteral(" WHERE ID <> 1"));
    expectMessage(QStringLiteral("reservations made with it"), ui::vbYes);
    EXPECT_THROW(DeleteBerth(1, *rs), db::Error);
    EXPECT_EQ(berths(), QStringLiteral("1,2,3,4"));
    EXPECT_EQ(bookingBerths(), QStringLiteral("1-1,2-1,2-3,3-2"));
}

TEST_F(CascadeTest, CancelledBookingGoesWithItsBerthLinesUnderItsOwnTitle)
{
    expectConfirmation(QStringLiteral("Do you want to delete existing reservation?"), ui::vbYes);
    EXPECT_TRUE(ConfirmCancelBooking(2));
    checkQuestion(QStringLiteral("Cancel booking"));
    EXPECT_EQ(bookings(), QStringLiteral("1,3"));
    EXPECT_EQ(bookingBerths(), QStringLiteral("1-1,3-2"));
}

TEST_F(CascadeTest, BookingDeletesThatFailHalfwayKeepTheBerthLines)
{
    // The lines go first; the booking's own delete then fails.
    blockDeletesFrom(QStringLiteral("Booking"));
    expectMessage(QStringLiteral("Do you want to delete existing reservation?"), ui::vbYes);
    EXPECT_THROW(ConfirmCancelBooking(2), db::Error);
    auto rs = list(QStringLiteral("Customer"));
    expectMessage(kCustomerQuestion, ui::vbYes);
    EXPECT_THROW(DeleteCustomer(1, *rs), db::Error);

    EXPECT_EQ(customers(), QStringLiteral("1,2,3"));
    EXPECT_EQ(bookings(), QStringLiteral("1,2,3"));
    EXPECT_EQ(bookingBerths(), QStringLiteral("1-1,2-1,2-3,3-2"));
}

TEST_F(CascadeTest, FailureMidCascadeLeavesEveryRowInPlace)
{
    auto customersList = list(QStringLiteral("Customer"));
    blockDeletesFrom(QStringLiteral("Customer"));
    expectMessage(kCustomerQuestion, ui::vbYes);
    EXPECT_THROW(DeleteCustomer(1, *customersList), db::Error);
    EXPECT_EQ(customers(), QStringLiteral("1,2,3"));
    EXPECT_EQ(bookings(), QStringLiteral("1,2,3")) << "the bookings come back with the customer";

    auto ownersList = list(QStringLiteral("Owner"));
    blockDeletesFrom(QStringLiteral("Owner"));
    expectMessage(kOwnerQuestion, ui::vbYes);
    EXPECT_THROW(DeleteOwner(1, *ownersList), db::Error);
    EXPECT_EQ(berths(), QStringLiteral("1,2,3,4"));

    auto berthsList = list(QStringLiteral("Berth"));
    blockDeletesFrom(QStringLiteral("Booking"));
    expectMessage(QStringLiteral("reservations made with it"), ui::vbYes);
    EXPECT_THROW(DeleteBerth(1, *berthsList), db::Error);
    EXPECT_EQ(bookingBerths(), QStringLiteral("1-1,2-1,2-3,3-2"));
    EXPECT_EQ(bookings(), QStringLiteral("1,2,3"));
    EXPECT_EQ(berths(), QStringLiteral("1,2,3,4"));
}

TEST_F(CascadeTest, FailureInsideAnOpenTransactionUndoesOnlyTheCascade)
{
    DbConnection->BeginTrans();
    DbConnection->Execute(QStringLiteral("UPDATE Customer SET Name = 'Ann Smith' WHERE ID = 1"));
    auto rs = list(QStringLiteral("Berth"));
    blockDeletesFrom(QStringLiteral("Berth"));
    expectMessage(QStringLiteral("reservations made with it"), ui::vbYes);

    EXPECT_THROW(DeleteBerth(1, *rs), db::Error);
    EXPECT_TRUE(DbConnection->inTransaction()) << "the dialog's transaction stays open";
    EXPECT_EQ(bookingBerths(), QStringLiteral("1-1,2-1,2-3,3-2"));
    EXPECT_EQ(bookings(), QStringLiteral("1,2,3"));

    DbConnection->CommitTrans();
    EXPECT_EQ(rows(QStringLiteral("SELECT Name FROM Customer WHERE ID = 1")), QStringLiteral("Ann Smith"));
    EXPECT_EQ(berths(), QStringLiteral("1,2,3,4"));
}

TEST_F(CascadeTest, CascadeJoinsTheOpenTransaction)
{
    DbConnection->BeginTrans();
    auto rs = list(QStringLiteral("Berth"));
    expectMessage(QStringLiteral("reservations made with it"), ui::vbYes);
    EXPECT_TRUE(DeleteBerth(1, *rs));
    EXPECT_EQ(bookings(), QStringLiteral("2,3"));

    DbConnection->RollbackTrans();
    EXPECT_EQ(berths(), QStringLiteral("1,2,3,4"));
    EXPECT_EQ(bookings(), QStringLiteral("1,2,3"));
    EXPECT_EQ(bookingBerths(), QStringLiteral("1-1,2-1,2-3,3-2"));
}

} // namespace
} // namespace quorl
