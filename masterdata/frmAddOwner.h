#pragma once

#include <memory>

#include <QDialog>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace quorl {

namespace db {
class Recordset;
}

struct OwnerRecord;

// The modal dialog in which the office adds berth owners (mode 1: it stays open,
// emptied, for the next owner after each add) or changes one (mode 2).
class frmAddOwner : public QDialog
{
    Q_OBJECT

public:
    explicit frmAddOwner(QWidget *parent = nullptr);
    ~frmAddOwner() override;

    // Opens the dialog modally and returns when it closes.
    void Display(int Mode, qint64 ID);

    // Display without the modal loop; false when the owner to edit is gone (the user
    // has been told) and the dialog is not to be shown.
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
    bool SaveOwner();
    OwnerRecord enteredRecord() const;
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
    QLineEdit *txtMobileNo = nullptr;
    QLineEdit *txtEmail = nullptr;
    QLabel *lblSendEmail = nullptr;
    QPlainTextEdit *txtNotes = nullptr;
    QPushButton *cmdOK = nullptr;
    QPushButton *cmdCancel = nullptr;
};

} // namespace quorl
