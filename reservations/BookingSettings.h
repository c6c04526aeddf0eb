#pragma once

// The booking form's settings, as the registry holds them under the program's key.

namespace quorl {

// Whether the form shows the numbers of adults and children: the setting's leading
// number is not 0 ("1" shows them, "0", "" or "abc" does not).
bool countsShownSetting();

} // namespace quorl
