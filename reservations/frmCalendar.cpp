#include "reservations/frmCalendar.h"

#include <QCalendarWidget>
#include <QFont>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/MDIMain.h"
#include "core/modDatabase.h"
#include "core/modEventLog.h"
#include "core/modFunctions.h"
#include "core/modMessageLog.h"
#include "masterdata/ContactForms.h"
#include "platform/db/Error.h"
#include "platform/db/Recordset.h"
#include "platform/db/SqlText.h"
#include "platform/ui/Clock.h"
#include "platform/ui/DataGrid.h"
#include "platform/ui/MdiChildren.h"
#include "platform/ui/MsgBox.h"
#include "platform/ui/Twips.h"
#include "reservations/CalendarQueries.h"
#include "reservations/frmBooking.h"
#include "reservations/frmBookingSummary.h"

namespace quorl {
namespace {

const QString kTitle = QStringLiteral("Simple Calendar");

QString routine(const char *handler)
{
    return QStringLiteral("frmCalendar.") + QLatin1String(handler);
}

MDIMain &mainWindow()
{
    MDIMain *main = MDIMain::current();
    if (!main)
        throw db::Error(QStringLiteral("The main window is not open."));
    return *main;
}

bool bookingExists(qint64 id)
{
    if (!DbConnection)
        throw db::Error(QStringLiteral("No database connection is open."));
    const auto count =
        DbConnection->ExecuteQuery(QStringLiteral("SELECT COUNT(ID) AS c FROM Booking WHERE ID = ") + db::sqlNumber(id));
    return count->value(QStringLiteral("c")).toLongLong() > 0;
}

std::unique_ptr<db::Recordset> openedOrThrow(const char *sql)
{
    auto rows = OpenRecordset(QString::fromLatin1(sql), nullptr, true, db::adCmdText);
    if (!rows->isOpen())
        throw db::Error(rows->lastError());
    return rows;
}

} // namespace

frmCalendar::frmCalendar(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("frmCalendar"));
    buildControls();
    BuildDayRecordset();
    grdBooking->setDataSource(m_rsDayList.get());
}

frmCalendar::~frmCalendar()
{
    // The grid follows the day list; unbind it before the list goes.
    grdBooking->setDataSource(nullptr);
}

void frmCalendar::buildControls()
{
    lblCaption = new QLabel(kTitle, this);
    lblCaption->setObjectName(QStringLiteral("lblCaption"));
    lblCaption->setAlignment(Qt::AlignCenter);
    QFont titleFont(QStringLiteral("Arial"));
    titleFont.setPointSizeF(9.75);
    titleFont.setBold(true);
    lblCaption->setFont(titleFont);

    fraMain = new QFrame(this);
    fraMain->setObjectName(QStringLiteral("fraMain"));
    fraMain->setFrameShape(QFrame::Box);
    fraMain->setFrameShadow(QFrame::Sunken);

    mwDate = new QCalendarWidget(fraMain);
    mwDate->setObjectName(QStringLiteral("mwDate"));
    mwDate->setAccessibleName(QStringLiteral("Day"));
    mwDate->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    // Wide enough for the day names, whatever the font.
    mwDate->setFixedSize(mwDate->sizeHint().expandedTo(QSize(ui::twipsToPixels(2595), ui::twipsToPixels(2520))));

    grdBooking = new ui::DataGrid(fraMain);
    grdBooking->setObjectName(QStringLiteral("grdBooking"));
    grdBooking->setAccessibleName(QStringLiteral("Bookings of the day"));
    grdBooking->setColumns({
        {QStringLiteral("CName"), QStringLiteral("Name")},
        {QStringLiteral("Berths"), QStringLiteral("Berth(s)")},
        {QStringLiteral("Arrival"), QStringLiteral("Arrival"), {}, Qt::AlignHCenter},
        {QStringLiteral("Departure"), QStringLiteral("Departure"), {}, Qt::AlignHCenter},
    });
    grdBooking->setMinimumSize(ui::twipsToPixels(3570), ui::twipsToPixels(2370));

    auto button = [this](const char *name, const char *caption, int widthTwips) {
        auto *push = new QPushButton(QString::fromUtf8(caption), fraMain);
        push->setObjectName(QString::fromLatin1(name));
        push->setMinimumSize(ui::twipsToPixels(widthTwips), ui::twipsToPixels(375));
        push->setAutoDefault(false);
        return push;
    };
    cmdAdd = button("cmdAdd", "Add Reservation", 1455);
    cmdEdit = button("cmdEdit", "Edit Reservation", 1455);
    cmdSummary = button("cmdSummary", "Show Summary", 1455);
    cmdCancel = button("cmdCancel", "Cancel Reservation", 1695);

    auto *frameLayout = new QGridLayout(fraMain);
    frameLayout->setContentsMargins(8, 16, 8, 8);
    frameLayout->addWidget(mwDate, 0, 0, Qt::AlignTop | Qt::AlignLeft);
    frameLayout->addWidget(grdBooking, 0, 1);
    frameLayout->setColumnStretch(1, 1);
    frameLayout->setRowStretch(0, 1);
    auto *buttons = new QHBoxLayout;
    for (QPushButton *push : {cmdAdd, cmdEdit, cmdSummary})
        buttons->addWidget(push);
    buttons->addStretch(1);
    buttons->addWidget(cmdCancel);
    frameLayout->addLayout(buttons, 1, 0, 1, 2);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 4, 8, 8);
    layout->addWidget(lblCaption);
    layout->addWidget(fraMain, 1);
    // Below the design size the controls keep their places.
    setMinimumSize(ui::twipsToPixels(6990 - 340), ui::twipsToPixels(3890 - 540));

    connect(mwDate, &QCalendarWidget::selectionChanged, this, &frmCalendar::mwDate_DateClick);
    connect(cmdAdd, &QPushButton::clicked, this, &frmCalendar::cmdAdd_Click);
    connect(cmdEdit, &QPushButton::clicked, this, &frmCalendar::cmdEdit_Click);
    connect(cmdSummary, &QPushButton::clicked, this, &frmCalendar::cmdSummary_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmCalendar::cmdCancel_Click);
}

QDate frmCalendar::shownDay() const
{
    return mwDate->selectedDate();
}

void frmCalendar::setShownDay(const QDate &day)
{
    mwDate->setSelectedDate(day);
}

void frmCalendar::Display()
{
    {
        // The day is shown once the bookings are read, not as the view changes.
        const QSignalBlocker quiet(mwDate);
        mwDate->setSelectedDate(ui::Date());
    }
    // Opened afresh by the refresh below.
    m_rsBookings.reset();
    m_rsBerthNames.reset();
    m_refreshFailed = false;
    RefreshBookings();
    hookActivation();
    if (auto *subWindow = qobject_cast<QMdiSubWindow *>(parentWidget())) {
        subWindow->show();
        if (QMdiArea *area = subWindow->mdiArea())
            area->setActiveSubWindow(subWindow);
        subWindow->raise();
    } else {
        show();
        raise();
    }
    Form_Activate();
}

void frmCalendar::hookActivation()
{
    ui::hookFormActivate(this, [this] { Form_Activate(); });
}

void frmCalendar::openBookings()
{
    auto bookings = openedOrThrow(kCalendarBookingsSql);
    auto berthNames = openedOrThrow(kCalendarBerthNamesSql);
    m_rsBookings = std::move(bookings);
    m_rsBerthNames = std::move(berthNames);
}

void frmCalendar::Form_Activate()
{
    QWidget *frame = qobject_cast<QMdiSubWindow *>(parentWidget());
    if (!frame)
        frame = this;
    if (!frame->isMaximized())
        frame->showMaximized();
    RefreshBookings();
}

void frmCalendar::RefreshBookings()
{
    if (m_refreshing)
        return;
    m_refreshing = true;
    try {
        if (!m_rsBookings || !m_rsBerthNames) {
            openBookings();
        } else {
            m_rsBerthNames->Requery();
            m_rsBookings->Requery();
        }
        ShowDay();
        m_refreshFailed = false;
    } catch (const std::exception &error) {
        logError(routine("RefreshBookings"), error);
        // Told once: the message box closing activates the window again, and a refresh
        // that keeps failing would otherwise ask the user for ever.
        if (!m_refreshFailed) {
            m_refreshFailed = true;
            ui::MsgBox(userErrorText(error), ui::vbExclamation, kTitle);
        }
    }
    m_refreshing = false;
}

void frmCalendar::mwDate_DateClick()
{
    guardHandler(routine("mwDate_DateClick"), kTitle, [this] { ShowDay(); });
}

void frmCalendar::BuildDayRecordset()
{
    auto list = std::make_unique<db::Recordset>();
    list->appendField(QStringLiteral("ID"), db::FieldType::Long);
    list->appendField(QStringLiteral("CID"), db::FieldType::Long);
    list->appendField(QStringLiteral("CName"), db::FieldType::Text);
    list->appendField(QStringLiteral("Berths"), db::FieldType::Text);
    list->appendField(QStringLiteral("Arrival"), db::FieldType::Text);
    list->appendField(QStringLiteral("Departure"), db::FieldType::Text);
    list->Open();
    grdBooking->setDataSource(list.get());
    m_rsDayList = std::move(list);
}

void frmCalendar::ShowDay()
{
    if (!m_rsBookings || !m_rsBerthNames)
        return;
    const QList<DayBooking> bookings = dayBookings(*m_rsBookings, *m_rsBerthNames, shownDay());
    // The grid is hidden while its list is made anew, so it never shows half a day.
    grdBooking->setVisible(false);
    BuildDayRecordset();
    db::Recordset &list = *m_rsDayList;
    m_dayHasBookings = !bookings.isEmpty();
    if (!m_dayHasBookings) {
        list.AddNew();
        list.setValue(QStringLiteral("CName"), QString::fromLatin1(kNoReservationsText));
        list.Update();
    }
    for (const DayBooking &booking : bookings) {
        list.AddNew();
        list.setValue(QStringLiteral("ID"), booking.id);
        list.setValue(QStringLiteral("CID"), booking.customerId);
        list.setValue(QStringLiteral("CName"), booking.name);
        list.setValue(QStringLiteral("Berths"), booking.berths);
        list.setValue(QStringLiteral("Arrival"), booking.arrival);
        list.setValue(QStringLiteral("Departure"), booking.departure);
        list.Update();
    }
    list.MoveFirst();
    const int widths[] = {2500, 3000, 1000, 1000};
    for (int column = 0; column < 4; ++column)
        grdBooking->setColumnWidthTwips(column, widths[column]);
    // The empty day's message is read in full.
    if (!m_dayHasBookings)
        grdBooking->resizeColumnToContents(0);
    grdBooking->setVisible(true);
}

qint64 frmCalendar::selectedBookingId() const
{
    if (!m_dayHasBookings || !m_rsDayList || m_rsDayList->isEOF() || m_rsDayList->isBOF())
        return 0;
    return m_rsDayList->value(QStringLiteral("ID")).toLongLong();
}

void frmCalendar::cmdAdd_Click()
{
    guardHandler(routine("cmdAdd_Click"), kTitle, [] { mainWindow().sharedChild<frmBooking>()->Display(1, 0); });
}

void frmCalendar::cmdEdit_Click()
{
    guardHandler(routine("cmdEdit_Click"), kTitle, [this] {
        if (const qint64 id = selectedBookingId())
            mainWindow().sharedChild<frmBooking>()->Display(2, id);
    });
}

void frmCalendar::cmdSummary_Click()
{
    bool shown = false;
    guardHandler(routine("cmdSummary_Click"), kTitle, [this, &shown] {
        if (const qint64 id = selectedBookingId()) {
            shown = true;
            frmBookingSummary::shared(&mainWindow())->Display(id);
        }
    });
    if (shown)
        RefreshBookings();
}

QString frmCalendar::cancelDetails(qint64 bookingId)
{
    db::Recordset &bookings = *m_rsBookings;
    bookings.MoveFirst();
    bookings.Find(QStringLiteral("ID = ") + db::sqlNumber(bookingId));
    if (bookings.isEOF())
        return QString();
    return cancelledBookingDetails(bookings.value(QStringLiteral("FromDate")), bookings.value(QStringLiteral("ToDate")),
                                   bookings.value(QStringLiteral("Name")),
                                   bookings.value(QStringLiteral("HouseName")));
}

void frmCalendar::cmdCancel_Click()
{
    bool asked = false;
    guardHandler(routine("cmdCancel_Click"), kTitle, [this, &asked] {
        const qint64 id = selectedBookingId();
        if (!id)
            return;
        asked = true;
        // Taken from the rows held, before the booking is gone.
        const QString details = cancelDetails(id);
        if (!bookingExists(id)) {
            // Cancelled in another window since the day was read: that window wrote the event.
            ui::MsgBox(QStringLiteral("This booking no longer exists. It may have been cancelled in another window."),
                       ui::vbExclamation, kTitle);
            return;
        }
        if (ConfirmCancelBooking(id))
            WriteEventLog(ui::Now(), evBookingCancelled, details);
    });
    // Refreshed whatever the answer.
    if (asked)
        RefreshBookings();
}

} // namespace quorl
