#include "masterdata/frmAddCustomer.h"

#include <QCheckBox>
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
const QString kAddCaption = QStringLiteral("Add customer");
const QString kEditCaption = QStringLiteral("Edit Customer");
const QString kWhat = QStringLiteral("customer");
} // namespace

frmAddCustomer::frmAddCustomer(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("frmAddCustomer"));
    setWindowTitle(kAddCaption);
    setModal(true);
    buildControls();
}

frmAddCustomer::~frmAddCustomer() = default;

void frmAddCustomer::buildControls()
{
    auto *grid = new QGridLayout;
    txtName = addTextRow(grid, 0, "txtName", QStringLiteral("Name:"), 100);
    txtHouseName = addTextRow(grid, 1, "txtHouseName", QStringLiteral("House Name:"), 100);
    txtStreet = addTextRow(grid, 2, "txtStreet", QStringLiteral("Street:"), 100);
    txtArea = addTextRow(grid, 3, "txtArea", QStringLiteral("Area:"), 100);
    txtTown = addTextRow(grid, 4, "txtTown", QStringLiteral("Town:"), 100);
    txtPostCode = addTextRow(grid, 5, "txtPostCode", QStringLiteral("Post Code:"), 0);
    txtTelNo = addTextRow(grid, 6, "txtTelNo", QStringLiteral("Phone:"), 100);
    txtMobileNo = addTextRow(grid, 7, "txtMobileNo", QStringLiteral("Mobile Phone:"), 100);
    txtEmail = addTextRow(grid, 8, "txtEmail", QStringLiteral("Email Address:"), 100);
    txtMembershipNo = addTextRow(grid, 9, "txtMembershipNo", QStringLiteral("Membership No:"), 50);

    lblSendEmail = makeEmailLink(this, this);
    grid->addWidget(lblSendEmail, 8, 2);

    txtNotes = new QPlainTextEdit(this);
    txtNotes->setObjectName(QStringLiteral("txtNotes"));
    txtNotes->setTabChangesFocus(true);
    txtNotes->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtNotes->setFixedHeight(ui::twipsToPixels(645));
    auto *notesLabel = new QLabel(QStringLiteral("Notes:"), this);
    notesLabel->setBuddy(txtNotes);
    grid->addWidget(notesLabel, 10, 0, Qt::AlignTop);
    grid->addWidget(txtNotes, 10, 1);

    chkClubMember = new QCheckBox(QStringLiteral("Club Member"), this);
    chkClubMember->setObjectName(QStringLiteral("chkClubMember"));
    grid->addWidget(chkClubMember, 11, 1);
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

    connect(cmdOK, &QPushButton::clicked, this, &frmAddCustomer::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmAddCustomer::cmdCancel_Click);

    // The e-mail label holds index 11 without taking the focus, so Enter in the notes
    // box finds no control at the next index and wraps to the name box.
    const QList<QWidget *> order{txtName,  txtHouseName, txtStreet,       txtArea,  txtTown,
                                 txtPostCode, txtTelNo, txtMobileNo,      txtEmail, txtMembershipNo,
                                 txtNotes, chkClubMember, cmdOK,          cmdCancel};
    const QList<int> indexes{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 12, 13, 14};
    for (int i = 0; i < order.size(); ++i) {
        setTabIndex(order[i], indexes[i]);
        order[i]->installEventFilter(this);
        if (i > 0)
            setTabOrder(order[i - 1], order[i]);
    }
}

bool frmAddCustomer::prepare(int Mode, qint64 ID)
{
    m_Mode = Mode;
    m_ID = ID;
    EditRs.reset();
    clearFields();
    setWindowTitle(kAddCaption);
    if (Mode != 2)
        return true;

    setWindowTitle(kEditCaption);
    EditRs = OpenRecordset(customerByIdSql(ID), nullptr, false);
    if (!EditRs->isOpen() || EditRs->isEOF()) {
        if (!EditRs->isOpen())
            logError(QStringLiteral("frmAddCustomer.Display"), EditRs->lastError());
        ui::MsgBox(rowGoneMessage(kWhat), ui::vbExclamation, kEditCaption);
        setWindowTitle(kAddCaption);
        return false;
    }
    loadRow(*EditRs);
    return true;
}

void frmAddCustomer::Display(int Mode, qint64 ID)
{
    try {
        if (!prepare(Mode, ID))
            return;
    } catch (const std::exception &error) {
        logError(QStringLiteral("frmAddCustomer.Display"), error);
        ui::MsgBox(userErrorText(error), ui::vbExclamation, windowTitle());
        return;
    }
    txtName->setFocus();
    exec();
    // Every close leaves the next use empty, under the add caption; ID stays readable.
    clearFields();
    setWindowTitle(kAddCaption);
}

void frmAddCustomer::loadRow(const db::Recordset &row)
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
    put(txtTelNo, "TelNo");
    put(txtMobileNo, "MobileNo");
    put(txtEmail, "EmailAddress");
    put(txtMembershipNo, "MembershipNo");
    const QVariant notes = row.value(QStringLiteral("Notes"));
    if (!notes.isNull())
        txtNotes->setPlainText(notes.toString());
    const QVariant club = row.value(QStringLiteral("ClubMember"));
    chkClubMember->setChecked(!club.isNull() && club.toBool());
}

void frmAddCustomer::clearFields()
{
    for (QLineEdit *box : {txtName, txtHouseName, txtStreet, txtArea, txtTown, txtPostCode, txtTelNo, txtMobileNo,
                           txtEmail, txtMembershipNo})
        box->clear();
    txtNotes->clear();
    chkClubMember->setChecked(false);
}

CustomerRecord frmAddCustomer::enteredRecord() const
{
    CustomerRecord record;
    record.Name = txtName->text();
    record.HouseName = txtHouseName->text();
    record.Street = txtStreet->text();
    record.Area = txtArea->text();
    record.Town = txtTown->text();
    record.PostCode = txtPostCode->text();
    record.TelNo = txtTelNo->text();
    record.MobileNo = txtMobileNo->text();
    record.EmailAddress = txtEmail->text();
    record.Notes = txtNotes->toPlainText();
    record.ClubMember = chkClubMember->isChecked() ? 1 : 0;
    record.MembershipNo = txtMembershipNo->text();
    return record;
}

void frmAddCustomer::cmdOK_Click()
{
    try {
        // One blank is a name; only an empty box is refused, silently.
        if (!txtName->text().isEmpty())
            SaveCustomer();
    } catch (const std::exception &error) {
        logError(QStringLiteral("frmAddCustomer.cmdOK_Click"), error);
    }
}

bool frmAddCustomer::SaveCustomer()
{
    const CustomerRecord record = enteredRecord();
    qint64 newId = m_ID;
    try {
        if (!DbConnection)
            throw db::Error(QStringLiteral("No database connection is open."));
        runInTransaction(*DbConnection, [&] {
            if (m_Mode == 1) {
                DbConnection->Execute(customerInsertSql(record));
                // Read before the commit, while this transaction holds the write lock,
                // so the largest key is this row's even if another program adds customers.
                const auto newest = DbConnection->ExecuteQuery(QString::fromLatin1(kCustomerNewestIdSql));
                newId = newest->value(QStringLiteral("M")).toLongLong();
            } else if (DbConnection->Execute(customerUpdateSql(record, m_ID)) == 0) {
                throw db::Error(rowGoneMessage(kWhat));
            }
        });
    } catch (const std::exception &error) {
        logError(QStringLiteral("frmAddCustomer.SaveCustomer"), error);
        ui::MsgBox(saveFailedMessage(kWhat, userErrorText(error)), ui::vbExclamation, windowTitle());
        return false;
    }

    WriteEventLog(ui::Now(), m_Mode == 1 ? evCustomerAdded : evCustomerModified,
                  savedContactEventDetails(record.Name, record.HouseName));
    if (m_Mode == 1)
        m_ID = newId;
    accept();
    clearFields();
    return true;
}

void frmAddCustomer::cmdCancel_Click()
{
    reject();
}

void frmAddCustomer::lblSendEmail_Click()
{
    try {
        ui::WaitCursor hourglass;
        // The shell's answer is of no interest: a mail program that does not open is the desktop's affair.
        ui::ShellOpen(QStringLiteral("mailto:") + txtEmail->text());
    } catch (const std::exception &error) {
        logError(QStringLiteral("frmAddCustomer.lblSendEmail_Click"), error);
    }
}

void frmAddCustomer::Form_KeyDown(int KeyCode)
{
    if (KeyCode == 13)
        FocusNextControl(this);
}

bool frmAddCustomer::eventFilter(QObject *watched, QEvent *event)
{
    if (isLinkClick(watched, event, lblSendEmail)) {
        lblSendEmail_Click();
        return true;
    }
    if (isEnterKey(event)) {
        try {
            Form_KeyDown(13);
        } catch (const std::exception &error) {
            logError(QStringLiteral("frmAddCustomer.Form_KeyDown"), error);
        }
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace quorl
