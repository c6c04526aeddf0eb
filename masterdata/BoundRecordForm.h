#pragma once

#include <QDialog>
#include <QSize>

class QLayout;
class QPushButton;

namespace quorl {

namespace ui {
class Adodc;
}

// What the record-by-record forms share: the data control datPrimaryRS on the
// program's database, the strip picButtons with Update, Refresh and Close, and the
// data control's events. A form adds its fields, binds them and calls Form_Load.
class BoundRecordForm : public QDialog
{
    Q_OBJECT

public:
    ~BoundRecordForm() override;

    ui::Adodc *datPrimaryRS = nullptr;

public slots:
    void cmdUpdate_Click();
    void cmdRefresh_Click();
    void cmdClose_Click();
    void datPrimaryRS_Error(const QString &description);
    void datPrimaryRS_MoveComplete();
    void datPrimaryRS_WillChangeRecord(bool *cancel);

protected:
    // clientTwips: the client area the form was laid out for.
    BoundRecordForm(QWidget *parent, const QString &caption, const QString &recordSource, QSize clientTwips);

    // Puts the fields above the data control and the button strip.
    void setFieldsLayout(QLayout *fields);
    // Opens the data controls: the lists first (openLists), then datPrimaryRS.
    void Form_Load();
    virtual void openLists() {}
    virtual void closeLists() {}

    void Form_Unload();
    void reject() override;

    QWidget *picButtons = nullptr;
    QPushButton *cmdUpdate = nullptr;
    QPushButton *cmdRefresh = nullptr;
    QPushButton *cmdClose = nullptr;

private:
    // A change not yet written is written on closing; when that fails the user
    // chooses between going back to it and dropping it.
    bool queryUnload();
    void unloadForm();

    QSize m_clientTwips;
    bool m_unloaded = false;
};

} // namespace quorl
