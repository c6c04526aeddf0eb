#include "masterdata/frmAddOwner.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/modDatabase.h"
#include "core/modEventLog.h"
#include "core/modFunctions.h"
#include "core/modMessageLog.h"
#include "masterdata/ContactForms.h"
#include "masterdata/CustomerRecord.h"
#include "masterdata/OwnerRecord.h"
#include "platform/db/Connection.h"
#include "platform/db/Error.h"
#include "platform/db/Recordset.h"
#include "platform/ui/Clock.h"
#include "platform/ui/MsgBox.h"
#include "platform/ui/Shell.h"
#include "platform/ui/Twips.h"
#include "platform/ui/WaitCursor.h"

namespace quorl {

namespace {
const QString kAddCaption = QStringLiteral("Add Owner");
const QString kEditCaption = QStringLiteral("Edit Owner");
const QString kWhat = QStringLiteral("owner");
} // namespace

frmAddOwner::frmAddOwner(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("frmAddOwner"));
    setWindowTitle(kAddCaption);
    setModal(true);
    buildControls();
}

frmAddOwner::~frmAddOwner() = default;

void frmAddOwner::buildControls()
{
    auto *grid = new QGridLayout;
    txtName = addTextRow(grid, 0, "txtName", QStringLiteral("Name:"), 100);
    txtHouseName = addTextRow(grid, 1, "txtHouseName", QStringLiteral("House Name:"), 100);
    txtStreet = addTextRow(grid, 2, "txtStreet", QStringLiteral("Street:"), 100);
    txtArea = addTextRow(grid, 3, "txtArea", QStringLiteral("Area:"), 100);
    txtTown = addTextRow(grid, 4, "txtTown", QStringLiteral("Town:"), 100);
    txtPostCode = addTextRow(grid, 5, "txtPostCode", QStringLiteral("Post Code:"), 0);
    txtMobileNo = addTextRow(grid, 6, "txtMobileNo", QStringLiteral("Mobile Phone:"), 100);
    txtEmail = addTextRow(grid, 7, "txtEmail", QStringLiteral("Email Address:"), 100);

    lblSendEmail = makeEmailLink(this, this);
    grid->addWidget(lblSendEmail, 7, 2);

    txtNotes = new QPlainTextEdit(this);
    txtNotes->setObjectName(QStringLiteral("txtNotes"));
    txtNotes->setTabChangesFocus(true);
    txtNotes->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtNotes->setFixedHeight(ui::twipsToPixels(645));
    auto *notesLabel = new QLabel(QStringLiteral("Notes:"), this);
    notesLabel->setBuddy(txtNotes);
    grid->addWidget(notesLabel, 8, 0, Qt::AlignTop);
    grid->addWidget(txtNotes, 8, 1);
    grid->setColumnMinimumWidth(1, ui::twipsToPixels(2900));

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
    layout->addLayout(grid);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(cmdOK, &QPushButton::clicked, this, &frmAddOwner::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmAddOwner::cmdCancel_Click);

    // The e-mail label holds index 8 without taking the focus, so Enter in the e-mail
    // box wraps to the name box; the notes box is reached by Tab or the mouse.
    const QList<QWidget *> order{txtName,     txtHouseName, txtStreet, txtArea, txtTown,
                                 txtPostCode, txtMobileNo,  txtEmail,  txtNotes, cmdOK, cmdCancel};
    const QList<int> indexes{0, 1, 2, 3, 4, 5, 6, 7, 9, 10, 11};
    for (int i = 0; i < order.size(); ++i) {
        setTabIndex(order[i], indexes[i]);
        order[i]->installEventFilter(this);
        if (i > 0)
            setTabOrder(order[i - 1], order[i]);
    }
}

bool frmAddOwner::prepare(int Mode, qint64 ID)
{
    m_Mode = Mode;
    m_ID = ID;
    EditRs.reset();
    clearFields();
    setWindowTitle(kAddCaption);
    if (Mode != 2)
        return true;

    setWindowTitle(kEditCaption);
    EditRs = OpenRecordset(ownerByIdSql(ID), nullptr, false);
    if (!EditRs->isOpen() || EditRs->isEOF()) {
        if (!EditRs->isOpen())
            logError(QStringLiteral("frmAddOwner.Display"), EditRs->lastError());
        ui::MsgBox(rowGoneMessage(kWhat), ui::vbExclamation, kEditCaption);
        setWindowTitle(kAddCaption);
        return false;
    }
    loadRow(*EditRs);
    return true;
}

void frmAddOwner::Display(int Mode, qint64 ID)
{
    try {
        if (!prepare(Mode, ID))
            return;
    } catch (const std::exception &error) {
        logError(QStringLiteral("frmAddOwner.Display"), error);
        ui::MsgBox(userErrorText(error), ui::vbExclamation, windowTitle());
        return;
    }
    txtName->setFocus();
    exec();
    // Every close leaves the next use empty, under the add caption.
    clearFields();
    setWindowTitle(kAddCaption);
}

void frmAddOwner::loadRow(const db::Recordset &row)
{
    const auto put = [&row](QLineEdit *box, const char *field) {
        const QVariant value = row.value(QString::fromLatin1(field));
        if (!value.isNull())
            box->setText(value.toString());
    };
    put(txtName, "Name");
    put(txtHouseName, "HouseName");
    put(txtStreet, "Street");
    put(txtArea, "Area");
    put(txtTown, "Town");
    put(txtPostCode, "PostCode");
    put(txtMobileNo, "MobileNo");
    put(txtEmail, "EmailAddress");
    const QVariant notes = row.value(QStringLiteral("Notes"));
    if (!notes.isNull())
        txtNotes->setPlainText(notes.toString());
}

void frmAddOwner::clearFields()
{
    for (QLineEdit *box : {txtName, txtHouseName, txtStreet, txtArea, txtTown, txtPostCode, txtMobileNo, txtEmail})
        box->clear();
    txtNotes->clear();
}

OwnerRecord frmAddOwner::enteredRecord() const
{
    OwnerRecord record;
    record.Name = txtName->text();
    record.HouseName = txtHouseName->text();
    record.Street = txtStreet->text();
    record.Area = txtArea->text();
    record.Town = txtTown->text();
    record.PostCode = txtPostCode->text();
    record.MobileNo = txtMobileNo->text();
    record.EmailAddress = txtEmail->text();
    record.Notes = txtNotes->toPlainText();
    return record;
}

void frmAddOwner::cmdOK_Click()
{
    try {
        if (!txtName->text().isEmpty())
            SaveOwner();
    } catch (const std::exception &error) {
        logError(QStringLiteral("frmAddOwner.cmdOK_Click"), error);
    }
}

bool frmAddOwner::SaveOwner()
{
    const OwnerRecord record = enteredRecord();
    try {
        if (!DbConnection)
            throw db::Error(QStringLiteral("No database connection is open."));
        runInTransaction(*DbConnection, [&] {
            if (m_Mode == 1)
                DbConnection->Execute(ownerInsertSql(record));
            else if (DbConnection->Execute(ownerUpdateSql(record, m_ID)) == 0)
                throw db::Error(rowGoneMessage(kWhat));
        });
    } catch (const std::exception &error) {
        logError(QStringLiteral("frmAddOwner.SaveOwner"), error);
        ui::MsgBox(saveFailedMessage(kWhat, userErrorText(error)), ui::vbExclamation, windowTitle());
        return false;
    }

    WriteEventLog(ui::Now(), m_Mode == 1 ? evOwnerAdded : evOwnerModified,
                  savedContactEventDetails(record.Name, record.HouseName));
    if (m_Mode == 1) {
        // Ready for the next owner.
        clearFields();
        txtName->setFocus();
    } else {
        accept();
    }
    return true;
}

void frmAddOwner::cmdCancel_Click()
{
    reject();
}

void frmAddOwner::lblSendEmail_Click()
{
    try {
        ui::WaitCursor hourglass;
        ui::ShellOpen(QStringLiteral("mailto:") + txtEmail->text());
    } catch (const std::exception &error) {
        logError(QStringLiteral("frmAddOwner.lblSendEmail_Click"), error);
    }
}

void frmAddOwner::Form_KeyDown(int KeyCode)
{
    if (KeyCode == 13)
        FocusNextControl(this);
}

bool frmAddOwner::eventFilter(QObject *watched, QEvent *event)
{
    if (isLinkClick(watched, event, lblSendEmail)) {
        lblSendEmail_Click();
        return true;
    }
    if (isEnterKey(event)) {
        try {
            Form_KeyDown(13);
        } catch (const std::exception &error) {
            logError(QStringLiteral("frmAddOwner.Form_KeyDown"), error);
        }
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace quorl
