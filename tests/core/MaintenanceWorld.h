#pragma once

#include <QDir>
#include <QStringList>

#include "core/modDatabase.h"
#include "core/modEventLog.h"
#include "platform/db/Database.h"
#include "support/QuorlTest.h"

namespace quorl {

inline QStringList customerNames(db::Connection &connection)
{
    auto rows = connection.ExecuteQuery(QStringLiteral("SELECT Name FROM Customer ORDER BY ID"));
    QStringList names;
    for (; !rows->isEOF(); rows->MoveNext())
        names += rows->value(QStringLiteral("Name")).toString();
    return names;
}

// A world with the program's connection open and today's event log in use, as the
// backup, restore and compact commands find it.
class MaintenanceWorld : public QuorlTest {
protected:
    void SetUp() override
    {
        QuorlTest::SetUp();
        QDir().mkpath(driveC() + QStringLiteral("/Quorlc/traces"));
        DbConnection = OpenConnection(databasePath(), QString(), 500);
        ASSERT_TRUE(DbConnection);
        InitEventLog();
    }
    void TearDown() override
    {
        DbConnection.reset();
        EventLogPath.clear();
        QuorlTest::TearDown();
    }

    void addCustomers(const QStringList &names)
    {
        for (const QString &name : names)
            DbConnection->Execute(QStringLiteral("INSERT INTO Customer (Name) VALUES (%1)").arg(db::SqlQuote(name)));
    }
};

} // namespace quorl
