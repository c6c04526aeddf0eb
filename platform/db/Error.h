#pragma once

#include <stdexcept>

#include <QString>

// The database layer's one error type, the values the windows pass as they would to
// the original data objects, and the few helpers through which values enter SQL text.

namespace quorl::db {

class Error : public std::runtime_error
{
public:
    explicit Error(const QString &message, int sqliteCode = 0);

    QString message() const { return m_message; }
    int code() const { return m_code; }
    // The file is locked by another connection and stayed locked past the busy timeout.
    bool isBusy() const;

private:
    QString m_message;
    int m_code = 0;
};

// What a window shows when its write meets another connection's open transaction. With
// two office computers on one database file, that transaction is often on the other one.
inline constexpr const char *kBusyMessage =
    "The database is in use by another window, on this computer or another one. Finish or close that window "
    "and try again.";

enum CommandTypeEnum { adCmdUnspecified = -1, adCmdText = 1, adCmdTable = 2, adCmdUnknown = 8, adCmdTableDirect = 512 };
enum LockTypeEnum { adLockReadOnly = 1, adLockOptimistic = 3, adLockBatchOptimistic = 4 };
enum class FieldType { Empty, Long, Double, Currency, Boolean, Date, Text, Memo };
enum EditModeEnum { adEditNone = 0, adEditInProgress = 1, adEditAdd = 2 };
// AbsolutePosition off the rows.
enum PositionEnum { adPosUnknown = -1, adPosBOF = -2, adPosEOF = -3 };

// 'O''Brien': the one way a text enters SQL or filter text. Only the apostrophe is
// special inside a quoted literal; "%", "#" and "*" stay data.
QString SqlQuote(const QString &text);
// A text made literal inside a LIKE pattern: "*", "%", "?", "_", "#" and "[" are each
// put in brackets, so that "Name LIKE " + SqlQuote(escapeLikeText(typed) + "*") finds
// the names that start with exactly what was typed.
QString escapeLikeText(const QString &text);
// Numbers in SQL and filter text, always with "." and never grouped.
QString sqlNumber(double value);
QString sqlNumber(qint64 value);
QString sqlNumber(int value);

// Writes a new database file from an SQL script. The file appears only once the whole
// script has run; an existing file is never touched (throws instead).
void createDatabaseFile(const QString &localPath, const QString &sqlScript);

} // namespace quorl::db
