#pragma once

#include <QDialog>

#include <functional>
#include <memory>
#include <optional>

class QLineEdit;
class QMenu;
class QModelIndex;
class QToolBar;

namespace ravnobor {

class Program;
namespace store {
struct CaseChange;
}

namespace editor {
class DBGridEh3;
class PropertyListModel;
class PropertyFooterModel;
} // namespace editor

// The property list window: every item in an editable grid with the price sums in
// its footer, commands to add, edit and delete items, and the grid's headings.
class TFormPT final : public QDialog {
    Q_OBJECT
public:
    TFormPT(Program& program, QWidget* parent);
    ~TFormPT() override;

    // The valuation choices name the parties.
    void setPartyNames(const QString& party1, const QString& party2);
    // Called by the main window's tick: the position box and TotalRecords, while
    // the list dataset is open.
    void updatePositionBox();
    bool isListOpen() const;

    // Commands.
    void Serv_SIClick();
    void FormActivate();
    void FormDeactivate();
    void SpeedButton1Click(); // Добавить
    void SpeedButton2Click(); // Редактировать
    void SpeedButton3Click(); // Удалить
    void SpeedButton4Click(); // Первая
    void SpeedButton5Click(); // Последняя
    void N1Click();           // Вставить запись
    void N2Click();           // Удалить запись
    void PopupMenu1Popup();
    void DBGridEh3TitleBtnClick(int column);
    void FormKeyDown();        // Alt+S: list view <-> summary view
    void deleteSelectedRows(); // Ctrl+Delete
    void undoClick();          // Ctrl+Z
    void redoClick();          // Ctrl+Shift+Z, Ctrl+Y
    // The valuation popup's items (the data module's N1Click): who made the valuation.
    void ValuationN1Click(const QString& valuation);

    bool isSummaryView() const;
    editor::PropertyListModel& listModel() { return *m_model; }
    editor::PropertyFooterModel& footerModel() { return *m_footerModel; }
    // The data module's PopupMenu1: the drop-down of the "Оценка" cells.
    QMenu* valuationPopup() const { return m_valuationPopup.get(); }

    QToolBar* ToolBar1 = nullptr;
    editor::DBGridEh3* DBGridEh3 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QMenu* PopupMenu1 = nullptr;

signals:
    // Ctrl+V with cells copied from a spreadsheet (tabs or several lines): the import takes them.
    void cellsPasted(const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void done(int result) override;
    void showEvent(QShowEvent* event) override;

private:
    void buildToolBar();
    void buildGrid();
    void buildBottomStrip();
    void buildMenus();
    void previewKeys();
    bool windowKey(QObject* watched, QEvent* event);
    void run(const std::function<void()>& command);
    void buildUndoKeys();
    void followChange(const store::CaseChange& change);
    // Commits the cell being typed and settles a new row; false when a value was refused.
    bool prepareCommand();
    // The stored row a command works on: none on an empty list or on an untouched new row.
    std::optional<int> commandRow();
    void selectRow(int row);
    void openValuationPopup(const QModelIndex& index, QLineEdit* editor);

    Program& m_program;
    std::unique_ptr<editor::PropertyListModel> m_model;
    std::unique_ptr<editor::PropertyFooterModel> m_footerModel;
    std::unique_ptr<QMenu> m_valuationPopup;
    bool m_centred = false;
};

} // namespace ravnobor
