// Writes a starter database: the tables of the program and the rows that come
// with a new file. It never overwrites an existing file.

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

#include "platform/db/Database.h"
#include "platform/db/Error.h"
#include "platform/paths/Paths.h"

namespace {

int usage()
{
    QTextStream(stderr) << "usage: quorl-mkdb [--if-missing] PATH\n"
                           "  PATH may be a local path (a relative one starts at the current folder) or a\n"
                           "  Windows-style one such as c:\\Quorlc\\data\\DB.mdb\n"
                           "  --if-missing  succeed quietly when the file already exists\n";
    return 2;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    Q_INIT_RESOURCE(resources);

    QStringList args = app.arguments().mid(1);
    const bool ifMissing = args.removeAll(QStringLiteral("--if-missing")) > 0;
    if (args.size() != 1 || args.first().startsWith(QLatin1String("--")))
        return usage();

    const QString path = quorl::paths::resolveFromCurrentFolder(args.first());
    QTextStream out(stdout);
    QTextStream err(stderr);
    if (QFileInfo::exists(path)) {
        if (ifMissing)
            return 0;
        err << "quorl-mkdb: " << path << " already exists; it is left as it is\n";
        return 1;
    }

    QFile schema(QStringLiteral(":/schema.sql"));
    if (!schema.open(QIODevice::ReadOnly)) {
        err << "quorl-mkdb: the schema resource is missing\n";
        return 1;
    }
    const QString script = QString::fromUtf8(schema.readAll());

    if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
        err << "quorl-mkdb: cannot create the folder of " << path << "\n";
        return 1;
    }
    try {
        quorl::db::createDatabaseFile(path, script);
    } catch (const quorl::db::Error &error) {
        err << "quorl-mkdb: " << error.message() << "\n";
        return 1;
    }
    out << "Wrote a starter database to " << path << "\n";
    return 0;
}
