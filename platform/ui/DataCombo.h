#pragma once

#include <QComboBox>
#include <QListView>
#include <QString>
#include <QVariant>

#include "platform/ui/RecordsetModel.h"

namespace quorl::db {
class Recordset;
}

namespace quorl::ui {

// The bound data combo: lists the ListField of its row source's rows and offers the
// BoundColumn of the chosen row as its bound value. Choosing an entry never moves the
// row source. The chosen entry is kept across a Requery of the row source when its
// bound value is still listed.
class DataCombo : public QComboBox
{
    Q_OBJECT

public:
    explicit DataCombo(QWidget *parent = nullptr);
    ~DataCombo() override;

    // The rows listed (not owned); null lists nothing.
    void setRowSource(db::Recordset *recordset);
    db::Recordset *RowSource() const;
    void setListField(const QString &field);
    QString ListField() const { return m_listField; }
    void setBoundColumn(const QString &field);
    QString BoundColumn() const { return m_boundColumn; }

    // The bound value of the chosen entry; Null when none is chosen (or, in an
    // editable combo, when the typed text names no entry).
    QVariant boundValue() const;
    // Chooses the entry with that bound value; Null or a value not listed chooses none.
    void setBoundValue(const QVariant &value);
    // The bound value as text; "" when none is chosen.
    QString BoundText() const;
    void setBoundText(const QString &text);
    // The shown text; setting "" chooses no entry.
    QString Text() const;
    void setText(const QString &text);

signals:
    // The user chose an entry.
    void Click();
    // The chosen entry or the text changed, by the user or by code.
    void Change();

private:
    void applyColumns();

    RecordsetModel *m_model = nullptr;
    QString m_listField;
    QString m_boundColumn;
    // The bound value chosen, kept while the rows are read again.
    QVariant m_keptValue;
    bool m_resetting = false;
};

// The bound data list: the same binding as DataCombo, shown as a list.
class DataList : public QListView
{
    Q_OBJECT

public:
    explicit DataList(QWidget *parent = nullptr);
    ~DataList() override;

    void setRowSource(db::Recordset *recordset);
    db::Recordset *RowSource() const;
    void setListField(const QString &field);
    QString ListField() const { return m_listField; }
    void setBoundColumn(const QString &field);
    QString BoundColumn() const { return m_boundColumn; }

    // The chosen entry, 0-based; -1 when none.
    int currentRow() const;
    void setCurrentRow(int row);
    QVariant boundValue() const;
    void setBoundValue(const QVariant &value);
    QString BoundText() const;
    void setBoundText(const QString &text);
    // The list text of the chosen entry; "" when none.
    QString Text() const;

signals:
    // The user chose an entry, by mouse or keys (a mouse choice as the button goes
    // down), or clicked the entry already chosen.
    void Click();

protected:
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;
    void mousePressEvent(QMouseEvent *event) override;
    void rowsAboutToBeRemoved(const QModelIndex &parent, int start, int end) override;

private:
    void applyColumns();
    void chooseRow(int row);

    RecordsetModel *m_model = nullptr;
    QString m_listField;
    QString m_boundColumn;
    QVariant m_keptValue;
    bool m_resetting = false;
    bool m_settingByCode = false;
    bool m_mousePressing = false;
    bool m_pressReported = false;
};

} // namespace quorl::ui
