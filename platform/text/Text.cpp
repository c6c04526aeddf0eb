#include "platform/text/Text.h"

#include <array>
#include <cmath>

#include <QFile>
#include <QRegularExpression>
#include <QSaveFile>

namespace quorl::text {
namespace {

// Windows-1252 differs from Latin-1 only in 0x80-0x9F. The five bytes the code page
// leaves undefined stand for the C1 control of the same number, as Windows maps them.
constexpr std::array<char16_t, 32> kHighTable = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char ansiByte(char32_t codePoint)
{
    if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF))
        return char(codePoint);
    for (std::size_t i = 0; i < kHighTable.size(); ++i) {
        if (kHighTable[i] == codePoint)
            return char(0x80 + i);
    }
    return '?';
}

QString literalText(const QString &pattern)
{
    QString out;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern.at(i);
        if (c == QLatin1Char('"'))
            continue;
        if (c == QLatin1Char('\\') && i + 1 < pattern.size())
            out += pattern.at(++i);
        else
            out += c;
    }
    return out;
}

bool isNumberPlace(QChar c)
{
    return c == QLatin1Char('#') || c == QLatin1Char('0') || c == QLatin1Char('.') || c == QLatin1Char(',');
}

// Adds one in the last place of a string of decimal digits; true when it overflows.
bool incrementDigits(QString &digits)
{
    for (qsizetype i = digits.size() - 1; i >= 0; --i) {
        if (digits.at(i) == QLatin1Char('9')) {
            digits[i] = QLatin1Char('0');
        } else {
            digits[i] = QChar(digits.at(i).unicode() + 1);
            return false;
        }
    }
    return true;
}

} // namespace

QByteArray toAnsi(const QString &text)
{
    QByteArray out;
    out.reserve(text.size());
    for (const char32_t codePoint : text.toUcs4())
        out += ansiByte(codePoint);
    return out;
}

QString fromAnsi(const QByteArray &bytes)
{
    QString out;
    out.reserve(bytes.size());
    for (const char b : bytes) {
        const auto u = static_cast<unsigned char>(b);
        out += (u >= 0x80 && u <= 0x9F) ? QChar(kHighTable[u - 0x80]) : QChar(char16_t(u));
    }
    return out;
}

QString oneLine(const QString &text)
{
    QString out = text;
    for (QChar &c : out) {
        if (c.category() == QChar::Other_Control || c == QChar::LineSeparator || c == QChar::ParagraphSeparator)
            c = QLatin1Char(' ');
    }
    return out;
}

QString crlf(const QString &text)
{
    QString out;
    out.reserve(text.size() + text.size() / 16);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('\r')) {
            out += QLatin1String("\r\n");
            if (i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n'))
                ++i;
        } else if (c == QLatin1Char('\n')) {
            out += QLatin1String("\r\n");
        } else {
            out += c;
        }
    }
    return out;
}

bool appendAnsiFile(const QString &localPath, const QString &text)
{
    QFile file(localPath);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return false;
    const QByteArray bytes = toAnsi(text);
    const bool written = file.write(bytes) == bytes.size() && file.flush();
    file.close();
    return written && file.error() == QFileDevice::NoError;
}

bool writeAnsiFile(const QString &localPath, const QString &text)
{
    QSaveFile file(localPath);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray bytes = toAnsi(text);
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

QString readAnsiFile(const QString &localPath, bool *ok)
{
    QFile file(localPath);
    const bool opened = file.open(QIODevice::ReadOnly);
    const QByteArray bytes = opened ? file.readAll() : QByteArray();
    if (ok)
        *ok = opened && file.error() == QFileDevice::NoError;
    return fromAnsi(bytes);
}

QStringList readAnsiLines(const QString &localPath)
{
    QString text = readAnsiFile(localPath);
    if (text.isEmpty())
        return {};
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    if (text.endsWith(QLatin1Char('\n')))
        text.chop(1);
    return text.split(QLatin1Char('\n'));
}

QString formatShortDate(const QDate &date)
{
    return date.isValid() ? date.toString(QLatin1String(kShortDateFormat)) : QString();
}

QString formatLongTime(const QTime &time)
{
    return time.isValid() ? time.toString(QLatin1String(kLongTimeFormat)) : QString();
}

QString formatGeneralDate(const QDateTime &value)
{
    if (!value.isValid())
        return QString();
    if (value.date() == QDate(1899, 12, 30))
        return formatLongTime(value.time());
    if (value.time() == QTime(0, 0))
        return formatShortDate(value.date());
    return formatShortDate(value.date()) + QLatin1Char(' ') + formatLongTime(value.time());
}

QString currencySymbol()
{
    return QStringLiteral("£");
}

QString formatNumber(double value, const QString &vbPattern)
{
    if (!std::isfinite(value))
        return QString::number(value);

    qsizetype start = 0;
    while (start < vbPattern.size() && !isNumberPlace(vbPattern.at(start)))
        ++start;
    qsizetype end = start;
    while (end < vbPattern.size() && isNumberPlace(vbPattern.at(end)))
        ++end;
    const QString prefix = literalText(vbPattern.left(start));
    const QString suffix = literalText(vbPattern.mid(end));
    const QString places = vbPattern.mid(start, end - start);
    const qsizetype point = places.indexOf(QLatin1Char('.'));
    const QString intPlaces = point < 0 ? places : places.left(point);
    const QString decPlaces = point < 0 ? QString() : places.mid(point + 1);
    const qsizetype minInt = intPlaces.count(QLatin1Char('0'));
    const bool grouping = intPlaces.contains(QLatin1Char(','));
    const qsizetype minDec = decPlaces.count(QLatin1Char('0'));
    const qsizetype maxDec = minDec + decPlaces.count(QLatin1Char('#'));

    // The 15 significant digits the value is known to, as "d.dddddddddddddde+XX".
    const QString scientific = QString::number(std::fabs(value), 'e', 14);
    const qsizetype ePos = scientific.indexOf(QLatin1Char('e'));
    const QString mantissa = scientific.left(1) + scientific.mid(2, ePos - 2);
    const int exponent = scientific.mid(ePos + 1).toInt();

    QString intDigits;
    QString fracDigits;
    if (exponent >= 0) {
        const qsizetype intCount = exponent + 1;
        intDigits = mantissa.left(intCount);
        if (intCount > mantissa.size())
            intDigits += QString(intCount - mantissa.size(), QLatin1Char('0'));
        fracDigits = mantissa.mid(intCount);
    } else {
        fracDigits = QString(-exponent - 1, QLatin1Char('0')) + mantissa;
    }

    if (fracDigits.size() > maxDec) {
        const bool roundUp = fracDigits.at(maxDec) >= QLatin1Char('5');
        fracDigits.truncate(maxDec);
        if (roundUp) {
            QString all = intDigits + fracDigits;
            if (incrementDigits(all))
                all.prepend(QLatin1Char('1'));
            intDigits = all.left(all.size() - fracDigits.size());
            fracDigits = all.right(fracDigits.size());
        }
    }
    while (fracDigits.size() < maxDec)
        fracDigits += QLatin1Char('0');
    while (fracDigits.size() > minDec && fracDigits.endsWith(QLatin1Char('0')))
        fracDigits.chop(1);

    qsizetype firstSignificant = 0;
    while (firstSignificant < intDigits.size() && intDigits.at(firstSignificant) == QLatin1Char('0'))
        ++firstSignificant;
    intDigits = intDigits.mid(firstSignificant);
    while (intDigits.size() < minInt)
        intDigits.prepend(QLatin1Char('0'));

    const bool isZero = !(intDigits + fracDigits).contains(QRegularExpression(QStringLiteral("[1-9]")));
    if (grouping) {
        for (qsizetype pos = intDigits.size() - 3; pos > 0; pos -= 3)
            intDigits.insert(pos, QLatin1Char(','));
    }

    QString result;
    if (value < 0 && !isZero)
        result += QLatin1Char('-');
    result += prefix + intDigits;
    if (point >= 0)
        result += QLatin1Char('.') + fracDigits;
    return result + suffix;
}

} // namespace quorl::text
