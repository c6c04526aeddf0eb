#pragma once

#include <memory>

#include <QPointer>
#include <QWidget>

class QLabel;
class QPushButton;

namespace quorl {

namespace db {
class Recordset;
}
namespace ui {
class DataGrid;
}

class frmAddCustomer;

// The child window listing every customer, with add, view/edit and delete.
class frmViewCustomers : public QWidget
{
    Q_OBJECT

public:
    explicit frmViewCustomers(QWidget *parent = nullptr);
    ~frmViewCustomers() override;

    // Loads the rows, shows the window and brings it to the front.
    void Display();

    // Reads the rows again; a failure is logged and otherwise ignored.
    void RequeryRst();

    db::Recordset *listRecordset() const { return ListRs.get(); }

public slots:
    // Maximised on every activation.
    void Form_Activate();
    void cmdAddCustomer_Click();
    void cmdEditCustomer_Click();
    void cmdDeleteCustomer_Click();

private:
    void Form_Load();
    void LoadRecordset();
    frmAddCustomer &customerDialog();
    bool hasCurrentRow() const;

    std::unique_ptr<db::Recordset> ListRs;
    QPointer<frmAddCustomer> m_customerDialog;

    QLabel *lblFormTitle = nullptr;
    ui::DataGrid *grdCustomer = nullptr;
    QPushButton *cmdAddCustomer = nullptr;
    QPushButton *cmdEditCustomer = nullptr;
    QPushButton *cmdDeleteCustomer = nullptr;
};

} // namespace quorl
