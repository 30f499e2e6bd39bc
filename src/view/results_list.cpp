#include "results_list.h"

#include <QEvent>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QScrollBar>
#include <QStyle>
#include <QTableView>

namespace lorvane {
namespace {

// The sweep value is the column the operator reads a row by; it is also the one that the
// selection marks and scrolls to.
constexpr int kSweepColumn = 1;

}  // namespace

ResultsList::ResultsList(QTableView& view) : view_(view) {
    setReportStyle();
    fitColumns();
    view_.setMouseTracking(true);
    view_.viewport()->setMouseTracking(true);
    view_.viewport()->installEventFilter(this);
    connect(&view_, &QAbstractItemView::clicked, this,
            [this](const QModelIndex& index) { emit itemClicked(index.row()); });
}

void ResultsList::setReportStyle() {
    view_.setShowGrid(false);
    view_.setWordWrap(false);
    view_.setSortingEnabled(false);
    view_.setSelectionBehavior(QAbstractItemView::SelectRows);
    view_.setSelectionMode(QAbstractItemView::SingleSelection);
    view_.setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Tab leaves the list for the next control instead of walking its cells.
    view_.setTabKeyNavigation(false);
    // Every row is one line of the list's font high, with two pixels above and below, and
    // stays so: no row is measured, so placing one costs the same however long the list is.
    QHeaderView* rows = view_.verticalHeader();
    rows->hide();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    const int rowHeight = view_.fontMetrics().height() + 4;
    rows->setMinimumSectionSize(rowHeight);
    rows->setDefaultSectionSize(rowHeight);
    QHeaderView* headings = view_.horizontalHeader();
    headings->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    headings->setSectionsClickable(false);
    headings->setSectionsMovable(false);
    headings->setHighlightSections(false);
}

void ResultsList::fitColumns() {
    view_.horizontalHeader()->setStretchLastSection(false);
    // The three visible columns share the room beside a vertical scroll bar, so that a long
    // list needs no horizontal one; the sweep value gets what is left over.
    const int room = view_.width() - 2 * view_.frameWidth() -
                     view_.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, &view_);
    const int third = room / 3;
    view_.setColumnWidth(1, room - 2 * third);
    view_.setColumnWidth(2, third);
    view_.setColumnWidth(3, third);
    // Column 1 holds the sort key, a copy of the sweep value made for sorting; the operator
    // reads the value itself in column 2. It is hidden after the others are sized: hidden
    // first, its default width stayed in the header's length and called for a horizontal
    // scroll bar.
    view_.setColumnHidden(0, true);
}

void ResultsList::setBackground(const QColor& colour) {
    QPalette palette = view_.palette();
    palette.setColor(QPalette::Base, colour);
    view_.setPalette(palette);
}

QColor ResultsList::background() const { return view_.palette().color(QPalette::Base); }

void ResultsList::followRow(int64_t row) {
    const QAbstractItemModel* model = view_.model();
    const int rows = model ? model->rowCount() : 0;
    if (rows == 0) return;
    const QModelIndex current = view_.currentIndex();
    if (current.isValid() && view_.selectionModel()->isSelected(current)) view_.scrollTo(current);
    const int target = row >= 0 && row < rows ? static_cast<int>(row) : rows - 1;
    view_.selectionModel()->setCurrentIndex(
        model->index(target, kSweepColumn),
        QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void ResultsList::showFirstRow() {
    const QAbstractItemModel* model = view_.model();
    if (!model || model->rowCount() == 0) return;
    const QModelIndex first = model->index(0, kSweepColumn);
    view_.selectionModel()->setCurrentIndex(
        first, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    view_.scrollTo(first);
    view_.selectionModel()->clearSelection();
}

bool ResultsList::eventFilter(QObject* watched, QEvent* event) {
    if (watched == view_.viewport() && event->type() == QEvent::MouseMove) emit mouseMoved();
    return QObject::eventFilter(watched, event);
}

}  // namespace lorvane
