#pragma once

#include <utility>
#include <vector>

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantList>

namespace quorl::db {
class Connection;
}

// The report environment: the commands the receipt, the booking form and the
// outstanding-balances list read. They run on the database in use, the one the
// program opened at start-up.

namespace quorl::reports {

// One row of a command, with the rows of each child command related to it.
struct CommandRow {
    QStringList names;
    QVariantList values;
    std::vector<std::pair<QString, std::vector<CommandRow>>> chapters;

    // By field name without regard to case; Null when the command has no such field.
    QVariant value(const QString &field) const;
    // The related rows of the child command of that name; none when it has no such child.
    const std::vector<CommandRow> &chapter(const QString &name) const;
};

namespace DataEnvironment1 {

extern const char *const Receipt;
extern const char *const Booking;
extern const char *const Outstanding;

// Runs a plain SELECT or a SHAPE command. A SHAPE command runs each of its SELECTs
// once; a child row belongs to a parent row when its related field equals the
// parent's (Null equals nothing). Throws db::Error.
std::vector<CommandRow> run(const QString &command, db::Connection &connection);

// The same on the program's shared connection.
std::vector<CommandRow> run(const QString &command);

} // namespace DataEnvironment1

} // namespace quorl::reports
