#include <functional>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QListView>
#include <QMessageBox>
#include <QPointer>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

#include "platform/db/FieldValue.h"
#include "platform/paths/Paths.h"
#include "platform/text/Text.h"
#include "platform/ui/QtServices.h"
#include "platform/ui/Twips.h"
#include "support/QuorlTest.h"

namespace quorl {
namespace {

using namespace quorl::ui;

class UiServices : public QuorlTest {};

TEST_F(UiServices, MessageWithoutTitleCarriesTheProgramTitle)
{
    expectMessage("Database backuped", vbOK);
    expectMessage("Delete", vbNo);
    EXPECT_EQ(MsgBox("Database backuped", vbInformation), vbOK);
    EXPECT_EQ(MsgBox("Delete this customer?", vbYesNo + vbQuestion, "Confirm deletion"), vbNo);
    ASSERT_EQ(messages().size(), 2);
    EXPECT_EQ(messages().at(0).title, "Quorl Duzuruz");
    EXPECT_EQ(messages().at(1).title, "Confirm deletion");
    EXPECT_EQ(messages().at(1).buttons, vbYesNo + vbQuestion);
}

TEST_F(UiServices, ScriptedServicesAnswerInOrderAndRecordEveryCall)
{
    expectFileDialog(worldDir() + "/a.csv");
    expectFileDialog("");
    EXPECT_EQ(showFileDialog({"Export Customers", "customers.csv", "All Files (*.*)|*.*", 1, "", "", 0, true}),
              worldDir() + "/a.csv");
    EXPECT_EQ(showFileDialog({"Mailing list file", "maillist.txt", "", 1, "", "", 0, true}), "");
    ASSERT_EQ(fileDialogRequests().size(), 2);
    EXPECT_EQ(fileDialogRequests().at(1).title, "Mailing list file");

    ASSERT_TRUE(text::writeAnsiFile(worldDir() + "/old.SPA", "x"));
    EXPECT_TRUE(ShellDeleteFile(worldDir() + "/old.SPA"));
    EXPECT_FALSE(QFile::exists(worldDir() + "/old.SPA"));
    EXPECT_FALSE(ShellDeleteFile(worldDir() + "/old.SPA"));
    setShellResult(false);
    EXPECT_FALSE(ShellOpen("mailto:someone@example.org"));
    ASSERT_EQ(shellCalls().size(), 3);
    EXPECT_EQ(shellCalls().at(2).target, "mailto:someone@example.org");

    EXPECT_EQ(Now(), db::wallClockDateTime(QDate(2026, 12, 8), QTime(10, 47)));
    setNow(QDateTime(QDate(2027, 1, 1), QTime(0, 0)));
    EXPECT_EQ(Date(), QDate(2027, 1, 1));
}

struct StyleCase {
    int buttons;
    QList<int> results;
    int focused;
    int escape;
};

// "YesNoCancel+DefaultButton2", as the style is written where a box is asked for.
std::string styleName(int buttons)
{
    static const char *const sets[] = {"OKOnly", "OKCancel", "AbortRetryIgnore", "YesNoCancel", "YesNo", "RetryCancel"};
    const int set = buttons & 0x0F;
    std::string name = set < 6 ? sets[set] : "Buttons" + std::to_string(set);
    switch (buttons & 0x70) {
    case vbCritical: name += "+Critical"; break;
    case vbQuestion: name += "+Question"; break;
    case vbExclamation: name += "+Exclamation"; break;
    case vbInformation: name += "+Information"; break;
    default: break;
    }
    if (buttons & vbDefaultButton2)
        name += "+DefaultButton2";
    if (buttons & vbDefaultButton3)
        name += "+DefaultButton3";
    return name;
}

void PrintTo(const StyleCase &c, std::ostream *os)
{
    *os << styleName(c.buttons);
}

class MessageStyles : public ::testing::TestWithParam<StyleCase> {};

TEST_P(MessageStyles, ShowTheButtonsOfTheStyle)
{
    EXPECT_EQ(buttonResults(GetParam().buttons), GetParam().results);
    EXPECT_EQ(defaultResult(GetParam().buttons), GetParam().focused);
    EXPECT_EQ(escapeResult(GetParam().buttons), GetParam().escape);
}

INSTANTIATE_TEST_SUITE_P(
    Styles, MessageStyles,
    ::testing::Values(StyleCase{vbOKOnly + vbCritical, {vbOK}, vbOK, vbOK},
                      StyleCase{vbOKCancel, {vbOK, vbCancel}, vbOK, vbCancel},
                      StyleCase{vbAbortRetryIgnore + vbDefaultButton3, {vbAbort, vbRetry, vbIgnore}, vbIgnore, 0},
                      StyleCase{vbYesNoCancel + vbDefaultButton2, {vbYes, vbNo, vbCancel}, vbNo, vbCancel},
                      StyleCase{vbYesNo + vbQuestion, {vbYes, vbNo}, vbYes, vbNo},
                      StyleCase{vbRetryCancel + vbDefaultButton3, {vbRetry, vbCancel}, vbCancel, vbCancel}));

// Runs action on the first message box or file dialog to open, from the event loop
// its exec() runs.
template<typename Dialog>
void whenShown(std::function<void(Dialog *)> action)
{
    auto *timer = new QTimer(qApp);
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, action] {
        for (QWidget *w : QApplication::topLevelWidgets()) {
            if (auto *dialog = qobject_cast<Dialog *>(w); dialog && dialog->isVisible()) {
                timer->stop();
                timer->deleteLater();
                action(dialog);
                return;
            }
        }
    });
    timer->start();
}

QAbstractButton *buttonFor(QMessageBox *box, int result)
{
    return box->findChild<QAbstractButton *>(QStringLiteral("vbResult%1").arg(result));
}

TEST(QtMessageBox, ShowsTheRequestAndReturnsTheClickedAnswer)
{
    QString title, text, captions;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    whenShown<QMessageBox>([&](QMessageBox *box) {
        title = box->windowTitle();
        text = box->text();
        icon = box->icon();
        for (QAbstractButton *b : box->buttons())
            captions += b->text() + "|";
        buttonFor(box, vbNo)->click();
    });
    QtMessageBoxService service;
    EXPECT_EQ(service.show({"Save <b>changes</b>?", vbYesNoCancel + vbExclamation, "Booking"}), vbNo);
    EXPECT_EQ(title, "Booking");
    EXPECT_EQ(text, "Save <b>changes</b>?");
    EXPECT_EQ(icon, QMessageBox::Warning);
    EXPECT_EQ(captions, "&Yes|&No|Cancel|");
}

struct KeyCase {
    int buttons;
    Qt::Key key;
    bool closes; // false: the key leaves the box open, and the user then clicks expected
    int expected;
};

void PrintTo(const KeyCase &c, std::ostream *os)
{
    *os << styleName(c.buttons) << (c.key == Qt::Key_Escape ? " Escape" : c.key == Qt::Key_Return ? " Enter" : " key");
}

class QtMessageBoxKeys : public ::testing::TestWithParam<KeyCase> {};

TEST_P(QtMessageBoxKeys, EscapeAndEnterGiveTheWindowsAnswers)
{
    const KeyCase c = GetParam();
    bool closedByKey = false;
    whenShown<QMessageBox>([&](QMessageBox *box) {
        QTest::keyClick(box, c.key);
        closedByKey = !box->isVisible();
        if (!closedByKey)
            buttonFor(box, c.expected)->click();
    });
    QtMessageBoxService service;
    EXPECT_EQ(service.show({"Question", c.buttons, "Title"}), c.expected);
    EXPECT_EQ(closedByKey, c.closes);
}

INSTANTIATE_TEST_SUITE_P(Keys, QtMessageBoxKeys,
                         ::testing::Values(KeyCase{vbOKOnly, Qt::Key_Escape, true, vbOK},
                                           KeyCase{vbOKCancel, Qt::Key_Escape, true, vbCancel},
                                           KeyCase{vbYesNoCancel, Qt::Key_Escape, true, vbCancel},
                                           KeyCase{vbYesNo, Qt::Key_Escape, true, vbNo},
                                           KeyCase{vbAbortRetryIgnore, Qt::Key_Escape, false, vbIgnore},
                                           KeyCase{vbYesNo + vbDefaultButton2, Qt::Key_Return, true, vbNo},
                                           KeyCase{vbRetryCancel, Qt::Key_Return, true, vbRetry}));

struct FilterCase {
    const char *vb;
    QStringList qt;
};

void PrintTo(const FilterCase &c, std::ostream *os)
{
    *os << '"' << c.vb << '"';
}

class FileFilters : public ::testing::TestWithParam<FilterCase> {};

TEST_P(FileFilters, BecomeQtNameFilters)
{
    EXPECT_EQ(qtNameFilters(QString::fromUtf8(GetParam().vb)), GetParam().qt);
}

INSTANTIATE_TEST_SUITE_P(
    Filters, FileFilters,
    ::testing::Values(FilterCase{"All Files (*.*)|*.*| Log Files (*.log)|*.log|", {"All Files (*)", "Log Files (*.log)"}},
                      FilterCase{"SPA Datoteke (*.SPA)|*.spa", {"SPA Datoteke (*.SPA)"}},
                      FilterCase{"All Files (*.*)|*.*|CSV Files(*.csv)|*.csv|Text Files (*.txt)|*.txt",
                                 {"All Files (*)", "CSV Files(*.csv)", "Text Files (*.txt)"}},
                      FilterCase{"Pictures|*.bmp;*.jpg", {"Pictures (*.bmp *.jpg)"}},
                      FilterCase{"Backups (*.SPA)|*.bak", {"Backups (*.SPA) (*.bak)"}},
                      FilterCase{"", {}}));

class QtFileDialog : public QuorlTest {};

TEST_F(QtFileDialog, OpensInTheResolvedFolderWithTheRequestedFilterAndSuffix)
{
    QString title, folder, filter;
    whenShown<QFileDialog>([&](QFileDialog *dialog) {
        title = dialog->windowTitle();
        folder = dialog->directory().absolutePath();
        filter = dialog->selectedNameFilter();
        dialog->selectFile("backup");
        static_cast<QDialog *>(dialog)->accept(); // QFileDialog keeps its override protected
    });
    FileDialogRequest request;
    request.title = "Select backup database file";
    request.fileName = "SPA_08122026.SPA";
    request.filter = "All Files (*.*)|*.*|SPA Datoteke (*.SPA)|*.spa";
    request.filterIndex = 2;
    request.defaultExt = "SPA";
    request.initDir = "C:\\QUORLC\\DATA\\";
    request.flags = cdlOFNOverwritePrompt | cdlOFNHideReadOnly | cdlOFNPathMustExist;
    request.save = true;
    QtFileDialogService service;
    EXPECT_EQ(service.show(request), driveC() + "/Quorlc/data/backup.SPA");
    EXPECT_EQ(title, "Select backup database file");
    EXPECT_EQ(folder, driveC() + "/Quorlc/data");
    EXPECT_EQ(filter, "SPA Datoteke (*.SPA)");
}

TEST_F(QtFileDialog, CancelGivesAnEmptyName)
{
    whenShown<QFileDialog>([](QFileDialog *dialog) { dialog->reject(); });
    QtFileDialogService service;
    FileDialogRequest request;
    request.title = "Open Trace Log File";
    request.fileName = databasePath();
    EXPECT_EQ(service.show(request), "");
}

// The dialog lists files whatever the case of their extension, as it did on Windows,
// also after the user picks another filter.
TEST_F(QtFileDialog, FiltersMatchWithoutRegardToCase)
{
    auto matches = [](const QStringList &patterns, const char *name) {
        for (const QString &pattern : patterns) {
            if (QRegularExpression(QRegularExpression::wildcardToRegularExpression(pattern)).match(name).hasMatch())
                return true;
        }
        return false;
    };
    QStringList first, second;
    whenShown<QFileDialog>([&](QFileDialog *dialog) {
        auto *model = dialog->findChild<QFileSystemModel *>();
        first = model->nameFilters();
        auto *types = dialog->findChild<QComboBox *>(QStringLiteral("fileTypeCombo"));
        types->setCurrentIndex(1);
        emit types->activated(1);
        emit types->textActivated(types->currentText());
        second = model->nameFilters();
        dialog->reject();
    });
    FileDialogRequest request;
    request.filter = "SPA Datoteke (*.SPA)|*.spa|Log Files (*.log)|*.log";
    request.filterIndex = 1;
    QtFileDialogService().show(request);
    EXPECT_TRUE(matches(first, "SPA_08122026.SPA"));
    EXPECT_TRUE(matches(first, "older.spa"));
    EXPECT_FALSE(matches(first, "events.Log"));
    EXPECT_TRUE(matches(second, "events.Log"));
    EXPECT_FALSE(matches(second, "SPA_08122026.SPA"));
}

TEST(Twips, FifteenToAPixel)
{
    EXPECT_EQ(twipsToPixels(9270), 618);
    EXPECT_EQ(twipsToPixels(7), 0);
    EXPECT_EQ(twipsToPixels(8), 1);
    EXPECT_EQ(pixelsToTwips(618), 9270);
}

TEST_F(QtFileDialog, PatternsFindFilesWhateverTheirLetterCase)
{
    const QString folder = worldDir() + "/traces";
    ASSERT_TRUE(QDir().mkpath(folder));
    for (const char *name : {"events.Log", "OLD.LOG", "notes.txt", "SPA_08122026.SPA"})
        ASSERT_TRUE(QFile(folder + "/" + name).open(QIODevice::WriteOnly));
    QStringList listed;
    whenShown<QFileDialog>([&](QFileDialog *dialog) {
        // The folder is read in the background: wait for its names.
        auto *view = dialog->findChild<QListView *>(QStringLiteral("listView"));
        for (int wait = 0; view && wait < 100 && listed.isEmpty(); ++wait) {
            QTest::qWait(20);
            for (int row = 0; row < view->model()->rowCount(view->rootIndex()); ++row)
                listed << view->model()->index(row, 0, view->rootIndex()).data().toString();
        }
        dialog->reject();
    });
    FileDialogRequest request;
    request.filter = "All Files (*.*)|*.*| Log Files (*.log)|*.log|";
    request.filterIndex = 2;
    request.initDir = folder;
    QtFileDialogService().show(request);
    listed.sort();
    EXPECT_EQ(listed, QStringList({"OLD.LOG", "events.Log"}));
}

} // namespace
} // namespace quorl
