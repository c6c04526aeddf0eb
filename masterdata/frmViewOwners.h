#pragma once

#include "masterdata/ContactForms.h"

namespace quorl {

// The child window listing the berth owners, with add, view/edit and delete.
class frmViewOwners : public ContactListWindow
{
    Q_OBJECT

public:
    explicit frmViewOwners(QWidget *parent = nullptr);

public slots:
    // The dialog takes any number of owners before it is closed.
    void cmdAddOwner_Click() { addRow(); }
    void cmdEditOwner_Click() { editRow(); }
    void cmdDeleteOwner_Click() { deleteRow(); }

private:
    ContactDialog *newDialog() override;
};

} // namespace quorl
