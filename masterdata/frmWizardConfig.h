#pragma once

#include <memory>

#include <QDialog>
#include <QString>

#include "masterdata/BerthPage.h"

class QCheckBox;
class QComboBox;
class QPushButton;
class QStackedWidget;

namespace quorl {

namespace db {
class Recordset;
}
namespace ui {
class WizardPages;
}

// The configuration wizard: welcome, post code or zip code, the marina's berths,
// and the closing page. Every berth change runs in one transaction on DbConnection
// from Display to Finish, which commits it before it writes the settings and the
// events; leaving the wizard any other way rolls it back.
class frmWizardConfig : public QDialog, private BerthPage
{
    Q_OBJECT

public:
    explicit frmWizardConfig(QWidget *parent = nullptr);
    ~frmWizardConfig() override;

    // Prepares the wizard, begins the transaction and shows it modally; returns
    // when it has closed.
    void Display();
    // Display without the modal loop. False when the lists could not be opened
    // (the user has been told); the wizard is then not to be shown.
    bool prepare();

    int CurrentStep() const;
    db::Recordset *OperationLog() const { return m_operationLog.get(); }

public slots:
    void cmdNext_Click();
    void cmdBack_Click();
    void cmdCancel_Click();
    void chkOwner_Click();
    void cmdAdd_Click();
    void cmdRemove_Click();

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
    QWidget *buildBerthPage(QWidget *page);
    void ShowStep();
    void FinishWizard();
    void BindControls();
    void ClearFields();
    void Form_Unload();
    void Form_KeyDown(int KeyCode);

    void rollBack();
    void startOver();

    std::unique_ptr<db::Recordset> m_operationLog;
    std::unique_ptr<db::Recordset> m_berths;
    std::unique_ptr<db::Recordset> m_types;
    std::unique_ptr<db::Recordset> m_owners;
    bool m_inTransaction = false;
    int m_step = 0;
    bool m_welcomeFlag = false; // "Configuration Welcome Screen" read as 1

    QStackedWidget *m_stack = nullptr;
    ui::WizardPages *fraStep = nullptr;
    QCheckBox *chkWelcome = nullptr;
    QComboBox *cboPostCode = nullptr;
    QPushButton *cmdBack = nullptr;
    QPushButton *cmdNext = nullptr;
    QPushButton *cmdCancel = nullptr;
};

} // namespace quorl
