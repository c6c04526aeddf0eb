#include "core/ProgramSettings.h"

#include <QRegularExpression>

#include "core/RegistryValues.h"
#include "platform/registry/Registry.h"

namespace quorl {

QString programSetting(const char *valueName, const char *defaultValue)
{
    return GetRegistryValue(HKEY_LOCAL_MACHINE, QString::fromUtf8(kProgramKey), QString::fromUtf8(valueName),
                            QString::fromUtf8(defaultValue));
}

void setProgramSetting(const char *valueName, const QString &value)
{
    SetRegistryValue(HKEY_LOCAL_MACHINE, QString::fromUtf8(kProgramKey), QString::fromUtf8(valueName), value);
}

int settingNumber(const QString &text)
{
    static const QRegularExpression number(QStringLiteral("^\\s*([+-]?\\d{1,9})"));
    const QRegularExpressionMatch match = number.match(text);
    return match.hasMatch() ? match.captured(1).toInt() : 0;
}

QTime timeSetting(const char *valueName, const char *defaultValue)
{
    static const QRegularExpression datePart(QStringLiteral("^\\d{1,2}/\\d{1,2}/\\d{2,4}\\s+"));
    QString text = programSetting(valueName, defaultValue).trimmed();
    text.remove(datePart);
    // "H" reads one digit or two, so "09:00" and "9:00" both are times.
    for (const char *format : {"H:mm", "H:mm:ss", "h:mm AP", "h:mm:ss AP"}) {
        const QTime time = QTime::fromString(text, QString::fromLatin1(format));
        if (time.isValid())
            return time;
    }
    return QTime::fromString(QString::fromUtf8(defaultValue), QStringLiteral("HH:mm"));
}

} // namespace quorl
