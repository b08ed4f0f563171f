#include "board/Board.h"

#include "board/BoardLayout.h"
#include "board/BoardStore.h"
#include "shell/Program.h"
#include "shell/TFormMain.h"
#include "store/Layout.h"
#include "store/TDataModule1.h"

#include <QAction>
#include <QDropEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>
#include <QStatusBar>
#include <QUuid>

#include <algorithm>
#include <utility>

namespace ravnobor::board {

namespace {

const QColor SideListColour(167, 191, 237);

QString menuCaption(QString name) {
    return name.replace(u'&', QStringLiteral("&&"));
}

} // namespace

Board::Board(TFormMain& form, Program& program)
    : QObject(&form), m_form(form), m_program(program), m_state(program.state),
      m_dragToken(QUuid::createUuid().toByteArray(QUuid::WithoutBraces)) {
    setObjectName(QStringLiteral("Board"));
    buildLists();
    buildMenus();
    connectToolbar();
    m_totals = std::make_unique<TotalsPanel>(*form.Panel7, m_state.party1Name, m_state.party2Name);
    letWindowDecideWidths();
    connect(&program.dataModule().writer(), &store::CaseWriter::changed, this,
            [this](const store::CaseChange& change) { followChange(change); });
}

void Board::letWindowDecideWidths() {
    // The totals and the first status panel are clipped by a narrow window rather
    // than widen it: their widths follow the window, never the other way round.
    m_form.Panel7->setSizePolicy(QSizePolicy::Ignored, m_form.Panel7->sizePolicy().verticalPolicy());
    QLabel* panel0 = m_form.statusPanels[0];
    panel0->setMinimumWidth(0);
    panel0->setSizePolicy(QSizePolicy::Ignored, panel0->sizePolicy().verticalPolicy());
    // Stretched, so that it gets the width FormResize gives it whenever there is room.
    m_form.StBarMain->removeWidget(panel0);
    m_form.StBarMain->insertWidget(0, panel0, 1);
    panel0->show();
}

void Board::buildLists() {
    QWidget* area = m_form.boardArea;
    auto* row = new QHBoxLayout(area);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    m_left = new BoardListView(QStringLiteral("ListView2"), layout::ToParty1, SideListColour, *this, area);
    m_centre = new BoardListView(QStringLiteral("ListView1"), layout::Undistributed, Qt::white, *this, area);
    m_right = new BoardListView(QStringLiteral("ListView3"), layout::ToParty2, SideListColour, *this, area);
    row->addWidget(m_left);
    row->addWidget(m_centre, 1);
    row->addWidget(m_right);
    area->setMinimumWidth(minimumClientWidth());
    m_left->setNeighbours(m_right, m_centre);
    m_centre->setNeighbours(m_left, m_right);
    m_right->setNeighbours(m_centre, m_left);
    for (BoardListView* view : {m_left, m_centre, m_right}) {
        view->columnModel().setDragToken(m_dragToken);
        connect(view->selectionModel(), &QItemSelectionModel::selectionChanged, this,
                [this, view](const QItemSelection& selected, const QItemSelection& deselected) {
                    if (!selected.isEmpty())
                        ListView2SelectItem(*view, true);
                    else if (!deselected.isEmpty())
                        ListView2SelectItem(*view, false);
                });
    }
}

QMenu* Board::popupMenu(const QString& objectName, BoardListView& list) {
    auto* menu = new QMenu(&m_form);
    menu->setObjectName(objectName);
    connect(&list, &QWidget::customContextMenuRequested, menu,
            [menu, &list](const QPoint& pos) { menu->popup(list.viewport()->mapToGlobal(pos)); });
    return menu;
}

QAction* Board::menuItem(QMenu* menu, const QString& objectName, const QString& caption, BoardListView& source,
                         BoardListView& target) {
    QAction* item = menu->addAction(caption);
    item->setObjectName(objectName);
    m_form.connectCommand(item, [this, &source, &target] {
        if (m_itemSelected && source.columnModel().count() > 0)
            ListView1DragDrop(target, source);
    });
    return item;
}

void Board::buildMenus() {
    const QString undistributed = QStringLiteral("Нераспределенное");
    QMenu* menu1 = popupMenu(QStringLiteral("PopupMenu1"), *m_left);
    m_N21 = menuItem(menu1, QStringLiteral("N21"), QStringLiteral("Стороне 2"), *m_left, *m_right);
    menuItem(menu1, QStringLiteral("N1"), undistributed, *m_left, *m_centre);
    QMenu* menu2 = popupMenu(QStringLiteral("PopupMenu2"), *m_centre);
    m_MenuItem1 = menuItem(menu2, QStringLiteral("MenuItem1"), QStringLiteral("Стороне 1"), *m_centre, *m_left);
    m_MenuItem2 = menuItem(menu2, QStringLiteral("MenuItem2"), QStringLiteral("Стороне 2"), *m_centre, *m_right);
    QMenu* menu3 = popupMenu(QStringLiteral("PopupMenu3"), *m_right);
    m_MenuItem4 = menuItem(menu3, QStringLiteral("MenuItem4"), QStringLiteral("Стороне 1"), *m_right, *m_left);
    menuItem(menu3, QStringLiteral("MenuItem6"), undistributed, *m_right, *m_centre);
    for (QMenu* menu : {menu1, menu2, menu3})
        menu->addAction(m_form.commands().Edit_ShareItem);
}

void Board::connectToolbar() {
    const MainCommands& commands = m_form.commands();
    m_form.connectCommand(commands.SpeedButton4, [this] { m_form.ClearDann(); });
    m_form.connectCommand(commands.SpeedButton1, [this] { moveSelectedTo(*m_left); });
    m_form.connectCommand(commands.SpeedButton2, [this] { moveSelectedTo(*m_centre); });
    m_form.connectCommand(commands.SpeedButton3, [this] { moveSelectedTo(*m_right); });
    giveMoveKey(commands.SpeedButton1, QKeySequence(Qt::CTRL | Qt::Key_Left));
    giveMoveKey(commands.SpeedButton2, QKeySequence(Qt::CTRL | Qt::Key_Down));
    giveMoveKey(commands.SpeedButton3, QKeySequence(Qt::CTRL | Qt::Key_Right));
}

void Board::giveMoveKey(QAction* move, const QKeySequence& key) {
    move->setShortcut(key);
    move->setToolTip(QStringLiteral("%1 (%2)").arg(move->statusTip(), key.toString(QKeySequence::PortableText)));
    move->installEventFilter(this);
}

bool Board::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Shortcut)
        m_moveByKey = true;
    return QObject::eventFilter(watched, event);
}

void Board::moveSelectedTo(BoardListView& target) {
    const bool byKey = std::exchange(m_moveByKey, false);
    if (!m_itemSelected || !m_selectedList)
        return;
    BoardListView& source = *m_selectedList;
    const int row = source.selectedRow();
    ListView1DragDrop(target, source);
    if (byKey && row >= 0)
        selectAfterKeyMove(source, row);
}

void Board::selectAfterKeyMove(BoardListView& source, int movedRow) {
    const int count = source.columnModel().count();
    if (count == 0)
        return;
    const QModelIndex next = source.model()->index(std::min(movedRow, count - 1), BoardColumnModel::NameColumn);
    source.selectionModel()->setCurrentIndex(next, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    source.scrollTo(next);
    source.setFocus(Qt::OtherFocusReason);
}

void Board::ListView2SelectItem(BoardListView& list, bool selected) {
    m_itemSelected = selected;
    m_selectedList = &list;
}

void Board::setPartyNames(const QString& party1, const QString& party2) {
    m_N21->setText(menuCaption(party2));
    m_MenuItem1->setText(menuCaption(party1));
    m_MenuItem2->setText(menuCaption(party2));
    m_MenuItem4->setText(menuCaption(party1));
}

store::Database& Board::connection() {
    return m_program.dataModule().connection();
}

void Board::InsertDann() {
    // Nothing to load before a case is attached, or while the working copy is not.
    if (m_state.caseFileName == AppState::NoCaseSentinel || !m_program.dataModule().isConnected())
        return;
    // Built aside: a load that fails leaves the lists and the totals as they were.
    BoardContent content = loadBoard(connection(), layout::priceColumn(m_state.priceBasis),
                                     layout::allocationColumn(m_state.divisionVariant));
    for (BoardListView* view : {m_centre, m_left, m_right}) {
        view->clearSelectionQuietly();
        view->columnModel().replaceRows(std::move(content.forTag(view->tag())));
    }
    m_state.totalRecords = content.rowCount;
    SummStr();
}

void Board::ClearDann() {
    m_program.dataModule().writer().gather(m_state.divisionVariant, this);
    InsertDann(); // in table order, also when nothing was placed
}

void Board::ListView1DragDrop(BoardListView& target, BoardListView& source) {
    const int row = source.selectedRow();
    if (row < 0)
        return;
    const BoardRow& item = source.columnModel().row(row);
    // Stored first: a failed write leaves the board as it was. The board moves the row
    // itself, where it already knows it, so it skips its own announcement.
    m_program.dataModule().writer().moveItem(m_state.divisionVariant, item.key, target.tag(), item.name, this);
    source.clearSelectionQuietly();
    const bool split = item.share != nullptr;
    BoardRow moved = source.columnModel().take(row);
    if (split) {
        // Out of a split the whole item goes: its row in the other side list goes too.
        BoardListView& twin = &source == m_left ? *m_right : *m_left;
        if (const int other = twin.columnModel().rowOfKey(moved.key); other >= 0) {
            twin.clearSelectionQuietly();
            twin.columnModel().take(other);
        }
        moved.share.reset();
    }
    target.columnModel().append(std::move(moved));
    SummStr();
}

void Board::followChange(const store::CaseChange& change) {
    if (change.origin == this || change.rowCount() == 0 || !m_program.dataModule().isConnected())
        return;
    if (change.variant >= 0 && change.variant != m_state.divisionVariant)
        return; // the other variant's allocations are not on the board
    // A gathering or a placement, and any large change, reloads the lists in table
    // order, as the command itself does; a move or an item's edit touches only its rows.
    constexpr int RowsFollowedOneByOne = 256;
    if (change.rowCount() > RowsFollowedOneByOne || (change.variant >= 0 && change.rowCount() > 1)) {
        InsertDann();
        return;
    }
    for (qint64 key : change.removed)
        takeItem(key);
    for (const std::vector<qint64>* keys : {&change.updated, &change.inserted})
        for (qint64 key : *keys)
            placeItem(key);
    SummStr();
}

std::optional<std::pair<BoardListView*, int>> Board::findItem(qint64 key) const {
    for (BoardListView* view : {m_left, m_centre, m_right})
        if (const int row = view->columnModel().rowOfKey(key); row >= 0)
            return std::make_pair(view, row);
    return std::nullopt;
}

void Board::takeItem(qint64 key) {
    // A split item has a row in each side list.
    while (const auto found = findItem(key)) {
        found->first->clearSelectionQuietly();
        found->first->columnModel().take(found->second);
    }
}

void Board::placeItem(qint64 key) {
    std::optional<PlacedBoardRow> placed = loadBoardRow(connection(), key, layout::priceColumn(m_state.priceBasis),
                                                        layout::allocationColumn(m_state.divisionVariant));
    if (!placed) {
        takeItem(key);
        return;
    }
    std::vector<BoardListView*> targets{&list(placed->tag)};
    if (placed->row.share)
        targets = {m_left, m_right};
    // Rows that stand where they should are replaced in place; the others go and come.
    std::vector<std::pair<BoardListView*, int>> standing;
    bool elsewhere = false;
    for (BoardListView* view : {m_left, m_centre, m_right}) {
        const int row = view->columnModel().rowOfKey(key);
        if (row < 0)
            continue;
        if (std::find(targets.begin(), targets.end(), view) != targets.end())
            standing.emplace_back(view, row);
        else
            elsewhere = true;
    }
    if (!elsewhere && standing.size() == targets.size()) {
        for (const auto& [view, row] : standing)
            view->columnModel().replace(row, placed->row);
        return;
    }
    takeItem(key);
    for (BoardListView* view : targets) {
        if (placed->row.share)
            view->columnModel().insertInKeyOrder(placed->row); // a split item stands in table order
        else
            view->columnModel().append(placed->row);
    }
}

void Board::SummStr() {
    const TotalsTexts texts =
        totalsTexts({m_centre->columnModel().sum(), m_left->columnModel().sum(), m_right->columnModel().sum(),
                     m_state.currencySuffix, m_state.party1Name, m_state.party2Name},
                    m_state.share);
    m_state.undistributedTotal = m_centre->columnModel().sum();
    m_state.share1Total = m_left->columnModel().sum();
    m_state.share2Total = m_right->columnModel().sum();
    m_totals->show(texts);
    // The bar is drawn to the pixel: sums rounded to the cent are exact enough for it.
    m_totals->showShares(
        shareBar({m_state.share1Total.roundedToCents(), m_state.share2Total.roundedToCents(),
                  m_state.undistributedTotal.roundedToCents(), m_state.share, m_state.party1Name, m_state.party2Name}));
    for (BoardListView* view : {m_centre, m_left, m_right})
        view->columnModel().setPriceCaption(texts.priceCaption);
}

void Board::FormResize() {
    BoardLayoutInput input;
    input.clientWidth = m_form.width();
    input.centrePriceWidth = m_centre->horizontalHeader()->sectionSize(BoardColumnModel::PriceColumn);
    input.leftPriceWidth = m_left->horizontalHeader()->sectionSize(BoardColumnModel::PriceColumn);
    input.rightPriceWidth = m_right->horizontalHeader()->sectionSize(BoardColumnModel::PriceColumn);
    for (size_t i = 0; i < 3; ++i)
        input.otherStatusPanels[i] = m_form.statusPanels[i + 1]->minimumWidth();
    const BoardGeometry g = boardGeometry(input);

    m_left->setFixedWidth(g.leftWidth);
    m_right->setFixedWidth(g.rightWidth);
    m_centre->horizontalHeader()->resizeSection(BoardColumnModel::NameColumn, g.centreNameWidth);
    m_left->horizontalHeader()->resizeSection(BoardColumnModel::NameColumn, g.leftNameWidth);
    m_right->horizontalHeader()->resizeSection(BoardColumnModel::NameColumn, g.rightNameWidth);
    QLabel* label1 = m_form.Label1;
    QLabel* label2 = m_form.Label2;
    label1->setGeometry(g.label1Left, label1->y(), g.label1Width, label1->height());
    label2->setGeometry(g.label2Left, label2->y(), g.label2Width, label2->height());
    m_form.statusPanels[0]->setMaximumWidth(g.statusPanel0Width);
}

BoardListView* Board::sourceOfDrop(const QDropEvent& event) const {
    const std::optional<BoardDrag> drag = decodeBoardDrag(event.mimeData());
    if (!drag || drag->token != m_dragToken)
        return nullptr;
    BoardListView& source = list(drag->sourceTag);
    // Qt names the dragging widget when the drag began in this program; it must be
    // the list the data names. Without a name the window's own token has to do.
    if (event.source() && event.source() != &source)
        return nullptr;
    const int row = source.selectedRow();
    if (row < 0 || source.columnModel().row(row).key != drag->key)
        return nullptr;
    return &source;
}

bool Board::acceptsDrop(const BoardListView&, const QDropEvent& event) const {
    return sourceOfDrop(event) != nullptr;
}

void Board::drop(BoardListView& target, const QDropEvent& event) {
    if (BoardListView* source = sourceOfDrop(event))
        m_form.runCommand([&] { ListView1DragDrop(target, *source); });
}

} // namespace ravnobor::board
