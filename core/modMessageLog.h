#pragma once

#include <exception>
#include <type_traits>

#include <QString>
#include <QVariant>
#include <QVariantList>

namespace quorl {

// Levels of a message-log line.
enum LogLevel : int { kLogInfo = 1, kLogDebug = 2, kLogError = 3 };

// The message log is rolled over to "message.log.bak" once it grows past this size.
inline constexpr qint64 kMessageLogLimit = 409600;

// Builds a message text from a format with placeholders:
//   %d %D %s %S  the next argument as text (numbers and dates in their usual form)
//   %h %H        "&H" + the next argument as a whole number in upper-case hexadecimal
//   %n           CR LF          %t  TAB
//   % + any other character gives that character ("%%" gives "%"); a "%" ending the format gives nothing.
// A missing or unconvertible argument gives "" and a line in the message log.
QString Sprintf(const QString &format, const QVariantList &arguments = {});

namespace detail {
// Whole numbers of every width travel as one type, so long and size_t work too.
template <typename T>
QVariant sprintfArgument(const T &value)
{
    if constexpr (std::is_integral_v<T> && !std::is_same_v<T, bool>)
        return QVariant(qlonglong(value));
    else
        return QVariant(value);
}
} // namespace detail

template <typename... Arguments>
    requires(sizeof...(Arguments) > 0)
QString Sprintf(const QString &format, const Arguments &...arguments)
{
    return Sprintf(format, QVariantList{detail::sprintfArgument(arguments)...});
}

// Appends one line "dd/MM/yyyy HH:mm:ss" + level tag + text to "message.log" in the
// program folder. The format knows %s %S %d %D (text), %x %X (eight hexadecimal
// digits) and %%. A line break or other control character in the text is written
// as a blank. Never throws; a line that cannot be formatted is dropped.
void LogMessage(int level, const QString &format, const QVariantList &arguments = {});

// The character at the 1-based position, advancing the position; "" past the end.
QString NextChar(const QString &text, int &position);

// Local path of the message log.
QString messageLogPath();

// For every handler's error boundary: writes "<where>: <description>" at the error level.
void logError(const QString &where, const std::exception &error);
void logError(const QString &where, const QString &description);

} // namespace quorl
