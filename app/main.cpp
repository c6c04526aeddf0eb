#include <QApplication>

#include "core/MDIMain.h"
#include "core/modDatabase.h"
#include "core/modMain.h"
#include "platform/ui/Services.h"

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorl Marina"));
    Q_INIT_RESOURCE(resources);
    quorl::ui::installQtServices();

    std::unique_ptr<quorl::MDIMain> mainWindow = quorl::Main();
    if (!mainWindow)
        return 0;
    const int result = app.exec();
    mainWindow.reset();
    quorl::DbConnection.reset();
    return result;
}
