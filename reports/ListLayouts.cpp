#include "reports/ListLayouts.h"

#include "platform/db/Recordset.h"
#include "reports/ReportFormats.h"
#include "reports/ReportPreview.h"

namespace quorl::reports {
namespace {

ReportFont font(const char *family, qreal size, bool bold = false, bool italic = false)
{
    return ReportFont{QString::fromLatin1(family), size, bold, italic};
}

QString field(db::Recordset &rows, const char *name)
{
    const QVariant value = rows.value(QString::fromLatin1(name));
    return value.isNull() ? QString() : value.toString();
}

// The layout's name, the caption of its preview and the title over its rows.
struct LayoutTexts {
    const char *name;
    const char *caption;
    const char *title;
};

// Anything that is no other layout is the period sales.
const LayoutTexts &textsOf(ListLayout layout)
{
    static const LayoutTexts texts[] = {
        {"rptAllBooking", "Report of Booking", "List of all up comming bookings"},
        {"rptTodaysBooking", "List of today bookings", "List of today bookings"},
        {"rptTodayLeft", "List of todays checkouts left to be completed",
         "List of todays checkouts left to be completed"},
        {"rptPeriodsales", "Period Sales", "Period Sales"},
    };
    switch (layout) {
    case ListLayout::rptAllBooking:
        return texts[0];
    case ListLayout::rptTodaysBooking:
        return texts[1];
    case ListLayout::rptTodayLeft:
        return texts[2];
    case ListLayout::rptPeriodsales:
        break;
    }
    return texts[3];
}

QString titleOf(ListLayout layout)
{
    return QString::fromLatin1(textsOf(layout).title);
}

// The page numbers at the foot of a list.
ReportCell pageNumbersCell(const char *family)
{
    return ReportCell{0, 0, QStringLiteral("List: %p of %P"), font(family, 9), Qt::AlignRight, true};
}

ReportBand reportHeader(ListLayout layout, const char *family, const QString &title)
{
    ReportBand header;
    header.line({ReportCell{0, 0, titleOf(layout), font(family, 16, true)}}, 4);
    header.line({ReportCell{0, 0, title, font(family, 11)}}, 10);
    return header;
}

ReportBand pageNumbers(const char *family)
{
    ReportBand footer;
    footer.line({pageNumbersCell(family)});
    return footer;
}

// One block per booking: what was booked, when, by whom, on which berths.
ReportDocument bookingList(ListLayout layout, db::Recordset &rows, const QString &title)
{
    const char *family = "Arial";
    ReportDocument document;
    document.name = layoutCaption(layout);
    document.reportHeader = reportHeader(layout, family, title);
    for (rows.MoveFirst(); !rows.isEOF(); rows.MoveNext()) {
        ReportBand detail;
        const auto labelled = [&](const char *caption, const char *name) {
            detail.line({ReportCell{0, 95, QString::fromLatin1(caption), font(family, 10, true)},
                         ReportCell{100, 0, field(rows, name), font(family, 10)}});
        };
        labelled("Booking added:", "Created");
        labelled("From:", "From");
        labelled("To:", "To");
        labelled("Customer:", "Customer");
        labelled("Berth(s):", "Berths");
        detail.rule();
        detail.gap(4);
        document.body.append(detail);
    }
    document.pageFooter = pageNumbers(family);
    return document;
}

ReportDocument periodSales(db::Recordset &rows, const QString &title)
{
    const char *family = "Verdana";
    struct Column {
        qreal left;
        qreal width;
        const char *head;
        Qt::Alignment align;
    };
    static const Column columns[] = {
        {0, 120, "Client:", Qt::AlignLeft},    {125, 82, "Date:", Qt::AlignLeft},
        {210, 72, "Unit", Qt::AlignLeft},      {284, 56, "Hire £", Qt::AlignRight},
        {342, 54, "Other £", Qt::AlignRight},  {398, 54, "VAT £", Qt::AlignRight},
        {454, 56, "Total £", Qt::AlignRight},
    };
    ReportDocument document;
    document.name = layoutCaption(ListLayout::rptPeriodsales);
    document.reportHeader = reportHeader(ListLayout::rptPeriodsales, family, title);

    QList<ReportCell> heads;
    for (const Column &column : columns)
        heads.append(ReportCell{column.left, column.width, QString::fromUtf8(column.head), font(family, 8, true),
                                column.align});
    document.pageHeader.line(heads, 0);
    document.pageHeader.rule();

    for (rows.MoveFirst(); !rows.isEOF(); rows.MoveNext()) {
        const QString values[] = {
            field(rows, "Customer") + QLatin1Char('\n') + field(rows, "Created"),
            field(rows, "From") + QLatin1Char('\n') + field(rows, "To"),
            field(rows, "Berths"),
            moneyText(field(rows, "CostofHire")),
            moneyText(field(rows, "OtherCharges")),
            moneyText(field(rows, "VAT")),
            moneyText(field(rows, "TotalPayable")),
        };
        QList<ReportCell> cells;
        for (int index = 0; index < 7; ++index) {
            const Column &column = columns[index];
            cells.append(ReportCell{column.left, column.width, values[index], font(family, 8), column.align});
        }
        ReportBand detail;
        detail.line(cells, 6);
        document.body.append(detail);
    }
    ReportBand reportFooter;
    reportFooter.gap(6);
    reportFooter.line({pageNumbersCell(family)});
    document.body.append(reportFooter);
    return document;
}

} // namespace

QString layoutName(ListLayout layout)
{
    return QString::fromLatin1(textsOf(layout).name);
}

QString layoutCaption(ListLayout layout)
{
    return QString::fromLatin1(textsOf(layout).caption);
}

ReportDocument listReport(ListLayout layout, db::Recordset &rows, const QString &title)
{
    if (layout == ListLayout::rptPeriodsales)
        return periodSales(rows, title);
    return bookingList(layout, rows, title);
}

bool SetReport(ListLayout layout, db::Recordset &rows, const QString &title)
{
    if (rows.RecordCount() == 0)
        return false;
    showPreview(layoutName(layout), layoutCaption(layout), listReport(layout, rows, title));
    return true;
}

} // namespace quorl::reports
