#include "sheets/TFormImport.h"

#include <QAbstractTableModel>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace ravnobor::sheets {

// The first rows of the chosen sheet, numbered as in the file.
class SheetPreviewModel final : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;

    void show(const Sheet* sheet, int columns) {
        beginResetModel();
        m_sheet = sheet;
        m_rows = int(std::min<size_t>(sheet->rows.size(), TFormImport::PreviewRows));
        m_columns = columns;
        endResetModel();
    }
    int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : m_rows; }
    int columnCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : m_columns; }
    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::DisplayRole || !m_sheet)
            return {};
        const QStringList& row = m_sheet->rows[size_t(index.row())];
        return index.column() < row.size() ? row[index.column()] : QString();
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (role != Qt::DisplayRole)
            return {};
        return orientation == Qt::Horizontal ? QVariant(columnLetters(section)) : QVariant(section + 1);
    }

private:
    const Sheet* m_sheet = nullptr;
    int m_rows = 0;
    int m_columns = 0;
};

QString columnLetters(int column) {
    QString letters;
    for (int n = column + 1; n > 0; n = (n - 1) / 26)
        letters.prepend(QChar(char16_t(u'A' + (n - 1) % 26)));
    return letters;
}

namespace {

constexpr std::array<const char16_t*, FieldCount> ComboNames = {u"ComboName",        u"ComboPrice1",    u"ComboPrice2",
                                                                u"ComboPriceAgreed", u"ComboValuation", u"ComboNotes"};
constexpr std::array<const char16_t*, FieldCount> FieldCaptions = {u"Наименование",       u"Цена 1", u"Цена 2",
                                                                   u"Согласованная цена", u"Оценка", u"Заметки"};

int widestRow(const Sheet& sheet) {
    qsizetype widest = 0;
    for (const QStringList& row : sheet.rows)
        widest = std::max(widest, row.size());
    return int(widest);
}

} // namespace

TFormImport::TFormImport(Workbook workbook, bool chooseSheet, const QString& party1, const QString& party2,
                         QWidget* parent)
    : QDialog(parent), m_workbook(std::move(workbook)), m_party1(party1), m_party2(party2) {
    setObjectName(QStringLiteral("FormImport"));
    setWindowTitle(QStringLiteral("Импорт списка имущества"));
    setModal(true);
    if (m_workbook.sheets.empty())
        m_workbook.sheets.emplace_back(); // the window always shows a table, if an empty one
    buildWindow();
    ComboSheet->setVisible(chooseSheet);
    sheetChosen();
}

TFormImport::~TFormImport() = default;

void TFormImport::buildWindow() {
    auto* column = new QVBoxLayout(this);
    ComboSheet = new QComboBox(this);
    ComboSheet->setObjectName(QStringLiteral("ComboSheet"));
    for (const Sheet& sheet : m_workbook.sheets)
        ComboSheet->addItem(sheet.name);
    column->addWidget(ComboSheet);
    CheckHeader = new QCheckBox(QStringLiteral("Первая строка — заголовки"), this);
    CheckHeader->setObjectName(QStringLiteral("CheckHeader"));
    column->addWidget(CheckHeader);
    TableImport = new QTableView(this);
    TableImport->setObjectName(QStringLiteral("TableImport"));
    TableImport->setEditTriggers(QAbstractItemView::NoEditTriggers);
    TableImport->verticalHeader()->setDefaultSectionSize(TableImport->fontMetrics().height() + 6);
    m_preview = new SheetPreviewModel(this);
    TableImport->setModel(m_preview);
    column->addWidget(TableImport, 1);
    column->addWidget(buildFieldCombos());
    LabelCount = new QLabel(this);
    LabelCount->setObjectName(QStringLiteral("LabelCount"));
    column->addWidget(LabelCount);
    ListSkipped = new QListWidget(this);
    ListSkipped->setObjectName(QStringLiteral("ListSkipped"));
    ListSkipped->setMaximumHeight(120);
    column->addWidget(ListSkipped);

    auto* buttons = new QDialogButtonBox(this);
    ButtonImport = buttons->addButton(QStringLiteral("Импортировать"), QDialogButtonBox::AcceptRole);
    ButtonImport->setObjectName(QStringLiteral("ButtonImport"));
    ButtonCancel = buttons->addButton(QStringLiteral("Отмена"), QDialogButtonBox::RejectRole);
    ButtonCancel->setObjectName(QStringLiteral("ButtonCancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    column->addWidget(buttons);

    connect(ComboSheet, &QComboBox::currentIndexChanged, this, &TFormImport::sheetChosen);
    connect(CheckHeader, &QCheckBox::toggled, this, [this] {
        if (!m_filling)
            fillFieldCombos(guessMapping(sheet(), CheckHeader->isChecked(), m_party1, m_party2));
    });
    resize(760, 620);
}

QWidget* TFormImport::buildFieldCombos() {
    auto* box = new QWidget(this);
    auto* form = new QFormLayout(box);
    form->setContentsMargins(0, 0, 0, 0);
    for (int field = 0; field < FieldCount; ++field) {
        auto* combo = new QComboBox(box);
        combo->setObjectName(QString::fromUtf16(ComboNames[size_t(field)]));
        form->addRow(QString::fromUtf16(FieldCaptions[size_t(field)]), combo);
        connect(combo, &QComboBox::currentIndexChanged, this, [this] {
            if (!m_filling)
                replan();
        });
        fieldCombos[size_t(field)] = combo;
    }
    return box;
}

const Sheet& TFormImport::sheet() const {
    const int index = ComboSheet->currentIndex();
    return m_workbook.sheets[index >= 0 && size_t(index) < m_workbook.sheets.size() ? size_t(index) : 0];
}

void TFormImport::sheetChosen() {
    const Sheet& current = sheet();
    m_preview->show(&current, widestRow(current));
    const bool header = guessHeader(current);
    m_filling = true;
    CheckHeader->setChecked(header);
    m_filling = false;
    fillFieldCombos(guessMapping(current, header, m_party1, m_party2));
}

void TFormImport::fillFieldCombos(const ImportMapping& mapping) {
    const Sheet& current = sheet();
    const int columns = m_preview->columnCount();
    const bool header = CheckHeader->isChecked();
    QStringList choices{QStringLiteral("—")};
    for (int c = 0; c < columns; ++c) {
        const QString heading = header && !current.rows.empty() && c < current.rows.front().size()
                                    ? current.rows.front()[c].simplified()
                                    : QString();
        choices << (heading.isEmpty() ? columnLetters(c) : columnLetters(c) + QStringLiteral(": ") + heading);
    }
    m_filling = true;
    for (int field = 0; field < FieldCount; ++field) {
        QComboBox* combo = fieldCombos[size_t(field)];
        combo->clear();
        combo->addItems(choices);
        combo->setCurrentIndex(mapping.column[size_t(field)] + 1);
    }
    m_filling = false;
    replan();
}

ImportMapping TFormImport::mapping() const {
    ImportMapping mapping;
    mapping.header = CheckHeader->isChecked();
    for (int field = 0; field < FieldCount; ++field)
        mapping.column[size_t(field)] = fieldCombos[size_t(field)]->currentIndex() - 1;
    return mapping;
}

void TFormImport::replan() {
    const ImportMapping chosen = mapping();
    m_plan = chosen.column[FieldName] >= 0 ? planImport(sheet(), chosen) : ImportPlan{};
    LabelCount->setText(
        QStringLiteral("Будет добавлено: %1. Пропущено: %2.").arg(m_plan.items.size()).arg(m_plan.skipped.size()));
    ListSkipped->clear();
    const size_t shown = std::min<size_t>(m_plan.skipped.size(), ShownSkipped);
    QStringList lines;
    for (size_t i = 0; i < shown; ++i)
        lines << QStringLiteral("Строка %1: %2").arg(m_plan.skipped[i].row).arg(m_plan.skipped[i].reason);
    if (m_plan.skipped.size() > shown)
        lines << QStringLiteral("… и ещё %1").arg(m_plan.skipped.size() - shown);
    ListSkipped->addItems(lines);
    ButtonImport->setEnabled(chosen.column[FieldName] >= 0 && !m_plan.items.empty());
}

} // namespace ravnobor::sheets
