#pragma once

#include <array>
#include <exception>
#include <functional>

#include <QString>

class QDialog;
class QEvent;
class QGridLayout;
class QLabel;
class QLineEdit;
class QObject;
class QPushButton;
class QWidget;

// Pieces the customer and owner windows share: the labelled boxes, the e-mail link,
// the save's transaction and the messages of a failed save.

namespace quorl {

namespace db {
class Connection;
}
namespace ui {
class DataGrid;
}

// The controls of a list window (customers, owners): a bold title over a frame that
// holds the grid, a line and three buttons right-aligned under it.
struct ListWindowControls
{
    QLabel *lblFormTitle = nullptr;
    ui::DataGrid *grid = nullptr;
    QPushButton *cmdAdd = nullptr;
    QPushButton *cmdEdit = nullptr;
    QPushButton *cmdDelete = nullptr;
};

// Builds them into window; buttonNames and buttonCaptions give add, edit and delete.
ListWindowControls buildListWindow(QWidget *window, const QString &title, const char *gridName,
                                   const std::array<const char *, 3> &buttonNames,
                                   const std::array<QString, 3> &buttonCaptions);

// The list window's sub-window maximised (when the window sits in an MDI area), and
// Form_Activate hooked to every later activation of that sub-window.
void showListWindow(QWidget *window);

// Form_Activate of a list window: its sub-window maximised; a window outside an MDI
// area stays as it is.
void maximiseListWindow(QWidget *window);

// A text box with its caption label (the label is its buddy) in the next row of the
// grid: label in column 0, box in column 1. maxLength 0 sets no limit.
QLineEdit *addTextRow(QGridLayout *grid, int row, const char *objectName, const QString &caption, int maxLength);

// The underlined "Email" label that acts as a link; clicks reach `watcher`'s event filter.
QLabel *makeEmailLink(QWidget *parent, QObject *watcher);

// Whether the event is a left click released over the label.
bool isLinkClick(QObject *watched, QEvent *event, const QLabel *link);

// Whether the event is the Enter key (either key, whatever the shift state).
bool isEnterKey(QEvent *event);

// Runs work inside BeginTrans/CommitTrans on the connection. When work or the commit
// throws, the transaction is rolled back and the error goes on to the caller.
void runInTransaction(db::Connection &connection, const std::function<void()> &work);

// The text of an error for the user: the database's message, or what() of any other error.
QString userErrorText(const std::exception &error);

// The message of a save the database refused, shown under the dialog's title.
QString saveFailedMessage(const QString &what, const QString &reason);

// Whether the table still holds the row with that ID (another window may have deleted it).
bool rowStillExists(const QString &table, qint64 id);

// The message shown when the row to open is no longer in the table.
QString rowGoneMessage(const QString &what);

} // namespace quorl
