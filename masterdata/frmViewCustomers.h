#pragma once

#include "masterdata/ContactForms.h"

namespace quorl {

// The child window listing every customer, with add, view/edit and delete.
class frmViewCustomers : public ContactListWindow
{
    Q_OBJECT

public:
    explicit frmViewCustomers(QWidget *parent = nullptr);

    // Reads the rows again; a failure is logged and otherwise ignored.
    void RequeryRst();

public slots:
    void cmdAddCustomer_Click() { addRow(); }
    void cmdEditCustomer_Click() { editRow(); }
    void cmdDeleteCustomer_Click() { deleteRow(); }

private:
    void Form_Load();
    ContactDialog *newDialog() override;
};

} // namespace quorl
