#include "app/PhotoListView.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QItemSelection>
#include <QMouseEvent>
#include <algorithm>
#include <array>
#include <cmath>

#include "app/AppTexts.h"

namespace vellumo::app {
namespace {

struct Column {
    std::string_view heading;
    int width;  // pixels at the classic dialog font
};

constexpr std::array<Column, 5> kColumns = {{
    {texts::kColumnFileName, 200},
    {texts::kColumnSize, 100},
    {texts::kColumnTotalFrames, 120},
    {texts::kColumnFrameSequence, 120},
    {texts::kColumnOutputSize, 150},
}};

QString SizeText(int32_t width, int32_t height) {
    return QStringLiteral("%1*%2").arg(width).arg(height);
}

}  // namespace

QStringList RowTexts(const photolist::PhotoEntry& entry) {
    return {QString::fromStdString(entry.fileName), SizeText(entry.width, entry.height),
            QString::number(entry.totalFrames), QString::number(entry.frameIndex),
            SizeText(entry.outputFormat.nOutputWidth, entry.outputFormat.nOutputHeight)};
}

PhotoListView::PhotoListView(QWidget* parent, double pixelScale) : QTableWidget(parent) {
    setColumnCount(static_cast<int>(kColumns.size()));
    QStringList headings;
    for (const Column& column : kColumns) {
        headings << texts::Tr(column.heading);
    }
    setHorizontalHeaderLabels(headings);
    for (const Column& column : kColumns) {
        columnWidths_.push_back(static_cast<int>(std::lround(column.width * pixelScale)));
        setColumnWidth(static_cast<int>(columnWidths_.size()) - 1, columnWidths_.back());
    }
    QHeaderView* header = horizontalHeader();
    header->setDefaultAlignment(Qt::AlignCenter);
    header->setSectionsClickable(true);
    header->setHighlightSections(false);
    header->setStretchLastSection(false);
    verticalHeader()->setVisible(false);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    setShowGrid(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSortingEnabled(false);
    setWordWrap(false);
    setTextElideMode(Qt::ElideMiddle);
    setFocusPolicy(Qt::StrongFocus);
    setTabKeyNavigation(false);
    setContextMenuPolicy(Qt::DefaultContextMenu);
}

void PhotoListView::UpdateRow(int row, const photolist::PhotoEntry& entry) {
    const QStringList texts = RowTexts(entry);
    for (int column = 0; column < texts.size(); ++column) {
        QTableWidgetItem* cell = item(row, column);
        if (cell == nullptr) {
            cell = new QTableWidgetItem;
            cell->setTextAlignment(Qt::AlignCenter);
            cell->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            setItem(row, column, cell);
        }
        cell->setText(texts[column]);
        cell->setToolTip(column == 0 ? QString::fromStdString(entry.path) : QString());
    }
}

void PhotoListView::Rebuild(const photolist::PhotoList& list) {
    setUpdatesEnabled(false);
    clearSelection();
    setRowCount(0);
    setRowCount(static_cast<int>(list.size()));
    for (size_t i = 0; i < list.size(); ++i) {
        UpdateRow(static_cast<int>(i), list[i]);
    }
    clearSelection();
    setCurrentItem(nullptr);
    setUpdatesEnabled(true);
}

void PhotoListView::SelectRows(const std::vector<int>& rows) {
    QItemSelection selection;
    for (const int row : rows) {
        if (row >= 0 && row < rowCount()) {
            selection.select(model()->index(row, 0), model()->index(row, columnCount() - 1));
        }
    }
    selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
}

bool PhotoListView::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::Resize) {
        FitColumns();
    }
    return QTableWidget::viewportEvent(event);
}

void PhotoListView::FitColumns() {
    const int available = viewport()->width();
    int total = 0;
    for (const int width : columnWidths_) {
        total += width;
    }
    if (total <= 0 || available <= 0) {
        return;
    }
    const int last = static_cast<int>(columnWidths_.size()) - 1;
    if (total <= available) {
        for (int i = 0; i <= last; ++i) {
            setColumnWidth(i, columnWidths_[static_cast<size_t>(i)]);
        }
        return;
    }
    int used = 0;
    for (int i = 0; i < last; ++i) {
        const int width = columnWidths_[static_cast<size_t>(i)] * available / total;
        setColumnWidth(i, width);
        used += width;
    }
    setColumnWidth(last, std::max(1, available - used));
}

void PhotoListView::SetCurrentRow(int row) {
    if (row >= 0 && row < rowCount()) {
        selectionModel()->setCurrentIndex(model()->index(row, 0), QItemSelectionModel::NoUpdate);
    }
}

std::vector<int> PhotoListView::SelectedRows() const {
    std::vector<int> rows;
    for (const QModelIndex& index : selectionModel()->selectedRows()) {
        rows.push_back(index.row());
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}

void PhotoListView::mouseReleaseEvent(QMouseEvent* event) {
    QTableWidget::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton) {
        emit rowClicked();
    }
}

void PhotoListView::mouseDoubleClickEvent(QMouseEvent* event) {
    QTableWidget::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton) {
        emit editRequested();
    }
}

void PhotoListView::contextMenuEvent(QContextMenuEvent* event) {
    // Only a right click edits; the view has no keyboard commands of its own. The press
    // before it has already selected the row under the mouse.
    event->accept();
    if (event->reason() == QContextMenuEvent::Mouse) {
        emit editRequested();
    }
}

}  // namespace vellumo::app
