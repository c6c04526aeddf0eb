#include "masterdata/frmAddCustomer.h"

#include <QCheckBox>

#include "core/modDatabase.h"
#include "core/modEventLog.h"
#include "masterdata/CustomerRecord.h"
#include "platform/db/Connection.h"
#include "platform/db/Recordset.h"

namespace quorl {

frmAddCustomer::frmAddCustomer(QWidget *parent)
    : ContactDialog(parent, {.objectName = "frmAddCustomer",
                             .addCaption = QStringLiteral("Add customer"),
                             .editCaption = QStringLiteral("Edit Customer"),
                             .what = QStringLiteral("customer"),
                             .fields = kCustomerFields,
                             // After the notes (index 10): Enter in the notes wraps to the name box.
                             .linkTabIndex = 11,
                             .addedEvent = evCustomerAdded,
                             .modifiedEvent = evCustomerModified,
                             .byIdSql = customerByIdSql})
{
    chkClubMember = new QCheckBox(QStringLiteral("Club Member"), this);
    chkClubMember->setObjectName(QStringLiteral("chkClubMember"));
    finishControls({chkClubMember});
}

frmAddCustomer::~frmAddCustomer() = default;

void frmAddCustomer::loadRow(const db::Recordset &row)
{
    ContactDialog::loadRow(row);
    const QVariant club = row.value(QStringLiteral("ClubMember"));
    chkClubMember->setChecked(!club.isNull() && club.toBool());
}

void frmAddCustomer::clearFields()
{
    ContactDialog::clearFields();
    chkClubMember->setChecked(false);
}

CustomerRecord frmAddCustomer::enteredRecord() const
{
    CustomerRecord record;
    readAddress(record);
    record.TelNo = text("txtTelNo");
    record.MobileNo = text("txtMobileNo");
    record.EmailAddress = text("txtEmail");
    record.Notes = notes();
    record.ClubMember = chkClubMember->isChecked() ? 1 : 0;
    record.MembershipNo = text("txtMembershipNo");
    return record;
}

bool frmAddCustomer::SaveCustomer()
{
    const CustomerRecord record = enteredRecord();
    qint64 newId = m_ID;
    const auto add = [&] {
        DbConnection->Execute(customerInsertSql(record));
        // Read before the commit, while this transaction holds the write lock,
        // so the largest key is this row's even if another program adds customers.
        const auto newest = DbConnection->ExecuteQuery(QString::fromLatin1(kCustomerNewestIdSql));
        newId = newest->value(QStringLiteral("M")).toLongLong();
    };
    if (!saveInTransaction("SaveCustomer", add, customerUpdateSql(record, m_ID)))
        return false;
    if (m_Mode == 1)
        m_ID = newId;
    accept();
    clearFields();
    return true;
}

} // namespace quorl
