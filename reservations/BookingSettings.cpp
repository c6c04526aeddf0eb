#include "reservations/BookingSettings.h"

#include <QRegularExpression>
#include <QString>

#include "core/RegistryValues.h"
#include "platform/registry/Registry.h"

namespace quorl {
namespace {

// The number a setting text starts with, as the settings are read: "1" is 1, "" or
// "abc" is 0.
double leadingNumber(const QString &text)
{
    static const QRegularExpression number(QStringLiteral("^\\s*([+-]?(?:\\d+\\.?\\d*|\\.\\d+))"));
    const QRegularExpressionMatch match = number.match(text);
    return match.hasMatch() ? match.captured(1).toDouble() : 0.0;
}

} // namespace

bool countsShownSetting()
{
    const QString value = GetRegistryValue(HKEY_LOCAL_MACHINE, QString::fromUtf8(kProgramKey),
                                           QString::fromUtf8(kValueShowAdultsAndKids),
                                           QString::fromUtf8(kDefaultShowAdultsAndKids));
    return leadingNumber(value) != 0;
}

} // namespace quorl
