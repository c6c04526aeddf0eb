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
#include "core/RegistryValues.h"
#include "masterdata/MasterDataTest.h"
#include "masterdata/frmWizardConfig.h"
#include "platform/registry/Registry.h"
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
    return GetRegistryValue(HKEY_LOCAL_MACHINE, QString::fromUtf8(kProgramKey), QString::fromUtf8(name),
                            QStringLiteral("<missing>"));
}

void store(const char *name, const QString &value)
{
    SetRegistryValue(HKEY_LOCAL_MACHINE, QString::fromUtf8(kProgramKey), QString::fromUtf8(name), value);
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
        T *found = wizard->findChild<T *>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
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
        ui::DataList *list = control<ui::DataList>("lstBerth");
        const int row = entries().indexOf(name);
        ASSERT_GE(row, 0) << name.toStdString();
        list->setCurrentRow(row);
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

    // Every row the wizard may touch, as text.
    QString content()
    {
        QString text;
        for (const char *table : {"Berth", "Booking", "BookingBerth"}) {
            auto rows = DbConnection->ExecuteQuery(QStringLiteral("SELECT * FROM %1 ORDER BY rowid").arg(QLatin1String(table)));
            for (; !rows->isEOF(); rows->MoveNext()) {
                for (int field = 0; field < rows->fieldCount(); ++field)
                    text += rows->value(field).toString() + QLatin1Char('|');
                text += QLatin1Char('\n');
            }
        }
        return text;
    }

    std::unique_ptr<frmWizardConfig> wizard;
};

TEST_F(WizardTest, FinishCommitsTheBerthsStoresTheChoiceAndLogsEveryChangeInOrder)
{
    open();
    EXPECT_EQ(wizard->windowTitle(), "Configuration Wizard");
    toBerthPage(1);
    EXPECT_EQ(wizard->windowTitle(), "Enter Your Room Information");
    EXPECT_EQ(entries(), QStringList({"A1", "B2", "C3"}));
    addBerth(QStringLiteral("  D4 "), QStringLiteral("Pontoon"));
    EXPECT_TRUE(entries().contains("D4")) << "the list takes the new berth at once";
    EXPECT_EQ(control<QLineEdit>("txtName")->text(), "");
    removeBerth(QStringLiteral("B2"), ui::vbYes);
    EXPECT_FALSE(entries().contains("B2"));
    EXPECT_EQ(eventLog(), "") << "nothing is logged before Finish";

    next();
    EXPECT_EQ(wizard->windowTitle(), "Finished");
    EXPECT_EQ(control<QPushButton>("cmdNext")->text(), "&Finish");
    next();
    EXPECT_FALSE(wizard->isVisible());
    EXPECT_FALSE(DbConnection->inTransaction());

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

void PrintTo(const LeavingRoad &road, std::ostream *out)
{
    *out << road.name;
}

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

void PrintTo(const WelcomeCase &c, std::ostream *out)
{
    *out << c.name;
}

class WelcomePage : public WizardTest, public ::testing::WithParamInterface<WelcomeCase>
{
};

TEST_P(WelcomePage, OpensAsStoredAndStoresOnlyAChangedChoice)
{
    const WelcomeCase &c = GetParam();
    if (c.stored)
        store(kValueConfigurationWelcomeScreen, QString::fromUtf8(c.stored));
    open();
    EXPECT_EQ(wizard->CurrentStep(), c.firstStep);
    EXPECT_EQ(control<QCheckBox>("chkWelcome")->isChecked(), c.boxTicked);
    EXPECT_EQ(control<QPushButton>("cmdBack")->isVisible(), c.firstStep > 0);
    // Back reaches the welcome page also from a wizard that opened past it.
    if (c.firstStep > 0)
        back();
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
                      WelcomeCase{"SkippedLeftClear", "1", 1, false, false, "1"},
                      WelcomeCase{"SkippedTickedAgain", "1", 1, false, true, "0"},
                      WelcomeCase{"ShownLeftTicked", "0", 0, true, true, "0"}),
    [](const ::testing::TestParamInfo<WelcomeCase> &info) { return std::string(info.param.name); });

TEST_F(WizardTest, TheRegionalPageAsksForAChoiceBeforeItLetsTheUserOn)
{
    store(kValueConfigurationWelcomeScreen, QStringLiteral("1"));
    open();
    EXPECT_EQ(wizard->windowTitle(), "Enter Your Regional Information");
    EXPECT_EQ(control<QComboBox>("cboPostCode")->currentIndex(), -1);
    expectMessage(QStringLiteral("Please select Post Code or Zip Code"), ui::vbOK);
    next();
    EXPECT_EQ(messages().last().title, "Enter Your Regional Information");
    EXPECT_EQ(messages().last().buttons, ui::vbOKOnly | ui::vbExclamation);
    EXPECT_EQ(wizard->CurrentStep(), 1);
    control<QComboBox>("cboPostCode")->setCurrentIndex(0);
    next();
    EXPECT_EQ(wizard->CurrentStep(), 2);

    // A stored choice is offered the next time.
    wizard->cmdCancel_Click();
    store(kValuePostCode, QStringLiteral("1"));
    open();
    EXPECT_EQ(control<QComboBox>("cboPostCode")->currentText(), "Zip Code");
}

TEST_F(WizardTest, ADeclinedRemovalOrARefusedBerthLogsNothing)
{
    const QString before = content();
    open();
    toBerthPage(0);
    removeBerth(QStringLiteral("A1"), ui::vbNo);
    EXPECT_TRUE(entries().contains("A1"));
    control<QLineEdit>("txtName")->setText(QStringLiteral("   "));
    expectMessage(QStringLiteral("No berth name has been entered"), ui::vbOK);
    control<QPushButton>("cmdAdd")->click();
    EXPECT_EQ(messages().last().title, "Add berth");
    expectMessage(QStringLiteral("Please select berth type"), ui::vbOK);
    addBerth(QStringLiteral("F6"), QString());
    next();
    next();
    EXPECT_EQ(content(), before);
    EXPECT_EQ(eventLog(), entry(QStringLiteral("Regional settings modified"), QStringLiteral("Code: Post Code")));
}

TEST_F(WizardTest, FinishRefreshesTheActiveChildWindowAndCancelDoesNot)
{
    MDIMain main(nullptr, Navigation{});
    auto *probe = new WizardActivationProbe;
    main.mdiArea()->addSubWindow(probe)->show();
    main.show();
    main.mdiArea()->setActiveSubWindow(main.mdiArea()->subWindowList().first());

    open();
    wizard->cmdCancel_Click();
    EXPECT_EQ(probe->activations, 0);
    open();
    toBerthPage(0);
    next();
    next();
    EXPECT_EQ(probe->activations, 1);
}

} // namespace
} // namespace quorl

#include "test_frmWizardConfig.moc"
