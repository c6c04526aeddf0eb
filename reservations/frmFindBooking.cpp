#include "reservations/frmFindBooking.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include "core/MDIMain.h"
#include "core/modDatabase.h"
#include "core/modFunctions.h"
#include "core/modMessageLog.h"
#include "masterdata/ContactForms.h"
#include "platform/db/Error.h"
#include "platform/db/Recordset.h"
#include "platform/ui/CheckedDatePicker.h"
#include "platform/ui/Clock.h"
#include "platform/ui/DataGrid.h"
#include "platform/ui/Twips.h"
#include "reservations/CalendarQueries.h"
#include "reservations/frmBooking.h"

namespace quorl {
namespace {

const QString kTitle = QStringLiteral("Find Booking");
constexpr int kWidthTwips = 8900;
constexpr int kSmallHeightTwips = 1800;
constexpr int kHeightTwips = 4440;

QString routine(const char *handler)
{
    return QStringLiteral("frmFindBooking.") + QLatin1String(handler);
}

} // namespace

frmFindBooking::frmFindBooking(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmFindBooking"));
    setWindowTitle(kTitle);
    buildControls();
    Form_Load();
}

frmFindBooking::~frmFindBooking()
{
    grdBooking->setDataSource(nullptr);
}

void frmFindBooking::buildControls()
{
    auto picker = [this](const char *name, const QString &caption, QLabel *&label, const char *labelName) {
        auto *date = new ui::CheckedDatePicker(this);
        date->setObjectName(QString::fromLatin1(name));
        date->setPartNames(caption);
        label = new QLabel(caption, this);
        label->setObjectName(QString::fromLatin1(labelName));
        label->setBuddy(date);
        return date;
    };
    dtpArriving = picker("dtpArriving", QStringLiteral("Arriving on:"), Label3, "Label3");
    dtpDeparting = picker("dtpDeparting", QStringLiteral("Departing on:"), Label4, "Label4");

    auto button = [this](const char *name, const QString &caption) {
        auto *push = new QPushButton(caption, this);
        push->setObjectName(QString::fromLatin1(name));
        // Enter moves the focus; it never presses a button by default.
        push->setAutoDefault(false);
        push->setMinimumWidth(ui::twipsToPixels(1800));
        return push;
    };
    cmdStart = button("cmdStart", QStringLiteral("&Start Search"));
    cmdEditBooking = button("cmdEditBooking", QStringLiteral("View/Edit Booking"));
    cmdColse = button("cmdColse", QStringLiteral("&Close"));

    lblMatches = new QLabel(QStringLiteral("Total matches:"), this);
    lblMatches->setObjectName(QStringLiteral("lblMatches"));
    lblTotalMatches = new QLabel(this);
    lblTotalMatches->setObjectName(QStringLiteral("lblTotalMatches"));
    lblTotalMatches->setTextFormat(Qt::PlainText);
    lblMatches->setBuddy(lblTotalMatches);

    grdBooking = new ui::DataGrid(this);
    grdBooking->setObjectName(QStringLiteral("grdBooking"));
    grdBooking->setAccessibleName(QStringLiteral("Bookings"));

    auto *layout = new QGridLayout(this);
    layout->addWidget(Label3, 0, 0);
    layout->addWidget(dtpArriving, 0, 1);
    layout->addWidget(Label4, 0, 2);
    layout->addWidget(dtpDeparting, 0, 3);
    layout->addWidget(cmdStart, 0, 5);
    layout->addWidget(grdBooking, 1, 0, 3, 5);
    layout->addWidget(cmdEditBooking, 1, 5, Qt::AlignTop);
    layout->addWidget(cmdColse, 2, 5, Qt::AlignTop);
    auto *matches = new QHBoxLayout;
    matches->addWidget(lblMatches);
    matches->addWidget(lblTotalMatches);
    matches->addStretch(1);
    layout->addLayout(matches, 4, 0, 1, 5);
    layout->setColumnStretch(4, 1);
    layout->setRowStretch(3, 1);

    setTabOrder(dtpArriving->tickBox(), dtpArriving->dateEdit());
    setTabOrder(dtpArriving->dateEdit(), dtpDeparting->tickBox());
    setTabOrder(dtpDeparting->tickBox(), dtpDeparting->dateEdit());
    setTabOrder(dtpDeparting->dateEdit(), cmdStart);
    setTabOrder(cmdStart, grdBooking);
    setTabOrder(grdBooking, cmdEditBooking);
    setTabOrder(cmdEditBooking, cmdColse);

    connect(cmdStart, &QPushButton::clicked, this, &frmFindBooking::cmdStart_Click);
    connect(cmdEditBooking, &QPushButton::clicked, this, &frmFindBooking::cmdEditBooking_Click);
    connect(cmdColse, &QPushButton::clicked, this, &frmFindBooking::cmdColse_Click);
    // The form sees the Enter key before its controls do.
    for (QWidget *child : findChildren<QWidget *>())
        child->installEventFilter(this);
}

void frmFindBooking::Form_Load()
{
    const QDate today = ui::Date();
    dtpArriving->setDate(today);
    dtpDeparting->setDate(today);
    guardHandler(routine("Form_Load"), kTitle, [this] {
        auto rows = OpenRecordset(QString::fromLatin1(kFindBookingSql), nullptr, true, db::adCmdText);
        grdBooking->setDataSource(rows.get());
        m_bookings = std::move(rows);
        if (!m_bookings->isOpen())
            throw db::Error(m_bookings->lastError());
    });
    m_small = true;
    applySize();
}

void frmFindBooking::applySize()
{
    // While small only the dates and the search button show.
    for (QWidget *part : {static_cast<QWidget *>(grdBooking), static_cast<QWidget *>(cmdEditBooking),
                          static_cast<QWidget *>(cmdColse), static_cast<QWidget *>(lblMatches),
                          static_cast<QWidget *>(lblTotalMatches)})
        part->setVisible(!m_small);
    const int width = ui::twipsToPixels(kWidthTwips);
    if (m_small) {
        setFixedSize(width, ui::twipsToPixels(kSmallHeightTwips));
        return;
    }
    setMinimumSize(width, ui::twipsToPixels(kHeightTwips));
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    resize(qMax(this->width(), width), qMax(height(), ui::twipsToPixels(kHeightTwips)));
}

void frmFindBooking::cmdStart_Click()
{
    guardHandler(routine("cmdStart_Click"), kTitle, [this] {
        if (!m_bookings || !m_bookings->isOpen())
            return;
        m_bookings->setFilter(QString());
        const QString filter = bookingSearchFilter(dtpArriving->value(), dtpDeparting->value());
        if (!filter.isEmpty())
            m_bookings->setFilter(filter);
        // With neither date ticked the whole list shows, and the count says so.
        lblTotalMatches->setText(QString::number(m_bookings->RecordCount()));
        grdBooking->resizeColumnsToContents();
        if (!filter.isEmpty() && m_small) {
            m_small = false;
            applySize();
        }
    });
}

void frmFindBooking::cmdEditBooking_Click()
{
    guardHandler(routine("cmdEditBooking_Click"), kTitle, [this] {
        qint64 id = 0;
        if (m_bookings && m_bookings->isOpen() && !m_bookings->isEOF() && !m_bookings->isBOF())
            id = m_bookings->value(QStringLiteral("ID")).toLongLong();
        accept();
        if (!id)
            return;
        MDIMain *main = MDIMain::current();
        if (!main)
            throw db::Error(QStringLiteral("The main window is not open."));
        main->sharedChild<frmBooking>()->Display(2, id);
    });
}

void frmFindBooking::cmdColse_Click()
{
    reject();
}

bool frmFindBooking::eventFilter(QObject *watched, QEvent *event)
{
    if (isEnterKey(event))
        return takeEnterKey(routine("Form_KeyDown"), [this] { FocusNextControl(this); });
    return QDialog::eventFilter(watched, event);
}

} // namespace quorl
