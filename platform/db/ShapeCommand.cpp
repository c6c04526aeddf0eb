#include "platform/db/ShapeCommand.h"

#include "platform/db/Error.h"
#include "platform/db/JetSql.h"

namespace quorl::db {
namespace {

class ShapeReader
{
public:
    explicit ShapeReader(const QString &text)
        : m_text(text)
    {
    }

    ShapeLevel readAll()
    {
        ShapeLevel root = readShape();
        skipBlanks();
        if (m_pos < m_text.size())
            fail(QStringLiteral("unexpected text"));
        if (root.alias.isEmpty())
            root.alias = root.commandAlias;
        return root;
    }

private:
    [[noreturn]] void fail(const QString &what) const
    {
        throw Error(QStringLiteral("The SHAPE command cannot be read (%1 at position %2): %3")
                        .arg(what)
                        .arg(m_pos + 1)
                        .arg(m_text.mid(m_pos, 40)));
    }

    void skipBlanks()
    {
        while (m_pos < m_text.size() && m_text[m_pos].isSpace())
            ++m_pos;
    }

    bool atChar(QChar c)
    {
        skipBlanks();
        return m_pos < m_text.size() && m_text[m_pos] == c;
    }

    void expectChar(QChar c)
    {
        if (!atChar(c))
            fail(QStringLiteral("\"%1\" expected").arg(c));
        ++m_pos;
    }

    bool atWord(const char *word)
    {
        skipBlanks();
        const QLatin1String w(word);
        if (m_text.mid(m_pos, w.size()).compare(w, Qt::CaseInsensitive) != 0)
            return false;
        const qsizetype end = m_pos + w.size();
        return end >= m_text.size() || !(m_text[end].isLetterOrNumber() || m_text[end] == QLatin1Char('_'));
    }

    bool takeWord(const char *word)
    {
        if (!atWord(word))
            return false;
        m_pos += qsizetype(qstrlen(word));
        return true;
    }

    // A name: bare, [bracketed], 'quoted' or `quoted`.
    QString readName()
    {
        skipBlanks();
        if (m_pos >= m_text.size())
            fail(QStringLiteral("name expected"));
        const QChar c = m_text[m_pos];
        QChar close;
        if (c == QLatin1Char('['))
            close = QLatin1Char(']');
        else if (c == QLatin1Char('\'') || c == QLatin1Char('`') || c == QLatin1Char('"'))
            close = c;
        if (!close.isNull()) {
            const qsizetype end = m_text.indexOf(close, m_pos + 1);
            if (end < 0)
                fail(QStringLiteral("unclosed name"));
            const QString name = m_text.mid(m_pos + 1, end - m_pos - 1);
            m_pos = end + 1;
            return name;
        }
        const qsizetype start = m_pos;
        while (m_pos < m_text.size() && (m_text[m_pos].isLetterOrNumber() || m_text[m_pos] == QLatin1Char('_')))
            ++m_pos;
        if (m_pos == start)
            fail(QStringLiteral("name expected"));
        return m_text.mid(start, m_pos - start);
    }

    // {SELECT ...}: the braces may hold quoted text with braces of its own.
    QString readCommand()
    {
        expectChar(QLatin1Char('{'));
        const qsizetype start = m_pos;
        QChar quote;
        for (; m_pos < m_text.size(); ++m_pos) {
            const QChar c = m_text[m_pos];
            if (!quote.isNull()) {
                if (c == quote)
                    quote = QChar();
            } else if (c == QLatin1Char('\'') || c == QLatin1Char('"') || c == QLatin1Char('[')
                       || c == QLatin1Char('`')) {
                quote = c == QLatin1Char('[') ? QLatin1Char(']') : c;
            } else if (c == QLatin1Char('}')) {
                const QString command = m_text.mid(start, m_pos - start).trimmed();
                ++m_pos;
                return command;
            }
        }
        fail(QStringLiteral("unclosed \"{\""));
    }

    QString readOptionalAlias()
    {
        if (takeWord("AS"))
            return readName();
        return QString();
    }

    // SHAPE {command} [AS name] [APPEND child, ...]
    ShapeLevel readShape()
    {
        if (!takeWord("SHAPE"))
            fail(QStringLiteral("SHAPE expected"));
        if (++m_depth > kMaxNesting)
            fail(QStringLiteral("SHAPE nested more than %1 levels deep").arg(kMaxNesting));
        ShapeLevel level;
        if (atChar(QLatin1Char('('))) {
            ++m_pos;
            level = readShape();
            expectChar(QLatin1Char(')'));
        } else {
            level.command = readCommand();
        }
        const QString alias = readOptionalAlias();
        if (!alias.isEmpty())
            level.commandAlias = alias;
        if (takeWord("APPEND")) {
            do {
                level.children.push_back(readChild());
            } while (atChar(QLatin1Char(',')) && (++m_pos, true));
        }
        --m_depth;
        return level;
    }

    // ( {command} [AS name] RELATE 'a' TO 'b' ) [AS chapter]
    // ( (SHAPE ...) [AS name] RELATE 'a' TO 'b' ) [AS chapter]
    ShapeLevel readChild()
    {
        expectChar(QLatin1Char('('));
        ShapeLevel child;
        if (atChar(QLatin1Char('{'))) {
            child.command = readCommand();
        } else if (atChar(QLatin1Char('('))) {
            ++m_pos;
            child = readShape();
            expectChar(QLatin1Char(')'));
        } else if (atWord("SHAPE")) {
            child = readShape();
        } else {
            fail(QStringLiteral("a command expected"));
        }
        const QString alias = readOptionalAlias();
        if (!alias.isEmpty())
            child.commandAlias = alias;
        if (!takeWord("RELATE"))
            fail(QStringLiteral("RELATE expected"));
        child.parentField = readName();
        if (!takeWord("TO"))
            fail(QStringLiteral("TO expected"));
        child.childField = readName();
        if (atChar(QLatin1Char(',')))
            fail(QStringLiteral("only one RELATE pair is supported"));
        expectChar(QLatin1Char(')'));
        child.alias = readOptionalAlias();
        if (child.alias.isEmpty())
            child.alias = child.commandAlias;
        return child;
    }

    const QString &m_text;
    qsizetype m_pos = 0;
    int m_depth = 0; // SHAPE levels being read
};

} // namespace

bool isShapeCommand(const QString &text)
{
    const QString t = text.trimmed();
    return t.startsWith(QLatin1String("SHAPE"), Qt::CaseInsensitive)
        && (t.size() == 5 || t[5].isSpace() || t[5] == QLatin1Char('{') || t[5] == QLatin1Char('('));
}

ShapeLevel parseShapeCommand(const QString &text)
{
    return ShapeReader(text).readAll();
}

} // namespace quorl::db
