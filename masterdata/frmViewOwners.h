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

class frmAddOwner;

// The child window listing the berth owners, with add, view/edit and delete.
class frmViewOwners : public QWidget
{
    Q_OBJECT

public:
    explicit frmViewOwners(QWidget *parent = nullptr);
    ~frmViewOwners() override;

    // Loads the rows, shows the window and brings it to the front.
    void Display();

    db::Recordset *listRecordset() const { return ListRs.get(); }

public slots:
    // Maximised on every activation.
    void Form_Activate();
    void cmdAddOwner_Click();
    void cmdEditOwner_Click();
    void cmdDeleteOwner_Click();

private:
    void LoadRecordset();
    frmAddOwner &ownerDialog();
    bool hasCurrentRow() const;
    void requeryList();

    std::unique_ptr<db::Recordset> ListRs;
    QPointer<frmAddOwner> m_ownerDialog;

    QLabel *lblFormTitle = nullptr;
    ui::DataGrid *grdOwners = nullptr;
    QPushButton *cmdAddOwner = nullptr;
    QPushButton *cmdEditOwner = nullptr;
    QPushButton *cmdDeleteOwner = nullptr;
};

} // namespace quorl
