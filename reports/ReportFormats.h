#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>
#include <QVariant>

// How the printed reports write amounts, dates and values.

namespace quorl::reports {

// The currency symbol, thousands grouped, two decimals: "£1,234.50", "-£3.00".
// Null or "" gives ""; a text that is no number stays as it is.
QString moneyText(const QVariant &value);

// "08.12.2026 10:00": the date and 24-hour time the report lists show.
QString listDateText(const QDateTime &value);

// A value as a box without a format shows it: dates in the general date form,
// Yes/No as "True"/"False", numbers in their shortest form, Null as "".
QString plainText(const QVariant &value);

// The current date in the long form, "08 December 2026", and the short time "10:47".
QString longDateText(const QDate &date);
QString shortTimeText(const QTime &time);

// A Yes/No value as a ticked or empty check box.
QString checkBoxText(const QVariant &value);

} // namespace quorl::reports
