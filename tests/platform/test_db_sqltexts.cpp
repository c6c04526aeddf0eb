// Every SQL text, table source, Filter, Find and Sort the windows build, run against
// the sample rows and checked for what the window would see.

#include <gtest/gtest.h>

#include <QDateTime>

#include "platform/db/Connection.h"
#include "platform/db/Recordset.h"
#include "platform/db/ShapeCommand.h"
#include "support/DbTestData.h"

using namespace quorl;
using namespace quorl::dbtest;

namespace {

QStringList split(const char *texts)
{
    return QString::fromUtf8(texts).split(QLatin1Char('|'));
}

std::string caseName(const char *name)
{
    return std::string(name);
}

const QVariant kArrival(QDateTime(QDate(2026, 12, 8), QTime(10, 0)));
const QVariant kDeparture(QDateTime(QDate(2026, 12, 10), QTime(10, 0)));

// --- statements that return no rows ----------------------------------------------

struct StatementCase
{
    const char *name;
    const char *sql;
    qint64 changed;
    const char *check;     // a query whose rows, field 0, joined by "|", must read as expected
    const char *expected;
};

void PrintTo(const StatementCase &c, std::ostream *os)
{
    *os << c.name;
}

class SqlStatement : public DbTest, public ::testing::WithParamInterface<StatementCase>
{
};

TEST_P(SqlStatement, ChangesTheRowsItNames)
{
    const StatementCase &c = GetParam();
    EXPECT_EQ(connection().Execute(QString::fromUtf8(c.sql)), c.changed);
    auto rows = connection().ExecuteQuery(QString::fromUtf8(c.check));
    EXPECT_EQ(columnTexts(*rows, rows->fieldName(0)), split(c.expected));
}

INSTANTIATE_TEST_SUITE_P(
    Texts, SqlStatement,
    ::testing::Values(
        StatementCase{"DeleteCustomersBookings", "DELETE FROM Booking WHERE CustomerID = 1", 2,
                      "SELECT ID FROM Booking ORDER BY ID", "2|4"},
        StatementCase{"DeleteOwnersBerths", "DELETE FROM Berth WHERE OwnerID = 1", 2,
                      "SELECT Name FROM Berth ORDER BY ID", "B1|a2"},
        StatementCase{"DeleteBerthsBookingLines", "DELETE FROM BookingBerth WHERE BerthID = 1", 2,
                      "SELECT BookingID FROM BookingBerth ORDER BY BookingID", "2|3"},
        // Only booking 4 has no line: the others stay.
        StatementCase{"DeleteBookingsWithoutLines",
                      "DELETE B.* FROM Booking B LEFT JOIN BookingBerth BB ON B.ID = BB.BookingID WHERE BB.BookingID "
                      "is null",
                      1, "SELECT ID FROM Booking ORDER BY ID", "1|2|3"},
        StatementCase{"DeleteOneBooking", "DELETE FROM Booking WHERE ID = 2", 1, "SELECT ID FROM Booking ORDER BY ID",
                      "1|3|4"},
        // The club box writes 1; the stored Yes is -1 all the same.
        StatementCase{"InsertCustomerFromSelectList",
                      "INSERT INTO Customer (Name, HouseName, Street, Area, Town, PostCode, TelNo, MobileNo, "
                      "EmailAddress, Notes, ClubMember, MembershipNo) SELECT 'Smith', 'Rose Cottage', '', '', '', '', "
                      "'', '', '', '', 1, 'M7'",
                      1, "SELECT HouseName || ':' || ClubMember || ':' || MembershipNo FROM Customer WHERE ID = 5",
                      "Rose Cottage:-1:M7"},
        StatementCase{"UpdateCustomerWithoutBlankBeforeWhere",
                      "UPDATE Customer SET Name = 'Smith', HouseName = 'Rose Cottage', Street = '', Area = '', Town = "
                      "'', PostCode = '', TelNo = '', MobileNo = '', EmailAddress = '', Notes = '', ClubMember = 1, "
                      "MembershipNo = 'M7'WHERE ID = 2",
                      1, "SELECT Name || ':' || ClubMember FROM Customer ORDER BY ID", "Smith:-1|Smith:-1|Jones:-1|Smart:0"},
        StatementCase{"InsertOwnerFromSelectList",
                      "INSERT INTO Owner (Name, HouseName, Street, Area, Town, PostCode, MobileNo, EmailAddress, Notes) "
                      "SELECT 'Jones', 'Mill House', 'Quay Road', '', '', '', '', '', ''",
                      1, "SELECT Street FROM Owner ORDER BY ID", "<null>|<null>|Quay Road"},
        StatementCase{"UpdateOwner",
                      "UPDATE Owner SET Name = 'Jones', HouseName = 'Mill House', Street = 'Quay Road', Area = '', Town "
                      "= '', PostCode = '', MobileNo = '', EmailAddress = '', Notes = '' WHERE ID = 2",
                      1, "SELECT Name || '/' || Street FROM Owner ORDER BY ID", "<null>|Jones/Quay Road"},
        StatementCase{"DeleteBookingsLines", "DELETE FROM BookingBerth WHERE BookingID = 2", 2,
                      "SELECT BerthID FROM BookingBerth ORDER BY BookingID", "1|2"},
        StatementCase{"UpdateSettingsWithoutWhere",
                      "UPDATE Settings SET WebBookingEmail = 'bookings@example.org', WebBookingProviderIndex = 1, "
                      "WebBookingProviderCustom = 'https://forms.example.org/cgi-bin/rom.pl'",
                      1, "SELECT WebBookingEmail || ' ' || WebBookingProviderIndex || ' ' || WebBookingProviderCustom "
                         "FROM Settings",
                      "bookings@example.org 1 https://forms.example.org/cgi-bin/rom.pl"}),
    [](const auto &info) { return caseName(info.param.name); });

// --- sources whose rows the window reads ------------------------------------------

struct SourceCase
{
    const char *name;
    const char *source;
    int options;
    bool withDates;   // bound as the availability query's DATETO, DATEFROM
    const char *field;
    const char *expected;   // the field of every row, in order, joined by "|"
};

void PrintTo(const SourceCase &c, std::ostream *os)
{
    *os << c.name;
}

class SqlSource : public DbTest, public ::testing::WithParamInterface<SourceCase>
{
};

TEST_P(SqlSource, GivesTheRowsTheWindowShows)
{
    const SourceCase &c = GetParam();
    std::unique_ptr<db::Recordset> rows;
    if (c.withDates) {
        rows = connection().ExecuteQuery(QString::fromUtf8(c.source), {kDeparture, kArrival});
    } else {
        rows = std::make_unique<db::Recordset>();
        rows->Open(QString::fromUtf8(c.source), &connection(), db::adLockOptimistic, c.options);
    }
    QStringList expected = split(c.expected);
    QStringList actual = columnTexts(*rows, QString::fromUtf8(c.field));
    // "~": the text has no ORDER BY and the rows may come in any order.
    if (expected.first().startsWith(QLatin1Char('~'))) {
        expected.first().remove(0, 1);
        expected.sort();
        actual.sort();
    }
    EXPECT_EQ(actual, expected);
}

const char *const kAllBookingColumns = "SELECT Booking.ID, Booking.FromDate, Booking.ToDate, Booking.Created, "
                                       "Customer.Name, Customer.HouseName FROM Customer INNER JOIN Booking ON "
                                       "Customer.ID = Booking.CustomerID ";
const char *const kReservationColumns =
    "SELECT Booking.FromDate, Booking.ToDate, Booking.BookedBy, Customer.Name AS Customer, Booking.Notes, "
    "Booking.NoAdults, Booking.NoKids, Booking.OtherCharges, Booking.VAT, Booking.TotalPayable, Booking.AmountPayed, "
    "PaymentMethod.Name AS PaymentMethod, Booking.CreditCardNo, Booking.CreditCardExpiry, Booking.CreditCardType, "
    "Booking.CreditCardCV2No, Booking.CostOfHire, Booking.BerthConfirmationNumber, Booking.GuestConfirmationNumber, "
    "Booking.PowerRequirements, Booking.ClubMember FROM PaymentMethod RIGHT JOIN (Customer INNER JOIN Booking ON "
    "Customer.ID = Booking.CustomerID) ON PaymentMethod.ID = Booking.PaymentMethodID";
const char *const kSalesColumns =
    "SELECT Booking.ID, Booking.FromDate, booking.TotalPayable, Booking.costofhire, booking.vat, booking.othercharges, "
    "Booking.ToDate, Booking.Created, Customer.Name, Customer.HouseName FROM Customer INNER JOIN Booking ON "
    "Customer.ID = Booking.CustomerID ";
const char *const kAvailability =
    "PARAMETERS DATETO DateTime, DATEFROM DateTime; SELECT ID, Name, Length, Width, HasPower, DailyHireCharge FROM "
    "Berth B LEFT JOIN (SELECT DISTINCT BerthID FROM Booking BO INNER JOIN BookingBerth BB ON BO.ID = BB.BookingID  "
    "WHERE BO.FromDate < [DATETO] AND BO.ToDate > [DATEFROM] ";

std::string joined(const char *a, const char *b)
{
    return std::string(a) + b;
}

// Kept alive for the cases below, which hold plain pointers.
const std::string kAllNoWhere = joined(kAllBookingColumns, " Order By FromDate");
const std::string kAllBoth =
    joined(kAllBookingColumns,
           "WHERE Booking.FromDate <= #2026/12/11 14:30# And Booking.ToDate >= #2026/12/9 14:30# Order By FromDate");
const std::string kAllTo =
    joined(kAllBookingColumns,
           "WHERE Booking.FromDate <= #2026/12/6 14:30# Or Booking.ToDate <= #2026/12/6 14:30# Order By FromDate");
const std::string kAllFrom =
    joined(kAllBookingColumns,
           "WHERE Booking.FromDate >= #2026/12/9 14:30# Or Booking.ToDate >= #2026/12/9 14:30# Order By FromDate");
const std::string kSalesNoWhere = joined(kSalesColumns, " Order By FromDate");
const std::string kSalesBoth =
    joined(kSalesColumns,
           "WHERE Booking.FromDate <= #2026/12/11 14:30# And Booking.ToDate >= #2026/12/9 14:30# Order By FromDate");
const std::string kSalesTo =
    joined(kSalesColumns,
           "WHERE Booking.FromDate <= #2026/12/6 14:30# Or Booking.ToDate <= #2026/12/6 14:30# Order By FromDate");
const std::string kSalesFrom =
    joined(kSalesColumns,
           "WHERE Booking.FromDate >= #2026/12/9 14:30# Or Booking.ToDate >= #2026/12/9 14:30# Order By FromDate");
const std::string kTakenToday =
    joined(kAllBookingColumns, "Where Booking.Created < #2026/12/9 9:0# And Booking.Created >= #2026/12/8 9:0#");
const std::string kCheckOuts =
    joined(kAllBookingColumns, "Where Booking.ToDate < #2026/12/9 9:0# And Booking.ToDate >= #2026/12/8 9:0#");
const std::string kReservations = kReservationColumns;
const std::string kTodaysReservations =
    joined(kReservationColumns, " WHERE (((Booking.FromDate)<= #12/9/2026 0:00:01#) AND "
                                "((Booking.ToDate)>=#12/9/2026 23:59:59#))");
const std::string kAvailableNew = joined(kAvailability, ") as BE ON B.ID = BE.BerthID WHERE BE.BerthID is null and "
                                                        "B.Active = -1");
const std::string kAvailableEdit = joined(kAvailability, " AND BO.ID <> 1) as BE ON B.ID = BE.BerthID WHERE "
                                                         "BE.BerthID is null and B.Active = -1");

INSTANTIATE_TEST_SUITE_P(
    Texts, SqlSource,
    ::testing::Values(
        // Run once on the connection, a field read back.
        SourceCase{"CountCustomersBookings", "SELECT COUNT(ID) AS c FROM Booking WHERE CustomerID = 1", 1, false, "c",
                   "2"},
        SourceCase{"CountOwnersBerths", "SELECT COUNT(ID) AS c FROM Berth WHERE OwnerID = 1", 1, false, "c", "2"},
        SourceCase{"CountBerthsBookingLines", "SELECT COUNT(*) AS c FROM BookingBerth WHERE BerthID = 1", 1, false, "c",
                   "2"},
        SourceCase{"LastCustomerKey", "SELECT MAX(ID) as M FROM Customer", 1, false, "M", "4"},
        SourceCase{"LastConfirmationNumber", "SELECT Max(BerthConfirmationNumber) as M FROM Booking", 1, false, "M",
                   "1004"},
        // A booking ending exactly at the arrival, or starting exactly at the
        // departure, does not block its berth; inactive berths are never offered.
        SourceCase{"AvailableBerths", kAvailableNew.c_str(), 1, true, "Name", "A1|a2"},
        SourceCase{"AvailableBerthsForEditedBooking", kAvailableEdit.c_str(), 1, true, "Name", "C1|A1|a2"},
        // Recordsets the windows keep.
        SourceCase{"OneCustomer", "SELECT Customer.* FROM Customer WHERE Customer.ID = 2", 1, false, "Name", "O'Brien"},
        SourceCase{"CustomerList", "SELECT Customer.* FROM Customer", 1, false, "Name", "Smith|O'Brien|Jones|Smart"},
        SourceCase{"CustomerSearchRows", "SELECT Customer.* FROM Customer", 1, false, "ClubMember",
                   "true|false|true|false"},
        SourceCase{"OneOwner", "SELECT Owner.* FROM Owner WHERE Owner.ID = 1", 1, false, "HouseName", "Mill House"},
        SourceCase{"OwnerList", "SELECT Owner.* FROM Owner", 1, false, "Name", "Jones|Patel"},
        SourceCase{"BerthListWithMarks",
                   "SELECT B.*, IIF(A.BerthID Is NULL, B.Name, B.Name & ' (booked)') & IIF(B.Active, ' - Active ', "
                   "' - Inactive') as BName FROM Berth B LEFT JOIN (SELECT DISTINCT BerthID FROM BookingBerth) AS A ON "
                   "B.ID = A.BerthID",
                   1, false, "BName", "C1 (booked) - Active |A1 (booked) - Active |B1 - Inactive|a2 - Active "},
        SourceCase{"BerthEditorRows",
                   "select ID,Name,Length,Width,HasPower,OwnerID,TypeID,Notes,Active,DailyHireCharge,"
                   "MonthlyHireCharge,WeeklyHireCharge from Berth",
                   1, false, "DailyHireCharge", "25.5|30|20|15"},
        SourceCase{"OwnerComboRows", "SELECT Owner.* FROM Owner;", 1, false, "Name", "Jones|Patel"},
        SourceCase{"TypeComboRows", "SELECT BerthType.* FROM BerthType;", 1, false, "Type",
                   "Pontoon|Walk-ashore|Swinging mooring|Dry stack"},
        SourceCase{"CompanyRow",
                   "select CompanyID,[Company Name],[Trading Name],Street,Area,Town,County,Postcode,[Telephone No],"
                   "[VAT No],[Receipt Footer],TermsandConditions from Company",
                   1, false, "Company Name", "Your Marina Ltd"},
        SourceCase{"BookingsBerths", "SELECT BerthID from BookingBerth WHERE BookingID = 2", 1, false, "BerthID",
                   "1|2"},
        SourceCase{"DayCalendarBookings",
                   "SELECT B.ID, B.CustomerID, C.Name, B.FromDate, B.ToDate, C.HouseName FROM Booking B LEFT JOIN "
                   "Customer C ON B.CustomerID = C.ID",
                   1, false, "FromDate",
                   "2026-12-08 10:00:00|2026-12-10 10:00:00|2026-12-05 10:00:00|2026-06-01 14:00:00"},
        SourceCase{"DayCalendarBerthNames",
                   "SELECT BB.BookingID, B.Name FROM Berth B INNER JOIN BookingBerth BB ON B.ID = BB.BerthID ", 1,
                   false, "Name", "C1|C1|A1|A1"},
        SourceCase{"PlanningChartLines",
                   "SELECT B.ID, B.CustomerID, C.Name, C.HouseName, B.FromDate, B.ToDate, BE.Name as BerthName  FROM "
                   "((Booking B LEFT JOIN Customer C ON B.CustomerID = C.ID)  INNER JOIN BookingBerth BB ON B.ID = "
                   "BB.BookingID)  INNER JOIN Berth BE ON BB.BerthID = BE.ID",
                   1, false, "BerthName", "C1|C1|A1|A1"},
        SourceCase{"PlanningChartBerths", "SELECT ID, Name, Active FROM Berth", 1, false, "Active",
                   "true|true|false|true"},
        SourceCase{"SummaryScratchRow", "SELECT InvTemp.* FROM InvTemp;", 1, false, "CompanyID", "1"},
        SourceCase{"BookingSearchList",
                   "SELECT Customer.Name, Booking.FromDate, Booking.ToDate, Booking.ID FROM Customer INNER JOIN Booking "
                   "ON Customer.ID = Booking.CustomerID",
                   1, false, "Name", "Smith|O'Brien|Smith|Jones"},
        SourceCase{"AllBookings", kAllNoWhere.c_str(), 1, false, "ID", "4|3|1|2"},
        SourceCase{"AllBookingsInPeriod", kAllBoth.c_str(), 1, false, "ID", "1|2"},
        SourceCase{"AllBookingsUpTo", kAllTo.c_str(), 1, false, "ID", "4|3"},
        SourceCase{"AllBookingsFrom", kAllFrom.c_str(), 1, false, "ID", "1|2"},
        SourceCase{"PeriodSales", kSalesNoWhere.c_str(), 1, false, "costofhire", "36|54|85|72"},
        SourceCase{"PeriodSalesInPeriod", kSalesBoth.c_str(), 1, false, "othercharges", "5|0"},
        SourceCase{"PeriodSalesUpTo", kSalesTo.c_str(), 1, false, "vat", "4|6"},
        SourceCase{"PeriodSalesFrom", kSalesFrom.c_str(), 1, false, "TotalPayable", "100|80"},
        SourceCase{"BookingsTakenToday", kTakenToday.c_str(), 1, false, "ID", "1"},
        SourceCase{"TodaysCheckOuts", kCheckOuts.c_str(), 1, false, "ID", "3"},
        SourceCase{"BerthNamesOfBooking",
                   "SELECT Berth.Name FROM Berth INNER JOIN BookingBerth ON Berth.ID = BookingBerth.BerthID WHERE "
                   "BookingBerth.BookingID = 2",
                   1, false, "Name", "C1|A1"},
        SourceCase{"OutstandingBalances",
                   "SELECT Booking.FromDate, Booking.ToDate, Booking.CostOfHire, Booking.OtherCharges, Booking.VAT, "
                   "Booking.TotalPayable, Booking.AmountPayed, Customer.Name, Customer.TelNo\r\nFROM Customer INNER "
                   "JOIN Booking ON Customer.ID = Booking.CustomerID\r\nWHERE "
                   "(((Booking.AmountPayed)<[totalpayable]));\r\n",
                   1, false, "AmountPayed", "50|0"},
        SourceCase{"CustomerExport", "SELECT Customer.* FROM Customer", 1, false, "EmailAddress",
                   "smith@example.org||<null>|smart@example.org"},
        // A booking without a payment method is still exported.
        SourceCase{"ReservationExport", kReservations.c_str(), 1, false, "PaymentMethod", "~Cash|<null>|Cheque|Cash"},
        SourceCase{"TodaysReservationExport", kTodaysReservations.c_str(), 1, false, "Customer", "Smith"},
        SourceCase{"MailingList",
                   "SELECT EmailAddress FROM Customer WHERE EmailAddress is not null and EmailAddress <> ''", 1, false,
                   "EmailAddress", "smith@example.org|smart@example.org"},
        // Table names as sources: the table's rows and columns in table order.
        SourceCase{"SettingsTable", "Settings", 512, false, "WebBookingProviderIndex", "0"},
        SourceCase{"TypeTableOfBerthDialog", "BerthType", -1, false, "ID", "1|2|3|4"},
        SourceCase{"OwnerTableOfBerthDialog", "Owner", -1, false, "Name", "Jones|Patel"},
        SourceCase{"BerthTableOfWizard", "Berth", -1, false, "Name", "C1|A1|B1|a2"},
        SourceCase{"TypeTableOfWizard", "BerthType", -1, false, "Type",
                   "Pontoon|Walk-ashore|Swinging mooring|Dry stack"},
        SourceCase{"OwnerTableOfWizard", "Owner", -1, false, "ID", "1|2"},
        SourceCase{"CustomerTableOfBookingForm", "Customer", 512, false, "ID", "1|2|3|4"},
        SourceCase{"PaymentMethodTable", "PaymentMethod", 512, false, "Name",
                   "Cash|Cheque|Credit Card|Debit Card|Bank Transfer"},
        SourceCase{"BookingTableOfBookingForm", "Booking", 512, false, "ToDate",
                   "2026-12-10 10:00:00|2026-12-12 10:00:00|2026-12-08 10:00:00|2026-06-03 10:00:00"},
        SourceCase{"BookingLineTable", "BookingBerth", 512, false, "BerthID", "1|1|2|2"},
        SourceCase{"BookingTableOfSummary", "Booking", -1, false, "BookedBy", "Ann|Bob|Ann|Bob"},
        SourceCase{"CustomerTableOfSummary", "Customer", -1, false, "Town", "Brighton|Bristol|Brighouse|Bristol"},
        SourceCase{"BerthNotesTable", "Berth", -1, false, "Notes", "by the crane|<null>|<null>|<null>"},
        SourceCase{"BerthNamesTable", "Berth", -1, false, "ID", "1|2|3|4"},
        SourceCase{"SettingsTableOfWebWizard", "Settings", -1, false, "WebBookingEmail", ""}),
    [](const auto &info) { return caseName(info.param.name); });

// --- Filter, Sort and Find on the recordsets the windows keep ---------------------

struct NarrowCase
{
    enum Kind { Filter, Sort, Find };
    const char *name;
    const char *source;
    Kind kind;
    const char *text;
    const char *field;
    const char *expected;   // Filter and Sort: the field of every row; Find: of the row found, "EOF" when none
};

void PrintTo(const NarrowCase &c, std::ostream *os)
{
    *os << c.name;
}

class Narrowing : public DbTest, public ::testing::WithParamInterface<NarrowCase>
{
};

TEST_P(Narrowing, LeavesTheRowsTheWindowShows)
{
    const NarrowCase &c = GetParam();
    auto rows = open(QString::fromUtf8(c.source));
    const QString text = QString::fromUtf8(c.text);
    const QString field = QString::fromUtf8(c.field);
    switch (c.kind) {
    case NarrowCase::Filter:
        rows->setFilter(text);
        EXPECT_EQ(columnTexts(*rows, field), split(c.expected));
        break;
    case NarrowCase::Sort:
        rows->setSort(text);
        EXPECT_EQ(columnTexts(*rows, field), split(c.expected));
        break;
    case NarrowCase::Find:
        rows->MoveFirst();
        rows->Find(text);
        EXPECT_EQ(rows->isEOF() ? QStringLiteral("EOF") : cellText(rows->value(field)), QString::fromUtf8(c.expected));
        break;
    }
}

const char *const kBerthList =
    "SELECT B.*, IIF(A.BerthID Is NULL, B.Name, B.Name & ' (booked)') & IIF(B.Active, ' - Active ', ' - Inactive') as "
    "BName FROM Berth B LEFT JOIN (SELECT DISTINCT BerthID FROM BookingBerth) AS A ON B.ID = A.BerthID";
const char *const kDayBookings = "SELECT B.ID, B.CustomerID, C.Name, B.FromDate, B.ToDate, C.HouseName FROM Booking B "
                                 "LEFT JOIN Customer C ON B.CustomerID = C.ID";
const char *const kChartLines =
    "SELECT B.ID, B.CustomerID, C.Name, C.HouseName, B.FromDate, B.ToDate, BE.Name as BerthName  FROM ((Booking B "
    "LEFT JOIN Customer C ON B.CustomerID = C.ID)  INNER JOIN BookingBerth BB ON B.ID = BB.BookingID)  INNER JOIN "
    "Berth BE ON BB.BerthID = BE.ID";
const char *const kSearchList = "SELECT Customer.Name, Booking.FromDate, Booking.ToDate, Booking.ID FROM Customer "
                                "INNER JOIN Booking ON Customer.ID = Booking.CustomerID";

INSTANTIATE_TEST_SUITE_P(
    Texts, Narrowing,
    ::testing::Values(
        NarrowCase{"CustomerSearchByName", "SELECT Customer.* FROM Customer", NarrowCase::Filter, "Name LIKE 'sm*'",
                   "Name", "Smith|Smart"},
        NarrowCase{"CustomerSearchByBoxesAndClub", "SELECT Customer.* FROM Customer", NarrowCase::Filter,
                   "Name LIKE 'Sm*' AND Town LIKE 'Bri*' AND  ClubMember = 1", "Name", "Smith"},
        NarrowCase{"CustomerSearchByAllBoxes", "SELECT Customer.* FROM Customer", NarrowCase::Filter,
                   "Name LIKE 'Smith*' AND HouseName LIKE 'Rose*' AND Street LIKE 'High*' AND Area LIKE 'Kemp*' AND "
                   "Town LIKE 'Brigh*' AND PostCode LIKE 'BN1*' AND TelNo LIKE '01273*' AND MobileNo LIKE '*' AND "
                   "EmailAddress LIKE 'smith@*' AND MembershipNO LIKE 'M*' AND  ClubMember = 1",
                   "ID", "1"},
        // "= 1" finds the members, whose stored Yes is -1.
        NarrowCase{"CustomerSearchClubMembers", "SELECT Customer.* FROM Customer", NarrowCase::Filter, "ClubMember = 1",
                   "Name", "Smith|Jones"},
        NarrowCase{"CustomerSearchNonMembers", "SELECT Customer.* FROM Customer", NarrowCase::Filter, "ClubMember = 0",
                   "Name", "O'Brien|Smart"},
        // Booking 3 ends at 10:00 on the day and is shown; booking 2 starts the day after.
        NarrowCase{"DayCalendarDay", kDayBookings, NarrowCase::Filter,
                   " (FromDate < #2026/12/9 0:0# AND ToDate >= #2026/12/8 0:0#) ", "ID", "1|3"},
        NarrowCase{"DayCalendarLinesOfBooking",
                   "SELECT BB.BookingID, B.Name FROM Berth B INNER JOIN BookingBerth BB ON B.ID = BB.BerthID ",
                   NarrowCase::Filter, "BookingID = 2", "Name", "C1|A1"},
        NarrowCase{"PlanningChartSlot", kChartLines, NarrowCase::Filter,
                   " (FromDate < #2026/12/8 10:30# AND ToDate > #2026/12/8 10:0#) ", "BerthName", "C1"},
        NarrowCase{"PlanningChartLookup", kChartLines, NarrowCase::Filter,
                   "BerthName = 'A1' and FromDate <= #2026/12/8 10:30# and ToDate >= #2026/12/8 10:0#", "ID", "3"},
        NarrowCase{"BookingSearchArriving", kSearchList, NarrowCase::Filter, "FromDate >= #2026/12/8 9:0#", "ID", "1|2"},
        NarrowCase{"BookingSearchDeparting", kSearchList, NarrowCase::Filter, "ToDate <= #2026/12/8 10:0#", "ID", "3|4"},
        NarrowCase{"BookingSearchBoth", kSearchList, NarrowCase::Filter,
                   "FromDate >= #2026/12/5 9:0# AND ToDate <= #2026/12/10 10:0#", "ID", "1|3"},
        // Sorts: text without regard to letter case, through an alias.
        NarrowCase{"BerthListSortedByMarks", kBerthList, NarrowCase::Sort, "BNAME", "Name", "A1|a2|B1|C1"},
        NarrowCase{"WizardBerthsSortedByName", "Berth", NarrowCase::Sort, "NAME", "Name", "A1|a2|B1|C1"},
        // Finds.
        NarrowCase{"FindBerthToDelete", kBerthList, NarrowCase::Find, "ID = 3", "Name", "B1"},
        NarrowCase{"FindClickedBerth", kBerthList, NarrowCase::Find, "ID = 4", "BName", "a2 - Active "},
        NarrowCase{"FindAddedCustomer", "Customer", NarrowCase::Find, "ID = 4", "Name", "Smart"},
        NarrowCase{"FindChosenCustomer", "Customer", NarrowCase::Find, "ID = 2", "Name", "O'Brien"},
        NarrowCase{"FindBookedBerth", "SELECT BerthID from BookingBerth WHERE BookingID = 2", NarrowCase::Find,
                   "BerthID = 2", "BerthID", "2"},
        NarrowCase{"FindBerthNotInBooking", "SELECT BerthID from BookingBerth WHERE BookingID = 2", NarrowCase::Find,
                   "BerthID = 4", "BerthID", "EOF"},
        NarrowCase{"FindAvailableBerthByName", "Berth", NarrowCase::Find, "Name = 'a1'", "DailyHireCharge", "30"},
        NarrowCase{"FindBookingToLoad", "Booking", NarrowCase::Find, "ID = 2", "BookedBy", "Bob"},
        NarrowCase{"FindCustomerOfCancelledBooking", "Customer", NarrowCase::Find, "ID = 1", "Name", "Smith"},
        NarrowCase{"FindChartBooking", kChartLines, NarrowCase::Find, "BerthName = 'A1'", "ID", "2"},
        NarrowCase{"FindChartBerth", "SELECT ID, Name, Active FROM Berth", NarrowCase::Find, "Name = 'B1'", "Active",
                   "false"},
        NarrowCase{"FindSummaryBooking", "Booking", NarrowCase::Find, "ID = 3", "CustomerID", "1"},
        NarrowCase{"FindSummaryCustomer", "Customer", NarrowCase::Find, "ID = 3", "Name", "Jones"},
        NarrowCase{"FindBerthForNotes", "Berth", NarrowCase::Find, "ID = 1", "Notes", "by the crane"}),
    [](const auto &info) { return caseName(info.param.name); });

// --- what the windows do with these recordsets beyond reading ---------------------

using SqlTextUse = DbTest;

TEST_F(SqlTextUse, AvailabilityInsideTheBookedPeriodFindsTheBerthTaken)
{
    // Arriving one hour later than booking 3 ends still overlaps nothing, arriving
    // one hour earlier overlaps it.
    const QVariant to(QDateTime(QDate(2026, 12, 9), QTime(10, 0)));
    auto later = connection().ExecuteQuery(QString::fromStdString(kAvailableNew),
                                           {to, QDateTime(QDate(2026, 12, 8), QTime(11, 0))});
    EXPECT_EQ(columnTexts(*later, QStringLiteral("Name")), QStringList({"A1", "a2"}));
    auto earlier = connection().ExecuteQuery(QString::fromStdString(kAvailableNew),
                                             {to, QDateTime(QDate(2026, 12, 8), QTime(9, 0))});
    EXPECT_EQ(columnTexts(*earlier, QStringLiteral("Name")), QStringList({"a2"}));
}

TEST_F(SqlTextUse, BerthListWritesActiveToBerthAndKeepsItsSortOnRequery)
{
    auto list = open(QString::fromUtf8(kBerthList));
    list->setSort(QStringLiteral("BNAME"));
    list->Find(QStringLiteral("ID = 3"));
    ASSERT_FALSE(list->isEOF());
    list->setValue(QStringLiteral("Active"), !list->value(QStringLiteral("Active")).toBool());
    list->Update();
    EXPECT_EQ(committedScalar(QStringLiteral("SELECT Active || '' FROM Berth WHERE ID = 3")).toString(), "-1");
    list->Requery();
    EXPECT_EQ(list->Sort(), QStringLiteral("BNAME"));
    EXPECT_EQ(columnTexts(*list, QStringLiteral("BName")),
              QStringList({"A1 (booked) - Active ", "a2 - Active ", "B1 - Active ", "C1 (booked) - Active "}));
}

TEST_F(SqlTextUse, ReservationExportHeaderHasJetColumnNames)
{
    auto rows = open(QString::fromStdString(kReservations), db::adLockOptimistic, db::adCmdText);
    QStringList names;
    for (int i = 0; i < rows->fieldCount(); ++i)
        names << rows->fieldName(i);
    EXPECT_EQ(names, QStringList({"FromDate", "ToDate", "BookedBy", "Customer", "Notes", "NoAdults", "NoKids",
                                  "OtherCharges", "VAT", "TotalPayable", "AmountPayed", "PaymentMethod", "CreditCardNo",
                                  "CreditCardExpiry", "CreditCardType", "CreditCardCV2No", "CostOfHire",
                                  "BerthConfirmationNumber", "GuestConfirmationNumber", "PowerRequirements",
                                  "ClubMember"}));
    EXPECT_EQ(rows->fieldType(rows->fieldIndex(QStringLiteral("ClubMember"))), db::FieldType::Boolean);
    EXPECT_EQ(rows->fieldType(rows->fieldIndex(QStringLiteral("Notes"))), db::FieldType::Memo);
}

TEST_F(SqlTextUse, CompanyFormWritesColumnsWithBlanks)
{
    auto other = openAnother();
    db::Recordset company;
    company.Open(QStringLiteral("select CompanyID,[Company Name],[Trading Name],Street,Area,Town,County,Postcode,"
                                "[Telephone No],[VAT No],[Receipt Footer],TermsandConditions from Company"),
                 other.get(), db::adLockOptimistic);
    company.setValue(QStringLiteral("Receipt Footer"), QStringLiteral("See you next season"));
    company.UpdateBatch();
    EXPECT_EQ(committedScalar(QStringLiteral("SELECT [Receipt Footer] FROM Company")).toString(),
              QStringLiteral("See you next season"));
    EXPECT_FALSE(company.isFieldUpdatable(0));
}

TEST_F(SqlTextUse, BerthEditorSavesATypeChangeWhenMovingOn)
{
    auto other = openAnother();
    db::Recordset berths;
    berths.Open(QStringLiteral("select ID,Name,Length,Width,HasPower,OwnerID,TypeID,Notes,Active,DailyHireCharge,"
                               "MonthlyHireCharge,WeeklyHireCharge from Berth"),
                other.get(), db::adLockOptimistic);
    berths.setValue(QStringLiteral("TypeID"), 4);
    berths.MoveNext();
    EXPECT_EQ(committedScalar(QStringLiteral("SELECT TypeID FROM Berth WHERE ID = 1")).toInt(), 4);
    EXPECT_EQ(berths.AbsolutePosition(), 2);
}

TEST_F(SqlTextUse, SummaryReplacesTheScratchRowOfAKeylessTable)
{
    auto other = openAnother();
    db::Recordset scratch;
    scratch.Open(QStringLiteral("SELECT InvTemp.* FROM InvTemp;"), other.get(), db::adLockOptimistic);
    scratch.Delete();
    scratch.AddNew();
    scratch.setValue(QStringLiteral("CostOfHire"), 12.5);
    scratch.setValue(QStringLiteral("ID"), 1);
    scratch.setValue(QStringLiteral("FromDate"), QDateTime(QDate(2026, 12, 8), QTime(10, 0)));
    scratch.setValue(QStringLiteral("ClubMember"), true);
    scratch.Update();
    EXPECT_EQ(committedScalar(QStringLiteral("SELECT COUNT(*) FROM InvTemp")).toInt(), 1);
    EXPECT_EQ(committedScalar(QStringLiteral("SELECT ID || ' ' || CostOfHire || ' ' || FromDate || ' ' || "
                                             "ClubMember || ' ' || CompanyID FROM InvTemp"))
                  .toString(),
              QStringLiteral("1 12.5 2026-12-08 10:00:00 -1 1"));
    // The database's default for CompanyID is read back into the row.
    EXPECT_EQ(scratch.value(QStringLiteral("CompanyID")).toInt(), 1);
}

TEST_F(SqlTextUse, BookingFormAddsBookingAndLinesAndReadsTheKeyBack)
{
    connection().BeginTrans();
    auto bookings = open(QStringLiteral("Booking"), db::adLockOptimistic, db::adCmdTableDirect);
    bookings->AddNew();
    bookings->setValue(QStringLiteral("FromDate"), kArrival);
    bookings->setValue(QStringLiteral("ToDate"), kDeparture);
    bookings->setValue(QStringLiteral("CustomerID"), 2);
    bookings->setValue(QStringLiteral("TotalPayable"), 12.34567);
    bookings->Update();
    const int id = bookings->value(QStringLiteral("ID")).toInt();
    EXPECT_EQ(id, 5);
    EXPECT_TRUE(bookings->value(QStringLiteral("Created")).toDateTime().isValid());
    auto lines = open(QStringLiteral("BookingBerth"), db::adLockOptimistic, db::adCmdTableDirect);
    for (int berth : {2, 4}) {
        lines->AddNew();
        lines->setValue(QStringLiteral("BookingID"), id);
        lines->setValue(QStringLiteral("BerthID"), berth);
        lines->Update();
    }
    connection().CommitTrans();
    EXPECT_EQ(committedScalar(QStringLiteral("SELECT group_concat(BerthID) FROM BookingBerth WHERE BookingID = 5"))
                  .toString(),
              QStringLiteral("2,4"));
    EXPECT_DOUBLE_EQ(committedScalar(QStringLiteral("SELECT TotalPayable FROM Booking WHERE ID = 5")).toDouble(), 12.3457);
}

TEST_F(SqlTextUse, BerthNotesCommitOrRollBackEveryMovedEdit)
{
    for (const bool commit : {false, true}) {
        connection().BeginTrans();
        auto notes = open(QStringLiteral("Berth"));
        for (int id : {1, 2, 3}) {
            notes->MoveFirst();
            notes->Find(QStringLiteral("ID = %1").arg(id));
            notes->setValue(QStringLiteral("Notes"), QStringLiteral("note %1").arg(id));
        }
        notes->Update();
        if (commit)
            connection().CommitTrans();
        else
            connection().RollbackTrans();
        EXPECT_EQ(committedScalar(QStringLiteral("SELECT group_concat(coalesce(Notes, '-'), '|') FROM Berth")).toString(),
                  commit ? QStringLiteral("note 1|note 2|note 3|-") : QStringLiteral("by the crane|-|-|-"));
    }
}

TEST_F(SqlTextUse, ReportShapesReadIntoTheirLevels)
{
    const db::ShapeLevel receipt = db::parseShapeCommand(QStringLiteral(
        " SHAPE {SELECT * FROM `Company`}  AS Receipt APPEND (( SHAPE {SELECT * FROM `InvTemp`}  AS InvTemp APPEND "
        "({SELECT * FROM `Customer`}  AS Customer RELATE 'CustomerID' TO 'ID') AS Customer) AS InvTemp RELATE "
        "'CompanyID' TO 'CompanyID') AS InvTemp"));
    EXPECT_EQ(receipt.alias, QStringLiteral("Receipt"));
    EXPECT_EQ(receipt.command, QStringLiteral("SELECT * FROM `Company`"));
    ASSERT_EQ(receipt.children.size(), 1u);
    const db::ShapeLevel &invTemp = receipt.children[0];
    EXPECT_EQ(invTemp.alias, QStringLiteral("InvTemp"));
    EXPECT_EQ(invTemp.command, QStringLiteral("SELECT * FROM `InvTemp`"));
    EXPECT_EQ(invTemp.parentField, QStringLiteral("CompanyID"));
    EXPECT_EQ(invTemp.childField, QStringLiteral("CompanyID"));
    ASSERT_EQ(invTemp.children.size(), 1u);
    EXPECT_EQ(invTemp.children[0].alias, QStringLiteral("Customer"));
    EXPECT_EQ(invTemp.children[0].parentField, QStringLiteral("CustomerID"));
    EXPECT_EQ(invTemp.children[0].childField, QStringLiteral("ID"));

    const db::ShapeLevel booking = db::parseShapeCommand(QStringLiteral(
        " SHAPE {SELECT * FROM `Company`}  AS Booking APPEND (( SHAPE {SELECT * FROM `InvTemp`}  AS INVT APPEND "
        "({SELECT * FROM `Customer`}  AS Cust RELATE 'CustomerID' TO 'ID') AS Cust) AS INVT RELATE 'CompanyID' TO "
        "'CompanyID') AS INVT"));
    EXPECT_EQ(booking.alias, QStringLiteral("Booking"));
    ASSERT_EQ(booking.children.size(), 1u);
    EXPECT_EQ(booking.children[0].alias, QStringLiteral("INVT"));
    ASSERT_EQ(booking.children[0].children.size(), 1u);
    EXPECT_EQ(booking.children[0].children[0].alias, QStringLiteral("Cust"));

    // The inner commands run as they stand.
    EXPECT_EQ(connection().ExecuteQuery(booking.command)->RecordCount(), 1);
    EXPECT_EQ(connection().ExecuteQuery(booking.children[0].command)->RecordCount(), 1);
    EXPECT_EQ(connection().ExecuteQuery(booking.children[0].children[0].command)->RecordCount(), 4);
}

} // namespace
