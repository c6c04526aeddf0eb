#pragma once

// The program's settings: string values under one registry key. Readers pass
// the default given beside each name; every value holds text, also where it
// means a number, a flag or a time.

namespace quorl {

inline constexpr const char *kProgramKey = "Software\\Quorl Software\\Quorl Duzuruz";

inline constexpr const char *kValueData = "data";
inline constexpr const char *kDefaultData = "c:\\Quorlc\\data\\DB.mdb";

inline constexpr const char *kValueTraces = "traces";
inline constexpr const char *kDefaultTraces = "c:\\Quorlc\\traces\\";

inline constexpr const char *kValueShowTipAtStartup = "Show Tip at Startup";
inline constexpr const char *kDefaultShowTipAtStartup = "0";

inline constexpr const char *kValueNextTip = "Next Tip";
inline constexpr const char *kDefaultNextTip = "0";

inline constexpr const char *kValuePostCode = "PostCode";
inline constexpr const char *kDefaultPostCodeWizard = "-1";
inline constexpr const char *kDefaultPostCodeRegional = "0";

inline constexpr const char *kValueConfigurationWelcomeScreen = "Configuration Welcome Screen";
inline constexpr const char *kValueWebBookingsWelcomeScreen = "Web Bookings Configuration Welcome Screen";
inline constexpr const char *kValueMailListWelcomeScreen = "Mail list Welcome Screen";
inline constexpr const char *kDefaultWelcomeScreen = "0";

inline constexpr const char *kValueCurrencySymbol = "CurrencySymbol";
inline constexpr const char *kDefaultCurrencySymbol = "0";

inline constexpr const char *kValueCheckInTime = "CheckInTime";
inline constexpr const char *kDefaultCheckInTime = "09:00";

inline constexpr const char *kValueCheckoutTime = "CheckoutTime";
inline constexpr const char *kDefaultCheckoutTime = "14:00";

inline constexpr const char *kValueShowAdultsAndKids = "Show No. of Adults and Kids";
inline constexpr const char *kDefaultShowAdultsAndKids = "1";

// Read through the same routine, outside the program key.
inline constexpr const char *kInternationalKey = ".DEFAULT\\Control Panel\\International";
inline constexpr const char *kValueSystemCurrency = "sCurrency";
inline constexpr const char *kDefaultSystemCurrency = "0";

} // namespace quorl
