#include "platform/ui/DataCombo.h"

#include <utility>

#include <QMouseEvent>
#include <QPersistentModelIndex>

#include "platform/db/Recordset.h"

namespace quorl::ui {

namespace {

constexpr int kListColumn = 0;
constexpr int kBoundColumn = 1;

QList<GridColumn> listColumns(const QString &listField, const QString &boundColumn)
{
    if (listField.isEmpty())
        return {};
    const QString bound = boundColumn.isEmpty() ? listField : boundColumn;
    return {GridColumn{listField, listField}, GridColumn{bound, bound}};
}

bool sameValue(const QVariant &a, const QVariant &b)
{
    if (!a.isValid() || a.isNull() || !b.isValid() || b.isNull())
        return false;
    return a.toString() == b.toString();
}

int rowOfValue(const RecordsetModel *model, const QVariant &value)
{
    if (!value.isValid() || value.isNull())
        return -1;
    for (int row = 0; row < model->rowCount(); ++row) {
        if (sameValue(model->index(row, kBoundColumn).data(RecordsetModel::ValueRole), value))
            return row;
    }
    return -1;
}

QVariant valueOfRow(const RecordsetModel *model, int row)
{
    if (row < 0 || row >= model->rowCount() || model->columnCount() <= kBoundColumn)
        return QVariant();
    return model->index(row, kBoundColumn).data(RecordsetModel::ValueRole);
}

QString textOfValue(const QVariant &value)
{
    return value.isValid() && !value.isNull() ? value.toString() : QString();
}

} // namespace

// --- DataCombo ---------------------------------------------------------------------

DataCombo::DataCombo(QWidget *parent)
    : QComboBox(parent)
    , m_model(new RecordsetModel(this))
{
    setModel(m_model);
    setModelColumn(kListColumn);
    setCurrentIndex(-1);
    connect(m_model, &QAbstractItemModel::modelAboutToBeReset, this, [this] { m_resetting = true; });
    connect(m_model, &QAbstractItemModel::modelReset, this, [this] {
        setCurrentIndex(rowOfValue(m_model, m_keptValue));
        m_resetting = false;
        m_keptValue = boundValue();
    });
    connect(this, &QComboBox::currentIndexChanged, this, [this] {
        if (m_resetting)
            return;
        m_keptValue = boundValue();
        emit Change();
    });
    connect(this, &QComboBox::editTextChanged, this, [this] {
        if (!m_resetting)
            emit Change();
    });
    connect(this, &QComboBox::activated, this, [this] { emit Click(); });
}

DataCombo::~DataCombo() = default;

void DataCombo::setRowSource(db::Recordset *recordset)
{
    m_model->setRecordset(recordset);
}

db::Recordset *DataCombo::RowSource() const
{
    return m_model->recordset();
}

void DataCombo::setListField(const QString &field)
{
    m_listField = field;
    applyColumns();
}

void DataCombo::setBoundColumn(const QString &field)
{
    m_boundColumn = field;
    applyColumns();
}

void DataCombo::applyColumns()
{
    m_model->setColumns(listColumns(m_listField, m_boundColumn));
    setModelColumn(kListColumn);
}

QVariant DataCombo::boundValue() const
{
    const int row = currentIndex();
    if (row < 0)
        return QVariant();
    // A typed text that names no entry chooses none.
    if (isEditable() && currentText() != itemText(row))
        return QVariant();
    return valueOfRow(m_model, row);
}

void DataCombo::setBoundValue(const QVariant &value)
{
    setCurrentIndex(rowOfValue(m_model, value));
    if (currentIndex() < 0 && isEditable())
        setEditText(QString());
}

QString DataCombo::BoundText() const
{
    return textOfValue(boundValue());
}

void DataCombo::setBoundText(const QString &text)
{
    setBoundValue(text.isEmpty() ? QVariant() : QVariant(text));
}

QString DataCombo::Text() const
{
    return currentText();
}

void DataCombo::setText(const QString &text)
{
    const int row = text.isEmpty() ? -1 : findText(text, Qt::MatchFixedString);
    setCurrentIndex(row);
    if (isEditable())
        setEditText(text);
}

// --- DataList ----------------------------------------------------------------------

DataList::DataList(QWidget *parent)
    : QListView(parent)
    , m_model(new RecordsetModel(this))
{
    setModel(m_model);
    setModelColumn(kListColumn);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    connect(m_model, &QAbstractItemModel::modelAboutToBeReset, this, [this] { m_resetting = true; });
    connect(m_model, &QAbstractItemModel::modelReset, this, [this] {
        chooseRow(rowOfValue(m_model, m_keptValue));
        m_resetting = false;
        m_keptValue = boundValue();
    });
    connect(this, &QAbstractItemView::clicked, this, [this](const QModelIndex &index) {
        // A press that chose another entry has been reported already.
        if (index.isValid() && !std::exchange(m_pressReported, false))
            emit Click();
    });
}

DataList::~DataList() = default;

void DataList::setRowSource(db::Recordset *recordset)
{
    m_model->setRecordset(recordset);
}

db::Recordset *DataList::RowSource() const
{
    return m_model->recordset();
}

void DataList::setListField(const QString &field)
{
    m_listField = field;
    applyColumns();
}

void DataList::setBoundColumn(const QString &field)
{
    m_boundColumn = field;
    applyColumns();
}

void DataList::applyColumns()
{
    m_model->setColumns(listColumns(m_listField, m_boundColumn));
    setModelColumn(kListColumn);
}

int DataList::currentRow() const
{
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.row() : -1;
}

void DataList::chooseRow(int row)
{
    m_settingByCode = true;
    if (row >= 0 && row < m_model->rowCount()) {
        const QModelIndex target = m_model->index(row, kListColumn);
        selectionModel()->setCurrentIndex(target, QItemSelectionModel::ClearAndSelect);
        scrollTo(target);
    } else {
        selectionModel()->clearSelection();
        selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    }
    m_settingByCode = false;
}

void DataList::setCurrentRow(int row)
{
    chooseRow(row);
    m_keptValue = boundValue();
}

QVariant DataList::boundValue() const
{
    return valueOfRow(m_model, currentRow());
}

void DataList::setBoundValue(const QVariant &value)
{
    setCurrentRow(rowOfValue(m_model, value));
}

QString DataList::BoundText() const
{
    return textOfValue(boundValue());
}

void DataList::setBoundText(const QString &text)
{
    setBoundValue(text.isEmpty() ? QVariant() : QVariant(text));
}

QString DataList::Text() const
{
    const int row = currentRow();
    return row >= 0 ? m_model->index(row, kListColumn).data().toString() : QString();
}

void DataList::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    QListView::currentChanged(current, previous);
    if (m_resetting || m_settingByCode)
        return;
    m_keptValue = boundValue();
    // A mouse choice is reported by the click itself; keys report here.
    if (current.isValid() && !m_mousePressing)
        emit Click();
}

// A row the recordset removed moves the choice by itself; that is no click of the user.
void DataList::rowsAboutToBeRemoved(const QModelIndex &parent, int start, int end)
{
    const bool wasSetting = m_settingByCode;
    m_settingByCode = true;
    QListView::rowsAboutToBeRemoved(parent, start, end);
    m_settingByCode = wasSetting;
}

// The press chooses the entry; the button may come up anywhere, so the choice is
// reported now. A press on the entry already chosen waits for the click.
void DataList::mousePressEvent(QMouseEvent *event)
{
    const QPersistentModelIndex before = currentIndex();
    m_mousePressing = true;
    QListView::mousePressEvent(event);
    m_mousePressing = false;
    m_pressReported = currentIndex().isValid() && currentIndex() != before;
    if (m_pressReported)
        emit Click();
}

} // namespace quorl::ui
