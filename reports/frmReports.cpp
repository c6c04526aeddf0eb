#include "reports/frmReports.h"

#include <exception>

#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/modFunctions.h"
#include "core/modMessageLog.h"
#include "platform/db/Error.h"
#include "platform/db/Recordset.h"
#include "platform/ui/Clock.h"
#include "platform/ui/MsgBox.h"
#include "reports/CommandLayouts.h"
#include "reports/DatePickerWithCheck.h"
#include "reports/ListLayouts.h"
#include "reports/ReportChooser.h"

namespace quorl {
namespace {

QPushButton *button(QWidget *parent, const char *name, const QString &caption)
{
    auto *created = new QPushButton(caption, parent);
    created->setObjectName(QString::fromLatin1(name));
    created->setAutoDefault(false);
    return created;
}

reports::DatePickerWithCheck *picker(QWidget *parent, const char *name)
{
    auto *created = new reports::DatePickerWithCheck(parent);
    created->setObjectName(QString::fromLatin1(name));
    return created;
}

QLabel *caption(QWidget *parent, const char *name, const QString &text, QWidget *buddy)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setBuddy(buddy);
    // A screen reader reads the caption on the date box itself, where the focus lands.
    if (auto *picker = qobject_cast<reports::DatePickerWithCheck *>(buddy))
        picker->dateEdit()->setAccessibleName(text);
    return label;
}

void reportFailure(const char *handler, const std::exception &error)
{
    logError(QStringLiteral("frmReports.") + QLatin1String(handler), error);
    const auto *dbError = dynamic_cast<const db::Error *>(&error);
    ui::MsgBox(dbError ? dbError->message() : QString::fromUtf8(error.what()), ui::vbOKOnly | ui::vbCritical);
}

} // namespace

frmReports::frmReports(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("frmReports"));
    setWindowTitle(QStringLiteral("Report Manager"));

    Frame1 = new QGroupBox(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    dtpFrom = picker(Frame1, "dtpFrom");
    dtpTo = picker(Frame1, "dtpTo");
    Label1 = caption(Frame1, "Label1", QStringLiteral("From:"), dtpFrom);
    Label2 = caption(Frame1, "Label2", QStringLiteral("To:"), dtpTo);
    cmdAllBooking = button(Frame1, "cmdAllBooking", QStringLiteral("List of all up comming bookings"));
    cmdTodaysBooking = button(Frame1, "cmdTodaysBooking", QStringLiteral("List of bookings taken today"));
    cmdTodaysCheckOuts =
        button(Frame1, "cmdTodaysCheckOuts", QStringLiteral("List of todays checkouts left to be completed"));
    cmdAvailableBerths = button(Frame1, "cmdAvailableBerths", QStringLiteral("Outstanding Balance A/Cs"));
    auto *first = new QGridLayout(Frame1);
    first->addWidget(Label1, 0, 0);
    first->addWidget(dtpFrom, 0, 1);
    first->addWidget(Label2, 0, 2);
    first->addWidget(dtpTo, 0, 3);
    first->addWidget(cmdAllBooking, 1, 0, 1, 4);
    first->addWidget(cmdTodaysBooking, 2, 0, 1, 4);
    first->addWidget(cmdTodaysCheckOuts, 3, 0, 1, 4);
    first->addWidget(cmdAvailableBerths, 4, 0, 1, 4);

    Frame2 = new QGroupBox(this);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    dtpFrom1 = picker(Frame2, "dtpFrom1");
    dtpTo1 = picker(Frame2, "dtpTo1");
    Label4 = caption(Frame2, "Label4", QStringLiteral("From:"), dtpFrom1);
    Label5 = caption(Frame2, "Label5", QStringLiteral("To:"), dtpTo1);
    Command4 = button(Frame2, "Command4", QStringLiteral("Period sales summary"));
    auto *second = new QGridLayout(Frame2);
    second->addWidget(Label4, 0, 0);
    second->addWidget(dtpFrom1, 0, 1);
    second->addWidget(Label5, 0, 2);
    second->addWidget(dtpTo1, 0, 3);
    second->addWidget(Command4, 1, 0, 1, 4);
    // The period pickers start at the date the window was designed with, on every load.
    const QDateTime designed(QDate(2004, 5, 4), QTime(0, 0));
    dtpFrom1->setValue(designed);
    dtpTo1->setValue(designed);

    Label3 = new QLabel(QStringLiteral("** If you have the need for a specific report, please contact our support "
                                       "team and we will endevour to create the report that you are looking for **"),
                        this);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->setWordWrap(true);
    cmdExit = button(this, "cmdExit", QStringLiteral("Close"));

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Frame1);
    layout->addWidget(Frame2);
    layout->addWidget(Label3);
    layout->addWidget(cmdExit, 0, Qt::AlignRight);

    connect(cmdAllBooking, &QPushButton::clicked, this, &frmReports::cmdAllBooking_Click);
    connect(cmdTodaysBooking, &QPushButton::clicked, this, &frmReports::cmdTodaysBooking_Click);
    connect(cmdTodaysCheckOuts, &QPushButton::clicked, this, &frmReports::cmdTodaysCheckOuts_Click);
    connect(cmdAvailableBerths, &QPushButton::clicked, this, &frmReports::cmdAvailableBerths_Click);
    connect(Command4, &QPushButton::clicked, this, &frmReports::Command4_Click);
    connect(cmdExit, &QPushButton::clicked, this, &frmReports::cmdExit_Click);
}

frmReports::~frmReports() = default;

void frmReports::Display()
{
    ShowFormPositioned(this, kShowCentredOnScreen);
    show();
    const QDateTime now = ui::Now();
    dtpFrom->setValue(now);
    dtpTo->setValue(now);
}

void frmReports::showList(const char *handler, reports::ListLayout layout, const QString &query,
                          const QString &title, bool periodSales)
{
    try {
        ReportSql = query;
        ReportRows = reports::buildReportRows(query, periodSales);
        if (ReportRows->RecordCount() == 0) {
            ui::MsgBox(QStringLiteral("Nothing to print!"), ui::vbOKOnly);
            return;
        }
        reports::SetReport(layout, *ReportRows, title);
    } catch (const std::exception &error) {
        reportFailure(handler, error);
    }
}

void frmReports::cmdAllBooking_Click()
{
    const reports::PeriodFilter period = reports::periodFilter(dtpFrom->value(), dtpTo->value());
    showList("cmdAllBooking_Click", reports::ListLayout::rptAllBooking, reports::bookingListQuery(period),
             period.title, false);
}

void frmReports::cmdTodaysBooking_Click()
{
    const QDateTime now = ui::Now();
    showList("cmdTodaysBooking_Click", reports::ListLayout::rptTodaysBooking, reports::takenTodayQuery(now),
             reports::titleDate(now.date()), false);
}

void frmReports::cmdTodaysCheckOuts_Click()
{
    const QDateTime now = ui::Now();
    showList("cmdTodaysCheckOuts_Click", reports::ListLayout::rptTodayLeft, reports::checkOutsQuery(now),
             reports::titleDate(now.date()), false);
}

void frmReports::Command4_Click()
{
    const reports::PeriodFilter period = reports::periodFilter(dtpFrom1->value(), dtpTo1->value());
    showList("Command4_Click", reports::ListLayout::rptPeriodsales, reports::periodSalesQuery(period), period.title,
             true);
}

void frmReports::cmdAvailableBerths_Click()
{
    try {
        reports::PrintOutstanding();
    } catch (const std::exception &error) {
        reportFailure("cmdAvailableBerths_Click", error);
    }
}

void frmReports::cmdExit_Click()
{
    close();
}

} // namespace quorl
