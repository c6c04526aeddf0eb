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

} // namespace quorl
