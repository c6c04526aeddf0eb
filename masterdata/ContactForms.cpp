#include "masterdata/ContactForms.h"

#include <stdexcept>
#include <string>

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
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/modDatabase.h"
#include "core/modEventLog.h"
#include "core/modFunctions.h"
#include "core/modMessageLog.h"
#include "masterdata/ContactRecord.h"
#include "platform/db/Connection.h"
#include "platform/db/Error.h"
#include "platform/db/Recordset.h"
#include "platform/db/SqlText.h"
#include "platform/ui/Clock.h"
#include "platform/ui/DataGrid.h"
#include "platform/ui/MdiChildren.h"
#include "platform/ui/MsgBox.h"
#include "platform/ui/Shell.h"
#include "platform/ui/TextBoxes.h"
#include "platform/ui/Twips.h"
#include "platform/ui/WaitCursor.h"

namespace quorl {

namespace {

db::Connection &openConnection()
{
    if (!DbConnection)
        throw db::Error(QStringLiteral("No database connection is open."));
    return *DbConnection;
}

// Runs work inside BeginTrans/CommitTrans. When work or the commit throws, the
// transaction is rolled back and the error goes on to the caller.
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

QString rowGoneMessage(const QString &what)
{
    return QStringLiteral("This %1 no longer exists. It may have been deleted in another window.").arg(what);
}

QString saveFailedMessage(const QString &what, const QString &reason)
{
    return QStringLiteral("The %1 could not be saved; nothing was changed.\n\n%2\n\n"
                          "Correct the entries and press OK again, or Cancel.")
        .arg(what, reason);
}

// The underlined "Email" label that acts as a link; clicks reach watcher's event filter.
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

// Whether the event is a left click released over the label.
bool isLinkClick(QObject *watched, QEvent *event, const QLabel *link)
{
    if (watched != link || event->type() != QEvent::MouseButtonRelease)
        return false;
    const auto *mouse = static_cast<QMouseEvent *>(event);
    return mouse->button() == Qt::LeftButton && link->rect().contains(mouse->position().toPoint());
}

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

// The list window's sub-window maximised (when the window sits in an MDI area), and
// Form_Activate hooked to every later activation of that sub-window.
void showListWindow(QWidget *window)
{
    auto *subWindow = qobject_cast<QMdiSubWindow *>(window->parentWidget());
    if (!subWindow) {
        window->show();
        window->raise();
        window->activateWindow();
        return;
    }
    ui::hookFormActivate(window, [window] { QMetaObject::invokeMethod(window, "Form_Activate"); });
    subWindow->show();
    if (QMdiArea *area = subWindow->mdiArea())
        area->setActiveSubWindow(subWindow);
    QMetaObject::invokeMethod(window, "Form_Activate");
    subWindow->raise();
}

} // namespace

// ---- shared pieces --------------------------------------------------------------------

ContactBoxes::ContactBoxes(QGridLayout *grid, std::span<const ContactField> fields)
    : m_fields(fields)
{
    QWidget *parent = grid->parentWidget();
    for (const ContactField &field : fields) {
        auto *box = new QLineEdit(parent);
        box->setObjectName(QString::fromLatin1(field.control));
        if (field.maxLength > 0)
            box->setMaxLength(field.maxLength);
        auto *label = new QLabel(QString::fromLatin1(field.caption), parent);
        label->setBuddy(box);
        grid->addWidget(label, int(m_boxes.size()), 0);
        grid->addWidget(box, int(m_boxes.size()), 1);
        m_boxes << box;
    }
}

int ContactBoxes::row(const char *control) const
{
    for (size_t i = 0; i < m_fields.size(); ++i) {
        if (qstrcmp(m_fields[i].control, control) == 0)
            return int(i);
    }
    throw std::invalid_argument(std::string("no text box named ") + control);
}

QLineEdit *ContactBoxes::box(const char *control) const
{
    return m_boxes.at(row(control));
}

QString ContactBoxes::text(const char *control) const
{
    return box(control)->text();
}

void ContactBoxes::readAddress(ContactAddress &address) const
{
    address.Name = text("txtName");
    address.HouseName = text("txtHouseName");
    address.Street = text("txtStreet");
    address.Area = text("txtArea");
    address.Town = text("txtTown");
    address.PostCode = text("txtPostCode");
}

void ContactBoxes::load(const db::Recordset &row) const
{
    for (size_t i = 0; i < m_fields.size(); ++i) {
        const QVariant value = row.value(QString::fromLatin1(m_fields[i].column));
        if (!value.isNull())
            m_boxes[qsizetype(i)]->setText(value.toString());
    }
}

void ContactBoxes::clear() const
{
    for (QLineEdit *box : m_boxes)
        box->clear();
}

QList<ui::GridColumn> addressColumns()
{
    return {
        {QStringLiteral("ID"), QStringLiteral("ID")},
        {QStringLiteral("Name"), QStringLiteral("Name")},
        {QStringLiteral("HouseName"), QStringLiteral("House Name")},
        {QStringLiteral("Street"), QStringLiteral("Street")},
        {QStringLiteral("Area"), QStringLiteral("Area")},
        {QStringLiteral("Town"), QStringLiteral("Town")},
        {QStringLiteral("PostCode"), QStringLiteral("Post Code")},
    };
}

void arrangeTabOrder(const QList<QWidget *> &order, int gapIndex, QObject *watcher)
{
    for (int i = 0; i < order.size(); ++i) {
        setTabIndex(order[i], gapIndex >= 0 && i >= gapIndex ? i + 1 : i);
        order[i]->installEventFilter(watcher);
        if (i > 0)
            QWidget::setTabOrder(order[i - 1], order[i]);
    }
}

bool isEnterKey(QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const int key = static_cast<QKeyEvent *>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

bool takeEnterKey(const QString &where, const std::function<void()> &handler)
{
    try {
        handler();
    } catch (const std::exception &error) {
        logError(where, error);
    }
    return true;
}

QString userErrorText(const std::exception &error)
{
    if (const auto *dbError = dynamic_cast<const db::Error *>(&error))
        return dbError->message();
    return QString::fromUtf8(error.what());
}

void guardHandler(const QString &routine, const QString &title, const std::function<void()> &body)
{
    try {
        body();
    } catch (const std::exception &error) {
        logError(routine, error);
        ui::MsgBox(userErrorText(error), ui::vbExclamation, title);
    }
}

bool standsOnRow(const db::Recordset *rows)
{
    return rows && rows->isOpen() && rows->RecordCount() > 0 && !rows->isEOF() && !rows->isBOF();
}

bool currentRowStillExists(const db::Recordset &rows, const QString &table, const QString &what,
                           const QString &title)
{
    const auto count = openConnection().ExecuteQuery(
        QStringLiteral("SELECT COUNT(ID) AS c FROM ") + table + QStringLiteral(" WHERE ID = ")
        + db::sqlNumber(rows.value(QStringLiteral("ID")).toLongLong()));
    if (count->value(QStringLiteral("c")).toLongLong() > 0)
        return true;
    ui::MsgBox(rowGoneMessage(what), ui::vbExclamation, title);
    return false;
}

// ---- the add/edit dialog ----------------------------------------------------------------

ContactDialog::ContactDialog(QWidget *parent, const Setup &setup)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , m_setup(setup)
{
    setObjectName(QString::fromLatin1(setup.objectName));
    setWindowTitle(setup.addCaption);
    setModal(true);

    m_grid = new QGridLayout;
    m_boxes = ContactBoxes(m_grid, setup.fields);
    lblSendEmail = makeEmailLink(this, this);
    m_grid->addWidget(lblSendEmail, m_boxes.row("txtEmail"), 2);

    txtNotes = new QPlainTextEdit(this);
    txtNotes->setObjectName(QStringLiteral("txtNotes"));
    txtNotes->setTabChangesFocus(true);
    txtNotes->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtNotes->setFixedHeight(ui::twipsToPixels(645));
    auto *notesLabel = new QLabel(QStringLiteral("Notes:"), this);
    notesLabel->setBuddy(txtNotes);
    const int notesRow = int(setup.fields.size());
    m_grid->addWidget(notesLabel, notesRow, 0, Qt::AlignTop);
    m_grid->addWidget(txtNotes, notesRow, 1);
}

ContactDialog::~ContactDialog() = default;

void ContactDialog::finishControls(const QList<QWidget *> &extras)
{
    int row = m_grid->rowCount();
    for (QWidget *extra : extras)
        m_grid->addWidget(extra, row++, 1);
    m_grid->setColumnMinimumWidth(1, ui::twipsToPixels(2900));

    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdCancel = new QPushButton(QStringLiteral("&Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    for (QPushButton *button : {cmdOK, cmdCancel}) {
        // Enter moves the focus in this dialog; it never presses a button.
        button->setAutoDefault(false);
        button->setDefault(false);
        button->setMinimumSize(ui::twipsToPixels(1215), ui::twipsToPixels(375));
    }
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(m_grid);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(cmdOK, &QPushButton::clicked, this, &ContactDialog::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &ContactDialog::cmdCancel_Click);

    QList<QWidget *> order(m_boxes.boxes().begin(), m_boxes.boxes().end());
    order << txtNotes << extras << cmdOK << cmdCancel;
    arrangeTabOrder(order, m_setup.linkTabIndex, this);
}

QString ContactDialog::routine(const char *name) const
{
    return QLatin1String(m_setup.objectName) + QLatin1Char('.') + QLatin1String(name);
}

bool ContactDialog::prepare(int Mode, qint64 ID)
{
    m_Mode = Mode;
    m_ID = ID;
    EditRs.reset();
    clearFields();
    setWindowTitle(m_setup.addCaption);
    if (Mode != 2)
        return true;

    setWindowTitle(m_setup.editCaption);
    EditRs = OpenRecordset(m_setup.byIdSql(ID), nullptr, false);
    if (!EditRs->isOpen() || EditRs->isEOF()) {
        // Only a row the database no longer holds is "gone"; a read that failed says why.
        QString message = rowGoneMessage(m_setup.what);
        if (!EditRs->isOpen()) {
            logError(routine("Display"), EditRs->lastError());
            message = QStringLiteral("The %1 could not be read.\n\n%2").arg(m_setup.what, EditRs->lastError());
        }
        ui::MsgBox(message, ui::vbExclamation, m_setup.editCaption);
        setWindowTitle(m_setup.addCaption);
        return false;
    }
    loadRow(*EditRs);
    return true;
}

void ContactDialog::Display(int Mode, qint64 ID)
{
    try {
        if (!prepare(Mode, ID))
            return;
    } catch (const std::exception &error) {
        logError(routine("Display"), error);
        ui::MsgBox(userErrorText(error), ui::vbExclamation, windowTitle());
        return;
    }
    box("txtName")->setFocus();
    exec();
    // Every close leaves the next use empty, under the add caption; ID stays readable.
    clearFields();
    setWindowTitle(m_setup.addCaption);
}

void ContactDialog::loadRow(const db::Recordset &row)
{
    m_boxes.load(row);
    const QVariant notes = row.value(QStringLiteral("Notes"));
    if (!notes.isNull())
        txtNotes->setPlainText(notes.toString());
}

void ContactDialog::clearFields()
{
    m_boxes.clear();
    txtNotes->clear();
}

QString ContactDialog::notes() const
{
    return ui::storedText(txtNotes);
}

void ContactDialog::cmdOK_Click()
{
    try {
        // One blank is a name; only an empty box is refused, silently.
        if (!text("txtName").isEmpty())
            saveEntries();
    } catch (const std::exception &error) {
        logError(routine("cmdOK_Click"), error);
    }
}

bool ContactDialog::saveInTransaction(const char *routineName, const std::function<void()> &add,
                                      const QString &updateSql)
{
    const QString name = text("txtName");
    const QString houseName = text("txtHouseName");
    try {
        db::Connection &connection = openConnection();
        runInTransaction(connection, [&] {
            if (m_Mode == 1)
                add();
            else if (connection.Execute(updateSql) == 0)
                throw db::Error(rowGoneMessage(m_setup.what));
        });
    } catch (const std::exception &error) {
        logError(routine(routineName), error);
        ui::MsgBox(saveFailedMessage(m_setup.what, userErrorText(error)), ui::vbExclamation, windowTitle());
        return false;
    }
    WriteEventLog(ui::Now(), m_Mode == 1 ? m_setup.addedEvent : m_setup.modifiedEvent,
                  savedContactEventDetails(name, houseName));
    return true;
}

void ContactDialog::cmdCancel_Click()
{
    reject();
}

void ContactDialog::lblSendEmail_Click()
{
    try {
        ui::WaitCursor hourglass;
        // The shell's answer is of no interest: a mail program that does not open is the desktop's affair.
        ui::ShellOpen(QStringLiteral("mailto:") + text("txtEmail"));
    } catch (const std::exception &error) {
        logError(routine("lblSendEmail_Click"), error);
    }
}

void ContactDialog::Form_KeyDown(int KeyCode)
{
    if (KeyCode == 13)
        FocusNextControl(this);
}

bool ContactDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (isLinkClick(watched, event, lblSendEmail)) {
        lblSendEmail_Click();
        return true;
    }
    if (isEnterKey(event))
        return takeEnterKey(routine("Form_KeyDown"), [this] { Form_KeyDown(13); });
    return QDialog::eventFilter(watched, event);
}

// ---- the list window ----------------------------------------------------------------------

ContactListWindow::ContactListWindow(QWidget *parent, Setup setup)
    : QWidget(parent)
    , m_setup(std::move(setup))
{
    setObjectName(QString::fromLatin1(m_setup.objectName));
    // The list has no caption of its own, so the maximised list leaves the main caption as it is.
    m_controls = buildListWindow(this, m_setup.title, m_setup.gridName, m_setup.buttonNames, m_setup.buttonCaptions);
    m_controls.grid->setColumns(m_setup.columns);
}

ContactListWindow::~ContactListWindow()
{
    // The grid follows the recordset; unbind it before the recordset goes.
    m_controls.grid->setDataSource(nullptr);
}

QString ContactListWindow::handler(int button) const
{
    return QLatin1String(m_setup.objectName) + QLatin1Char('.') + QLatin1String(m_setup.buttonNames[size_t(button)])
        + QStringLiteral("_Click");
}

void ContactListWindow::LoadRecordset()
{
    ui::DataGrid *grid = m_controls.grid;
    std::unique_ptr<db::Recordset> rows = OpenRecordset(QString::fromLatin1(m_setup.listSql), nullptr, false);
    if (m_setup.hideGridWhileLoading)
        grid->setVisible(false);
    grid->setDataSource(rows.get());
    ListRs = std::move(rows);
    grid->setColumnVisible(0, false);
    if (m_setup.hideGridWhileLoading)
        grid->setVisible(true);
    if (!ListRs->isOpen())
        throw db::Error(ListRs->lastError());
}

void ContactListWindow::loadList(const char *routine)
{
    guardHandler(QLatin1String(m_setup.objectName) + QLatin1Char('.') + QLatin1String(routine), m_setup.title,
                 [this] { LoadRecordset(); });
}

void ContactListWindow::Display()
{
    loadList("Display");
    showListWindow(this);
}

void ContactListWindow::Form_Activate()
{
    // A window outside an MDI area stays as it is.
    auto *subWindow = qobject_cast<QMdiSubWindow *>(parentWidget());
    if (subWindow && !subWindow->isMaximized())
        subWindow->showMaximized();
}

void ContactListWindow::requeryList()
{
    if (ListRs && ListRs->isOpen())
        ListRs->Requery();
}

ContactDialog &ContactListWindow::dialog()
{
    if (!m_dialog)
        m_dialog = newDialog();
    return *m_dialog;
}

void ContactListWindow::addRow()
{
    guardHandler(handler(0), m_setup.title, [this] {
        dialog().Display(1, 0);
        // Saved or cancelled, the list is read again (the first row becomes current).
        requeryList();
    });
}

void ContactListWindow::editRow()
{
    guardHandler(handler(1), m_setup.title, [this] {
        if (!standsOnRow(ListRs.get()))
            return;
        dialog().Display(2, ListRs->value(QStringLiteral("ID")).toLongLong());
        requeryList();
    });
}

void ContactListWindow::deleteRow()
{
    guardHandler(handler(2), m_setup.title, [this] {
        if (!standsOnRow(ListRs.get()))
            return;
        if (!currentRowStillExists(*ListRs, m_setup.table, m_setup.what, m_setup.title)) {
            requeryList();
            return;
        }
        const qint64 id = ListRs->value(QStringLiteral("ID")).toLongLong();
        // Taken before anything is deleted.
        const QString details =
            deletedContactEventDetails(ListRs->value(QStringLiteral("Name")), ListRs->value(QStringLiteral("HouseName")));
        if (m_setup.deleteWithRelated(id, *ListRs))
            WriteEventLog(ui::Now(), m_setup.deletedEvent, details);
    });
}

} // namespace quorl
