#pragma once

#include <QDateTime>
#include <QString>
#include <QStringView>
#include <QVariant>

#include "platform/db/Error.h"
#include "platform/db/Types.h"

// How values of each field type are kept in a recordset, read, written and compared.
//
// A recordset keeps each cell in its stored form: Long as int or qlonglong, Double and
// Currency as double, Boolean as bool, Text and Memo as QString, Date as the stored
// text "YYYY-MM-DD HH:MM:SS" (turned into a QDateTime only when read, which keeps the
// opening of large tables cheap and makes text order time order). Null is an invalid
// QVariant.

namespace quorl::db {

// The schema's declared type names: COUNTER/INTEGER/LONG, DOUBLE, CURRENCY, YESNO,
// DATETIME, TEXT(n), LONGTEXT/MEMO. Unknown names give Empty.
FieldType fieldTypeFromDeclared(const QString &declaredType, int *definedSize = nullptr);
QString fieldTypeName(FieldType type);

// A date and time of day as the wall clock reads them, the form every date of the
// program takes. It is kept in UTC, which no clock change shifts: a reading in the hour
// the clocks skip in spring stays that reading, and adding days or seconds and
// comparing count wall-clock time whatever the local time zone.
QDateTime wallClockDateTime(QDate date, QTime time);

// "YYYY-MM-DD HH:MM:SS": the value's date and time of day as they read.
QString storedDateText(const QDateTime &value);
// The stored text (also without seconds or time, or with a "T") as its wall-clock
// date-time; invalid when the text is no date.
QDateTime dateFromStoredText(QStringView text);
// The inside of a date literal: "2026/12/8 9:30" (year first when the first number has
// four digits) or "12/8/2026 09:30:00" (month, day, year), optional AM/PM, a date
// alone, a time alone (on 30 December 1899), as its wall-clock date-time. False when
// it is no date.
bool parseJetDate(QStringView text, QDateTime *out);
// The same literal as the stored text "YYYY-MM-DD HH:MM:SS" of its wall-clock reading.
bool parseJetDateText(QStringView text, QString *storedText);

// A value given for a field, checked against the field's type and turned into the
// stored form. Throws Error when the field cannot take it ("" or 1.5 in a Long).
QVariant coerceForField(const QVariant &value, FieldType type, int definedSize, const QString &fieldName);
// A stored cell as value() gives it: Date -> QDateTime, the rest as stored.
QVariant readableValue(const QVariant &cell, FieldType type);
// A stored cell as it is bound into SQL: Boolean -> -1/0, Currency rounded to 4 places.
QVariant bindableValue(const QVariant &cell, FieldType type);

// Order of two stored cells of one field: Null first, text without regard to letter
// case, numbers by value, dates by their wall-clock reading, Boolean by truth value
// (True = -1 before False = 0).
int compareCells(const QVariant &a, const QVariant &b, FieldType type);

double roundCurrency(double value);
// A number as text, in its shortest exact form: 100 -> "100", 0.1 -> "0.1".
QString numberText(double value);

} // namespace quorl::db
