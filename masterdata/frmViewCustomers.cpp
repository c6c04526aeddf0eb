#include "masterdata/frmViewCustomers.h"

#include <QPushButton>

#include "core/modEventLog.h"
#include "core/modFunctions.h"
#include "core/modMessageLog.h"
#include "masterdata/CustomerRecord.h"
#include "masterdata/frmAddCustomer.h"
#include "platform/ui/DataGrid.h"

namespace quorl {

namespace {

QList<ui::GridColumn> customerColumns()
{
    return addressColumns()
        + QList<ui::GridColumn>{
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
    : ContactListWindow(parent,
                        {.objectName = "frmViewCustomers",
                         .title = QStringLiteral("Customers"),
                         .gridName = "grdCustomer",
                         .buttonNames = {"cmdAddCustomer", "cmdEditCustomer", "cmdDeleteCustomer"},
                         .buttonCaptions = {QStringLiteral("Add Customer"), QStringLiteral("View/Edit Customer"),
                                            QStringLiteral("Delete Customer")},
                         .columns = customerColumns(),
                         .listSql = kCustomerListSql,
                         .table = QStringLiteral("Customer"),
                         .what = QStringLiteral("customer"),
                         .deletedEvent = evCustomerDeleted,
                         .deleteWithRelated = DeleteCustomer,
                         .hideGridWhileLoading = true})
{
    connect(controls().cmdAdd, &QPushButton::clicked, this, &frmViewCustomers::cmdAddCustomer_Click);
    connect(controls().cmdEdit, &QPushButton::clicked, this, &frmViewCustomers::cmdEditCustomer_Click);
    connect(controls().cmdDelete, &QPushButton::clicked, this, &frmViewCustomers::cmdDeleteCustomer_Click);
    Form_Load();
}

void frmViewCustomers::Form_Load()
{
    loadList("Form_Load");
}

void frmViewCustomers::RequeryRst()
{
    try {
        requeryList();
    } catch (const std::exception &error) {
        logError(QStringLiteral("frmViewCustomers.RequeryRst"), error);
    }
}

ContactDialog *frmViewCustomers::newDialog()
{
    return new frmAddCustomer(this);
}

} // namespace quorl
