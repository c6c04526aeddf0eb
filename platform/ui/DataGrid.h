#pragma once

#include <QList>
#include <QSet>
#include <QTableView>

#include "platform/ui/RecordsetModel.h"

namespace quorl::db {
class Recordset;
}

namespace quorl::ui {

// The bound data grid: a table view over a recordset whose selected row is the
// recordset's current row, both ways. A click moves the recordset; a move of the
// recordset (by code, Requery, Filter, Delete) moves the selection. Columns come
// from setColumns (field, heading, format) or are every field of the recordset.
// Cells are read-only unless AllowUpdate is set.
class DataGrid : public QTableView
{
    Q_OBJECT

public:
    explicit DataGrid(QWidget *parent = nullptr);
    ~DataGrid() override;

    // Binds the grid (not owning the recordset); null unbinds it.
    void setDataSource(db::Recordset *recordset);
    db::Recordset *DataSource() const;

    void setColumns(const QList<GridColumn> &columns);
    RecordsetModel *recordsetModel() const { return m_model; }

    // Hidden columns stay hidden when the rows are read again.
    void setColumnVisible(int column, bool visible);
    bool isColumnVisible(int column) const;
    void setColumnWidthTwips(int column, int twips);

    void setAllowUpdate(bool allow);
    bool AllowUpdate() const;

    // The selected row, 0-based; -1 when none.
    int Row() const;

signals:
    // A double click on a row.
    void DblClick();
    // The current row or column changed.
    void RowColChange();

protected:
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void rowsAboutToBeRemoved(const QModelIndex &parent, int start, int end) override;
    void rowsInserted(const QModelIndex &parent, int start, int end) override;

private:
    void followRecordset();
    void applyHiddenColumns();
    int firstVisibleColumn() const;
    void reportWriteFailure(const QString &message);

    RecordsetModel *m_model = nullptr;
    QSet<int> m_hiddenColumns;
    bool m_following = false;
    // The view moves its own current row when rows come and go; that move is not
    // the user's and must not move the recordset.
    bool m_rowsChanging = false;
};

} // namespace quorl::ui
