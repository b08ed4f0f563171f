// The division board and the totals in the main window.
#include "shell/TFormMain.h"

namespace ravnobor {

void TFormMain::InsertDann() {}
void TFormMain::ClearDann() {}
void TFormMain::SummStr() {}
void TFormMain::FormResize() {}
int TFormMain::boardCount(int) const {
    return 0;
}

std::vector<TFormMain::BoardItemText> TFormMain::boardItems(int) const {
    return {};
}
void TFormMain::setBoardPartyNames(const QString&, const QString&) {}

} // namespace ravnobor
