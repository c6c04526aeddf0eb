#pragma once

#include <memory>

#include <QDateTime>
#include <QList>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>

class QCheckBox;
class QDateEdit;
class QFrame;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QStackedWidget;
class QTableView;
class QTimeEdit;

namespace quorl {

namespace db {
class Recordset;
}
namespace ui {
class DataCombo;
class WizardPages;
}

class AvailableBerthsModel;
class frmAddCustomer;
struct BookingRecord;

// The four-step wizard in which the office adds a reservation of one or more berths
// for a period (mode 1) or changes one (mode 2): dates, free berths, customer and
// charges, confirmation. Confirm writes the booking in one transaction; Cancel
// leaves, and in mode 2 offers to delete the booking.
class frmBooking : public QWidget
{
    Q_OBJECT

public:
    explicit frmBooking(QWidget *parent = nullptr);
    ~frmBooking() override;

    // Starts a clean form on step 0 and shows it: mode 1 for a new booking (BookingID
    // 0), mode 2 for the booking with that ID. Nothing of an earlier booking stays.
    // While a booking is loaded the form only comes to the front as it is; asked
    // for another booking it also says that the one being entered comes first.
    void Display(int Mode, qint64 BookingID);

    int Mode() const { return m_Mode; }
    qint64 BookingID() const { return m_BookingID; }
    int CurrentStep() const { return m_CurrentStep; }
    QDateTime FromDateTime() const { return m_FromDateTime; }
    QDateTime ToDateTime() const { return m_ToDateTime; }
    // Marked rows of the berth grid.
    int SelectedCount() const;
    // Whether the form is between Display and its unloading.
    bool isLoaded() const { return m_loaded; }

    AvailableBerthsModel *availableBerths() const { return m_availableBerths; }

    // Marks (Selected) or clears grid row Row, counted from 1 below the header.
    void SelectRow(int Row, bool Selected);
    // Runs the availability query for the period and shows the free berths; in mode 2
    // the booking's own berths start marked.
    void LoadAvailableBerths();

public slots:
    // Maximised on every activation.
    void Form_Activate();

    void cmdNext_Click();
    void cmdBack_Click();
    void cmdCancel_Click();
    void cmdAddCustomer_Click();
    void Label38_Click();
    // A click on grid row Row (from 1) toggles its mark.
    void grdBerth_Click(int Row);
    void txtOtherCharges_LostFocus();

    // The number checks: false keeps the focus in the box.
    bool txtAmountPayed_Validate();
    bool txtBerthConfirmationNumber_Validate();
    bool txtCostOfHire_Validate();
    bool txtNoAdults_Validate();
    bool txtNoKids_Validate();
    bool txtOtherCharges_Validate();
    bool txtTotalPayable_Validate();
    bool txtVAT_Validate();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void buildControls();
    QWidget *buildDatesPage(QWidget *page);
    QWidget *buildBerthsPage(QWidget *page);
    QWidget *buildCustomerPage(QWidget *page);
    QWidget *buildConfirmationPage(QWidget *page);
    void setTabOrders();
    void installKeyPreview();

    void showInFront();
    void ClearForm();
    void BindControls();
    void ReleaseRecordsets();
    void ShowStep();
    void Advance();
    void Unload();
    bool LoadBooking();
    void SaveBooking();
    void PrepareCharges();
    void updateVatAndTotal();
    void FillConfirmation();
    bool checkDates();
    bool checkNumbersBeforeSave();
    BookingRecord enteredRecord() const;
    QStringList eventDetails() const;
    QStringList cancelDetails() const;
    bool validateNumberBox(QLineEdit *box, const QString &title, bool wholeNumber);
    void Form_KeyDown(QKeyEvent *event);

    int m_Mode = 1;
    qint64 m_BookingID = 0;
    int m_CurrentStep = 0;
    QDateTime m_FromDateTime;
    QDateTime m_ToDateTime;
    bool m_countsShown = true;
    bool m_loaded = false;
    bool m_busy = false;

    std::unique_ptr<db::Recordset> CustomerRs;
    std::unique_ptr<db::Recordset> PaymentMethodRs;
    std::unique_ptr<db::Recordset> BookingRs; // mode 2: the edited row
    AvailableBerthsModel *m_availableBerths = nullptr;
    QPointer<frmAddCustomer> m_customerDialog;

    // always in view
    QFrame *fraMain = nullptr;
    QLabel *lblCaption = nullptr;
    QLabel *Label1 = nullptr;
    QPlainTextEdit *txtNotes = nullptr;
    QFrame *Frame1 = nullptr;
    QLabel *Label2 = nullptr;
    QList<QLabel *> lblStep;
    QPushButton *cmdBack = nullptr;
    QPushButton *cmdNext = nullptr;
    QPushButton *cmdCancel = nullptr;
    QStackedWidget *m_steps = nullptr;
    ui::WizardPages *m_pages = nullptr;

    // step 0
    QDateEdit *dtpFromDate = nullptr;
    QTimeEdit *dtpFromTime = nullptr;
    QDateEdit *dtpToDate = nullptr;
    QTimeEdit *dtpToTime = nullptr;
    QLineEdit *txtBookedBy = nullptr;

    // step 1
    QTableView *grdBerth = nullptr;

    // step 2
    ui::DataCombo *cboCustomer = nullptr;
    QPushButton *cmdAddCustomer = nullptr;
    QLabel *lblNoAdultsEdit = nullptr;
    QLineEdit *txtNoAdults = nullptr;
    QLabel *lblNoKidsEdit = nullptr;
    QLineEdit *txtNoKids = nullptr;
    QLineEdit *txtPowerRequirements = nullptr;
    QCheckBox *chkClubMember = nullptr;
    QLineEdit *txtBerthConfirmationNumber = nullptr;
    QLineEdit *txtGuestConfNum = nullptr;
    QLineEdit *txtCostOfHire = nullptr;
    QLineEdit *txtOtherCharges = nullptr;
    QLineEdit *txtVAT = nullptr;
    QLineEdit *txtTotalPayable = nullptr;
    QLineEdit *txtAmountPayed = nullptr;
    ui::DataCombo *cboPaymentMethod = nullptr;
    QLineEdit *txtCreditCardNo = nullptr;
    QLineEdit *txtCreditCardExpiry = nullptr;
    QLineEdit *txtCreditCardType = nullptr;
    QLineEdit *txtCreditCardCV2No = nullptr;

    // step 3
    QLabel *lblDates = nullptr;
    QLabel *lblName = nullptr;
    QLabel *lblAddress = nullptr;
    QLabel *lblPhone = nullptr;
    QLabel *Label38 = nullptr;
    QLabel *lblMail = nullptr;
    QLabel *lblAdults = nullptr;
    QLabel *lblNoAdults = nullptr;
    QLabel *lblKids = nullptr;
    QLabel *lblNoKids = nullptr;
};

} // namespace quorl
