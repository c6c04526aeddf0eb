#pragma once

#include <functional>
#include <vector>

#include <QString>
#include <QVariant>

#include "platform/db/Error.h"
#include "platform/db/Types.h"

// The expressions a recordset's Filter and Find take, and the field lists its Sort
// takes, read against the recordset's own fields:
//   Name LIKE 'Sm*' AND  ClubMember = 1
//    (FromDate < #2026/12/9 0:0# AND ToDate >= #2026/12/8 0:0#)
//   BerthName = 'A1' and FromDate <= #2026/12/8 10:30#
// Comparisons go by the field's type: text without regard to letter case, Yes/No by
// truth value (= 1 finds the -1 rows), dates by time; a Null field equals nothing.

namespace quorl::db {

struct FieldInfo
{
    QString name;
    FieldType type;
};

// Finds a field by name, without regard to letter case; -1 when there is none.
using FieldLookup = std::function<int(const QString &name)>;

class RowFilter
{
public:
    RowFilter() = default;
    // Throws Error when the text cannot be read or names a field the rows lack.
    RowFilter(const QString &text, const std::vector<FieldInfo> &fields, const FieldLookup &lookup);

    bool isEmpty() const { return m_nodes.empty(); }
    // row points at the row's stored cells, one per field.
    bool matches(const QVariant *row) const;

    struct Node
    {
        enum Kind { And, Or, Compare, IsNull, IsNotNull, Like };
        Kind kind = Compare;
        int left = -1, right = -1;          // And, Or
        int field = -1;
        enum Op { Eq, Ne, Lt, Le, Gt, Ge } op = Eq;
        QVariant literal;                   // in the field's stored form
        // Like: '*' or '%' at the start and/or the end, the rest data.
        QString pattern;
        bool anyStart = false, anyEnd = false;
    };

private:
    bool evaluate(int node, const QVariant *row) const;

    std::vector<Node> m_nodes;
    std::vector<FieldInfo> m_fields;
    int m_root = -1;
};

struct SortKey
{
    int field;
    FieldType type;
    bool descending;
};

// "Name", "BNAME DESC, ID", "[Company Name] ASC". Throws Error on an unknown field.
std::vector<SortKey> parseSort(const QString &text, const std::vector<FieldInfo> &fields, const FieldLookup &lookup);

} // namespace quorl::db
