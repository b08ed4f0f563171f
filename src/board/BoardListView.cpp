#include "board/BoardListView.h"

#include "board/DesignScale.h"

#include <QContextMenuEvent>
#include <QDrag>
#include <QDropEvent>
#include <QFocusEvent>
#include <QHeaderView>
#include <QKeyEvent>

#include <algorithm>

namespace ravnobor::board {

BoardListView::BoardListView(const QString& objectName, int tag, const QColor& colour, BoardDropHandler& drops,
                             QWidget* parent)
    : QTableView(parent), m_model(new BoardColumnModel(tag, this)), m_drops(drops) {
    setObjectName(objectName);
    setModel(m_model);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 2);
    setShowGrid(true);
    setWordWrap(false);
    setSortingEnabled(false);
    setEditTriggers(NoEditTriggers);
    setSelectionMode(SingleSelection);
    setSelectionBehavior(SelectRows);
    setDragEnabled(true);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    setDragDropMode(DragDrop);
    setDropIndicatorShown(false);
    setContextMenuPolicy(Qt::CustomContextMenu);
    setTabKeyNavigation(false); // Tab goes to the next list, not the next cell
    setMinimumWidth(155);

    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setStretchLastSection(false);
    horizontalHeader()->setSectionsMovable(false);
    horizontalHeader()->resizeSection(BoardColumnModel::NameColumn, scaledWidth(fontMetrics(), 80));
    horizontalHeader()->resizeSection(BoardColumnModel::PriceColumn, scaledWidth(fontMetrics(), 70));

    QPalette p = palette();
    p.setColor(QPalette::Base, colour);
    m_highlight = p.color(QPalette::Active, QPalette::Highlight);
    m_highlightedText = p.color(QPalette::Active, QPalette::HighlightedText);
    setPalette(p);
    showSelection(false);
}

void BoardListView::showSelection(bool visible) {
    QPalette p = palette();
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        p.setColor(group, QPalette::Highlight, visible ? m_highlight : p.color(group, QPalette::Base));
        p.setColor(group, QPalette::HighlightedText, visible ? m_highlightedText : p.color(group, QPalette::Text));
    }
    setPalette(p);
}

void BoardListView::focusInEvent(QFocusEvent* event) {
    QTableView::focusInEvent(event);
    showSelection(true);
    if (event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason)
        selectCurrentRow();
}

void BoardListView::selectCurrentRow() {
    if (m_model->count() == 0)
        return;
    const int selected = selectedRow();
    const int row = selected >= 0 ? selected : (currentIndex().isValid() ? currentIndex().row() : 0);
    const QModelIndex index = m_model->index(row, BoardColumnModel::NameColumn);
    // Selected anew, so that the moves act on the list the focus is in.
    clearSelectionQuietly();
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    scrollTo(index);
}

void BoardListView::setNeighbours(BoardListView* previous, BoardListView* next) {
    m_previous = previous;
    m_next = next;
}

bool BoardListView::focusNextPrevChild(bool next) {
    BoardListView* to = next ? m_next : m_previous;
    if (!to)
        return QTableView::focusNextPrevChild(next);
    to->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    return true;
}

void BoardListView::keyPressEvent(QKeyEvent* event) {
    const bool menuKey =
        event->key() == Qt::Key_Menu || (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier);
    if (!menuKey) {
        QTableView::keyPressEvent(event);
        return;
    }
    event->accept();
    openMenuAtSelection();
}

bool BoardListView::event(QEvent* event) {
    // The desktop's own menu key event points at the text cursor; the menu belongs at the item.
    if (event->type() == QEvent::ContextMenu &&
        static_cast<QContextMenuEvent*>(event)->reason() == QContextMenuEvent::Keyboard) {
        event->accept();
        openMenuAtSelection();
        return true;
    }
    return QTableView::event(event);
}

void BoardListView::openMenuAtSelection() {
    const int row = selectedRow();
    const QRect rect = row >= 0 ? visualRect(m_model->index(row, BoardColumnModel::NameColumn)) : QRect();
    emit customContextMenuRequested(row >= 0 ? rect.center() : QPoint(0, 0));
}

void BoardListView::focusOutEvent(QFocusEvent* event) {
    QTableView::focusOutEvent(event);
    // A popup menu over the list leaves the item it acts on in sight.
    if (event->reason() != Qt::PopupFocusReason)
        showSelection(false);
}

int BoardListView::selectedRow() const {
    const QModelIndexList rows = selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void BoardListView::clearSelectionQuietly() {
    const QSignalBlocker blocker(selectionModel());
    selectionModel()->clear();
}

void BoardListView::rowsInserted(const QModelIndex& parent, int start, int end) {
    QTableView::rowsInserted(parent, start, end);
    m_movedFrom = std::min(m_movedFrom, start);
}

void BoardListView::rowsAboutToBeRemoved(const QModelIndex& parent, int start, int end) {
    QTableView::rowsAboutToBeRemoved(parent, start, end);
    m_movedFrom = std::min(m_movedFrom, start);
}

void BoardListView::reset() {
    m_repaintAll = true;
    QTableView::reset();
}

void BoardListView::doItemsLayout() {
    const int movedFrom = m_movedFrom;
    const bool repaintAll = m_repaintAll;
    m_movedFrom = NoRowMoved;
    m_repaintAll = false;
    if (repaintAll || movedFrom == NoRowMoved) {
        QTableView::doItemsLayout();
        return;
    }
    // As the table lays itself out after rows come or go, but repainting only the rows
    // that moved: an item added at the end of a long list, out of sight, repaints nothing.
    updateGeometries();
    if (!verticalHeader()->updatesEnabled())
        verticalHeader()->setUpdatesEnabled(true);
    repaintFrom(movedFrom);
}

void BoardListView::repaintFrom(int row) {
    const int rows = model()->rowCount();
    int top = 0;
    if (row < rows)
        top = rowViewportPosition(row);
    else if (rows > 0)
        top = rowViewportPosition(rows - 1) + rowHeight(rows - 1);
    top = std::max(top, 0);
    const QRect below(0, top, viewport()->width(), viewport()->height() - top);
    if (below.height() > 0)
        viewport()->update(below);
}

void BoardListView::startDrag(Qt::DropActions) {
    const int row = selectedRow();
    if (row < 0)
        return;
    QMimeData* mime = m_model->mimeData({m_model->index(row, BoardColumnModel::NameColumn)});
    if (!mime)
        return;
    auto* drag = new QDrag(this);
    drag->setMimeData(mime);
    // The drop handler has already made the move; nothing is left to do here.
    drag->exec(Qt::MoveAction, Qt::MoveAction);
}

void BoardListView::answerDrag(QDropEvent* event) {
    if (m_drops.acceptsDrop(*this, *event)) {
        event->setDropAction(Qt::MoveAction);
        event->accept();
    } else {
        event->ignore();
    }
}

void BoardListView::dragEnterEvent(QDragEnterEvent* event) {
    answerDrag(event);
}

void BoardListView::dragMoveEvent(QDragMoveEvent* event) {
    answerDrag(event);
}

void BoardListView::dropEvent(QDropEvent* event) {
    if (!m_drops.acceptsDrop(*this, *event)) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::MoveAction);
    event->accept();
    m_drops.drop(*this, *event);
}

} // namespace ravnobor::board
