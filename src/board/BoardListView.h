#pragma once

#include "board/BoardColumnModel.h"

#include <QTableView>

#include <limits>

namespace ravnobor::board {

class BoardListView;

// Decides and carries out drops on the board's lists.
class BoardDropHandler {
public:
    virtual ~BoardDropHandler() = default;
    virtual bool acceptsDrop(const BoardListView& target, const QDropEvent& event) const = 0;
    virtual void drop(BoardListView& target, const QDropEvent& event) = 0;
};

// One column of the board: a read-only two-column list of one model, single row
// selection, grid lines, its own colour; drags start from the selected item. A table
// view rather than a tree view: removing a row from a long list costs it nothing like
// the tree's walk over all its rows.
class BoardListView final : public QTableView {
    Q_OBJECT
public:
    BoardListView(const QString& objectName, int tag, const QColor& colour, BoardDropHandler& drops, QWidget* parent);

    BoardColumnModel& columnModel() { return *m_model; }
    const BoardColumnModel& columnModel() const { return *m_model; }
    int tag() const { return m_model->tag(); }
    // The selected row, never the current index; -1 when none is selected.
    int selectedRow() const;
    // Clears selection and current index without telling anyone, so that removing the
    // row does not make the view select its neighbour.
    void clearSelectionQuietly();

    // The lists Tab and Shift+Tab go to from this one.
    void setNeighbours(BoardListView* previous, BoardListView* next);

    void reset() override;
    void doItemsLayout() override;

protected:
    void rowsInserted(const QModelIndex& parent, int start, int end) override;
    void rowsAboutToBeRemoved(const QModelIndex& parent, int start, int end) override;
    void startDrag(Qt::DropActions supportedActions) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    // Like the lists it was designed with, a list shows its selection only while it has the focus.
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    // The Menu key and Shift+F10 open the popup menu at the selected row.
    void keyPressEvent(QKeyEvent* event) override;
    bool event(QEvent* event) override;

private:
    void answerDrag(QDropEvent* event);
    void showSelection(bool visible);
    void repaintFrom(int row);
    void selectCurrentRow();
    void openMenuAtSelection();

    BoardColumnModel* m_model;
    BoardDropHandler& m_drops;
    QColor m_highlight;
    QColor m_highlightedText;
    // The first row that moved since the list was last laid out; NoRowMoved when
    // none did, or when something else changed and the whole list must be repainted.
    static constexpr int NoRowMoved = std::numeric_limits<int>::max();
    int m_movedFrom = NoRowMoved;
    bool m_repaintAll = false;
    BoardListView* m_previous = nullptr;
    BoardListView* m_next = nullptr;
};

} // namespace ravnobor::board
