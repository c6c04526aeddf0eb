#include "reports/modExport.h"

#include <ostream>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "masterdata/MasterDataTest.h"

namespace quorl {
namespace {

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<no file>");
}

class ExportTest : public MasterDataTest
{
protected:
    QString target() const { return worldDir() + QStringLiteral("/out.csv"); }

    void addCustomers()
    {
        exec(QStringLiteral("INSERT INTO Customer (Name, HouseName, Street, Area, Town, PostCode, TelNo, EmailAddress, "
                            "Notes, ClubMember, MembershipNo) VALUES ('Smith, John', 'The \"Anchor\"', NULL, '', "
                            "'Brighton', 'BN1 1AA', '01273 123456', 'j@x.example', 'Line one' || char(10) || "
                            "'Line two', -1, 'M7')"));
        exec(QStringLiteral("INSERT INTO Customer (Name, ClubMember) VALUES ('O''Brien £', 0)"));
    }

    void addBooking(const QString &bookedBy, const QString &from, const QString &to, int customerId = 1)
    {
        exec(QStringLiteral("INSERT INTO Booking (FromDate, ToDate, BookedBy, CustomerID, OtherCharges, VAT, "
                            "TotalPayable, AmountPayed, CostOfHire) VALUES ('%1', '%2', '%3', %4, 0, 0, 0, 0, 0)")
                 .arg(from, to, bookedBy)
                 .arg(customerId));
    }
};

TEST_F(ExportTest, CustomersFileKeepsCommasQuotesLineBreaksAndPoundsInsideTheirFields)
{
    addCustomers();
    expectFileDialog(target());
    EXPECT_EQ(ExportCustomers(), ExportOutcome::Written);

    const QByteArray expected =
        "\"ID\",\"Name\",\"HouseName\",\"Street\",\"Area\",\"Town\",\"PostCode\",\"TelNo\",\"MobileNo\","
        "\"EmailAddress\",\"Notes\",\"ClubMember\",\"MembershipNo\"\r\n"
        "\"1\",\"Smith, John\",\"The \"\"Anchor\"\"\",\"\",\"\",\"Brighton\",\"BN1 1AA\",\"01273 123456\",\"\","
        "\"j@x.example\",\"Line one\r\nLine two\",\"True\",\"M7\"\r\n"
        "\"2\",\"O'Brien \xA3\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"False\",\"\"\r\n";
    EXPECT_EQ(fileBytes(target()), expected);
    EXPECT_EQ(fileDialogRequests().at(0).fileName, QStringLiteral("Customer"));
    EXPECT_TRUE(eventLog().contains(QStringLiteral("[Customers exported]")));
}

TEST_F(ExportTest, ReservationsFileHasItsColumnsAndLeavesOutBookingsWithoutCustomer)
{
    addCustomers();
    exec(QStringLiteral(
        "INSERT INTO Booking (FromDate, ToDate, BookedBy, CustomerID, Notes, NoAdults, NoKids, OtherCharges, VAT, "
        "TotalPayable, AmountPayed, PaymentMethodID, CreditCardNo, CreditCardExpiry, CreditCardType, "
        "CreditCardCV2No, CostOfHire, BerthConfirmationNumber, GuestConfirmationNumber, PowerRequirements, "
        "ClubMember) VALUES ('2026-12-07 14:00:00', '2026-12-09 10:00:00', 'Anna', 1, 'Needs \"shore\" power, 16A', "
        "2, 0, 12.5, 20, 132.5, 50, 3, '4111 1111 1111 1111', '12/28', 'Visa', '123', 100, 4711, 'G-1', '16A', -1)"));
    addBooking(QString(), QStringLiteral("2026-12-10 00:00:00"), QStringLiteral("2026-12-12 00:00:00"), 2);
    addBooking(QStringLiteral("Orphan"), QStringLiteral("2026-12-10 09:00:00"), QStringLiteral("2026-12-11 09:00:00"), 99);
    expectFileDialog(target());
    EXPECT_EQ(ExportReservations(), ExportOutcome::Written);

    const QByteArray expected =
        "\"FromDate\",\"ToDate\",\"BookedBy\",\"Customer\",\"Notes\",\"NoAdults\",\"NoKids\",\"OtherCharges\","
        "\"VAT\",\"TotalPayable\",\"AmountPayed\",\"PaymentMethod\",\"CreditCardNo\",\"CreditCardExpiry\","
        "\"CreditCardType\",\"CreditCardCV2No\",\"CostOfHire\",\"BerthConfirmationNumber\","
        "\"GuestConfirmationNumber\",\"PowerRequirements\",\"ClubMember\"\r\n"
        "\"07/12/2026 14:00:00\",\"09/12/2026 10:00:00\",\"Anna\",\"Smith, John\",\"Needs \"\"shore\"\" power, 16A\","
        "\"2\",\"0\",\"12.5\",\"20\",\"132.5\",\"50\",\"Credit Card\",\"4111 1111 1111 1111\",\"12/28\",\"Visa\","
        "\"123\",\"100\",\"4711\",\"G-1\",\"16A\",\"True\"\r\n"
        // A booking without payment method has an empty one; midnight shows no time.
        "\"10/12/2026\",\"12/12/2026\",\"\",\"O'Brien \xA3\",\"\",\"\",\"\",\"0\",\"0\",\"0\",\"0\",\"\",\"\",\"\","
        "\"\",\"\",\"0\",\"\",\"\",\"\",\"False\"\r\n";
    EXPECT_EQ(fileBytes(target()), expected);
    EXPECT_TRUE(eventLog().contains(QStringLiteral("[Reservations exported]")));
}

TEST_F(ExportTest, AnExistingFileIsReplacedWhole)
{
    addCustomers();
    QFile old(target());
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write(QByteArray(4000, '#'));
    old.close();
    expectFileDialog(target());
    ExportCustomers();
    EXPECT_TRUE(fileBytes(target()).endsWith("\"False\",\"\"\r\n"));
    EXPECT_FALSE(fileBytes(target()).contains('#'));
}

TEST_F(ExportTest, NoRowsSaysSoAndNeitherAsksForAFileNorLogs)
{
    expectMessage(QStringLiteral("There is no data to export"), ui::vbOK);
    EXPECT_EQ(ExportCustomers(), ExportOutcome::NoData);
    EXPECT_EQ(eventLog(), QString());
}

TEST_F(ExportTest, CancelWritesNothingAndLogsNothing)
{
    addCustomers();
    expectFileDialog(QString());
    EXPECT_EQ(ExportCustomers(), ExportOutcome::Cancelled);
    EXPECT_EQ(eventLog(), QString());
}

// Where the chosen file cannot be made: the failure is shown, nothing is logged as exported.
struct UnwritableCase {
    const char *name;
    QString (*path)(const QString &world);
};

void PrintTo(const UnwritableCase &c, std::ostream *os) { *os << c.name; }
class UnwritableExportTest : public ExportTest, public ::testing::WithParamInterface<UnwritableCase>
{
};

TEST_P(UnwritableExportTest, FailureIsReportedAndNoEventWritten)
{
    addCustomers();
    QFile plain(worldDir() + QStringLiteral("/plain.txt"));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    ASSERT_TRUE(QDir(worldDir()).mkdir(QStringLiteral("folder")));
    const QString path = GetParam().path(worldDir());
    expectFileDialog(path);
    expectMessage(QStringLiteral("Can't export file:"), ui::vbOK);
    EXPECT_EQ(ExportCustomers(), ExportOutcome::Failed);
    EXPECT_EQ(eventLog(), QString());
    EXPECT_FALSE(QFileInfo(path).isFile());
}

INSTANTIATE_TEST_SUITE_P(
    Targets, UnwritableExportTest,
    ::testing::Values(UnwritableCase{"FolderIsARegularFile", [](const QString &w) { return w + "/plain.txt/out.csv"; }},
                      UnwritableCase{"NameIsAFolder", [](const QString &w) { return w + "/folder"; }}),
    [](const auto &info) { return std::string(info.param.name); });

// Notes stored by older versions hold their line breaks as lone LFs or CRs; the
// file holds every one as CR LF, as it does its own line ends.
struct NoteCase {
    const char *name;
    const char *stored;   // SQL text of the note
    QByteArray written;
};

void PrintTo(const NoteCase &c, std::ostream *os) { *os << c.name; }
class NoteLineBreakTest : public ExportTest, public ::testing::WithParamInterface<NoteCase>
{
};

TEST_P(NoteLineBreakTest, EveryLineBreakInsideTheFieldIsCrLf)
{
    exec(QStringLiteral("INSERT INTO Customer (Name, Notes, ClubMember) VALUES ('Smith', %1, 0)")
             .arg(QString::fromLatin1(GetParam().stored)));
    expectFileDialog(target());
    ASSERT_EQ(ExportCustomers(), ExportOutcome::Written);
    EXPECT_TRUE(fileBytes(target()).contains(",\"" + GetParam().written + "\",")) << fileBytes(target()).toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    StoredForms, NoteLineBreakTest,
    ::testing::Values(NoteCase{"LoneLf", "'a' || char(10) || 'b'", "a\r\nb"},
                      NoteCase{"LoneCr", "'a' || char(13) || 'b'", "a\r\nb"},
                      NoteCase{"CrLf", "'a' || char(13, 10) || 'b'", "a\r\nb"},
                      NoteCase{"BlankLineBetweenCrLfs", "'a' || char(13, 10, 13, 10) || 'b'", "a\r\n\r\nb"},
                      NoteCase{"LfCrIsTwoBreaks", "'a' || char(10, 13) || 'b'", "a\r\n\r\nb"},
                      NoteCase{"BreaksBesideQuotes", "'\"a\"' || char(10) || char(13) || '\"'",
                               "\"\"a\"\"\r\n\r\n\"\""}),
    [](const auto &info) { return std::string(info.param.name); });

// Today is 8 December 2026 10:47: a booking is in today's export when it touches the day.
struct TodayCase {
    const char *name;
    const char *from;
    const char *to;
    bool included;
};

void PrintTo(const TodayCase &c, std::ostream *os) { *os << c.name; }
class TodaysReservationsTest : public ExportTest, public ::testing::WithParamInterface<TodayCase>
{
};

TEST_P(TodaysReservationsTest, BookingIsInTheExportWhenItTouchesToday)
{
    addCustomers();
    addBooking(QString::fromLatin1(GetParam().name), QString::fromLatin1(GetParam().from),
               QString::fromLatin1(GetParam().to));
    if (GetParam().included) {
        expectFileDialog(target());
        EXPECT_EQ(ExportTodaysReservations(), ExportOutcome::Written);
        EXPECT_TRUE(fileBytes(target()).contains(GetParam().name));
        EXPECT_TRUE(eventLog().contains(QStringLiteral("[Today's reservations exported]")));
    } else {
        expectMessage(QStringLiteral("There is no data to export"), ui::vbOK);
        EXPECT_EQ(ExportTodaysReservations(), ExportOutcome::NoData);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Days, TodaysReservationsTest,
    ::testing::Values(TodayCase{"CoversTheWholeDay", "2026-12-07 14:00:00", "2026-12-09 14:00:00", true},
                      TodayCase{"ArrivesToday", "2026-12-08 15:00:00", "2026-12-10 10:00:00", true},
                      TodayCase{"LeavesToday", "2026-12-05 14:00:00", "2026-12-08 10:00:00", true},
                      TodayCase{"LeftAtMidnight", "2026-12-06 14:00:00", "2026-12-08 00:00:00", false},
                      TodayCase{"ArrivesTomorrow", "2026-12-09 00:00:00", "2026-12-10 10:00:00", false}),
    [](const auto &info) { return std::string(info.param.name); });

} // namespace
} // namespace quorl
