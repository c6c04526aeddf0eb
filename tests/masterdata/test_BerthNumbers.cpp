#include <memory>
#include <optional>
#include <ostream>

#include <QLineEdit>

#include "core/modDatabase.h"
#include "masterdata/frmBerth.h"
#include "masterdata/frmEditBerths.h"
#include "platform/db/Connection.h"
#include "platform/db/Recordset.h"
#include "platform/db/SqlText.h"
#include "platform/ui/DataCombo.h"
#include "support/QuorlTest.h"

namespace quorl {
namespace {

// The berth dialog and the berth editor read sizes and charges alike: a text one
// takes, the other takes too, as the same number.
struct NumberText {
    const char *name;
    const char *text;
    bool money;                   // a charge, else a size
    std::optional<double> stored; // nothing: refused
};

void PrintTo(const NumberText &c, std::ostream *out)
{
    *out << c.name;
}

class BerthNumberTexts : public QuorlTest, public ::testing::WithParamInterface<NumberText> {
protected:
    void SetUp() override
    {
        QuorlTest::SetUp();
        DbConnection = OpenConnection(databasePath(), QString(), 500);
        ASSERT_TRUE(DbConnection);
        DbConnection->Execute(QStringLiteral(
            "INSERT INTO Berth (ID, Name, Length, TypeID, Active, DailyHireCharge) VALUES (1, 'A1', 10, 1, -1, 12.5)"));
    }

    void TearDown() override
    {
        DbConnection.reset();
        QuorlTest::TearDown();
    }

    QString column() const { return GetParam().money ? QStringLiteral("DailyHireCharge") : QStringLiteral("Length"); }

    QVariant stored(const QString &berth) const
    {
        auto rows = DbConnection->ExecuteQuery(
            QStringLiteral("SELECT %1 FROM Berth WHERE Name = %2").arg(column(), db::SqlQuote(berth)));
        return rows->isEOF() ? QVariant(QStringLiteral("<no berth>")) : rows->value(0);
    }
};

TEST_P(BerthNumberTexts, DialogAddsTheBerthWithTheNumberOrRefusesTheText)
{
    const NumberText &c = GetParam();
    frmBerth dialog;
    ASSERT_TRUE(dialog.prepare());
    dialog.findChild<QLineEdit *>(QStringLiteral("txtName"))->setText(QStringLiteral("N1"));
    dialog.findChild<ui::DataCombo *>(QStringLiteral("cboBerthType"))->setText(QStringLiteral("Pontoon"));
    dialog.findChild<QLineEdit *>(c.money ? QStringLiteral("txtDailyHireCharge") : QStringLiteral("txtLength"))
        ->setText(QString::fromUtf8(c.text));
    if (!c.stored)
        expectMessage(QStringLiteral("Please enter a valid number to continue"), ui::vbOK);
    dialog.cmdAdd_Click();
    dialog.Command1_Click();
    if (c.stored)
        EXPECT_DOUBLE_EQ(stored(QStringLiteral("N1")).toDouble(), *c.stored);
    else
        EXPECT_EQ(stored(QStringLiteral("N1")), QVariant(QStringLiteral("<no berth>")));
}

TEST_P(BerthNumberTexts, EditorStoresTheNumberOrRefusesTheTextAndKeepsTheRow)
{
    const NumberText &c = GetParam();
    const QVariant before = stored(QStringLiteral("A1"));
    frmEditBerths editor;
    editor.txtFields[c.money ? 9 : 2]->setText(QString::fromUtf8(c.text));
    if (!c.stored)
        expectMessage(column(), ui::vbOK);
    editor.cmdUpdate_Click();
    if (c.stored) {
        EXPECT_DOUBLE_EQ(stored(QStringLiteral("A1")).toDouble(), *c.stored);
    } else {
        EXPECT_EQ(stored(QStringLiteral("A1")), before);
        EXPECT_EQ(editor.txtFields[c.money ? 9 : 2]->text(), QString::fromUtf8(c.text));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, BerthNumberTexts,
    ::testing::Values(NumberText{"ChargeWithPoundSign", "£15", true, 15.0},
                      NumberText{"ChargeWithSignAndPound", "-£2.50", true, -2.5},
                      NumberText{"ChargeWithBlanksAround", " 12.75 ", true, 12.75},
                      NumberText{"ChargeRoundedToFourPlaces", "0.123456", true, 0.1235},
                      NumberText{"SizeWithExponent", "1.5e1", false, 15.0},
                      NumberText{"SizeWithLeadingPoint", ".5", false, 0.5},
                      NumberText{"SizeWithPoundSign", "£15", false, std::nullopt},
                      NumberText{"DecimalComma", "3,5", false, std::nullopt},
                      NumberText{"GroupedThousands", "1,000", true, std::nullopt},
                      NumberText{"PoundSignAlone", "£", true, std::nullopt},
                      NumberText{"TwoPoints", "1.2.3", false, std::nullopt},
                      NumberText{"NotANumber", "nan", false, std::nullopt},
                      NumberText{"Infinite", "inf", true, std::nullopt},
                      NumberText{"BeyondTheMoneyRange", "1e308", true, std::nullopt},
                      NumberText{"BeyondDouble", "1e400", false, std::nullopt}),
    [](const ::testing::TestParamInfo<NumberText> &info) { return std::string(info.param.name); });

} // namespace
} // namespace quorl
