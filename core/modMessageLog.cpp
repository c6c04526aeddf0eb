#include "core/modMessageLog.h"

#include <cmath>
#include <filesystem>
#include <limits>
#include <stdexcept>

#include <QDate>
#include <QDateTime>
#include <QFileInfo>
#include <QTime>

#include "platform/paths/Paths.h"
#include "platform/text/Text.h"
#include "platform/ui/Clock.h"

namespace quorl {
namespace {

// Raised while a format is filled; its text is the description the log shows.
class FormatError : public std::runtime_error
{
public:
    explicit FormatError(const char *description)
        : std::runtime_error(description)
    {
    }
};

const QVariant &argumentAt(const QVariantList &arguments, int index)
{
    if (index < 0 || index >= arguments.size())
        throw FormatError("Subscript out of range");
    return arguments.at(index);
}

bool isNumberType(const QVariant &value)
{
    switch (value.metaType().id()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
    case QMetaType::Double:
    case QMetaType::Float:
        return true;
    default:
        return false;
    }
}

// A value as the user reads it: whole numbers plainly, fractions with up to 15
// significant digits, dates in the general date form.
QString textOf(const QVariant &value)
{
    if (!value.isValid() || value.isNull())
        throw FormatError("Invalid use of Null");
    switch (value.metaType().id()) {
    case QMetaType::QString:
        return value.toString();
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    case QMetaType::Double:
    case QMetaType::Float:
        return QString::number(value.toDouble(), 'g', 15).toUpper();
    case QMetaType::QDateTime:
        return text::formatGeneralDate(value.toDateTime());
    case QMetaType::QDate:
        return text::formatShortDate(value.toDate());
    case QMetaType::QTime:
        return text::formatLongTime(value.toTime());
    default:
        break;
    }
    if (isNumberType(value))
        return value.toString();
    if (value.canConvert<QString>())
        return value.toString();
    throw FormatError("Type mismatch");
}

// A value as a whole number, rounding halves to even as the conversion to Long does.
qint64 wholeNumberOf(const QVariant &value, qint64 low, qint64 high)
{
    if (!value.isValid() || value.isNull())
        throw FormatError("Invalid use of Null");
    double number = 0;
    if (value.metaType().id() == QMetaType::Bool) {
        number = value.toBool() ? -1 : 0;
    } else if (value.metaType().id() == QMetaType::QString) {
        bool ok = false;
        number = value.toString().trimmed().toDouble(&ok);
        if (!ok)
            throw FormatError("Type mismatch");
    } else if (isNumberType(value)) {
        if (value.metaType().id() != QMetaType::Double && value.metaType().id() != QMetaType::Float) {
            bool ok = false;
            const qlonglong whole = value.toLongLong(&ok);
            if (!ok || whole < low || whole > high)
                throw FormatError("Overflow");
            return whole;
        }
        number = value.toDouble();
    } else {
        throw FormatError("Type mismatch");
    }
    if (!std::isfinite(number))
        throw FormatError("Overflow");
    const double rounded = std::nearbyint(number);
    if (rounded < static_cast<double>(low) || rounded > static_cast<double>(high))
        throw FormatError("Overflow");
    return static_cast<qint64>(rounded);
}

QString hexDigits(quint32 bits)
{
    return QString::number(bits, 16).toUpper();
}

QString fillSprintf(const QString &format, const QVariantList &arguments)
{
    QString result;
    result.reserve(format.size() + 32);
    int next = 0;
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format.at(i);
        if (c != QLatin1Char('%')) {
            result += c;
            continue;
        }
        if (i + 1 >= format.size())
            break;
        const QChar code = format.at(++i);
        switch (code.unicode()) {
        case 'd':
        case 'D':
        case 's':
        case 'S':
            result += textOf(argumentAt(arguments, next++));
            break;
        case 'h':
        case 'H': {
            const qint64 number = wholeNumberOf(argumentAt(arguments, next++), std::numeric_limits<qint32>::min(),
                                                std::numeric_limits<qint32>::max());
            result += QStringLiteral("&H") + hexDigits(static_cast<quint32>(number));
            break;
        }
        case 'n':
            result += QStringLiteral("\r\n");
            break;
        case 't':
            result += QLatin1Char('\t');
            break;
        default:
            result += code;
            break;
        }
    }
    return result;
}

QString fillLogFormat(const QString &format, const QVariantList &arguments)
{
    QString result;
    int next = 0;
    int position = 1;
    for (QString c = NextChar(format, position); !c.isEmpty(); c = NextChar(format, position)) {
        if (c != QLatin1String("%")) {
            result += c;
            continue;
        }
        const QString code = NextChar(format, position);
        if (code.isEmpty())
            break;
        switch (code.at(0).unicode()) {
        case 's':
        case 'S':
        case 'd':
        case 'D':
            result += textOf(argumentAt(arguments, next++));
            break;
        case 'x':
        case 'X': {
            // Only the last eight digits count, so any whole number fits.
            const qint64 number = wholeNumberOf(argumentAt(arguments, next++), std::numeric_limits<qint64>::min(),
                                                std::numeric_limits<qint64>::max());
            result += hexDigits(static_cast<quint32>(static_cast<quint64>(number) & 0xFFFFFFFFu))
                          .rightJustified(8, QLatin1Char('0'));
            break;
        }
        default:
            result += code;
            break;
        }
    }
    return result;
}

QString levelTag(int level)
{
    switch (level) {
    case kLogInfo:
        return QStringLiteral(" (INF): ");
    case kLogDebug:
        return QStringLiteral(" (DBG): ");
    case kLogError:
        return QStringLiteral(" (ERR): ");
    default:
        return QStringLiteral(" ");
    }
}

// Moves a full log aside. An older ".bak" is replaced, so the log never stays
// stuck above its limit; when even that fails the line still goes to the log.
void rollOver(const QString &logPath)
{
    const QFileInfo info(logPath);
    if (!info.exists() || info.size() <= kMessageLogLimit)
        return;
    std::error_code error;
    std::filesystem::rename(std::filesystem::path(logPath.toStdString()),
                            std::filesystem::path((logPath + QStringLiteral(".bak")).toStdString()), error);
}

} // namespace

QString NextChar(const QString &text, int &position)
{
    if (position < 1 || position > text.size())
        return QString();
    return text.mid(position++ - 1, 1);
}

QString messageLogPath()
{
    return paths::programFolder() + QStringLiteral("/message.log");
}

QString Sprintf(const QString &format, const QVariantList &arguments)
{
    try {
        return fillSprintf(format, arguments);
    } catch (const std::exception &error) {
        LogMessage(kLogError, QStringLiteral("Sprintf: %s, [%s]"),
                   QVariantList{QString::fromUtf8(error.what()), format});
    }
    return QString();
}

void LogMessage(int level, const QString &format, const QVariantList &arguments)
{
    try {
        // One entry a line: an error text or a name that carries a line break would
        // otherwise start a line that looks like one the program wrote.
        const QString text = text::oneLine(fillLogFormat(format, arguments));
        const QString stamp = ui::Now().toString(QStringLiteral("dd/MM/yyyy HH:mm:ss"));
        const QString path = messageLogPath();
        rollOver(path);
        text::appendAnsiFile(path, stamp + levelTag(level) + text + QStringLiteral("\r\n"));
    } catch (...) {
        // The message log is the last resort: a failure to write it has nowhere to go.
    }
}

void logError(const QString &where, const QString &description)
{
    LogMessage(kLogError, QStringLiteral("%s: %s"), QVariantList{where, description});
}

void logError(const QString &where, const std::exception &error)
{
    logError(where, QString::fromUtf8(error.what()));
}

} // namespace quorl
