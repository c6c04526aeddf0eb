#include <memory>
#include <ostream>
#include <tuple>

#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>

#include "masterdata/MasterDataTest.h"
#include "platform/paths/Paths.h"
#include "reports/ReportPreview.h"
#include "reports/frmWizardMailList.h"
#include "reports/modExport.h"
#include "reports/modWebBookingPage.h"
#include "support/PrintedText.h"
#include "support/TestFiles.h"

// Every file the program writes to a name the user gives, against names that must
// never be written: the database in use by any of its spellings, the files SQLite
// and the safety copy keep beside it, and entries that are no plain file.

namespace quorl {
namespace {

struct TargetCase {
    const char *name;
    // Makes what stands there and gives the name the user types; "" when this machine cannot.
    QString (*make)(const QString &world, const QString &database);
};

struct WriterCase {
    const char *name;
    // Runs the writer as the user would, naming the file; true when it says it wrote.
    bool (*write)(const QString &name);
};

void PrintTo(const TargetCase &c, std::ostream *os) { *os << c.name; }
void PrintTo(const WriterCase &c, std::ostream *os) { *os << c.name; }

QString databaseFolder(const QString &database) { return QFileInfo(database).absolutePath(); }

const TargetCase kTargets[] = {
    {"DatabaseByDriveCPathInOtherCase",
     [](const QString &, const QString &) { return QStringLiteral("C:\\QUORLC\\DATA\\db.MDB"); }},
    {"DatabaseByRealPath", [](const QString &, const QString &database) { return database; }},
    {"LinkToTheDatabase",
     [](const QString &world, const QString &database) {
         return QFile::link(database, world + "/list.txt") ? world + "/list.txt" : QString();
     }},
    {"DatabaseJournal", [](const QString &, const QString &database) { return database + "-journal"; }},
    {"DatabaseWalInOtherCase",
     [](const QString &, const QString &) { return QStringLiteral("c:\\quorlc\\Data\\DB.MDB-WAL"); }},
    {"DatabaseSafetyCopy",
     [](const QString &, const QString &database) {
         writeFile(databaseFolder(database) + "/DB.bak", readFile(database));
         return databaseFolder(database) + "/DB.bak";
     }},
    {"Fifo",
     [](const QString &world, const QString &) {
         makeFifo(world + "/pipe.csv");
         return world + "/pipe.csv";
     }},
    {"DeviceFile",
     [](const QString &world, const QString &) {
         return makeNullDevice(world + "/null.csv") ? world + "/null.csv" : QString();
     }},
    {"Folder",
     [](const QString &world, const QString &) {
         return QDir(world).mkdir("folder.csv") ? world + "/folder.csv" : QString();
     }},
};

const WriterCase kWriters[] = {
    {"MailingList",
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
    {"CustomerExport", [](const QString &) { return ExportCustomers() == ExportOutcome::Written; }},
    {"ReservationExport", [](const QString &) { return ExportReservations() == ExportOutcome::Written; }},
    {"TodaysReservationExport", [](const QString &) { return ExportTodaysReservations() == ExportOutcome::Written; }},
    {"WebPage", [](const QString &) { return GenerateWebBookingPage("https://forms.example/", "a@x.example"); }},
    {"PdfWithoutPrinter",
     [](const QString &) {
         NoPrinterInstalled noPrinter;
         reports::ReportDocument document;
         document.name = QStringLiteral("Outstanding");
         reports::ReportCell cell;
         cell.text = QStringLiteral("Smith");
         document.body.append(reports::ReportBand().line({cell}));
         return reports::printReport(document);
     }},
};

class WriteTargetTest : public MasterDataTest, public ::testing::WithParamInterface<std::tuple<TargetCase, WriterCase>>
{
};

TEST_P(WriteTargetTest, IsRefusedNamingTheFileAndNothingIsWritten)
{
    const auto [target, writer] = GetParam();
    exec(QStringLiteral("INSERT INTO Customer (Name, EmailAddress) VALUES ('Smith', 'a@x.example')"));
    exec(QStringLiteral("INSERT INTO Booking (FromDate, ToDate, CustomerID, OtherCharges, VAT, TotalPayable, "
                        "AmountPayed, CostOfHire) VALUES ('2026-12-07 14:00:00', '2026-12-09 10:00:00', 1, "
                        "0, 0, 0, 0, 0)"));
    const QString name = target.make(worldDir(), databasePath());
    if (name.isEmpty())
        GTEST_SKIP() << "this machine cannot make the target";
    const QString local = paths::resolve(name);
    const QString folder = QFileInfo(local).absolutePath();
    const QString targetBefore = entryFingerprint(local);
    const QString folderBefore = entryFingerprint(folder);
    const QByteArray databaseBefore = readFile(databasePath());
    // A writer that opened the pipe would wait for a reader for good.
    std::unique_ptr<FifoWatchdog> watchdog;
    if (targetBefore == QLatin1String("pipe"))
        watchdog = std::make_unique<FifoWatchdog>(local);

    if (std::string(writer.name) != "MailingList")
        expectFileDialog(name);
    expectMessage(name, ui::vbOK);
    EXPECT_FALSE(writer.write(name));

    EXPECT_FALSE(watchdog && watchdog->rescued()) << "the writer opened the pipe";
    EXPECT_EQ(entryFingerprint(local), targetBefore);
    EXPECT_EQ(entryFingerprint(folder), folderBefore);
    EXPECT_EQ(readFile(databasePath()), databaseBefore);
    EXPECT_EQ(eventLog(), QString());
}

INSTANTIATE_TEST_SUITE_P(EveryWriter, WriteTargetTest,
                         ::testing::Combine(::testing::ValuesIn(kTargets), ::testing::ValuesIn(kWriters)),
                         [](const auto &info) {
                             return std::string(std::get<1>(info.param).name) + "To" + std::get<0>(info.param).name;
                         });

} // namespace
} // namespace quorl
