#pragma once

#include <QString>

#include <array>

// The layout of a case database: the two tables, the columns the program reaches
// by position and the encoding of their values. Nothing else in the program names
// a table or a column by its text.
namespace ravnobor::layout {

inline const QString PropertyTable = QStringLiteral("Таблица");
inline const QString SettingsTable = QStringLiteral("Поля");

// Positions in a select of every column of the property table.
enum PropertyColumn : int {
    ColKey = 0,         // Код, INTEGER PRIMARY KEY
    ColName = 1,        // Наименование
    ColNotes = 2,       // Заметки
    ColPrice1 = 3,      // Цена 1
    ColPrice2 = 4,      // Цена 2
    ColAgreedPrice = 5, // Согласованная цена
    ColValuation = 6,   // Оценка
    ColAlloc1 = 7,      // 1_ц1
    ColAlloc1b = 8,     // 1_ц2
    ColAlloc1c = 9,     // 1_цc (Latin c)
    ColAlloc2 = 10,     // 2_ц1
    ColAlloc2b = 11,    // 2_ц2
    ColAlloc2c = 12,    // 2_цс (Cyrillic с)
    PropertyColumnCount = 13
};

inline const std::array<QString, PropertyColumnCount> PropertyColumnNames = {
    QStringLiteral("Код"),    QStringLiteral("Наименование"), QStringLiteral("Заметки"),
    QStringLiteral("Цена 1"), QStringLiteral("Цена 2"),       QStringLiteral("Согласованная цена"),
    QStringLiteral("Оценка"), QStringLiteral("1_ц1"),         QStringLiteral("1_ц2"),
    QStringLiteral("1_цc"),   QStringLiteral("2_ц1"),         QStringLiteral("2_ц2"),
    QStringLiteral("2_цс"),
};

inline constexpr bool isPriceColumn(int pos) {
    return pos >= ColPrice1 && pos <= ColAgreedPrice;
}
inline constexpr bool isAllocationColumn(int pos) {
    return pos >= ColAlloc1 && pos <= ColAlloc2c;
}

// Allocation encoding: the tag of the board column that shows the item.
enum Allocation : int { ToParty1 = 1, Undistributed = 0, ToParty2 = -1 };

inline constexpr int allocationColumn(int divisionVariant) {
    return ColAlloc1 + 3 * divisionVariant;
}
inline constexpr int priceColumn(int priceBasis) {
    return ColPrice1 + priceBasis;
}

// Party 1's share of an item split between the parties, as typed, one column per
// division variant after the columns above. Older cases gain them at load. A split
// item's allocation holds 0, so a reader that knows nothing of shares sees it undistributed.
inline const std::array<QString, 2> ItemShareColumnNames = {QStringLiteral("1_доля"), QStringLiteral("2_доля")};
inline const QString& itemShareColumn(int divisionVariant) {
    return ItemShareColumnNames[size_t(divisionVariant)];
}

// Read by sign; an empty value counts as undistributed.
inline constexpr int allocationTag(qint64 stored) {
    return stored > 0 ? ToParty1 : (stored < 0 ? ToParty2 : Undistributed);
}

// Settings table: key at 0, the twelve grid headings at 1..12, then the named columns.
inline constexpr int SettingsKey = 0;
inline constexpr int FirstHeading = 1;
inline constexpr int HeadingCount = 12;

inline const QString Legal1 = QStringLiteral("Юр_Л1");
inline const QString Surname1 = QStringLiteral("Фамилия 1");
inline const QString FirstName1 = QStringLiteral("Имя 1");
inline const QString Patronymic1 = QStringLiteral("Отчество 1");
inline const QString Entity1 = QStringLiteral("Юр_Лицо 1");
inline const QString Address1 = QStringLiteral("Адрес 1");
inline const QString Legal2 = QStringLiteral("Юр_Л2");
inline const QString Surname2 = QStringLiteral("Фамилия 2");
inline const QString FirstName2 = QStringLiteral("Имя 2");
inline const QString Patronymic2 = QStringLiteral("Отчество 2");
inline const QString Entity2 = QStringLiteral("Юр_Лицо 2");
inline const QString Address2 = QStringLiteral("Адрес 2");
inline const QString Description = QStringLiteral("Наименование_Полное");

inline const std::array<QString, 13> SettingsNamedColumns = {Legal1,   Surname1, FirstName1, Patronymic1, Entity1,
                                                             Address1, Legal2,   Surname2,   FirstName2,  Patronymic2,
                                                             Entity2,  Address2, Description};

// The design headings of the property-list grid, in grid order.
inline const std::array<QString, HeadingCount> DesignHeadings = {
    QStringLiteral("Наименование"),   QStringLiteral("Цена|1 стороны"),
    QStringLiteral("Цена|2 стороны"), QStringLiteral("Цена|Согласованная"),
    QStringLiteral("Оценка"),         QStringLiteral("1_ц1"),
    QStringLiteral("1_ц2"),           QStringLiteral("1_цc"),
    QStringLiteral("2_с1ц1"),         QStringLiteral("2_ц2"),
    QStringLiteral("2_цс"),           QStringLiteral("Заметки")};

// Longest texts the editors accept while typing.
inline constexpr int NameLength = 100;     // item names, surnames, first names, patronymics, valuation
inline constexpr int LongTextLength = 255; // notes, description, entity names, addresses, headings

// The longest text the parties window accepts while typing into a column of the settings table.
inline int settingsTextLength(const QString& column) {
    for (const QString* name : {&Surname1, &FirstName1, &Patronymic1, &Surname2, &FirstName2, &Patronymic2})
        if (column == *name)
            return NameLength;
    return LongTextLength;
}

// Prices are bounded so exact sums never overflow and no float artefact can reach a cent.
inline constexpr double PriceLimit = 1e15;

} // namespace ravnobor::layout
