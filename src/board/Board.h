#pragma once

#include "board/BoardListView.h"
#include "board/TotalsPanel.h"

#include <QObject>

#include <memory>
#include <optional>
#include <vector>

class QAction;
class QMenu;

namespace ravnobor {
class Program;
class TFormMain;
struct AppState;
namespace store {
class Database;
struct CaseChange;
} // namespace store
} // namespace ravnobor

namespace ravnobor::board {

// The division board of the main window: the three lists, their popup menus, the
// toolbar moves and the totals panel.
class Board final : public QObject, public BoardDropHandler {
    Q_OBJECT
public:
    Board(TFormMain& form, Program& program);

    void InsertDann();
    void ClearDann();
    void SummStr();
    void FormResize();

    // The move: the source's selected item goes to the end of the target list.
    void ListView1DragDrop(BoardListView& target, BoardListView& source);

    BoardListView& list(int tag) const { return tag > 0 ? *m_left : (tag < 0 ? *m_right : *m_centre); }
    int count(int tag) const { return list(tag).columnModel().count(); }
    void setPartyNames(const QString& party1, const QString& party2);

    bool itemSelected() const { return m_itemSelected; }
    const BoardListView* selectedList() const { return m_selectedList; }

    bool acceptsDrop(const BoardListView& target, const QDropEvent& event) const override;
    void drop(BoardListView& target, const QDropEvent& event) override;

protected:
    // Notes that a move command was started by its key.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildLists();
    void buildMenus();
    QMenu* popupMenu(const QString& objectName, BoardListView& list);
    QAction* menuItem(QMenu* menu, const QString& objectName, const QString& caption, BoardListView& source,
                      BoardListView& target);
    void connectToolbar();
    void giveMoveKey(QAction* move, const QKeySequence& key);
    void selectAfterKeyMove(BoardListView& source, int movedRow);
    void letWindowDecideWidths();
    void ListView2SelectItem(BoardListView& list, bool selected);
    void moveSelectedTo(BoardListView& target);
    BoardListView* sourceOfDrop(const QDropEvent& event) const;
    store::Database& connection();
    // The lists follow every change of the case that the board did not make itself.
    void followChange(const store::CaseChange& change);
    std::optional<std::pair<BoardListView*, int>> findItem(qint64 key) const;
    void takeItem(qint64 key);
    void placeItem(qint64 key);

    TFormMain& m_form;
    Program& m_program;
    AppState& m_state;
    const QByteArray m_dragToken;
    BoardListView* m_left = nullptr;   // ListView2, party 1
    BoardListView* m_centre = nullptr; // ListView1, undistributed
    BoardListView* m_right = nullptr;  // ListView3, party 2
    std::unique_ptr<TotalsPanel> m_totals;
    QAction* m_N21 = nullptr;
    QAction* m_MenuItem1 = nullptr;
    QAction* m_MenuItem2 = nullptr;
    QAction* m_MenuItem4 = nullptr;

    // The latest selection change in any list; moves and reloads leave them alone.
    bool m_itemSelected = false;
    BoardListView* m_selectedList = nullptr;
    // The running move came from its key: the source list then offers the next item.
    bool m_moveByKey = false;
};

} // namespace ravnobor::board
