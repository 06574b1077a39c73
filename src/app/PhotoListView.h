#pragma once
// The photo list view: five centred columns, grid lines, full-row multi-selection, one
// row per entry in list order (row index = entry index). It shows text only; the list
// itself lives with the window.

#include <QStringList>
#include <QTableWidget>
#include <vector>

#include "photolist/PhotoList.h"

namespace vellumo::app {

// The five texts of an entry's row.
QStringList RowTexts(const photolist::PhotoEntry& entry);

class PhotoListView : public QTableWidget {
    Q_OBJECT
  public:
    // `pixelScale` widens the columns for fonts larger than the classic dialog font.
    explicit PhotoListView(QWidget* parent = nullptr, double pixelScale = 1.0);

    // Rebuilds every row from the list; no row is selected afterwards.
    void Rebuild(const photolist::PhotoList& list);
    // Rewrites the texts of one row from its entry.
    void UpdateRow(int row, const photolist::PhotoEntry& entry);
    // Selects exactly `rows`.
    void SelectRows(const std::vector<int>& rows);
    // Makes `row` the keyboard's current row without changing the selection.
    void SetCurrentRow(int row);
    // The selected rows, ascending.
    std::vector<int> SelectedRows() const;

  signals:
    // A left click in the view (after the selection has followed it).
    void rowClicked();
    // A double click or a right click anywhere in the view.
    void editRequested();

  protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool viewportEvent(QEvent* event) override;

  private:
    // Narrows the columns in proportion when they are wider than the viewport (a
    // vertical scroll bar took its room), so no column hides behind it.
    void FitColumns();

    std::vector<int> columnWidths_;  // as laid out for the window's font
};

}  // namespace vellumo::app
