#pragma once

#include <memory>

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace quorl {

namespace db {
class Recordset;
}

struct CustomerRecord;

// The modal dialog in which the office adds a customer (mode 1) or changes one
// (mode 2). Each save is one statement in its own transaction, then one event.
class frmAddCustomer : public QDialog
{
    Q_OBJECT

public:
    explicit frmAddCustomer(QWidget *parent = nullptr);
    ~frmAddCustomer() override;

    // Opens the dialog modally and returns when it closes. Mode 1 adds (callers pass
    // ID 0), mode 2 edits the customer with that ID.
    void Display(int Mode, qint64 ID);

    // After Display: the new customer's key when an add was saved, else the ID passed.
    qint64 ID() const { return m_ID; }
    int Mode() const { return m_Mode; }

    // Display without the modal loop: stores the mode and key and loads the row to
    // edit. False when that row is gone (the user has been told); the dialog is then
    // not to be shown.
    bool prepare(int Mode, qint64 ID);

public slots:
    void cmdOK_Click();
    void cmdCancel_Click();
    void lblSendEmail_Click();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    void Form_KeyDown(int KeyCode);
    bool SaveCustomer();
    CustomerRecord enteredRecord() const;
    void loadRow(const db::Recordset &row);
    void clearFields();

    int m_Mode = 1;
    qint64 m_ID = 0;
    std::unique_ptr<db::Recordset> EditRs;

    QLineEdit *txtName = nullptr;
    QLineEdit *txtHouseName = nullptr;
    QLineEdit *txtStreet = nullptr;
    QLineEdit *txtArea = nullptr;
    QLineEdit *txtTown = nullptr;
    QLineEdit *txtPostCode = nullptr;
    QLineEdit *txtTelNo = nullptr;
    QLineEdit *txtMobileNo = nullptr;
    QLineEdit *txtEmail = nullptr;
    QLineEdit *txtMembershipNo = nullptr;
    QPlainTextEdit *txtNotes = nullptr;
    QLabel *lblSendEmail = nullptr;
    QCheckBox *chkClubMember = nullptr;
    QPushButton *cmdOK = nullptr;
    QPushButton *cmdCancel = nullptr;
};

} // namespace quorl
