#include "masterdata/frmViewCustomers.h"

#include <QLabel>
#include <QPushButton>

#include "core/modDatabase.h"
#include "core/modEventLog.h"
#include "core/modFunctions.h"
#include "core/modMessageLog.h"
#include "masterdata/ContactForms.h"
#include "masterdata/CustomerRecord.h"
#include "masterdata/frmAddCustomer.h"
#include "platform/db/Recordset.h"
#include "platform/ui/Clock.h"
#include "platform/ui/DataGrid.h"
#include "platform/ui/MsgBox.h"

namespace quorl {

namespace {

const QString kTitle = QStringLiteral("Customers");

QList<ui::GridColumn> customerColumns()
{
    return {
        {QStringLiteral("ID"), QStringLiteral("ID")},
        {QStringLiteral("Name"), QStringLiteral("Name")},
        {QStringLiteral("HouseName"), QStringLiteral("House Name")},
        {QStringLiteral("Street"), QStringLiteral("Street")},
        {QStringLiteral("Area"), QStringLiteral("Area")},
        {QStringLiteral("Town"), QStringLiteral("Town")},
        {QStringLiteral("PostCode"), QStringLiteral("Post Code")},
        {QStringLiteral("TelNo"), QStringLiteral("Tel No")},
        {QStringLiteral("MobileNo"), QStringLiteral("Mobile No")},
        {QStringLiteral("EmailAddress"), QStringLiteral("Email")},
        {QStringLiteral("Notes"), QStringLiteral("Notes")},
        {QStringLiteral("ClubMember"), QStringLiteral("Club Member"), ui::yesNoText},
        {QStringLiteral("MembershipNo"), QStringLiteral("Membership No")},
    };
}

} // namespace

frmViewCustomers::frmViewCustomers(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("frmViewCustomers"));
    setWindowTitle(kTitle);
    const ListWindowControls controls = buildListWindow(
        this, kTitle, "grdCustomer", {"cmdAddCustomer", "cmdEditCustomer", "cmdDeleteCustomer"},
        {QStringLiteral("Add Customer"), QStringLiteral("View/Edit Customer"), QStringLiteral("Delete Customer")});
    lblFormTitle = controls.lblFormTitle;
    grdCustomer = controls.grid;
    cmdAddCustomer = controls.cmdAdd;
    cmdEditCustomer = controls.cmdEdit;
    cmdDeleteCustomer = controls.cmdDelete;
    grdCustomer->setColumns(customerColumns());

    connect(cmdAddCustomer, &QPushButton::clicked, this, &frmViewCustomers::cmdAddCustomer_Click);
    connect(cmdEditCustomer, &QPushButton::clicked, this, &frmViewCustomers::cmdEditCustomer_Click);
    connect(cmdDeleteCustomer, &QPushButton::clicked, this, &frmViewCustomers::cmdDeleteCustomer_Click);
    connect(grdCustomer, &ui::DataGrid::DblClick, this, &frmViewCustomers::cmdEditCustomer_Click);

    Form_Load();
}

frmViewCustomers::~frmViewCustomers()
{
    // The grid follows the recordset; unbind it before the recordset goes.
    grdCustomer->setDataSource(nullptr);
}

void frmViewCustomers::Form_Load()
{
    try {
        LoadRecordset();
    } catch (const std::exception &error) {
        logError(QStringLiteral("frmViewCustomers.Form_Load"), error);
        ui::MsgBox(userErrorText(error), ui::vbExclamation, kTitle);
    }
}

void frmViewCustomers::LoadRecordset()
{
    std::unique_ptr<db::Recordset> rows = OpenRecordset(QString::fromLatin1(kCustomerListSql), nullptr, false);
    grdCustomer->setVisible(false);
    grdCustomer->setDataSource(rows.get());
    ListRs = std::move(rows);
    grdCustomer->setColumnVisible(0, false);
    grdCustomer->setVisible(true);
    if (!ListRs->isOpen())
        throw db::Error(ListRs->lastError());
}

void frmViewCustomers::Display()
{
    try {
        LoadRecordset();
    } catch (const std::exception &error) {
        logError(QStringLiteral("frmViewCustomers.Display"), error);
        ui::MsgBox(userErrorText(error), ui::vbExclamation, kTitle);
    }
    showListWindow(this);
}

void frmViewCustomers::RequeryRst()
{
    try {
        if (ListRs && ListRs->isOpen())
            ListRs->Requery();
    } catch (const std::exception &error) {
        logError(QStringLiteral("frmViewCustomers.RequeryRst"), error);
    }
}

void frmViewCustomers::Form_Activate()
{
    maximiseListWindow(this);
}

frmAddCustomer &frmViewCustomers::customerDialog()
{
    if (!m_customerDialog)
        m_customerDialog = new frmAddCustomer(this);
    return *m_customerDialog;
}

bool frmViewCustomers::hasCurrentRow() const
{
    return ListRs && ListRs->isOpen() && ListRs->RecordCount() > 0 && !ListRs->isEOF() && !ListRs->isBOF();
}

void frmViewCustomers::cmdAddCustomer_Click()
{
    try {
        customerDialog().Display(1, 0);
        // Saved or cancelled, the list is read again (the first row becomes current).
        if (ListRs && ListRs->isOpen())
            ListRs->Requery();
    } catch (const std::exception &error) {
        logError(QStringLiteral("frmViewCustomers.cmdAddCustomer_Click"), error);
        ui::MsgBox(userErrorText(error), ui::vbExclamation, kTitle);
    }
}

void frmViewCustomers::cmdEditCustomer_Click()
{
    try {
        if (!hasCurrentRow())
            return;
        customerDialog().Display(2, ListRs->value(QStringLiteral("ID")).toLongLong());
        ListRs->Requery();
    } catch (const std::exception &error) {
        logError(QStringLiteral("frmViewCustomers.cmdEditCustomer_Click"), error);
        ui::MsgBox(userErrorText(error), ui::vbExclamation, kTitle);
    }
}

void frmViewCustomers::cmdDeleteCustomer_Click()
{
    try {
        if (!hasCurrentRow())
            return;
        const qint64 id = ListRs->value(QStringLiteral("ID")).toLongLong();
        if (!rowStillExists(QStringLiteral("Customer"), id)) {
            ui::MsgBox(rowGoneMessage(QStringLiteral("customer")), ui::vbExclamation, kTitle);
            ListRs->Requery();
            return;
        }
        // Taken before anything is deleted.
        const QString details =
            deletedContactEventDetails(ListRs->value(QStringLiteral("Name")), ListRs->value(QStringLiteral("HouseName")));
        if (DeleteCustomer(id, *ListRs))
            WriteEventLog(ui::Now(), evCustomerDeleted, details);
    } catch (const std::exception &error) {
        logError(QStringLiteral("frmViewCustomers.cmdDeleteCustomer_Click"), error);
        ui::MsgBox(userErrorText(error), ui::vbExclamation, kTitle);
    }
}

} // namespace quorl
