#pragma once

#include <array>
#include <exception>
#include <optional>

#include <QLineEdit>
#include <QString>

#include "masterdata/BerthList.h"
#include "platform/ui/ValidateOnLeave.h"

class QCheckBox;
class QGridLayout;
class QGroupBox;
class QPlainTextEdit;
class QPushButton;
class QVBoxLayout;
class QWidget;

namespace quorl {

namespace db {
class Recordset;
}
namespace ui {
class DataCombo;
class DataList;
}

// The berth entry fields, the berth list and the rules behind them, as the berth
// dialog and the configuration wizard both show them: a window that adds berths
// derives from this page besides its widget class, builds the controls into itself,
// lays out the two parts and keeps its own handlers, which call the page.
class BerthPage
{
protected:
    // Makes the controls as children of parent (the charges in their frame) and the
    // two layouts: berthFieldsLayout, the entry fields with Add below them, and berthListLayout,
    // the list under its caption. cmdRemove is made but left for the window to place.
    void buildBerthControls(QWidget *parent);

    // The combos list the types and owners; the list shows the berths' listField.
    void bindBerthControls(db::Recordset *types, db::Recordset *owners, db::Recordset *berths,
                           const QString &listField);
    // Empties every entry box and clears both ticks.
    void clearBerthEntry();
    // After an add: empties the boxes and the combos' texts; notes and ticks stay.
    void clearBerthFields();
    // The owner can be chosen only while the Owner box is ticked.
    void showOwnerChoice();

    // Checks the entry and adds it to berths. The name added, or nothing when the
    // entry was refused (the user told, the focus on the box) or the save failed
    // (written to the message log under where and told).
    std::optional<QString> addBerth(db::Recordset &berths, const QString &where);
    // Removes the berth chosen in the list, with its booking lines, once the user
    // agreed, and notes the removal in operationLog.
    void removeChosenBerth(db::Recordset &berths, db::Recordset &operationLog);

    // Every number box's text is empty or a number of its kind; false, with the user
    // told and the focus on the first box that is not.
    bool checkBerthNumbers();
    // The check of one number box as it is left; Cancel = true keeps the focus there.
    void validateBerthNumber(QLineEdit *box, bool &Cancel);
    // Has form's txt..._Validate handlers check the number boxes as they are left.
    template <class Form>
    void installBerthNumberChecks(Form *form);

    QLineEdit *txtName = nullptr;
    QLineEdit *txtLength = nullptr;
    QLineEdit *txtWidth = nullptr;
    ui::DataCombo *cboBerthType = nullptr;
    QCheckBox *chkOwner = nullptr;
    ui::DataCombo *cboOwner = nullptr;
    QCheckBox *chkHasPower = nullptr;
    QGroupBox *fraHireCharges = nullptr;
    QLineEdit *txtDailyHireCharge = nullptr;
    QLineEdit *txtWeeklyHireCharge = nullptr;
    QLineEdit *txtMonthlyHireCharge = nullptr;
    QPlainTextEdit *txtNotes = nullptr;
    ui::DataList *lstBerth = nullptr;
    QPushButton *cmdAdd = nullptr;
    QPushButton *cmdRemove = nullptr;
    QGridLayout *berthFieldsLayout = nullptr;
    QVBoxLayout *berthListLayout = nullptr;

private:
    // A number box with the title its message carries.
    struct NumberBox {
        QLineEdit *box;
        const char *title;
        BerthNumberKind kind;
    };
    // In the order they are checked.
    std::array<NumberBox, 5> numberBoxes() const;
    void saveNewBerth(db::Recordset &rows, const QString &name);
};

template <class Form>
void BerthPage::installBerthNumberChecks(Form *form)
{
    auto validator = [form](void (Form::*handler)(bool &)) {
        return [form, handler] {
            bool cancel = false;
            (form->*handler)(cancel);
            return !cancel;
        };
    };
    ui::installValidateOnLeave(txtDailyHireCharge, validator(&Form::txtDailyHireCharge_Validate));
    ui::installValidateOnLeave(txtLength, validator(&Form::txtLength_Validate));
    ui::installValidateOnLeave(txtMonthlyHireCharge, validator(&Form::txtMonthlyHireCharge_Validate));
    ui::installValidateOnLeave(txtWeeklyHireCharge, validator(&Form::txtWeeklyHireCharge_Validate));
    ui::installValidateOnLeave(txtWidth, validator(&Form::txtWidth_Validate));
}

// A berth window's failure: written to the message log under where and shown under
// title, after what when given.
void reportBerthFailure(const QString &where, const std::exception &failure, const QString &title,
                        const QString &what = QString());

} // namespace quorl
