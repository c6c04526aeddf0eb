#include "reservations/frmCalendarPlus.h"

#include <exception>

#include <QDateEdit>
#include <QEvent>
#include <QFont>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPainter>
#include <QPixmap>
#include <QPolygon>
#include <QRadioButton>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

#include "core/MDIMain.h"
#include "core/modDatabase.h"
#include "core/modFunctions.h"
#include "core/modMessageLog.h"
#include "platform/db/Recordset.h"
#include "platform/ui/Clock.h"
#include "platform/ui/MdiChildren.h"
#include "platform/ui/Twips.h"
#include "reservations/frmBookingSummary.h"

namespace quorl {

namespace {

// The icon of the scroll buttons: a triangle pointing up or down.
QIcon triangleIcon(bool up)
{
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x1f, 0x4e, 0x79));
    const QPolygon triangle = up ? QPolygon({QPoint(16, 5), QPoint(29, 27), QPoint(3, 27)})
                                 : QPolygon({QPoint(3, 5), QPoint(29, 5), QPoint(16, 27)});
    painter.drawPolygon(triangle);
    return QIcon(pixmap);
}

// Runs a handler so that no error leaves it: it goes to the message log.
template <class Handler>
void guarded(const char *where, Handler handler)
{
    try {
        handler();
    } catch (const std::exception &error) {
        logError(QStringLiteral("frmCalendarPlus.") + QLatin1String(where), error);
    }
}

} // namespace

frmCalendarPlus::frmCalendarPlus(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("frmCalendarPlus"));
    m_HeaderFormat = slotHeaderFormat(m_ViewMode);
    buildControls();
}

frmCalendarPlus::~frmCalendarPlus() = default;

void frmCalendarPlus::buildControls()
{
    auto *outer = new QVBoxLayout(this);
    lblCaption = new QLabel(tr("Advanced Calendar"), this);
    lblCaption->setObjectName(QStringLiteral("lblCaption"));
    QFont captionFont = lblCaption->font();
    captionFont.setPointSizeF(captionFont.pointSizeF() * 1.6);
    captionFont.setBold(true);
    lblCaption->setFont(captionFont);
    outer->addWidget(lblCaption);

    fraGrid = new QFrame(this);
    fraGrid->setObjectName(QStringLiteral("fraGrid"));
    fraGrid->setFrameShape(QFrame::StyledPanel);
    outer->addWidget(fraGrid, 1);
    auto *grid = new QGridLayout(fraGrid);

    const int buttonSide = ui::twipsToPixels(495);
    auto scrollButton = [&](const char *name, bool up, const QString &accessibleName) {
        auto *button = new QToolButton(fraGrid);
        button->setObjectName(QLatin1String(name));
        button->setIcon(triangleIcon(up));
        button->setIconSize(QSize(32, 32));
        button->setFixedSize(buttonSide, buttonSide);
        button->setAccessibleName(accessibleName);
        return button;
    };
    Command1 = scrollButton("Command1", true, tr("Earlier"));
    Command2 = scrollButton("Command2", false, tr("Later"));

    Label5 = new QLabel(tr("Double click on booking to view details and financial information"), fraGrid);
    Label5->setObjectName(QStringLiteral("Label5"));
    QPalette blue = Label5->palette();
    blue.setColor(QPalette::WindowText, vbColor(0x00C00000));
    Label5->setPalette(blue);
    Label1 = new QLabel(tr("Berth "), fraGrid);
    Label1->setObjectName(QStringLiteral("Label1"));

    auto *top = new QHBoxLayout;
    top->addWidget(Command1);
    top->addWidget(Label5);
    top->addStretch(1);
    top->addWidget(Label1);
    grid->addLayout(top, 0, 0);

    m_model = new PlanningChartModel(this);
    grdBooking = new QTableView(fraGrid);
    grdBooking->setObjectName(QStringLiteral("grdBooking"));
    grdBooking->setModel(m_model);
    grdBooking->setItemDelegate(new ChartCellDelegate(grdBooking));
    grdBooking->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdBooking->setSelectionMode(QAbstractItemView::SingleSelection);
    grdBooking->setSelectionBehavior(QAbstractItemView::SelectItems);
    grdBooking->setWordWrap(false);
    grdBooking->setCornerButtonEnabled(false);
    // The rows move slot by slot through the two buttons; the last row may show in part.
    grdBooking->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grdBooking->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grdBooking->verticalHeader()->setDefaultSectionSize(ui::twipsToPixels(kSlotRowTwips));
    grdBooking->verticalHeader()->setDefaultAlignment(Qt::AlignCenter);
    grdBooking->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grdBooking->horizontalHeader()->setDefaultSectionSize(ui::twipsToPixels(kBerthColumnTwips));
    grdBooking->horizontalHeader()->setFixedHeight(ui::twipsToPixels(kSlotRowTwips));
    grdBooking->setMinimumHeight(ui::twipsToPixels(kSlotRowTwips) * 2);
    grdBooking->installEventFilter(this);
    grid->addWidget(grdBooking, 1, 0);

    Frame1 = new QGroupBox(tr("View"), fraGrid);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    auto *view = new QHBoxLayout(Frame1);
    const char *optionTexts[] = {QT_TR_NOOP("Half Hourly"), QT_TR_NOOP("Daily")};
    for (int i = 0; i < 2; ++i) {
        Option1[std::size_t(i)] = new QRadioButton(tr(optionTexts[i]), Frame1);
        Option1[std::size_t(i)]->setObjectName(QStringLiteral("Option1(%1)").arg(i));
        view->addWidget(Option1[std::size_t(i)]);
        connect(Option1[std::size_t(i)], &QRadioButton::clicked, this, [this, i] { Option1_Click(i); });
    }
    Option1[0]->setChecked(true);
    DTPicker1 = new QDateEdit(Frame1);
    DTPicker1->setObjectName(QStringLiteral("DTPicker1"));
    DTPicker1->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    DTPicker1->setCalendarPopup(true);
    DTPicker1->setAccessibleName(tr("Date"));
    view->addWidget(DTPicker1);
    connect(DTPicker1, &QDateEdit::dateChanged, this, &frmCalendarPlus::DTPicker1_Change);

    auto *bottom = new QHBoxLayout;
    bottom->addWidget(Command2, 0, Qt::AlignTop);
    bottom->addWidget(Frame1);
    bottom->addStretch(1);
    const char *legendTexts[] = {QT_TR_NOOP("Booked"), QT_TR_NOOP("Available"), QT_TR_NOOP("Inactive")};
    std::array<QLabel **, 3> legendLabels{&Label2, &Label3, &Label4};
    for (int state = 0; state < 3; ++state) {
        QLabel *box = new QLabel(fraGrid);
        box->setObjectName(QStringLiteral("picBooked(%1)").arg(state));
        box->setFixedSize(buttonSide, buttonSide);
        box->setFrameShape(QFrame::Box);
        box->setAutoFillBackground(true);
        QPalette palette = box->palette();
        palette.setColor(QPalette::Window, cellStateColor(state));
        box->setPalette(palette);
        picBooked[std::size_t(state)] = box;
        QLabel *label = new QLabel(tr(legendTexts[state]), fraGrid);
        label->setObjectName(QStringLiteral("Label%1").arg(state + 2));
        *legendLabels[std::size_t(state)] = label;
        bottom->addWidget(box);
        bottom->addWidget(label);
        bottom->addSpacing(12);
    }
    grid->addLayout(bottom, 2, 0);

    // Below this size nothing shrinks further.
    setMinimumSize(ui::twipsToPixels(6990), ui::twipsToPixels(3890));

    connect(Command1, &QToolButton::clicked, this, &frmCalendarPlus::Command1_Click);
    connect(Command2, &QToolButton::clicked, this, &frmCalendarPlus::Command2_Click);
    connect(grdBooking, &QTableView::doubleClicked, this, [this](const QModelIndex &index) {
        grdBooking->setCurrentIndex(index);
        grdBooking_DblClick();
    });
}

void frmCalendarPlus::Display()
{
    guarded("Display", [this] {
        m_ViewMode = kHalfHourView;
        SetHeaderFormat();
        // The option buttons follow the view, also when the chart was open in the day view.
        for (QRadioButton *option : Option1) {
            const QSignalBlocker blocker(option);
            option->setChecked(option == Option1[0]);
        }
        rsBerths = OpenRecordset(chartBerthsQuery(), nullptr, true, db::adCmdText);
        m_berths = readChartBerths(*rsBerths);
        m_bookings.clear();
        m_StartTime = chartDayStart(ui::Date());
        setPickerDate(m_StartTime.date());
        SizeSlotRows();
    });

    ui::showInFront(this, [this] { Form_Activate(); });
}

void frmCalendarPlus::Form_Activate()
{
    guarded("Form_Activate", [this] {
        QWidget *frame = qobject_cast<QMdiSubWindow *>(parentWidget());
        if (!frame)
            frame = this;
        if (!frame->isMaximized())
            frame->showMaximized();
        RefreshChart();
        SizeSlotRows();
    });
}

void frmCalendarPlus::RefreshChart()
{
    guarded("RefreshChart", [this] {
        if (!rsBerths)
            return; // not opened yet
        rsBerths->Requery();
        m_berths = readChartBerths(*rsBerths);
        m_bookings.clear();
        // A new set of berths resets the grid's columns; the same set keeps the user's place.
        BuildSlots(m_StartTime);
    });
}

void frmCalendarPlus::SizeSlotRows()
{
    guarded("SizeSlotRows", [this] {
        m_gridRows = slotGridRows(ui::pixelsToTwips(grdBooking->height()));
        if (rsBerths)
            BuildSlots(m_StartTime);
    });
}

void frmCalendarPlus::SetHeaderFormat()
{
    m_HeaderFormat = slotHeaderFormat(m_ViewMode);
}

void frmCalendarPlus::BuildSlots(const QDateTime &Start)
{
    m_SlotTimes = quorl::BuildSlots(Start, std::max(0, m_gridRows - 1), m_ViewMode);
    holdBookingsFor(m_SlotTimes);
    // Hidden from painting while it changes, so the cells are not drawn one by one.
    grdBooking->setUpdatesEnabled(false);
    m_model->setChart(m_berths, m_SlotTimes, m_ViewMode, m_bookings.place(m_SlotTimes, m_ViewMode, m_berths));
    grdBooking->setUpdatesEnabled(true);
}

void frmCalendarPlus::FillSlot(int Row)
{
    if (Row < 0 || std::size_t(Row) >= m_SlotTimes.size())
        return;
    const std::vector<QDateTime> slot{m_SlotTimes[std::size_t(Row)]};
    m_model->setRow(Row, slot.front(), m_bookings.place(slot, m_ViewMode, m_berths));
}

// The bookings of whole days around the rows in view are read once; the half-hour
// view never scrolls out of them, the day view reads again when it does.
bool frmCalendarPlus::holdBookingsFor(const std::vector<QDateTime> &slotTimes)
{
    if (slotTimes.empty())
        return false;
    const QDateTime from = DateOnly(slotTimes.front());
    const QDateTime lastEnd = slotEnd(slotTimes.back(), m_ViewMode);
    const QDateTime to = lastEnd.time() == QTime(0, 0) ? lastEnd : DateOnly(lastEnd.date().addDays(1));
    if (m_bookings.holds(from, to))
        return false;
    auto rows = OpenRecordset(chartBookingsQuery(from, to), nullptr, true, db::adCmdText);
    m_bookings.load(*rows, from, to);
    return true;
}

void frmCalendarPlus::setPickerDate(const QDate &date)
{
    // Code setting the picker is no choice of the user: the chart is not rebuilt from 08:00.
    const QSignalBlocker blocker(DTPicker1);
    DTPicker1->setDate(date);
}

void frmCalendarPlus::Option1_Click(int Index)
{
    guarded("Option1_Click", [this, Index] {
        if (Index == 0) {
            m_ViewMode = kHalfHourView;
            m_StartTime = chartDayStart(m_StartTime.date());
        } else {
            m_ViewMode = kDayView;
        }
        for (std::size_t i = 0; i < Option1.size(); ++i) {
            const QSignalBlocker blocker(Option1[i]);
            Option1[i]->setChecked(int(i) == Index);
        }
        SetHeaderFormat();
        if (rsBerths)
            BuildSlots(m_StartTime);
    });
}

void frmCalendarPlus::DTPicker1_Change()
{
    guarded("DTPicker1_Change", [this] {
        m_StartTime = chartDayStart(DTPicker1->date());
        if (rsBerths)
            BuildSlots(m_StartTime);
    });
}

void frmCalendarPlus::Command1_Click()
{
    guarded("Command1_Click", [this] { ScrollSlots(true); });
}

void frmCalendarPlus::Command2_Click()
{
    guarded("Command2_Click", [this] { ScrollSlots(false); });
}

void frmCalendarPlus::ScrollSlots(bool Back)
{
    if (!rsBerths || !quorl::ScrollSlots(m_SlotTimes, Back, m_ViewMode))
        return;
    // The rows already drawn move; only the freed row is filled.
    grdBooking->setUpdatesEnabled(false);
    m_model->shiftRows(Back);
    m_StartTime = m_SlotTimes.front();
    setPickerDate(m_StartTime.date());
    // Bookings read again may have changed since the other rows were drawn (another
    // program's new booking): then every row shows the new reading, so a booking never
    // shows on one of its days and not on the next.
    if (holdBookingsFor(m_SlotTimes))
        m_model->setChart(m_berths, m_SlotTimes, m_ViewMode, m_bookings.place(m_SlotTimes, m_ViewMode, m_berths));
    else
        FillSlot(Back ? 0 : int(m_SlotTimes.size()) - 1);
    grdBooking->setUpdatesEnabled(true);
}

void frmCalendarPlus::grdBooking_DblClick()
{
    guarded("grdBooking_DblClick", [this] {
        const QModelIndex current = grdBooking->currentIndex();
        const auto &berths = m_model->berths();
        const auto &slotTimes = m_model->slotTimes();
        qint64 bookingId = 0;
        if (current.isValid() && std::size_t(current.row()) < slotTimes.size()
            && std::size_t(current.column()) < berths.size()) {
            // The booking the cell shows; only a free cell looks for one touching its slot.
            bookingId = bookingUnderCell(m_model->cell(current.row(), current.column()), m_bookings,
                                         berths[std::size_t(current.column())].id,
                                         slotTimes[std::size_t(current.row())], m_ViewMode);
        }
        // The summary returns once it is closed, so the chart then shows what was changed in it.
        if (bookingId != 0) {
            MDIMain *main = MDIMain::current();
            frmBookingSummary::shared(main ? static_cast<QWidget *>(main) : window())->Display(bookingId);
        }
    });
    RefreshChart();
}

bool frmCalendarPlus::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == grdBooking && event->type() == QEvent::Resize) {
        // Every height that changes the number of rows that fit rebuilds them from StartTime.
        if (slotGridRows(ui::pixelsToTwips(grdBooking->height())) != m_gridRows)
            SizeSlotRows();
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace quorl
