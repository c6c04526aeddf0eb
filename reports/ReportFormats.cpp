#include "reports/ReportFormats.h"

#include <QLocale>

#include "platform/text/Text.h"

namespace quorl::reports {

QString moneyText(const QVariant &value)
{
    if (value.isNull())
        return QString();
    bool isNumber = false;
    const double amount = value.toDouble(&isNumber);
    if (!isNumber)
        return value.toString();
    return text::formatNumber(amount, text::currencySymbol() + QStringLiteral("#,##0.00"));
}

QString listDateText(const QDateTime &value)
{
    return value.isValid() ? value.toString(QStringLiteral("dd.MM.yyyy HH:mm")) : QString();
}

QString plainText(const QVariant &value)
{
    if (value.isNull())
        return QString();
    switch (value.typeId()) {
    case QMetaType::QDateTime:
        return text::formatGeneralDate(value.toDateTime());
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    case QMetaType::Double:
        return QString::number(value.toDouble(), 'g', 15);
    default:
        return value.toString();
    }
}

QString longDateText(const QDate &date)
{
    // Month names in English whatever the system's language, as the fixed UK forms are.
    return QLocale(QLocale::English, QLocale::UnitedKingdom).toString(date, QStringLiteral("dd MMMM yyyy"));
}

QString shortTimeText(const QTime &time)
{
    return time.toString(QStringLiteral("HH:mm"));
}

QString checkBoxText(const QVariant &value)
{
    const bool ticked = !value.isNull() && value.toBool();
    return ticked ? QStringLiteral("\u2612") : QStringLiteral("\u2610");
}

} // namespace quorl::reports
