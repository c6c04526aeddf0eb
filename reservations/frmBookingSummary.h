#pragma once

#include <memory>

#include <QDialog>

class QLabel;
class QWidget;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace quorl {

namespace db {
class Connection;
}

// One booking with its customer and charges; the only way to print its receipt
// and booking form. The day calendar and the planning chart open it, and wait for
// it to close before they read their bookings again.
class frmBookingSummary : public QDialog
{
    Q_OBJECT

public:
    explicit frmBookingSummary(QWidget *parent = nullptr);
    ~frmBookingSummary() override;

    // The one summary of that window (the main window), made on first use.
    static frmBookingSummary *shared(QWidget *owner);

    // Shows the booking with that ID in front of every other window and returns when
    // the summary closes; "Edit booking" opens the booking form only then. A booking
    // or customer that is not found shows nothing and returns at once.
    void Display(qint64 BookingID);

    // Fills the window with that booking, after copying it into the scratch table the
    // prints read, without showing it. False when the booking or customer is not found.
    bool load(qint64 BookingID);

    qint64 BookingID() const { return m_BookingID; }

public slots:
    void Command1_Click();   // edit the booking
    void Command2_Click();   // cancel the booking
    void Command3_Click();   // close
    void Command4_Click();   // print the receipt
    void Command5_Click();   // print the booking form
    void Label38_Click();    // mail the customer

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    db::Connection &scratchConnection();
    void openBookingFormIfAsked();

    qint64 m_BookingID = 0;
    bool m_inDisplay = false;
    bool m_editAsked = false;
    std::unique_ptr<db::Connection> m_scratch;   // the scratch table's own connection

    QLabel *Label27 = nullptr;
    QLabel *lblDates = nullptr;
    QLabel *lblName = nullptr;
    QLabel *lblAddress = nullptr;
    QLabel *Label35 = nullptr;
    QLabel *lblPhone = nullptr;
    QLabel *Label38 = nullptr;
    QLabel *lblMail = nullptr;
    QLabel *lblNoAdults = nullptr;
    QLabel *lblAdults = nullptr;
    QLabel *lblNoKids = nullptr;
    QLabel *lblKids = nullptr;
    QLabel *Label1 = nullptr;
    QPlainTextEdit *txtNotes = nullptr;
    QLabel *Label8 = nullptr;
    QPlainTextEdit *txtCnotes = nullptr;
    QLineEdit *Text1 = nullptr;
    QLineEdit *Text2 = nullptr;
    QLineEdit *Text3 = nullptr;
    QLineEdit *Text4 = nullptr;
    QLineEdit *Text5 = nullptr;
    QLabel *Label7 = nullptr;
    QPushButton *Command1 = nullptr;
    QPushButton *Command2 = nullptr;
    QPushButton *Command3 = nullptr;
    QPushButton *Command4 = nullptr;
    QPushButton *Command5 = nullptr;
};

} // namespace quorl
