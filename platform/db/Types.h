#pragma once

// The values the windows pass to a recordset and read back from it, under the names
// the windows use for them.

namespace quorl::db {

// What the source given to Recordset::Open is: an SQL text, a table's name, or either
// (the recordset tells them apart). adCmdTableDirect may be added to another value.
enum CommandTypeEnum { adCmdUnspecified = -1, adCmdText = 1, adCmdTable = 2, adCmdUnknown = 8, adCmdTableDirect = 512 };
// Whether the rows may be changed. Both changeable kinds save each change as it is
// made; the batch kind is what a recordset made in memory reports.
enum LockTypeEnum { adLockReadOnly = 1, adLockOptimistic = 3, adLockBatchOptimistic = 4 };
// The kind of value a field holds.
enum class FieldType { Empty, Long, Double, Currency, Boolean, Date, Text, Memo };
// Whether the current row is unchanged, being changed, or a new row not yet saved.
enum EditModeEnum { adEditNone = 0, adEditInProgress = 1, adEditAdd = 2 };
// AbsolutePosition when the recordset stands on no row: unknown, before the first
// or after the last.
enum PositionEnum { adPosUnknown = -1, adPosBOF = -2, adPosEOF = -3 };

} // namespace quorl::db
