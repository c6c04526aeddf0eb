#include "masterdata/ContactForms.h"

#include <QEvent>
#include <QFont>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMetaObject>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/modDatabase.h"
#include "core/modMessageLog.h"
#include "platform/db/Connection.h"
#include "platform/db/Error.h"
#include "platform/db/Recordset.h"
#include "platform/ui/DataGrid.h"
#include "platform/ui/Twips.h"

namespace quorl {

ListWindowControls buildListWindow(QWidget *window, const QString &title, const char *gridName,
                                   const std::array<const char *, 3> &buttonNames,
                                   const std::array<QString, 3> &buttonCaptions)
{
    ListWindowControls controls;
    controls.lblFormTitle = new QLabel(title, window);
    controls.lblFormTitle->setObjectName(QStringLiteral("lblFormTitle"));
    controls.lblFormTitle->setAlignment(Qt::AlignCenter);
    QFont titleFont(QStringLiteral("Arial"));
    titleFont.setPointSizeF(9.75);
    titleFont.setBold(true);
    controls.lblFormTitle->setFont(titleFont);

    auto *fraMain = new QFrame(window);
    fraMain->setObjectName(QStringLiteral("fraMain"));
    fraMain->setFrameShape(QFrame::Box);
    fraMain->setFrameShadow(QFrame::Sunken);

    controls.grid = new ui::DataGrid(fraMain);
    controls.grid->setObjectName(QString::fromLatin1(gridName));

    auto *line = new QFrame(fraMain);
    line->setObjectName(QStringLiteral("Line1"));
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);

    std::array<QPushButton *, 3> buttons{};
    auto *buttonRow = new QHBoxLayout;
    buttonRow->addStretch();
    for (int i = 0; i < 3; ++i) {
        buttons[i] = new QPushButton(buttonCaptions[i], fraMain);
        buttons[i]->setObjectName(QString::fromLatin1(buttonNames[i]));
        buttons[i]->setAutoDefault(false);
        buttons[i]->setMinimumSize(ui::twipsToPixels(1875), ui::twipsToPixels(375));
        buttonRow->addWidget(buttons[i]);
    }
    controls.cmdAdd = buttons[0];
    controls.cmdEdit = buttons[1];
    controls.cmdDelete = buttons[2];

    auto *frameLayout = new QVBoxLayout(fraMain);
    frameLayout->addWidget(controls.grid, 1);
    frameLayout->addWidget(line);
    frameLayout->addLayout(buttonRow);

    auto *layout = new QVBoxLayout(window);
    layout->addWidget(controls.lblFormTitle);
    layout->addWidget(fraMain, 1);

    QWidget::setTabOrder(controls.grid, controls.cmdAdd);
    QWidget::setTabOrder(controls.cmdAdd, controls.cmdEdit);
    QWidget::setTabOrder(controls.cmdEdit, controls.cmdDelete);
    // Below this size a resize no longer moves the controls.
    window->setMinimumSize(ui::twipsToPixels(6875), ui::twipsToPixels(4600));
    return controls;
}

void showListWindow(QWidget *window)
{
    auto *subWindow = qobject_cast<QMdiSubWindow *>(window->parentWidget());
    if (!subWindow) {
        window->show();
        window->raise();
        window->activateWindow();
        return;
    }
    const char *hooked = "quorlFormActivateHooked";
    if (!subWindow->property(hooked).toBool()) {
        subWindow->setProperty(hooked, true);
        QObject::connect(subWindow, &QMdiSubWindow::aboutToActivate, window,
                         [window] { QMetaObject::invokeMethod(window, "Form_Activate"); });
    }
    subWindow->show();
    if (QMdiArea *area = subWindow->mdiArea())
        area->setActiveSubWindow(subWindow);
    QMetaObject::invokeMethod(window, "Form_Activate");
    subWindow->raise();
}

void maximiseListWindow(QWidget *window)
{
    auto *subWindow = qobject_cast<QMdiSubWindow *>(window->parentWidget());
    if (subWindow && !subWindow->isMaximized())
        subWindow->showMaximized();
}

QLineEdit *addTextRow(QGridLayout *grid, int row, const char *objectName, const QString &caption, int maxLength)
{
    auto *box = new QLineEdit(grid->parentWidget());
    box->setObjectName(QString::fromLatin1(objectName));
    if (maxLength > 0)
        box->setMaxLength(maxLength);
    auto *label = new QLabel(caption, grid->parentWidget());
    label->setBuddy(box);
    grid->addWidget(label, row, 0);
    grid->addWidget(box, row, 1);
    return box;
}

QLabel *makeEmailLink(QWidget *parent, QObject *watcher)
{
    auto *link = new QLabel(QStringLiteral("Email"), parent);
    link->setObjectName(QStringLiteral("lblSendEmail"));
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(8.25);
    font.setUnderline(true);
    link->setFont(font);
    link->setCursor(Qt::PointingHandCursor);
    link->setFocusPolicy(Qt::NoFocus);
    link->installEventFilter(watcher);
    return link;
}

bool isLinkClick(QObject *watched, QEvent *event, const QLabel *link)
{
    if (watched != link || event->type() != QEvent::MouseButtonRelease)
        return false;
    const auto *mouse = static_cast<QMouseEvent *>(event);
    return mouse->button() == Qt::LeftButton && link->rect().contains(mouse->position().toPoint());
}

bool isEnterKey(QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const int key = static_cast<QKeyEvent *>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

void runInTransaction(db::Connection &connection, const std::function<void()> &work)
{
    connection.BeginTrans();
    try {
        work();
        connection.CommitTrans();
    } catch (...) {
        try {
            if (connection.inTransaction())
                connection.RollbackTrans();
        } catch (const std::exception &rollbackError) {
            logError(QStringLiteral("runInTransaction.RollbackTrans"), rollbackError);
        }
        throw;
    }
}

QString userErrorText(const std::exception &error)
{
    if (const auto *dbError = dynamic_cast<const db::Error *>(&error))
        return dbError->message();
    return QString::fromUtf8(error.what());
}

QString saveFailedMessage(const QString &what, const QString &reason)
{
    return QStringLiteral("The %1 could not be saved; nothing was changed.\n\n%2\n\n"
                          "Correct the entries and press OK again, or Cancel.")
        .arg(what, reason);
}

bool rowStillExists(const QString &table, qint64 id)
{
    if (!DbConnection)
        throw db::Error(QStringLiteral("No database connection is open."));
    const auto count = DbConnection->ExecuteQuery(QStringLiteral("SELECT COUNT(ID) AS c FROM ") + table
                                                  + QStringLiteral(" WHERE ID = ") + db::sqlNumber(id));
    return count->value(QStringLiteral("c")).toLongLong() > 0;
}

QString rowGoneMessage(const QString &what)
{
    return QStringLiteral("This %1 no longer exists. It may have been deleted in another window.").arg(what);
}

} // namespace quorl
