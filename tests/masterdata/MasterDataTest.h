#pragma once

#include <functional>

#include <QApplication>
#include <QDir>
#include <QTimer>
#include <QVariant>
#include <QWidget>

#include "core/modDatabase.h"
#include "core/modEventLog.h"
#include "platform/db/Connection.h"
#include "platform/db/Recordset.h"
#include "platform/text/Text.h"
#include "support/QuorlTest.h"

namespace quorl {

// The world of the customer and owner windows: the shared connection open on the
// starter database and the day's event log ready under the trace folder.
class MasterDataTest : public QuorlTest
{
protected:
    void SetUp() override
    {
        QuorlTest::SetUp();
        ASSERT_TRUE(QDir(driveC()).mkpath(QStringLiteral("Quorlc/traces")));
        DbConnection = OpenConnection(databasePath(), QString(), 500);
        ASSERT_TRUE(DbConnection);
        InitEventLog();
        ASSERT_FALSE(EventLogPath.isEmpty());
    }

    void TearDown() override
    {
        DbConnection.reset();
        EventLogPath.clear();
        QuorlTest::TearDown();
    }

    qint64 exec(const QString &sql) { return DbConnection->Execute(sql); }

    QVariant scalar(const QString &sql)
    {
        const auto rs = DbConnection->ExecuteQuery(sql);
        return rs->isEOF() ? QVariant() : rs->value(0);
    }

    qint64 count(const QString &table) { return scalar(QStringLiteral("SELECT COUNT(*) FROM ") + table).toLongLong(); }

    qint64 lastId(const QString &table) { return scalar(QStringLiteral("SELECT MAX(ID) FROM ") + table).toLongLong(); }

    // Everything written to today's events.Log so far ("" when nothing).
    QString eventLog() const { return text::readAnsiFile(EventLogPath); }

    // One entry as written at the fixed clock's time.
    static QString entry(const QString &eventText, const QString &details)
    {
        return QStringLiteral("[08/12/2026 10:47:00]\r\n[") + eventText + QStringLiteral("]\r\n") + details
            + QStringLiteral("\r\n\r\n");
    }
};

// Sends the grid's double click and tells whether a modal window opened on it; one
// that did is closed again so the test goes on.
template <class Grid>
bool doubleClickOpensAWindow(Grid *grid)
{
    bool opened = false;
    QTimer::singleShot(0, qApp, [&opened] {
        if (QWidget *modal = QApplication::activeModalWidget()) {
            opened = true;
            modal->close();
        }
    });
    emit grid->DblClick();
    QCoreApplication::processEvents();
    return opened;
}

// Runs act on the modal window of type D as soon as its modal loop runs. A window
// the act leaves open is closed afterwards so the test never hangs; *leftOpen says
// whether that happened.
template <class D>
void onModal(std::function<void(D &)> act, bool *leftOpen = nullptr)
{
    QTimer::singleShot(0, qApp, [act = std::move(act), leftOpen] {
        QWidget *modal = QApplication::activeModalWidget();
        D *window = qobject_cast<D *>(modal);
        if (!window) {
            ADD_FAILURE() << "The expected modal window did not open";
            if (modal)
                modal->close();
            return;
        }
        act(*window);
        if (leftOpen)
            *leftOpen = window->isVisible();
        if (window->isVisible())
            window->reject();
    });
}

template <class T>
T *child(QWidget *window, const char *name)
{
    T *found = window->findChild<T *>(QString::fromLatin1(name));
    if (!found)
        ADD_FAILURE() << "No control named " << name;
    return found;
}

} // namespace quorl
