#pragma once

#include <ostream>

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QTime>
#include <QVariant>

// Readable values in GoogleTest's failure messages. They stand in the namespace
// of the Qt types (the global one), where GoogleTest looks for them.

inline void PrintTo(const QString &value, std::ostream *os)
{
    *os << '"' << value.toStdString() << '"';
}

inline void PrintTo(const QStringList &value, std::ostream *os)
{
    *os << '{';
    for (qsizetype i = 0; i < value.size(); ++i)
        *os << (i ? ", " : "") << '"' << value.at(i).toStdString() << '"';
    *os << '}';
}

inline void PrintTo(const QByteArray &value, std::ostream *os)
{
    *os << "QByteArray(" << value.toHex(' ').toStdString() << ')';
}

inline void PrintTo(const QDate &value, std::ostream *os)
{
    *os << value.toString(Qt::ISODate).toStdString();
}

inline void PrintTo(const QTime &value, std::ostream *os)
{
    *os << value.toString(Qt::ISODateWithMs).toStdString();
}

inline void PrintTo(const QDateTime &value, std::ostream *os)
{
    *os << value.toString(Qt::ISODate).toStdString();
}

inline void PrintTo(const QVariant &value, std::ostream *os)
{
    if (value.isNull())
        *os << "Null(" << value.typeName() << ')';
    else
        *os << value.typeName() << '(' << value.toString().toStdString() << ')';
}
