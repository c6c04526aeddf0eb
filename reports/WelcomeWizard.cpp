#include "reports/WelcomeWizard.h"

#include <QApplication>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

#include "core/RegistryValues.h"
#include "core/modFunctions.h"
#include "core/modMessageLog.h"
#include "platform/registry/Registry.h"
#include "platform/ui/WizardPages.h"

namespace quorl {
namespace {

QPushButton *wizardButton(QWidget *parent, const char *name, const QString &caption)
{
    auto *push = new QPushButton(caption, parent);
    push->setObjectName(QString::fromLatin1(name));
    // Enter moves the focus in these wizards; it never presses a button by itself.
    push->setAutoDefault(false);
    push->setDefault(false);
    return push;
}

void addTexts(QWidget *page, QVBoxLayout *layout, const QStringList &lines)
{
    for (const QString &line : lines) {
        auto *label = new QLabel(line, page);
        label->setObjectName(QStringLiteral("lblStep"));
        label->setWordWrap(true);
        label->setTextFormat(Qt::PlainText);
        layout->addWidget(label);
    }
}

} // namespace

int welcomeStartPage(const QString &registryValueName)
{
    const QString value = GetRegistryValue(HKEY_LOCAL_MACHINE, QString::fromUtf8(kProgramKey), registryValueName,
                                           QString::fromUtf8(kDefaultWelcomeScreen));
    return value.trimmed() == QLatin1String("1") ? 1 : 0;
}

WelcomeWizard::WelcomeWizard(QWidget *parent, const char *objectName, const QString &registryValueName,
                             const WelcomeTexts &welcome)
    : QDialog(parent)
    , m_registryValueName(registryValueName)
{
    setObjectName(QString::fromLatin1(objectName));
    setModal(true);
    auto *outer = new QVBoxLayout(this);
    m_stack = new QStackedWidget(this);
    outer->addWidget(m_stack, 1);

    cmdBack = wizardButton(this, "cmdBack", QStringLiteral("&Back"));
    cmdNext = wizardButton(this, "cmdNext", QStringLiteral("&Next"));
    cmdCancel = wizardButton(this, "cmdCancel", QStringLiteral("Cancel"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdBack);
    buttons->addWidget(cmdNext);
    buttons->addWidget(cmdCancel);
    outer->addLayout(buttons);
    m_pages = new ui::WizardPages(m_stack, this, cmdBack, cmdNext);

    QVBoxLayout *welcomePage = addPage(welcome.caption, welcome.lines);
    chkWelcome = new QCheckBox(QStringLiteral("Display this welcome screen at startup"), m_pages->page(0));
    chkWelcome->setObjectName(QStringLiteral("chkWelcome"));
    welcomePage->addWidget(chkWelcome);
    welcomePage->addStretch(1);

    connect(cmdBack, &QPushButton::clicked, this, &WelcomeWizard::cmdBack_Click);
    connect(cmdNext, &QPushButton::clicked, this, &WelcomeWizard::cmdNext_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &WelcomeWizard::cmdCancel_Click);
    setMinimumSize(480, 300);
}

QVBoxLayout *WelcomeWizard::addPage(const QString &caption, const QStringList &lines)
{
    QWidget *page = m_pages->addPage(caption);
    auto *layout = new QVBoxLayout(page);
    addTexts(page, layout, lines);
    return layout;
}

void WelcomeWizard::finishPages()
{
    setTabOrder(cmdBack, cmdNext);
    setTabOrder(cmdNext, cmdCancel);
    // The form sees every key before its controls do, for the Enter navigation.
    for (QWidget *child : findChildren<QWidget *>())
        child->installEventFilter(this);
}

int WelcomeWizard::currentPage() const
{
    return m_pages->current();
}

void WelcomeWizard::Display()
{
    try {
        m_startPage = welcomeStartPage(m_registryValueName);
        m_tickAtOpening = m_startPage == 0;
        chkWelcome->setChecked(m_tickAtOpening);
        prepare();
        showPage(m_startPage);
    } catch (const std::exception &error) {
        logError(objectName() + QStringLiteral(".Display"), error);
        return;
    }
    exec();
}

void WelcomeWizard::showPage(int page)
{
    m_pages->showStep(page);
}

void WelcomeWizard::cmdBack_Click()
{
    if (currentPage() > 0)
        showPage(currentPage() - 1);
}

void WelcomeWizard::cmdNext_Click()
{
    try {
        if (!mayLeave(currentPage()))
            return;
        if (!m_pages->isLast()) {
            showPage(currentPage() + 1);
            return;
        }
        if (finish())
            accept();
    } catch (const std::exception &error) {
        logError(objectName() + QStringLiteral(".cmdNext_Click"), error);
    }
}

void WelcomeWizard::cmdCancel_Click()
{
    reject();
}

void WelcomeWizard::storeWelcomeChoice()
{
    const bool ticked = chkWelcome->isChecked();
    if (ticked == m_tickAtOpening)
        return;
    SetRegistryValue(HKEY_LOCAL_MACHINE, QString::fromUtf8(kProgramKey), m_registryValueName,
                     ticked ? QStringLiteral("0") : QStringLiteral("1"));
}

bool WelcomeWizard::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && watched->isWidgetType()) {
        auto *control = static_cast<QWidget *>(watched);
        const auto *key = static_cast<QKeyEvent *>(event);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && control == QApplication::focusWidget()
            && control->window() == this) {
            Form_KeyDown(control);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void WelcomeWizard::Form_KeyDown(QWidget *control)
{
    Q_UNUSED(control)
    try {
        FocusNextControl(this);
    } catch (const std::exception &error) {
        logError(objectName() + QStringLiteral(".Form_KeyDown"), error);
    }
}

} // namespace quorl
