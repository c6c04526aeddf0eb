#pragma once

#include <QString>

#include "reports/ReportDocument.h"

namespace quorl::db {
class Recordset;
}

// The list layouts: the three booking lists (one design under three titles) and
// the period sales. Each takes its rows, fields of text, from the caller.

namespace quorl::reports {

enum class ListLayout { rptAllBooking, rptTodaysBooking, rptTodayLeft, rptPeriodsales };

QString layoutName(ListLayout layout);
// The caption of the layout's preview window.
QString layoutCaption(ListLayout layout);

// The layout filled with every row of rows (fields found without regard to case)
// under title, the text of the date label.
ReportDocument listReport(ListLayout layout, db::Recordset &rows, const QString &title);

// Binds the rows and shows the layout's preview window; rows without any row show
// nothing. Returns whether the preview shows.
bool SetReport(ListLayout layout, db::Recordset &rows, const QString &title);

} // namespace quorl::reports
