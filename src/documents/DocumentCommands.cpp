#include "documents/DocumentCommands.h"

#include "board/ShareChart.h"

#include "documents/DocumentFile.h"
#include "documents/Documents.h"
#include "shell/Program.h"
#include "shell/TFormMain.h"
#include "store/Error.h"
#include "store/TDataModule1.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QUrl>

namespace ravnobor {

using namespace documents;

namespace {

std::vector<BoardLine> boardLines(const TFormMain& formMain, int tag) {
    std::vector<BoardLine> lines;
    for (const TFormMain::BoardItemText& item : formMain.boardItems(tag))
        lines.push_back({item.name, item.price});
    return lines;
}

// The totals panel's bar, drawn again for paper.
void addChart(DivisionReportData& data) {
    const board::ShareBar bar =
        board::shareBar({data.share1Total.roundedToCents(), data.share2Total.roundedToCents(),
                         data.undistributedTotal.roundedToCents(), data.share, data.party1Name, data.party2Name});
    data.chartWidth = ReportChartWidth;
    data.chartHeight = ReportChartHeight;
    QFont font = QApplication::font();
    font.setPointSizeF(9);
    data.chartPng = board::ShareChart::png(bar, QSize(data.chartWidth, data.chartHeight), font);
}

} // namespace

DocumentCommands::DocumentCommands(Program& program, TFormMain& formMain)
    : QObject(&formMain), m_program(program), m_formMain(formMain) {
    const auto wire = [&](QAction* action, void (DocumentCommands::*command)()) {
        formMain.connectCommand(action, [this, command] { (this->*command)(); });
    };
    const MainCommands& commands = formMain.commands();
    wire(commands.ToolButton14, &DocumentCommands::ToolButton14Click);
    wire(commands.Doc_im, &DocumentCommands::Doc_imClick);
    wire(commands.N11, &DocumentCommands::N11Click);
    wire(commands.N22, &DocumentCommands::N22Click);
}

QString DocumentCommands::templatePath(const QString& fileName) const {
    return m_program.paths.appDir + u'/' + fileName;
}

QString DocumentCommands::savedCaseFile() const {
    const QString& caseFile = m_program.state.caseFileName;
    const bool neverSaved = caseFile == m_program.paths.templatePath() || caseFile == AppState::NoCaseSentinel;
    return neverSaved ? QString() : caseFile;
}

void DocumentCommands::handOver(const WordDocument& document, const QString& documentName) {
    const QString path = saveAsNewDocument(document.toDocx(), m_program.state.documentsFolder,
                                           documentFileName(savedCaseFile(), documentName));
    if (!m_program.desktop.openUrl(QUrl::fromLocalFile(path)))
        throw Error(QStringLiteral("Документ сохранён в файле «%1», но открыть его не удалось. "
                                   "Откройте этот файл в текстовом редакторе")
                        .arg(QDir::toNativeSeparators(path)));
}

void DocumentCommands::ToolButton14Click() {
    const AppState& state = m_program.state;
    DivisionReportData data;
    data.description = state.caseDescription;
    data.variantLine = m_formMain.Label3->text();
    data.party1Name = state.party1Name;
    data.party2Name = state.party2Name;
    data.currencySuffix = state.currencySuffix;
    data.party1Items = boardLines(m_formMain, layout::ToParty1);
    data.party2Items = boardLines(m_formMain, layout::ToParty2);
    data.share1Total = state.share1Total;
    data.share2Total = state.share2Total;
    data.undistributedTotal = state.undistributedTotal;
    data.share = state.share;
    addChart(data);

    WordDocument document = WordDocument::fromTemplate(templatePath(ReportTemplateFile));
    fillDivisionReport(document, data);
    handOver(document, DivisionReportName);
}

void DocumentCommands::Doc_imClick() {
    const AppState& state = m_program.state;
    GeneralListData data;
    data.description = state.caseDescription;
    data.party1Name = state.party1Name;
    data.party2Name = state.party2Name;
    data.currencySuffix = state.currencySuffix;
    // The template is read first: a missing one must not cost a walk over the case.
    WordDocument document = WordDocument::fromTemplate(templatePath(ListTemplateFile));
    data.items = readPropertyItems(m_program.dataModule().ADODataSet1());
    fillGeneralList(document, data);
    handOver(document, GeneralListName);
}

void DocumentCommands::partyList(int tag, const QString& documentName) {
    const AppState& state = m_program.state;
    PartyListData data;
    data.partyName = tag == layout::ToParty1 ? state.party1Name : state.party2Name;
    data.currencySuffix = state.currencySuffix;
    data.items = boardLines(m_formMain, tag);
    data.total = tag == layout::ToParty1 ? state.share1Total : state.share2Total;
    WordDocument document = WordDocument::blank();
    fillPartyList(document, data);
    handOver(document, documentName);
}

void DocumentCommands::N11Click() {
    partyList(layout::ToParty1, Party1ListName);
}

void DocumentCommands::N22Click() {
    partyList(layout::ToParty2, Party2ListName);
}

} // namespace ravnobor
