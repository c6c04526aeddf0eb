#include "masterdata/frmAddOwner.h"

#include <QLineEdit>

#include "core/modDatabase.h"
#include "core/modEventLog.h"
#include "masterdata/OwnerRecord.h"
#include "platform/db/Connection.h"

namespace quorl {

frmAddOwner::frmAddOwner(QWidget *parent)
    : ContactDialog(parent, {.objectName = "frmAddOwner",
                             .addCaption = QStringLiteral("Add Owner"),
                             .editCaption = QStringLiteral("Edit Owner"),
                             .what = QStringLiteral("owner"),
                             .fields = kOwnerFields,
                             // Right after the e-mail box (index 7): Enter there wraps to the
                             // name box; the notes are reached by Tab or the mouse.
                             .linkTabIndex = 8,
                             .addedEvent = evOwnerAdded,
                             .modifiedEvent = evOwnerModified,
                             .byIdSql = ownerByIdSql})
{
    finishControls({});
}

frmAddOwner::~frmAddOwner() = default;

OwnerRecord frmAddOwner::enteredRecord() const
{
    OwnerRecord record;
    readAddress(record);
    record.MobileNo = text("txtMobileNo");
    record.EmailAddress = text("txtEmail");
    record.Notes = notes();
    return record;
}

bool frmAddOwner::SaveOwner()
{
    const OwnerRecord record = enteredRecord();
    const auto add = [&] { DbConnection->Execute(ownerInsertSql(record)); };
    if (!saveInTransaction("SaveOwner", add, ownerUpdateSql(record, m_ID)))
        return false;
    if (m_Mode == 1) {
        // Ready for the next owner.
        clearFields();
        box("txtName")->setFocus();
    } else {
        accept();
    }
    return true;
}

} // namespace quorl
