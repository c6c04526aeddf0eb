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

// A setting that holds no time of day (empty, "9", "25:00") gives the usual time.
QTime registryTime(const char *valueName, const char *defaultValue)
{
    QString text = GetRegistryValue(HKEY_LOCAL_MACHINE, QString::fromUtf8(kProgramKey), QString::fromUtf8(valueName),
                                    QString::fromUtf8(defaultValue))
                       .trimmed();
    // A time written with a date part, as a date-time value becomes text, sets its
    // time of day all the same.
    static const QRegularExpression datePart(QStringLiteral("^\\d{1,2}/\\d{1,2}/\\d{2,4}\\s+"));
    text.remove(datePart);
    for (const char *format : {"H:mm", "H:mm:ss", "HH:mm", "HH:mm:ss", "h:mm AP", "h:mm:ss AP"}) {
        const QTime time = QTime::fromString(text, QString::fromLatin1(format));
        if (time.isValid())
            return time;
    }
    return QTime::fromString(QString::fromUtf8(defaultValue), QStringLiteral("HH:mm"));
}

bool countsShownSetting()
{
    const QString value = GetRegistryValue(HKEY_LOCAL_MACHINE, QString::fromUtf8(kProgramKey),
                                           QString::fromUtf8(kValueShowAdultsAndKids),
                                           QString::fromUtf8(kDefaultShowAdultsAndKids));
    return leadingNumber(value) != 0;
}

} // namespace quorl
