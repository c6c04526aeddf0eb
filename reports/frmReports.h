#pragma once

#include <memory>

#include <QString>
#include <QWidget>

class QGroupBox;
class QLabel;
class QPushButton;

namespace quorl {

namespace db {
class Recordset;
}

namespace reports {
class DatePickerWithCheck;
enum class ListLayout;
}

// The Report Manager: four lists shown in their preview windows, the period sales
// and the outstanding balances printed at once.
class frmReports : public QWidget
{
    Q_OBJECT

public:
    explicit frmReports(QWidget *parent = nullptr);
    ~frmReports() override;

    // Centres the window and shows it; the first pair of pickers is ticked at the present moment.
    void Display();

    // The query of the last list, and the rows handed to its layout.
    QString ReportSql;
    std::unique_ptr<db::Recordset> ReportRows;

public slots:
    void cmdAllBooking_Click();
    void cmdTodaysBooking_Click();
    void cmdTodaysCheckOuts_Click();
    void cmdAvailableBerths_Click();
    void Command4_Click();
    void cmdExit_Click();

private:
    void showList(const char *handler, reports::ListLayout layout, const QString &query, const QString &title,
                  bool periodSales);

    QGroupBox *Frame1 = nullptr;
    QLabel *Label1 = nullptr;
    reports::DatePickerWithCheck *dtpFrom = nullptr;
    QLabel *Label2 = nullptr;
    reports::DatePickerWithCheck *dtpTo = nullptr;
    QPushButton *cmdAllBooking = nullptr;
    QPushButton *cmdTodaysBooking = nullptr;
    QPushButton *cmdTodaysCheckOuts = nullptr;
    QPushButton *cmdAvailableBerths = nullptr;
    QGroupBox *Frame2 = nullptr;
    QLabel *Label4 = nullptr;
    reports::DatePickerWithCheck *dtpFrom1 = nullptr;
    QLabel *Label5 = nullptr;
    reports::DatePickerWithCheck *dtpTo1 = nullptr;
    QPushButton *Command4 = nullptr;
    QLabel *Label3 = nullptr;
    QPushButton *cmdExit = nullptr;
};

} // namespace quorl
