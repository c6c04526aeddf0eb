#include "reports/ReportDocument.h"

#include <algorithm>

#include <QFontMetricsF>
#include <QMarginsF>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>

namespace quorl::reports {
namespace {

constexpr qreal kRuleHeight = 6;   // points; the rule runs through its middle
constexpr qreal kMarginMm = 15;

// Points turned into the device's pixels, and the printable page in those pixels.
struct PageGeometry {
    qreal scale = 1;
    qreal width = 0;
    qreal height = 0;

    explicit PageGeometry(QPagedPaintDevice &device)
    {
        const int dpi = device.logicalDpiY();
        scale = dpi / 72.0;
        const QRect paint = device.pageLayout().paintRectPixels(dpi);
        width = paint.width();
        height = paint.height();
    }
};

QFont deviceFont(const ReportFont &style, QPaintDevice *device)
{
    QFont font(style.family);
    font.setPointSizeF(style.pointSize);
    font.setBold(style.bold);
    font.setItalic(style.italic);
    return QFont(font, device);
}

QRectF cellRect(const ReportCell &cell, const PageGeometry &page, qreal top, qreal height)
{
    const qreal left = cell.left * page.scale;
    const qreal width = cell.width > 0 ? cell.width * page.scale : page.width - left;
    return QRectF(left, top, std::max<qreal>(width, 1), height);
}

int textFlags(const ReportCell &cell)
{
    return int(cell.align) | Qt::TextWordWrap;
}

qreal lineHeight(const ReportLine &line, QPaintDevice *device, const PageGeometry &page)
{
    qreal height = 0;
    if (line.rule) {
        height = kRuleHeight * page.scale;
    } else if (!line.picture.isNull()) {
        height = line.pictureHeight * page.scale;
    } else {
        for (const ReportCell &cell : line.cells) {
            const QFontMetricsF metrics(deviceFont(cell.font, device), device);
            const QRectF room = cellRect(cell, page, 0, 1e9);
            const QRectF used = metrics.boundingRect(room, textFlags(cell), cell.text);
            height = std::max({height, metrics.height(), used.height()});
        }
    }
    return height + line.spaceAfter * page.scale;
}

qreal bandHeight(const ReportBand &band, QPaintDevice *device, const PageGeometry &page)
{
    qreal height = 0;
    for (const ReportLine &line : band.lines)
        height += lineHeight(line, device, page);
    return height;
}

struct PlacedLine {
    const ReportLine *line;
    qreal top;
};

using Page = QList<PlacedLine>;

// The first pass: which body lines land on which page, and where.
QList<Page> layOut(const ReportDocument &document, QPagedPaintDevice &device, const PageGeometry &page)
{
    const qreal bodyTop = bandHeight(document.pageHeader, &device, page);
    const qreal bodyBottom = page.height - bandHeight(document.pageFooter, &device, page);
    QList<Page> pages(1);
    // The report header opens the first page, above that page's header.
    qreal y = bodyTop + bandHeight(document.reportHeader, &device, page);
    const auto startPage = [&] {
        pages.append(Page());
        y = bodyTop;
    };
    for (const ReportBand &band : document.body) {
        const qreal height = bandHeight(band, &device, page);
        // A band that fits on a page is kept whole; a longer one breaks between its lines.
        if (y + height > bodyBottom && y > bodyTop && height <= bodyBottom - bodyTop)
            startPage();
        for (const ReportLine &line : band.lines) {
            const qreal lineHigh = lineHeight(line, &device, page);
            if (y + lineHigh > bodyBottom && y > bodyTop)
                startPage();
            pages.last().append(PlacedLine{&line, y});
            y += lineHigh;
        }
    }
    return pages;
}

QString numberedText(const ReportCell &cell, int pageNumber, int pageCount)
{
    if (!cell.numbered)
        return cell.text;
    QString text = cell.text;
    text.replace(QStringLiteral("%p"), QString::number(pageNumber));
    text.replace(QStringLiteral("%P"), QString::number(pageCount));
    return text;
}

void paintLine(QPainter &painter, const ReportLine &line, qreal top, const PageGeometry &page, int pageNumber,
               int pageCount)
{
    if (line.rule) {
        const qreal y = top + kRuleHeight * page.scale / 2;
        painter.setPen(QPen(Qt::black, 0.75 * page.scale));
        painter.drawLine(QPointF(0, y), QPointF(page.width, y));
        return;
    }
    if (!line.picture.isNull()) {
        const qreal height = line.pictureHeight * page.scale;
        const qreal width = height * line.picture.width() / std::max(1, line.picture.height());
        painter.drawImage(QRectF(0, top, width, height), line.picture);
        return;
    }
    const qreal height = lineHeight(line, painter.device(), page);
    for (const ReportCell &cell : line.cells) {
        painter.setFont(deviceFont(cell.font, painter.device()));
        painter.setPen(Qt::black);
        painter.drawText(cellRect(cell, page, top, height), textFlags(cell), numberedText(cell, pageNumber, pageCount));
    }
}

void paintBand(QPainter &painter, const ReportBand &band, qreal top, const PageGeometry &page, int pageNumber,
               int pageCount)
{
    for (const ReportLine &line : band.lines) {
        paintLine(painter, line, top, page, pageNumber, pageCount);
        top += lineHeight(line, painter.device(), page);
    }
}

} // namespace

ReportBand &ReportBand::line(const QList<ReportCell> &cells, qreal spaceAfter)
{
    ReportLine added;
    added.cells = cells;
    added.spaceAfter = spaceAfter;
    lines.append(added);
    return *this;
}

ReportBand &ReportBand::rule()
{
    ReportLine added;
    added.rule = true;
    added.spaceAfter = 0;
    lines.append(added);
    return *this;
}

ReportBand &ReportBand::picture(const QImage &image, qreal height)
{
    ReportLine added;
    added.picture = image;
    added.pictureHeight = height;
    lines.append(added);
    return *this;
}

ReportBand &ReportBand::gap(qreal points)
{
    ReportLine added;
    added.spaceAfter = points;
    lines.append(added);
    return *this;
}

void ReportDocument::setUp(QPrinter &printer) const
{
    printer.setDocName(name);
    printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), orientation,
                                      QMarginsF(kMarginMm, kMarginMm, kMarginMm, kMarginMm),
                                      QPageLayout::Millimeter));
}

int ReportDocument::pageCount(QPagedPaintDevice &device) const
{
    const PageGeometry page(device);
    return int(layOut(*this, device, page).size());
}

bool ReportDocument::print(QPrinter &printer) const
{
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    const PageGeometry page(printer);
    const QList<Page> pages = layOut(*this, printer, page);
    const int count = int(pages.size());
    const qreal footerTop = page.height - bandHeight(pageFooter, &printer, page);
    for (int index = 0; index < count; ++index) {
        qreal top = 0;
        if (index > 0) {
            printer.newPage();
        } else {
            paintBand(painter, reportHeader, 0, page, 1, count);
            top = bandHeight(reportHeader, &printer, page);
        }
        paintBand(painter, pageHeader, top, page, index + 1, count);
        for (const PlacedLine &placed : pages.at(index))
            paintLine(painter, *placed.line, placed.top, page, index + 1, count);
        paintBand(painter, pageFooter, footerTop, page, index + 1, count);
    }
    return painter.end();
}

} // namespace quorl::reports
