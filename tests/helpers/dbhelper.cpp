// A second program on the same database, started by the tests as a child process:
//   dbhelper compact PATH   compacts the file as the program does, saying "start" on stdout
//                           first; exit status 0 on success
//   dbhelper hold PATH      keeps a connection open and answers commands on stdin, one
//                           per line, each answered by one line on stdout:
//                             insert NAME   adds a customer          -> "ok" or "error: ..."
//                             names         the customers, by ID     -> "a,b,c"
//                             quit
//   dbhelper save PATH      says "ready", then adds customers "saved 1", "saved 2", ...
//                           one save after another, and prints the name of each the
//                           database confirmed, until a line or the end of stdin
//                           comes (or a minute has passed); then says "done"
//   dbhelper leave KIND PATH  leaves what a maintenance of the database at PATH has on
//                           the way, says "ready" and waits for a line on stdin; KIND:
//                             folder    a temporary folder holding a file
//                             part      the safety copy's partial file
//                             archive   the library's partial archive beside PATH.SPA

#include <cstdio>
#include <iostream>
#include <string>

#include <poll.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QStringList>

#include "core/MaintenanceFiles.h"
#include "core/modDatabase.h"
#include "core/modSpas.h"
#include "core/modttgz_api.h"
#include "platform/db/Database.h"

namespace {

std::string answer(quorl::db::Connection &connection, const std::string &line)
{
    using namespace quorl;
    try {
        if (line.rfind("insert ", 0) == 0) {
            connection.Execute(QStringLiteral("INSERT INTO Customer (Name) VALUES (")
                               + db::SqlQuote(QString::fromStdString(line.substr(7))) + QStringLiteral(")"));
            return "ok";
        }
        if (line == "names") {
            auto rows = connection.ExecuteQuery(QStringLiteral("SELECT Name FROM Customer ORDER BY ID"));
            QStringList names;
            for (; !rows->isEOF(); rows->MoveNext())
                names += rows->value(QStringLiteral("Name")).toString();
            return names.join(QLatin1Char(',')).toStdString();
        }
        return "error: unknown command";
    } catch (const std::exception &error) {
        return std::string("error: ") + error.what();
    }
}

void waitForALine()
{
    std::cout << "ready" << std::endl;
    std::string line;
    std::getline(std::cin, line);
}

extern "C" void waitInTheMiddle(int32_t, int32_t, int32_t *abort)
{
    static bool waited = false;
    if (!waited) {
        waited = true;
        waitForALine();
    }
    *abort = 1;
}

int leave(const std::string &kind, const QString &path)
{
    using namespace quorl;
    if (kind == "folder") {
        const MaintenanceFolder folder;
        QFile file(folder.filePath(QStringLiteral("snapshot.db")));
        file.open(QIODevice::WriteOnly);
        file.write("copy");
        file.close();
        waitForALine();
        return 0;
    }
    if (kind == "part") {
        const PartialFile part(safetyCopyPath(path));
        waitForALine();
        return 0;
    }
    if (kind == "archive") {
        quorl::RegisterCallback(&waitInTheMiddle);
        quorl::Zcompress(path, path + QStringLiteral(".SPA"), QStringLiteral("7"), -1);
        return 0;
    }
    return 2;
}

// As a user saving one record after another: the pause lets another program's
// waiting lock in between, as a person typing would.
int saveInALoop(quorl::db::Connection &connection)
{
    constexpr qint64 kLimitMilliseconds = 60000;
    constexpr int kPauseMicroseconds = 2000;
    std::cout << "ready" << std::endl;
    pollfd input{0, POLLIN, 0};
    QElapsedTimer running;
    running.start();
    for (int n = 1; ::poll(&input, 1, 0) == 0 && running.elapsed() < kLimitMilliseconds; ++n) {
        const std::string name = "saved " + std::to_string(n);
        if (answer(connection, "insert " + name) == "ok")
            std::cout << name << std::endl;
        ::usleep(kPauseMicroseconds);
    }
    std::cout << "done" << std::endl;
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc == 4 && std::string(argv[1]) == "leave")
        return leave(argv[2], QString::fromLocal8Bit(argv[3]));
    if (argc != 3)
        return 2;
    const std::string command = argv[1];
    const QString path = QString::fromLocal8Bit(argv[2]);
    if (command == "compact") {
        std::cout << "start" << std::endl;
        QString error;
        if (quorl::CompactDatabase(path, false, &error))
            return 0;
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    if (command == "hold" || command == "save") {
        auto connection = quorl::OpenConnection(path, QString(), 500);
        if (!connection) {
            std::cout << "error: cannot open" << std::endl;
            return 1;
        }
        if (command == "save")
            return saveInALoop(*connection);
        std::cout << "ready" << std::endl;
        std::string line;
        while (std::getline(std::cin, line) && line != "quit")
            std::cout << answer(*connection, line) << std::endl;
        return 0;
    }
    return 2;
}
