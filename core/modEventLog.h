#pragma once

#include <array>

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>

namespace quorl {

// What an entry of the event log records; the number is written to the file as its text.
enum EventCode : int {
    evApplicationStarted = 0,
    evApplicationClosed = 1,
    evBerthAdded = 2,
    evBerthModified = 3,
    evBerthDeleted = 4,
    evCustomerAdded = 5,
    evCustomerModified = 6,
    evCustomerDeleted = 7,
    evOwnerAdded = 8,
    evOwnerModified = 9,
    evOwnerDeleted = 10,
    evBookingAdded = 11,
    evBookingModified = 12,
    evBookingCancelled = 13,
    evSettingsModified = 14,
    evWebBookingGenerated = 15,
    evCustomersExported = 16,
    evReservationsExported = 17,
    evTodaysReservationsExported = 18,
    evDatabaseCompacted = 19,
    evDatabaseBackupPerformed = 20,
    evDatabaseRestorePerformed = 21,
    evReportGenerated = 22,
    evReportPrinted = 23,
    evMailingListGenerated = 24,
    evConfigurationModified = 25,
    evRegionalSettingsModified = 26,
};

inline constexpr int kEventNameSlots = 31;

// The texts of the event codes; slots 27 to 30 stay empty. Filled by InitEventLog.
extern std::array<QString, kEventNameSlots> EventNames;

// Local path of the day's "events.Log"; empty until InitEventLog ran, and then
// nothing is written.
extern QString EventLogPath;

// The trace folder as the settings hold it (registry "traces"), in its Windows form.
QString TraceFolder();

// The trace folder on this machine. The event log, the clean-up and the trace
// viewer all start from here.
QString traceFolderPath();

// "ddMMyyyy", the name of a day's folder.
QString dayFolderName(const QDate &day);

// The text of one entry: time line, event line (for codes 0 to 30), a line for each
// of the details, empty line; CR LF. Each detail is written on one line whatever it
// holds (a name typed elsewhere, stored data, a file name, an error text), so only
// the program ever starts an entry.
QString eventLogEntry(const QDateTime &when, int code, const QStringList &detailLines);
// The details on one line; "" writes no details line.
QString eventLogEntry(const QDateTime &when, int code, const QString &details);

// Prepares today's folder under the trace folder (only the last level is created)
// and the event names. Never fails; a missing trace folder means no entries.
void InitEventLog();

// Appends one entry; it is on disk when the call returns. Never throws.
void WriteEventLog(const QDateTime &when, int code, const QString &details);
void WriteEventLog(const QDateTime &when, int code, const QStringList &detailLines);

// Asks whether to delete traces older than seven days and, on Yes, deletes the
// day folders before DateOnly(Now - 7 days).
void DeleteOldTraces();

// Deletes the day folders of traceFolder whose names are real "ddMMyyyy" dates
// before the limit; folders with other names, the folder of the log this run
// writes to, and a folder that cannot be deleted are passed over. Returns how
// many were deleted.
int deleteTraceFoldersBefore(const QString &traceFolderLocalPath, const QDate &limit);

} // namespace quorl
