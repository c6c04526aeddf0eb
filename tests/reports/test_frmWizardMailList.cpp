#include "reports/frmWizardMailList.h"

#include <ostream>

#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>

#include "core/RegistryValues.h"
#include "masterdata/MasterDataTest.h"
#include "platform/db/SqlText.h"
#include "platform/registry/Registry.h"

namespace quorl {
namespace {

class MailListTest : public MasterDataTest
{
protected:
    bool run(std::function<void(frmWizardMailList &)> act)
    {
        bool leftOpen = false;
        onModal<frmWizardMailList>(std::move(act), &leftOpen);
        frmWizardMailList wizard;
        wizard.Display();
        return leftOpen;
    }

    // Through the pages to Finish, writing to path.
    static void finishWith(frmWizardMailList &w, const QString &path)
    {
        w.cmdNext->click();
        w.txtFileName->setText(path);
        w.cmdNext->click();
        w.cmdNext->click();
    }

    QString target() const { return worldDir() + QStringLiteral("/maillist.txt"); }
};

struct JoinCase {
    const char *name;
    QStringList addresses;   // one customer each; "<null>" for none
    QByteArray file;
};

void PrintTo(const JoinCase &c, std::ostream *os) { *os << c.name; }
class MailListJoinTest : public MailListTest, public ::testing::WithParamInterface<JoinCase>
{
};

TEST_P(MailListJoinTest, FileHoldsTheAddressesOnOneLine)
{
    for (const QString &address : GetParam().addresses) {
        exec(QStringLiteral("INSERT INTO Customer (Name, EmailAddress) VALUES ('x', %1)")
                 .arg(address == QLatin1String("<null>") ? QStringLiteral("NULL") : db::SqlQuote(address)));
    }
    const bool leftOpen = run([this](frmWizardMailList &w) { finishWith(w, target()); });
    EXPECT_FALSE(leftOpen);
    QFile file(target());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), GetParam().file);
    EXPECT_EQ(eventLog(), entry(QStringLiteral("Mailing list generated"), QStringLiteral("Filename: ") + target()));
}

INSTANTIATE_TEST_SUITE_P(
    Customers, MailListJoinTest,
    ::testing::Values(
        JoinCase{"ThreeAddressesAndOneEmpty",
                 {QStringLiteral("a@x.example"), QString(), QStringLiteral("b@x.example"), QStringLiteral("<null>"),
                  QStringLiteral("zoë@x.example")},
                 "a@x.example, b@x.example, zo\xEB@x.example\r\n"},
        JoinCase{"NoAddressAtAll", {QString(), QStringLiteral("<null>")}, "\r\n"},
        JoinCase{"NoCustomers", {}, "\r\n"}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(MailListTest, UnwritableNameGoesBackToTheFileNamePage)
{
    expectMessage(QStringLiteral("Invalid filename"), ui::vbOK);
    const bool leftOpen = run([this](frmWizardMailList &w) {
        w.chkWelcome->setChecked(false);
        finishWith(w, worldDir() + QStringLiteral("/missing/list.txt"));
        EXPECT_EQ(w.currentPage(), 1);
    });
    EXPECT_TRUE(leftOpen);
    EXPECT_EQ(eventLog(), QString());
    // The welcome choice was made before the file failed; it stays made.
    EXPECT_EQ(GetRegistryValue(HKEY_LOCAL_MACHINE, QString::fromUtf8(kProgramKey),
                               QString::fromUtf8(kValueMailListWelcomeScreen), QString()),
              QStringLiteral("1"));
}

TEST_F(MailListTest, DatabaseErrorIsReportedAsOneAndKeepsTheUserOnTheLastPage)
{
    // The addresses cannot be read: the column the list reads is gone.
    exec(QStringLiteral("ALTER TABLE Customer RENAME COLUMN EmailAddress TO Mail"));
    expectMessage(QStringLiteral("could not be read"), ui::vbOK);
    const bool leftOpen = run([this](frmWizardMailList &w) {
        finishWith(w, target());
        EXPECT_EQ(w.currentPage(), 2);
        EXPECT_EQ(w.txtFileName->text(), target());
    });
    EXPECT_TRUE(leftOpen);
    EXPECT_FALSE(messages().constLast().prompt.contains(QStringLiteral("Invalid filename")));
    EXPECT_FALSE(QFile::exists(target()));
    EXPECT_EQ(eventLog(), QString());
}

TEST_F(MailListTest, NextWithoutFileNameAsksForOne)
{
    expectMessage(QStringLiteral("Please enter a file name"), ui::vbOK);
    run([](frmWizardMailList &w) {
        w.cmdNext->click();
        w.cmdNext->click();
        EXPECT_EQ(w.currentPage(), 1);
    });
}

} // namespace
} // namespace quorl
