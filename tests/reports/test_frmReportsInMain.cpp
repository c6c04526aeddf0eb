#include <gtest/gtest.h>

#include <QAction>
#include <QMdiArea>
#include <QPointer>

#include "ReportWorld.h"
#include "core/MDIMain.h"
#include "platform/ui/MdiChildren.h"
#include "reports/frmReports.h"

namespace quorl {
namespace {

class ReportsInMainWindow : public ReportWorld {};

TEST_F(ReportsInMainWindow, ViewReportsOpensTheManagerAndShutDownUnloadsIt)
{
    MDIMain main(nullptr, defaultNavigation());
    main.show();
    QAction *viewReports = main.menuEntry(QStringLiteral("mnuBookingsReport"));
    ASSERT_NE(viewReports, nullptr);
    ASSERT_TRUE(viewReports->isEnabled());
    viewReports->trigger();
    QPointer<frmReports> manager = ui::findMdiChild<frmReports>(main.mdiArea());
    ASSERT_NE(manager, nullptr);
    EXPECT_TRUE(manager->isVisible());

    // Opening it again finds the same window.
    main.tbrMain_ButtonClick(5);
    EXPECT_EQ(ui::findMdiChild<frmReports>(main.mdiArea()), manager.data());

    main.MDIForm_Unload();
    EXPECT_TRUE(manager.isNull() || !manager->isVisible());
}

} // namespace
} // namespace quorl
