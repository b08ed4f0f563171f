// The division board and the totals in the main window.
#include "board/Board.h"
#include "shell/TFormMain.h"

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
        items.push_back({model.row(row).name, model.priceText(row)});
    return items;
}

void TFormMain::setBoardPartyNames(const QString& party1, const QString& party2) {
    m_board->setPartyNames(party1, party2);
}

} // namespace ravnobor
