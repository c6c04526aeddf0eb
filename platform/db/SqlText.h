#pragma once

#include <QString>

// The few helpers through which values enter SQL and filter text.

namespace quorl::db {

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

} // namespace quorl::db
