#include "reservations/BookingCharges.h"

#include <cmath>
#include <limits>

#include <QRegularExpression>

#include "platform/text/Text.h"

namespace quorl {

QString MoneyFormat(double amount)
{
    return text::formatNumber(amount, QString::fromUtf8(kMoneyPattern));
}

std::optional<double> readNumber(const QString &text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return 0.0;
    // A sign may stand before or after the pound sign, but only once; commas group
    // thousands and nothing else, so "12,50" typed for 12.50 is refused, not read as 1250.
    static const QRegularExpression pattern(QStringLiteral(
        "^([+-])?\\s*(\\x{00A3})?\\s*([+-])?\\s*(\\d{1,3}(?:,\\d{3})+|\\d*)(?:\\.(\\d*))?$"));
    const QRegularExpressionMatch match = pattern.match(trimmed);
    if (!match.hasMatch())
        return std::nullopt;
    const QString leadingSign = match.captured(1);
    const QString innerSign = match.captured(3);
    if (!leadingSign.isEmpty() && !innerSign.isEmpty())
        return std::nullopt;
    QString whole = match.captured(4);
    whole.remove(QLatin1Char(','));
    const QString fraction = match.captured(5);
    if (whole.isEmpty() && fraction.isEmpty())
        return std::nullopt;
    bool ok = false;
    double value = QString(QStringLiteral("%1.%2")).arg(whole.isEmpty() ? QStringLiteral("0") : whole,
                                                       fraction.isEmpty() ? QStringLiteral("0") : fraction)
                       .toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    if (leadingSign == QLatin1String("-") || innerSign == QLatin1String("-"))
        value = -value;
    return value;
}

double amountOf(const QString &text)
{
    return readNumber(text).value_or(0.0);
}

bool isNumberText(const QString &text)
{
    return readNumber(text).has_value();
}

bool isWholeNumberText(const QString &text)
{
    const std::optional<double> value = readNumber(text);
    return value && std::floor(*value) == *value && *value >= double(std::numeric_limits<qint32>::min())
        && *value <= double(std::numeric_limits<qint32>::max());
}

QString plainNumberText(double value)
{
    QString text = QString::number(value, 'f', 10);
    while (text.endsWith(QLatin1Char('0')))
        text.chop(1);
    if (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    return text == QLatin1String("-0") ? QStringLiteral("0") : text;
}

QString asMoneyText(const QString &text)
{
    if (text.isEmpty())
        return text;
    const std::optional<double> value = readNumber(text);
    return value ? MoneyFormat(*value) : text;
}

int stayDays(const QDateTime &fromDateTime, const QDateTime &toDateTime)
{
    return int(fromDateTime.date().daysTo(toDateTime.date()));
}

double costOfHire(const QList<QVariant> &dailyCharges, int days)
{
    double cost = 0;
    for (const QVariant &charge : dailyCharges) {
        if (charge.isValid() && !charge.isNull())
            cost += charge.toDouble() * days;
    }
    return cost;
}

VatAndTotal vatAndTotal(double costOfHire, double otherCharges)
{
    const double sum = costOfHire + otherCharges;
    VatAndTotal result;
    result.vat = sum * kVatRate;
    result.total = sum + result.vat;
    return result;
}

} // namespace quorl
