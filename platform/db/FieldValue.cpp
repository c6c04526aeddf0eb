#include "platform/db/FieldValue.h"

#include <cmath>
#include <limits>
#include <utility>

#include <QDate>
#include <QLocale>
#include <QTime>

namespace quorl::db {
namespace {

// Jet's day zero: a time without a date lies on it.
const QDate kDayZero(1899, 12, 30);
// The day numbers of 1 January 100 and 31 December 9999.
constexpr double kFirstSerial = -657434;
constexpr double kLastSerial = 2958465;

int digitsAt(QStringView text, qsizetype pos, int count)
{
    int value = 0;
    for (int i = 0; i < count; ++i) {
        const QChar c = text[pos + i];
        if (!c.isDigit())
            return -1;
        value = value * 10 + c.digitValue();
    }
    return value;
}

int twoDigitYear(int year)
{
    // As Jet reads a two-digit year: 00-29 this century, 30-99 the last.
    return year < 30 ? 2000 + year : 1900 + year;
}

// "h:m[:s]" with an optional AM/PM, attached or after a blank.
bool parseTime(QStringView text, QTime *out)
{
    QString t = text.trimmed().toString().toUpper();
    int addHours = 0;
    bool meridian = false;
    if (t.endsWith(QLatin1String("AM")) || t.endsWith(QLatin1String("PM"))) {
        meridian = true;
        addHours = t.endsWith(QLatin1String("PM")) ? 12 : 0;
        t.chop(2);
        t = t.trimmed();
    }
    const QStringList parts = t.split(QLatin1Char(':'));
    if (parts.size() < 2 || parts.size() > 3)
        return false;
    int numbers[3] = {0, 0, 0};
    for (int i = 0; i < parts.size(); ++i) {
        bool ok = false;
        const QString part = parts[i].trimmed();
        if (part.isEmpty())
            return false;
        if (i == 2) {
            // Checked before it becomes an int: "9999999999" or "nan" would not fit one.
            const double seconds = part.toDouble(&ok);
            if (!ok || !(seconds >= 0 && seconds < 60))
                return false;
            numbers[i] = int(seconds);
        } else {
            numbers[i] = part.toInt(&ok);
        }
        if (!ok)
            return false;
    }
    int hour = numbers[0];
    if (meridian) {
        if (hour < 1 || hour > 12)
            return false;
        hour = hour % 12 + addHours;
    }
    const QTime time(hour, numbers[1], numbers[2]);
    if (!time.isValid())
        return false;
    *out = time;
    return true;
}

// "y/m/d" when the first number has four digits, else m/d/y or d/m/y as asked.
bool parseDate(QStringView text, bool monthFirst, QDate *out)
{
    QString t = text.toString();
    t.replace(QLatin1Char('-'), QLatin1Char('/'));
    t.replace(QLatin1Char('.'), QLatin1Char('/'));
    const QStringList parts = t.split(QLatin1Char('/'));
    if (parts.size() != 3)
        return false;
    int n[3];
    for (int i = 0; i < 3; ++i) {
        bool ok = false;
        n[i] = parts[i].toInt(&ok);
        if (!ok || parts[i].isEmpty())
            return false;
    }
    int year, month, day;
    if (parts[0].size() == 4) {
        year = n[0];
        month = n[1];
        day = n[2];
    } else {
        year = parts[2].size() <= 2 ? twoDigitYear(n[2]) : n[2];
        month = monthFirst ? n[0] : n[1];
        day = monthFirst ? n[1] : n[0];
    }
    const QDate date(year, month, day);
    if (!date.isValid())
        return false;
    *out = date;
    return true;
}

bool parseDateTime(QStringView text, bool monthFirst, QDate *dateOut, QTime *timeOut)
{
    const QString t = text.trimmed().toString();
    if (t.isEmpty())
        return false;
    const qsizetype blank = t.indexOf(QLatin1Char(' '));
    const QString first = blank < 0 ? t : t.left(blank);
    const QString rest = blank < 0 ? QString() : t.mid(blank + 1).trimmed();
    QDate date;
    QTime time(0, 0);
    if (first.contains(QLatin1Char(':'))) {
        if (!parseTime(t, &time))
            return false;
        date = kDayZero;
    } else {
        if (!parseDate(first, monthFirst, &date))
            return false;
        if (!rest.isEmpty() && !parseTime(rest, &time))
            return false;
    }
    *dateOut = date;
    *timeOut = time;
    return true;
}

// "YYYY-MM-DD", optionally followed by " HH:MM[:SS[.fff]]" (or "T" for the blank).
bool storedTextParts(QStringView text, QDate *dateOut, QTime *timeOut)
{
    const qsizetype n = text.size();
    if (n != 10 && n != 16 && n != 19 && !(n > 20 && text[19] == QLatin1Char('.')))
        return false;
    if (text[4] != QLatin1Char('-') || text[7] != QLatin1Char('-'))
        return false;
    const int year = digitsAt(text, 0, 4), month = digitsAt(text, 5, 2), day = digitsAt(text, 8, 2);
    int hour = 0, minute = 0, second = 0;
    if (n >= 16) {
        if ((text[10] != QLatin1Char(' ') && text[10] != QLatin1Char('T')) || text[13] != QLatin1Char(':'))
            return false;
        hour = digitsAt(text, 11, 2);
        minute = digitsAt(text, 14, 2);
        if (n >= 19) {
            if (text[16] != QLatin1Char(':'))
                return false;
            second = digitsAt(text, 17, 2);
        }
    }
    if (year < 0 || month < 0 || day < 0 || hour < 0 || minute < 0 || second < 0)
        return false;
    const QDate date(year, month, day);
    const QTime time(hour, minute, second);
    if (!date.isValid() || !time.isValid())
        return false;
    *dateOut = date;
    *timeOut = time;
    return true;
}

// The stored text is the wall-clock reading, built from the date and the time of day.
QString wallClockText(QDate d, QTime t)
{
    return QString::asprintf("%04d-%02d-%02d %02d:%02d:%02d", d.year(), d.month(), d.day(), t.hour(), t.minute(),
                             t.second());
}

bool isNumericType(int typeId)
{
    switch (typeId) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Bool:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
        return true;
    default:
        return false;
    }
}

bool isNull(const QVariant &v)
{
    return !v.isValid();
}

// A date given as an empty QDateTime (a picker left blank) is Null, not an error.
bool isEmptyDate(const QVariant &v)
{
    switch (v.typeId()) {
    // A local reading in the hour the clocks skip is no valid QDateTime, but it keeps
    // its date: only a date-time without a date is blank.
    case QMetaType::QDateTime: return !v.toDateTime().date().isValid();
    case QMetaType::QDate: return !v.toDate().isValid();
    case QMetaType::QTime: return !v.toTime().isValid();
    default: return false;
    }
}

[[noreturn]] void refuse(const QVariant &value, const QString &fieldName, const QString &what)
{
    const QString shown = value.typeId() == QMetaType::QString ? QLatin1Char('"') + value.toString() + QLatin1Char('"')
                                                               : value.toString();
    throw Error(QStringLiteral("The field '%1' takes %2; %3 does not fit.").arg(fieldName, what, shown));
}

// A number from a value given for a numeric field; false when there is none.
bool numberOf(const QVariant &value, double *out)
{
    if (value.typeId() == QMetaType::Bool) {
        *out = value.toBool() ? -1.0 : 0.0;
        return true;
    }
    if (isNumericType(value.typeId())) {
        *out = value.toDouble();
        return std::isfinite(*out);
    }
    if (value.typeId() == QMetaType::QString || value.typeId() == QMetaType::QByteArray) {
        const QString text = value.toString().trimmed();
        if (text.isEmpty())
            return false;
        bool ok = false;
        *out = text.toDouble(&ok);
        return ok && std::isfinite(*out);
    }
    return false;
}

double truthOf(const QVariant &cell)
{
    if (cell.typeId() == QMetaType::Bool)
        return cell.toBool() ? -1 : 0;
    if (cell.typeId() == QMetaType::QString) {
        const QString text = cell.toString().trimmed();
        if (text.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
            return -1;
        if (text.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
            return 0;
    }
    return cell.toDouble() != 0 ? -1 : 0;
}

// "YYYY-MM-DD HH:MM:SS": two such texts compare as their times do.
bool isCanonicalDateText(const QVariant &cell)
{
    if (cell.typeId() != QMetaType::QString)
        return false;
    const QString text = cell.toString();
    return text.size() == 19 && text[4] == QLatin1Char('-') && text[10] == QLatin1Char(' ')
        && text[13] == QLatin1Char(':');
}

QDateTime dateOfCell(const QVariant &cell)
{
    if (cell.typeId() == QMetaType::QDateTime)
        return cell.toDateTime();
    if (cell.typeId() == QMetaType::QString)
        return dateFromStoredText(cell.toString());
    return QDateTime();
}

template <typename T>
int threeWay(T a, T b)
{
    return a < b ? -1 : (b < a ? 1 : 0);
}

} // namespace

FieldType fieldTypeFromDeclared(const QString &declaredType, int *definedSize)
{
    QString type = declaredType.trimmed().toUpper();
    int size = 0;
    const qsizetype paren = type.indexOf(QLatin1Char('('));
    if (paren >= 0) {
        size = type.mid(paren + 1).section(QLatin1Char(')'), 0, 0).section(QLatin1Char(','), 0, 0).trimmed().toInt();
        type = type.left(paren).trimmed();
    }
    if (definedSize)
        *definedSize = 0;
    if (type.isEmpty())
        return FieldType::Empty;
    if (type == QLatin1String("LONGTEXT") || type == QLatin1String("MEMO") || type == QLatin1String("LONGCHAR")
        || type == QLatin1String("NOTE") || type == QLatin1String("CLOB"))
        return FieldType::Memo;
    if (type == QLatin1String("YESNO") || type == QLatin1String("BIT") || type == QLatin1String("BOOLEAN")
        || type == QLatin1String("LOGICAL") || type == QLatin1String("BOOL"))
        return FieldType::Boolean;
    if (type == QLatin1String("CURRENCY") || type == QLatin1String("MONEY"))
        return FieldType::Currency;
    if (type == QLatin1String("DATETIME") || type == QLatin1String("DATE") || type == QLatin1String("TIME")
        || type == QLatin1String("TIMESTAMP"))
        return FieldType::Date;
    if (type == QLatin1String("DOUBLE") || type == QLatin1String("REAL") || type == QLatin1String("FLOAT")
        || type == QLatin1String("SINGLE") || type == QLatin1String("NUMERIC") || type == QLatin1String("DECIMAL")
        || type == QLatin1String("NUMBER"))
        return FieldType::Double;
    if (type.contains(QLatin1String("INT")) || type == QLatin1String("LONG") || type == QLatin1String("COUNTER")
        || type == QLatin1String("AUTOINCREMENT") || type == QLatin1String("BYTE"))
        return FieldType::Long;
    if (type.contains(QLatin1String("CHAR")) || type.contains(QLatin1String("TEXT")) || type == QLatin1String("STRING")) {
        if (definedSize)
            *definedSize = size;
        return FieldType::Text;
    }
    return FieldType::Empty;
}

QString fieldTypeName(FieldType type)
{
    switch (type) {
    case FieldType::Empty: return QStringLiteral("Empty");
    case FieldType::Long: return QStringLiteral("Long");
    case FieldType::Double: return QStringLiteral("Double");
    case FieldType::Currency: return QStringLiteral("Currency");
    case FieldType::Boolean: return QStringLiteral("Boolean");
    case FieldType::Date: return QStringLiteral("Date");
    case FieldType::Text: return QStringLiteral("Text");
    case FieldType::Memo: return QStringLiteral("Memo");
    }
    return QString();
}

QDateTime wallClockDateTime(QDate date, QTime time)
{
    return QDateTime(date, time, Qt::UTC);
}

QString storedDateText(const QDateTime &value)
{
    return wallClockText(value.date(), value.time());
}

QDateTime dateFromStoredText(QStringView text)
{
    QDate date;
    QTime time;
    if (!storedTextParts(text, &date, &time))
        return QDateTime();
    return wallClockDateTime(date, time);
}

bool parseJetDate(QStringView text, QDateTime *out)
{
    QDate date;
    QTime time;
    if (!parseDateTime(text, true, &date, &time))
        return false;
    *out = wallClockDateTime(date, time);
    return true;
}

bool parseJetDateText(QStringView text, QString *storedText)
{
    QDate date;
    QTime time;
    if (!parseDateTime(text, true, &date, &time))
        return false;
    *storedText = wallClockText(date, time);
    return true;
}

QString numberText(double value)
{
    if (value == std::floor(value) && std::fabs(value) < 1e15)
        return QString::number(qint64(value));
    return QString::number(value, 'g', QLocale::FloatingPointShortest);
}

double roundCurrency(double value)
{
    return std::round(value * 10000.0) / 10000.0;
}

QVariant coerceForField(const QVariant &value, FieldType type, int definedSize, const QString &fieldName)
{
    if (isNull(value) || isEmptyDate(value))
        return QVariant();
    switch (type) {
    case FieldType::Empty:
        return value;
    case FieldType::Long: {
        double number = 0;
        if (!numberOf(value, &number) || number != std::floor(number))
            refuse(value, fieldName, QStringLiteral("a whole number"));
        if (number < std::numeric_limits<qint32>::min() || number > std::numeric_limits<qint32>::max())
            refuse(value, fieldName, QStringLiteral("a whole number between -2147483648 and 2147483647"));
        return QVariant(int(number));
    }
    case FieldType::Double:
    case FieldType::Currency: {
        double number = 0;
        if (!numberOf(value, &number))
            refuse(value, fieldName, QStringLiteral("a number"));
        return QVariant(type == FieldType::Currency ? roundCurrency(number) : number);
    }
    case FieldType::Boolean: {
        if (value.typeId() == QMetaType::Bool)
            return QVariant(value.toBool());
        if (value.typeId() == QMetaType::QString) {
            const QString text = value.toString().trimmed();
            if (text.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0
                || text.compare(QLatin1String("yes"), Qt::CaseInsensitive) == 0)
                return QVariant(true);
            if (text.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0
                || text.compare(QLatin1String("no"), Qt::CaseInsensitive) == 0)
                return QVariant(false);
        }
        double number = 0;
        if (!numberOf(value, &number))
            refuse(value, fieldName, QStringLiteral("Yes or No"));
        return QVariant(number != 0);
    }
    case FieldType::Date: {
        QDate date;
        QTime time(0, 0);
        bool ok = false;
        switch (value.typeId()) {
        case QMetaType::QDateTime:
            date = value.toDateTime().date();
            time = value.toDateTime().time();
            ok = date.isValid() && time.isValid();
            break;
        case QMetaType::QDate:
            date = value.toDate();
            ok = date.isValid();
            break;
        case QMetaType::QTime:
            date = kDayZero;
            time = value.toTime();
            ok = time.isValid();
            break;
        case QMetaType::QString: {
            const QString text = value.toString().trimmed();
            // Typed dates read in the office's day/month/year order.
            ok = storedTextParts(text, &date, &time) || parseDateTime(text, false, &date, &time);
            break;
        }
        default: {
            double serial = 0;
            // Days since 30 December 1899, within the years 100 to 9999 that a date can
            // hold; a number beyond them (1e19) would not even fit the day count.
            if (isNumericType(value.typeId()) && numberOf(value, &serial) && serial >= kFirstSerial
                && serial < kLastSerial + 1) {
                const qint64 days = qint64(std::floor(serial));
                const qint64 seconds = qint64(std::llround((serial - double(days)) * 86400.0));
                date = kDayZero.addDays(days + seconds / 86400);
                time = QTime(0, 0).addSecs(int(seconds % 86400));
                ok = date.isValid();
            }
            break;
        }
        }
        if (!ok)
            refuse(value, fieldName, QStringLiteral("a date"));
        return QVariant(wallClockText(date, time));
    }
    case FieldType::Text:
    case FieldType::Memo: {
        QString text;
        if (value.typeId() == QMetaType::Bool)
            text = value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
        else if (value.typeId() == QMetaType::QDateTime)
            text = storedDateText(value.toDateTime());
        else if (value.typeId() == QMetaType::Double)
            text = numberText(value.toDouble());
        else
            text = value.toString();
        if (type == FieldType::Text && definedSize > 0 && text.size() > definedSize)
            refuse(value, fieldName, QStringLiteral("at most %1 characters").arg(definedSize));
        return QVariant(text);
    }
    }
    return value;
}

QVariant readableValue(const QVariant &cell, FieldType type)
{
    if (type == FieldType::Date && cell.typeId() == QMetaType::QString) {
        const QDateTime when = dateFromStoredText(cell.toString());
        if (when.isValid())
            return QVariant(when);
    }
    return cell;
}

QVariant bindableValue(const QVariant &cell, FieldType type)
{
    if (isNull(cell))
        return QVariant();
    switch (type) {
    case FieldType::Boolean:
        return QVariant(int(truthOf(cell)));
    case FieldType::Currency:
        if (isNumericType(cell.typeId()))
            return QVariant(roundCurrency(cell.toDouble()));
        return cell;
    case FieldType::Date:
        if (cell.typeId() == QMetaType::QDateTime)
            return QVariant(storedDateText(cell.toDateTime()));
        return cell;
    default:
        return cell;
    }
}

int compareCells(const QVariant &a, const QVariant &b, FieldType type)
{
    const bool aNull = isNull(a), bNull = isNull(b);
    if (aNull || bNull)
        return aNull && bNull ? 0 : (aNull ? -1 : 1);
    switch (type) {
    case FieldType::Boolean:
        return threeWay(truthOf(a), truthOf(b));
    case FieldType::Date:
        if (isCanonicalDateText(a) && isCanonicalDateText(b))
            return threeWay(a.toString(), b.toString());
        {
            const QDateTime da = dateOfCell(a), db = dateOfCell(b);
            // By the reading, not the moment: a value made in local time compares with
            // a stored one as the clocks show both.
            if (da.date().isValid() && db.date().isValid())
                return threeWay(std::pair(da.date(), da.time()), std::pair(db.date(), db.time()));
        }
        return QString::compare(a.toString(), b.toString(), Qt::CaseInsensitive);
    case FieldType::Long:
    case FieldType::Double:
    case FieldType::Currency:
    case FieldType::Empty:
        if (isNumericType(a.typeId()) && isNumericType(b.typeId())) {
            if (a.typeId() != QMetaType::Double && b.typeId() != QMetaType::Double)
                return threeWay(a.toLongLong(), b.toLongLong());
            return threeWay(a.toDouble(), b.toDouble());
        }
        return QString::compare(a.toString(), b.toString(), Qt::CaseInsensitive);
    case FieldType::Text:
    case FieldType::Memo:
        break;
    }
    return QString::compare(a.toString(), b.toString(), Qt::CaseInsensitive);
}

} // namespace quorl::db
