#pragma once

#include "masterdata/ContactForms.h"

namespace quorl {

struct OwnerRecord;

// The modal dialog in which the office adds berth owners (mode 1: it stays open,
// emptied, for the next owner after each add) or changes one (mode 2).
class frmAddOwner : public ContactDialog
{
    Q_OBJECT

public:
    explicit frmAddOwner(QWidget *parent = nullptr);
    ~frmAddOwner() override;

private:
    bool saveEntries() override { return SaveOwner(); }
    bool SaveOwner();
    OwnerRecord enteredRecord() const;
};

} // namespace quorl
