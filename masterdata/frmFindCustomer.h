#pragma once

#include <memory>

#include <QDialog>
#include <QPointer>

#include "masterdata/ContactForms.h"

class QCheckBox;
class QLabel;
class QPushButton;
class QWidget;

namespace quorl {

class frmAddCustomer;
struct CustomerSearchBoxes;

// The modal search for customers by the beginnings of their columns and by club
// membership. It reads the table once when it opens; each search narrows those rows.
class frmFindCustomer : public QDialog
{
    Q_OBJECT

public:
    explicit frmFindCustomer(QWidget *parent = nullptr);
    ~frmFindCustomer() override;

    db::Recordset *resultRecordset() const { return ResultRs.get(); }
    bool isFirstSearch() const { return FirstSearch; }

public slots:
    void cmdStart_Click();
    void cmdColse_Click();
    void cmdAddCustomer_Click();
    void cmdEditCustomer_Click();
    void cmdDeleteCustomer_Click();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    void Form_Load();
    void Form_KeyDown(int KeyCode);
    void applyLayoutState();
    CustomerSearchBoxes enteredBoxes() const;
    int clubMemberState() const;
    frmAddCustomer &customerDialog();

    std::unique_ptr<db::Recordset> ResultRs;
    bool FirstSearch = true;
    QPointer<frmAddCustomer> m_customerDialog;

    ContactBoxes m_boxes;
    QCheckBox *chkClubMember = nullptr;
    QPushButton *cmdStart = nullptr;
    QPushButton *cmdColse = nullptr;
    QPushButton *cmdAddCustomer = nullptr;
    QPushButton *cmdEditCustomer = nullptr;
    QPushButton *cmdDeleteCustomer = nullptr;
    ui::DataGrid *grdCustomer = nullptr;
    QLabel *lblMatches = nullptr;
    QLabel *lblTotalMatches = nullptr;
    QWidget *m_results = nullptr;
};

} // namespace quorl
