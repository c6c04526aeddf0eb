#include "platform/ui/QtServices.h"

#include <cstdio>
#include <map>

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QUrl>

#include "platform/paths/Paths.h"

namespace quorl::ui {
namespace {

bool haveWidgets()
{
    return qobject_cast<QApplication *>(QCoreApplication::instance()) != nullptr;
}

// An hourglass set by the caller would otherwise stand over the dialog too.
class ArrowWhileAsking final {
public:
    ArrowWhileAsking()
        : m_active(QGuiApplication::overrideCursor() != nullptr)
    {
        if (m_active)
            QGuiApplication::setOverrideCursor(QCursor(Qt::ArrowCursor));
    }
    ~ArrowWhileAsking()
    {
        if (m_active)
            QGuiApplication::restoreOverrideCursor();
    }
    ArrowWhileAsking(const ArrowWhileAsking &) = delete;
    ArrowWhileAsking &operator=(const ArrowWhileAsking &) = delete;

private:
    bool m_active;
};

QMessageBox::Icon iconFor(int buttons)
{
    switch (buttons & 0x70) {
    case vbCritical: return QMessageBox::Critical;
    case vbQuestion: return QMessageBox::Question;
    case vbExclamation: return QMessageBox::Warning;
    case vbInformation: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
    }
}

bool looksWindows(const QString &path)
{
    return path.contains(QLatin1Char('\\')) || (path.size() >= 2 && path.at(1) == QLatin1Char(':'));
}

} // namespace

int QtMessageBoxService::show(const MessageRequest &request)
{
    if (!haveWidgets()) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(request.title), qPrintable(request.prompt));
        return defaultResult(request.buttons);
    }
    QMessageBox box(iconFor(request.buttons), request.title, request.prompt, QMessageBox::NoButton,
                    QApplication::activeWindow());
    box.setTextFormat(Qt::PlainText);
    // Buttons in the action role keep the order they are added in, which is the
    // order the caller knows (Yes, No, Cancel), on every desktop's button layout.
    std::map<QAbstractButton *, int> results;
    const QList<int> answers = buttonResults(request.buttons);
    for (const int answer : answers) {
        QPushButton *button = box.addButton(buttonCaption(answer), QMessageBox::ActionRole);
        button->setObjectName(QStringLiteral("vbResult%1").arg(answer));
        results[button] = answer;
        if (answer == defaultResult(request.buttons))
            box.setDefaultButton(button);
        if (answer == escapeResult(request.buttons))
            box.setEscapeButton(button);
    }
    ArrowWhileAsking arrow;
    box.exec();
    const auto clicked = results.find(box.clickedButton());
    if (clicked != results.end())
        return clicked->second;
    const int escape = escapeResult(request.buttons);
    return escape != 0 ? escape : defaultResult(request.buttons);
}

QString QtFileDialogService::show(const FileDialogRequest &request)
{
    if (!haveWidgets())
        return QString();
    QFileDialog dialog(QApplication::activeWindow(), request.title);
    dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    if (request.save)
        dialog.setFileMode(QFileDialog::AnyFile);
    else
        dialog.setFileMode((request.flags & cdlOFNFileMustExist) ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    if (request.save && !(request.flags & cdlOFNOverwritePrompt))
        dialog.setOption(QFileDialog::DontConfirmOverwrite, true);

    // Qt's own dialog, whose file list can be told to match without regard to case
    // ("*.log" finds "events.Log"); a desktop's native one may not.
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setFilter(dialog.filter() & ~QDir::CaseSensitive);
    const QStringList filters = qtNameFilters(request.filter);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        if (request.filterIndex >= 1 && request.filterIndex <= filters.size())
            dialog.selectNameFilter(filters.at(request.filterIndex - 1));
        // The list matches names as the file system compares them, which here is by
        // case; on the Windows the filters were written for, "*.spa" found "X.SPA".
        auto matchCaseless = [&dialog](const QString &filter) {
            if (auto *model = dialog.findChild<QFileSystemModel *>())
                model->setNameFilters(caselessPatterns(filter));
        };
        matchCaseless(dialog.selectedNameFilter());
        QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, matchCaseless);
    }
    QString suffix = request.defaultExt;
    while (suffix.startsWith(QLatin1Char('.')))
        suffix.remove(0, 1);
    if (!suffix.isEmpty())
        dialog.setDefaultSuffix(suffix);

    // A file name with a folder in it overrides the initial folder, as it did on Windows.
    QString fileName = request.fileName;
    QString folder = request.initDir.isEmpty() ? QString() : paths::resolve(request.initDir);
    if (looksWindows(fileName) || fileName.contains(QLatin1Char('/'))) {
        const QFileInfo info(paths::resolve(fileName));
        folder = info.absolutePath();
        fileName = info.fileName();
    }
    if (!folder.isEmpty() && QFileInfo(folder).isDir())
        dialog.setDirectory(folder);
    if (!fileName.isEmpty())
        dialog.selectFile(fileName);

    ArrowWhileAsking arrow;
    if (dialog.exec() != QDialog::Accepted)
        return QString();
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty())
        return QString();
    if ((request.flags & cdlOFNPathMustExist) && !QFileInfo(QFileInfo(chosen.first()).absolutePath()).isDir())
        return QString();
    return chosen.first();
}

bool QtShellService::openUrl(const QString &urlOrMailto)
{
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]+:"));
    QUrl url;
    if (looksWindows(urlOrMailto) || urlOrMailto.startsWith(QLatin1Char('/')))
        url = QUrl::fromLocalFile(paths::resolve(urlOrMailto));
    else if (scheme.match(urlOrMailto).hasMatch())
        url = QUrl(urlOrMailto, QUrl::TolerantMode);
    else
        url = QUrl::fromUserInput(urlOrMailto);
    return url.isValid() && QDesktopServices::openUrl(url);
}

bool QtShellService::startProgram(const QString &program, const QStringList &args)
{
    const QString local = looksWindows(program) ? paths::resolve(program) : program;
    return QProcess::startDetached(local, args);
}

bool QtShellService::deleteFile(const QString &localPath)
{
    const QFileInfo info(localPath);
    return info.isFile() && QFile::remove(localPath);
}

QDateTime SystemClockService::now()
{
    return QDateTime::fromSecsSinceEpoch(QDateTime::currentSecsSinceEpoch());
}

} // namespace quorl::ui
