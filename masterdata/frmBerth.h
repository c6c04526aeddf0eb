#pragma once

#include <memory>

#include <QDialog>
#include <QString>

#include "masterdata/BerthPage.h"

class QLabel;
class QPushButton;

namespace quorl {

namespace db {
class Recordset;
}
// "Configure Berths": adds berths, removes them with their booking lines, switches
// them between active and inactive, and opens the berth editor. Every change runs in
// one transaction on DbConnection, from Display to OK (commit) or Cancel, Esc or the
// close box (rollback); the events of the changes are written only after the commit.
class frmBerth : public QDialog, private BerthPage
{
    Q_OBJECT

public:
    explicit frmBerth(QWidget *parent = nullptr);
    ~frmBerth() override;

    // Prepares the dialog, begins the transaction and shows the dialog modally;
    // returns when it has closed.
    void Display();
    // Display without the modal loop. False when the lists could not be opened
    // (the user has been told); the dialog is then not to be shown.
    bool prepare();

    // The changes of this opening, to be written to the event log after the commit:
    // fields oper (the event code) and descr (the details).
    db::Recordset *OperationLog() const { return m_operationLog.get(); }
    // The berth list behind lstBerth; its current row is the berth the user sees chosen.
    db::Recordset *berthList() const { return m_berths.get(); }

public slots:
    void chkOwner_Click();
    void lstBerth_Click();
    void cmdAdd_Click();
    void cmdActivate_Click();
    void cmdRemove_Click();
    void Command2_Click();
    void Command1_Click();
    void cmdCancel_Click();

    // Cancel = true keeps the focus in the box.
    void txtDailyHireCharge_Validate(bool &Cancel);
    void txtLength_Validate(bool &Cancel);
    void txtMonthlyHireCharge_Validate(bool &Cancel);
    void txtWeeklyHireCharge_Validate(bool &Cancel);
    void txtWidth_Validate(bool &Cancel);

protected:
    void reject() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    void BindControls();
    void ClearFields();
    void Form_KeyDown(int KeyCode);

    void resetEntryFields();
    // Shows the list recordset's current row as the chosen entry, and the Activate
    // caption that fits it.
    void showCurrentBerth();
    // Commits the changes so far and writes their events. False when the commit
    // failed: the changes are undone, the user told, and the dialog starts over.
    bool commitChanges(const QString &where);
    void rollBack();
    void startOver();

    std::unique_ptr<db::Recordset> m_operationLog;
    std::unique_ptr<db::Recordset> m_berths;
    std::unique_ptr<db::Recordset> m_types;
    std::unique_ptr<db::Recordset> m_owners;
    bool m_inTransaction = false;

    QLabel *lblStep = nullptr;
    QPushButton *cmdActivate = nullptr;
    QPushButton *Command2 = nullptr;
    QPushButton *Command1 = nullptr;
    QPushButton *cmdCancel = nullptr;
};

} // namespace quorl
