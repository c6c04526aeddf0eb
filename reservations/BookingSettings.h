#pragma once

#include <QTime>

// The booking form's settings, as the registry holds them under the program's key.

namespace quorl {

// The time of day a setting holds ("16:30:00", " 7:30 ", "2:30 PM", also with a date
// part before it); a setting that holds none (empty, "9", "25:00") gives
// defaultValue, "HH:mm".
QTime registryTime(const char *valueName, const char *defaultValue);

// Whether the form shows the numbers of adults and children: the setting's leading
// number is not 0 ("1" shows them, "0", "" or "abc" does not).
bool countsShownSetting();

} // namespace quorl
