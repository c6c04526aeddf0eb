// The client-side recordset: position, fields, typed writes, bookmarks, Filter/Sort/Find
// together with edits, and recordsets held in memory only.

#include <gtest/gtest.h>

#include <QDateTime>
#include <QSignalSpy>

#include "platform/db/Connection.h"
#include "platform/db/Error.h"
#include "platform/db/FieldValue.h"
#include "platform/db/Recordset.h"
#include "platform/db/SqlText.h"
#include "support/DbTestData.h"

using namespace quorl;
using namespace quorl::dbtest;

namespace {

class RecordsetTest : public DbTest
{
};

TEST_F(RecordsetTest, EmptyRecordsetIsAtBothEnds)
{
    auto rows = open(QStringLiteral("SELECT * FROM Customer WHERE ID = 0"));
    EXPECT_TRUE(rows->isBOF());
    EXPECT_TRUE(rows->isEOF());
    EXPECT_EQ(rows->RecordCount(), 0);
    rows->MoveFirst();
    rows->MoveLast();
    EXPECT_TRUE(rows->isEOF());
    EXPECT_THROW(rows->MoveNext(), db::Error);
    EXPECT_THROW(rows->MovePrevious(), db::Error);
    EXPECT_THROW(rows->value(QStringLiteral("Name")), db::Error);
    EXPECT_THROW(rows->Bookmark(), db::Error);
    rows->Find(QStringLiteral("ID = 1"));
    EXPECT_TRUE(rows->isEOF());
    // Its fields are there all the same, for a grid's header.
    EXPECT_EQ(rows->fieldCount(), 13);
}

TEST_F(RecordsetTest, MovesStopAtTheEnds)
{
    auto rows = open(QStringLiteral("Customer"));
    EXPECT_EQ(rows->AbsolutePosition(), 1);
    rows->Move(2);
    EXPECT_EQ(rows->value(QStringLiteral("Name")).toString(), QStringLiteral("Jones"));
    rows->MoveNext();
    rows->MoveNext();
    EXPECT_TRUE(rows->isEOF());
    EXPECT_FALSE(rows->isBOF());
    EXPECT_EQ(rows->AbsolutePosition(), db::adPosEOF);
    EXPECT_THROW(rows->MoveNext(), db::Error);
    rows->MovePrevious();
    EXPECT_EQ(rows->AbsolutePosition(), 4);
    rows->Move(-10);
    EXPECT_TRUE(rows->isBOF());
    EXPECT_EQ(rows->AbsolutePosition(), db::adPosBOF);
    rows->setAbsolutePosition(2);
    EXPECT_EQ(rows->value(QStringLiteral("Name")).toString(), QStringLiteral("O'Brien"));
    EXPECT_THROW(rows->setAbsolutePosition(5), db::Error);
}

TEST_F(RecordsetTest, FieldsAreFoundWhateverTheirLetterCase)
{
    auto rows = open(QStringLiteral("Booking"));
    EXPECT_EQ(rows->fieldIndex(QStringLiteral("costofhire")), rows->fieldIndex(QStringLiteral("CostOfHire")));
    EXPECT_EQ(rows->fieldIndex(QStringLiteral("NoSuchField")), -1);
    EXPECT_THROW(rows->value(QStringLiteral("NoSuchField")), db::Error);
    EXPECT_EQ(rows->fieldName(0), QStringLiteral("ID"));
}

TEST_F(RecordsetTest, ValuesComeInTheirFieldsTypes)
{
    connection().Execute(QStringLiteral("UPDATE Customer SET Notes = '123' WHERE ID = 2"));
    auto customers = open(QStringLiteral("Customer"));
    customers->MoveNext();
    // A memo holding digits is still text.
    EXPECT_EQ(customers->value(QStringLiteral("Notes")).typeId(), QMetaType::QString);
    EXPECT_EQ(customers->value(QStringLiteral("Notes")).toString(), QStringLiteral("123"));
    EXPECT_EQ(customers->value(QStringLiteral("ClubMember")), QVariant(false));
    EXPECT_FALSE(customers->value(QStringLiteral("MobileNo")).isNull());
    customers->MoveNext();
    EXPECT_TRUE(customers->value(QStringLiteral("EmailAddress")).isNull());

    auto bookings = open(QStringLiteral("Booking"));
    EXPECT_EQ(bookings->value(QStringLiteral("FromDate")),
              QVariant(db::wallClockDateTime(QDate(2026, 12, 8), QTime(10, 0))));
    EXPECT_EQ(bookings->fieldType(bookings->fieldIndex(QStringLiteral("VAT"))), db::FieldType::Currency);
    EXPECT_EQ(bookings->fieldType(bookings->fieldIndex(QStringLiteral("NoKids"))), db::FieldType::Long);
    EXPECT_EQ(bookings->fieldType(bookings->fieldIndex(QStringLiteral("ToDate"))), db::FieldType::Date);
}

// --- typed writes ----------------------------------------------------------------

struct TypedWrite
{
    const char *name;
    const char *field;
    QVariant value;
    const char *stored;   // as SQLite keeps it, or nullptr when the field must refuse the value
};

void PrintTo(const TypedWrite &c, std::ostream *os)
{
    *os << c.name;
}

class TypedWriteTest : public DbTest, public ::testing::WithParamInterface<TypedWrite>
{
};

TEST_P(TypedWriteTest, IsCheckedAgainstTheFieldType)
{
    const TypedWrite &w = GetParam();
    auto bookings = open(QStringLiteral("Booking"));
    const QString field = QString::fromUtf8(w.field);
    if (!w.stored) {
        EXPECT_THROW(bookings->setValue(field, w.value), db::Error);
        EXPECT_EQ(bookings->EditMode(), db::adEditNone);
        return;
    }
    bookings->setValue(field, w.value);
    bookings->Update();
    EXPECT_EQ(committedScalar(QStringLiteral("SELECT quote(%1) FROM Booking WHERE ID = 1").arg(field)).toString(),
              QString::fromUtf8(w.stored));
}

INSTANTIATE_TEST_SUITE_P(
    Fields, TypedWriteTest,
    ::testing::Values(TypedWrite{"EmptyTextInLong", "NoAdults", QVariant(QString()), nullptr},
                      TypedWrite{"FractionInLong", "NoAdults", QVariant(1.5), nullptr},
                      TypedWrite{"WordInLong", "NoAdults", QVariant(QStringLiteral("two")), nullptr},
                      TypedWrite{"DigitsInLong", "NoAdults", QVariant(QStringLiteral(" 3 ")), "3"},
                      TypedWrite{"WholeDoubleInLong", "NoAdults", QVariant(4.0), "4"},
                      TypedWrite{"NullInLong", "NoAdults", QVariant(), "NULL"},
                      TypedWrite{"EmptyTextInMoney", "VAT", QVariant(QStringLiteral("")), nullptr},
                      TypedWrite{"MoneyRoundedToFourPlaces", "VAT", QVariant(QStringLiteral("17.123456")), "17.1235"},
                      TypedWrite{"OneInYesNo", "ClubMember", QVariant(1), "-1"},
                      TypedWrite{"TrueInYesNo", "ClubMember", QVariant(true), "-1"},
                      TypedWrite{"ZeroInYesNo", "ClubMember", QVariant(0), "0"},
                      TypedWrite{"WordInYesNo", "ClubMember", QVariant(QStringLiteral("maybe")), nullptr},
                      TypedWrite{"DateTimeInDate", "ToDate", QVariant(QDateTime(QDate(2026, 3, 8), QTime(9, 5, 7))),
                                 "'2026-03-08 09:05:07'"},
                      TypedWrite{"TypedDateInDate", "ToDate", QVariant(QStringLiteral("08/12/2026 10:30")),
                                 "'2026-12-08 10:30:00'"},
                      TypedWrite{"EmptyTextInDate", "ToDate", QVariant(QStringLiteral("")), nullptr},
                      TypedWrite{"BlankDateInDate", "ToDate", QVariant(QDateTime()), "NULL"},
                      TypedWrite{"NumberInText", "BookedBy", QVariant(100.0), "'100'"},
                      TypedWrite{"EmptyTextInText", "BookedBy", QVariant(QStringLiteral("")), "''"}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(RecordsetTest, KeysAndComputedFieldsAreNeverWritten)
{
    auto list = open(QStringLiteral("SELECT B.*, B.Name & '!' AS Shout FROM Berth B"));
    EXPECT_FALSE(list->isFieldUpdatable(list->fieldIndex(QStringLiteral("ID"))));
    EXPECT_FALSE(list->isFieldUpdatable(list->fieldIndex(QStringLiteral("Shout"))));
    EXPECT_TRUE(list->isFieldUpdatable(list->fieldIndex(QStringLiteral("Name"))));
    EXPECT_THROW(list->setValue(QStringLiteral("ID"), 99), db::Error);
    EXPECT_THROW(list->setValue(QStringLiteral("Shout"), QStringLiteral("x")), db::Error);
    // Line keys are plain numbers, written like any other column.
    auto lines = open(QStringLiteral("BookingBerth"));
    EXPECT_TRUE(lines->isFieldUpdatable(0));
}

TEST_F(RecordsetTest, TableWithoutItsKeyInTheRecordsetIsNeverWritten)
{
    // Two customers share name and house; a row without its key could only be guessed.
    connection().Execute(QStringLiteral("UPDATE Customer SET HouseName = 'Rose Cottage' WHERE ID = 4"));
    connection().Execute(QStringLiteral("UPDATE Customer SET Name = 'Smith' WHERE ID = 4"));
    auto calendar = open(QStringLiteral("SELECT B.ID, B.CustomerID, C.Name, B.FromDate, B.ToDate, C.HouseName FROM "
                                        "Booking B LEFT JOIN Customer C ON B.CustomerID = C.ID"));
    EXPECT_TRUE(calendar->isFieldUpdatable(calendar->fieldIndex(QStringLiteral("FromDate"))));
    EXPECT_FALSE(calendar->isFieldUpdatable(calendar->fieldIndex(QStringLiteral("Name"))));
    EXPECT_THROW(calendar->setValue(QStringLiteral("Name"), QStringLiteral("Smythe")), db::Error);

    auto names = open(QStringLiteral("SELECT Name, HouseName FROM Customer"));
    EXPECT_THROW(names->Delete(), db::Error);
    EXPECT_FALSE(names->isEOF());
    names->AddNew();
    EXPECT_THROW(names->Update(), db::Error);
    names->CancelUpdate();

    auto berthsBooked = open(QStringLiteral("SELECT DISTINCT BerthID FROM BookingBerth"));
    EXPECT_FALSE(berthsBooked->isFieldUpdatable(0));
    EXPECT_THROW(berthsBooked->Delete(), db::Error);

    EXPECT_EQ(committedScalar(QStringLiteral("SELECT group_concat(ID || Name, ',') FROM Customer")).toString(),
              QStringLiteral("1Smith,2O'Brien,3Jones,4Smith"));
    EXPECT_EQ(committedScalar(QStringLiteral("SELECT COUNT(*) FROM BookingBerth")).toInt(), 4);
}

TEST_F(RecordsetTest, ReadOnlyRecordsetRefusesEveryWrite)
{
    auto rows = open(QStringLiteral("Customer"), db::adLockReadOnly, db::adCmdTableDirect);
    EXPECT_FALSE(rows->isFieldUpdatable(rows->fieldIndex(QStringLiteral("Name"))));
    EXPECT_THROW(rows->setValue(QStringLiteral("Name"), QStringLiteral("x")), db::Error);
    EXPECT_THROW(rows->AddNew(), db::Error);
    EXPECT_THROW(rows->Delete(), db::Error);
    EXPECT_EQ(committedScalar(QStringLiteral("SELECT COUNT(*) FROM Customer")).toInt(), 4);
}

// --- adding and deleting ---------------------------------------------------------

TEST_F(RecordsetTest, AddNewThenUpdateReadsTheNewKeyAndDefaultsBack)
{
    auto berths = open(QStringLiteral("Berth"));
    QSignalSpy inserted(berths.get(), &db::Recordset::rowInserted);
    berths->AddNew();
    EXPECT_EQ(berths->EditMode(), db::adEditAdd);
    EXPECT_EQ(inserted.count(), 1);
    berths->setValue(QStringLiteral("Name"), QStringLiteral("D1"));
    EXPECT_TRUE(berths->value(QStringLiteral("ID")).isNull());
    berths->Update();
    EXPECT_EQ(berths->value(QStringLiteral("ID")).toInt(), 5);
    // A new berth is active by the table's default.
    EXPECT_EQ(berths->value(QStringLiteral("Active")), QVariant(true));
    EXPECT_EQ(berths->RecordCount(), 5);
    EXPECT_EQ(berths->AbsolutePosition(), 5);
    EXPECT_EQ(committedScalar(QStringLiteral("SELECT Name FROM Berth WHERE ID = 5")).toString(), QStringLiteral("D1"));
}

TEST_F(RecordsetTest, CancelledAddLeavesNoRowAndReturnsToTheRowBefore)
{
    auto berths = open(QStringLiteral("Berth"));
    berths->MoveNext();
    berths->AddNew();
    berths->setValue(QStringLiteral("Name"), QStringLiteral("D1"));
    berths->CancelUpdate();
    EXPECT_EQ(berths->RecordCount(), 4);
    EXPECT_EQ(berths->value(QStringLiteral("Name")).toString(), QStringLiteral("A1"));
    EXPECT_EQ(committedScalar(QStringLiteral("SELECT COUNT(*) FROM Berth")).toInt(), 4);
}

TEST_F(RecordsetTest, DeletedRowStaysCurrentUntilTheCallerMoves)
{
    auto customers = open(QStringLiteral("SELECT Customer.* FROM Customer"));
    customers->MoveNext();
    customers->Delete();
    EXPECT_THROW(customers->value(QStringLiteral("Name")), db::Error);
    EXPECT_FALSE(customers->isEOF());
    customers->MoveNext();
    EXPECT_EQ(customers->value(QStringLiteral("Name")).toString(), QStringLiteral("Jones"));
    EXPECT_EQ(customers->RecordCount(), 3);
    EXPECT_EQ(committedScalar(QStringLiteral("SELECT group_concat(Name) FROM Customer")).toString(),
              QStringLiteral("Smith,Jones,Smart"));
}

TEST_F(RecordsetTest, DeletingTheLastRowLeavesTheNewLastRowAfterMovingBack)
{
    auto customers = open(QStringLiteral("SELECT Customer.* FROM Customer"));
    customers->MoveLast();
    customers->Delete();
    customers->MoveNext();
    EXPECT_TRUE(customers->isEOF());
    customers->MovePrevious();
    EXPECT_EQ(customers->value(QStringLiteral("Name")).toString(), QStringLiteral("Jones"));

    auto one = open(QStringLiteral("SELECT Customer.* FROM Customer WHERE ID = 1"));
    one->Delete();
    one->MoveNext();
    EXPECT_TRUE(one->isEOF());
    EXPECT_TRUE(one->isBOF());
    EXPECT_EQ(one->RecordCount(), 0);
}

TEST_F(RecordsetTest, WritesJoinTheConnectionsOpenTransaction)
{
    connection().BeginTrans();
    auto berths = open(QStringLiteral("Berth"));
    berths->AddNew();
    berths->setValue(QStringLiteral("Name"), QStringLiteral("D1"));
    berths->Update();
    berths->MoveFirst();
    berths->setValue(QStringLiteral("Name"), QStringLiteral("C1 renamed"));
    berths->Update();
    berths->MoveNext();
    berths->Delete();
    EXPECT_EQ(scalar(QStringLiteral("SELECT group_concat(Name) FROM Berth")).toString(),
              QStringLiteral("C1 renamed,B1,a2,D1"));
    connection().RollbackTrans();
    EXPECT_EQ(committedScalar(QStringLiteral("SELECT group_concat(Name) FROM Berth")).toString(),
              QStringLiteral("C1,A1,B1,a2"));
}

// --- Filter, Sort, Find, Bookmark and Requery together ---------------------------

TEST_F(RecordsetTest, BookmarkFindsItsRowAcrossFilterAndSort)
{
    auto customers = open(QStringLiteral("Customer"));
    customers->Find(QStringLiteral("Name = 'Jones'"));
    const QVariant jones = customers->Bookmark();
    customers->setSort(QStringLiteral("Name DESC"));
    customers->setBookmark(jones);
    EXPECT_EQ(customers->value(QStringLiteral("Name")).toString(), QStringLiteral("Jones"));
    EXPECT_EQ(customers->AbsolutePosition(), 4);
    customers->setFilter(QStringLiteral("Town = 'Bristol'"));
    EXPECT_THROW(customers->setBookmark(jones), db::Error);
    customers->setFilter(QString());
    customers->setBookmark(jones);
    EXPECT_EQ(customers->value(QStringLiteral("ID")).toInt(), 3);
}

TEST_F(RecordsetTest, RequeryKeepsFilterAndSortAndShowsNewRows)
{
    auto customers = open(QStringLiteral("SELECT Customer.* FROM Customer"));
    customers->setFilter(QStringLiteral("Town LIKE 'Bri*'"));
    customers->setSort(QStringLiteral("Name"));
    customers->MoveLast();
    connection().Execute(QStringLiteral("INSERT INTO Customer (Name, Town) VALUES ('Adams', 'Bristol')"));
    QSignalSpy reset(customers.get(), &db::Recordset::rowsReset);
    customers->Requery();
    EXPECT_EQ(reset.count(), 1);
    EXPECT_EQ(customers->Filter(), QStringLiteral("Town LIKE 'Bri*'"));
    EXPECT_EQ(customers->Sort(), QStringLiteral("Name"));
    EXPECT_EQ(customers->AbsolutePosition(), 1);
    EXPECT_EQ(columnTexts(*customers, QStringLiteral("Name")),
              QStringList({"Adams", "Jones", "O'Brien", "Smart", "Smith"}));
}

TEST_F(RecordsetTest, RequeryWhoseFilterNoLongerFitsLeavesTheRowsAsTheyWere)
{
    // The computed column is all Null at first, so it reads as text; once a line names
    // berth 3 it holds numbers and the filter's text no longer compares with it.
    auto berths = open(QStringLiteral("SELECT ID, Name, (SELECT MAX(BookingID) FROM BookingBerth WHERE BerthID = B.ID) "
                                      "AS LastBooking FROM Berth B WHERE B.ID >= 3"));
    berths->setFilter(QStringLiteral("Name LIKE '*' OR LastBooking = 'none'"));
    connection().Execute(QStringLiteral("DELETE FROM Berth WHERE ID = 4"));
    connection().Execute(QStringLiteral("INSERT INTO BookingBerth (BookingID, BerthID) VALUES (1, 3)"));
    EXPECT_THROW(berths->Requery(), db::Error);
    EXPECT_EQ(berths->Filter(), QStringLiteral("Name LIKE '*' OR LastBooking = 'none'"));
    EXPECT_EQ(columnTexts(*berths, QStringLiteral("Name")), QStringList({"B1", "a2"}));
    EXPECT_EQ(berths->fieldType(2), db::FieldType::Text);
}

TEST_F(RecordsetTest, FindSearchesOnFromTheCurrentRowAndBackwards)
{
    auto bookings = open(QStringLiteral("Booking"));
    bookings->Find(QStringLiteral("CustomerID = 1"));
    EXPECT_EQ(bookings->value(QStringLiteral("ID")).toInt(), 1);
    bookings->Find(QStringLiteral("CustomerID = 1"), 1);
    EXPECT_EQ(bookings->value(QStringLiteral("ID")).toInt(), 3);
    bookings->Find(QStringLiteral("CustomerID = 1"), 1);
    EXPECT_TRUE(bookings->isEOF());
    bookings->MoveLast();
    bookings->Find(QStringLiteral("CustomerID = 1"), 0, false);
    EXPECT_EQ(bookings->value(QStringLiteral("ID")).toInt(), 3);
    bookings->Find(QStringLiteral("CustomerID = 7"), 0, false);
    EXPECT_TRUE(bookings->isBOF());
}

TEST_F(RecordsetTest, QuotedValuesWithApostrophesPercentAndHashesAreData)
{
    const QString name = QStringLiteral("O'Hara 50% #1 *best*");
    connection().Execute(QStringLiteral("INSERT INTO Customer (Name, Town) VALUES (%1, %2)")
                             .arg(db::SqlQuote(name), db::SqlQuote(QStringLiteral("#2026/1/1#"))));
    EXPECT_EQ(committedScalar(QStringLiteral("SELECT Town FROM Customer WHERE Name = %1").arg(db::SqlQuote(name)))
                  .toString(),
              QStringLiteral("#2026/1/1#"));
    auto customers = open(QStringLiteral("Customer"));
    customers->Find(QStringLiteral("Name = ") + db::SqlQuote(name));
    ASSERT_FALSE(customers->isEOF());
    EXPECT_EQ(customers->value(QStringLiteral("Name")).toString(), name);
    customers->setFilter(QStringLiteral("Name LIKE ") + db::SqlQuote(QStringLiteral("o'hara 50%*")));
    EXPECT_EQ(customers->RecordCount(), 1);
    customers->setFilter(QStringLiteral("Name LIKE ") + db::SqlQuote(QStringLiteral("O'Hara 5*")));
    EXPECT_EQ(customers->RecordCount(), 1);
    customers->setFilter(QStringLiteral("Name LIKE ") + db::SqlQuote(QStringLiteral("O'Hara 60%*")));
    EXPECT_EQ(customers->RecordCount(), 0);

    // Wildcards typed by the user stay data in a prefix search, in a filter and in SQL.
    customers->setFilter(QStringLiteral("Name LIKE ") + db::SqlQuote(db::escapeLikeText(QStringLiteral("*")) + "*"));
    EXPECT_EQ(customers->RecordCount(), 0);
    customers->setFilter(QStringLiteral("Name LIKE ") + db::SqlQuote(db::escapeLikeText(name) + "*"));
    EXPECT_EQ(customers->RecordCount(), 1);
    const QString prefixCount = QStringLiteral("SELECT COUNT(*) FROM Customer WHERE Name LIKE %1");
    EXPECT_EQ(scalar(prefixCount.arg(db::SqlQuote(db::escapeLikeText(QStringLiteral("O'Hara 50% #1 *")) + "*")))
                  .toInt(),
              1);
    EXPECT_EQ(scalar(prefixCount.arg(db::SqlQuote(db::escapeLikeText(QStringLiteral("O'Hara 5_")) + "*"))).toInt(), 0);
    EXPECT_EQ(scalar(prefixCount.arg(db::SqlQuote(db::escapeLikeText(QStringLiteral("%")) + "*"))).toInt(), 0);
}

TEST_F(RecordsetTest, FailedOpenLeavesAClosedRecordsetThatSaysWhy)
{
    db::Recordset rows;
    EXPECT_THROW(rows.Open(QStringLiteral("SELEC Name FROM Customer"), &connection()), db::Error);
    EXPECT_FALSE(rows.isOpen());
    EXPECT_FALSE(rows.lastError().isEmpty());
    EXPECT_TRUE(rows.isEOF());
    EXPECT_EQ(rows.RecordCount(), 0);
    try {
        rows.MoveFirst();
        ADD_FAILURE() << "a closed recordset moved";
    } catch (const db::Error &e) {
        EXPECT_TRUE(e.message().contains(rows.lastError()));
    }
    EXPECT_THROW(rows.Open(QStringLiteral("NoSuchTable"), &connection()), db::Error);
    EXPECT_THROW(rows.Open(QStringLiteral("SELECT * FROM Customer; DELETE FROM Customer"), &connection()), db::Error);
    EXPECT_EQ(committedScalar(QStringLiteral("SELECT COUNT(*) FROM Customer")).toInt(), 4);
}

TEST_F(RecordsetTest, AnUnreadableFilterLeavesTheRowsAsTheyWere)
{
    auto customers = open(QStringLiteral("Customer"));
    customers->setFilter(QStringLiteral("Town = 'Bristol'"));
    EXPECT_THROW(customers->setFilter(QStringLiteral("Town = 'Bristol")), db::Error);
    EXPECT_THROW(customers->setFilter(QStringLiteral("Postcode = 'x' AND Nowhere = 1")), db::Error);
    EXPECT_THROW(customers->setSort(QStringLiteral("Nowhere")), db::Error);
    EXPECT_EQ(customers->Filter(), QStringLiteral("Town = 'Bristol'"));
    EXPECT_EQ(customers->RecordCount(), 2);
}

// --- recordsets in memory --------------------------------------------------------

TEST(InMemoryRecordset, HoldsAddedRowsAndNarrowsThem)
{
    db::Recordset log;
    log.appendField(QStringLiteral("oper"), db::FieldType::Long);
    log.appendField(QStringLiteral("descr"), db::FieldType::Text, 10);
    log.Open();
    EXPECT_TRUE(log.isEOF());
    const QList<std::pair<int, QString>> entries = {{3, QStringLiteral("activated")},
                                                    {4, QStringLiteral("removed")},
                                                    {3, QStringLiteral("inactive")}};
    for (const auto &[oper, descr] : entries) {
        log.AddNew();
        log.setValue(QStringLiteral("oper"), oper);
        log.setValue(QStringLiteral("descr"), descr);
        log.Update();
    }
    EXPECT_THROW(log.setValue(QStringLiteral("descr"), QStringLiteral("far too long a text")), db::Error);
    EXPECT_THROW(log.setValue(QStringLiteral("oper"), QString()), db::Error);
    log.setFilter(QStringLiteral("oper = 3"));
    log.setSort(QStringLiteral("descr"));
    EXPECT_EQ(columnTexts(log, QStringLiteral("descr")), QStringList({"activated", "inactive"}));
    log.setFilter(QString());
    log.MoveFirst();
    log.Delete();
    log.MoveNext();
    EXPECT_EQ(log.RecordCount(), 2);
    EXPECT_EQ(log.value(QStringLiteral("descr")).toString(), QStringLiteral("inactive"));
    log.Close();
    log.Open();
    EXPECT_EQ(log.RecordCount(), 0);
    EXPECT_EQ(log.fieldCount(), 2);
}

} // namespace
