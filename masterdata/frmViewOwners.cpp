#include "masterdata/frmViewOwners.h"

#include <QLabel>
#include <QPushButton>

#include "core/modDatabase.h"
#include "core/modEventLog.h"
#include "core/modFunctions.h"
#include "core/modMessageLog.h"
#include "masterdata/ContactForms.h"
#include "masterdata/CustomerRecord.h"
#include "masterdata/OwnerRecord.h"
#include "masterdata/frmAddOwner.h"
#include "platform/db/Recordset.h"
#include "platform/ui/Clock.h"
#include "platform/ui/DataGrid.h"
#include "platform/ui/MsgBox.h"

namespace quorl {

namespace {

const QString kTitle = QStringLiteral("Owners");

QList<ui::GridColumn> ownerColumns()
{
    return {
        {QStringLiteral("ID"), QStringLiteral("ID")},
        {QStringLiteral("Name"), QStringLiteral("Name")},
        {QStringLiteral("HouseName"), QStringLiteral("House Name")},
        {QStringLiteral("Street"), QStringLiteral("Street")},
        {QStringLiteral("Area"), QStringLiteral("Area")},
        {QStringLiteral("Town"), QStringLiteral("Town")},
        {QStringLiteral("PostCode"), QStringLiteral("Post Code")},
        {QStringLiteral("MobileNo"), QStringLiteral("Mobile No")},
        {QStringLiteral("EmailAddress"), QStringLiteral("Email Address")},
        {QStringLiteral("Notes"), QStringLiteral("Notes")},
    };
}

} // namespace

frmViewOwners::frmViewOwners(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("frmViewOwners"));
    setWindowTitle(kTitle);
    const ListWindowControls controls = buildListWindow(
        this, kTitle, "grdOwners", {"cmdAddOwner", "cmdEditOwner", "cmdDeleteOwner"},
        {QStringLiteral("Add Owner"), QStringLiteral("View/Edit Owner"), QStringLiteral("Delete Owner")});
    lblFormTitle = controls.lblFormTitle;
    grdOwners = controls.grid;
    cmdAddOwner = controls.cmdAdd;
    cmdEditOwner = controls.cmdEdit;
    cmdDeleteOwner = controls.cmdDelete;
    grdOwners->setColumns(ownerColumns());

    connect(cmdAddOwner, &QPushButton::clicked, this, &frmViewOwners::cmdAddOwner_Click);
    connect(cmdEditOwner, &QPushButton::clicked, this, &frmViewOwners::cmdEditOwner_Click);
    connect(cmdDeleteOwner, &QPushButton::clicked, this, &frmViewOwners::cmdDeleteOwner_Click);
    connect(grdOwners, &ui::DataGrid::DblClick, this, &frmViewOwners::cmdEditOwner_Click);
}

frmViewOwners::~frmViewOwners()
{
    grdOwners->setDataSource(nullptr);
}

void frmViewOwners::LoadRecordset()
{
    std::unique_ptr<db::Recordset> rows = OpenRecordset(QString::fromLatin1(kOwnerListSql), nullptr, false);
    grdOwners->setDataSource(rows.get());
    ListRs = std::move(rows);
    grdOwners->setColumnVisible(0, false);
    if (!ListRs->isOpen())
        throw db::Error(ListRs->lastError());
}

void frmViewOwners::Display()
{
    try {
        LoadRecordset();
    } catch (const std::exception &error) {
        logError(QStringLiteral("frmViewOwners.Display"), error);
        ui::MsgBox(userErrorText(error), ui::vbExclamation, kTitle);
    }
    showListWindow(this);
}

void frmViewOwners::Form_Activate()
{
    maximiseListWindow(this);
}

frmAddOwner &frmViewOwners::ownerDialog()
{
    if (!m_ownerDialog)
        m_ownerDialog = new frmAddOwner(this);
    return *m_ownerDialog;
}

bool frmViewOwners::hasCurrentRow() const
{
    return ListRs && ListRs->isOpen() && ListRs->RecordCount() > 0 && !ListRs->isEOF() && !ListRs->isBOF();
}

void frmViewOwners::requeryList()
{
    if (ListRs && ListRs->isOpen())
        ListRs->Requery();
}

void frmViewOwners::cmdAddOwner_Click()
{
    try {
        // The dialog takes any number of owners before it is closed.
        ownerDialog().Display(1, 0);
        requeryList();
    } catch (const std::exception &error) {
        logError(QStringLiteral("frmViewOwners.cmdAddOwner_Click"), error);
        ui::MsgBox(userErrorText(error), ui::vbExclamation, kTitle);
    }
}

void frmViewOwners::cmdEditOwner_Click()
{
    try {
        if (!hasCurrentRow())
            return;
        ownerDialog().Display(2, ListRs->value(QStringLiteral("ID")).toLongLong());
        requeryList();
    } catch (const std::exception &error) {
        logError(QStringLiteral("frmViewOwners.cmdEditOwner_Click"), error);
        ui::MsgBox(userErrorText(error), ui::vbExclamation, kTitle);
    }
}

void frmViewOwners::cmdDeleteOwner_Click()
{
    try {
        if (!hasCurrentRow())
            return;
        const qint64 id = ListRs->value(QStringLiteral("ID")).toLongLong();
        if (!rowStillExists(QStringLiteral("Owner"), id)) {
            ui::MsgBox(rowGoneMessage(QStringLiteral("owner")), ui::vbExclamation, kTitle);
            requeryList();
            return;
        }
        const QString details =
            deletedContactEventDetails(ListRs->value(QStringLiteral("Name")), ListRs->value(QStringLiteral("HouseName")));
        if (DeleteOwner(id, *ListRs))
            WriteEventLog(ui::Now(), evOwnerDeleted, details);
    } catch (const std::exception &error) {
        logError(QStringLiteral("frmViewOwners.cmdDeleteOwner_Click"), error);
        ui::MsgBox(userErrorText(error), ui::vbExclamation, kTitle);
    }
}

} // namespace quorl
