#pragma once

#include <QDate>
#include <QString>
#include <QVariant>

// The comma-separated exports of the File menu: all customers, all reservations
// and today's reservations, each written to a file the user chooses.

namespace quorl {

namespace db {
class Recordset;
}

// What became of one export.
enum class ExportOutcome { Written, NoData, Cancelled, Failed };

// A value as the export writes it, before quoting: Null empty, Yes/No "True" or
// "False", a date in the general form (no time at midnight), numbers plain.
QString csvValueText(const QVariant &value);

// The value in double quotes, each double quote inside doubled, so a comma or a
// line break in it stays inside its field; every line break in it is CR LF.
QString csvField(const QVariant &value);

// Writes the header of column names and then every row from the first, each line
// ending in CR LF, as Windows-1252, into localPath. The file appears only whole, and
// never over a file of the database in use or a device: false, with the reason in
// *error, when it could not be written.
bool writeCsvFile(db::Recordset &rows, const QString &localPath, QString *error = nullptr);

// Asks for the file and writes it; with no rows, says "There is no data to export".
// A file that cannot be written is reported, never passed over, and a name that
// must not be written (the database's files, a folder or device) is refused.
ExportOutcome WriteCsvExport(db::Recordset &rows, const QString &defaultName);

// The query of the reservations that touch the day: arriving by its end and
// leaving after its start, so arrivals and departures of the day are in.
QString todaysReservationsSql(const QDate &today);
QString reservationsSql();
QString customersSql();

// Each writes its event (16, 17, 18) only when a file was written.
ExportOutcome ExportCustomers();
ExportOutcome ExportReservations();
ExportOutcome ExportTodaysReservations();

} // namespace quorl
