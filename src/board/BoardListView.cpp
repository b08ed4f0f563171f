#include "board/BoardListView.h"

#include "board/DesignScale.h"

#include <QDrag>
#include <QDropEvent>
#include <QHeaderView>
#include <QPainter>
#include <QStyledItemDelegate>

namespace ravnobor::board {

namespace {

// Draws the grid lines of a report-style list under each cell.
class GridLineDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QStyledItemDelegate::paint(painter, option, index);
        painter->save();
        painter->setPen(option.palette.color(QPalette::Mid));
        const QRect r = option.rect;
        painter->drawLine(r.bottomLeft(), r.bottomRight());
        painter->drawLine(r.topRight(), r.bottomRight());
        painter->restore();
    }
};

} // namespace

BoardListView::BoardListView(const QString& objectName, int tag, const QColor& colour, BoardDropHandler& drops,
                             QWidget* parent)
    : QTreeView(parent), m_model(new BoardColumnModel(tag, this)), m_drops(drops) {
    setObjectName(objectName);
    setModel(m_model);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSortingEnabled(false);
    setEditTriggers(NoEditTriggers);
    setSelectionMode(SingleSelection);
    setSelectionBehavior(SelectRows);
    setItemDelegate(new GridLineDelegate(this));
    setDragEnabled(true);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    setDragDropMode(DragDrop);
    setDropIndicatorShown(false);
    setContextMenuPolicy(Qt::CustomContextMenu);
    setMinimumWidth(155);

    header()->setStretchLastSection(false);
    header()->setSectionsMovable(false);
    header()->resizeSection(BoardColumnModel::NameColumn, scaledWidth(fontMetrics(), 80));
    header()->resizeSection(BoardColumnModel::PriceColumn, scaledWidth(fontMetrics(), 70));

    // The list's colour, and a selection that hides while the list has no focus.
    QPalette p = palette();
    p.setColor(QPalette::Base, colour);
    p.setColor(QPalette::Inactive, QPalette::Highlight, colour);
    p.setColor(QPalette::Inactive, QPalette::HighlightedText, p.color(QPalette::Active, QPalette::Text));
    setPalette(p);
}

int BoardListView::selectedRow() const {
    const QModelIndexList rows = selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void BoardListView::clearSelectionQuietly() {
    const QSignalBlocker blocker(selectionModel());
    selectionModel()->clear();
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
