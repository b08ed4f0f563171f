#pragma once

#include "editor/GridColumns.h"

#include <QLineEdit>
#include <QPersistentModelIndex>
#include <QPointer>
#include <QStyledItemDelegate>
#include <QTableView>

#include <functional>

class QScrollBar;

namespace ravnobor::editor {

class BandedHeader;
class RowIndicatorHeader;
class PropertyListModel;
class PropertyFooterModel;

// In-place editors of the grid: plain line edits within the store's text lengths,
// and for "Оценка" one with a drop-down button that opens the valuation popup.
class GridDelegate final : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    // The window sees every key of an editor before the editor and this delegate do.
    std::function<bool(QObject*, QEvent*)> keyPreview;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void destroyEditor(QWidget* editor, const QModelIndex& index) const override;

    QLineEdit* openEditor() const { return m_editor; }
    QModelIndex openEditorIndex() const { return m_editorIndex; }

signals:
    void valuationDropDown(const QModelIndex& index, QLineEdit* editor) const;

protected:
    bool eventFilter(QObject* object, QEvent* event) override;

private:
    mutable QPointer<QLineEdit> m_editor;
    mutable QPersistentModelIndex m_editorIndex;
};

// The property-list grid: banded headings, a row indicator, a bold footer row of
// sums under the columns, and an in-place editor on the current cell whenever the
// grid has the focus. A value typed is committed on leaving the cell and before
// every command (commitEditor).
class DBGridEh3 final : public QTableView {
    Q_OBJECT
public:
    explicit DBGridEh3(QWidget* parent);
    using QTableView::edit;

    void setModels(PropertyListModel* list, PropertyFooterModel* footer);
    PropertyListModel* listModel() const { return m_list; }
    BandedHeader* bandedHeader() const { return m_header; }
    RowIndicatorHeader* rowIndicator() const { return m_indicator; }
    GridDelegate* gridDelegate() const { return m_delegate; }
    QTableView* footer() const { return m_footer; }
    QScrollBar* bottomScrollBar() const { return m_bottomBar; }

    // Commits what the open editor holds; false when the value was refused (the
    // editor then shows the stored value again and the refusal has been reported).
    bool commitEditor();
    // Opens the in-place editor on the current cell.
    void ensureEditor();
    QLineEdit* openEditor() const;

    // Shown columns follow the view; widths follow the client width.
    void setColumnShown(int column, bool shown);
    bool isColumnShown(int column) const { return !isColumnHidden(column); }
    void fitColumns();

    // How a refused value is told to the user.
    std::function<void(const QString&)> reportRefusal;

signals:
    void titleClicked(int column);
    void currentRowChanged(int row);

protected:
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    void valueRefused(const QString& message);
    void showRefusal();
    void syncFooterColumns();
    void buildFooter(QWidget* parent);

    PropertyListModel* m_list = nullptr;
    BandedHeader* m_header = nullptr;
    RowIndicatorHeader* m_indicator = nullptr;
    GridDelegate* m_delegate = nullptr;
    QTableView* m_footer = nullptr;
    QScrollBar* m_bottomBar = nullptr;
    bool m_committing = false;
    bool m_refused = false;
    QString m_pendingRefusal;
};

} // namespace ravnobor::editor
