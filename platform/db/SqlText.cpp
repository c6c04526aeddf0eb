#include "platform/db/SqlText.h"

#include <cmath>

#include "platform/db/FieldValue.h"

namespace quorl::db {

QString SqlQuote(const QString &text)
{
    QString quoted;
    quoted.reserve(text.size() + 2);
    quoted += QLatin1Char('\'');
    for (const QChar c : text) {
        if (c == QLatin1Char('\''))
            quoted += QLatin1Char('\'');
        quoted += c;
    }
    quoted += QLatin1Char('\'');
    return quoted;
}

QString escapeLikeText(const QString &text)
{
    QString escaped;
    escaped.reserve(text.size());
    for (const QChar c : text) {
        if (c == QLatin1Char('*') || c == QLatin1Char('%') || c == QLatin1Char('?') || c == QLatin1Char('_')
            || c == QLatin1Char('#') || c == QLatin1Char('[')) {
            escaped += QLatin1Char('[');
            escaped += c;
            escaped += QLatin1Char(']');
        } else {
            escaped += c;
        }
    }
    return escaped;
}

QString sqlNumber(double value)
{
    if (!std::isfinite(value))
        return QStringLiteral("NULL");
    return numberText(value);
}

QString sqlNumber(qint64 value)
{
    return QString::number(value);
}

QString sqlNumber(int value)
{
    return QString::number(value);
}

} // namespace quorl::db
