#include <ostream>

#include <gtest/gtest.h>

#include <QRegularExpression>

#include "ReportWorld.h"
#include "platform/db/Recordset.h"
#include "reports/ListLayouts.h"
#include "reports/ReportFormats.h"
#include "reports/ReportPreview.h"

namespace quorl {
namespace {

using reports::ListLayout;

// Rows as the report chooser hands them over: every field is text.
std::unique_ptr<db::Recordset> listRows(const QStringList &fields, const QList<QStringList> &rows)
{
    auto recordset = std::make_unique<db::Recordset>();
    for (const QString &field : fields)
        recordset->appendField(field, db::FieldType::Text);
    recordset->Open();
    for (const QStringList &row : rows) {
        recordset->AddNew();
        for (qsizetype index = 0; index < fields.size(); ++index)
            recordset->setValue(fields.at(index), row.value(index));
        recordset->Update();
    }
    return recordset;
}

const QStringList kBookingFields = {"From", "To", "Created", "Customer", "Berths"};

class ListLayouts : public ReportWorld {};

TEST_F(ListLayouts, BookingListNumbersItsPagesAndKeepsEachBookingWhole)
{
    QList<QStringList> rows;
    for (int index = 1; index <= 12; ++index) {
        rows.append({QStringLiteral("%1.12.2026 10:00").arg(index, 2, 10, QLatin1Char('0')),
                     QStringLiteral("%1.12.2026 14:30").arg(index + 1, 2, 10, QLatin1Char('0')),
                     QStringLiteral("01.12.2026 09:15"), QStringLiteral("O'Brien £%1, Rose Cottage").arg(index),
                     QStringLiteral("A1, C1")});
    }
    auto recordset = listRows(kBookingFields, rows);
    const reports::ReportDocument document =
        reports::listReport(ListLayout::rptAllBooking, *recordset, QStringLiteral("From: 01.12.2026 to: 31.12.2026"));

    const QString text = printed(document);
    ASSERT_EQ(text.split(QLatin1Char('\f'), Qt::SkipEmptyParts).size(), 2);
    EXPECT_TRUE(text.contains(QStringLiteral("List of all up comming bookings")));
    EXPECT_TRUE(text.contains(QStringLiteral("From: 01.12.2026 to: 31.12.2026")));
    EXPECT_TRUE(text.contains(QStringLiteral("List: 1 of 2")));
    EXPECT_TRUE(text.contains(QStringLiteral("List: 2 of 2")));
    EXPECT_FALSE(text.contains(QStringLiteral("%p")));
    // Every booking is printed once, with its customer and its berths, on one page.
    for (int index = 1; index <= 12; ++index) {
        const QString customer = QStringLiteral("O'Brien £%1, Rose Cottage").arg(index);
        EXPECT_EQ(text.count(customer), 1) << customer.toStdString();
    }
    EXPECT_EQ(text.count(QStringLiteral("Berth(s):")), 12);
    const QStringList pages = text.split(QLatin1Char('\f'), Qt::SkipEmptyParts);
    for (const QString &page : pages)
        EXPECT_EQ(page.count(QStringLiteral("Booking added:")), page.count(QStringLiteral("Berth(s):")));
}

TEST_F(ListLayouts, PeriodSalesFormatTheAmountsAsMoney)
{
    const QStringList fields = {"From", "To", "Created", "Customer", "CostofHire", "Berths", "OtherCharges", "VAT",
                                "TotalPayable"};
    auto recordset = listRows(fields, {{"08.12.2026 10:00", "10.12.2026 10:00", "01.12.2026 09:15",
                                        "O'Brien, Mill House", "1234.5", "A1, C1", "", "246.9", "1481.4"},
                                       {"11.12.2026 10:00", "12.12.2026 10:00", "02.12.2026 09:15", "Smith, ",
                                        "12", "C1", "0.005", "-3", "9"}});
    const QString text = printed(reports::listReport(ListLayout::rptPeriodsales, *recordset, QStringLiteral("To: 31.12.2026")));
    EXPECT_TRUE(text.contains(QStringLiteral("Period Sales")));
    EXPECT_TRUE(text.contains(QStringLiteral("Total £")));
    EXPECT_TRUE(text.contains(QStringLiteral("To: 31.12.2026")));
    EXPECT_TRUE(text.contains(QStringLiteral("O'Brien, Mill House")));
    for (const char *amount : {"£1,234.50", "£246.90", "£1,481.40", "£12.00", "£0.01", "-£3.00", "£9.00"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(amount))) << amount << "\n" << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("List: 1 of 1")));
}

TEST_F(ListLayouts, PeriodSalesHeadEveryPageAndCountThePagesAtTheEnd)
{
    const QStringList fields = {"From", "To", "Created", "Customer", "CostofHire", "Berths", "OtherCharges", "VAT",
                                "TotalPayable"};
    QList<QStringList> rows;
    for (int index = 1; index <= 40; ++index) {
        rows.append({"08.12.2026 10:00", "10.12.2026 10:00", "01.12.2026 09:15",
                     QStringLiteral("Customer %1, House").arg(index), "10", "C1", "0", "2", "12"});
    }
    auto recordset = listRows(fields, rows);
    const reports::ReportDocument document = reports::listReport(ListLayout::rptPeriodsales, *recordset, QString());
    const QStringList pages = printed(document).split(QLatin1Char('\f'), Qt::SkipEmptyParts);
    ASSERT_EQ(pages.size(), 2);
    // The title opens the report, above the first page's column heads; later pages carry the heads alone.
    EXPECT_LT(pages.at(0).indexOf(QStringLiteral("Period Sales")), pages.at(0).indexOf(QStringLiteral("Client:")));
    EXPECT_FALSE(pages.at(1).contains(QStringLiteral("Period Sales")));
    EXPECT_TRUE(pages.at(1).contains(QStringLiteral("Client:")));
    EXPECT_FALSE(pages.at(0).contains(QStringLiteral("List:")));
    EXPECT_TRUE(pages.at(1).contains(QStringLiteral("List: 2 of 2")));
    EXPECT_EQ(pages.join(QString()).count(QStringLiteral("£12.00")), 40);
}

TEST_F(ListLayouts, NoRowsShowNoPreview)
{
    auto recordset = listRows(kBookingFields, {});
    EXPECT_FALSE(reports::SetReport(ListLayout::rptTodayLeft, *recordset, QStringLiteral("08.12.2026")));
    EXPECT_EQ(reports::previewOf(QStringLiteral("rptTodayLeft")), nullptr);
}

struct MoneyCase {
    const char *name;
    QVariant value;
    const char *shown;
};

void PrintTo(const MoneyCase &c, std::ostream *os) { *os << c.name; }
class MoneyTexts : public ::testing::TestWithParam<MoneyCase> {};

TEST_P(MoneyTexts, ReadAsTheReportsPrintThem)
{
    EXPECT_EQ(reports::moneyText(GetParam().value), QString::fromUtf8(GetParam().shown));
}

INSTANTIATE_TEST_SUITE_P(
    Amounts, MoneyTexts,
    ::testing::Values(MoneyCase{"Null", QVariant(), ""}, MoneyCase{"EmptyText", QString(), ""},
                      MoneyCase{"Millions", 1234567.891, "£1,234,567.89"},
                      MoneyCase{"NotANumber", QStringLiteral("n/a"), "n/a"}),
    [](const auto &info) { return std::string(info.param.name); });

} // namespace
} // namespace quorl
