#pragma once

#include <QString>
#include <QTime>

// The program's own settings under its registry key, read and written by name
// (core/RegistryValues.h), and the reading of a setting that means a number.

namespace quorl {

QString programSetting(const char *valueName, const char *defaultValue);
void setProgramSetting(const char *valueName, const QString &value);

// The whole number a setting's text starts with, blanks before it passed over, as
// the settings were always read: "1" is 1, " -1" is -1, "2x" is 2; a text that
// starts with no digit ("", "abc") is 0.
int settingNumber(const QString &text);

// The time of day a setting holds ("16:30:00", " 7:30 ", "2:30 PM", also after a
// date part, as a date-time value turned into text has one); a setting that holds
// none (empty, "9", "25:00", "noon") gives defaultValue, "HH:mm".
QTime timeSetting(const char *valueName, const char *defaultValue);

} // namespace quorl
