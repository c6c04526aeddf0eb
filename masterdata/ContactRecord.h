#pragma once

#include <QList>
#include <QString>
#include <QVariant>

// What the customer and owner rows share: the name and address they begin with, the
// statements that write them, and the details of their events.

namespace quorl {

// The name and address of a customer or an owner, as typed (not trimmed).
struct ContactAddress
{
    QString Name;
    QString HouseName;
    QString Street;
    QString Area;
    QString Town;
    QString PostCode;
};

// A column of an INSERT or UPDATE with its value as SQL text (quoted, or a number).
struct ColumnValue
{
    const char *column;
    QString sql;
};

// Name, HouseName, Street, Area, Town and PostCode, each value quoted.
QList<ColumnValue> addressValues(const ContactAddress &address);

// "INSERT INTO <table> (a, b) SELECT <a>, <b>" and "UPDATE <table> SET a = <a>, b = <b>"
// (the caller adds the WHERE).
QString insertSelectSql(const QString &table, const QList<ColumnValue> &values);
QString updateSetSql(const QString &table, const QList<ColumnValue> &values);

// Details of the added/modified events of customers and owners: "Name: '...' HouseName: '...'".
QString savedContactEventDetails(const QString &name, const QString &houseName);

// Details of the deleted events, taken from the list's current row before the
// delete: "Name: ..., HouseName: ..." where a Null adds nothing.
QString deletedContactEventDetails(const QVariant &name, const QVariant &houseName);

} // namespace quorl
