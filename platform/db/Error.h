#pragma once

#include <stdexcept>

#include <QString>

// The database layer's one error type.

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

} // namespace quorl::db
