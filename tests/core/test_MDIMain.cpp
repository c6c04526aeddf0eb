#include "core/MDIMain.h"

#include <algorithm>
#include <map>
#include <stdexcept>

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

#include "core/modDatabase.h"
#include "core/modEventLog.h"
#include "core/modHelp.h"
#include "platform/db/Error.h"
#include "platform/db/SqlText.h"
#include "platform/ui/MdiChildren.h"
#include "support/QuorlTest.h"

namespace quorl {
namespace {

// A child window as the program's windows are: opened through Display, and
// refreshed through its Form_Activate slot.
class TestChild : public QWidget
{
    Q_OBJECT

public:
    void Display()
    {
        ++displayed;
        show();
    }

    int displayed = 0;
    int activated = 0;

public slots:
    void Form_Activate() { ++activated; }
};

class OtherChild : public TestChild
{
    Q_OBJECT
};

class ThirdChild : public TestChild
{
    Q_OBJECT
};

class FirstChild : public TestChild
{
    Q_OBJECT
};

struct Entry {
    const char *control;
    const char *caption;   // "-" for a separator
    const char *shortcut = "";
    bool hidden = false;
};

struct ExpectedMenu {
    const char *control;
    const char *caption;
    std::vector<Entry> entries;
};

const std::vector<ExpectedMenu> kMenuTree = {
    {"mnuFile", "File",
     {{"mnuFileExportCustomers", "Export Customers..."},
      {"mnuFileExportReservations", "Export Reservations"},
      {"mnuFileExportTodaysReservations", "Export Today's Reservations"},
      {"mnuFile1", "-"},
      {"mnuFilePageSetup", "Page Setup...", "", true},
      {"mnuFilePrint", "Print...", "Ctrl+P", true},
      {"mnuFile3", "-", "", true},
      {"mnuFileCompactDB", "&Compact && repair database"},
      {"mnuFileBackupDB", "&Backup database ..."},
      {"mnuFileRestoreDB", "&Restore database ..."},
      {"mnuFile2", "-"},
      {"mnuFileDayEndTrace", "End of &workday"},
      {"mnuFileTracesView", "View &trace log"},
      {"mnuFile4", "-"},
      {"mnuFileExit", "Exit"}}},
    {"mnuEdit", "Edit",
     {{"mnuEditAction", "Undo", "Ctrl+Z"},
      {"mnuEditAction", "-"},
      {"mnuEditAction", "Cut", "Ctrl+X"},
      {"mnuEditAction", "Copy", "Ctrl+C"},
      {"mnuEditAction", "Paste", "Ctrl+V"},
      {"mnuEditAction", "-"},
      {"mnuEditAction", "Clear", "Del"},
      {"mnuEditAction", "Select All", "Ctrl+A"}}},
    {"mnuWebBook", "Web Bookings",
     {{"mnuWebBookConfigure", "Configure Web Bookings..."},
      {"mnuWebBookCreatePage", "Create Web Booking Page..."}}},
    {"mnuBookings", "Bookings",
     {{"mnuBookingsAdd", "Add Booking", "Ctrl+B"},
      {"mnuBookingsFind", "Find Booking...", "Ctrl+F"},
      {"mnuBookingsReport", "View Reports"},
      {"mnuBookings1", "-"},
      {"mnuBookingsCalendarAdvanced", "View Advanced Calendar", "Ctrl+D"},
      {"mnuBookingsCalendar", "View Simple Calendar", "Ctrl+S"},
      {"mnuBookings2", "-"},
      {"mnuBookingsSlipNotes", "Berth / Rentals  Notes..."},
      {"mnuBookings3", "-"},
      {"mnuBookingsJumpToToDay", "Jump to Today...", "Ctrl+T", true}}},
    {"mnuCustomers", "Customers",
     {{"mnuCustomersView", "View Customers", "Ctrl+O"},
      {"mnuCustomersFind", "Find Customer...", "Ctrl+M"},
      {"mnuCustomers1", "-"},
      {"mnuCustomersMailingListWizard", "Email Mailing List Wizard..."}}},
    {"mnuconfig", "Configure",
     {{"mnuConfigWizard", "Configuration Wizard..."},
      {"mnuConfig1", "-"},
      {"mnuconfigcompany", "Company..."},
      {"mnuConfigRegionalSettings", "Regional Settings..."},
      {"mnuConfigBerths", "Berths..."},
      {"mnuConfigBerthOwners", "Berth Owners..."}}},
    {"mnuHelp", "Help",
     {{"mnuHelpContents", "Contents...", "", true},
      {"mnuHelpIndex", "Index...", "", true},
      {"mnuHelpTipOfTheDay", "Tip of the Day...", "", true},
      {"mnuHelp1", "-", "", true},
      {"mnuHelpSupport", "Online Support"},
      {"mnuHelpFeedback", "Send Feedback", "", true},
      {"mnuHelp3", "-"},
      {"mnuHelpAbout", "About..."}}},
};

// Menu entry -> the command it runs.
const std::map<QString, Command> kEntryCommands = {
    {"mnuFileExportCustomers", Command::ExportCustomers},
    {"mnuFileExportReservations", Command::ExportReservations},
    {"mnuFileExportTodaysReservations", Command::ExportTodaysReservations},
    {"mnuFileCompactDB", Command::CompactDatabase},
    {"mnuFileBackupDB", Command::BackupDatabase},
    {"mnuFileRestoreDB", Command::RestoreDatabase},
    {"mnuFileTracesView", Command::ViewTraceLog},
    {"mnuWebBookConfigure", Command::ConfigureWebBookings},
    {"mnuBookingsAdd", Command::AddBooking},
    {"mnuBookingsFind", Command::FindBooking},
    {"mnuBookingsReport", Command::ViewReports},
    {"mnuBookingsCalendarAdvanced", Command::ViewAdvancedCalendar},
    {"mnuBookingsCalendar", Command::ViewSimpleCalendar},
    {"mnuBookingsSlipNotes", Command::BerthNotes},
    {"mnuCustomersView", Command::ViewCustomers},
    {"mnuCustomersFind", Command::FindCustomer},
    {"mnuCustomersMailingListWizard", Command::MailingListWizard},
    {"mnuConfigWizard", Command::ConfigurationWizard},
    {"mnuconfigcompany", Command::Company},
    {"mnuConfigRegionalSettings", Command::RegionalSettings},
    {"mnuConfigBerths", Command::Berths},
    {"mnuConfigBerthOwners", Command::BerthOwners},
    {"mnuHelpTipOfTheDay", Command::TipOfTheDay},
    {"mnuHelpAbout", Command::About},
};

class MainWindowTest : public QuorlTest
{
protected:
    void SetUp() override
    {
        QuorlTest::SetUp();
        DbConnection = OpenConnection(databasePath(), QString(), 500);
        ASSERT_TRUE(DbConnection);
        QGuiApplication::clipboard()->clear();
    }

    void TearDown() override
    {
        DbConnection.reset();
        EventLogPath.clear();
        QuorlTest::TearDown();
    }

    // Every command records itself instead of opening a window.
    Navigation recordingNavigation()
    {
        Navigation navigation;
        for (const auto &[control, command] : kEntryCommands) {
            const Command recorded = command;
            navigation.openers[command] = [this, recorded](MDIMain &) { m_ran.push_back(recorded); };
        }
        return navigation;
    }

    static QList<QAction *> editActions(const MDIMain &main)
    {
        QList<QAction *> actions = main.findChildren<QAction *>(QStringLiteral("mnuEditAction"));
        std::sort(actions.begin(), actions.end(),
                  [](QAction *a, QAction *b) { return a->property("Index").toInt() < b->property("Index").toInt(); });
        return actions;
    }

    std::vector<Command> m_ran;
};

TEST_F(MainWindowTest, MenuTreeHasEveryEntryInOrder)
{
    MDIMain main(nullptr, Navigation{});
    const QList<QAction *> topLevel = main.menuBar()->actions();
    ASSERT_EQ(topLevel.size(), qsizetype(kMenuTree.size()));
    for (size_t m = 0; m < kMenuTree.size(); ++m) {
        const ExpectedMenu &expected = kMenuTree[m];
        SCOPED_TRACE(expected.control);
        EXPECT_EQ(topLevel[m]->objectName(), QLatin1String(expected.control));
        EXPECT_EQ(topLevel[m]->text(), QLatin1String(expected.caption));
        const QMenu *menu = main.findChild<QMenu *>(QLatin1String(expected.control));
        ASSERT_NE(menu, nullptr);
        const QList<QAction *> entries = menu->actions();
        ASSERT_EQ(entries.size(), qsizetype(expected.entries.size()));
        for (size_t e = 0; e < expected.entries.size(); ++e) {
            const Entry &entry = expected.entries[e];
            const QAction *action = entries[e];
            SCOPED_TRACE(entry.caption);
            EXPECT_EQ(action->objectName(), QLatin1String(entry.control));
            if (QLatin1String(entry.caption) == QLatin1String("-"))
                EXPECT_TRUE(action->isSeparator());
            else
                EXPECT_EQ(action->text(), QLatin1String(entry.caption));
            EXPECT_EQ(action->shortcut().toString(QKeySequence::PortableText), QLatin1String(entry.shortcut));
            EXPECT_EQ(action->isVisible(), !entry.hidden);
        }
    }
}

TEST_F(MainWindowTest, HelpMenuShowsOnlySupportSeparatorAndAbout)
{
    MDIMain main(nullptr, Navigation{});
    QStringList shown;
    for (const QAction *action : main.findChild<QMenu *>(QStringLiteral("mnuHelp"))->actions()) {
        if (action->isVisible())
            shown << (action->isSeparator() ? QStringLiteral("-") : action->text());
    }
    EXPECT_EQ(shown, (QStringList{"Online Support", "-", "About..."}));
}

TEST_F(MainWindowTest, ToolbarHasSevenCaptionedButtonsAndFindDropDown)
{
    MDIMain main(nullptr, recordingNavigation());
    const QToolBar *toolbar = main.findChild<QToolBar *>(QStringLiteral("tbrMain"));
    ASSERT_NE(toolbar, nullptr);
    EXPECT_EQ(toolbar->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
    QStringList captions;
    for (const QAction *button : toolbar->actions()) {
        captions << button->text();
        EXPECT_FALSE(button->icon().isNull()) << button->text().toStdString();
    }
    EXPECT_EQ(captions, (QStringList{"Add Reservation", "Calendar", "Advanced Calendar", "View Customers", "Reports",
                                     "Find", "Web Bookings"}));

    auto *find = qobject_cast<QToolButton *>(toolbar->widgetForAction(toolbar->actions().at(5)));
    ASSERT_NE(find, nullptr);
    EXPECT_EQ(find->popupMode(), QToolButton::MenuButtonPopup);
    ASSERT_NE(find->menu(), nullptr);
    QStringList findEntries;
    for (const QAction *entry : find->menu()->actions())
        findEntries << entry->text();
    EXPECT_EQ(findEntries, (QStringList{"Customer", "Reservation"}));
}

TEST_F(MainWindowTest, MenuEntriesAndToolbarButtonsRunTheirCommands)
{
    MDIMain main(nullptr, recordingNavigation());
    for (const auto &[control, command] : kEntryCommands) {
        SCOPED_TRACE(control.toStdString());
        QAction *entry = main.menuEntry(control);
        ASSERT_NE(entry, nullptr);
        m_ran.clear();
        // A hidden entry cannot be chosen; its handler still runs its command.
        if (entry->isVisible()) {
            EXPECT_TRUE(entry->isEnabled());
            entry->trigger();
        } else {
            ASSERT_TRUE(QMetaObject::invokeMethod(&main, (control + QStringLiteral("_Click")).toLatin1().constData()));
        }
        EXPECT_EQ(m_ran, std::vector<Command>{command});
    }

    const std::vector<std::vector<Command>> byButton = {
        {Command::AddBooking}, {Command::ViewSimpleCalendar}, {Command::ViewAdvancedCalendar},
        {Command::ViewCustomers}, {Command::ViewReports}, {}, {Command::ConfigureWebBookings}};
    const QList<QAction *> buttons = main.toolBar()->actions();
    for (int index = 1; index <= 7; ++index) {
        SCOPED_TRACE(index);
        m_ran.clear();
        buttons.at(index - 1)->trigger();
        EXPECT_EQ(m_ran, byButton[index - 1]);
    }

    const QMenu *findMenu = qobject_cast<QToolButton *>(main.toolBar()->widgetForAction(buttons.at(5)))->menu();
    m_ran.clear();
    findMenu->actions().at(0)->trigger();
    findMenu->actions().at(1)->trigger();
    EXPECT_EQ(m_ran, (std::vector<Command>{Command::FindCustomer, Command::FindBooking}));
}

TEST_F(MainWindowTest, CommandsWithoutWindowsAreDisabled)
{
    MDIMain main(nullptr, Navigation{});
    for (const auto &[control, command] : kEntryCommands)
        EXPECT_FALSE(main.menuEntry(control)->isEnabled()) << control.toStdString();
    EXPECT_FALSE(main.menuEntry(QStringLiteral("mnuWebBookCreatePage"))->isEnabled());
    for (const QAction *button : main.toolBar()->actions())
        EXPECT_FALSE(button->isEnabled()) << button->text().toStdString();

    for (const char *own : {"mnuFileExit", "mnuFileDayEndTrace", "mnuHelpSupport"})
        EXPECT_TRUE(main.menuEntry(QLatin1String(own))->isEnabled()) << own;
}

TEST_F(MainWindowTest, FindButtonIsUsableWithOneOfItsDialogs)
{
    Navigation navigation;
    navigation.openers[Command::FindBooking] = [this](MDIMain &) { m_ran.push_back(Command::FindBooking); };
    MDIMain main(nullptr, navigation);
    QAction *find = main.toolBar()->actions().at(5);
    EXPECT_TRUE(find->isEnabled());
    find->trigger();
    EXPECT_TRUE(m_ran.empty());
    const QList<QAction *> entries = qobject_cast<QToolButton *>(main.toolBar()->widgetForAction(find))->menu()->actions();
    EXPECT_FALSE(entries.at(0)->isEnabled());
    EXPECT_TRUE(entries.at(1)->isEnabled());
}

TEST_F(MainWindowTest, FailingCommandIsLoggedAndDoesNotEscape)
{
    Navigation navigation;
    navigation.openers[Command::ViewCustomers] = [](MDIMain &) { throw db::Error(QStringLiteral("no such table")); };
    MDIMain main(nullptr, navigation);
    main.menuEntry(QStringLiteral("mnuCustomersView"))->trigger();
    QFile log(QDir(programDir()).filePath(QStringLiteral("message.log")));
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    const QString text = QString::fromLatin1(log.readAll());
    EXPECT_TRUE(text.contains(QStringLiteral(" (ERR): MDIMain.mnuCustomersView_Click: no such table"))) << text.toStdString();
}

TEST_F(MainWindowTest, OpeningTheSameChildTwiceGivesTheSameWindow)
{
    Navigation navigation;
    navigation.openers[Command::ViewCustomers] = childWindow<TestChild>();
    MDIMain main(nullptr, navigation);
    main.show();

    main.mnuCustomersView_Click();
    main.tbrMain_ButtonClick(4);
    ASSERT_EQ(main.mdiArea()->subWindowList().size(), 1);
    auto *child = ui::findMdiChild<TestChild>(main.mdiArea());
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(child->displayed, 2);

    // Used again after another window, it comes back to the front.
    childWindow<OtherChild>()(main);
    EXPECT_EQ(ui::activeMdiChild(main.mdiArea()), ui::findMdiChild<OtherChild>(main.mdiArea()));
    main.mnuCustomersView_Click();
    EXPECT_EQ(ui::activeMdiChild(main.mdiArea()), child);
    ui::findMdiChild<OtherChild>(main.mdiArea())->parentWidget()->close();

    // A closed window is unloaded; the next use makes a fresh one.
    main.mdiArea()->subWindowList().first()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(main.mdiArea()->subWindowList().isEmpty());
    main.mnuCustomersView_Click();
    ASSERT_EQ(main.mdiArea()->subWindowList().size(), 1);
    EXPECT_EQ(ui::findMdiChild<TestChild>(main.mdiArea())->displayed, 1);
}

TEST_F(MainWindowTest, ChildClosingItselfTakesItsFrameAlong)
{
    Navigation navigation;
    navigation.openers[Command::ViewCustomers] = childWindow<TestChild>();
    MDIMain main(nullptr, navigation);
    main.show();
    main.mnuCustomersView_Click();
    QPointer<TestChild> child = ui::findMdiChild<TestChild>(main.mdiArea());
    ASSERT_NE(child, nullptr);

    // A window's own Close button unloads it with close(), not through its frame.
    ASSERT_TRUE(child->close());
    for (int round = 0; round < 3; ++round) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }
    EXPECT_TRUE(child.isNull());
    EXPECT_TRUE(main.mdiArea()->subWindowList().isEmpty()) << "an empty frame was left in the main window";

    main.mnuCustomersView_Click();
    ASSERT_EQ(main.mdiArea()->subWindowList().size(), 1);
    EXPECT_EQ(ui::findMdiChild<TestChild>(main.mdiArea())->displayed, 1);
}

TEST_F(MainWindowTest, RefreshCallsFormActivateOfTheActiveChildOnly)
{
    MDIMain main(nullptr, Navigation{});
    main.show();
    EXPECT_FALSE(main.refreshActiveChild());

    auto *plain = new QWidget;
    ui::addMdiChild(main.mdiArea(), plain)->show();
    auto *calendar = ui::sharedMdiChild<TestChild>(main.mdiArea());
    calendar->Display();
    main.mdiArea()->setActiveSubWindow(main.mdiArea()->subWindowList().last());
    EXPECT_TRUE(main.refreshActiveChild());
    EXPECT_EQ(calendar->activated, 1);

    main.mdiArea()->setActiveSubWindow(main.mdiArea()->subWindowList().first());
    EXPECT_FALSE(main.refreshActiveChild());
    EXPECT_EQ(calendar->activated, 1);
}

// --- Edit menu -----------------------------------------------------------

class EditMenuTest : public MainWindowTest
{
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        m_main = std::make_unique<MDIMain>(nullptr, Navigation{});
        auto *form = new QWidget;
        auto *layout = new QVBoxLayout(form);
        txtName = new QLineEdit(QStringLiteral("Harbour View"), form);
        txtNotes = new QLineEdit(QStringLiteral("Jetty three"), form);
        txtLocked = new QLineEdit(QStringLiteral("Locked text"), form);
        txtLocked->setReadOnly(true);
        grdList = new QTableView(form);
        cboType = new QComboBox(form);
        cboType->setEditable(true);
        for (QWidget *control : std::initializer_list<QWidget *>{txtName, txtNotes, txtLocked, grdList, cboType})
            layout->addWidget(control);
        ui::addMdiChild(m_main->mdiArea(), form);
        form->show();
        m_main->show();
        m_main->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(m_main.get()));
        m_actions = editActions(*m_main);
        ASSERT_EQ(m_actions.size(), 8);
    }

    void TearDown() override
    {
        m_main.reset();
        MainWindowTest::TearDown();
    }

    void focus(QWidget *control)
    {
        control->setFocus(Qt::OtherFocusReason);
        ASSERT_EQ(ui::activeMdiControl(m_main->mdiArea()), control);
    }

    // The Edit menu as the user would see it on opening: Undo, Cut, Copy, Paste, Clear, Select All.
    std::vector<bool> openEditMenu()
    {
        QMenu *menu = m_main->findChild<QMenu *>(QStringLiteral("mnuEdit"));
        emit menu->aboutToShow();
        std::vector<bool> states;
        for (int index : {0, 2, 3, 4, 6, 7})
            states.push_back(m_actions.at(index)->isEnabled());
        emit menu->aboutToHide();
        return states;
    }

    std::unique_ptr<MDIMain> m_main;
    QList<QAction *> m_actions;
    QLineEdit *txtName = nullptr;
    QLineEdit *txtNotes = nullptr;
    QLineEdit *txtLocked = nullptr;
    QTableView *grdList = nullptr;
    QComboBox *cboType = nullptr;
};

using States = std::vector<bool>;

TEST_F(EditMenuTest, EntriesFollowTheFocusedBox)
{
    focus(txtName);
    txtName->setSelection(0, 7);
    EXPECT_EQ(openEditMenu(), (States{false, true, true, false, true, true}));

    QGuiApplication::clipboard()->setText(QStringLiteral("Pier"));
    focus(txtLocked);
    txtLocked->setSelection(0, 6);
    EXPECT_EQ(openEditMenu(), (States{false, false, true, true, false, true}));

    txtLocked->deselect();
    EXPECT_EQ(openEditMenu(), (States{false, false, false, true, false, true}));

    focus(grdList);
    EXPECT_EQ(openEditMenu(), States(6, false));
    focus(cboType);
    EXPECT_EQ(openEditMenu(), States(6, false));
    EXPECT_EQ(m_main->EditTarget(), nullptr);
}

TEST_F(EditMenuTest, NoChildWindowDisablesEverythingAndCommandsDoNothing)
{
    for (QMdiSubWindow *subWindow : m_main->mdiArea()->subWindowList())
        subWindow->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(openEditMenu(), States(6, false));
    for (QAction *action : m_actions)
        action->trigger();
}

TEST_F(EditMenuTest, ClearThenUndo)
{
    focus(txtName);
    txtName->setSelection(8, 4);
    openEditMenu();
    m_actions.at(6)->trigger();
    EXPECT_EQ(txtName->text(), QStringLiteral("Harbour "));
    EXPECT_EQ(openEditMenu()[0], true);
    m_actions.at(0)->trigger();
    EXPECT_EQ(txtName->text(), QStringLiteral("Harbour View"));
}

TEST_F(EditMenuTest, CommandActsOnTheBoxFocusedWhenItRuns)
{
    focus(txtName);
    txtName->setSelection(0, 8);
    openEditMenu();

    focus(txtNotes);
    txtNotes->setSelection(0, 6);
    m_actions.at(6)->trigger();
    EXPECT_EQ(txtNotes->text(), QStringLiteral("three"));
    EXPECT_EQ(txtName->text(), QStringLiteral("Harbour View"));

    // With the focus moved off every box, nothing is cleared.
    focus(txtName);
    openEditMenu();
    focus(grdList);
    m_actions.at(6)->trigger();
    EXPECT_EQ(txtName->text(), QStringLiteral("Harbour View"));
}

TEST_F(EditMenuTest, ControlsKeepTheirOwnKeys)
{
    QSignalSpy clear(m_actions.at(6), &QAction::triggered);
    QSignalSpy undo(m_actions.at(0), &QAction::triggered);
    QSignalSpy selectAll(m_actions.at(7), &QAction::triggered);

    // Del with no selection deletes the next character, which the menu's Clear never does.
    focus(txtName);
    txtName->setCursorPosition(0);
    QTest::keyClick(txtName, Qt::Key_Delete);
    EXPECT_EQ(txtName->text(), QStringLiteral("arbour View"));
    QTest::keyClick(txtName, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(txtName->text(), QStringLiteral("Harbour View"));

    // A grid selects all its rows on Ctrl+A, and the box the menu last saw keeps its text.
    QStandardItemModel rows(3, 1);
    grdList->setModel(&rows);
    txtName->setSelection(0, 7);
    openEditMenu();
    focus(grdList);
    QTest::keyClick(grdList, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(grdList, Qt::Key_Delete);
    EXPECT_EQ(grdList->selectionModel()->selectedIndexes().size(), 3);
    EXPECT_EQ(txtName->text(), QStringLiteral("Harbour View"));
    EXPECT_EQ(clear.count() + undo.count() + selectAll.count(), 0);
}

// --- Commands of the main window itself ---------------------------------

TEST_F(MainWindowTest, OnlineSupportOpensThePageAndIgnoresFailure)
{
    MDIMain main(nullptr, Navigation{});
    setShellResult(false);
    main.menuEntry(QStringLiteral("mnuHelpSupport"))->trigger();
    ASSERT_EQ(shellCalls().size(), 1);
    EXPECT_EQ(shellCalls().first().kind, QStringLiteral("openUrl"));
    EXPECT_EQ(shellCalls().first().target, QString::fromUtf8(kSupportAddress));
}

TEST_F(MainWindowTest, EndOfWorkdayAsksBeforeDeletingTraces)
{
    MDIMain main(nullptr, Navigation{});
    expectMessage(QStringLiteral("delete traces older than 7 days"), ui::vbNo);
    main.menuEntry(QStringLiteral("mnuFileDayEndTrace"))->trigger();
    EXPECT_EQ(messages().size(), 1);
}

TEST_F(MainWindowTest, HelpOpensTheHelpFileOnlyWhenItExists)
{
    MDIMain main(nullptr, Navigation{});
    main.mnuHelpContents_Click();
    main.mnuHelpIndex_Click();
    EXPECT_TRUE(shellCalls().isEmpty());

    ASSERT_TRUE(QDir(programDir()).mkpath(QStringLiteral("Help")));
    QFile file(QDir(programDir()).filePath(QStringLiteral("Help/QUORLC.HLP")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    main.mnuHelpIndex_Click();
    ASSERT_EQ(shellCalls().size(), 1);
    EXPECT_EQ(QUrl(shellCalls().first().target).toLocalFile(), QFileInfo(file).absoluteFilePath());
}

TEST_F(MainWindowTest, ClosingWritesTheCloseEventOnce)
{
    ASSERT_TRUE(QDir(driveC()).mkpath(QStringLiteral("Quorlc/traces")));
    InitEventLog();
    {
        MDIMain main(nullptr, Navigation{});
        main.show();
        main.mnuFileExit_Click();
        main.MDIForm_Unload();
    }
    QFile log(EventLogPath);
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    const QByteArray text = log.readAll();
    EXPECT_EQ(text.count("[Application closed]"), 1);
    EXPECT_TRUE(text.contains("[Application closed]\r\n" + QByteArray(32, '-') + "\r\n\r\n"));
}

TEST_F(MainWindowTest, ChildRefusingToCloseKeepsTheProgramRunning)
{
    ASSERT_TRUE(QDir(driveC()).mkpath(QStringLiteral("Quorlc/traces")));
    InitEventLog();
    class Unsaved : public QWidget
    {
    protected:
        void closeEvent(QCloseEvent *event) override { event->ignore(); }
    };
    MDIMain main(nullptr, Navigation{});
    main.show();
    ui::addMdiChild(main.mdiArea(), new Unsaved)->show();
    EXPECT_FALSE(main.close());
    EXPECT_TRUE(main.isVisible());
    EXPECT_FALSE(QFile::exists(EventLogPath));
}

// --- Create Web Booking Page ---------------------------------------------

struct WebPageCase {
    int providerIndex;
    const char *custom;
    const char *expectedAction;   // null: the built-in service
};

void PrintTo(const WebPageCase &c, std::ostream *out)
{
    if (c.providerIndex == 0)
        *out << "BuiltInService";
    else if (*c.custom == '\0')
        *out << "OwnAddressLeftEmpty";
    else
        *out << "OwnAddress";
}

class CreateWebBookingPageTest : public MainWindowTest, public ::testing::WithParamInterface<WebPageCase>
{
};

TEST_P(CreateWebBookingPageTest, GeneratorGetsActionAndEmailOfSettings)
{
    const WebPageCase &param = GetParam();
    DbConnection->Execute(QStringLiteral("UPDATE Settings SET WebBookingEmail = 'o''hara@marina.example', "
                                         "WebBookingProviderIndex = %1, WebBookingProviderCustom = %2")
                              .arg(param.providerIndex)
                              .arg(db::SqlQuote(QString::fromUtf8(param.custom))));
    QStringList generated;
    Navigation navigation;
    navigation.generateWebBookingPage = [&](const QString &action, const QString &email) {
        generated << action << email;
    };
    MDIMain main(nullptr, navigation);
    QAction *entry = main.menuEntry(QStringLiteral("mnuWebBookCreatePage"));
    ASSERT_TRUE(entry->isEnabled());
    entry->trigger();
    const QString expected = param.expectedAction ? QString::fromUtf8(param.expectedAction)
                                                  : QString::fromUtf8(kBuiltInFormService);
    EXPECT_EQ(generated, (QStringList{expected, QStringLiteral("o'hara@marina.example")}));
    EXPECT_EQ(webBookingFormAction(param.providerIndex, QString::fromUtf8(param.custom)), expected);
    EXPECT_TRUE(QString::fromUtf8(kBuiltInFormService).endsWith(QStringLiteral("/cgi-bin/rom.pl")));
}

INSTANTIATE_TEST_SUITE_P(Providers, CreateWebBookingPageTest,
                         ::testing::Values(WebPageCase{0, "https://mine.example/form", nullptr},
                                           WebPageCase{1, "https://mine.example/form", "https://mine.example/form"},
                                           WebPageCase{1, "", ""}));

TEST_F(MainWindowTest, CreateWebBookingPageOnEmptySettingsShowsError)
{
    DbConnection->Execute(QStringLiteral("DELETE FROM Settings"));
    bool generated = false;
    expectMessage(QStringLiteral("Can't generate Webbook:"), ui::vbOK);
    EXPECT_FALSE(CreateWebBookingPage([&](const QString &, const QString &) { generated = true; }));
    EXPECT_FALSE(generated);
    ASSERT_EQ(messages().size(), 1);
    EXPECT_EQ(messages().first().prompt, QStringLiteral("Can't generate Webbook:\r\n"));
    EXPECT_EQ(messages().first().title, QStringLiteral("Error"));
    EXPECT_EQ(messages().first().buttons, ui::vbOKOnly);
}

TEST_F(MainWindowTest, CreateWebBookingPageReportsFailures)
{
    expectMessage(QStringLiteral("Can't generate Webbook:\r\nDisk full"), ui::vbOK);
    EXPECT_FALSE(CreateWebBookingPage([](const QString &, const QString &) { throw std::runtime_error("Disk full"); }));

    // No connection: the reason is shown, nothing escapes.
    DbConnection.reset();
    expectMessage(QStringLiteral("Can't generate Webbook:\r\n"), ui::vbOK);
    EXPECT_FALSE(CreateWebBookingPage([](const QString &, const QString &) {}));
    EXPECT_GT(messages().last().prompt.size(), QStringLiteral("Can't generate Webbook:\r\n").size());
}

// --- The program's own command table ---------------------------------------

// What a command of the program's own table puts in front of the user. A command
// that first asks for a file gets fileAnswer from the file dialog: "" cancels,
// "{log}" is a trace log, "{new}" a new file in the test's world.
struct CommandWindows {
    const char *name;
    Command command;
    std::vector<const char *> windows; // object names, in the order they appear
    bool modal;
    const char *fileAnswer = nullptr;  // null: no file dialog
    // A progress window closes itself and says this; closing it early would ask to abort.
    const char *doneMessage = nullptr;
};

const std::vector<CommandWindows> kCommandWindows = {
    {"ExportCustomers", Command::ExportCustomers, {}, false, ""},
    {"ExportReservations", Command::ExportReservations, {}, false, ""},
    {"ExportTodaysReservations", Command::ExportTodaysReservations, {}, false, ""},
    {"CompactDatabase", Command::CompactDatabase, {"frmCompact"}, true},
    {"BackupDatabase", Command::BackupDatabase, {"frmBackup"}, true, "{new}", "Database backuped"},
    {"RestoreDatabase", Command::RestoreDatabase, {}, false, ""},
    {"ViewTraceLog", Command::ViewTraceLog, {"frmViewEventLog"}, true, "{log}"},
    {"ConfigureWebBookings", Command::ConfigureWebBookings, {"frmWizardWebBook"}, true},
    {"AddBooking", Command::AddBooking, {"frmBooking"}, false},
    {"FindBooking", Command::FindBooking, {"frmFindBooking"}, true},
    {"ViewReports", Command::ViewReports, {"frmReports"}, false},
    {"ViewAdvancedCalendar", Command::ViewAdvancedCalendar, {"frmCalendarPlus"}, false},
    {"ViewSimpleCalendar", Command::ViewSimpleCalendar, {"frmCalendar"}, false},
    {"BerthNotes", Command::BerthNotes, {"frmBerthNotes"}, true},
    {"ViewCustomers", Command::ViewCustomers, {"frmViewCustomers"}, false},
    {"FindCustomer", Command::FindCustomer, {"frmFindCustomer"}, true},
    {"MailingListWizard", Command::MailingListWizard, {"frmWizardMailList"}, true},
    {"ConfigurationWizard", Command::ConfigurationWizard, {"fmCompany", "frmWizardConfig"}, true},
    {"Company", Command::Company, {"fmCompany"}, true},
    {"RegionalSettings", Command::RegionalSettings, {"frmRegionalSettings"}, true},
    {"Berths", Command::Berths, {"frmBerth"}, true},
    {"BerthOwners", Command::BerthOwners, {"frmViewOwners"}, false},
    {"TipOfTheDay", Command::TipOfTheDay, {"frmTipOfTheDay"}, true},
    {"About", Command::About, {"frmAbout"}, true},
};

// Notes every named window as it is shown, and whether it was modal; a modal one is
// closed as soon as its own event loop runs, as a user would close it.
class ShownWindows : public QObject
{
public:
    explicit ShownWindows(bool closeModal = true)
        : m_closeModal(closeModal)
    {
        qApp->installEventFilter(this);
    }
    ~ShownWindows() override { qApp->removeEventFilter(this); }

    QStringList names;
    QStringList modalNames;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *widget = qobject_cast<QWidget *>(watched);
        if (event->type() != QEvent::Show || !widget || widget->objectName().isEmpty())
            return false;
        const bool mdiChild = qobject_cast<QMdiSubWindow *>(widget->parentWidget()) != nullptr;
        if (!widget->isWindow() && !mdiChild)
            return false;
        if (names.isEmpty() || names.last() != widget->objectName())
            names << widget->objectName();
        if (widget->isModal()) {
            modalNames << widget->objectName();
            if (!m_closeModal)
                return false;
            QPointer<QWidget> shown = widget;
            QTimer::singleShot(0, widget, [shown] {
                if (shown)
                    shown->close();
            });
        }
        return false;
    }

private:
    bool m_closeModal;
};

TEST_F(MainWindowTest, EveryCommandOfTheProgramsTableOpensTheWindowItNames)
{
    ASSERT_TRUE(QDir(driveC()).mkpath(QStringLiteral("Quorlc/traces")));
    InitEventLog();
    const QString log = worldDir() + QStringLiteral("/events.Log");
    QFile logFile(log);
    ASSERT_TRUE(logFile.open(QIODevice::WriteOnly));
    logFile.write("[08/12/2026 10:47:00]\r\n[Application started]\r\n\r\n");
    logFile.close();
    // A customer with a stay over today, so every export gets as far as asking for its file.
    DbConnection->Execute(QStringLiteral("INSERT INTO Customer (Name) VALUES ('Ann')"));
    DbConnection->Execute(QStringLiteral("INSERT INTO Booking (CustomerID, FromDate, ToDate) "
                                         "VALUES (1, '2026-12-07 14:00:00', '2026-12-09 09:00:00')"));

    std::map<Command, const CommandWindows *> table;
    for (const CommandWindows &entry : kCommandWindows)
        table[entry.command] = &entry;
    EXPECT_EQ(table.size(), size_t(Command::About) + 1) << "every command has its line in the table";

    const Navigation navigation = defaultNavigation();
    EXPECT_FALSE(navigation.openers.empty());
    for (const auto &[control, command] : kEntryCommands) {
        const auto opener = navigation.openers.find(command);
        if (opener == navigation.openers.end() || !opener->second)
            continue; // not built yet: its entry is greyed out
        const CommandWindows &expected = *table.at(command);
        SCOPED_TRACE(expected.name);

        MDIMain main(nullptr, navigation);
        main.show();
        QAction *entry = main.menuEntry(control);
        ASSERT_NE(entry, nullptr);
        // A hidden entry is disabled by Qt itself, so its shortcut cannot fire.
        EXPECT_EQ(entry->isEnabled(), entry->isVisible());
        if (expected.fileAnswer) {
            QString answer = QString::fromUtf8(expected.fileAnswer);
            answer.replace(QStringLiteral("{log}"), log);
            answer.replace(QStringLiteral("{new}"), worldDir() + QStringLiteral("/backup.SPA"));
            expectFileDialog(answer);
        }
        const qsizetype fileDialogsBefore = fileDialogRequests().size();
        if (expected.doneMessage)
            expectMessage(QString::fromUtf8(expected.doneMessage), ui::vbOK);
        ShownWindows shown(!expected.doneMessage);
        // A hidden entry cannot be chosen; its handler runs the same command.
        if (entry->isVisible())
            entry->trigger();
        else
            ASSERT_TRUE(QMetaObject::invokeMethod(&main, (control + QStringLiteral("_Click")).toLatin1().constData()));

        QStringList windows;
        for (const char *window : expected.windows)
            windows << QString::fromLatin1(window);
        EXPECT_EQ(shown.names, windows);
        EXPECT_EQ(shown.modalNames, expected.modal ? windows : QStringList());
        EXPECT_EQ(fileDialogRequests().size(), fileDialogsBefore + (expected.fileAnswer ? 1 : 0));
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << "a modal window was left open";
        // A window that is not modal stays open beside the others.
        auto stillOpen = [&main](const QString &window) {
            QList<QWidget *> candidates = main.mdiArea()->findChildren<QWidget *>(window);
            candidates += QApplication::topLevelWidgets();
            return std::any_of(candidates.begin(), candidates.end(), [&window](const QWidget *candidate) {
                return candidate->objectName() == window && candidate->isVisible();
            });
        };
        for (const QString &window : windows)
            EXPECT_EQ(stillOpen(window), !expected.modal) << window.toStdString();

        main.mdiArea()->closeAllSubWindows();
        for (QWidget *window : QApplication::topLevelWidgets()) {
            if (window != &main && windows.contains(window->objectName()))
                window->close();
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

// Closing the window in front brings back the one the user was in before it,
// not whichever window happened to be opened first.
struct ReturnCase {
    const char *name;
    std::vector<char> steps;   // 'A', 'B', 'C': open or bring that window to the front, in order
    char closed;               // the window then closed
    char expected;             // the window in front afterwards
};

void PrintTo(const ReturnCase &item, std::ostream *out)
{
    *out << item.name;
}

class ReturnToPreviousWindowTest : public MainWindowTest, public ::testing::WithParamInterface<ReturnCase>
{
};

TEST_P(ReturnToPreviousWindowTest, ClosingTheFrontWindowReturnsToThePreviousOne)
{
    MDIMain main(nullptr, Navigation{});
    main.show();
    main.activateWindow();
    const std::map<char, Opener> openers{
        {'A', childWindow<FirstChild>()}, {'B', childWindow<OtherChild>()}, {'C', childWindow<ThirdChild>()}};
    auto child = [&main](char which) -> QWidget * {
        switch (which) {
        case 'A': return ui::findMdiChild<FirstChild>(main.mdiArea());
        case 'B': return ui::findMdiChild<OtherChild>(main.mdiArea());
        default: return ui::findMdiChild<ThirdChild>(main.mdiArea());
        }
    };
    for (char step : GetParam().steps) {
        openers.at(step)(main);
        ASSERT_EQ(ui::activeMdiChild(main.mdiArea()), child(step));
    }

    QWidget *expected = child(GetParam().expected);
    ASSERT_TRUE(child(GetParam().closed)->close());
    for (int round = 0; round < 3; ++round) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }
    ASSERT_EQ(main.mdiArea()->subWindowList().size(), 2);
    EXPECT_EQ(ui::activeMdiChild(main.mdiArea()), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Windows, ReturnToPreviousWindowTest,
    ::testing::Values(ReturnCase{"FormOpenedFromTheLastWindow", {'A', 'B', 'C'}, 'C', 'B'},
                      ReturnCase{"FormOpenedAfterGoingBackToTheFirst", {'A', 'B', 'A', 'C'}, 'C', 'A'},
                      ReturnCase{"MiddleWindowUsedLast", {'A', 'B', 'C', 'A', 'B'}, 'B', 'A'},
                      ReturnCase{"FirstWindowClosedAfterTheOthers", {'C', 'B', 'A'}, 'A', 'B'}),
    [](const ::testing::TestParamInfo<ReturnCase> &info) { return std::string(info.param.name); });

} // namespace
} // namespace quorl

#include "test_MDIMain.moc"
