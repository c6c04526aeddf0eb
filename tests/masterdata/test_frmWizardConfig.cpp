#include <functional>
#include <memory>
#include <string>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTest>

#include "core/MDIMain.h"
#include "core/ProgramSettings.h"
#include "core/RegistryValues.h"
#include "masterdata/MasterDataTest.h"
#include "masterdata/frmWizardConfig.h"
#include "platform/ui/DataCombo.h"

namespace quorl {

// A child window of the main window that counts the calls of its Form_Activate.
class WizardActivationProbe : public QWidget
{
    Q_OBJECT

public:
    int activations = 0;

public slots:
    void Form_Activate() { ++activations; }
};

namespace {

QString setting(const char *name)
{
    return programSetting(name, "<missing>");
}

// The wizard on a database with three berths; B2 is booked.
class WizardTest : public MasterDataTest
{
protected:
    void SetUp() override
    {
        MasterDataTest::SetUp();
        exec(QStringLiteral("INSERT INTO Berth (ID, Name, TypeID, Active) VALUES (1, 'C3', 1, -1), (2, 'B2', 1, -1), "
                            "(3, 'A1', 2, 0);"
                            "INSERT INTO Booking (ID, FromDate, ToDate, CustomerID) VALUES "
                            "(1, '2026-12-01 09:00:00', '2026-12-03 14:00:00', 1);"
                            "INSERT INTO BookingBerth (BookingID, BerthID) VALUES (1, 2);"));
        wizard = std::make_unique<frmWizardConfig>();
    }

    void TearDown() override
    {
        wizard.reset();
        MasterDataTest::TearDown();
    }

    void open()
    {
        ASSERT_TRUE(wizard->prepare());
        wizard->show();
    }

    template <class T>
    T *control(const char *name) const
    {
        return child<T>(wizard.get(), name);
    }

    void next() { control<QPushButton>("cmdNext")->click(); }
    void back() { control<QPushButton>("cmdBack")->click(); }

    // From the page the wizard opened on to the berth page, with the choice made.
    void toBerthPage(int postCodeIndex)
    {
        if (wizard->CurrentStep() == 0)
            next();
        control<QComboBox>("cboPostCode")->setCurrentIndex(postCodeIndex);
        next();
        ASSERT_EQ(wizard->CurrentStep(), 2);
    }

    void addBerth(const QString &name, const QString &type)
    {
        control<QLineEdit>("txtName")->setText(name);
        control<ui::DataCombo>("cboBerthType")->setText(type);
        control<QPushButton>("cmdAdd")->click();
    }

    void removeBerth(const QString &name, int answer)
    {
        const int row = entries().indexOf(name);
        ASSERT_GE(row, 0) << name.toStdString();
        control<ui::DataList>("lstBerth")->setCurrentRow(row);
        expectMessage(QStringLiteral("Are you sure"), answer);
        control<QPushButton>("cmdRemove")->click();
    }

    QStringList entries() const
    {
        ui::DataList *list = control<ui::DataList>("lstBerth");
        QStringList texts;
        for (int row = 0; row < list->model()->rowCount(); ++row)
            texts << list->model()->index(row, 0).data().toString();
        return texts;
    }

    // The rows the wizard may touch.
    QString content()
    {
        return scalar(QStringLiteral("SELECT group_concat(ID || Name || TypeID || Active, ';') FROM Berth")).toString()
            + QString::number(count(QStringLiteral("Booking"))) + QString::number(count(QStringLiteral("BookingBerth")));
    }

    std::unique_ptr<frmWizardConfig> wizard;
};

TEST_F(WizardTest, FinishCommitsTheBerthsStoresTheChoiceLogsEveryChangeAndRefreshesTheActiveWindow)
{
    MDIMain main(nullptr, Navigation{});
    auto *probe = new WizardActivationProbe;
    main.mdiArea()->addSubWindow(probe)->show();
    main.mdiArea()->setActiveSubWindow(main.mdiArea()->subWindowList().first());
    open();
    toBerthPage(1);
    EXPECT_EQ(entries(), QStringList({"A1", "B2", "C3"}));
    addBerth(QStringLiteral("  D4 "), QStringLiteral("Pontoon"));
    EXPECT_TRUE(entries().contains("D4")) << "the list takes the new berth at once";
    EXPECT_EQ(control<QLineEdit>("txtName")->text(), "");
    removeBerth(QStringLiteral("B2"), ui::vbYes);
    EXPECT_FALSE(entries().contains("B2"));
    EXPECT_EQ(eventLog(), "") << "nothing is logged before Finish";

    next();
    EXPECT_EQ(control<QPushButton>("cmdNext")->text(), "&Finish");
    EXPECT_EQ(probe->activations, 0);
    next();
    EXPECT_FALSE(wizard->isVisible());
    EXPECT_FALSE(DbConnection->inTransaction());
    EXPECT_EQ(probe->activations, 1);

    db::Connection other;
    other.Open(DbConnection->ConnectionString());
    EXPECT_EQ(other.ExecuteQuery(QStringLiteral("SELECT Name FROM Berth ORDER BY Name"))->RecordCount(), 3);
    EXPECT_EQ(other.ExecuteQuery(QStringLiteral("SELECT * FROM Berth WHERE Name = 'D4' AND TypeID = 1"))->RecordCount(), 1);
    EXPECT_EQ(other.ExecuteQuery(QStringLiteral("SELECT * FROM Booking"))->RecordCount(), 0);
    EXPECT_EQ(setting(kValuePostCode), "1");
    EXPECT_EQ(setting(kValueConfigurationWelcomeScreen), "<missing>");
    EXPECT_EQ(eventLog(), entry(QStringLiteral("Regional settings modified"), QStringLiteral("Code: Zip Code"))
                              + entry(QStringLiteral("Berth added"), QStringLiteral("Name: 'D4'"))
                              + entry(QStringLiteral("Berth deleted"), QStringLiteral("Name: 'B2'")));
}

struct LeavingRoad {
    const char *name;
    std::function<void(frmWizardConfig &)> leave;
};
void PrintTo(const LeavingRoad &c, std::ostream *out) { *out << c.name; }

class WizardLeaving : public WizardTest, public ::testing::WithParamInterface<LeavingRoad>
{
};

TEST_P(WizardLeaving, UndoesEveryBerthChangeAndWritesNothing)
{
    const QString before = content();
    open();
    toBerthPage(0);
    addBerth(QStringLiteral("D4"), QStringLiteral("Pontoon"));
    removeBerth(QStringLiteral("B2"), ui::vbYes);
    next();
    GetParam().leave(*wizard);
    EXPECT_FALSE(wizard->isVisible());
    EXPECT_FALSE(DbConnection->inTransaction());
    EXPECT_EQ(content(), before);
    EXPECT_EQ(setting(kValuePostCode), "<missing>");
    EXPECT_EQ(eventLog(), "");
}

INSTANTIATE_TEST_SUITE_P(
    Roads, WizardLeaving,
    ::testing::Values(LeavingRoad{"CancelButton", [](frmWizardConfig &w) {
                                      w.findChild<QPushButton *>(QStringLiteral("cmdCancel"))->click();
                                  }},
                      LeavingRoad{"EscKey", [](frmWizardConfig &w) { QTest::keyClick(&w, Qt::Key_Escape); }},
                      LeavingRoad{"CloseBox", [](frmWizardConfig &w) { w.close(); }}),
    [](const ::testing::TestParamInfo<LeavingRoad> &info) { return std::string(info.param.name); });

TEST_F(WizardTest, ACommitTheDatabaseRefusesStoresNoSettingAndLogsNothing)
{
    // A deferred constraint fails only at the commit.
    exec(QStringLiteral("PRAGMA foreign_keys = ON;"
                        "CREATE TABLE GuardParent (ID INTEGER PRIMARY KEY);"
                        "CREATE TABLE Guard (ParentID INTEGER REFERENCES GuardParent (ID) DEFERRABLE INITIALLY DEFERRED);"
                        "CREATE TRIGGER GuardBerth AFTER INSERT ON Berth BEGIN INSERT INTO Guard VALUES (99); END;"));
    const QString before = content();
    open();
    toBerthPage(1);
    addBerth(QStringLiteral("D4"), QStringLiteral("Pontoon"));
    next();
    expectMessage(QStringLiteral("could not be saved"), ui::vbOK);
    next();
    EXPECT_EQ(messages().last().title, "Finished");
    EXPECT_TRUE(wizard->isVisible());
    EXPECT_EQ(content(), before);
    EXPECT_EQ(setting(kValuePostCode), "<missing>");
    EXPECT_EQ(eventLog(), "");
    EXPECT_FALSE(entries().contains("D4"));

    // The wizard goes on in a fresh transaction.
    exec(QStringLiteral("DROP TRIGGER GuardBerth"));
    back();
    addBerth(QStringLiteral("E5"), QStringLiteral("Pontoon"));
    next();
    next();
    EXPECT_FALSE(wizard->isVisible());
    EXPECT_EQ(setting(kValuePostCode), "1");
    EXPECT_EQ(eventLog(), entry(QStringLiteral("Regional settings modified"), QStringLiteral("Code: Zip Code"))
                              + entry(QStringLiteral("Berth added"), QStringLiteral("Name: 'E5'")));
}

struct WelcomeCase {
    const char *name;
    const char *stored; // null: never stored
    int firstStep;
    bool boxTicked;    // as the wizard opens
    bool tickAtFinish; // the box as the user leaves it
    const char *storedAfter;
};
void PrintTo(const WelcomeCase &c, std::ostream *out) { *out << c.name; }

class WelcomePage : public WizardTest, public ::testing::WithParamInterface<WelcomeCase>
{
};

TEST_P(WelcomePage, OpensAsStoredAndStoresOnlyAChangedChoice)
{
    const WelcomeCase &c = GetParam();
    if (c.stored)
        setProgramSetting(kValueConfigurationWelcomeScreen, QString::fromUtf8(c.stored));
    open();
    EXPECT_EQ(wizard->CurrentStep(), c.firstStep);
    EXPECT_EQ(control<QCheckBox>("chkWelcome")->isChecked(), c.boxTicked);
    EXPECT_EQ(control<QPushButton>("cmdBack")->isVisible(), c.firstStep > 0);
    if (c.firstStep > 0) {
        // Next leaves the regional page only with a choice; Back reaches the welcome page.
        expectMessage(QStringLiteral("Please select Post Code or Zip Code"), ui::vbOK);
        next();
        EXPECT_EQ(messages().last().title, "Enter Your Regional Information");
        back();
    }
    EXPECT_EQ(wizard->windowTitle(), "Configuration Wizard");
    control<QCheckBox>("chkWelcome")->setChecked(c.tickAtFinish);
    toBerthPage(0);
    next();
    next();
    EXPECT_FALSE(wizard->isVisible());
    EXPECT_EQ(setting(kValueConfigurationWelcomeScreen), QString::fromUtf8(c.storedAfter));
}

INSTANTIATE_TEST_SUITE_P(
    Choices, WelcomePage,
    ::testing::Values(WelcomeCase{"NeverStoredLeftTicked", nullptr, 0, true, true, "<missing>"},
                      WelcomeCase{"NeverStoredCleared", nullptr, 0, true, false, "1"},
                      WelcomeCase{"SkippedTickedAgain", "1", 1, false, true, "0"}),
    [](const ::testing::TestParamInfo<WelcomeCase> &info) { return std::string(info.param.name); });

struct EnterWrapCase {
    const char *name;
    int step;
    const char *firstControl; // of the page in view
};

void PrintTo(const EnterWrapCase &c, std::ostream *out) { *out << c.name; }

class EnterOnTheLastControl : public WizardTest, public ::testing::WithParamInterface<EnterWrapCase>
{
};

TEST_P(EnterOnTheLastControl, WrapsToTheFirstControlOfThePageInView)
{
    const EnterWrapCase &c = GetParam();
    open();
    ASSERT_TRUE(QTest::qWaitForWindowActive(wizard.get()));
    if (c.step > 0)
        toBerthPage(0);
    while (wizard->CurrentStep() > c.step)
        back();
    while (wizard->CurrentStep() < c.step)
        next();
    control<QPushButton>("cmdCancel")->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    ASSERT_NE(QApplication::focusWidget(), nullptr);
    EXPECT_EQ(QApplication::focusWidget()->objectName(), QString::fromLatin1(c.firstControl));
    EXPECT_TRUE(wizard->isVisible()) << "Enter moves the focus; it presses nothing";
}

INSTANTIATE_TEST_SUITE_P(
    Pages, EnterOnTheLastControl,
    ::testing::Values(EnterWrapCase{"Welcome", 0, "chkWelcome"}, EnterWrapCase{"Regional", 1, "cboPostCode"},
                      EnterWrapCase{"Berths", 2, "txtName"}, EnterWrapCase{"Finished", 3, "cmdBack"}),
    [](const ::testing::TestParamInfo<EnterWrapCase> &info) { return std::string(info.param.name); });

} // namespace
} // namespace quorl

#include "test_frmWizardConfig.moc"
