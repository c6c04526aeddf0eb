#pragma once

#include <memory>
#include <optional>

#include <QString>

// The rules of the berth dialogs that need no window: the list query with its
// marks, the reading of the number boxes, and the details texts of the event log.

namespace quorl {

namespace db {
class Recordset;
}

// Each entry reads the name, " (booked)" when any booking line names the berth,
// then " - Active " or " - Inactive".
inline constexpr const char *kBerthListQuery =
    "SELECT B.*, IIF(A.BerthID Is NULL, B.Name, B.Name & ' (booked)') & IIF(B.Active, ' - Active ', ' - Inactive') "
    "as BName FROM Berth B LEFT JOIN (SELECT DISTINCT BerthID FROM BookingBerth) AS A ON B.ID = A.BerthID";
inline constexpr const char *kBerthListSort = "BNAME";

// Dimensions go into Double columns, charges into Currency ones: a charge must fit
// the money range, or the database would refuse it at the save.
enum class BerthNumberKind { Measure, Money };

// The largest amount a Currency column holds.
inline constexpr double kMaxMoney = 922337203685477.5807;

// The number a box's text stands for: blanks around it, a sign, digits with one
// decimal point and an exponent ("1e3"); a charge may carry a leading "£". Nothing
// for an empty or blank text and for anything that is no finite number in range.
std::optional<double> readBerthNumber(const QString &text, BerthNumberKind kind);

// An empty (or blank) text passes; otherwise the text must read as a number.
bool isValidBerthNumber(const QString &text, BerthNumberKind kind);

// The messages of the berth dialogs.
inline constexpr const char *kAddBerthTitle = "Add berth";
inline constexpr const char *kNoBerthNameMessage =
    "No berth name has been entered. Please enter a berth name (or number) to continue.";
inline constexpr const char *kNoOwnerMessage = "Please select owner from the list";
inline constexpr const char *kNoBerthTypeMessage = "Please select berth type from the list";
inline constexpr const char *kInvalidNumberMessage = "Please enter a valid number to continue";

// Details lines of the event log.
QString berthAddedDetails(const QString &name);                 // Name: 'A1'
QString berthActivationDetails(const QString &name, bool active); // Berth 'B2' inactivated
QString berthDeletedDetails(const QString &listEntryText);       // Name: 'C3 (booked) - Active '

// The changes a berth dialog collects while its transaction is open, to be written
// to the event log only after the commit: fields oper (the event code) and descr
// (the details), in the order of the user's actions.
std::unique_ptr<db::Recordset> newOperationLog();
void logOperation(db::Recordset &operationLog, int oper, const QString &descr);
// Writes every row, in order, as an event at the current time.
void writeOperationLog(db::Recordset &operationLog);

} // namespace quorl
