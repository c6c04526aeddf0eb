#include "core/modMain.h"

#include <QApplication>
#include <QIcon>
#include <QThread>

#include "core/MDIMain.h"
#include "core/ProductInfo.h"
#include "core/ProductLogo.h"
#include "core/RegistryValues.h"
#include "core/frmSplash.h"
#include "core/frmTipOfTheDay.h"
#include "core/modDatabase.h"
#include "core/modEventLog.h"
#include "platform/registry/Registry.h"
#include "platform/ui/Clock.h"
#include "platform/ui/MsgBox.h"

namespace quorl {
namespace {

void showSplash(int milliseconds)
{
    frmSplash splash;
    splash.show();
    // One pass of the event loop lets the splash paint; then the program waits.
    QApplication::processEvents();
    if (milliseconds > 0)
        QThread::msleep(milliseconds);
    splash.close();
}

} // namespace

std::unique_ptr<MDIMain> Main(int splashMilliseconds)
{
    QApplication::setWindowIcon(QIcon(productLogo()));
    showSplash(splashMilliseconds);

    const QString path = GetRegistryValue(HKEY_LOCAL_MACHINE, QString::fromUtf8(kProgramKey),
                                          QString::fromUtf8(kValueData), QString::fromUtf8(kDefaultData));
    // A file that opens but cannot be written would fail at every save: it is refused here.
    DbConnection = OpenWritableConnection(path, QString(), 500);
    if (!DbConnection) {
        ui::MsgBox(QStringLiteral("DB Connection Error"), ui::vbCritical | ui::vbOKOnly,
                   QString::fromUtf8(kMainWindowCaption));
        return nullptr;
    }

    InitEventLog();
    WriteEventLog(ui::Now(), 0, QString());

    auto mainWindow = std::make_unique<MDIMain>();
    mainWindow->show();
    if (tipShownAtStartup())
        showTipAtStartup(mainWindow.get());
    return mainWindow;
}

} // namespace quorl
