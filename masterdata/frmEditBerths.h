#pragma once

#include <array>

#include "masterdata/BoundRecordForm.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;

namespace quorl {

namespace ui {
class Adodc;
class BoundFields;
class DataCombo;
}

// "Edit Berths": pages through the rows of Berth one at a time, every column in a
// bound field. Its data controls have their own connections, so each save is
// committed at once, outside the transaction of the berth dialog that opens it.
// Loading the form opens the data controls; show it modally.
class frmEditBerths : public BoundRecordForm
{
    Q_OBJECT

public:
    explicit frmEditBerths(QWidget *parent = nullptr);
    ~frmEditBerths() override;

    ui::Adodc *Adodc1 = nullptr; // owners, for DataCombo1
    ui::Adodc *Adodc2 = nullptr; // berth types, for DataCombo2

    // The text boxes by the index of their column; the slots of the check boxes and
    // the combos (4, 5, 6, 8) stay empty, txtFields(7) is the notes box.
    std::array<QLineEdit *, 12> txtFields{};
    QPlainTextEdit *txtNotes = nullptr;
    std::array<QCheckBox *, 12> chkFields{};
    ui::DataCombo *DataCombo1 = nullptr;
    ui::DataCombo *DataCombo2 = nullptr;

protected:
    void openLists() override;
    void closeLists() override;

private:
    void buildControls();

    ui::BoundFields *m_bound = nullptr;
};

} // namespace quorl
