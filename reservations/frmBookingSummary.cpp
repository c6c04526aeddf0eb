#include "reservations/frmBookingSummary.h"

#include <exception>

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/MDIMain.h"
#include "core/modEventLog.h"
#include "core/modFunctions.h"
#include "core/modMessageLog.h"
#include "masterdata/DataSource.h"
#include "platform/db/Connection.h"
#include "platform/ui/Clock.h"
#include "platform/ui/Shell.h"
#include "platform/ui/WaitCursor.h"
#include "reports/CommandLayouts.h"
#include "reservations/BookingSummary.h"
#include "reservations/frmBooking.h"

namespace quorl {
namespace {

constexpr const char *kScratchConnection = "PROVIDER=Microsoft.Jet.OLEDB.4.0;Data Source=C:\\Quorlc\\Data\\db.mdb;";

QLabel *label(QWidget *parent, const char *name, const QString &text)
{
    auto *created = new QLabel(text, parent);
    created->setObjectName(QString::fromLatin1(name));
    // Names, addresses and notes are shown as they were typed, never as markup.
    created->setTextFormat(Qt::PlainText);
    return created;
}

QLineEdit *amountBox(QWidget *parent, const char *name)
{
    auto *box = new QLineEdit(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setReadOnly(true);
    box->setAlignment(Qt::AlignRight);
    box->setMinimumWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("£000000.00")) + 12);
    return box;
}

QPlainTextEdit *notesBox(QWidget *parent, const char *name)
{
    auto *box = new QPlainTextEdit(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setReadOnly(true);
    return box;
}

QPushButton *button(QWidget *parent, const char *name, const QString &caption)
{
    auto *created = new QPushButton(caption, parent);
    created->setObjectName(QString::fromLatin1(name));
    created->setAutoDefault(false);
    return created;
}

template <class Body>
void guarded(const char *handler, Body body)
{
    try {
        body();
    } catch (const std::exception &error) {
        logError(QStringLiteral("frmBookingSummary.") + QLatin1String(handler), error);
    }
}

} // namespace

frmBookingSummary::frmBookingSummary(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmBookingSummary"));
    setWindowTitle(QStringLiteral("Reservation summary"));
    setWindowModality(Qt::ApplicationModal);

    Label27 = label(this, "Label27", QStringLiteral("Booking from"));
    lblDates = label(this, "lblDates", QStringLiteral("DATES"));
    lblName = label(this, "lblName", QStringLiteral("NAMES"));
    lblAddress = label(this, "lblAddress", QStringLiteral("ADDRESSES"));
    Label35 = label(this, "Label35", QStringLiteral("Ph:"));
    lblPhone = label(this, "lblPhone", QStringLiteral("PHONE"));
    Label38 = label(this, "Label38", QStringLiteral("Email"));
    QFont link = Label38->font();
    link.setUnderline(true);
    Label38->setFont(link);
    Label38->setCursor(Qt::PointingHandCursor);
    Label38->installEventFilter(this);
    lblMail = label(this, "lblMail", QStringLiteral("MAIL"));
    lblNoAdults = label(this, "lblNoAdults", QString());
    lblAdults = label(this, "lblAdults", QStringLiteral("Adults and"));
    lblNoKids = label(this, "lblNoKids", QString());
    lblKids = label(this, "lblKids", QStringLiteral("Children"));
    txtNotes = notesBox(this, "txtNotes");
    Label1 = label(this, "Label1", QStringLiteral("Reservation notes:"));
    Label1->setBuddy(txtNotes);
    txtCnotes = notesBox(this, "txtCnotes");
    Label8 = label(this, "Label8", QStringLiteral("Customer Notes"));
    Label8->setBuddy(txtCnotes);
    Text1 = amountBox(this, "Text1");
    Text2 = amountBox(this, "Text2");
    Text3 = amountBox(this, "Text3");
    Text4 = amountBox(this, "Text4");
    Text5 = amountBox(this, "Text5");
    Label7 = label(this, "Label7", QStringLiteral("To amend financial details press the Edit Booking Button"));
    Label7->setWordWrap(true);
    Command1 = button(this, "Command1", QStringLiteral("&Edit booking"));
    Command2 = button(this, "Command2", QStringLiteral("&Cancel booking"));
    Command3 = button(this, "Command3", QStringLiteral("Close"));
    Command4 = button(this, "Command4", QStringLiteral("&Print Receipt"));
    Command5 = button(this, "Command5", QStringLiteral("&Booking Form"));

    auto *who = new QGridLayout;
    who->addWidget(Label27, 0, 0);
    who->addWidget(lblDates, 0, 1, 1, 3);
    who->addWidget(lblName, 1, 1, 1, 3);
    who->addWidget(lblAddress, 2, 1, 1, 3);
    who->addWidget(Label35, 3, 0);
    auto *contact = new QHBoxLayout;
    contact->addWidget(lblPhone);
    contact->addSpacing(7);   // the address starts 100 twips right of the telephone number
    contact->addWidget(Label38);
    contact->addWidget(lblMail);
    contact->addStretch(1);
    who->addLayout(contact, 3, 1, 1, 3);
    auto *counts = new QHBoxLayout;
    for (QLabel *part : {lblNoAdults, lblAdults, lblNoKids, lblKids})
        counts->addWidget(part);
    counts->addStretch(1);
    who->addLayout(counts, 4, 1, 1, 3);
    who->setColumnStretch(1, 1);

    auto *charges = new QGridLayout;
    const struct {
        const char *name;
        const char *caption;
        QLineEdit *box;
    } amounts[] = {{"Label2", "Berth  Charges", Text1}, {"Label3", "Other Charges", Text2}, {"Label4", "VAT", Text3},
                   {"Label5", "Total Payable", Text4},  {"Label6", "Amount Payed", Text5}};
    int row = 0;
    for (const auto &amount : amounts) {
        QLabel *caption = label(this, amount.name, QString::fromLatin1(amount.caption));
        caption->setBuddy(amount.box);
        charges->addWidget(caption, row, 0);
        charges->addWidget(amount.box, row++, 1);
    }
    charges->addWidget(Label7, row, 0, 1, 2);

    auto *notes = new QVBoxLayout;
    notes->addWidget(Label1);
    notes->addWidget(txtNotes);
    notes->addWidget(Label8);
    notes->addWidget(txtCnotes);

    auto *middle = new QHBoxLayout;
    middle->addLayout(notes, 2);
    middle->addLayout(charges, 1);

    auto *buttons = new QHBoxLayout;
    for (QPushButton *each : {Command1, Command2, Command4, Command5})
        buttons->addWidget(each);
    buttons->addStretch(1);
    buttons->addWidget(Command3);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(who);
    layout->addLayout(middle, 1);
    layout->addLayout(buttons);

    connect(Command1, &QPushButton::clicked, this, &frmBookingSummary::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &frmBookingSummary::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &frmBookingSummary::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &frmBookingSummary::Command4_Click);
    connect(Command5, &QPushButton::clicked, this, &frmBookingSummary::Command5_Click);
}

frmBookingSummary::~frmBookingSummary() = default;

db::Connection &frmBookingSummary::scratchConnection()
{
    if (!m_scratch) {
        auto connection = std::make_unique<db::Connection>();
        connection->Open(connectionToDatabaseInUse(QString::fromLatin1(kScratchConnection)));
        m_scratch = std::move(connection);
    }
    return *m_scratch;
}

frmBookingSummary *frmBookingSummary::shared(QWidget *owner)
{
    if (owner) {
        if (auto *existing = owner->findChild<frmBookingSummary *>(QString(), Qt::FindDirectChildrenOnly))
            return existing;
    }
    return new frmBookingSummary(owner);
}

bool frmBookingSummary::load(qint64 BookingID)
{
    m_BookingID = BookingID;
    m_editAsked = false;
    bool found = false;
    guarded("Display", [&] {
        const std::optional<BookingSummary> summary = prepareBookingSummary(BookingID, scratchConnection());
        if (!summary)
            return;
        lblDates->setText(summary->dates);
        Text1->setText(summary->costOfHire);
        Text2->setText(summary->otherCharges);
        Text3->setText(summary->vat);
        Text4->setText(summary->totalPayable);
        Text5->setText(summary->amountPayed);
        lblNoAdults->setText(summary->adults);
        lblNoKids->setText(summary->kids);
        lblNoAdults->setVisible(summary->showAdults);
        lblNoKids->setVisible(summary->showAdults);
        lblAdults->setVisible(summary->showKids);
        lblKids->setVisible(summary->showKids);
        txtNotes->setPlainText(summary->notes);
        lblName->setText(summary->name);
        lblAddress->setText(summary->address);
        lblPhone->setText(summary->phone);
        lblMail->setText(summary->mail);
        txtCnotes->setPlainText(summary->customerNotes);
        found = true;
    });
    // A new booking may be edited, printed and cancelled again; whatever an earlier
    // booking left on view must not be taken for one that was not found.
    for (QPushButton *each : {Command1, Command2, Command4, Command5})
        each->setEnabled(found);
    return found;
}

void frmBookingSummary::Display(qint64 BookingID)
{
    const bool found = load(BookingID);
    if (m_inDisplay) {
        // Already on view: it simply shows the other booking until it closes.
        if (!found)
            close();
        return;
    }
    if (!found) {
        hide();
        return;
    }
    m_inDisplay = true;
    exec();
    m_inDisplay = false;
    openBookingFormIfAsked();
}

void frmBookingSummary::openBookingFormIfAsked()
{
    if (!m_editAsked)
        return;
    m_editAsked = false;
    guarded("Command1_Click", [&] {
        if (MDIMain *main = MDIMain::current())
            main->sharedChild<frmBooking>()->Display(2, m_BookingID);
    });
}

void frmBookingSummary::Command1_Click()
{
    // The booking form is a window of the main window: it opens once the summary has closed.
    m_editAsked = true;
    close();
    if (!m_inDisplay)
        openBookingFormIfAsked();
}

void frmBookingSummary::Command2_Click()
{
    guarded("Command2_Click", [&] {
        if (!ConfirmCancelBooking(m_BookingID))
            return;
        WriteEventLog(ui::Now(), evBookingCancelled,
                      QStringLiteral("From: ") + lblDates->text() + QStringLiteral(", Customer:") + lblName->text());
        // The booking is gone: nothing of it is left to edit, print or cancel.
        for (QPushButton *each : {Command1, Command2, Command4, Command5})
            each->setEnabled(false);
    });
}

void frmBookingSummary::Command3_Click()
{
    close();
}

void frmBookingSummary::Command4_Click()
{
    guarded("Command4_Click", [] { reports::PrintInvoice(); });
}

void frmBookingSummary::Command5_Click()
{
    guarded("Command5_Click", [] { reports::PrintBookingForm(); });
}

void frmBookingSummary::Label38_Click()
{
    guarded("Label38_Click", [&] {
        ui::WaitCursor hourglass;
        // Whether a mail program opened is the desktop's affair.
        ui::ShellOpen(mailtoUrl(lblMail->text()));
    });
}

bool frmBookingSummary::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Label38 && event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        Label38_Click();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace quorl
