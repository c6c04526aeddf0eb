#pragma once

#include <QImage>
#include <QList>
#include <QPageLayout>
#include <QString>

class QPagedPaintDevice;
class QPrinter;

// The program's small banded report engine. A document is a report header that
// opens the first page, a page header and a page footer repeated on every page,
// and a body of bands that flow down the pages: group headers, one band per
// detail row, group footers, report footer. A band stays on one page when it fits on one. Measures are in
// points (1/72 inch) from the page's printable top left corner.

namespace quorl::reports {

struct ReportFont {
    QString family = QStringLiteral("Arial");
    qreal pointSize = 10;
    bool bold = false;
    bool italic = false;
};

// Text at a place on a line; it wraps within its width (0: up to the right margin).
// In a numbered cell "%p" becomes the page number and "%P" the page count.
struct ReportCell {
    qreal left = 0;
    qreal width = 0;
    QString text;
    ReportFont font;
    Qt::Alignment align = Qt::AlignLeft;
    bool numbered = false;
};

// One line of a band: cells side by side, or a rule across the page, or a picture.
struct ReportLine {
    QList<ReportCell> cells;
    bool rule = false;
    QImage picture;
    qreal pictureHeight = 0;
    qreal spaceAfter = 2;
};

struct ReportBand {
    QList<ReportLine> lines;

    ReportBand &line(const QList<ReportCell> &cells, qreal spaceAfter = 2);
    ReportBand &rule();
    ReportBand &picture(const QImage &image, qreal height);
    ReportBand &gap(qreal points);
    bool isEmpty() const { return lines.isEmpty(); }
};

class ReportDocument {
public:
    QString name;   // the print job's and the preview's name
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    ReportBand reportHeader;
    ReportBand pageHeader;
    ReportBand pageFooter;
    QList<ReportBand> body;

    // Sets the printer up for this document: A4, its orientation, 15 mm margins.
    void setUp(QPrinter &printer) const;
    // The number of pages the body takes on the device's pages.
    int pageCount(QPagedPaintDevice &device) const;
    // Paints every page; false when the printer cannot be painted on (a PDF file
    // that cannot be written).
    bool print(QPrinter &printer) const;
};

} // namespace quorl::reports
