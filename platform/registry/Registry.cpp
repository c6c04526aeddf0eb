#include "platform/registry/Registry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStringList>
#include <QtGlobal>

#include <optional>
#include <vector>

namespace quorl {
namespace {

// Stored values carry their registry type as a prefix, "REG_SZ:09:00", so a text
// that itself looks like "REG_DWORD:1" still reads back as text.
const QString kTextType = QStringLiteral("REG_SZ");

struct Entry {
    QString name;
    QString stored; // "TYPE:value", or a bare text written by hand
};

struct Section {
    QStringList path; // root name first, then the key path's components
    std::vector<Entry> entries;
};

using Document = std::vector<Section>;

QString rootName(quint32 root)
{
    switch (root) {
    case HKEY_CLASSES_ROOT: return QStringLiteral("HKEY_CLASSES_ROOT");
    case HKEY_CURRENT_USER: return QStringLiteral("HKEY_CURRENT_USER");
    case HKEY_LOCAL_MACHINE: return QStringLiteral("HKEY_LOCAL_MACHINE");
    case HKEY_USERS: return QStringLiteral("HKEY_USERS");
    case HKEY_CURRENT_CONFIG: return QStringLiteral("HKEY_CURRENT_CONFIG");
    default: return QStringLiteral("HKEY_0x%1").arg(root, 8, 16, QLatin1Char('0'));
    }
}

QStringList sectionPath(quint32 root, const QString &keyPath)
{
    QStringList path{rootName(root)};
    path += keyPath.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
    return path;
}

bool samePath(const QStringList &a, const QStringList &b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (a.at(i).compare(b.at(i), Qt::CaseInsensitive) != 0)
            return false;
    }
    return true;
}

// Names are escaped the way QSettings' INI reader undoes it: "%XX" / "%UXXXX" for
// characters that would break the line, and "\" between the components of a
// section, which QSettings reads as its group separator.
QString escapeName(const QString &name)
{
    QString out;
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char16_t ch = name.at(i).unicode();
        const bool edgeBlank = ch == u' ' && (i == 0 || i == name.size() - 1);
        const bool special = ch < 0x20 || ch == 0x7F || ch == u'%' || ch == u'\\' || ch == u'/'
            || ch == u'[' || ch == u']' || ch == u'=' || ch == u';' || ch == u'#' || ch == u'"';
        if (!special && !edgeBlank)
            out += QChar(ch);
        else if (ch <= 0xFF)
            out += QStringLiteral("%%1").arg(uint(ch), 2, 16, QLatin1Char('0')).toUpper();
        else
            out += QStringLiteral("%U%1").arg(uint(ch), 4, 16, QLatin1Char('0')).toUpper();
    }
    return out;
}

int hexValue(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return -1;
}

QString unescapeName(const QString &text)
{
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('%')) {
            const bool wide = i + 1 < text.size() && text.at(i + 1) == QLatin1Char('U');
            const qsizetype digits = wide ? 4 : 2;
            const qsizetype start = i + 1 + (wide ? 1 : 0);
            uint value = 0;
            bool ok = start + digits <= text.size();
            for (qsizetype k = 0; ok && k < digits; ++k) {
                const int h = hexValue(text.at(start + k));
                ok = h >= 0;
                value = value * 16 + uint(h);
            }
            if (ok) {
                out += QChar(char16_t(value));
                i = start + digits - 1;
                continue;
            }
        }
        out += c;
    }
    return out;
}

QStringList parseSectionName(const QString &text)
{
    QStringList path;
    for (const QString &part : text.split(QRegularExpression(QStringLiteral("[\\\\/]")), Qt::SkipEmptyParts))
        path += unescapeName(part);
    return path;
}

QString sectionHeader(const QStringList &path)
{
    QStringList parts;
    for (const QString &p : path)
        parts += escapeName(p);
    return QLatin1Char('[') + parts.join(QLatin1Char('\\')) + QLatin1Char(']');
}

// Values are always quoted, so commas, semicolons and edge blanks stay data.
QString quoteValue(const QString &value)
{
    QString out = QStringLiteral("\"");
    bool guardHex = false; // a "\x" escape swallows every hex digit after it
    for (const QChar c : value) {
        const char16_t u = c.unicode();
        const bool isHex = hexValue(c) >= 0;
        if (u == u'\\') {
            out += QStringLiteral("\\\\");
        } else if (u == u'"') {
            out += QStringLiteral("\\\"");
        } else if (u == u'\n') {
            out += QStringLiteral("\\n");
        } else if (u == u'\r') {
            out += QStringLiteral("\\r");
        } else if (u == u'\t') {
            out += QStringLiteral("\\t");
        } else if (u < 0x20 || u == 0x7F || (guardHex && isHex)) {
            out += QStringLiteral("\\x%1").arg(uint(u), 0, 16);
            guardHex = true;
            continue;
        } else {
            out += c;
        }
        guardHex = false;
    }
    out += QLatin1Char('"');
    return out;
}

// What this file's writer stores starts with its type inside the quotes ("REG_SZ:...")
// and has every backslash escaped. A value without a type was written by hand, where
// data="C:\Quorlc\data\DB.mdb" means exactly that path (and "\t" of "\traces" no
// tab): the text between its quotes is taken as it stands.
bool isTypedQuoted(const QString &text)
{
    static const QRegularExpression typed(QStringLiteral("^\"REG_[A-Z0-9_]+:"));
    return typed.match(text).hasMatch();
}

QString unquoteValue(const QString &raw)
{
    const QString text = raw.trimmed();
    if (!text.startsWith(QLatin1Char('"')))
        return text; // written by hand: taken as it stands, backslashes included
    if (!isTypedQuoted(text)) {
        const qsizetype close = text.lastIndexOf(QLatin1Char('"'));
        return close > 0 ? text.mid(1, close - 1) : text.mid(1);
    }
    QString out;
    for (qsizetype i = 1; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('"'))
            break;
        if (c != QLatin1Char('\\') || i + 1 >= text.size()) {
            out += c;
            continue;
        }
        const QChar e = text.at(++i);
        switch (e.unicode()) {
        case u'n': out += QLatin1Char('\n'); break;
        case u'r': out += QLatin1Char('\r'); break;
        case u't': out += QLatin1Char('\t'); break;
        case u'a': out += QChar(u'\a'); break;
        case u'b': out += QChar(u'\b'); break;
        case u'f': out += QChar(u'\f'); break;
        case u'v': out += QChar(u'\v'); break;
        case u'x': {
            uint value = 0;
            while (i + 1 < text.size() && hexValue(text.at(i + 1)) >= 0)
                value = value * 16 + uint(hexValue(text.at(++i)));
            out += QChar(char16_t(value));
            break;
        }
        default:
            if (e >= QLatin1Char('0') && e <= QLatin1Char('7')) {
                uint value = uint(e.unicode() - u'0');
                while (i + 1 < text.size() && text.at(i + 1) >= QLatin1Char('0') && text.at(i + 1) <= QLatin1Char('7'))
                    value = value * 8 + uint(text.at(++i).unicode() - u'0');
                out += QChar(char16_t(value));
            } else if (e == QLatin1Char('\\') || e == QLatin1Char('"') || e == QLatin1Char('\'')
                       || e == QLatin1Char('?')) {
                out += e;
            } else {
                out += QLatin1Char('\\'); // no escape: the backslash is data
                out += e;
            }
        }
    }
    return out;
}

// A file that is missing reads as empty; one that exists but cannot be read
// clears *readable, so a writer knows it would wipe the settings it cannot see.
Document readDocument(const QString &path, bool *readable = nullptr)
{
    Document doc;
    QFile file(path);
    if (readable)
        *readable = true;
    if (!file.open(QIODevice::ReadOnly)) {
        if (readable)
            *readable = !file.exists();
        return doc;
    }
    QString content = QString::fromUtf8(file.readAll());
    if (content.startsWith(QChar(0xFEFF))) // saved by an editor that marks UTF-8
        content.remove(0, 1);
    const QStringList lines = content.split(QLatin1Char('\n'));
    Section *current = nullptr;
    for (QString line : lines) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')) || line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QLatin1Char('['))) {
            const qsizetype close = line.lastIndexOf(QLatin1Char(']'));
            const QStringList named = parseSectionName(line.mid(1, close < 0 ? -1 : close - 1));
            current = nullptr;
            for (Section &s : doc) {
                if (!current && samePath(s.path, named))
                    current = &s;
            }
            if (!current) {
                doc.push_back(Section{named, {}});
                current = &doc.back();
            }
            continue;
        }
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (!current || eq <= 0)
            continue;
        current->entries.push_back(Entry{unescapeName(line.left(eq).trimmed()), unquoteValue(line.mid(eq + 1))});
    }
    return doc;
}

bool writeDocument(const QString &path, const Document &doc)
{
    QString text;
    for (const Section &s : doc) {
        if (!text.isEmpty())
            text += QLatin1Char('\n');
        text += sectionHeader(s.path) + QLatin1Char('\n');
        for (const Entry &e : s.entries) {
            // A value written by hand goes back as it was read, between quotes and
            // unescaped, so that writing another value leaves it meaning the same.
            const bool byHand = !isTypedQuoted(QLatin1Char('"') + e.stored) && !e.stored.contains(QLatin1Char('\n'))
                && !e.stored.contains(QLatin1Char('\r'));
            text += escapeName(e.name) + QLatin1Char('=')
                + (byHand ? QLatin1Char('"') + e.stored + QLatin1Char('"') : quoteValue(e.stored)) + QLatin1Char('\n');
        }
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray bytes = text.toUtf8();
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

std::optional<QString> findStored(const Document &doc, const QStringList &path, const QString &name)
{
    for (const Section &s : doc) {
        if (!samePath(s.path, path))
            continue;
        for (const Entry &e : s.entries) {
            if (e.name.compare(name, Qt::CaseInsensitive) == 0)
                return e.stored;
        }
    }
    return std::nullopt;
}

void storeValue(quint32 root, const QString &keyPath, const QString &name, const QString &stored)
{
    const QString path = registry::filePath();
    QDir().mkpath(QFileInfo(path).absolutePath());
    // Two processes writing at once must not lose each other's values; a lock
    // that cannot be had in time still lets the write go ahead.
    QLockFile lock(path + QStringLiteral(".lock"));
    const bool locked = lock.tryLock(2000);
    bool readable = true;
    Document doc = readDocument(path, &readable);
    if (!readable) {
        qWarning("Settings in %s cannot be read; the value %s is not written", qPrintable(path), qPrintable(name));
        return;
    }
    const QStringList wanted = sectionPath(root, keyPath);
    Section *section = nullptr;
    for (Section &s : doc) {
        if (!section && samePath(s.path, wanted))
            section = &s;
    }
    if (!section) {
        doc.push_back(Section{wanted, {}});
        section = &doc.back();
    }
    bool replaced = false;
    for (Entry &e : section->entries) {
        if (e.name.compare(name, Qt::CaseInsensitive) == 0) {
            e.stored = stored;
            replaced = true;
            break;
        }
    }
    if (!replaced)
        section->entries.push_back(Entry{name, stored});
    if (!writeDocument(path, doc))
        qWarning("Settings could not be written to %s", qPrintable(path));
    if (locked)
        lock.unlock();
}

} // namespace

QString GetRegistryValue(quint32 rootKey, const QString &keyPath, const QString &valueName,
                         const QString &defaultValue)
{
    const std::optional<QString> stored =
        findStored(readDocument(registry::filePath()), sectionPath(rootKey, keyPath), valueName);
    if (!stored)
        return defaultValue;
    static const QRegularExpression typed(QStringLiteral("^(REG_[A-Z0-9_]+):"));
    const QRegularExpressionMatch m = typed.match(*stored);
    if (!m.hasMatch())
        return *stored;
    if (m.captured(1) != kTextType)
        return defaultValue;
    QString text = stored->mid(m.capturedLength());
    // A registry string ends at its first NUL, whatever length was stored.
    const qsizetype nul = text.indexOf(QChar(u'\0'));
    if (nul >= 0)
        text.truncate(nul);
    return text;
}

void SetRegistryValue(quint32 rootKey, const QString &keyPath, const QString &valueName,
                      const QString &value)
{
    storeValue(rootKey, keyPath, valueName, kTextType + QLatin1Char(':') + value);
}

namespace registry {

QString filePath()
{
    const QString explicitPath = qEnvironmentVariable("QUORL_REGISTRY");
    if (!explicitPath.isEmpty())
        return explicitPath;
    QString configHome = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (configHome.isEmpty() || QDir::isRelativePath(configHome))
        configHome = QDir::homePath() + QStringLiteral("/.config");
    return configHome + QStringLiteral("/quorl-marina/registry.ini");
}

void setRawValueForTesting(quint32 root, const QString &keyPath, const QString &name,
                           const QString &typeTag, const QString &value)
{
    storeValue(root, keyPath, name, typeTag + QLatin1Char(':') + value);
}

} // namespace registry
} // namespace quorl
