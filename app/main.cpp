#include <QApplication>

#include "core/MDIMain.h"
#include "core/modDatabase.h"
#include "core/modMain.h"
#include "platform/db/HeapReuse.h"
#include "platform/ui/Services.h"
#include "platform/ui/TextBoxes.h"

int main(int argc, char *argv[])
{
    quorl::db::keepFreedHeapForReuse();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorl Marina"));
    Q_INIT_RESOURCE(resources);
    quorl::ui::installQtServices();
    quorl::ui::installTextBoxRules();

    std::unique_ptr<quorl::MDIMain> mainWindow = quorl::Main();
    // The user was told the database cannot be used; a script starting the program learns it too.
    if (!mainWindow)
        return 1;
    const int result = app.exec();
    mainWindow.reset();
    quorl::DbConnection.reset();
    return result;
}
