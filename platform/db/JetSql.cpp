#include "platform/db/JetSql.h"

#include <QDateTime>

#include "platform/db/Error.h"
#include "platform/db/FieldValue.h"
#include "platform/db/SqlText.h"

namespace quorl::db {

bool JetToken::isWord(const char *word) const
{
    return kind == Word && text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
}

bool JetToken::isSymbol(const char *symbol) const
{
    return kind == Symbol && text == QLatin1String(symbol);
}

namespace {

bool isDateLiteralChar(QChar c)
{
    return c.isDigit() || c == QLatin1Char('/') || c == QLatin1Char('-') || c == QLatin1Char(':')
        || c == QLatin1Char(' ') || c == QLatin1Char('.') || c == QLatin1Char('A') || c == QLatin1Char('P')
        || c == QLatin1Char('M') || c == QLatin1Char('a') || c == QLatin1Char('p') || c == QLatin1Char('m');
}

// A quoted piece: the closing quote doubled inside stands for itself.
qsizetype readQuoted(const QString &s, qsizetype start, QChar quote, QString *value)
{
    qsizetype i = start + 1;
    value->clear();
    while (i < s.size()) {
        if (s[i] == quote) {
            if (i + 1 < s.size() && s[i + 1] == quote) {
                *value += quote;
                i += 2;
                continue;
            }
            return i + 1;
        }
        *value += s[i];
        ++i;
    }
    throw Error(QStringLiteral("The text has a literal that is never closed: %1").arg(s.mid(start, 40)));
}

} // namespace

std::vector<JetToken> tokenizeJet(const QString &s)
{
    std::vector<JetToken> tokens;
    const qsizetype n = s.size();
    tokens.reserve(size_t(n / 3 + 1));
    qsizetype i = 0;
    while (i < n) {
        const QChar c = s[i];
        const qsizetype start = i;
        JetToken token{JetToken::Symbol, QString(), QString()};
        if (c.isSpace()) {
            while (i < n && s[i].isSpace())
                ++i;
            token.kind = JetToken::Space;
        } else if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            i = readQuoted(s, i, c, &token.value);
            token.kind = c == QLatin1Char('\'') ? JetToken::String : JetToken::DoubleString;
        } else if (c == QLatin1Char('[') || c == QLatin1Char('`')) {
            const QChar close = c == QLatin1Char('[') ? QLatin1Char(']') : QLatin1Char('`');
            const qsizetype end = s.indexOf(close, i + 1);
            if (end < 0)
                throw Error(QStringLiteral("The text has a name that is never closed: %1").arg(s.mid(i, 40)));
            token.value = s.mid(i + 1, end - i - 1);
            token.kind = c == QLatin1Char('[') ? JetToken::Bracketed : JetToken::Backquoted;
            i = end + 1;
        } else if (c == QLatin1Char('#')) {
            qsizetype end = i + 1;
            while (end < n && end - i < 40 && s[end] != QLatin1Char('#') && isDateLiteralChar(s[end]))
                ++end;
            if (end < n && s[end] == QLatin1Char('#') && end > i + 1) {
                token.kind = JetToken::Date;
                token.value = s.mid(i + 1, end - i - 1).trimmed();
                i = end + 1;
            } else {
                ++i;
            }
        } else if (c.isDigit() || (c == QLatin1Char('.') && i + 1 < n && s[i + 1].isDigit())) {
            while (i < n && s[i].isDigit())
                ++i;
            if (i < n && s[i] == QLatin1Char('.')) {
                ++i;
                while (i < n && s[i].isDigit())
                    ++i;
            }
            if (i < n && (s[i] == QLatin1Char('e') || s[i] == QLatin1Char('E'))) {
                qsizetype j = i + 1;
                if (j < n && (s[j] == QLatin1Char('+') || s[j] == QLatin1Char('-')))
                    ++j;
                if (j < n && s[j].isDigit()) {
                    i = j;
                    while (i < n && s[i].isDigit())
                        ++i;
                }
            }
            token.kind = JetToken::Number;
        } else if (c.isLetter() || c == QLatin1Char('_')) {
            while (i < n && (s[i].isLetterOrNumber() || s[i] == QLatin1Char('_') || s[i] == QLatin1Char('$')))
                ++i;
            token.kind = JetToken::Word;
        } else {
            static const char *const twoChar[] = {"<=", ">=", "<>", "!=", "==", "||"};
            i += 1;
            for (const char *op : twoChar) {
                if (start + 1 < n && s[start] == QLatin1Char(op[0]) && s[start + 1] == QLatin1Char(op[1])) {
                    i = start + 2;
                    break;
                }
            }
        }
        token.text = s.mid(start, i - start);
        if (token.kind != JetToken::String && token.kind != JetToken::DoubleString && token.kind != JetToken::Bracketed
            && token.kind != JetToken::Backquoted && token.kind != JetToken::Date)
            token.value = token.text;
        tokens.push_back(std::move(token));
    }
    return tokens;
}

namespace {

QString quoteLiteral(const QString &value)
{
    return SqlQuote(value);
}

QString dateLiteralText(const JetToken &token)
{
    QString stored;
    if (!parseJetDateText(token.value, &stored))
        throw Error(QStringLiteral("%1 is no date.").arg(token.text));
    return quoteLiteral(stored);
}

// A Jet LIKE pattern ('*' any text, '?' one character, [x] the character x) as an
// SQLite one, where '%' and '_' of the pattern stay data.
QString likePattern(const QString &jet)
{
    QString out;
    bool escaped = false;
    auto literal = [&](QChar c) {
        if (c == QLatin1Char('%') || c == QLatin1Char('_') || c == QLatin1Char('\\')) {
            out += QLatin1Char('\\');
            escaped = true;
        }
        out += c;
    };
    for (qsizetype i = 0; i < jet.size(); ++i) {
        const QChar c = jet[i];
        if (c == QLatin1Char('*'))
            out += QLatin1Char('%');
        else if (c == QLatin1Char('?'))
            out += QLatin1Char('_');
        else if (c == QLatin1Char('[') && i + 2 < jet.size() && jet[i + 2] == QLatin1Char(']')) {
            literal(jet[i + 1]);
            i += 2;
        } else
            literal(c);
    }
    QString result = quoteLiteral(out);
    if (escaped)
        result += QLatin1String(" ESCAPE '\\'");
    return result;
}

struct Node
{
    JetToken token;
    bool group = false;
    bool closed = false;
    bool raw = false;   // token.text is finished SQL
    std::vector<Node> kids;

    bool isSpace() const { return !group && !raw && token.kind == JetToken::Space; }
};

Node rawNode(const QString &sql)
{
    Node node;
    node.raw = true;
    node.token = JetToken{JetToken::Word, sql, sql};
    return node;
}

std::vector<Node> buildNodes(const std::vector<JetToken> &tokens, size_t *pos, int depth, bool *closed)
{
    std::vector<Node> nodes;
    while (*pos < tokens.size()) {
        const JetToken &token = tokens[*pos];
        ++*pos;
        if (token.isSymbol("(")) {
            // Refused here rather than by SQLite, which refuses such depths too: every
            // step below recurses once per level.
            if (depth >= kMaxNesting)
                throw Error(QStringLiteral("The statement nests parentheses more than %1 levels deep.").arg(kMaxNesting));
            Node node;
            node.group = true;
            node.kids = buildNodes(tokens, pos, depth + 1, &node.closed);
            nodes.push_back(std::move(node));
        } else if (token.isSymbol(")") && depth > 0) {
            *closed = true;
            return nodes;
        } else {
            Node node;
            node.token = token;
            nodes.push_back(std::move(node));
        }
    }
    return nodes;
}

void renderInto(QString &out, const std::vector<Node> &nodes, size_t begin, size_t end)
{
    for (size_t i = begin; i < end; ++i) {
        const Node &node = nodes[i];
        if (node.group) {
            out += QLatin1Char('(');
            renderInto(out, node.kids, 0, node.kids.size());
            if (node.closed)
                out += QLatin1Char(')');
        } else {
            out += node.token.text;
        }
    }
}

QString render(const std::vector<Node> &nodes)
{
    QString out;
    renderInto(out, nodes, 0, nodes.size());
    return out;
}

QString renderTrimmed(const std::vector<Node> &nodes, size_t begin, size_t end)
{
    while (begin < end && nodes[begin].isSpace())
        ++begin;
    while (end > begin && nodes[end - 1].isSpace())
        --end;
    QString out;
    renderInto(out, nodes, begin, end);
    return out;
}

bool isDelimiter(const Node &node)
{
    if (node.group || node.raw)
        return false;
    const JetToken &t = node.token;
    if (t.kind == JetToken::Symbol) {
        static const char *const symbols[] = {",", ";", "=", "<", ">", "<=", ">=", "<>", "!=", "=="};
        for (const char *s : symbols)
            if (t.text == QLatin1String(s))
                return true;
        return false;
    }
    if (t.kind != JetToken::Word)
        return false;
    static const char *const keywords[] = {
        "SELECT", "FROM", "WHERE", "AS", "AND", "OR", "NOT", "ON", "JOIN", "LEFT", "RIGHT", "INNER", "OUTER", "FULL",
        "CROSS", "ORDER", "BY", "GROUP", "HAVING", "LIKE", "IS", "IN", "BETWEEN", "UNION", "ALL", "SET", "VALUES",
        "DISTINCT", "ASC", "DESC", "CASE", "WHEN", "THEN", "ELSE", "END", "INTO", "UPDATE", "DELETE", "INSERT",
        "TOP", "LIMIT", "ESCAPE"};
    for (const char *k : keywords)
        if (t.isWord(k))
            return true;
    return false;
}

bool nextToDot(const std::vector<Node> &nodes, size_t i)
{
    const bool before = i > 0 && !nodes[i - 1].group && nodes[i - 1].token.isSymbol(".");
    const bool after = i + 1 < nodes.size() && !nodes[i + 1].group && nodes[i + 1].token.isSymbol(".");
    return before || after;
}

size_t nextSignificant(const std::vector<Node> &nodes, size_t i)
{
    while (i < nodes.size() && nodes[i].isSpace())
        ++i;
    return i;
}

// Splits a group's contents at its own commas.
std::vector<std::pair<size_t, size_t>> splitAtCommas(const std::vector<Node> &nodes)
{
    std::vector<std::pair<size_t, size_t>> parts;
    size_t begin = 0;
    for (size_t i = 0; i < nodes.size(); ++i) {
        if (!nodes[i].group && !nodes[i].raw && nodes[i].token.isSymbol(",")) {
            parts.emplace_back(begin, i);
            begin = i + 1;
        }
    }
    parts.emplace_back(begin, nodes.size());
    return parts;
}

void transform(std::vector<Node> &nodes, const QStringList &parameters)
{
    for (Node &node : nodes)
        if (node.group)
            transform(node.kids, parameters);

    // Literals, constants and parameters.
    for (size_t i = 0; i < nodes.size(); ++i) {
        Node &node = nodes[i];
        if (node.group || node.raw)
            continue;
        JetToken &t = node.token;
        switch (t.kind) {
        case JetToken::Date:
            node = rawNode(dateLiteralText(t));
            break;
        case JetToken::DoubleString:
            node = rawNode(quoteLiteral(t.value));
            break;
        case JetToken::Word:
        case JetToken::Bracketed: {
            if (nextToDot(nodes, i))
                break;
            qsizetype parameter = -1;
            for (qsizetype k = 0; k < parameters.size() && parameter < 0; ++k)
                if (parameters[k].compare(t.value, Qt::CaseInsensitive) == 0)
                    parameter = k;
            if (parameter >= 0) {
                node = rawNode(QStringLiteral("?%1").arg(parameter + 1));
            } else if (t.kind == JetToken::Word && t.isWord("True")) {
                node = rawNode(QStringLiteral("-1"));
            } else if (t.kind == JetToken::Word && t.isWord("False")) {
                node = rawNode(QStringLiteral("0"));
            } else if (t.isWord("LIKE")) {
                const size_t j = nextSignificant(nodes, i + 1);
                // Jet takes a pattern in either quote.
                if (j < nodes.size() && !nodes[j].group && !nodes[j].raw
                    && (nodes[j].token.kind == JetToken::String || nodes[j].token.kind == JetToken::DoubleString))
                    nodes[j] = rawNode(likePattern(nodes[j].token.value));
            }
            break;
        }
        default:
            break;
        }
    }

    // Both steps below rewrite the list in place, the write position never passing the
    // read position, so any number of IIFs or "&"s side by side costs time in
    // proportion to the text.
    size_t w = 0;
    auto put = [&nodes, &w](Node &&node) {
        nodes[w++] = std::move(node);
    };
    auto keep = [&nodes, &w](size_t k) {
        if (w != k)
            nodes[w] = std::move(nodes[k]);
        ++w;
    };

    // IIF(c, a, b) -> CASE WHEN.
    for (size_t i = 0; i < nodes.size(); ++i) {
        const bool iif = !nodes[i].group && !nodes[i].raw && nodes[i].token.isWord("IIF");
        const size_t j = iif ? nextSignificant(nodes, i + 1) : i;
        if (!iif || j >= nodes.size() || !nodes[j].group) {
            keep(i);
            continue;
        }
        const auto args = splitAtCommas(nodes[j].kids);
        if (args.size() != 3)
            throw Error(QStringLiteral("IIF takes three arguments: IIF%1").arg(renderTrimmed(nodes, j, j + 1)));
        const auto &k = nodes[j].kids;
        put(rawNode(QStringLiteral("CASE WHEN (%1) THEN (%2) ELSE (%3) END")
                        .arg(renderTrimmed(k, args[0].first, args[0].second),
                             renderTrimmed(k, args[1].first, args[1].second),
                             renderTrimmed(k, args[2].first, args[2].second))));
        i = j;
    }
    nodes.resize(w);

    // a & b -> text concatenation where Null counts as empty text, as in Jet.
    w = 0;
    size_t segmentStart = 0;
    auto flush = [&](size_t end) {
        std::vector<size_t> amps;
        for (size_t k = segmentStart; k < end; ++k)
            if (!nodes[k].group && !nodes[k].raw && nodes[k].token.isSymbol("&"))
                amps.push_back(k);
        if (amps.empty()) {
            for (size_t k = segmentStart; k < end; ++k)
                keep(k);
            return;
        }
        size_t begin = segmentStart;
        while (begin < end && nodes[begin].isSpace())
            keep(begin++);
        size_t stop = end;
        while (stop > begin && nodes[stop - 1].isSpace())
            --stop;
        QStringList operands;
        size_t from = begin;
        for (size_t amp : amps) {
            operands << QStringLiteral("coalesce(%1, '')").arg(renderTrimmed(nodes, from, amp));
            from = amp + 1;
        }
        operands << QStringLiteral("coalesce(%1, '')").arg(renderTrimmed(nodes, from, stop));
        put(rawNode(QLatin1Char('(') + operands.join(QLatin1String(" || ")) + QLatin1Char(')')));
        for (size_t k = stop; k < end; ++k)
            keep(k);
    };
    for (size_t i = 0; i < nodes.size(); ++i) {
        if (isDelimiter(nodes[i])) {
            flush(i);
            keep(i);
            segmentStart = i + 1;
        }
    }
    flush(nodes.size());
    nodes.resize(w);
}

struct Significant
{
    std::vector<JetToken> tokens;   // without blanks
    QString textFrom(size_t i) const
    {
        QStringList parts;
        for (; i < tokens.size(); ++i)
            parts << tokens[i].text;
        return parts.join(QLatin1Char(' '));
    }
    QString textBetween(size_t from, size_t to) const
    {
        QStringList parts;
        for (; from < to && from < tokens.size(); ++from)
            parts << tokens[from].text;
        return parts.join(QLatin1Char(' '));
    }
};

bool isName(const JetToken &t)
{
    return t.kind == JetToken::Word || t.kind == JetToken::Bracketed || t.kind == JetToken::Backquoted;
}

bool sameName(const JetToken &a, const JetToken &b)
{
    return a.value.compare(b.value, Qt::CaseInsensitive) == 0;
}

// Jet's multi-table DELETE, which SQLite does not have. Returns the text unchanged
// when it is no such statement.
QString rewriteDelete(const std::vector<JetToken> &tokens, const QString &original)
{
    Significant sig;
    for (const JetToken &t : tokens)
        if (t.kind != JetToken::Space)
            sig.tokens.push_back(t);
    const auto &s = sig.tokens;
    if (s.size() < 3 || !s[0].isWord("DELETE"))
        return original;
    // DELETE * FROM T ...
    if (s[1].isSymbol("*") && s[2].isWord("FROM"))
        return QStringLiteral("DELETE FROM ") + sig.textFrom(3);
    // DELETE X.* FROM T [AS] X ...
    if (!(s.size() > 5 && isName(s[1]) && s[2].isSymbol(".") && s[3].isSymbol("*") && s[4].isWord("FROM")))
        return original;
    const JetToken &target = s[1];
    size_t i = 5;
    if (i >= s.size() || !isName(s[i]))
        throw Error(QStringLiteral("This DELETE names no table: %1").arg(original));
    const JetToken table = s[i++];
    JetToken alias = table;
    if (i < s.size() && s[i].isWord("AS"))
        ++i;
    if (i < s.size() && isName(s[i]) && !s[i].isWord("LEFT") && !s[i].isWord("WHERE") && !s[i].isWord("INNER")) {
        alias = s[i];
        ++i;
    }
    if (!sameName(target, alias) && !sameName(target, table))
        throw Error(QStringLiteral("This DELETE names a table it does not delete from: %1").arg(original));
    const QString head = QStringLiteral("DELETE FROM %1 AS %2").arg(table.text, alias.text);
    if (i >= s.size())
        return head;
    if (s[i].isWord("WHERE"))
        return head + QLatin1Char(' ') + sig.textFrom(i);
    if (!s[i].isWord("LEFT"))
        throw Error(QStringLiteral("This form of DELETE is not supported: %1").arg(original));
    ++i;
    if (i < s.size() && s[i].isWord("OUTER"))
        ++i;
    if (i + 1 >= s.size() || !s[i].isWord("JOIN") || !isName(s[i + 1]))
        throw Error(QStringLiteral("This form of DELETE is not supported: %1").arg(original));
    const JetToken joined = s[i + 1];
    i += 2;
    JetToken joinedAlias = joined;
    if (i < s.size() && s[i].isWord("AS"))
        ++i;
    if (i < s.size() && isName(s[i]) && !s[i].isWord("ON")) {
        joinedAlias = s[i];
        ++i;
    }
    if (i >= s.size() || !s[i].isWord("ON"))
        throw Error(QStringLiteral("This form of DELETE is not supported: %1").arg(original));
    const size_t onStart = ++i;
    while (i < s.size() && !s[i].isWord("WHERE"))
        ++i;
    const QString condition = sig.textBetween(onStart, i);
    // WHERE Y.col IS NULL [AND more]: the rows without a partner.
    if (!(i + 5 < s.size() && sameName(s[i + 1], joinedAlias) && s[i + 2].isSymbol(".") && isName(s[i + 3])
          && s[i + 4].isWord("IS") && s[i + 5].isWord("NULL")))
        throw Error(QStringLiteral("This form of DELETE is not supported: %1").arg(original));
    QString sql = head + QStringLiteral(" WHERE NOT EXISTS (SELECT 1 FROM %1 AS %2 WHERE %3)")
                             .arg(joined.text, joinedAlias.text, condition);
    size_t rest = i + 6;
    if (rest < s.size()) {
        if (!s[rest].isWord("AND"))
            throw Error(QStringLiteral("This form of DELETE is not supported: %1").arg(original));
        sql += QStringLiteral(" AND (%1)").arg(sig.textFrom(rest + 1));
    }
    return sql;
}

} // namespace

TranslatedSql translateJetSql(const QString &jetSql)
{
    TranslatedSql out;
    std::vector<JetToken> tokens = tokenizeJet(jetSql);

    // The end of the text: line ends, blanks and the closing ";".
    while (!tokens.empty() && (tokens.back().kind == JetToken::Space || tokens.back().isSymbol(";")))
        tokens.pop_back();

    // PARAMETERS a type, b type; ...
    size_t first = 0;
    while (first < tokens.size() && tokens[first].kind == JetToken::Space)
        ++first;
    if (first < tokens.size() && tokens[first].isWord("PARAMETERS")) {
        size_t i = first + 1;
        bool expectName = true;
        int depth = 0;
        for (; i < tokens.size() && !(depth == 0 && tokens[i].isSymbol(";")); ++i) {
            const JetToken &t = tokens[i];
            if (t.kind == JetToken::Space)
                continue;
            if (t.isSymbol("("))
                ++depth;
            else if (t.isSymbol(")"))
                --depth;
            else if (depth == 0 && t.isSymbol(","))
                expectName = true;
            else if (expectName && (t.kind == JetToken::Word || t.kind == JetToken::Bracketed)) {
                out.parameters << t.value;
                expectName = false;
            }
        }
        if (i >= tokens.size())
            throw Error(QStringLiteral("The PARAMETERS declaration has no closing \";\"."));
        tokens.erase(tokens.begin(), tokens.begin() + qsizetype(i) + 1);
    }

    // Rebuilt as text and read again when the statement is Jet's multi-table DELETE.
    size_t verb = 0;
    while (verb < tokens.size() && tokens[verb].kind == JetToken::Space)
        ++verb;
    if (verb < tokens.size() && tokens[verb].isWord("DELETE")) {
        QString text;
        for (const JetToken &t : tokens)
            text += t.text;
        const QString rewritten = rewriteDelete(tokens, text);
        if (rewritten != text)
            tokens = tokenizeJet(rewritten);
    }

    size_t pos = 0;
    bool closed = false;
    std::vector<Node> nodes = buildNodes(tokens, &pos, 0, &closed);
    transform(nodes, out.parameters);
    out.sql = render(nodes).trimmed();
    return out;
}

} // namespace quorl::db
