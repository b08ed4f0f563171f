#include "editor/DBGridEh3.h"

#include "editor/BandedHeader.h"
#include "editor/PropertyListModel.h"
#include "store/Layout.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>

namespace ravnobor::editor {

namespace {

// The drop-down mark of a combo box, for the button of the "Оценка" cells.
QIcon dropDownIcon(const QWidget* widget) {
    QPixmap pixmap(12, 12);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    QStyleOption option;
    option.initFrom(widget);
    option.rect = pixmap.rect();
    widget->style()->drawPrimitive(QStyle::PE_IndicatorArrowDown, &option, &painter, widget);
    return QIcon(pixmap);
}

int maxLengthOf(int column) {
    if (column == GridName || column == GridValuation)
        return layout::NameLength;
    if (column == GridNotes)
        return layout::LongTextLength;
    return 40; // numbers
}

// The sums use the whole cell: long amounts need every pixel of a price column.
class FooterDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QStyleOptionViewItem plain = option;
        initStyleOption(&plain, index);
        const QString text = plain.text;
        plain.text.clear();
        const QWidget* widget = plain.widget;
        QStyle* style = widget ? widget->style() : QApplication::style();
        style->drawControl(QStyle::CE_ItemViewItem, &plain, painter, widget);
        const QRect area = option.rect.adjusted(2, 0, -2, 0);
        painter->save();
        painter->setFont(option.font);
        if (QFontMetricsF(painter->font()).horizontalAdvance(text) > area.width()) {
            QFont narrow = option.font; // before cutting an amount short, narrow it
            narrow.setStretch(QFont::Condensed);
            painter->setFont(narrow);
        }
        painter->setPen(option.palette.color(QPalette::Text));
        painter->drawText(area, int(plain.displayAlignment),
                          painter->fontMetrics().elidedText(text, Qt::ElideRight, area.width()));
        painter->restore();
    }
};

} // namespace

QWidget* GridDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex& index) const {
    auto* editor = new QLineEdit(parent);
    editor->setFrame(false);
    editor->setMaxLength(maxLengthOf(index.column()));
    editor->setAlignment(Qt::Alignment(index.data(Qt::TextAlignmentRole).toInt()));
    if (index.column() == GridValuation) {
        QAction* dropDown = editor->addAction(dropDownIcon(editor), QLineEdit::TrailingPosition);
        dropDown->setObjectName(QStringLiteral("ValuationDropDown"));
        dropDown->setToolTip(QStringLiteral("Кто произвёл оценку"));
        const QPersistentModelIndex at(index);
        connect(dropDown, &QAction::triggered, this, [this, at, editor] { emit valuationDropDown(at, editor); });
    }
    m_editor = editor;
    m_editorIndex = index;
    return editor;
}

void GridDelegate::destroyEditor(QWidget* editor, const QModelIndex& index) const {
    if (editor == m_editor) {
        m_editor = nullptr;
        m_editorIndex = QPersistentModelIndex();
    }
    QStyledItemDelegate::destroyEditor(editor, index);
}

bool GridDelegate::eventFilter(QObject* object, QEvent* event) {
    if (keyPreview && (event->type() == QEvent::KeyPress) && keyPreview(object, event))
        return true;
    return QStyledItemDelegate::eventFilter(object, event);
}

DBGridEh3::DBGridEh3(QWidget* parent) : QTableView(parent) {
    setObjectName(QStringLiteral("DBGridEh3"));
    m_header = new BandedHeader(this);
    setHorizontalHeader(m_header);
    // A heading is a title button here, not a way to select a column.
    disconnect(m_header, &QHeaderView::sectionPressed, this, nullptr);
    disconnect(m_header, &QHeaderView::sectionEntered, this, nullptr);
    m_indicator = new RowIndicatorHeader(this);
    setVerticalHeader(m_indicator);
    m_indicator->setDefaultSectionSize(fontMetrics().height() + 6);
    m_indicator->setMinimumSectionSize(fontMetrics().height() / 2 + 2);
    m_delegate = new GridDelegate(this);
    setItemDelegate(m_delegate);

    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::AllEditTriggers);
    setTabKeyNavigation(true);
    setShowGrid(true);
    setWordWrap(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);

    // The current row stays highlighted when the grid loses the focus.
    QPalette colours = palette();
    for (auto role : {QPalette::Highlight, QPalette::HighlightedText})
        colours.setColor(QPalette::Inactive, role, colours.color(QPalette::Active, role));
    setPalette(colours);

    connect(m_header, &QHeaderView::sectionClicked, this, [this](int column) { emit titleClicked(column); });
    connect(m_header, &QHeaderView::sectionResized, this,
            [this](int column, int, int size) { m_footer->setColumnWidth(column, size); });
    buildFooter(parent);
}

void DBGridEh3::buildFooter(QWidget* parent) {
    m_footer = new QTableView(parent);
    m_footer->setObjectName(QStringLiteral("DBGridEh3Footer"));
    m_footer->horizontalHeader()->hide();
    auto* indicator = new RowIndicatorHeader(m_footer);
    m_footer->setVerticalHeader(indicator);
    indicator->setFont(font());
    indicator->setDefaultSectionSize(m_indicator->defaultSectionSize());
    m_footer->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_footer->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_footer->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    m_footer->setFocusPolicy(Qt::NoFocus);
    m_footer->setSelectionMode(QAbstractItemView::NoSelection);
    m_footer->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_footer->setWordWrap(false);
    m_footer->setItemDelegate(new FooterDelegate(m_footer));
    QFont bold = font();
    bold.setBold(true);
    m_footer->setFont(bold);
    QPalette colours = m_footer->palette();
    colours.setColor(QPalette::Text, Qt::black);
    m_footer->setPalette(colours);
    m_footer->setFixedHeight(m_indicator->defaultSectionSize() + 2 * m_footer->frameWidth());

    m_bottomBar = new QScrollBar(Qt::Horizontal, parent);
    m_bottomBar->setObjectName(QStringLiteral("DBGridEh3HorzBar"));
    m_bottomBar->hide();
    QScrollBar* own = horizontalScrollBar();
    connect(own, &QScrollBar::rangeChanged, this, [this, own](int min, int max) {
        m_bottomBar->setRange(min, max);
        m_bottomBar->setPageStep(own->pageStep());
        m_bottomBar->setVisible(max > min);
    });
    connect(own, &QScrollBar::valueChanged, this, [this](int value) {
        m_bottomBar->setValue(value);
        m_footer->horizontalScrollBar()->setValue(value);
    });
    connect(m_bottomBar, &QScrollBar::valueChanged, own, &QScrollBar::setValue);
}

void DBGridEh3::setModels(PropertyListModel* list, PropertyFooterModel* footer) {
    m_list = list;
    setModel(list);
    m_footer->setModel(footer);
    connect(list, &PropertyListModel::valueRefused, this, &DBGridEh3::valueRefused);
    connect(list, &QAbstractItemModel::modelReset, this, [this] { m_indicator->setCurrentRow(-1); });
    syncFooterColumns();
}

QLineEdit* DBGridEh3::openEditor() const {
    return m_delegate->openEditor();
}

bool DBGridEh3::commitEditor() {
    QLineEdit* editor = openEditor();
    if (!editor)
        return true;
    m_committing = true;
    m_refused = false;
    commitData(editor);
    m_committing = false;
    if (!m_refused)
        return true;
    showRefusal();
    return false;
}

void DBGridEh3::valueRefused(const QString& message) {
    m_refused = true;
    m_pendingRefusal = message;
    if (QLineEdit* editor = openEditor())
        m_delegate->setEditorData(editor, m_delegate->openEditorIndex());
    // Told after the commit has run its course, never from inside it.
    if (!m_committing)
        QMetaObject::invokeMethod(this, &DBGridEh3::showRefusal, Qt::QueuedConnection);
}

void DBGridEh3::showRefusal() {
    const QString message = std::exchange(m_pendingRefusal, QString());
    if (!message.isEmpty() && reportRefusal)
        reportRefusal(message);
}

void DBGridEh3::ensureEditor() {
    if (!m_list || !m_list->isOpen())
        return;
    const QModelIndex current = currentIndex();
    if (!current.isValid())
        return;
    if (openEditor() && m_delegate->openEditorIndex() == current)
        return;
    edit(current);
}

void DBGridEh3::setColumnShown(int column, bool shown) {
    setColumnHidden(column, !shown);
    m_footer->setColumnHidden(column, !shown);
}

void DBGridEh3::fitColumns() {
    ColumnFlags shown{};
    for (int c = 0; c < GridColumnCount; ++c)
        shown[size_t(c)] = !isColumnHidden(c);
    const ColumnWidths widths = fittedWidths(viewport()->width(), shown);
    for (int c = 0; c < GridColumnCount; ++c)
        if (shown[size_t(c)])
            setColumnWidth(c, widths[size_t(c)]);
    syncFooterColumns();
}

void DBGridEh3::syncFooterColumns() {
    for (int c = 0; c < GridColumnCount; ++c) {
        m_footer->setColumnHidden(c, isColumnHidden(c));
        m_footer->setColumnWidth(c, columnWidth(c));
    }
}

void DBGridEh3::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTableView::currentChanged(current, previous);
    m_indicator->setCurrentRow(current.row());
    if (current.row() != previous.row())
        emit currentRowChanged(current.row());
}

bool DBGridEh3::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) {
    const bool opened = QTableView::edit(index, trigger, event);
    // All of the text selected, the start of it in sight.
    if (QLineEdit* editor = openEditor(); opened && editor && editor->selectedText() == editor->text())
        editor->setSelection(int(editor->text().size()), -int(editor->text().size()));
    return opened;
}

void DBGridEh3::resizeEvent(QResizeEvent* event) {
    QTableView::resizeEvent(event);
    fitColumns();
}

void DBGridEh3::focusInEvent(QFocusEvent* event) {
    QTableView::focusInEvent(event);
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (hasFocus())
                ensureEditor();
        },
        Qt::QueuedConnection);
}

} // namespace ravnobor::editor
