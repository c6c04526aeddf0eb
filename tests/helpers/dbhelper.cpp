// A second program on the same database, started by the tests as a child process:
//   dbhelper compact PATH   compacts the file as the program does, saying "start" on stdout
//                           first; exit status 0 on success
//   dbhelper hold PATH      keeps a connection open and answers commands on stdin, one
//                           per line, each answered by one line on stdout:
//                             insert NAME   adds a customer          -> "ok" or "error: ..."
//                             names         the customers, by ID     -> "a,b,c"
//                             quit

#include <cstdio>
#include <iostream>
#include <string>

#include <QCoreApplication>
#include <QStringList>

#include "core/modDatabase.h"
#include "core/modSpas.h"
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

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
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
    if (command == "hold") {
        auto connection = quorl::OpenConnection(path, QString(), 500);
        if (!connection) {
            std::cout << "error: cannot open" << std::endl;
            return 1;
        }
        std::cout << "ready" << std::endl;
        std::string line;
        while (std::getline(std::cin, line) && line != "quit")
            std::cout << answer(*connection, line) << std::endl;
        return 0;
    }
    return 2;
}
