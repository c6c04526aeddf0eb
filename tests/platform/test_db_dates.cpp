// Dates in the hour the clocks skip in spring: no local QDateTime is valid there, yet
// a reading such as 01:30 on that night is a date, written, bound and compared as such.

#include <gtest/gtest.h>

#include <time.h>

#include <QDateTime>

#include "platform/db/Connection.h"
#include "platform/db/Error.h"
#include "platform/db/FieldValue.h"
#include "platform/db/Recordset.h"
#include "platform/text/Text.h"
#include "platform/ui/RecordsetModel.h"
#include "support/DbTestData.h"

using namespace quorl;
using namespace quorl::dbtest;

namespace {

// British summer time begins on 29 March 2026 at 01:00, when the clocks go to 02:00.
const QDate kClocksGoForward(2026, 3, 29);

class SkippedHourTest : public DbTest
{
protected:
    void SetUp() override
    {
        m_hadZone = qEnvironmentVariableIsSet("TZ");
        m_zone = qgetenv("TZ");
        // The rules spelt out, so no zone database is needed.
        qputenv("TZ", "GMT0BST,M3.5.0/1,M10.5.0");
        tzset();
        DbTest::SetUp();
        if (QDateTime(kClocksGoForward, QTime(1, 30)).isValid())
            GTEST_SKIP() << "this Qt resolves a skipped local time itself";
        connection().Execute(QStringLiteral("UPDATE Booking SET FromDate = '2026-03-29 01:00:00' WHERE ID = 4"));
    }

    void TearDown() override
    {
        DbTest::TearDown();
        if (m_hadZone)
            qputenv("TZ", m_zone);
        else
            qunsetenv("TZ");
        tzset();
    }

private:
    bool m_hadZone = false;
    QByteArray m_zone;
};

TEST_F(SkippedHourTest, IsWrittenAsItsWallClockReadingNotAsNull)
{
    auto bookings = open(QStringLiteral("Booking"));
    bookings->setValue(QStringLiteral("ToDate"), QDateTime(kClocksGoForward, QTime(1, 30)));
    bookings->Update();
    EXPECT_EQ(committedScalar(QStringLiteral("SELECT ToDate || '' FROM Booking WHERE ID = 1")).toString(),
              QStringLiteral("2026-03-29 01:30:00"));
}

TEST_F(SkippedHourTest, IsBoundAsAParameterNotAsNull)
{
    // Bound as Null, the period would overlap nothing and every berth look free.
    auto rows = connection().ExecuteQuery(QStringLiteral("PARAMETERS DATETO DateTime; SELECT COUNT(*) FROM Booking "
                                                         "WHERE FromDate < [DATETO]"),
                                          {QDateTime(kClocksGoForward, QTime(1, 30))});
    EXPECT_EQ(rows->value(0).toInt(), 1);
}

TEST_F(SkippedHourTest, ComparesInFiltersAndFinds)
{
    auto bookings = open(QStringLiteral("Booking"));
    bookings->setFilter(QStringLiteral("FromDate >= #2026/3/29 1:30#"));
    EXPECT_EQ(columnTexts(*bookings, QStringLiteral("ID")), QStringList({"1", "2", "3"}));
    bookings->setFilter(QStringLiteral(" (FromDate < #2026/3/29 1:30# AND ToDate > #2026/3/29 1:0#) "));
    EXPECT_EQ(columnTexts(*bookings, QStringLiteral("ID")), QStringList({"4"}));
    bookings->setFilter(QString());
    bookings->Find(QStringLiteral("FromDate = #2026/3/29 1:0#"));
    ASSERT_FALSE(bookings->isEOF());
    EXPECT_EQ(bookings->value(QStringLiteral("ID")).toInt(), 4);
}

TEST_F(SkippedHourTest, ReadsBackAsStored)
{
    auto bookings = open(QStringLiteral("SELECT FromDate FROM Booking WHERE ID = 4"));
    const QVariant from = bookings->value(QStringLiteral("FromDate"));
    ASSERT_EQ(from.typeId(), QMetaType::QDateTime);
    // Never moved through the local zone, where 01:00 that night would read 02:00.
    EXPECT_TRUE(from.toDateTime().isValid());
    EXPECT_EQ(from.toDateTime().date(), kClocksGoForward);
    EXPECT_EQ(from.toDateTime().time(), QTime(1, 0));
    // An hour on from there is 02:00, as the wall clock counts.
    EXPECT_EQ(from.toDateTime().addSecs(3600).time(), QTime(2, 0));
}

TEST_F(SkippedHourTest, ShowsInAGridAndInTextAsStored)
{
    auto bookings = open(QStringLiteral("SELECT FromDate FROM Booking WHERE ID = 4"));
    ui::RecordsetModel grid;
    grid.setRecordset(bookings.get());
    EXPECT_EQ(grid.index(0, 0).data().toString(), QStringLiteral("29/03/2026 01:00:00"));
    EXPECT_EQ(text::formatGeneralDate(bookings->value(0).toDateTime()), QStringLiteral("29/03/2026 01:00:00"));
}

TEST_F(SkippedHourTest, ComparesWithALocalValueByTheReading)
{
    // A value a window makes in local time finds the stored row showing the same reading.
    auto bookings = open(QStringLiteral("Booking"));
    bookings->Find(QStringLiteral("FromDate = #2026/3/29 1:0#"));
    ASSERT_FALSE(bookings->isEOF());
    const QVariant stored = bookings->value(QStringLiteral("FromDate"));
    EXPECT_EQ(db::compareCells(stored, QDateTime(kClocksGoForward, QTime(1, 0)), db::FieldType::Date), 0);
    EXPECT_LT(db::compareCells(stored, QDateTime(kClocksGoForward, QTime(2, 30)), db::FieldType::Date), 0);
}

} // namespace
