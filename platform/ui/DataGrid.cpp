#include "platform/ui/DataGrid.h"

#include <QHeaderView>
#include <QMouseEvent>

#include "platform/db/Error.h"
#include "platform/db/Recordset.h"
#include "platform/ui/MsgBox.h"
#include "platform/ui/Twips.h"

namespace quorl::ui {

DataGrid::DataGrid(QWidget *parent)
    : QTableView(parent)
    , m_model(new RecordsetModel(this))
{
    setModel(m_model);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setAlternatingRowColors(false);
    setWordWrap(false);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    horizontalHeader()->setHighlightSections(false);
    // Connected after the header's own connections, so hidden columns are hidden
    // again once the header has rebuilt its sections.
    connect(m_model, &QAbstractItemModel::modelReset, this, [this] {
        applyHiddenColumns();
        followRecordset();
    });
    connect(m_model, &QAbstractItemModel::rowsRemoved, this, [this] {
        m_rowsChanging = false;
        followRecordset();
    });
    connect(m_model, &RecordsetModel::writeFailed, this, &DataGrid::reportWriteFailure);
}

DataGrid::~DataGrid() = default;

void DataGrid::setDataSource(db::Recordset *recordset)
{
    if (db::Recordset *old = m_model->recordset())
        disconnect(old, nullptr, this, nullptr);
    m_model->setRecordset(recordset);
    if (recordset)
        connect(recordset, &db::Recordset::currentChanged, this, &DataGrid::followRecordset);
    followRecordset();
}

db::Recordset *DataGrid::DataSource() const
{
    return m_model->recordset();
}

void DataGrid::setColumns(const QList<GridColumn> &columns)
{
    m_model->setColumns(columns);
}

void DataGrid::setColumnVisible(int column, bool visible)
{
    if (visible)
        m_hiddenColumns.remove(column);
    else
        m_hiddenColumns.insert(column);
    setColumnHidden(column, !visible);
}

bool DataGrid::isColumnVisible(int column) const
{
    return !m_hiddenColumns.contains(column) && !isColumnHidden(column);
}

void DataGrid::setColumnWidthTwips(int column, int twips)
{
    setColumnWidth(column, twipsToPixels(twips));
}

void DataGrid::applyHiddenColumns()
{
    for (int column : m_hiddenColumns)
        setColumnHidden(column, true);
}

int DataGrid::firstVisibleColumn() const
{
    for (int c = 0; c < m_model->columnCount(); ++c) {
        if (!isColumnHidden(c))
            return c;
    }
    return 0;
}

void DataGrid::setAllowUpdate(bool allow)
{
    m_model->setEditable(allow);
    setEditTriggers(allow ? QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                                | QAbstractItemView::AnyKeyPressed
                          : QAbstractItemView::NoEditTriggers);
}

bool DataGrid::AllowUpdate() const
{
    return m_model->isEditable();
}

int DataGrid::Row() const
{
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.row() : -1;
}

// The recordset moved: the selection goes with it.
void DataGrid::followRecordset()
{
    if (m_following)
        return;
    m_following = true;
    db::Recordset *recordset = m_model->recordset();
    const int row = recordset ? recordset->currentRow() : -1;
    if (row >= 0 && row < m_model->rowCount()) {
        const int column = currentIndex().isValid() && !isColumnHidden(currentIndex().column())
            ? currentIndex().column()
            : firstVisibleColumn();
        const QModelIndex target = m_model->index(row, column);
        selectionModel()->setCurrentIndex(target, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        scrollTo(target);
    } else {
        selectionModel()->clearSelection();
        selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    }
    m_following = false;
}

// The user moved the selection: the recordset goes with it.
void DataGrid::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    QTableView::currentChanged(current, previous);
    if (!m_following && !m_rowsChanging && current.isValid()) {
        db::Recordset *recordset = m_model->recordset();
        if (recordset && recordset->isOpen() && recordset->currentRow() != current.row()) {
            m_following = true;
            try {
                recordset->setAbsolutePosition(current.row() + 1);
            } catch (const db::Error &error) {
                // A pending change of the row left could not be written; the grid
                // goes back to the recordset's row.
                m_following = false;
                reportWriteFailure(error.message());
                followRecordset();
                return;
            }
            m_following = false;
        }
    }
    if (current.row() != previous.row() || current.column() != previous.column())
        emit RowColChange();
}

void DataGrid::rowsAboutToBeRemoved(const QModelIndex &parent, int start, int end)
{
    m_rowsChanging = true;
    QTableView::rowsAboutToBeRemoved(parent, start, end);
}

void DataGrid::rowsInserted(const QModelIndex &parent, int start, int end)
{
    const bool wasChanging = m_rowsChanging;
    m_rowsChanging = true;
    QTableView::rowsInserted(parent, start, end);
    m_rowsChanging = wasChanging;
    followRecordset();
}

void DataGrid::mouseDoubleClickEvent(QMouseEvent *event)
{
    QTableView::mouseDoubleClickEvent(event);
    if (indexAt(event->position().toPoint()).isValid())
        emit DblClick();
}

void DataGrid::reportWriteFailure(const QString &message)
{
    MsgBox(message, vbExclamation);
}

} // namespace quorl::ui
