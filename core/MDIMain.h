#pragma once

#include <array>
#include <functional>
#include <map>
#include <memory>

#include <QMainWindow>
#include <QPointer>
#include <QString>

#include "core/cTextBoxEdit.h"
#include "platform/ui/FileDialog.h"
#include "platform/ui/MdiChildren.h"

class QMdiArea;
class QMenu;
class QAction;
class QToolBar;
class QToolButton;

namespace quorl {

class MDIMain;

// The commands of the menus and the toolbar whose work lies outside the main
// window: a window to open or a routine of another part of the program.
enum class Command {
    ExportCustomers,
    ExportReservations,
    ExportTodaysReservations,
    CompactDatabase,
    BackupDatabase,
    RestoreDatabase,
    ViewTraceLog,
    ConfigureWebBookings,
    AddBooking,
    FindBooking,
    ViewReports,
    ViewAdvancedCalendar,
    ViewSimpleCalendar,
    BerthNotes,
    ViewCustomers,
    FindCustomer,
    MailingListWizard,
    ConfigurationWizard,
    Company,
    RegionalSettings,
    Berths,
    BerthOwners,
    TipOfTheDay,
    About,
};

using Opener = std::function<void(MDIMain &)>;
using WebBookingPageGenerator = std::function<void(const QString &action, const QString &email)>;

// What each command runs. A command without an opener has its menu entry and
// toolbar button disabled, so the program never offers a window it lacks; the
// web page command likewise needs the page generator.
struct Navigation {
    std::map<Command, Opener> openers;
    WebBookingPageGenerator generateWebBookingPage;
};

// The program's own table. Wiring a window is one line in it, e.g.
// openers[Command::ViewCustomers] = childWindow<frmViewCustomers>().
Navigation defaultNavigation();

// The address the web page's form posts to.
inline constexpr const char *kBuiltInFormService = "https://forms.quorl.example/cgi-bin/rom.pl";
// The maker's support page, opened by "Online Support".
inline constexpr const char *kSupportAddress = "https://www.quorl.example/support";

// The form action of the web booking page: the custom address when the provider
// index is 1 (even an empty one), otherwise the built-in service.
QString webBookingFormAction(int providerIndex, const QString &customAddress);

// "Create Web Booking Page...": reads the Settings row and hands its form action
// and e-mail address to generate. An empty table, a failure to read it or an
// error of the generator shows "Can't generate Webbook:" with the reason under
// the title "Error". Returns true when the generator ran to its end.
bool CreateWebBookingPage(const WebBookingPageGenerator &generate);

// The program's one file dialog; every caller sets every field of the request.
// The chosen local path, or "" when the user cancels.
QString dlgExport(const ui::FileDialogRequest &request);

// The program's one main window: the parent of every child window.
class MDIMain : public QMainWindow
{
    Q_OBJECT

public:
    explicit MDIMain(QWidget *parent = nullptr);
    MDIMain(QWidget *parent, Navigation navigation);
    ~MDIMain() override;

    // The main window in use, or null before it is made and after it is gone.
    static MDIMain *current();

    QMdiArea *mdiArea() const { return m_mdiArea; }
    QToolBar *toolBar() const { return tbrMain; }

    // The menu entry or separator of that control name, or null.
    QAction *menuEntry(const QString &control) const;

    // The one T among the child windows, made with new T on first use.
    template <class T>
    T *sharedChild()
    {
        return ui::sharedMdiChild<T>(m_mdiArea);
    }

    // Calls Form_Activate of the active child window, so a window that shows the
    // berths or bookings reloads them after another window changed them.
    bool refreshActiveChild();

    // The text box the Edit menu works on; null when none was found.
    cTextBoxEdit *EditTarget() const { return m_editTarget.get(); }

    void MDIForm_Unload();

public slots:
    void mnuFileExportCustomers_Click();
    void mnuFileExportReservations_Click();
    void mnuFileExportTodaysReservations_Click();
    void mnuFileCompactDB_Click();
    void mnuFileBackupDB_Click();
    void mnuFileRestoreDB_Click();
    void mnuFileDayEndTrace_Click();
    void mnuFileTracesView_Click();
    void mnuFileExit_Click();

    void mnuEdit_Click();
    void mnuEditAction_Click(int index);

    void mnuWebBookConfigure_Click();
    void mnuWebBookCreatePage_Click();

    void mnuBookingsAdd_Click();
    void mnuBookingsFind_Click();
    void mnuBookingsReport_Click();
    void mnuBookingsCalendarAdvanced_Click();
    void mnuBookingsCalendar_Click();
    void mnuBookingsSlipNotes_Click();

    void mnuCustomersView_Click();
    void mnuCustomersFind_Click();
    void mnuCustomersMailingListWizard_Click();

    void mnuConfigWizard_Click();
    void mnuconfigcompany_Click();
    void mnuConfigRegionalSettings_Click();
    void mnuConfigBerths_Click();
    void mnuConfigBerthOwners_Click();

    void mnuHelpContents_Click();
    void mnuHelpIndex_Click();
    void mnuHelpTipOfTheDay_Click();
    void mnuHelpSupport_Click();
    void mnuHelpAbout_Click();

    void tbrMain_ButtonClick(int index);
    void tbrMain_ButtonMenuClick(int index);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void createMenus();
    void createToolbar();
    void updateCommandStates();
    bool isAvailable(Command command) const;
    void run(Command command, const char *handler);
    void bindEditTarget();
    void enableEditActions();

    Navigation m_navigation;
    QMdiArea *m_mdiArea = nullptr;

    QMenu *mnuFile = nullptr;
    QMenu *mnuEdit = nullptr;
    QMenu *mnuWebBook = nullptr;
    QMenu *mnuBookings = nullptr;
    QMenu *mnuCustomers = nullptr;
    QMenu *mnuconfig = nullptr;
    QMenu *mnuHelp = nullptr;
    std::array<QAction *, 8> mnuEditAction{};
    std::map<Command, QAction *> m_commandEntries;

    QToolBar *tbrMain = nullptr;
    std::array<QAction *, 8> m_toolbarButtons{};   // by button index 1 to 7
    QToolButton *m_findButton = nullptr;
    QMenu *m_findMenu = nullptr;

    std::unique_ptr<cTextBoxEdit> m_editTarget;
    bool m_unloaded = false;
};

// Openers for the navigation table: a child window kept once in the main window
// and opened through its Display(); a modal dialog shown until it closes; and a
// dialog whose own Display() shows it modally.
template <class T>
Opener childWindow()
{
    return [](MDIMain &main) {
        QPointer<T> child = main.sharedChild<T>();
        child->Display();
        // A window used again comes to the front; one that closed itself in Display stays closed.
        if (child && child->isVisible())
            ui::activateMdiChild(main.mdiArea(), child);
    };
}

template <class T>
Opener modalDialog()
{
    return [](MDIMain &main) {
        T dialog(&main);
        dialog.exec();
    };
}

template <class T>
Opener displayedDialog()
{
    return [](MDIMain &main) {
        T dialog(&main);
        dialog.Display();
    };
}

} // namespace quorl
