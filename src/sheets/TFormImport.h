#pragma once

#include "sheets/ImportPlan.h"
#include "sheets/SheetData.h"

#include <QDialog>

#include <array>

class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class QTableView;

namespace ravnobor::sheets {

class SheetPreviewModel;

// "Импорт списка имущества": shows the rows of a table, lets the user say which column
// fills which field, and what will be added and skipped, before anything is written.
class TFormImport final : public QDialog {
    Q_OBJECT
public:
    // `chooseSheet` shows the sheet chooser (a workbook); text has one table.
    TFormImport(Workbook workbook, bool chooseSheet, const QString& party1, const QString& party2,
                QWidget* parent = nullptr);
    ~TFormImport() override;

    // What "Импортировать" will add, as the dialog now stands.
    const ImportPlan& plan() const { return m_plan; }

    QComboBox* ComboSheet = nullptr;
    QCheckBox* CheckHeader = nullptr;
    QTableView* TableImport = nullptr;
    std::array<QComboBox*, FieldCount> fieldCombos{}; // ComboName, ComboPrice1, ...
    QLabel* LabelCount = nullptr;
    QListWidget* ListSkipped = nullptr;
    QPushButton* ButtonImport = nullptr;
    QPushButton* ButtonCancel = nullptr;

    static constexpr int PreviewRows = 200;
    static constexpr int ShownSkipped = 1000;

private:
    void buildWindow();
    QWidget* buildFieldCombos();
    void sheetChosen();
    void fillFieldCombos(const ImportMapping& mapping);
    void replan();
    const Sheet& sheet() const;
    ImportMapping mapping() const;

    Workbook m_workbook;
    QString m_party1;
    QString m_party2;
    SheetPreviewModel* m_preview = nullptr;
    ImportPlan m_plan;
    bool m_filling = false;
};

// "A", "B", ..., "Z", "AA": a column as spreadsheets name it.
QString columnLetters(int column);

} // namespace ravnobor::sheets
