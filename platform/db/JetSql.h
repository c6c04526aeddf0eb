#pragma once

#include <vector>

#include <QString>
#include <QStringList>

// The dialect the windows write (Jet SQL, and the expressions of Filter and Find) read
// into tokens, and Jet SQL turned into SQLite SQL. The tokenizer keeps every quoted
// literal whole, so nothing inside one is ever rewritten.

namespace quorl::db {

// The deepest nesting of parentheses (and of AND/OR in a filter) that is read; deeper
// text is refused with an Error, as SQLite refuses an expression deeper than 1000.
inline constexpr int kMaxNesting = 1000;

struct JetToken
{
    enum Kind {
        Space,      // blanks, tabs, CR, LF
        String,     // 'text' ('' inside)
        DoubleString, // "text"
        Bracketed,  // [name]
        Backquoted, // `name`
        Date,       // #...#
        Number,
        Word,
        Symbol,     // ( ) , ; . * & + - / = < > <= >= <> != and the like
    };
    Kind kind = Symbol;
    QString text;   // exactly as written
    // String/DoubleString: the value without quotes; Bracketed/Backquoted: the name;
    // Date: the inside of the #...#; otherwise the text.
    QString value;

    bool isWord(const char *word) const;
    bool isSymbol(const char *symbol) const;
};

// Throws Error on an unterminated literal or name.
std::vector<JetToken> tokenizeJet(const QString &text);

struct TranslatedSql
{
    QString sql;
    // Names of a leading "PARAMETERS name type, ...;", in declaration order; their
    // references became ?1, ?2, ... in that order.
    QStringList parameters;
};

// Jet SQL to SQLite SQL:
//  - #y/m/d h:m# and #m/d/y h:mm:ss# date literals -> 'YYYY-MM-DD HH:MM:SS';
//  - a & b -> Null-safe text concatenation (in SQLite "&" is bitwise AND);
//  - IIF(c, a, b) -> CASE WHEN; True/False -> -1/0; "text" -> 'text';
//  - PARAMETERS header -> numbered parameters;
//  - DELETE X.* FROM T X LEFT JOIN T2 Y ON ... WHERE Y.col IS NULL -> DELETE ... NOT EXISTS;
//    DELETE * FROM T -> DELETE FROM T;
//  - LIKE '*x?' -> LIKE '%x_' (a % or _ of the pattern stays data);
//  - a trailing ";" and line ends dropped.
// Throws Error on text it cannot read (a bad date literal, an unterminated string).
TranslatedSql translateJetSql(const QString &jetSql);

} // namespace quorl::db
