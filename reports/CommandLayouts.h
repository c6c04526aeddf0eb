#pragma once

#include <vector>

#include <QDateTime>

#include "reports/DataEnvironment1.h"
#include "reports/ReportDocument.h"

// The layouts that read their rows from the report environment and are printed
// at once: the receipt (Invoice), the reservation form (Booking) and the list of
// reservations with a balance due (Outstanding).

namespace quorl::reports {

// From the rows of command Receipt: the company, its InvTemp rows, their customers.
ReportDocument invoiceReport(const std::vector<CommandRow> &receipt);
// From the rows of command Booking: the company, its INVT rows, their customers (Cust).
ReportDocument bookingFormReport(const std::vector<CommandRow> &booking);
// From the rows of command Outstanding, printed at now.
ReportDocument outstandingReport(const std::vector<CommandRow> &rows, const QDateTime &now);

// Run the command on the database in use and print the layout on the default
// printer. False when nothing was printed. Throw db::Error.
bool PrintInvoice();
bool PrintBookingForm();
bool PrintOutstanding();

} // namespace quorl::reports
