#include <memory>

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

#include "core/modDatabase.h"
#include "masterdata/fmCompany.h"
#include "platform/db/Connection.h"
#include "platform/db/Recordset.h"
#include "platform/ui/Adodc.h"
#include "support/QuorlTest.h"

namespace quorl {
namespace {

class CompanyFormTest : public QuorlTest {
protected:
    void SetUp() override
    {
        QuorlTest::SetUp();
        DbConnection = OpenConnection(databasePath(), QString(), 500);
        ASSERT_TRUE(DbConnection);
    }

    void TearDown() override
    {
        form.reset();
        DbConnection.reset();
        QuorlTest::TearDown();
    }

    QVariant stored(const QString &column) const
    {
        return DbConnection->ExecuteQuery(QStringLiteral("SELECT [%1] FROM Company WHERE CompanyID = 1").arg(column))
            ->value(0);
    }

    std::unique_ptr<fmCompany> form;
};

TEST_F(CompanyFormTest, ShowsTheCompanyRowUnderItsLabelsAndTheKeyWithoutOne)
{
    form = std::make_unique<fmCompany>();
    EXPECT_EQ(form->windowTitle(), "Setup Company Information");
    EXPECT_EQ(form->datPrimaryRS->Caption(), "Record: 1");
    EXPECT_EQ(form->txtFields[0]->text(), "1");
    EXPECT_TRUE(form->txtFields[0]->isReadOnly());
    EXPECT_EQ(form->lblLabels[0], nullptr);
    EXPECT_EQ(form->txtFields[1]->text(), "Your Marina Ltd");
    EXPECT_EQ(form->txtFields[10]->text(), "Thank you for berthing with us.");
    const QStringList captions{"Company Name:", "Trading Name:", "Street:",   "Area:",           "Town:",
                               "County:",       "Postcode:",     "Telephone No:", "VAT No:", "Receipt Footer:",
                               "Terms and Conditions:"};
    for (int index = 1; index <= 11; ++index) {
        ASSERT_NE(form->lblLabels[index], nullptr) << index;
        EXPECT_EQ(form->lblLabels[index]->text(), captions[index - 1]);
        const QWidget *box = index < 11 ? static_cast<QWidget *>(form->txtFields[index]) : form->txtTerms;
        EXPECT_EQ(form->lblLabels[index]->buddy(), box) << index;
    }
    const auto *hint = form->findChild<QLabel *>(QStringLiteral("lblHint"));
    ASSERT_NE(hint, nullptr);
    EXPECT_EQ(hint->text(), "Copy  and paste or type your reservation terms and conditions below. These will appear "
                            "on the booking form.");
}

TEST_F(CompanyFormTest, UpdateWritesEveryColumnIncludingThoseWithBlanksInTheirNames)
{
    form = std::make_unique<fmCompany>();
    form->txtFields[1]->setText(QStringLiteral("Quorl Quay Ltd"));
    form->txtFields[2]->setText(QStringLiteral("Quorl Quay"));
    form->txtFields[7]->setText(QStringLiteral("QQ1 2AB"));
    form->txtFields[8]->setText(QStringLiteral("01234 567890"));
    form->txtFields[9]->setText(QStringLiteral("GB 123 4567 89"));
    form->txtFields[10]->setText(QStringLiteral("Fair winds from O'Hara's crew"));
    form->txtTerms->setPlainText(QStringLiteral("1. Pay on arrival.\n2. Leave by noon."));
    form->cmdUpdate_Click();

    EXPECT_EQ(stored("Company Name").toString(), "Quorl Quay Ltd");
    EXPECT_EQ(stored("Trading Name").toString(), "Quorl Quay");
    EXPECT_EQ(stored("Postcode").toString(), "QQ1 2AB");
    EXPECT_EQ(stored("Telephone No").toString(), "01234 567890");
    EXPECT_EQ(stored("VAT No").toString(), "GB 123 4567 89");
    EXPECT_EQ(stored("Receipt Footer").toString(), "Fair winds from O'Hara's crew");
    EXPECT_TRUE(stored("TermsandConditions").toString().contains("Leave by noon."));
    EXPECT_EQ(stored("Street").toString(), "");

    // A new opening reads what was stored.
    form = std::make_unique<fmCompany>();
    EXPECT_EQ(form->txtFields[10]->text(), "Fair winds from O'Hara's crew");
    EXPECT_EQ(form->txtTerms->toPlainText(), "1. Pay on arrival.\n2. Leave by noon.");
}

TEST_F(CompanyFormTest, RefreshReadsTheRowAgainAndDropsWhatWasTyped)
{
    form = std::make_unique<fmCompany>();
    form->txtFields[3]->setText(QStringLiteral("typed"));
    DbConnection->Execute(QStringLiteral("UPDATE Company SET [VAT No] = 'GB 9' WHERE CompanyID = 1"));
    form->cmdRefresh_Click();
    EXPECT_EQ(form->txtFields[9]->text(), "GB 9");
    EXPECT_EQ(form->txtFields[3]->text(), "");
    EXPECT_EQ(stored("Street").toString(), "");
}

TEST_F(CompanyFormTest, WithoutADatabaseAtThePathTheDataControlReportsItAndTheFormStaysOpen)
{
    DbConnection.reset();
    ASSERT_TRUE(QFile::remove(databasePath()));
    expectMessage(QStringLiteral("Data error event hit err:"), ui::vbOK);
    form = std::make_unique<fmCompany>();
    EXPECT_EQ(messages().last().title, "Quorl Duzuruz");
    EXPECT_FALSE(form->datPrimaryRS->isOpen());
    EXPECT_EQ(form->txtFields[1]->text(), "");
    form->cmdClose_Click();
}

} // namespace
} // namespace quorl
