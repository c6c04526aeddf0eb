#pragma once

#include <memory>

#include <gtest/gtest.h>

#include <QString>
#include <QTemporaryDir>
#include <QVariant>

#include "platform/db/Connection.h"
#include "platform/db/Recordset.h"
#include "support/QtPrinters.h"

namespace quorl::dbtest {

// The schema the program's database files are made from.
QString schemaScript();
// A starter database (schema and the rows that come with it) at folder/name.
QString createStarterDatabase(const QString &folder, const QString &name = QStringLiteral("DB.mdb"));
QString connectionStringFor(const QString &localPath);

// A few hand-made rows, chosen so that the edges show:
//  customers 1 Smith (club member, Brighton), 2 O'Brien (Bristol), 3 Jones (club member,
//  no e-mail), 4 Smart (Bristol);
//  owners 1 Jones, 2 Patel;
//  berths 1 "C1", 2 "A1", 3 "B1" (inactive), 4 "a2" (never booked);
//  bookings 1 Smith 8-10 Dec 2026 10:00 on C1 (half paid, taken 8 Dec 09:15),
//           2 O'Brien 10-12 Dec on C1 and A1 (no payment method),
//           3 Smith 5-8 Dec, ending 8 Dec 10:00, on A1,
//           4 Jones June 2026 without any berth;
//  one InvTemp row.
void insertSampleRows(db::Connection &connection);

// A value as the tests compare it: "<null>", dates "yyyy-MM-dd HH:mm:ss", Yes/No
// "true"/"false", numbers in their shortest form.
QString cellText(const QVariant &value);
// One field of every visible row, from the first row on; the position is left at EOF.
QStringList columnTexts(db::Recordset &recordset, const QString &field);

// A temporary folder with a starter database holding the sample rows, and an open
// connection to it.
class DbTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    QString databasePath() const { return m_path; }
    QString folder() const { return m_dir->path(); }
    db::Connection &connection() { return *m_connection; }
    // A second connection to the same file, as another window's data control has.
    std::unique_ptr<db::Connection> openAnother();

    // The first field of the first row of a query, read through a fresh connection
    // so that it shows what is committed.
    QVariant committedScalar(const QString &sql);
    // The same, through the test's own connection (sees its open transaction).
    QVariant scalar(const QString &sql);

    std::unique_ptr<db::Recordset> open(const QString &source, db::LockTypeEnum lock = db::adLockOptimistic,
                                        int options = db::adCmdUnspecified);

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_path;
    std::unique_ptr<db::Connection> m_connection;
};

} // namespace quorl::dbtest
