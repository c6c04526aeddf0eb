#pragma once

#include <array>
#include <exception>
#include <functional>
#include <memory>
#include <span>

#include <QDialog>
#include <QList>
#include <QPointer>
#include <QString>
#include <QWidget>

#include "platform/ui/RecordsetModel.h"

class QEvent;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// What the customer and owner windows share: the text boxes built from one table, the
// add/edit dialog, the list window, and the few rules of their handlers.

namespace quorl {

struct ContactAddress;

namespace db {
class Recordset;
}
namespace ui {
class DataGrid;
}

// One text box: its control, the column it shows, its caption, its longest text (0: no limit).
struct ContactField
{
    const char *control;
    const char *column;
    const char *caption;
    int maxLength;
};

inline constexpr std::array<ContactField, 10> kCustomerFields{{
    {"txtName", "Name", "Name:", 100},
    {"txtHouseName", "HouseName", "House Name:", 100},
    {"txtStreet", "Street", "Street:", 100},
    {"txtArea", "Area", "Area:", 100},
    {"txtTown", "Town", "Town:", 100},
    {"txtPostCode", "PostCode", "Post Code:", 0},
    {"txtTelNo", "TelNo", "Phone:", 100},
    {"txtMobileNo", "MobileNo", "Mobile Phone:", 100},
    {"txtEmail", "EmailAddress", "Email Address:", 100},
    {"txtMembershipNo", "MembershipNo", "Membership No:", 50},
}};

inline constexpr std::array<ContactField, 8> kOwnerFields{{
    {"txtName", "Name", "Name:", 100},
    {"txtHouseName", "HouseName", "House Name:", 100},
    {"txtStreet", "Street", "Street:", 100},
    {"txtArea", "Area", "Area:", 100},
    {"txtTown", "Town", "Town:", 100},
    {"txtPostCode", "PostCode", "Post Code:", 0},
    {"txtMobileNo", "MobileNo", "Mobile Phone:", 100},
    {"txtEmail", "EmailAddress", "Email Address:", 100},
}};

// The text boxes of a field table in rows 0 to n-1 of a grid: the caption (the box's
// buddy) in column 0, the box in column 1.
class ContactBoxes
{
public:
    ContactBoxes() = default;
    ContactBoxes(QGridLayout *grid, std::span<const ContactField> fields);

    // The box of that control; throws std::invalid_argument for a control the table lacks.
    QLineEdit *box(const char *control) const;
    QString text(const char *control) const;
    int row(const char *control) const;
    const QList<QLineEdit *> &boxes() const { return m_boxes; }
    // The texts of txtName to txtPostCode.
    void readAddress(ContactAddress &address) const;

    // Each box takes its column of the row; a Null leaves the box as it is.
    void load(const db::Recordset &row) const;
    void clear() const;

private:
    std::span<const ContactField> m_fields;
    QList<QLineEdit *> m_boxes;
};

// The grid columns every customer and owner grid begins with: ID, Name, House Name,
// Street, Area, Town, Post Code.
QList<ui::GridColumn> addressColumns();

// Gives the controls the tab indexes 0, 1, 2... in their order, passing over gapIndex
// (-1: none), links them in that tab order and lets watcher see their keys.
void arrangeTabOrder(const QList<QWidget *> &order, int gapIndex, QObject *watcher);

// Whether the event is the Enter key (either key, whatever the shift state).
bool isEnterKey(QEvent *event);

// Runs a form's Enter-key handler as an error boundary: what it throws goes to the
// message log under where. Returns true, the key being taken.
bool takeEnterKey(const QString &where, const std::function<void()> &handler);

// The text of an error for the user: the database's message, or what() of any other error.
QString userErrorText(const std::exception &error);

// A handler's error boundary: what body throws is written to the message log under
// routine and shown to the user under title.
void guardHandler(const QString &routine, const QString &title, const std::function<void()> &body);

// Whether the recordset is open and stands on a row.
bool standsOnRow(const db::Recordset *rows);

// Whether the table still holds the row the recordset stands on. When another window
// has deleted it, the user is told ("This <what> no longer exists...") under title.
bool currentRowStillExists(const db::Recordset &rows, const QString &table, const QString &what,
                           const QString &title);

// The modal dialog in which the office adds (mode 1) or changes (mode 2) a customer or
// an owner: the text boxes of its field table with the e-mail link beside txtEmail,
// the notes, the rows a window adds under them, OK and Cancel. Enter moves to the
// control of the next tab index. Each save is one statement in its own transaction,
// then one event.
class ContactDialog : public QDialog
{
    Q_OBJECT

public:
    ~ContactDialog() override;

    // Opens the dialog modally and returns when it closes. Mode 1 adds (callers pass
    // ID 0), mode 2 edits the row with that ID.
    void Display(int Mode, qint64 ID);

    // Display without the modal loop: stores the mode and key and loads the row to
    // edit. False when that row is gone (the user has been told); the dialog is then
    // not to be shown.
    bool prepare(int Mode, qint64 ID);

    // After Display: the ID passed, or the new row's key where the window keeps it.
    qint64 ID() const { return m_ID; }
    int Mode() const { return m_Mode; }

public slots:
    void cmdOK_Click();
    void cmdCancel_Click();
    void lblSendEmail_Click();

protected:
    struct Setup
    {
        const char *objectName;
        QString addCaption;
        QString editCaption;
        QString what; // in messages: "This customer no longer exists."
        std::span<const ContactField> fields;
        // The index the e-mail label holds without taking the focus; Enter from the
        // control before it finds no control there and wraps to the name box.
        int linkTabIndex;
        int addedEvent;
        int modifiedEvent;
        QString (*byIdSql)(qint64 id);
    };

    // Builds the boxes, the e-mail link and the notes; the window then adds its own
    // rows and calls finishControls.
    ContactDialog(QWidget *parent, const Setup &setup);

    // Puts extras in the rows under the notes (column 1), adds OK and Cancel and sets
    // the tab order: boxes, notes, extras, OK, Cancel.
    void finishControls(const QList<QWidget *> &extras);

    // Saves the entries (OK with a name); false when nothing was saved.
    virtual bool saveEntries() = 0;
    virtual void loadRow(const db::Recordset &row);
    virtual void clearFields();

    // Runs add (mode 1) or updateSql (mode 2) in one transaction, then writes the added
    // or modified event. A refused save is logged under routineName and shown to the user,
    // the entries stay; false then.
    bool saveInTransaction(const char *routineName, const std::function<void()> &add, const QString &updateSql);

    QLineEdit *box(const char *control) const { return m_boxes.box(control); }
    QString text(const char *control) const { return m_boxes.text(control); }
    void readAddress(ContactAddress &address) const { m_boxes.readAddress(address); }
    QString notes() const;

    bool eventFilter(QObject *watched, QEvent *event) override;

    int m_Mode = 1;
    qint64 m_ID = 0;

private:
    void Form_KeyDown(int KeyCode);
    QString routine(const char *name) const;

    Setup m_setup;
    std::unique_ptr<db::Recordset> EditRs;
    QGridLayout *m_grid = nullptr;
    ContactBoxes m_boxes;
    QLabel *lblSendEmail = nullptr;
    QPlainTextEdit *txtNotes = nullptr;
    QPushButton *cmdOK = nullptr;
    QPushButton *cmdCancel = nullptr;
};

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

// The child window listing every customer or owner, with add, view/edit and delete
// through the window's dialog. The window wires its buttons to its own handlers,
// which run addRow, editRow and deleteRow.
class ContactListWindow : public QWidget
{
    Q_OBJECT

public:
    ~ContactListWindow() override;

    // Loads the rows, shows the window and brings it to the front.
    void Display();

    db::Recordset *listRecordset() const { return ListRs.get(); }

public slots:
    // Maximised on every activation.
    void Form_Activate();

protected:
    struct Setup
    {
        const char *objectName;
        QString title;
        const char *gridName;
        // Add, edit and delete; each handler is the button's name with "_Click".
        std::array<const char *, 3> buttonNames;
        std::array<QString, 3> buttonCaptions;
        QList<ui::GridColumn> columns;
        const char *listSql;
        QString table;
        QString what;
        int deletedEvent;
        // The delete with its questions and the rows that go with it; true when done.
        bool (*deleteWithRelated)(qint64 id, db::Recordset &rows);
        bool hideGridWhileLoading;
    };

    ContactListWindow(QWidget *parent, Setup setup);

    const ListWindowControls &controls() const { return m_controls; }

    // Reads the rows; a failure is logged under routine and shown.
    void loadList(const char *routine);
    // Reads the rows again when they are open; errors go to the caller.
    void requeryList();

    void addRow();
    void editRow();
    void deleteRow();

    virtual ContactDialog *newDialog() = 0;

private:
    void LoadRecordset();
    ContactDialog &dialog();
    QString handler(int button) const;

    Setup m_setup;
    ListWindowControls m_controls;
    std::unique_ptr<db::Recordset> ListRs;
    QPointer<ContactDialog> m_dialog;
};

} // namespace quorl
