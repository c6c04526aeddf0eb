#pragma once

namespace quorl {

// The program's title: message boxes without a title of their own carry it.
inline constexpr const char *kProductTitle = "Quorl Duzuruz";

// Caption of the main window; the start-up error message is titled with it too.
inline constexpr const char *kMainWindowCaption = "Quorl Duzuruz and Campsite Reservation by Tarvex";

} // namespace quorl
