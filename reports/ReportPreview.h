#pragma once

#include <QPrintPreviewDialog>
#include <QString>

#include "reports/ReportDocument.h"

// Where a report goes: its own modeless preview window, from which the user
// prints, or straight to the default printer.

namespace quorl::reports {

class ReportPreviewDialog final : public QPrintPreviewDialog
{
    Q_OBJECT

public:
    explicit ReportPreviewDialog(QWidget *parent = nullptr);

    const ReportDocument &document() const { return m_document; }
    // Shows the document from now on, re-paginated.
    void setDocument(const ReportDocument &document);

private:
    ReportDocument m_document;
};

// Shows the document in the preview window of that layout, made on first use;
// a later call shows the new document in the same window and brings it forward.
ReportPreviewDialog *showPreview(const QString &layoutName, const QString &caption, const ReportDocument &document);

// The layout's preview window while it is open, or null.
ReportPreviewDialog *previewOf(const QString &layoutName);

// All pages to the default printer without a print dialog (or to a PDF file the
// user names when no printer is installed). A failure is reported to the user;
// false when nothing was printed.
bool printReport(const ReportDocument &document);

} // namespace quorl::reports
