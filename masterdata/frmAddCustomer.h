#pragma once

#include "masterdata/ContactForms.h"

class QCheckBox;

namespace quorl {

struct CustomerRecord;

// The modal dialog in which the office adds a customer (mode 1) or changes one
// (mode 2). After an add is saved, ID() is the new customer's key.
class frmAddCustomer : public ContactDialog
{
    Q_OBJECT

public:
    explicit frmAddCustomer(QWidget *parent = nullptr);
    ~frmAddCustomer() override;

private:
    bool saveEntries() override { return SaveCustomer(); }
    void loadRow(const db::Recordset &row) override;
    void clearFields() override;
    bool SaveCustomer();
    CustomerRecord enteredRecord() const;

    QCheckBox *chkClubMember = nullptr;
};

} // namespace quorl
