#include <fcntl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <climits>
#include <functional>
#include <memory>
#include <ostream>
#include <random>
#include <thread>
#include <tuple>
#include <vector>

#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPushButton>

#include "masterdata/MasterDataTest.h"
#include "platform/paths/Paths.h"
#include "platform/ui/Services.h"
#include "reports/ReportPreview.h"
#include "reports/frmWizardMailList.h"
#include "reports/modExport.h"
#include "reports/modWebBookingPage.h"
#include "support/PrintedText.h"
#include "support/TestFiles.h"

// Every file the program writes to a name the user gives, against names that must
// never be written: the database in use by any of its spellings and by every other
// way the kernel reaches it (links, a bind mount, ".." after a linked folder), the
// files SQLite and the safety copy keep beside it, and entries that are no plain file.

namespace quorl {
namespace {

// What a target leaves to undo once the test ends, however it ends (a mount).
class Undo
{
public:
    ~Undo()
    {
        for (auto step = m_steps.rbegin(); step != m_steps.rend(); ++step)
            (*step)();
    }
    void add(std::function<void()> step) { m_steps.push_back(std::move(step)); }

private:
    std::vector<std::function<void()>> m_steps;
};

struct TargetCase {
    const char *name;
    // Makes what stands there and gives the name the user types; "" when this machine cannot.
    QString (*make)(const QString &world, const QString &database, Undo &undo);
};

struct WriterCase {
    const char *name;
    bool asksForFile; // through the shared file dialog, which answers with the name
    // Runs the writer as the user would, naming the file; true when it says it wrote.
    bool (*write)(const QString &name);
};

void PrintTo(const TargetCase &c, std::ostream *os) { *os << c.name; }
void PrintTo(const WriterCase &c, std::ostream *os) { *os << c.name; }

QString databaseFolder(const QString &database) { return QFileInfo(database).absolutePath(); }

// The data folder mounted a second time in the world; "" where mounting needs a root this is not.
QString boundDataFolder(const QString &world, const QString &database, Undo &undo)
{
    const QString mirror = world + "/mirror";
    QDir(world).mkdir("mirror");
    if (::geteuid() != 0
        || ::mount(QFile::encodeName(databaseFolder(database)).constData(), QFile::encodeName(mirror).constData(),
                   nullptr, MS_BIND, nullptr)
            != 0)
        return QString();
    undo.add([mirror] { ::umount2(QFile::encodeName(mirror).constData(), MNT_DETACH); });
    return mirror;
}

const TargetCase kTargets[] = {
    {"DatabaseByDriveCPathInOtherCase",
     [](const QString &, const QString &, Undo &) { return QStringLiteral("C:\\QUORLC\\DATA\\db.MDB"); }},
    {"DatabaseByRealPath", [](const QString &, const QString &database, Undo &) { return database; }},
    {"LinkToTheDatabase",
     [](const QString &world, const QString &database, Undo &) {
         return QFile::link(database, world + "/list.txt") ? world + "/list.txt" : QString();
     }},
    {"DatabaseJournal", [](const QString &, const QString &database, Undo &) { return database + "-journal"; }},
    {"DatabaseWalInOtherCase",
     [](const QString &, const QString &, Undo &) { return QStringLiteral("c:\\quorlc\\Data\\DB.MDB-WAL"); }},
    {"DatabaseSafetyCopy",
     [](const QString &, const QString &database, Undo &) {
         writeFile(databaseFolder(database) + "/DB.bak", readFile(database));
         return databaseFolder(database) + "/DB.bak";
     }},
    {"Fifo",
     [](const QString &world, const QString &, Undo &) {
         makeFifo(world + "/pipe.csv");
         return world + "/pipe.csv";
     }},
    {"DeviceFile",
     [](const QString &world, const QString &, Undo &) {
         return makeNullDevice(world + "/null.csv") ? world + "/null.csv" : QString();
     }},
    {"Folder",
     [](const QString &world, const QString &, Undo &) {
         return QDir(world).mkdir("folder.csv") ? world + "/folder.csv" : QString();
     }},
    {"LinkedFolderThenDotDot",
     [](const QString &world, const QString &database, Undo &) {
         // The kernel follows the link first: "exports/.." is the data folder, not the world.
         QDir(databaseFolder(database)).mkdir("Exports");
         return QFile::link(databaseFolder(database) + "/Exports", world + "/exports")
             ? world + "/exports/../DB.mdb"
             : QString();
     }},
    {"LinkWithATrailingBlank",
     [](const QString &world, const QString &database, Undo &) {
         return QFile::link(database, world + "/out.csv ") ? world + "/out.csv " : QString();
     }},
    {"HardLinkToTheDatabase",
     [](const QString &world, const QString &database, Undo &) {
         const QString link = world + "/copy.mdb";
         return ::link(QFile::encodeName(database).constData(), QFile::encodeName(link).constData()) == 0 ? link
                                                                                                          : QString();
     }},
    {"DataFolderBoundElsewhere",
     [](const QString &world, const QString &database, Undo &undo) {
         const QString mirror = boundDataFolder(world, database, undo);
         return mirror.isEmpty() ? mirror : mirror + "/DB.mdb";
     }},
    {"DatabaseWalThroughTheBoundFolder",
     [](const QString &world, const QString &database, Undo &undo) {
         const QString mirror = boundDataFolder(world, database, undo);
         return mirror.isEmpty() ? mirror : mirror + "/db.mdb-wal";
     }},
    {"SafetyCopyUnderConstructionInOtherCase",
     [](const QString &, const QString &, Undo &) { return QStringLiteral("c:\\quorlc\\data\\db.BAK.PART"); }},
    {"LinkToTheJournalNotThereYet",
     [](const QString &world, const QString &database, Undo &) {
         return QFile::link(database + "-journal", world + "/notes.txt") ? world + "/notes.txt" : QString();
     }},
};

reports::ReportDocument smallDocument()
{
    reports::ReportDocument document;
    document.name = QStringLiteral("Outstanding");
    reports::ReportCell cell;
    cell.text = QStringLiteral("Smith");
    document.body.append(reports::ReportBand().line({cell}));
    return document;
}

const WriterCase kWriters[] = {
    {"MailingList", false,
     [](const QString &name) {
         bool leftOpen = false;
         onModal<frmWizardMailList>(
             [&name](frmWizardMailList &w) {
                 w.cmdNext->click();
                 w.txtFileName->setText(name);
                 w.cmdNext->click();
                 w.cmdNext->click();
             },
             &leftOpen);
         frmWizardMailList wizard;
         wizard.Display();
         return !leftOpen;
     }},
    {"CustomerExport", true, [](const QString &) { return ExportCustomers() == ExportOutcome::Written; }},
    {"ReservationExport", true, [](const QString &) { return ExportReservations() == ExportOutcome::Written; }},
    {"TodaysReservationExport", true,
     [](const QString &) { return ExportTodaysReservations() == ExportOutcome::Written; }},
    {"WebPage", true, [](const QString &) { return GenerateWebBookingPage("https://forms.example/", "a@x.example"); }},
    {"PdfWithoutPrinter", true,
     [](const QString &) {
         NoPrinterInstalled noPrinter;
         return reports::printReport(smallDocument());
     }},
    // The preview's Print button after Qt's own dialogs named the file.
    {"PreviewPrintToFile", false,
     [](const QString &name) {
         reports::ReportPreviewDialog preview;
         preview.setDocument(smallDocument());
         QPrinter printer(QPrinter::HighResolution);
         printer.setOutputFormat(QPrinter::PdfFormat);
         printer.setOutputFileName(name);
         emit preview.paintRequested(&printer);
         return !printer.outputFileName().isEmpty();
     }},
};

// The entry itself (a link is not followed), so a name replaced by a rename shows.
QString entryIdentity(const QString &path)
{
    struct stat entry {};
    if (::lstat(QFile::encodeName(path).constData(), &entry) != 0)
        return QStringLiteral("nothing");
    return QStringLiteral("%1:%2").arg(entry.st_dev).arg(entry.st_ino);
}

// The folder the kernel finds for the path's last name: ".." after a link is taken after it.
QString realFolderOf(const QString &local)
{
    const QByteArray folder = QFile::encodeName(local.left(local.lastIndexOf(QLatin1Char('/'))));
    char real[PATH_MAX];
    return ::realpath(folder.constData(), real) ? QFile::decodeName(real) : QString();
}

class WriterWorld : public MasterDataTest
{
protected:
    void addCustomerAndBooking()
    {
        exec(QStringLiteral("INSERT INTO Customer (Name, EmailAddress) VALUES ('Smith', 'a@x.example')"));
        exec(QStringLiteral("INSERT INTO Booking (FromDate, ToDate, CustomerID, OtherCharges, VAT, TotalPayable, "
                            "AmountPayed, CostOfHire) VALUES ('2026-12-07 14:00:00', '2026-12-09 10:00:00', 1, "
                            "0, 0, 0, 0, 0)"));
    }
};

class WriteTargetTest : public WriterWorld, public ::testing::WithParamInterface<std::tuple<TargetCase, WriterCase>>
{
};

TEST_P(WriteTargetTest, IsRefusedNamingTheFileAndNothingIsWritten)
{
    const auto [target, writer] = GetParam();
    addCustomerAndBooking();
    Undo undo;
    const QString name = target.make(worldDir(), databasePath(), undo);
    if (name.isEmpty())
        GTEST_SKIP() << "this machine cannot make the target";
    const QString local = paths::resolveForOpen(name);
    const QString folder = realFolderOf(local);
    const QString dataFolder = QFileInfo(databasePath()).absolutePath();
    const QString targetBefore = entryFingerprint(local);
    const QString targetIdentityBefore = entryIdentity(local);
    const QString folderBefore = entryFingerprint(folder);
    const QString dataFolderBefore = entryFingerprint(dataFolder);
    const QString databaseIdentity = entryIdentity(databasePath());
    const QByteArray databaseBefore = readFile(databasePath());
    // A writer that opened the pipe would wait for a reader for good.
    std::unique_ptr<FifoWatchdog> watchdog;
    if (targetBefore == QLatin1String("pipe"))
        watchdog = std::make_unique<FifoWatchdog>(local);

    if (writer.asksForFile)
        expectFileDialog(name);
    expectMessage(name, ui::vbOK);
    EXPECT_FALSE(writer.write(name));

    EXPECT_FALSE(watchdog && watchdog->rescued()) << "the writer opened the pipe";
    EXPECT_EQ(entryFingerprint(local), targetBefore);
    EXPECT_EQ(entryIdentity(local), targetIdentityBefore) << "the name now stands for another file";
    EXPECT_EQ(entryFingerprint(folder), folderBefore);
    EXPECT_EQ(entryFingerprint(dataFolder), dataFolderBefore);
    EXPECT_EQ(entryIdentity(databasePath()), databaseIdentity);
    EXPECT_EQ(readFile(databasePath()), databaseBefore);
    EXPECT_EQ(eventLog(), QString());
}

INSTANTIATE_TEST_SUITE_P(EveryWriter, WriteTargetTest,
                         ::testing::Combine(::testing::ValuesIn(kTargets), ::testing::ValuesIn(kWriters)),
                         [](const auto &info) {
                             return std::string(std::get<1>(info.param).name) + "To" + std::get<0>(info.param).name;
                         });

// The preview paints through the same handler while the printer still names the
// file of an earlier print: only the Print button writes it.
TEST_F(WriterWorld, PreviewPaintingLeavesTheOutputFileAlone)
{
    const QString name = worldDir() + QStringLiteral("/earlier.pdf");
    writeFile(name, "earlier print");
    reports::ReportPreviewDialog preview;
    preview.printer()->setOutputFormat(QPrinter::PdfFormat);
    preview.printer()->setOutputFileName(name);
    preview.setDocument(smallDocument());
    preview.show();
    auto *widget = preview.findChild<QPrintPreviewWidget *>();
    ASSERT_TRUE(widget);
    widget->updatePreview();
    EXPECT_GE(widget->pageCount(), 1);
    EXPECT_EQ(readFile(name), "earlier print");
    EXPECT_EQ(preview.printer()->outputFileName(), name);
}

constexpr int kRaceRounds = 40;

// Swaps the name, one rename at a time so it is never missing, between a plain file
// and a link to the database, as fast as it can until it goes.
class NameSwapper
{
public:
    NameSwapper(const QString &name, const QString &database)
        : m_name(QFile::encodeName(name))
        , m_database(QFile::encodeName(database))
        , m_thread([this] { swap(); })
    {
    }
    ~NameSwapper()
    {
        m_stop = true;
        m_thread.join();
    }

private:
    void swap()
    {
        const QByteArray plain = m_name + ".plain";
        const QByteArray link = m_name + ".link";
        while (!m_stop) {
            const int fd = ::open(plain.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            if (fd >= 0) {
                [[maybe_unused]] const ssize_t written = ::write(fd, "plain\n", 6);
                ::close(fd);
                ::rename(plain.constData(), m_name.constData());
            }
            pause();
            if (::symlink(m_database.constData(), link.constData()) == 0)
                ::rename(link.constData(), m_name.constData());
            pause();
        }
    }

    // Each state held for a while of varying length, so that checks and renames
    // meet either of them.
    void pause() { std::this_thread::sleep_for(std::chrono::microseconds(m_random() % 300)); }

    QByteArray m_name;
    QByteArray m_database;
    std::minstd_rand m_random{7};
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

// Answers every message with its first button and keeps the prompts, for as long as it lives.
class AnyMessage final : public ui::MessageBoxService
{
public:
    static QStringList *install(std::unique_ptr<ui::MessageBoxService> *previous)
    {
        auto service = std::make_unique<AnyMessage>();
        QStringList *prompts = &service->m_prompts;
        *previous = ui::setMessageBoxService(std::move(service));
        return prompts;
    }
    int show(const ui::MessageRequest &request) override
    {
        m_prompts += request.prompt;
        return ui::buttonResults(request.buttons).first();
    }

private:
    QStringList m_prompts;
};

class WriterRaceTest : public WriterWorld, public ::testing::WithParamInterface<WriterCase>
{
};

TEST_P(WriterRaceTest, NameSwappedWithALinkToTheDatabaseNeverReachesIt)
{
    const WriterCase writer = GetParam();
    addCustomerAndBooking();
    const QString name = worldDir() + QStringLiteral("/race.csv");
    const QByteArray databaseBefore = readFile(databasePath());
    const QString databaseIdentity = entryIdentity(databasePath());
    std::unique_ptr<ui::MessageBoxService> scripted;
    const QStringList *prompts = AnyMessage::install(&scripted);
    int refused = 0;
    {
        const NameSwapper swapper(name, databasePath());
        for (int round = 0; round < kRaceRounds; ++round) {
            if (writer.asksForFile)
                expectFileDialog(name);
            const qsizetype shown = prompts->size();
            const bool written = writer.write(name);
            if (prompts->size() == shown) {
                EXPECT_TRUE(written) << "round " << round << " failed without a word";
                continue;
            }
            ++refused;
            EXPECT_FALSE(written) << "round " << round;
            EXPECT_TRUE(prompts->last().contains(name)) << prompts->last().toStdString();
        }
    }
    ui::setMessageBoxService(std::move(scripted));
    EXPECT_EQ(entryIdentity(databasePath()), databaseIdentity);
    EXPECT_EQ(readFile(databasePath()), databaseBefore);
    // Neither the writers' temporary files nor the ones they refused to finish stay.
    EXPECT_EQ(QDir(worldDir()).entryList({QStringLiteral("race.csv.tmp-*")}, QDir::AllEntries | QDir::System),
              QStringList());
    RecordProperty("refused", refused);
}

INSTANTIATE_TEST_SUITE_P(EveryWriter, WriterRaceTest, ::testing::ValuesIn(kWriters),
                         [](const auto &info) { return std::string(info.param.name); });

} // namespace
} // namespace quorl
