#pragma once

#include <memory>

#include <QList>
#include <QString>
#include <QWidget>

#include "platform/db/Error.h"
#include "platform/db/Types.h"

class QLabel;
class QToolButton;

namespace quorl::db {
class Connection;
class Recordset;
}

namespace quorl::ui {

// A set of controls that show fields of a data control's current row and write the
// user's changes back into it (see BoundFields).
class AdodcBinding
{
public:
    virtual ~AdodcBinding() = default;
    // Shows the current row; at no row the controls go empty.
    virtual void loadFromRow() = 0;
    // Whether the user changed a control since it was last loaded.
    virtual bool hasChanges() const = 0;
    // Puts every changed value into the current row (the recordset's edit buffer).
    // Throws db::Error when a field refuses a value; the controls keep their text.
    virtual void writeToRow() = 0;
};

// The data control of a bound form: its own connection on its connection string, a
// recordset on its record source, a bar with first / previous / next / last buttons
// around a caption, and the bound controls that follow the current row. A change
// typed into a bound control is written when the user moves to another row, presses
// the form's Update (UpdateBatch) or closes the form (saveChanges).
class Adodc : public QWidget
{
    Q_OBJECT

public:
    explicit Adodc(QWidget *parent = nullptr);
    ~Adodc() override;

    QString ConnectionString() const { return m_connectionString; }
    void setConnectionString(const QString &connectionString) { m_connectionString = connectionString; }
    QString RecordSource() const { return m_recordSource; }
    void setRecordSource(const QString &recordSource) { m_recordSource = recordSource; }
    int CommandType() const { return m_commandType; }
    void setCommandType(int commandType) { m_commandType = commandType; }
    db::LockTypeEnum LockType() const { return m_lockType; }
    void setLockType(db::LockTypeEnum lockType) { m_lockType = lockType; }

    QString Caption() const;
    void setCaption(const QString &caption);

    // Null until the data control opened.
    db::Recordset *Recordset() const { return m_recordset.get(); }
    db::Connection *connection() const { return m_connection.get(); }
    bool isOpen() const;

    // Opens the connection (when it is not open) and the recordset, and shows the
    // first row. Errors go to the error signal; returns whether it opened.
    bool open();
    // Runs the record source again (opening first when needed) and shows the first
    // row; changes typed but not written are dropped. Throws db::Error.
    void Refresh();
    // Writes the change of the current row. Throws db::Error and keeps the change.
    void UpdateBatch();
    // The same, reporting a failure through the error signal instead; true when
    // nothing is left to write.
    bool saveChanges();
    bool hasChanges() const;
    // Closes the recordset and the connection; changes not written are dropped.
    void close();

    // The navigation buttons: each writes the change of the row it leaves first,
    // and stays when that fails. The ends stop at the first and the last row.
    void moveFirst();
    void movePrevious();
    void moveNext();
    void moveLast();

    void addBinding(AdodcBinding *binding);
    void removeBinding(AdodcBinding *binding);

signals:
    // The current row changed (also after open and Refresh).
    void moveComplete();
    // A failure of the data control, with its description. Without a receiver the
    // data control shows the description itself.
    void error(const QString &description);
    // A changed row is about to be written; a receiver may set *cancel to keep it back.
    void willChangeRecord(bool *cancel);

private:
    enum class Move { First, Previous, Next, Last };
    void navigate(Move move);
    void openRecordset();
    void writeCurrentRow();
    void loadBindings();
    void reportError(const QString &description);
    void updateButtons();

    QString m_connectionString;
    QString m_recordSource;
    int m_commandType = db::adCmdUnknown;
    db::LockTypeEnum m_lockType = db::adLockOptimistic;
    std::unique_ptr<db::Connection> m_connection;
    std::unique_ptr<db::Recordset> m_recordset;
    QList<AdodcBinding *> m_bindings;
    bool m_writing = false;

    QToolButton *m_first = nullptr;
    QToolButton *m_previous = nullptr;
    QToolButton *m_next = nullptr;
    QToolButton *m_last = nullptr;
    QLabel *m_caption = nullptr;
};

} // namespace quorl::ui
