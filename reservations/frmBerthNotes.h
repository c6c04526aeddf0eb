#pragma once

#include <memory>

#include <QDialog>
#include <QMap>
#include <QString>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace quorl {

namespace db {
class Recordset;
}
namespace ui {
class DataCombo;
}

// "Berth  Notes": free-text notes per berth. The user picks berths one after another
// and edits their notes; OK stores every note changed since the window opened and
// writes one event, Cancel (or the close box) throws them all away. The changes go
// into one transaction on DbConnection that spans the window's life; a save the
// database refuses is undone as a whole, the user is told, and the notes typed stay
// in the window to be saved again or cancelled.
class frmBerthNotes : public QDialog
{
    Q_OBJECT

public:
    explicit frmBerthNotes(QWidget *parent = nullptr);
    ~frmBerthNotes() override;

    // Prepares the window and shows it modally; returns when it has closed.
    void Display();
    // Display without the modal loop; false when the berths could not be read (the
    // user has been told).
    bool prepare();

public slots:
    void cboName_Click();
    void cmdOK_Click();
    void cmdCancel_Click();

protected:
    void reject() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    void txtNotes_Change();
    QString storedNote() const;
    void saveNotes();
    void rollBack();

    std::unique_ptr<db::Recordset> m_notes;
    std::unique_ptr<db::Recordset> m_berths;
    // The notes typed, by berth ID, until they are stored.
    QMap<qint64, QString> m_typed;
    qint64 m_currentBerth = 0;
    bool m_inTransaction = false;
    bool m_showing = false;

    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    ui::DataCombo *cboName = nullptr;
    QPlainTextEdit *txtNotes = nullptr;
    QPushButton *cmdOK = nullptr;
    QPushButton *cmdCancel = nullptr;
};

} // namespace quorl
