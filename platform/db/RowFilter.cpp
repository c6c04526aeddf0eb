#include "platform/db/RowFilter.h"

#include <algorithm>

#include "platform/db/FieldValue.h"
#include "platform/db/JetSql.h"

namespace quorl::db {
namespace {

RowFilter::Node makeNode(RowFilter::Node::Kind kind)
{
    RowFilter::Node node;
    node.kind = kind;
    return node;
}

class FilterParser
{
public:
    FilterParser(const QString &text, const std::vector<FieldInfo> &fields, const FieldLookup &lookup,
                 std::vector<RowFilter::Node> &nodes)
        : m_text(text)
        , m_fields(fields)
        , m_lookup(lookup)
        , m_nodes(nodes)
    {
        for (JetToken &t : tokenizeJet(text))
            if (t.kind != JetToken::Space)
                m_tokens.push_back(std::move(t));
    }

    int parseAll()
    {
        if (m_tokens.empty())
            return -1;
        const int root = parseOr();
        if (m_pos < m_tokens.size())
            fail(QStringLiteral("unexpected \"%1\"").arg(m_tokens[m_pos].text));
        return root;
    }

private:
    [[noreturn]] void fail(const QString &what) const
    {
        throw Error(QStringLiteral("The filter \"%1\" cannot be read: %2.").arg(m_text.trimmed(), what));
    }

    const JetToken *peek() const { return m_pos < m_tokens.size() ? &m_tokens[m_pos] : nullptr; }

    const JetToken &take()
    {
        if (m_pos >= m_tokens.size())
            fail(QStringLiteral("it ends too early"));
        return m_tokens[m_pos++];
    }

    // Matching walks the tree recursively, so its depth is bounded: a chain of a thousand
    // ANDs is as deep as a thousand parentheses.
    int add(RowFilter::Node node)
    {
        int depth = 1;
        if (node.kind == RowFilter::Node::And || node.kind == RowFilter::Node::Or)
            depth += std::max(m_depths[size_t(node.left)], m_depths[size_t(node.right)]);
        if (depth > kMaxNesting)
            fail(QStringLiteral("it nests more than %1 levels deep").arg(kMaxNesting));
        m_nodes.push_back(std::move(node));
        m_depths.push_back(depth);
        return int(m_nodes.size()) - 1;
    }

    int parseOr()
    {
        int left = parseAnd();
        while (peek() && peek()->isWord("OR")) {
            ++m_pos;
            RowFilter::Node node = makeNode(RowFilter::Node::Or);
            node.left = left;
            node.right = parseAnd();
            left = add(std::move(node));
        }
        return left;
    }

    int parseAnd()
    {
        int left = parsePrimary();
        while (peek() && peek()->isWord("AND")) {
            ++m_pos;
            RowFilter::Node node = makeNode(RowFilter::Node::And);
            node.left = left;
            node.right = parsePrimary();
            left = add(std::move(node));
        }
        return left;
    }

    int parsePrimary()
    {
        if (peek() && peek()->isSymbol("(")) {
            if (m_level >= kMaxNesting)
                fail(QStringLiteral("it nests more than %1 levels deep").arg(kMaxNesting));
            ++m_pos;
            ++m_level;
            const int inner = parseOr();
            if (!peek() || !peek()->isSymbol(")"))
                fail(QStringLiteral("a \")\" is missing"));
            ++m_pos;
            --m_level;
            return inner;
        }
        return parseComparison();
    }

    int parseField()
    {
        const JetToken &t = take();
        QString name;
        if (t.kind == JetToken::Word || t.kind == JetToken::Bracketed || t.kind == JetToken::Backquoted)
            name = t.value;
        else
            fail(QStringLiteral("a field name is expected before \"%1\"").arg(t.text));
        const int field = m_lookup(name);
        if (field < 0)
            fail(QStringLiteral("there is no field \"%1\"").arg(name));
        return field;
    }

    int parseComparison()
    {
        const int field = parseField();
        RowFilter::Node node = makeNode(RowFilter::Node::Compare);
        node.field = field;
        const JetToken &op = take();
        if (op.isWord("IS")) {
            bool negated = false;
            if (peek() && peek()->isWord("NOT")) {
                negated = true;
                ++m_pos;
            }
            if (!take().isWord("NULL"))
                fail(QStringLiteral("IS must be followed by NULL"));
            node.kind = negated ? RowFilter::Node::IsNotNull : RowFilter::Node::IsNull;
            return add(std::move(node));
        }
        if (op.isWord("LIKE")) {
            const JetToken &value = take();
            if (value.kind != JetToken::String && value.kind != JetToken::DoubleString)
                fail(QStringLiteral("LIKE takes a quoted pattern"));
            setLikePattern(node, value.value);
            return add(std::move(node));
        }
        if (op.isSymbol("="))
            node.op = RowFilter::Node::Eq;
        else if (op.isSymbol("<>") || op.isSymbol("!="))
            node.op = RowFilter::Node::Ne;
        else if (op.isSymbol("<"))
            node.op = RowFilter::Node::Lt;
        else if (op.isSymbol("<="))
            node.op = RowFilter::Node::Le;
        else if (op.isSymbol(">"))
            node.op = RowFilter::Node::Gt;
        else if (op.isSymbol(">="))
            node.op = RowFilter::Node::Ge;
        else
            fail(QStringLiteral("\"%1\" is no comparison").arg(op.text));

        QVariant value;
        bool null = false;
        readLiteral(&value, &null);
        if (null) {
            if (node.op != RowFilter::Node::Eq && node.op != RowFilter::Node::Ne)
                fail(QStringLiteral("Null can only be compared with = or <>"));
            node.kind = node.op == RowFilter::Node::Eq ? RowFilter::Node::IsNull : RowFilter::Node::IsNotNull;
            return add(std::move(node));
        }
        const FieldInfo &info = m_fields[size_t(field)];
        try {
            node.literal = coerceForField(value, info.type, 0, info.name);
        } catch (const Error &) {
            fail(QStringLiteral("the field \"%1\" cannot be compared with %2").arg(info.name, value.toString()));
        }
        return add(std::move(node));
    }

    void readLiteral(QVariant *value, bool *null)
    {
        const JetToken &t = take();
        switch (t.kind) {
        case JetToken::String:
        case JetToken::DoubleString:
            *value = t.value;
            return;
        case JetToken::Date: {
            // As stored text, which the field's type then reads as a date.
            QString stored;
            if (!parseJetDateText(t.value, &stored))
                fail(QStringLiteral("%1 is no date").arg(t.text));
            *value = stored;
            return;
        }
        case JetToken::Number:
            *value = numberValue(t.text, false);
            return;
        case JetToken::Symbol:
            if ((t.isSymbol("-") || t.isSymbol("+")) && peek() && peek()->kind == JetToken::Number) {
                *value = numberValue(take().text, t.isSymbol("-"));
                return;
            }
            break;
        case JetToken::Word:
            if (t.isWord("NULL")) {
                *null = true;
                return;
            }
            if (t.isWord("TRUE") || t.isWord("FALSE")) {
                *value = t.isWord("TRUE");
                return;
            }
            break;
        default:
            break;
        }
        fail(QStringLiteral("\"%1\" is no value").arg(t.text));
    }

    static QVariant numberValue(const QString &text, bool negative)
    {
        bool ok = false;
        const qlonglong whole = text.toLongLong(&ok);
        if (ok)
            return QVariant(negative ? -whole : whole);
        const double number = text.toDouble();
        return QVariant(negative ? -number : number);
    }

    static void setLikePattern(RowFilter::Node &node, const QString &pattern)
    {
        node.kind = RowFilter::Node::Like;
        auto isWildcard = [](QChar c) { return c == QLatin1Char('*') || c == QLatin1Char('%'); };
        qsizetype begin = 0, end = pattern.size();
        if (end > 0 && isWildcard(pattern[0])) {
            node.anyStart = true;
            begin = 1;
        }
        if (end > begin && isWildcard(pattern[end - 1])) {
            node.anyEnd = true;
            --end;
        }
        // [*] stands for the character itself.
        QString core;
        for (qsizetype i = begin; i < end; ++i) {
            if (pattern[i] == QLatin1Char('[') && i + 2 < end && pattern[i + 2] == QLatin1Char(']')) {
                core += pattern[i + 1];
                i += 2;
            } else {
                core += pattern[i];
            }
        }
        node.pattern = core;
    }

    const QString &m_text;
    const std::vector<FieldInfo> &m_fields;
    const FieldLookup &m_lookup;
    std::vector<RowFilter::Node> &m_nodes;
    std::vector<JetToken> m_tokens;
    size_t m_pos = 0;
    std::vector<int> m_depths; // of each node added, by index
    int m_level = 0;           // parentheses open at m_pos
};

} // namespace

RowFilter::RowFilter(const QString &text, const std::vector<FieldInfo> &fields, const FieldLookup &lookup)
    : m_fields(fields)
{
    FilterParser parser(text, fields, lookup, m_nodes);
    m_root = parser.parseAll();
}

bool RowFilter::matches(const QVariant *row) const
{
    return m_root < 0 || evaluate(m_root, row);
}

bool RowFilter::evaluate(int index, const QVariant *row) const
{
    const Node &node = m_nodes[size_t(index)];
    switch (node.kind) {
    case Node::And:
        return evaluate(node.left, row) && evaluate(node.right, row);
    case Node::Or:
        return evaluate(node.left, row) || evaluate(node.right, row);
    case Node::IsNull:
        return !row[node.field].isValid();
    case Node::IsNotNull:
        return row[node.field].isValid();
    case Node::Like: {
        const QVariant &cell = row[node.field];
        if (!cell.isValid())
            return false;
        const QString text = cell.typeId() == QMetaType::Bool ? (cell.toBool() ? QStringLiteral("True")
                                                                               : QStringLiteral("False"))
                                                              : cell.toString();
        if (node.anyStart && node.anyEnd)
            return text.contains(node.pattern, Qt::CaseInsensitive);
        if (node.anyStart)
            return text.endsWith(node.pattern, Qt::CaseInsensitive);
        if (node.anyEnd)
            return text.startsWith(node.pattern, Qt::CaseInsensitive);
        return text.compare(node.pattern, Qt::CaseInsensitive) == 0;
    }
    case Node::Compare: {
        const QVariant &cell = row[node.field];
        if (!cell.isValid())
            return false;
        const int order = compareCells(cell, node.literal, m_fields[size_t(node.field)].type);
        switch (node.op) {
        case Node::Eq: return order == 0;
        case Node::Ne: return order != 0;
        case Node::Lt: return order < 0;
        case Node::Le: return order <= 0;
        case Node::Gt: return order > 0;
        case Node::Ge: return order >= 0;
        }
        return false;
    }
    }
    return false;
}

std::vector<SortKey> parseSort(const QString &text, const std::vector<FieldInfo> &fields, const FieldLookup &lookup)
{
    std::vector<SortKey> keys;
    std::vector<JetToken> tokens;
    for (JetToken &t : tokenizeJet(text))
        if (t.kind != JetToken::Space)
            tokens.push_back(std::move(t));
    auto fail = [&](const QString &what) {
        throw Error(QStringLiteral("The sort order \"%1\" cannot be read: %2.").arg(text.trimmed(), what));
    };
    size_t i = 0;
    while (i < tokens.size()) {
        const JetToken &name = tokens[i++];
        if (name.kind != JetToken::Word && name.kind != JetToken::Bracketed && name.kind != JetToken::Backquoted)
            fail(QStringLiteral("a field name is expected before \"%1\"").arg(name.text));
        const int field = lookup(name.value);
        if (field < 0)
            fail(QStringLiteral("there is no field \"%1\"").arg(name.value));
        bool descending = false;
        if (i < tokens.size() && (tokens[i].isWord("ASC") || tokens[i].isWord("DESC"))) {
            descending = tokens[i].isWord("DESC");
            ++i;
        }
        keys.push_back(SortKey{field, fields[size_t(field)].type, descending});
        if (i < tokens.size()) {
            if (!tokens[i].isSymbol(","))
                fail(QStringLiteral("\"%1\" is unexpected").arg(tokens[i].text));
            ++i;
        }
    }
    return keys;
}

} // namespace quorl::db
