#include "core/MDIMain.h"

#include <exception>

#include <QAction>
#include <QCloseEvent>
#include <QIcon>
#include <QKeySequence>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>

#include "core/ProductInfo.h"
#include "core/frmAbout.h"
#include "core/frmRegionalSettings.h"
#include "core/frmTipOfTheDay.h"
#include "core/frmViewEventLog.h"
#include "core/modDatabase.h"
#include "core/modEventLog.h"
#include "core/modHelp.h"
#include "core/modMessageLog.h"
#include "core/modSpas.h"
#include "masterdata/fmCompany.h"
#include "masterdata/frmBerth.h"
#include "masterdata/frmFindCustomer.h"
#include "masterdata/frmViewCustomers.h"
#include "masterdata/frmViewOwners.h"
#include "masterdata/frmWizardConfig.h"
#include "reports/frmReports.h"
#include "reports/frmWizardMailList.h"
#include "reports/frmWizardWebBook.h"
#include "reports/modExport.h"
#include "reports/modWebBookingPage.h"
#include "reservations/frmBerthNotes.h"
#include "reservations/frmBooking.h"
#include "reservations/frmCalendar.h"
#include "reservations/frmCalendarPlus.h"
#include "reservations/frmFindBooking.h"
#include "platform/ui/Clock.h"
#include "platform/ui/MsgBox.h"
#include "platform/ui/Shell.h"

namespace quorl {
namespace {

MDIMain *s_current = nullptr;

// Every handler is an error boundary: what goes wrong is written to the message
// log and the program goes on.
template <class Body>
void guarded(const char *handler, Body body)
{
    const QString where = QStringLiteral("MDIMain.") + QLatin1String(handler);
    try {
        body();
    } catch (const std::exception &error) {
        logError(where, error);
    } catch (...) {
        logError(where, QStringLiteral("unknown error"));
    }
}

enum EditIndex { kUndo = 0, kCut = 2, kCopy = 3, kPaste = 4, kClear = 6, kSelectAll = 7 };

} // namespace

Navigation defaultNavigation()
{
    Navigation n;
    n.openers[Command::ViewCustomers] = childWindow<frmViewCustomers>();
    n.openers[Command::FindCustomer] = modalDialog<frmFindCustomer>();
    n.openers[Command::BerthOwners] = childWindow<frmViewOwners>();
    n.openers[Command::Company] = modalDialog<fmCompany>();
    n.openers[Command::Berths] = displayedDialog<frmBerth>();
    n.openers[Command::AddBooking] = [](MDIMain &main) { main.sharedChild<frmBooking>()->Display(1, 0); };
    n.openers[Command::ViewReports] = childWindow<frmReports>();
    n.openers[Command::ViewSimpleCalendar] = childWindow<frmCalendar>();
    n.openers[Command::FindBooking] = modalDialog<frmFindBooking>();
    n.openers[Command::BerthNotes] = displayedDialog<frmBerthNotes>();
    n.openers[Command::ExportCustomers] = [](MDIMain &) { ExportCustomers(); };
    n.openers[Command::ExportReservations] = [](MDIMain &) { ExportReservations(); };
    n.openers[Command::ExportTodaysReservations] = [](MDIMain &) { ExportTodaysReservations(); };
    n.openers[Command::ConfigureWebBookings] = displayedDialog<frmWizardWebBook>();
    n.openers[Command::MailingListWizard] = displayedDialog<frmWizardMailList>();
    n.generateWebBookingPage = [](const QString &action, const QString &email) {
        GenerateWebBookingPage(action, email);
    };
    n.openers[Command::ConfigurationWizard] = [](MDIMain &main) {
        modalDialog<fmCompany>()(main);
        displayedDialog<frmWizardConfig>()(main);
    };
    n.openers[Command::RegionalSettings] = [](MDIMain &main) { frmRegionalSettings(&main).Dispaly(); };
    n.openers[Command::TipOfTheDay] = [](MDIMain &main) { frmTipOfTheDay(&main).Dispaly(); };
    n.openers[Command::About] = displayedDialog<frmAbout>();
    n.openers[Command::ViewTraceLog] = displayedDialog<frmViewEventLog>();
    n.openers[Command::ViewAdvancedCalendar] = childWindow<frmCalendarPlus>();
    n.openers[Command::CompactDatabase] = [](MDIMain &) { CompactDatabaseCommand(); };
    n.openers[Command::BackupDatabase] = [](MDIMain &) { BackupDatabaseCommand(); };
    n.openers[Command::RestoreDatabase] = [](MDIMain &main) { RestoreDatabaseCommand(main.mdiArea()); };
    return n;
}

QString webBookingFormAction(int providerIndex, const QString &customAddress)
{
    if (providerIndex == 1)
        return customAddress;
    return QString::fromUtf8(kBuiltInFormService);
}

bool CreateWebBookingPage(const WebBookingPageGenerator &generate)
{
    QString description;
    try {
        auto settings = OpenRecordset(QStringLiteral("Settings"), nullptr, true, db::adCmdTableDirect);
        if (!settings->isOpen()) {
            description = settings->lastError();
        } else if (!settings->isEOF()) {
            // An index never stored counts as the built-in service, the wizard's first choice.
            const QVariant index = settings->value(QStringLiteral("WebBookingProviderIndex"));
            bool isNumber = true;
            const int providerIndex = index.isNull() ? 0 : index.toInt(&isNumber);
            if (!isNumber)
                throw std::runtime_error("Type mismatch");
            const QString email = settings->value(QStringLiteral("WebBookingEmail")).toString();
            const QString custom = settings->value(QStringLiteral("WebBookingProviderCustom")).toString();
            settings.reset();
            if (!generate)
                throw std::runtime_error("The web page generator is not available.");
            generate(webBookingFormAction(providerIndex, custom), email);
            return true;
        }
    } catch (const std::exception &error) {
        description = QString::fromUtf8(error.what());
        logError(QStringLiteral("MDIMain.mnuWebBookCreatePage_Click"), error);
    }
    ui::MsgBox(Sprintf(QStringLiteral("Can't generate Webbook:%n%s"), description), ui::vbOKOnly,
               QStringLiteral("Error"));
    return false;
}

QString dlgExport(const ui::FileDialogRequest &request)
{
    return ui::showFileDialog(request);
}

MDIMain::MDIMain(QWidget *parent)
    : MDIMain(parent, defaultNavigation())
{
}

MDIMain::MDIMain(QWidget *parent, Navigation navigation)
    : QMainWindow(parent)
    , m_navigation(std::move(navigation))
{
    setObjectName(QStringLiteral("MDIMain"));
    setWindowTitle(QString::fromUtf8(kMainWindowCaption));
    m_mdiArea = new QMdiArea(this);
    m_mdiArea->setObjectName(QStringLiteral("mdiArea"));
    // Closing the window in front brings back the one used before it (the calendar
    // the booking form was opened from), not the one opened first.
    m_mdiArea->setActivationOrder(QMdiArea::ActivationHistoryOrder);
    setCentralWidget(m_mdiArea);
    createMenus();
    createToolbar();
    updateCommandStates();
    resize(1024, 720);
    s_current = this;
}

MDIMain::~MDIMain()
{
    if (s_current == this)
        s_current = nullptr;
}

MDIMain *MDIMain::current()
{
    return s_current;
}

QAction *MDIMain::menuEntry(const QString &control) const
{
    return findChild<QAction *>(control);
}

void MDIMain::createMenus()
{
    auto addMenu = [this](const char *control, const char *caption) {
        QMenu *menu = menuBar()->addMenu(QString::fromUtf8(caption));
        menu->setObjectName(QString::fromUtf8(control));
        menu->menuAction()->setObjectName(QString::fromUtf8(control));
        return menu;
    };
    auto addEntry = [this](QMenu *menu, const char *control, const char *caption, void (MDIMain::*handler)(),
                           const QKeySequence &shortcut = QKeySequence()) {
        QAction *action = menu->addAction(QString::fromUtf8(caption));
        action->setObjectName(QString::fromUtf8(control));
        action->setShortcut(shortcut);
        if (handler)
            connect(action, &QAction::triggered, this, handler);
        return action;
    };
    auto addSeparator = [](QMenu *menu, const char *control) {
        QAction *separator = menu->addSeparator();
        separator->setObjectName(QString::fromUtf8(control));
        return separator;
    };
    auto addCommand = [&](QMenu *menu, const char *control, const char *caption, void (MDIMain::*handler)(),
                          Command command, const QKeySequence &shortcut = QKeySequence()) {
        QAction *action = addEntry(menu, control, caption, handler, shortcut);
        m_commandEntries[command] = action;
        return action;
    };
    const auto ctrl = [](Qt::Key key) { return QKeySequence(Qt::CTRL | key); };

    mnuFile = addMenu("mnuFile", "File");
    addCommand(mnuFile, "mnuFileExportCustomers", "Export Customers...", &MDIMain::mnuFileExportCustomers_Click,
               Command::ExportCustomers);
    addCommand(mnuFile, "mnuFileExportReservations", "Export Reservations",
               &MDIMain::mnuFileExportReservations_Click, Command::ExportReservations);
    addCommand(mnuFile, "mnuFileExportTodaysReservations", "Export Today's Reservations",
               &MDIMain::mnuFileExportTodaysReservations_Click, Command::ExportTodaysReservations);
    addSeparator(mnuFile, "mnuFile1");
    addEntry(mnuFile, "mnuFilePageSetup", "Page Setup...", nullptr)->setVisible(false);
    addEntry(mnuFile, "mnuFilePrint", "Print...", nullptr, ctrl(Qt::Key_P))->setVisible(false);
    addSeparator(mnuFile, "mnuFile3")->setVisible(false);
    addCommand(mnuFile, "mnuFileCompactDB", "&Compact && repair database", &MDIMain::mnuFileCompactDB_Click,
               Command::CompactDatabase);
    addCommand(mnuFile, "mnuFileBackupDB", "&Backup database ...", &MDIMain::mnuFileBackupDB_Click,
               Command::BackupDatabase);
    addCommand(mnuFile, "mnuFileRestoreDB", "&Restore database ...", &MDIMain::mnuFileRestoreDB_Click,
               Command::RestoreDatabase);
    addSeparator(mnuFile, "mnuFile2");
    addEntry(mnuFile, "mnuFileDayEndTrace", "End of &workday", &MDIMain::mnuFileDayEndTrace_Click);
    addCommand(mnuFile, "mnuFileTracesView", "View &trace log", &MDIMain::mnuFileTracesView_Click,
               Command::ViewTraceLog);
    addSeparator(mnuFile, "mnuFile4");
    addEntry(mnuFile, "mnuFileExit", "Exit", &MDIMain::mnuFileExit_Click);

    mnuEdit = addMenu("mnuEdit", "Edit");
    const struct {
        const char *caption;
        QKeySequence shortcut;
    } editEntries[8] = {
        {"Undo", ctrl(Qt::Key_Z)},  {nullptr, {}},           {"Cut", ctrl(Qt::Key_X)},
        {"Copy", ctrl(Qt::Key_C)},  {"Paste", ctrl(Qt::Key_V)}, {nullptr, {}},
        {"Clear", QKeySequence(Qt::Key_Delete)}, {"Select All", ctrl(Qt::Key_A)},
    };
    for (int index = 0; index < 8; ++index) {
        QAction *action = editEntries[index].caption ? mnuEdit->addAction(QString::fromUtf8(editEntries[index].caption))
                                                     : mnuEdit->addSeparator();
        action->setObjectName(QStringLiteral("mnuEditAction"));
        action->setProperty("Index", index);
        action->setShortcut(editEntries[index].shortcut);
        // Ctrl+C, Del, Ctrl+A... belong to the focused control: a text box does
        // these commands itself and a grid has its own. The menu shows the keys,
        // and they never take a key away from a control.
        action->setShortcutContext(Qt::WidgetShortcut);
        if (editEntries[index].caption)
            connect(action, &QAction::triggered, this, [this, index] { mnuEditAction_Click(index); });
        mnuEditAction[index] = action;
    }
    connect(mnuEdit, &QMenu::aboutToShow, this, &MDIMain::mnuEdit_Click);
    // The states shown in the open menu are for that moment only; afterwards the
    // shortcuts must reach their handler, which looks at the focused box itself.
    connect(mnuEdit, &QMenu::aboutToHide, this, &MDIMain::enableEditActions);

    mnuWebBook = addMenu("mnuWebBook", "Web Bookings");
    addCommand(mnuWebBook, "mnuWebBookConfigure", "Configure Web Bookings...", &MDIMain::mnuWebBookConfigure_Click,
               Command::ConfigureWebBookings);
    addEntry(mnuWebBook, "mnuWebBookCreatePage", "Create Web Booking Page...", &MDIMain::mnuWebBookCreatePage_Click);

    mnuBookings = addMenu("mnuBookings", "Bookings");
    addCommand(mnuBookings, "mnuBookingsAdd", "Add Booking", &MDIMain::mnuBookingsAdd_Click, Command::AddBooking,
               ctrl(Qt::Key_B));
    addCommand(mnuBookings, "mnuBookingsFind", "Find Booking...", &MDIMain::mnuBookingsFind_Click,
               Command::FindBooking, ctrl(Qt::Key_F));
    addCommand(mnuBookings, "mnuBookingsReport", "View Reports", &MDIMain::mnuBookingsReport_Click,
               Command::ViewReports);
    addSeparator(mnuBookings, "mnuBookings1");
    addCommand(mnuBookings, "mnuBookingsCalendarAdvanced", "View Advanced Calendar",
               &MDIMain::mnuBookingsCalendarAdvanced_Click, Command::ViewAdvancedCalendar, ctrl(Qt::Key_D));
    addCommand(mnuBookings, "mnuBookingsCalendar", "View Simple Calendar", &MDIMain::mnuBookingsCalendar_Click,
               Command::ViewSimpleCalendar, ctrl(Qt::Key_S));
    addSeparator(mnuBookings, "mnuBookings2");
    addCommand(mnuBookings, "mnuBookingsSlipNotes", "Berth / Rentals  Notes...", &MDIMain::mnuBookingsSlipNotes_Click,
               Command::BerthNotes);
    addSeparator(mnuBookings, "mnuBookings3");
    addEntry(mnuBookings, "mnuBookingsJumpToToDay", "Jump to Today...", nullptr, ctrl(Qt::Key_T))->setVisible(false);

    mnuCustomers = addMenu("mnuCustomers", "Customers");
    addCommand(mnuCustomers, "mnuCustomersView", "View Customers", &MDIMain::mnuCustomersView_Click,
               Command::ViewCustomers, ctrl(Qt::Key_O));
    addCommand(mnuCustomers, "mnuCustomersFind", "Find Customer...", &MDIMain::mnuCustomersFind_Click,
               Command::FindCustomer, ctrl(Qt::Key_M));
    addSeparator(mnuCustomers, "mnuCustomers1");
    addCommand(mnuCustomers, "mnuCustomersMailingListWizard", "Email Mailing List Wizard...",
               &MDIMain::mnuCustomersMailingListWizard_Click, Command::MailingListWizard);

    mnuconfig = addMenu("mnuconfig", "Configure");
    addCommand(mnuconfig, "mnuConfigWizard", "Configuration Wizard...", &MDIMain::mnuConfigWizard_Click,
               Command::ConfigurationWizard);
    addSeparator(mnuconfig, "mnuConfig1");
    addCommand(mnuconfig, "mnuconfigcompany", "Company...", &MDIMain::mnuconfigcompany_Click, Command::Company);
    addCommand(mnuconfig, "mnuConfigRegionalSettings", "Regional Settings...",
               &MDIMain::mnuConfigRegionalSettings_Click, Command::RegionalSettings);
    addCommand(mnuconfig, "mnuConfigBerths", "Berths...", &MDIMain::mnuConfigBerths_Click, Command::Berths);
    addCommand(mnuconfig, "mnuConfigBerthOwners", "Berth Owners...", &MDIMain::mnuConfigBerthOwners_Click,
               Command::BerthOwners);

    mnuHelp = addMenu("mnuHelp", "Help");
    addEntry(mnuHelp, "mnuHelpContents", "Contents...", &MDIMain::mnuHelpContents_Click)->setVisible(false);
    addEntry(mnuHelp, "mnuHelpIndex", "Index...", &MDIMain::mnuHelpIndex_Click)->setVisible(false);
    addCommand(mnuHelp, "mnuHelpTipOfTheDay", "Tip of the Day...", &MDIMain::mnuHelpTipOfTheDay_Click,
               Command::TipOfTheDay)
        ->setVisible(false);
    addSeparator(mnuHelp, "mnuHelp1")->setVisible(false);
    addEntry(mnuHelp, "mnuHelpSupport", "Online Support", &MDIMain::mnuHelpSupport_Click);
    addEntry(mnuHelp, "mnuHelpFeedback", "Send Feedback", nullptr)->setVisible(false);
    addSeparator(mnuHelp, "mnuHelp3");
    addCommand(mnuHelp, "mnuHelpAbout", "About...", &MDIMain::mnuHelpAbout_Click, Command::About);
}

void MDIMain::createToolbar()
{
    tbrMain = addToolBar(QStringLiteral("tbrMain"));
    tbrMain->setObjectName(QStringLiteral("tbrMain"));
    tbrMain->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    tbrMain->setMovable(false);
    tbrMain->setFloatable(false);
    tbrMain->toggleViewAction()->setVisible(false);

    const struct {
        const char *caption;
        const char *picture;
    } buttons[7] = {
        {"Add Reservation", ":/icons/add-reservation.png"}, {"Calendar", ":/icons/calendar.png"},
        {"Advanced Calendar", ":/icons/advanced-calendar.png"}, {"View Customers", ":/icons/customers.png"},
        {"Reports", ":/icons/reports.png"}, {"Find", ":/icons/find.png"},
        {"Web Bookings", ":/icons/web-bookings.png"},
    };
    for (int index = 1; index <= 7; ++index) {
        QAction *button = new QAction(QIcon(QString::fromUtf8(buttons[index - 1].picture)),
                                      QString::fromUtf8(buttons[index - 1].caption), tbrMain);
        button->setObjectName(QStringLiteral("tbrMainButton%1").arg(index));
        button->setProperty("Index", index);
        connect(button, &QAction::triggered, this, [this, index] { tbrMain_ButtonClick(index); });
        m_toolbarButtons[index] = button;
    }

    auto *findMenu = new QMenu(this);
    findMenu->setObjectName(QStringLiteral("tbrMainButton6Menu"));
    const char *findEntries[2] = {"Customer", "Reservation"};
    for (int index = 1; index <= 2; ++index) {
        QAction *entry = findMenu->addAction(QString::fromUtf8(findEntries[index - 1]));
        entry->setObjectName(QStringLiteral("tbrMainButtonMenu%1").arg(index));
        entry->setProperty("Index", index);
        connect(entry, &QAction::triggered, this, [this, index] { tbrMain_ButtonMenuClick(index); });
    }
    m_findMenu = findMenu;

    for (int index = 1; index <= 7; ++index)
        tbrMain->addAction(m_toolbarButtons[index]);
    // The button itself does nothing; its arrow opens the menu.
    m_findButton = qobject_cast<QToolButton *>(tbrMain->widgetForAction(m_toolbarButtons[6]));
    m_findButton->setMenu(findMenu);
    m_findButton->setPopupMode(QToolButton::MenuButtonPopup);
}

bool MDIMain::isAvailable(Command command) const
{
    const auto found = m_navigation.openers.find(command);
    return found != m_navigation.openers.end() && found->second;
}

void MDIMain::updateCommandStates()
{
    for (const auto &[command, action] : m_commandEntries)
        action->setEnabled(isAvailable(command));
    menuEntry(QStringLiteral("mnuWebBookCreatePage"))->setEnabled(bool(m_navigation.generateWebBookingPage));

    // Each button has its menu entry's state; the Find button is usable while
    // either entry of its menu is.
    const std::map<int, Command> buttonCommands = {
        {1, Command::AddBooking},    {2, Command::ViewSimpleCalendar}, {3, Command::ViewAdvancedCalendar},
        {4, Command::ViewCustomers}, {5, Command::ViewReports},         {7, Command::ConfigureWebBookings},
    };
    for (const auto &[index, command] : buttonCommands)
        m_toolbarButtons[index]->setEnabled(isAvailable(command));
    const QList<QAction *> findEntries = m_findMenu->actions();
    findEntries.at(0)->setEnabled(isAvailable(Command::FindCustomer));
    findEntries.at(1)->setEnabled(isAvailable(Command::FindBooking));
    m_toolbarButtons[6]->setEnabled(isAvailable(Command::FindCustomer) || isAvailable(Command::FindBooking));
}

void MDIMain::run(Command command, const char *handler)
{
    guarded(handler, [&] {
        if (isAvailable(command))
            m_navigation.openers.at(command)(*this);
    });
}

bool MDIMain::refreshActiveChild()
{
    return ui::callFormActivate(m_mdiArea);
}

void MDIMain::mnuFileExportCustomers_Click()
{
    run(Command::ExportCustomers, "mnuFileExportCustomers_Click");
}

void MDIMain::mnuFileExportReservations_Click()
{
    run(Command::ExportReservations, "mnuFileExportReservations_Click");
}

void MDIMain::mnuFileExportTodaysReservations_Click()
{
    run(Command::ExportTodaysReservations, "mnuFileExportTodaysReservations_Click");
}

void MDIMain::mnuFileCompactDB_Click()
{
    run(Command::CompactDatabase, "mnuFileCompactDB_Click");
}

void MDIMain::mnuFileBackupDB_Click()
{
    run(Command::BackupDatabase, "mnuFileBackupDB_Click");
}

void MDIMain::mnuFileRestoreDB_Click()
{
    run(Command::RestoreDatabase, "mnuFileRestoreDB_Click");
}

void MDIMain::mnuFileDayEndTrace_Click()
{
    guarded("mnuFileDayEndTrace_Click", [] { DeleteOldTraces(); });
}

void MDIMain::mnuFileTracesView_Click()
{
    run(Command::ViewTraceLog, "mnuFileTracesView_Click");
}

void MDIMain::mnuFileExit_Click()
{
    guarded("mnuFileExit_Click", [this] { close(); });
}

void MDIMain::bindEditTarget()
{
    QWidget *control = ui::activeMdiControl(m_mdiArea);
    if (cTextBoxEdit::isTextBox(control))
        m_editTarget = std::make_unique<cTextBoxEdit>(control);
    else
        m_editTarget.reset();
}

void MDIMain::enableEditActions()
{
    for (QAction *action : mnuEditAction)
        action->setEnabled(true);
}

void MDIMain::mnuEdit_Click()
{
    guarded("mnuEdit_Click", [this] {
        bindEditTarget();
        const cTextBoxEdit *target = m_editTarget.get();
        mnuEditAction[kUndo]->setEnabled(target && target->CanUndo());
        mnuEditAction[kCut]->setEnabled(target && target->CanCut());
        mnuEditAction[kCopy]->setEnabled(target && target->CanCopy());
        mnuEditAction[kPaste]->setEnabled(target && target->CanPaste());
        mnuEditAction[kClear]->setEnabled(target && target->CanCut());
        mnuEditAction[kSelectAll]->setEnabled(target != nullptr);
    });
}

void MDIMain::mnuEditAction_Click(int index)
{
    guarded("mnuEditAction_Click", [this, index] {
        // The box is the one focused now, whether the command came from the menu
        // or from its shortcut; a command its menu entry would not offer does nothing.
        bindEditTarget();
        cTextBoxEdit *target = m_editTarget.get();
        if (!target)
            return;
        switch (index) {
        case kUndo:
            target->Undo();
            break;
        case kCut:
            if (target->CanCut())
                target->Cut();
            break;
        case kCopy:
            if (target->CanCopy())
                target->Copy();
            break;
        case kPaste:
            if (target->CanPaste())
                target->Paste();
            break;
        case kClear:
            if (target->CanCut())
                target->Delete(true);
            break;
        case kSelectAll:
            target->SelectAll();
            break;
        default:
            break;
        }
    });
}

void MDIMain::mnuWebBookConfigure_Click()
{
    run(Command::ConfigureWebBookings, "mnuWebBookConfigure_Click");
}

void MDIMain::mnuWebBookCreatePage_Click()
{
    guarded("mnuWebBookCreatePage_Click",
            [this] { CreateWebBookingPage(m_navigation.generateWebBookingPage); });
}

void MDIMain::mnuBookingsAdd_Click()
{
    run(Command::AddBooking, "mnuBookingsAdd_Click");
}

void MDIMain::mnuBookingsFind_Click()
{
    run(Command::FindBooking, "mnuBookingsFind_Click");
}

void MDIMain::mnuBookingsReport_Click()
{
    run(Command::ViewReports, "mnuBookingsReport_Click");
}

void MDIMain::mnuBookingsCalendarAdvanced_Click()
{
    run(Command::ViewAdvancedCalendar, "mnuBookingsCalendarAdvanced_Click");
}

void MDIMain::mnuBookingsCalendar_Click()
{
    run(Command::ViewSimpleCalendar, "mnuBookingsCalendar_Click");
}

void MDIMain::mnuBookingsSlipNotes_Click()
{
    run(Command::BerthNotes, "mnuBookingsSlipNotes_Click");
}

void MDIMain::mnuCustomersView_Click()
{
    run(Command::ViewCustomers, "mnuCustomersView_Click");
}

void MDIMain::mnuCustomersFind_Click()
{
    run(Command::FindCustomer, "mnuCustomersFind_Click");
}

void MDIMain::mnuCustomersMailingListWizard_Click()
{
    run(Command::MailingListWizard, "mnuCustomersMailingListWizard_Click");
}

void MDIMain::mnuConfigWizard_Click()
{
    run(Command::ConfigurationWizard, "mnuConfigWizard_Click");
}

void MDIMain::mnuconfigcompany_Click()
{
    run(Command::Company, "mnuconfigcompany_Click");
}

void MDIMain::mnuConfigRegionalSettings_Click()
{
    run(Command::RegionalSettings, "mnuConfigRegionalSettings_Click");
}

void MDIMain::mnuConfigBerths_Click()
{
    run(Command::Berths, "mnuConfigBerths_Click");
}

void MDIMain::mnuConfigBerthOwners_Click()
{
    run(Command::BerthOwners, "mnuConfigBerthOwners_Click");
}

void MDIMain::mnuHelpContents_Click()
{
    guarded("mnuHelpContents_Click", [this] { ShowHelpContext(HelpFilePath(), 1, this); });
}

void MDIMain::mnuHelpIndex_Click()
{
    guarded("mnuHelpIndex_Click", [this] { ShowHelpIndex(HelpFilePath(), this); });
}

void MDIMain::mnuHelpTipOfTheDay_Click()
{
    run(Command::TipOfTheDay, "mnuHelpTipOfTheDay_Click");
}

void MDIMain::mnuHelpSupport_Click()
{
    // Whether the browser opened is not reported, as the command always was.
    guarded("mnuHelpSupport_Click", [] { ui::ShellOpen(QString::fromUtf8(kSupportAddress)); });
}

void MDIMain::mnuHelpAbout_Click()
{
    run(Command::About, "mnuHelpAbout_Click");
}

void MDIMain::tbrMain_ButtonClick(int index)
{
    switch (index) {
    case 1:
        mnuBookingsAdd_Click();
        break;
    case 2:
        mnuBookingsCalendar_Click();
        break;
    case 3:
        mnuBookingsCalendarAdvanced_Click();
        break;
    case 4:
        mnuCustomersView_Click();
        break;
    case 5:
        mnuBookingsReport_Click();
        break;
    case 7:
        mnuWebBookConfigure_Click();
        break;
    default:
        break;
    }
}

void MDIMain::tbrMain_ButtonMenuClick(int index)
{
    if (index == 1)
        mnuCustomersFind_Click();
    else if (index == 2)
        mnuBookingsFind_Click();
}

void MDIMain::closeEvent(QCloseEvent *event)
{
    m_mdiArea->closeAllSubWindows();
    // A child window that refused to close (its work not yet saved) keeps the program running.
    for (const QMdiSubWindow *subWindow : m_mdiArea->subWindowList()) {
        if (subWindow->isVisible()) {
            event->ignore();
            return;
        }
    }
    MDIForm_Unload();
    event->accept();
}

void MDIMain::MDIForm_Unload()
{
    // Closing by the window box and by "Exit" both pass here; the event is written once.
    if (m_unloaded)
        return;
    m_unloaded = true;
    guarded("MDIForm_Unload", [this] {
        if (frmReports *reports = ui::findMdiChild<frmReports>(m_mdiArea))
            reports->close();
    });
    guarded("MDIForm_Unload", [] { WriteEventLog(ui::Now(), 1, QString(32, QLatin1Char('-'))); });
}

} // namespace quorl
