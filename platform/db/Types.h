#pragma once

// The values the windows pass to the data objects, as they passed them to the
// original ones.

namespace quorl::db {

enum CommandTypeEnum { adCmdUnspecified = -1, adCmdText = 1, adCmdTable = 2, adCmdUnknown = 8, adCmdTableDirect = 512 };
enum LockTypeEnum { adLockReadOnly = 1, adLockOptimistic = 3, adLockBatchOptimistic = 4 };
enum class FieldType { Empty, Long, Double, Currency, Boolean, Date, Text, Memo };
enum EditModeEnum { adEditNone = 0, adEditInProgress = 1, adEditAdd = 2 };
// AbsolutePosition off the rows.
enum PositionEnum { adPosUnknown = -1, adPosBOF = -2, adPosEOF = -3 };

} // namespace quorl::db
