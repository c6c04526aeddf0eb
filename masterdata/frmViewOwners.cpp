#include "masterdata/frmViewOwners.h"

#include <QPushButton>

#include "core/modEventLog.h"
#include "core/modFunctions.h"
#include "masterdata/OwnerRecord.h"
#include "masterdata/frmAddOwner.h"
#include "platform/ui/DataGrid.h"

namespace quorl {

namespace {

QList<ui::GridColumn> ownerColumns()
{
    return addressColumns()
        + QList<ui::GridColumn>{
            {QStringLiteral("MobileNo"), QStringLiteral("Mobile No")},
            {QStringLiteral("EmailAddress"), QStringLiteral("Email Address")},
            {QStringLiteral("Notes"), QStringLiteral("Notes")},
        };
}

} // namespace

frmViewOwners::frmViewOwners(QWidget *parent)
    : ContactListWindow(parent,
                        {.objectName = "frmViewOwners",
                         .title = QStringLiteral("Owners"),
                         .gridName = "grdOwners",
                         .buttonNames = {"cmdAddOwner", "cmdEditOwner", "cmdDeleteOwner"},
                         .buttonCaptions = {QStringLiteral("Add Owner"), QStringLiteral("View/Edit Owner"),
                                            QStringLiteral("Delete Owner")},
                         .columns = ownerColumns(),
                         .listSql = kOwnerListSql,
                         .table = QStringLiteral("Owner"),
                         .what = QStringLiteral("owner"),
                         .deletedEvent = evOwnerDeleted,
                         .deleteWithRelated = DeleteOwner,
                         .hideGridWhileLoading = false})
{
    connect(controls().cmdAdd, &QPushButton::clicked, this, &frmViewOwners::cmdAddOwner_Click);
    connect(controls().cmdEdit, &QPushButton::clicked, this, &frmViewOwners::cmdEditOwner_Click);
    connect(controls().cmdDelete, &QPushButton::clicked, this, &frmViewOwners::cmdDeleteOwner_Click);
}

ContactDialog *frmViewOwners::newDialog()
{
    return new frmAddOwner(this);
}

} // namespace quorl
