#include "reservations/frmBooking.h"

#include <algorithm>
#include <optional>
#include <utility>

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDateEdit>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTableView>
#include <QTimeEdit>
#include <QVBoxLayout>

#include "core/ProgramSettings.h"
#include "core/RegistryValues.h"
#include "core/modDatabase.h"
#include "core/modEventLog.h"
#include "core/modFunctions.h"
#include "core/modMessageLog.h"
#include "masterdata/frmAddCustomer.h"
#include "platform/db/Connection.h"
#include "platform/db/Error.h"
#include "platform/db/Recordset.h"
#include "platform/db/SqlText.h"
#include "platform/ui/Clock.h"
#include "platform/ui/DataCombo.h"
#include "platform/ui/MdiChildren.h"
#include "platform/ui/MsgBox.h"
#include "platform/ui/Shell.h"
#include "platform/ui/TextBoxes.h"
#include "platform/ui/Twips.h"
#include "platform/ui/ValidateOnLeave.h"
#include "platform/ui/WaitCursor.h"
#include "platform/ui/WizardPages.h"
#include "reservations/Availability.h"
#include "reservations/BookingCharges.h"
#include "reservations/BookingSettings.h"
#include "reservations/BookingStore.h"

namespace quorl {
namespace {

const QString kTitle = QStringLiteral("Booking");
const QString kNumberMessage = QStringLiteral("Please enter a valid number to continue");
const QString kBookingGone =
    QStringLiteral("This booking no longer exists. It may have been cancelled in another window.");
const QString kBookingInProgress =
    QStringLiteral("A booking is being entered. Please finish or cancel it before opening another one.");

// Below these sizes the window stops shrinking its contents.
constexpr int kMinimumWidthTwips = 9375;
constexpr int kMinimumHeightTwips = 7830;
constexpr int kStepFrameLeftTwips = 2760;

constexpr int kLastStep = 3;

QString errorText(const std::exception &error)
{
    if (const auto *dbError = dynamic_cast<const db::Error *>(&error))
        return dbError->message();
    return QString::fromUtf8(error.what());
}

bool isNull(const QVariant &value)
{
    return !value.isValid() || value.isNull();
}

QString textOf(const db::Recordset &row, const char *field)
{
    const QVariant value = row.value(QString::fromLatin1(field));
    return isNull(value) ? QString() : value.toString();
}

QString numberTextOf(const db::Recordset &row, const char *field)
{
    const QVariant value = row.value(QString::fromLatin1(field));
    return isNull(value) ? QString() : plainNumberText(value.toDouble());
}

QString countTextOf(const db::Recordset &row, const char *field)
{
    const QVariant value = row.value(QString::fromLatin1(field));
    if (isNull(value))
        return QString();
    // The counts of a booking taken while they were switched off.
    return value.toLongLong() == -1 ? QStringLiteral("0") : plainNumberText(value.toDouble());
}

bool readsMinusOne(const QString &text)
{
    const std::optional<double> value = readNumber(text);
    return value && *value == -1 && !text.trimmed().isEmpty();
}

// Arrival and departure are what the wall clock reads; a reading in the hour the
// clocks skip in spring is no valid local QDateTime (it would print as nothing and
// sort before every other), yet it is the time the user set. So they are shown and
// compared by their date and time of day.
QString wallClockText(const QDateTime &value)
{
    if (!value.date().isValid())
        return QString();
    return value.date().toString(QStringLiteral("dd.MM.yyyy")) + QLatin1Char(' ')
        + value.time().toString(QStringLiteral("HH:mm"));
}

bool wallClockNotAfter(const QDateTime &first, const QDateTime &second)
{
    return std::pair(first.date(), first.time()) <= std::pair(second.date(), second.time());
}

QLabel *captionFor(QWidget *parent, const char *name, const QString &caption, QWidget *buddy)
{
    auto *label = new QLabel(caption, parent);
    label->setObjectName(QString::fromLatin1(name));
    if (buddy)
        label->setBuddy(buddy);
    return label;
}

QLineEdit *numberBox(QWidget *parent, const char *name)
{
    auto *box = new QLineEdit(parent);
    box->setObjectName(QString::fromLatin1(name));
    return box;
}

QPushButton *button(QWidget *parent, const char *name, const QString &caption)
{
    auto *push = new QPushButton(caption, parent);
    push->setObjectName(QString::fromLatin1(name));
    // Enter moves the focus on this form; it never presses a button by itself.
    push->setAutoDefault(false);
    push->setDefault(false);
    return push;
}

// Leaves a flag set for the length of a handler, also when it throws.
class BusyScope final
{
public:
    explicit BusyScope(bool &flag)
        : m_flag(flag)
    {
        m_flag = true;
    }
    ~BusyScope() { m_flag = false; }
    BusyScope(const BusyScope &) = delete;
    BusyScope &operator=(const BusyScope &) = delete;

private:
    bool &m_flag;
};

} // namespace

frmBooking::frmBooking(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("frmBooking"));
    m_availableBerths = new AvailableBerthsModel(this);
    buildControls();
    setTabOrders();
    installKeyPreview();
    setMinimumSize(ui::twipsToPixels(kMinimumWidthTwips), ui::twipsToPixels(kMinimumHeightTwips));
}

frmBooking::~frmBooking()
{
    ReleaseRecordsets();
}

// ---- Controls --------------------------------------------------------------------------

void frmBooking::buildControls()
{
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    fraMain = new QFrame(this);
    fraMain->setObjectName(QStringLiteral("fraMain"));
    outer->addWidget(fraMain);
    auto *grid = new QGridLayout(fraMain);

    lblCaption = new QLabel(QStringLiteral("Berth / Duzuruz Reservation"), fraMain);
    lblCaption->setObjectName(QStringLiteral("lblCaption"));
    QFont captionFont = lblCaption->font();
    captionFont.setBold(true);
    captionFont.setPointSizeF(captionFont.pointSizeF() * 1.5);
    lblCaption->setFont(captionFont);
    grid->addWidget(lblCaption, 0, 0, 1, 2);

    // The progress list and the booking notes stand left of the step in view.
    auto *leftColumn = new QWidget(fraMain);
    leftColumn->setFixedWidth(ui::twipsToPixels(kStepFrameLeftTwips - 240));
    auto *left = new QVBoxLayout(leftColumn);
    left->setContentsMargins(0, 0, 0, 0);
    Frame1 = new QFrame(leftColumn);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setFrameShape(QFrame::StyledPanel);
    auto *progress = new QVBoxLayout(Frame1);
    Label2 = captionFor(Frame1, "Label2", QStringLiteral("Booking Progress"), nullptr);
    progress->addWidget(Label2);
    const QStringList stepCaptions = {QStringLiteral("Step 1 - Dates"), QStringLiteral("Step 2 - Select Berth"),
                                      QStringLiteral("Step 3 - Customer"), QStringLiteral("Step 4 - Confirmation")};
    for (int i = 0; i < stepCaptions.size(); ++i) {
        auto *step = new QLabel(stepCaptions.at(i), Frame1);
        step->setObjectName(QStringLiteral("lblStep(%1)").arg(i));
        progress->addWidget(step);
        lblStep.append(step);
    }
    left->addWidget(Frame1);
    txtNotes = new QPlainTextEdit(leftColumn);
    txtNotes->setObjectName(QStringLiteral("txtNotes"));
    txtNotes->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtNotes->setTabChangesFocus(true);
    Label1 = captionFor(leftColumn, "Label1", QStringLiteral("Booking Notes"), txtNotes);
    left->addWidget(Label1);
    left->addWidget(txtNotes, 1);
    grid->addWidget(leftColumn, 1, 0);

    m_steps = new QStackedWidget(fraMain);
    grid->addWidget(m_steps, 1, 1);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(1, 1);

    cmdBack = button(fraMain, "cmdBack", QStringLiteral("&Back"));
    cmdNext = button(fraMain, "cmdNext", QStringLiteral("&Next"));
    cmdCancel = button(fraMain, "cmdCancel", QStringLiteral("Cancel Booking"));
    // Leaving throws away what was typed, so a refused number need not stop it.
    ui::setCausesValidation(cmdCancel, false);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdBack);
    buttons->addWidget(cmdNext);
    buttons->addWidget(cmdCancel);
    grid->addLayout(buttons, 2, 0, 1, 2);

    m_pages = new ui::WizardPages(m_steps, this, cmdBack, cmdNext, QStringLiteral("&Confirm"));
    buildDatesPage(m_pages->addPage());
    buildBerthsPage(m_pages->addPage());
    buildCustomerPage(m_pages->addPage());
    buildConfirmationPage(m_pages->addPage());
    m_pages->setStepLabels(lblStep);

    connect(cmdNext, &QPushButton::clicked, this, &frmBooking::cmdNext_Click);
    connect(cmdBack, &QPushButton::clicked, this, &frmBooking::cmdBack_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmBooking::cmdCancel_Click);
    connect(cmdAddCustomer, &QPushButton::clicked, this, &frmBooking::cmdAddCustomer_Click);
    connect(grdBerth, &QTableView::clicked, this, [this](const QModelIndex &index) { grdBerth_Click(index.row() + 1); });

    const struct {
        QLineEdit *box;
        bool (frmBooking::*validate)();
    } checks[] = {
        {txtAmountPayed, &frmBooking::txtAmountPayed_Validate},
        {txtBerthConfirmationNumber, &frmBooking::txtBerthConfirmationNumber_Validate},
        {txtCostOfHire, &frmBooking::txtCostOfHire_Validate},
        {txtNoAdults, &frmBooking::txtNoAdults_Validate},
        {txtNoKids, &frmBooking::txtNoKids_Validate},
        {txtTotalPayable, &frmBooking::txtTotalPayable_Validate},
        {txtVAT, &frmBooking::txtVAT_Validate},
    };
    for (const auto &check : checks) {
        const auto validate = check.validate;
        ui::installValidateOnLeave(check.box, [this, validate] { return (this->*validate)(); });
    }
    // VAT and total follow the other charges once they pass their check.
    ui::installValidateOnLeave(txtOtherCharges, [this] {
        // While the form is being filled or emptied, pages come and go: no user move.
        if (!m_loaded)
            return true;
        if (!txtOtherCharges_Validate())
            return false;
        txtOtherCharges_LostFocus();
        return true;
    });
}

QWidget *frmBooking::buildDatesPage(QWidget *page)
{
    auto *layout = new QGridLayout(page);
    auto *Label3 = captionFor(
        page, "Label3", QStringLiteral("Set Arrival date and Arrival time, then set Departure date and Departure time"),
        nullptr);
    Label3->setWordWrap(true);
    layout->addWidget(Label3, 0, 0, 1, 4);

    auto datePicker = [page](const char *name) {
        auto *picker = new QDateEdit(page);
        picker->setObjectName(QString::fromLatin1(name));
        picker->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
        picker->setCalendarPopup(true);
        return picker;
    };
    // "HH:mm": a 24-hour clock, as the office's times are.
    auto timePicker = [page](const char *name, const QString &accessibleName) {
        auto *picker = new QTimeEdit(page);
        picker->setObjectName(QString::fromLatin1(name));
        picker->setDisplayFormat(QStringLiteral("HH:mm"));
        picker->setAccessibleName(accessibleName);
        return picker;
    };
    dtpFromDate = datePicker("dtpFromDate");
    dtpFromTime = timePicker("dtpFromTime", QStringLiteral("Arrival time"));
    dtpToDate = datePicker("dtpToDate");
    dtpToTime = timePicker("dtpToTime", QStringLiteral("Departure time"));
    txtBookedBy = new QLineEdit(page);
    txtBookedBy->setObjectName(QStringLiteral("txtBookedBy"));

    layout->addWidget(captionFor(page, "Label4", QStringLiteral("Arrival Date:"), dtpFromDate), 1, 0);
    layout->addWidget(dtpFromDate, 1, 1);
    layout->addWidget(dtpFromTime, 1, 2);
    layout->addWidget(captionFor(page, "Label5", QStringLiteral("Departure Date:"), dtpToDate), 2, 0);
    layout->addWidget(dtpToDate, 2, 1);
    layout->addWidget(dtpToTime, 2, 2);
    layout->addWidget(captionFor(page, "Label6", QStringLiteral("Booked by (your name):"), txtBookedBy), 3, 0);
    layout->addWidget(txtBookedBy, 3, 1, 1, 2);
    layout->setColumnStretch(3, 1);
    layout->setRowStretch(4, 1);
    return page;
}

QWidget *frmBooking::buildBerthsPage(QWidget *page)
{
    auto *layout = new QVBoxLayout(page);
    layout->addWidget(captionFor(
        page, "Label7", QStringLiteral("Select the unit for this booking. (Items highlighted in blue have been booked)"),
        nullptr));
    layout->addWidget(
        captionFor(page, "Label11", QStringLiteral("Select the Berth to use. (Items selected will appear in blue)"), nullptr));
    grdBerth = new QTableView(page);
    grdBerth->setObjectName(QStringLiteral("grdBerth"));
    grdBerth->setModel(m_availableBerths);
    // The marks are the selection; the view's own highlight would only confuse them.
    grdBerth->setSelectionMode(QAbstractItemView::NoSelection);
    grdBerth->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdBerth->verticalHeader()->setVisible(false);
    layout->addWidget(captionFor(page, "Label8", QStringLiteral("Berth / slips  available:"), grdBerth));
    layout->addWidget(grdBerth, 1);
    return page;
}

QWidget *frmBooking::buildCustomerPage(QWidget *page)
{
    auto *layout = new QGridLayout(page);
    layout->addWidget(captionFor(page, "Label9", QStringLiteral("Enter your customer's details."), nullptr), 0, 0, 1, 5);

    cboCustomer = new ui::DataCombo(page);
    cboCustomer->setObjectName(QStringLiteral("cboCustomer"));
    cmdAddCustomer = button(page, "cmdAddCustomer", QStringLiteral("&New..."));
    auto *customerRow = new QHBoxLayout;
    customerRow->addWidget(cboCustomer, 1);
    customerRow->addWidget(cmdAddCustomer);
    layout->addWidget(captionFor(page, "Label10", QStringLiteral("Select customer:"), cboCustomer), 1, 0);
    layout->addLayout(customerRow, 1, 1, 1, 4);

    txtNoAdults = numberBox(page, "txtNoAdults");
    lblNoAdultsEdit = captionFor(page, "lblNoAdultsEdit", QStringLiteral("No Adults:"), txtNoAdults);
    txtNoKids = numberBox(page, "txtNoKids");
    lblNoKidsEdit = captionFor(page, "lblNoKidsEdit", QStringLiteral("No Kids:"), txtNoKids);
    txtPowerRequirements = numberBox(page, "txtPowerRequirements");
    chkClubMember = new QCheckBox(QStringLiteral("Club Member"), page);
    chkClubMember->setObjectName(QStringLiteral("chkClubMember"));
    txtBerthConfirmationNumber = numberBox(page, "txtBerthConfirmationNumber");
    txtGuestConfNum = numberBox(page, "txtGuestConfNum");

    layout->addWidget(lblNoAdultsEdit, 2, 0);
    layout->addWidget(txtNoAdults, 2, 1);
    layout->addWidget(lblNoKidsEdit, 3, 0);
    layout->addWidget(txtNoKids, 3, 1);
    layout->addWidget(captionFor(page, "Label13", QStringLiteral("Power requirements:"), txtPowerRequirements), 4, 0);
    layout->addWidget(txtPowerRequirements, 4, 1);
    layout->addWidget(chkClubMember, 5, 1);
    layout->addWidget(captionFor(page, "Label14", QStringLiteral("Confirmation No.:"), txtBerthConfirmationNumber), 6, 0);
    layout->addWidget(txtBerthConfirmationNumber, 6, 1);
    layout->addWidget(captionFor(page, "Label15", QStringLiteral("Guest Confirmation No.:"), txtGuestConfNum), 7, 0);
    layout->addWidget(txtGuestConfNum, 7, 1);

    txtCostOfHire = numberBox(page, "txtCostOfHire");
    txtOtherCharges = numberBox(page, "txtOtherCharges");
    txtVAT = numberBox(page, "txtVAT");
    txtTotalPayable = numberBox(page, "txtTotalPayable");
    txtAmountPayed = numberBox(page, "txtAmountPayed");
    cboPaymentMethod = new ui::DataCombo(page);
    cboPaymentMethod->setObjectName(QStringLiteral("cboPaymentMethod"));
    txtCreditCardNo = numberBox(page, "txtCreditCardNo");
    txtCreditCardExpiry = numberBox(page, "txtCreditCardExpiry");
    txtCreditCardType = numberBox(page, "txtCreditCardType");
    txtCreditCardCV2No = numberBox(page, "txtCreditCardCV2No");

    const struct {
        const char *label;
        const char *caption;
        QWidget *box;
    } money[] = {
        {"Label25", "Berth Hire:", txtCostOfHire},
        {"Label16", "Other Charges:", txtOtherCharges},
        {"Label17", "VAT:", txtVAT},
        {"Label18", "Total Payable:", txtTotalPayable},
        {"Label19", "Amount Payed:", txtAmountPayed},
        {"Label20", "Payment Method:", cboPaymentMethod},
        {"Label21", "Credit Card No.:", txtCreditCardNo},
        {"Label22", "Credit Card Expiry:", txtCreditCardExpiry},
        {"Label23", "Credit Card Type:", txtCreditCardType},
        {"Label24", "Credit Card CV2 No.:", txtCreditCardCV2No},
    };
    int row = 2;
    for (const auto &entry : money) {
        layout->addWidget(captionFor(page, entry.label, QString::fromUtf8(entry.caption), entry.box), row, 3);
        layout->addWidget(entry.box, row, 4);
        ++row;
    }
    layout->setColumnMinimumWidth(2, ui::twipsToPixels(240));
    layout->setColumnStretch(1, 1);
    layout->setColumnStretch(4, 1);
    layout->setRowStretch(row, 1);
    return page;
}

QWidget *frmBooking::buildConfirmationPage(QWidget *page)
{
    auto *layout = new QGridLayout(page);
    auto *Label26 = captionFor(page, "Label26", QStringLiteral("Booking confirmation details:"), nullptr);
    QFont bold = Label26->font();
    bold.setBold(true);
    Label26->setFont(bold);
    layout->addWidget(Label26, 0, 0, 1, 2);

    auto plain = [page](const char *name) {
        auto *label = new QLabel(page);
        label->setObjectName(QString::fromLatin1(name));
        label->setTextFormat(Qt::PlainText); // a customer's "<b>" is shown, never obeyed
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        return label;
    };
    lblDates = plain("lblDates");
    layout->addWidget(captionFor(page, "Label27", QStringLiteral("Booking from"), nullptr), 1, 0);
    layout->addWidget(lblDates, 1, 1);
    lblName = plain("lblName");
    layout->addWidget(lblName, 2, 1);
    lblAddress = plain("lblAddress");
    layout->addWidget(lblAddress, 3, 1);
    lblPhone = plain("lblPhone");
    layout->addWidget(lblPhone, 4, 1);

    Label38 = captionFor(page, "Label38", QStringLiteral("Email"), nullptr);
    QFont link = Label38->font();
    link.setUnderline(true);
    Label38->setFont(link);
    Label38->setCursor(Qt::PointingHandCursor);
    Label38->installEventFilter(this);
    lblMail = plain("lblMail");
    layout->addWidget(Label38, 5, 0);
    layout->addWidget(lblMail, 5, 1);

    lblNoAdults = plain("lblNoAdults");
    lblAdults = captionFor(page, "lblAdults", QStringLiteral("Adults and"), nullptr);
    lblNoKids = plain("lblNoKids");
    lblKids = captionFor(page, "lblKids", QStringLiteral("Children"), nullptr);
    auto *counts = new QHBoxLayout;
    counts->addWidget(lblNoAdults);
    counts->addWidget(lblAdults);
    counts->addWidget(lblNoKids);
    counts->addWidget(lblKids);
    counts->addStretch(1);
    layout->addLayout(counts, 6, 1);
    layout->setColumnStretch(1, 1);
    layout->setRowStretch(7, 1);
    return page;
}

void frmBooking::setTabOrders()
{
    const QList<QWidget *> order = {
        dtpFromDate, dtpFromTime, dtpToDate, dtpToTime, txtBookedBy, grdBerth,
        cboCustomer, cmdAddCustomer, txtNoAdults, txtNoKids, txtPowerRequirements, chkClubMember,
        txtBerthConfirmationNumber, txtGuestConfNum, txtCostOfHire, txtOtherCharges, txtVAT, txtTotalPayable,
        txtAmountPayed, cboPaymentMethod, txtCreditCardNo, txtCreditCardExpiry, txtCreditCardType, txtCreditCardCV2No,
        txtNotes, cmdBack, cmdNext, cmdCancel,
    };
    for (int i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order.at(i - 1), order.at(i));
}

// The form sees every key before its controls do, for the Enter navigation.
void frmBooking::installKeyPreview()
{
    for (QWidget *child : findChildren<QWidget *>())
        child->installEventFilter(this);
}

bool frmBooking::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Label38 && event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        Label38_Click();
        return true;
    }
    if (event->type() == QEvent::KeyPress && watched->isWidgetType()) {
        auto *control = static_cast<QWidget *>(watched);
        auto *key = static_cast<QKeyEvent *>(event);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && control == QApplication::focusWidget()
            && control->window() == window()) {
            Form_KeyDown(key);
            return key->isAccepted();
        }
        if (key->key() == Qt::Key_Space && control == grdBerth && grdBerth->currentIndex().isValid()) {
            grdBerth_Click(grdBerth->currentIndex().row() + 1);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void frmBooking::Form_KeyDown(QKeyEvent *event)
{
    event->accept();
    try {
        FocusNextControl(this);
    } catch (const std::exception &error) {
        logError(QStringLiteral("frmBooking.Form_KeyDown"), error);
    }
}

// ---- Opening ---------------------------------------------------------------------------

void frmBooking::Display(int Mode, qint64 BookingID)
{
    const int mode = Mode == 2 ? 2 : 1;
    const qint64 bookingId = mode == 2 ? BookingID : 0;
    if (m_loaded) {
        // What the user typed is never thrown away by a second request.
        showInFront();
        if (mode != m_Mode || bookingId != m_BookingID)
            ui::MsgBox(kBookingInProgress, ui::vbExclamation | ui::vbOKOnly, kTitle);
        return;
    }
    try {
        ClearForm();
        m_Mode = mode;
        m_BookingID = bookingId;
        if (!DbConnection)
            throw db::Error(QStringLiteral("No database connection is open."));

        CustomerRs = OpenRecordset(QStringLiteral("Customer"), nullptr, true, db::adCmdTableDirect);
        PaymentMethodRs = OpenRecordset(QStringLiteral("PaymentMethod"), nullptr, true, db::adCmdTableDirect);
        for (const auto *rs : {CustomerRs.get(), PaymentMethodRs.get()}) {
            if (!rs->isOpen())
                throw db::Error(rs->lastError());
        }
        CustomerRs->setSort(QStringLiteral("Name"));
        BindControls();

        if (m_Mode == 1) {
            const QDate today = ui::Date();
            dtpFromDate->setDate(today);
            dtpToDate->setDate(today);
            dtpFromTime->setTime(timeSetting(kValueCheckInTime, kDefaultCheckInTime));
            dtpToTime->setTime(timeSetting(kValueCheckoutTime, kDefaultCheckoutTime));
            txtBerthConfirmationNumber->setText(QString::number(nextConfirmationNumber(*DbConnection)));
        } else if (!LoadBooking()) {
            ui::MsgBox(kBookingGone, ui::vbExclamation, kTitle);
            Unload();
            return;
        }

        m_CurrentStep = 0;
        ShowStep();

        m_countsShown = countsShownSetting();
        for (QWidget *count : {static_cast<QWidget *>(lblNoAdultsEdit), static_cast<QWidget *>(lblNoKidsEdit),
                               static_cast<QWidget *>(txtNoAdults), static_cast<QWidget *>(txtNoKids)})
            count->setVisible(m_countsShown);
        if (!m_countsShown) {
            txtNoAdults->setText(QStringLiteral("-1"));
            txtNoKids->setText(QStringLiteral("-1"));
        }
        m_loaded = true;
    } catch (const std::exception &error) {
        logError(QStringLiteral("frmBooking.Display"), error);
        ui::MsgBox(errorText(error), ui::vbExclamation, kTitle);
        Unload();
        return;
    }
    showInFront();
}

void frmBooking::showInFront()
{
    ui::showInFront(this, [this] { Form_Activate(); });
}

void frmBooking::Form_Activate()
{
    QWidget *frame = qobject_cast<QMdiSubWindow *>(parentWidget());
    if (!frame)
        frame = this;
    if (!frame->isMaximized())
        frame->showMaximized();
}

// Every box back to how a new form shows it, so nothing of an earlier booking stays.
void frmBooking::ClearForm()
{
    m_loaded = false;
    ReleaseRecordsets();
    m_FromDateTime = QDateTime();
    m_ToDateTime = QDateTime();
    m_CurrentStep = 0;
    for (QLineEdit *box : {txtBookedBy, txtNoAdults, txtNoKids, txtPowerRequirements, txtBerthConfirmationNumber,
                           txtGuestConfNum, txtCostOfHire, txtOtherCharges, txtVAT, txtTotalPayable, txtAmountPayed,
                           txtCreditCardNo, txtCreditCardExpiry, txtCreditCardType, txtCreditCardCV2No})
        box->clear();
    txtNotes->clear();
    txtNoAdults->setText(QStringLiteral("2"));
    txtNoKids->setText(QStringLiteral("0"));
    chkClubMember->setChecked(false);
    for (QLabel *label : {lblDates, lblName, lblAddress, lblPhone, lblMail, lblNoAdults, lblNoKids})
        label->clear();
    for (QLabel *label : {lblAdults, lblKids, lblNoAdults, lblNoKids})
        label->setVisible(true);
    const QDate today = ui::Date();
    dtpFromDate->setDate(today);
    dtpToDate->setDate(today);
    dtpFromTime->setTime(QTime(0, 0));
    dtpToTime->setTime(QTime(0, 0));
    cmdNext->setEnabled(true);
}

void frmBooking::BindControls()
{
    cboCustomer->setListField(QStringLiteral("Name"));
    cboCustomer->setBoundColumn(QStringLiteral("ID"));
    cboCustomer->setRowSource(CustomerRs.get());
    cboPaymentMethod->setListField(QStringLiteral("Name"));
    cboPaymentMethod->setBoundColumn(QStringLiteral("ID"));
    cboPaymentMethod->setRowSource(PaymentMethodRs.get());
    cboCustomer->setBoundValue(QVariant());
    cboPaymentMethod->setBoundValue(QVariant());
}

void frmBooking::ReleaseRecordsets()
{
    // The lists follow their recordsets; they let go first.
    if (cboCustomer)
        cboCustomer->setRowSource(nullptr);
    if (cboPaymentMethod)
        cboPaymentMethod->setRowSource(nullptr);
    CustomerRs.reset();
    PaymentMethodRs.reset();
    BookingRs.reset();
    if (m_availableBerths)
        m_availableBerths->clear();
}

bool frmBooking::LoadBooking()
{
    BookingRs = openBookingRow(*DbConnection, m_BookingID);
    if (BookingRs->isEOF())
        return false;
    const db::Recordset &row = *BookingRs;

    const QVariant from = row.value(QStringLiteral("FromDate"));
    if (!isNull(from)) {
        m_FromDateTime = from.toDateTime();
        const QDateTime shown = snapToHalfHour(m_FromDateTime, true);
        dtpFromDate->setDate(shown.date());
        dtpFromTime->setTime(shown.time());
    }
    const QVariant to = row.value(QStringLiteral("ToDate"));
    if (!isNull(to)) {
        m_ToDateTime = to.toDateTime();
        // Snapping up may pass midnight; the date picker then shows the next day.
        const QDateTime shown = snapToHalfHour(m_ToDateTime, false);
        dtpToDate->setDate(shown.date());
        dtpToTime->setTime(shown.time());
    }

    txtBookedBy->setText(textOf(row, "BookedBy"));
    const QVariant customer = row.value(QStringLiteral("CustomerID"));
    cboCustomer->setBoundValue(customer);
    txtNotes->setPlainText(textOf(row, "Notes"));

    // Whenever the counts are shown they show the stored ones, so a save never
    // replaces them with the new-booking defaults.
    if (countsShownSetting()) {
        txtNoAdults->setText(countTextOf(row, "NoAdults"));
        txtNoKids->setText(countTextOf(row, "NoKids"));
    }

    txtOtherCharges->setText(numberTextOf(row, "OtherCharges"));
    txtVAT->setText(numberTextOf(row, "VAT"));
    txtTotalPayable->setText(numberTextOf(row, "TotalPayable"));
    txtAmountPayed->setText(numberTextOf(row, "AmountPayed"));
    const QVariant method = row.value(QStringLiteral("PaymentMethodID"));
    cboPaymentMethod->setBoundValue(method);

    txtCreditCardNo->setText(textOf(row, "CreditCardNo"));
    txtCreditCardExpiry->setText(textOf(row, "CreditCardExpiry"));
    txtCreditCardType->setText(textOf(row, "CreditCardType"));
    txtCreditCardCV2No->setText(textOf(row, "CreditCardCV2No"));
    txtCostOfHire->setText(numberTextOf(row, "CostOfHire"));
    txtBerthConfirmationNumber->setText(numberTextOf(row, "BerthConfirmationNumber"));
    txtGuestConfNum->setText(textOf(row, "GuestConfirmationNumber"));
    txtPowerRequirements->setText(textOf(row, "PowerRequirements"));
    const QVariant clubMember = row.value(QStringLiteral("ClubMember"));
    chkClubMember->setChecked(!isNull(clubMember) && clubMember.toBool());
    return true;
}

// ---- Steps -----------------------------------------------------------------------------

void frmBooking::ShowStep()
{
    m_pages->showStep(m_CurrentStep);
}

void frmBooking::Advance()
{
    m_CurrentStep = std::min(m_CurrentStep + 1, kLastStep);
    ShowStep();
}

void frmBooking::cmdNext_Click()
{
    if (!m_loaded || m_busy)
        return;
    BusyScope busy(m_busy);
    try {
        switch (m_CurrentStep) {
        case 0:
            if (checkDates()) {
                LoadAvailableBerths();
                Advance();
            }
            break;
        case 1:
            if (SelectedCount() == 0) {
                ui::MsgBox(QStringLiteral("Please select one or more units"), ui::vbExclamation | ui::vbOKOnly, kTitle);
            } else {
                PrepareCharges();
                Advance();
            }
            break;
        case 2:
            if (cboCustomer->BoundText().isEmpty()) {
                ui::MsgBox(QStringLiteral("Please select customer"), ui::vbExclamation | ui::vbOKOnly, kTitle);
                cboCustomer->setFocus();
            } else {
                FillConfirmation();
                Advance();
            }
            break;
        default:
            SaveBooking();
            break;
        }
    } catch (const std::exception &error) {
        logError(QStringLiteral("frmBooking.cmdNext_Click"), error);
        ui::MsgBox(errorText(error), ui::vbExclamation | ui::vbOKOnly, kTitle);
    }
}

void frmBooking::cmdBack_Click()
{
    if (!m_loaded || m_busy)
        return;
    if (m_CurrentStep > 0) {
        --m_CurrentStep;
        ShowStep();
    }
}

bool frmBooking::checkDates()
{
    m_FromDateTime = dateAtHalfHour(dtpFromDate->date(), dtpFromTime->time(), true);
    m_ToDateTime = dateAtHalfHour(dtpToDate->date(), dtpToTime->time(), false);
    if (wallClockNotAfter(m_ToDateTime, m_FromDateTime)) {
        ui::MsgBox(QStringLiteral("Departure date must be after the Arrival date. Please change the Departure date and "
                                  "try again."),
                   ui::vbExclamation | ui::vbOKOnly, kTitle);
        dtpToDate->setFocus();
        return false;
    }
    // An overnight stay arriving at 20:00 or later and leaving before 08:00 is refused.
    if (stayDays(m_FromDateTime, m_ToDateTime) <= 1 && m_FromDateTime.time() >= QTime(20, 0)
        && m_ToDateTime.time() < QTime(8, 0)) {
        ui::MsgBox(QStringLiteral("Booking interval is invalid"), ui::vbExclamation | ui::vbOKOnly, kTitle);
        dtpToDate->setFocus();
        return false;
    }
    return true;
}

void frmBooking::LoadAvailableBerths()
{
    auto available = runAvailabilityQuery(*DbConnection, m_FromDateTime, m_ToDateTime, m_Mode, m_BookingID);
    m_availableBerths->load(*available);

    grdBerth->setColumnHidden(AvailableBerthsModel::ColumnID, true);
    grdBerth->setColumnWidth(AvailableBerthsModel::ColumnName, ui::twipsToPixels(3000));
    for (int column : {AvailableBerthsModel::ColumnLength, AvailableBerthsModel::ColumnWidth,
                       AvailableBerthsModel::ColumnHasPower})
        grdBerth->setColumnWidth(column, ui::twipsToPixels(1000));
    grdBerth->setColumnHidden(AvailableBerthsModel::ColumnDailyHireCharge, true);

    if (m_Mode != 2)
        return;
    const QList<qint64> own = bookingBerthIds(*DbConnection, m_BookingID);
    for (int row = 0; row < m_availableBerths->rowCount(); ++row) {
        if (own.contains(m_availableBerths->berth(row).id))
            SelectRow(row + 1, true);
    }
}

int frmBooking::SelectedCount() const
{
    return m_availableBerths->markedCount();
}

void frmBooking::SelectRow(int Row, bool Selected)
{
    const int row = Row - 1;
    if (row < 0 || row >= m_availableBerths->rowCount())
        return;
    grdBerth->setCurrentIndex(m_availableBerths->index(row, AvailableBerthsModel::ColumnName));
    m_availableBerths->setMarked(row, Selected);
}

void frmBooking::grdBerth_Click(int Row)
{
    if (m_availableBerths->rowCount() == 0)
        return;
    SelectRow(Row, !m_availableBerths->isMarked(Row - 1));
}

// ---- Charges ---------------------------------------------------------------------------

// Each marked berth is charged its own daily rate, found by its ID, so two berths
// that share a name are never charged the same rate by mistake.
void frmBooking::PrepareCharges()
{
    QList<QVariant> dailyCharges;
    for (const AvailableBerth &berth : m_availableBerths->markedBerths())
        dailyCharges.append(berth.dailyHireCharge);
    txtCostOfHire->setText(MoneyFormat(costOfHire(dailyCharges, stayDays(m_FromDateTime, m_ToDateTime))));
    // A new cost makes the VAT and total shown for the old one wrong; they follow it
    // here, so a booking whose other charges were never visited is not stored with
    // none. The user may still type over them.
    updateVatAndTotal();
}

void frmBooking::updateVatAndTotal()
{
    const VatAndTotal charges = vatAndTotal(amountOf(txtCostOfHire->text()), amountOf(txtOtherCharges->text()));
    txtVAT->setText(plainNumberText(charges.vat));
    for (QLineEdit *box : {txtCostOfHire, txtOtherCharges, txtVAT})
        box->setText(asMoneyText(box->text()));
    txtTotalPayable->setText(MoneyFormat(charges.total));
}

void frmBooking::txtOtherCharges_LostFocus()
{
    updateVatAndTotal();
    txtAmountPayed->setFocus(Qt::OtherFocusReason);
}

bool frmBooking::validateNumberBox(QLineEdit *box, const QString &title, bool wholeNumber)
{
    const QString text = box->text();
    if (!m_loaded || text.isEmpty() || (wholeNumber ? isWholeNumberText(text) : isNumberText(text)))
        return true;
    ui::MsgBox(kNumberMessage, ui::vbExclamation | ui::vbOKOnly, title);
    return false;
}

bool frmBooking::txtAmountPayed_Validate()
{
    return validateNumberBox(txtAmountPayed, QStringLiteral("Amount Payed"), false);
}

bool frmBooking::txtBerthConfirmationNumber_Validate()
{
    return validateNumberBox(txtBerthConfirmationNumber, QStringLiteral("Berth Confirmation No."), true);
}

bool frmBooking::txtCostOfHire_Validate()
{
    return validateNumberBox(txtCostOfHire, QStringLiteral("Cost of Hire"), false);
}

bool frmBooking::txtNoAdults_Validate()
{
    return validateNumberBox(txtNoAdults, QStringLiteral("No Adults"), true);
}

bool frmBooking::txtNoKids_Validate()
{
    return validateNumberBox(txtNoKids, QStringLiteral("No Kids"), true);
}

bool frmBooking::txtOtherCharges_Validate()
{
    return validateNumberBox(txtOtherCharges, QStringLiteral("Other Charges"), false);
}

bool frmBooking::txtTotalPayable_Validate()
{
    return validateNumberBox(txtTotalPayable, QStringLiteral("Total Payable"), false);
}

bool frmBooking::txtVAT_Validate()
{
    return validateNumberBox(txtVAT, QStringLiteral("VAT"), false);
}

// ---- Confirmation and save -------------------------------------------------------------

void frmBooking::FillConfirmation()
{
    lblDates->setText(wallClockText(m_FromDateTime) + QStringLiteral(" to ") + wallClockText(m_ToDateTime));

    const QString adults = txtNoAdults->text();
    const QString kids = txtNoKids->text();
    lblNoAdults->setText(adults.isEmpty() ? QStringLiteral("0") : adults);
    lblNoKids->setText(kids.isEmpty() ? QStringLiteral("0") : kids);
    const bool adultsOff = readsMinusOne(adults);
    const bool kidsOff = readsMinusOne(kids);
    lblNoAdults->setVisible(!adultsOff);
    lblNoKids->setVisible(!adultsOff);
    lblAdults->setVisible(!kidsOff);
    lblKids->setVisible(!kidsOff);

    for (QLabel *label : {lblName, lblAddress, lblPhone, lblMail})
        label->clear();
    if (CustomerRs->RecordCount() == 0)
        return;
    CustomerRs->MoveFirst();
    CustomerRs->Find(QStringLiteral("ID = ") + db::sqlNumber(cboCustomer->boundValue().toLongLong()));
    if (CustomerRs->isEOF())
        return;
    const db::Recordset &customer = *CustomerRs;
    lblName->setText(textOf(customer, "Name") + QStringLiteral(", ") + textOf(customer, "HouseName"));
    lblAddress->setText(QStringList{textOf(customer, "Street"), textOf(customer, "Area"), textOf(customer, "Town"),
                                    textOf(customer, "PostCode")}
                            .join(QStringLiteral(", ")));
    lblPhone->setText(textOf(customer, "TelNo"));
    lblMail->setText(textOf(customer, "EmailAddress"));
}

// The save stores every number box as a number; a box that holds none (or an empty
// confirmation number, which has no number to store) sends the user back to it.
bool frmBooking::checkNumbersBeforeSave()
{
    const struct {
        QLineEdit *box;
        const char *title;
        bool whole;
        bool required;
    } boxes[] = {
        {txtNoAdults, "No Adults", true, false},
        {txtNoKids, "No Kids", true, false},
        {txtBerthConfirmationNumber, "Berth Confirmation No.", true, true},
        {txtCostOfHire, "Cost of Hire", false, false},
        {txtOtherCharges, "Other Charges", false, false},
        {txtVAT, "VAT", false, false},
        {txtTotalPayable, "Total Payable", false, false},
        {txtAmountPayed, "Amount Payed", false, false},
    };
    for (const auto &entry : boxes) {
        const QString text = entry.box->text();
        const bool missing = entry.required && text.trimmed().isEmpty();
        const bool valid = entry.whole ? isWholeNumberText(text) : isNumberText(text);
        if (!missing && valid)
            continue;
        ui::MsgBox(kNumberMessage, ui::vbExclamation | ui::vbOKOnly, QString::fromUtf8(entry.title));
        m_CurrentStep = 2;
        ShowStep();
        entry.box->setFocus();
        return false;
    }
    return true;
}

BookingRecord frmBooking::enteredRecord() const
{
    BookingRecord record;
    record.FromDate = m_FromDateTime;
    record.ToDate = m_ToDateTime;
    record.BookedBy = txtBookedBy->text();
    record.CustomerID = cboCustomer->boundValue().toLongLong();
    record.Notes = ui::storedText(txtNotes);
    record.NoAdults = qint64(amountOf(txtNoAdults->text()));
    record.NoKids = qint64(amountOf(txtNoKids->text()));
    record.OtherCharges = amountOf(txtOtherCharges->text());
    record.VAT = amountOf(txtVAT->text());
    record.TotalPayable = amountOf(txtTotalPayable->text());
    record.AmountPayed = amountOf(txtAmountPayed->text());
    const QVariant method = cboPaymentMethod->boundValue();
    if (!isNull(method))
        record.PaymentMethodID = method.toLongLong();
    record.CreditCardNo = txtCreditCardNo->text();
    record.CreditCardExpiry = txtCreditCardExpiry->text();
    record.CreditCardType = txtCreditCardType->text();
    record.CreditCardCV2No = txtCreditCardCV2No->text();
    record.CostOfHire = amountOf(txtCostOfHire->text());
    record.BerthConfirmationNumber = qint64(amountOf(txtBerthConfirmationNumber->text()));
    record.GuestConfirmationNumber = txtGuestConfNum->text();
    record.PowerRequirements = txtPowerRequirements->text();
    record.ClubMember = chkClubMember->isChecked();
    return record;
}

QStringList frmBooking::eventDetails() const
{
    QStringList names;
    for (const AvailableBerth &berth : m_availableBerths->markedBerths())
        names.append(berth.name);
    return {QStringLiteral("From: ") + lblDates->text(), QStringLiteral("Customer:") + lblName->text(),
            QStringLiteral("Berth(s): ") + names.join(QStringLiteral(", "))};
}

// A failed save leaves the form on this step with everything typed, and writes no
// event; the user may try again or go back and change the booking.
void frmBooking::SaveBooking()
{
    if (!checkNumbersBeforeSave())
        return;
    cmdNext->setEnabled(false);
    SaveResult result;
    try {
        result = saveBooking(*DbConnection, m_Mode, m_BookingID, enteredRecord(), m_availableBerths->markedBerths());
    } catch (const std::exception &error) {
        cmdNext->setEnabled(true);
        logError(QStringLiteral("frmBooking.SaveBooking"), error);
        ui::MsgBox(Sprintf(QStringLiteral("The booking could not be saved.%n%s"), errorText(error)),
                   ui::vbExclamation | ui::vbOKOnly, kTitle);
        return;
    }
    cmdNext->setEnabled(true);

    switch (result.outcome) {
    case SaveOutcome::Saved:
        WriteEventLog(ui::Now(), m_Mode == 2 ? evBookingModified : evBookingAdded, eventDetails());
        Unload();
        return;
    case SaveOutcome::BookingGone:
        ui::MsgBox(kBookingGone, ui::vbExclamation | ui::vbOKOnly, kTitle);
        return;
    case SaveOutcome::CustomerGone:
        ui::MsgBox(QStringLiteral("The customer of this booking no longer exists. Please go back and select a customer."),
                   ui::vbExclamation | ui::vbOKOnly, kTitle);
        return;
    case SaveOutcome::BerthsGone:
        ui::MsgBox(Sprintf(QStringLiteral("These berths are no longer free for this period: %s%nPlease go back and "
                                          "select the berths again."),
                           result.unavailableBerths.join(QStringLiteral(", "))),
                   ui::vbExclamation | ui::vbOKOnly, kTitle);
        return;
    }
}

// ---- Leaving ---------------------------------------------------------------------------

QStringList frmBooking::cancelDetails() const
{
    QDateTime from = m_FromDateTime;
    QDateTime to = m_ToDateTime;
    QVariant customerId;
    // The booking being deleted is described as it is stored, whatever was typed since.
    if (BookingRs && !BookingRs->isEOF() && !BookingRs->isBOF()) {
        from = BookingRs->value(QStringLiteral("FromDate")).toDateTime();
        to = BookingRs->value(QStringLiteral("ToDate")).toDateTime();
        customerId = BookingRs->value(QStringLiteral("CustomerID"));
    }
    QString name;
    if (CustomerRs && CustomerRs->RecordCount() > 0 && !isNull(customerId)) {
        CustomerRs->MoveFirst();
        CustomerRs->Find(QStringLiteral("ID = ") + db::sqlNumber(customerId.toLongLong()));
        if (!CustomerRs->isEOF())
            name = textOf(*CustomerRs, "Name") + QStringLiteral(", ") + textOf(*CustomerRs, "HouseName");
    }
    return {QStringLiteral("From: ") + wallClockText(from) + QStringLiteral(" to ") + wallClockText(to),
            QStringLiteral("Customer: ") + name};
}

void frmBooking::cmdCancel_Click()
{
    if (m_busy)
        return;
    BusyScope busy(m_busy);
    try {
        // The form asks under its own title; the lists' cancel question has another.
        if (m_loaded && m_Mode == 2
            && ui::MsgBox(QStringLiteral("Do you want to delete existing reservation?"), ui::vbYesNo, kTitle)
                == ui::vbYes) {
            const QStringList details = cancelDetails();
            // A booking another window cancelled meanwhile was logged there.
            if (deleteBooking(*DbConnection, m_BookingID) > 0)
                WriteEventLog(ui::Now(), evBookingCancelled, details);
            else
                ui::MsgBox(kBookingGone, ui::vbExclamation | ui::vbOKOnly, kTitle);
        }
    } catch (const std::exception &error) {
        logError(QStringLiteral("frmBooking.cmdCancel_Click"), error);
        ui::MsgBox(Sprintf(QStringLiteral("The booking could not be deleted.%n%s"), errorText(error)),
                   ui::vbExclamation | ui::vbOKOnly, kTitle);
        return;
    }
    Unload();
}

void frmBooking::Unload()
{
    m_loaded = false;
    if (auto *subWindow = qobject_cast<QMdiSubWindow *>(parentWidget()))
        subWindow->close();
    else
        close();
    ReleaseRecordsets();
}

void frmBooking::closeEvent(QCloseEvent *event)
{
    // Closing the window saves nothing.
    m_loaded = false;
    ReleaseRecordsets();
    QWidget::closeEvent(event);
}

void frmBooking::cmdAddCustomer_Click()
{
    try {
        if (!m_customerDialog)
            m_customerDialog = new frmAddCustomer(this);
        m_customerDialog->Display(1, 0);
        const qint64 added = m_customerDialog->ID();
        if (added == 0 || !CustomerRs)
            return;
        CustomerRs->Requery();
        CustomerRs->MoveFirst();
        CustomerRs->Find(QStringLiteral("ID = ") + db::sqlNumber(added));
        cboCustomer->setBoundValue(added);
    } catch (const std::exception &error) {
        logError(QStringLiteral("frmBooking.cmdAddCustomer_Click"), error);
        ui::MsgBox(errorText(error), ui::vbExclamation | ui::vbOKOnly, kTitle);
    }
}

void frmBooking::Label38_Click()
{
    try {
        ui::WaitCursor hourglass;
        // Whether a mail program opened is the desktop's affair, not the booking's.
        ui::ShellOpen(QStringLiteral("mailto:") + lblMail->text());
    } catch (const std::exception &error) {
        logError(QStringLiteral("frmBooking.Label38_Click"), error);
    }
}

} // namespace quorl
