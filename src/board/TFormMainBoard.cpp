// The division board and the totals in the main window.
#include "board/Board.h"
#include "settings/PartyNames.h"
#include "shell/Program.h"

#include "shell/TFormMain.h"
#include <QLabel>

namespace ravnobor {

void TFormMain::buildBoard() {
    m_board = new board::Board(*this, m_program);
}

void TFormMain::InsertDann() {
    m_board->InsertDann();
}

void TFormMain::ClearDann() {
    m_board->ClearDann();
}

void TFormMain::SummStr() {
    m_board->SummStr();
}

void TFormMain::FormResize() {
    if (m_board)
        m_board->FormResize();
}

int TFormMain::boardCount(int tag) const {
    return m_board ? m_board->count(tag) : 0;
}

std::vector<TFormMain::BoardItemText> TFormMain::boardItems(int tag) const {
    std::vector<BoardItemText> items;
    if (!m_board)
        return items;
    const board::BoardColumnModel& model = m_board->list(tag).columnModel();
    items.reserve(size_t(model.count()));
    for (int row = 0; row < model.count(); ++row)
        items.push_back({model.caption(row), model.priceText(row)});
    return items;
}

std::optional<qint64> TFormMain::selectedBoardKey() const {
    if (!m_board || !m_board->itemSelected())
        return std::nullopt;
    const board::BoardListView* list = m_board->selectedList();
    if (!list || list->columnModel().count() == 0)
        return std::nullopt;
    const int row = list->selectedRow();
    if (row < 0)
        return std::nullopt;
    return list->columnModel().row(row).key;
}

void TFormMain::showPartyNames() {
    const QString& p1 = m_state.party1Name;
    const QString& p2 = m_state.party2Name;
    Label1->setText(p1);
    Label2->setText(p2);
    Label3->setText(settings::variantLine(settings::variantEntry(m_state.divisionVariant, p1, p2),
                                          settings::priceBasisEntry(m_state.priceBasis, p1, p2)));
    SummStr();
    m_board->setPartyNames(p1, p2);
    Panel1->setText(m_state.caseDescription);
}

} // namespace ravnobor
