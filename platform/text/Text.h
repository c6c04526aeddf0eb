#pragma once

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QTime>

// The program's files are "ANSI" text: Windows-1252 with CR LF line ends. Its
// regional forms are the fixed UK ones, kept here in one place so no window takes
// them from the system locale.

namespace quorl::text {

// Characters Windows-1252 cannot hold become "?".
QByteArray toAnsi(const QString &text);
QString fromAnsi(const QByteArray &bytes);

// Any mix of "\n", "\r\n" and "\r" becomes "\r\n".
QString crlf(const QString &text);

// The text on one line: CR, LF, TAB and every other control character (and the
// Unicode line and paragraph separators) become a blank, so a value written into a
// line-based log can never start a line of its own.
QString oneLine(const QString &text);

// Appends toAnsi(text), creating the file; the bytes are on disk when it returns.
// False when the file cannot be opened or written.
bool appendAnsiFile(const QString &localPath, const QString &text);

// Replaces the whole file atomically: a failed write leaves the old file as it was.
bool writeAnsiFile(const QString &localPath, const QString &text);

QString readAnsiFile(const QString &localPath, bool *ok = nullptr);

// Lines split at CR LF or LF; a line end after the last line adds no empty line.
QStringList readAnsiLines(const QString &localPath);

inline constexpr const char *kShortDateFormat = "dd/MM/yyyy";
inline constexpr const char *kLongTimeFormat = "HH:mm:ss";

QString formatShortDate(const QDate &date);
QString formatLongTime(const QTime &time);

// Short date, a blank and long time; a time of midnight is left out. A value on
// the zero day 30/12/1899 holds a time alone and shows as its time.
QString formatGeneralDate(const QDateTime &value);

QString currencySymbol();

// The Format patterns the program uses: an optional literal prefix such as "£",
// then "#", "0", "," (grouping) and "." (decimal point), an optional literal
// suffix. "0" places always show a digit, "#" places only when needed. Halves
// round away from zero on the value's 15-digit decimal form, so 2.675 gives "2.68".
// A negative value carries "-" before the prefix; one that rounds to nought has no sign.
QString formatNumber(double value, const QString &vbPattern);

} // namespace quorl::text
