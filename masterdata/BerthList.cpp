#include "masterdata/BerthList.h"

#include <cmath>

#include <QRegularExpression>

namespace quorl {

std::optional<double> readBerthNumber(const QString &text, BerthNumberKind kind)
{
    static const QRegularExpression measure(
        QStringLiteral(R"(^[+-]?(?:\d+\.?\d*|\.\d+)(?:[eE][+-]?\d+)?$)"));
    static const QRegularExpression money(
        QStringLiteral(R"(^(?:[+-]?£?|£[+-]?)(?:\d+\.?\d*|\.\d+)(?:[eE][+-]?\d+)?$)"));
    QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return std::nullopt;
    const QRegularExpression &pattern = kind == BerthNumberKind::Money ? money : measure;
    if (!pattern.match(trimmed).hasMatch())
        return std::nullopt;
    trimmed.remove(QChar(0x00A3));
    bool ok = false;
    const double value = trimmed.toDouble(&ok);   // QString::toDouble reads the C locale
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    if (kind == BerthNumberKind::Money && std::fabs(value) > kMaxMoney)
        return std::nullopt;
    return value;
}

bool isValidBerthNumber(const QString &text, BerthNumberKind kind)
{
    return text.trimmed().isEmpty() || readBerthNumber(text, kind).has_value();
}

QString berthAddedDetails(const QString &name)
{
    return QStringLiteral("Name: '") + name + QLatin1Char('\'');
}

QString berthActivationDetails(const QString &name, bool active)
{
    return QStringLiteral("Berth '") + name + QStringLiteral("' ")
        + (active ? QStringLiteral("activated") : QStringLiteral("inactivated"));
}

QString berthDeletedDetails(const QString &listEntryText)
{
    return QStringLiteral("Name: '") + listEntryText + QLatin1Char('\'');
}

} // namespace quorl
