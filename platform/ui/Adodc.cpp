#include "platform/ui/Adodc.h"

#include <exception>

#include <QHBoxLayout>
#include <QLabel>
#include <QMetaMethod>
#include <QToolButton>

#include "platform/db/Connection.h"
#include "platform/db/Recordset.h"
#include "platform/ui/MsgBox.h"

namespace quorl::ui {

namespace {

QToolButton *navigationButton(QWidget *parent, const char *name, const QString &text, const QString &toolTip)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setText(text);
    button->setToolTip(toolTip);
    button->setAccessibleName(toolTip);
    button->setFocusPolicy(Qt::NoFocus);
    button->setAutoRaise(false);
    return button;
}

QString describe(const std::exception &failure)
{
    const auto *dbError = dynamic_cast<const db::Error *>(&failure);
    return dbError ? dbError->message() : QString::fromUtf8(failure.what());
}

// Writing sets this for its span, so no reload in between takes the user's text.
class WritingScope
{
public:
    explicit WritingScope(bool &flag) : m_flag(flag) { m_flag = true; }
    ~WritingScope() { m_flag = false; }

private:
    bool &m_flag;
};

} // namespace

Adodc::Adodc(QWidget *parent) : QWidget(parent)
{
    m_first = navigationButton(this, "cmdFirst", QStringLiteral("|<"), tr("First record"));
    m_previous = navigationButton(this, "cmdPrevious", QStringLiteral("<"), tr("Previous record"));
    m_next = navigationButton(this, "cmdNext", QStringLiteral(">"), tr("Next record"));
    m_last = navigationButton(this, "cmdLast", QStringLiteral(">|"), tr("Last record"));
    m_caption = new QLabel(this);
    m_caption->setObjectName(QStringLiteral("lblCaption"));
    m_caption->setAlignment(Qt::AlignCenter);
    m_caption->setFrameShape(QFrame::StyledPanel);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_first);
    layout->addWidget(m_previous);
    layout->addWidget(m_caption, 1);
    layout->addWidget(m_next);
    layout->addWidget(m_last);

    connect(m_first, &QToolButton::clicked, this, &Adodc::moveFirst);
    connect(m_previous, &QToolButton::clicked, this, &Adodc::movePrevious);
    connect(m_next, &QToolButton::clicked, this, &Adodc::moveNext);
    connect(m_last, &QToolButton::clicked, this, &Adodc::moveLast);
    updateButtons();
}

Adodc::~Adodc() = default;

QString Adodc::Caption() const
{
    return m_caption->text();
}

void Adodc::setCaption(const QString &caption)
{
    m_caption->setText(caption);
    setAccessibleName(caption);
}

bool Adodc::isOpen() const
{
    return m_recordset && m_recordset->isOpen();
}

bool Adodc::open()
{
    try {
        Refresh();
        return true;
    } catch (const std::exception &failure) {
        reportError(describe(failure));
        return false;
    }
}

void Adodc::Refresh()
{
    if (!m_connection || !m_connection->isOpen()) {
        m_recordset.reset();
        auto connection = std::make_unique<db::Connection>();
        connection->Open(m_connectionString);
        m_connection = std::move(connection);
    }
    if (isOpen()) {
        if (m_recordset->EditMode() != db::adEditNone)
            m_recordset->CancelUpdate();
        m_recordset->Requery();
    } else {
        openRecordset();
    }
    updateButtons();
    loadBindings();
    emit moveComplete();
}

void Adodc::openRecordset()
{
    auto recordset = std::make_unique<db::Recordset>();
    recordset->Open(m_recordSource, m_connection.get(), m_lockType, m_commandType);
    m_recordset = std::move(recordset);
}

void Adodc::UpdateBatch()
{
    if (!isOpen())
        throw db::Error(tr("The data control is not open."));
    writeCurrentRow();
}

bool Adodc::saveChanges()
{
    if (!isOpen() || !hasChanges())
        return true;
    try {
        writeCurrentRow();
        return true;
    } catch (const std::exception &failure) {
        reportError(describe(failure));
        return false;
    }
}

bool Adodc::hasChanges() const
{
    if (!isOpen())
        return false;
    if (m_recordset->EditMode() != db::adEditNone)
        return true;
    for (const AdodcBinding *binding : m_bindings) {
        if (binding->hasChanges())
            return true;
    }
    return false;
}

void Adodc::writeCurrentRow()
{
    if (!hasChanges())
        return;
    if (m_recordset->isBOF() || m_recordset->isEOF()) {
        // Text typed while no row is shown has nowhere to go.
        loadBindings();
        return;
    }
    bool cancel = false;
    emit willChangeRecord(&cancel);
    if (cancel) {
        m_recordset->CancelUpdate();
        loadBindings();
        return;
    }
    {
        WritingScope scope(m_writing);
        // A write that fails takes back what it put into the row: the controls keep the
        // typed text, and the next write stores what they hold then.
        const bool editBegunHere = m_recordset->EditMode() == db::adEditNone;
        try {
            for (AdodcBinding *binding : m_bindings) {
                if (binding->hasChanges())
                    binding->writeToRow();
            }
            if (m_recordset->EditMode() != db::adEditNone)
                m_recordset->Update();
        } catch (...) {
            if (editBegunHere && m_recordset->EditMode() != db::adEditNone) {
                try {
                    m_recordset->CancelUpdate();
                } catch (const db::Error &) {
                    // The first failure is the one to report.
                }
            }
            throw;
        }
    }
    // The controls now show what was stored, in its stored form.
    loadBindings();
}

void Adodc::close()
{
    if (m_recordset) {
        m_recordset->Close();
        m_recordset.reset();
    }
    if (m_connection) {
        m_connection->Close();
        m_connection.reset();
    }
    updateButtons();
}

void Adodc::moveFirst()
{
    navigate(Move::First);
}

void Adodc::movePrevious()
{
    navigate(Move::Previous);
}

void Adodc::moveNext()
{
    navigate(Move::Next);
}

void Adodc::moveLast()
{
    navigate(Move::Last);
}

void Adodc::navigate(Move move)
{
    if (!isOpen() || !saveChanges())
        return;
    try {
        db::Recordset &rows = *m_recordset;
        if (rows.RecordCount() == 0)
            return;
        switch (move) {
        case Move::First:
            rows.MoveFirst();
            break;
        case Move::Previous:
            if (!rows.isBOF())
                rows.MovePrevious();
            if (rows.isBOF())
                rows.MoveFirst();
            break;
        case Move::Next:
            if (!rows.isEOF())
                rows.MoveNext();
            if (rows.isEOF())
                rows.MoveLast();
            break;
        case Move::Last:
            rows.MoveLast();
            break;
        }
    } catch (const std::exception &failure) {
        reportError(describe(failure));
    }
    loadBindings();
    emit moveComplete();
}

void Adodc::addBinding(AdodcBinding *binding)
{
    if (binding && !m_bindings.contains(binding))
        m_bindings.append(binding);
}

void Adodc::removeBinding(AdodcBinding *binding)
{
    m_bindings.removeAll(binding);
}

void Adodc::loadBindings()
{
    if (m_writing)
        return;
    for (AdodcBinding *binding : m_bindings)
        binding->loadFromRow();
}

void Adodc::reportError(const QString &description)
{
    if (isSignalConnected(QMetaMethod::fromSignal(&Adodc::error)))
        emit error(description);
    else
        MsgBox(description, vbOKOnly | vbExclamation);
}

void Adodc::updateButtons()
{
    const bool open = isOpen();
    for (QToolButton *button : {m_first, m_previous, m_next, m_last})
        button->setEnabled(open);
}

} // namespace quorl::ui
