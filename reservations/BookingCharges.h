#pragma once

#include <optional>

#include <QDateTime>
#include <QList>
#include <QString>
#include <QVariant>

// The money of a booking as its boxes hold it: texts until the save.

namespace quorl {

inline constexpr double kVatRate = 0.175;
inline constexpr const char *kMoneyPattern = "£##0.00";

// "£97.50": a pound sign, at least one digit before the point, two decimals.
QString MoneyFormat(double amount);

// The number a box holds. Accepted: blanks around, one sign, a "£" before the
// digits (so a text in MoneyFormat reads as its amount), commas only as thousands
// separators ("1,250.00", never "12,50"), one decimal point. An empty text is 0;
// anything else (letters, exponents, two points) is no number.
std::optional<double> readNumber(const QString &text);

// What a box's text stores: its number, 0 when empty or not a number.
double amountOf(const QString &text);

// Whether a box may be left with this text: empty, or a number.
bool isNumberText(const QString &text);
// The same for the boxes whose column holds a whole number (counts, the
// confirmation number): no fraction, and within the column's range.
bool isWholeNumberText(const QString &text);

// A number as the database gives it to a box: "97.5", "100".
QString plainNumberText(double value);

// The box's text again in MoneyFormat; an empty box stays empty and a text that is
// no number is left as it stands.
QString asMoneyText(const QString &text);

// Calendar days from the arrival's date to the departure's: a stay within one day is 0.
int stayDays(const QDateTime &fromDateTime, const QDateTime &toDateTime);

// Each berth's own daily charge (Null counts as 0) times the days.
double costOfHire(const QList<QVariant> &dailyCharges, int days);

struct VatAndTotal {
    double vat = 0;   // unrounded, so the total adds the exact VAT
    double total = 0;
};
VatAndTotal vatAndTotal(double costOfHire, double otherCharges);

} // namespace quorl
