#pragma once

#include "split/ExactAmount.h"
#include "store/Money.h"
#include "store/Share.h"

#include <QString>
#include <QVariant>

#include <vector>

// What the documents print, gathered by the commands from the program's state.
namespace ravnobor::documents {

// One row of a board list as the board shows it.
struct BoardLine {
    QString name;
    QString price; // empty when the item has no price
};

struct DivisionReportData {
    QString description; // the case's description; a line under the title when not empty
    QString variantLine; // the line above the board, as shown
    QString party1Name;
    QString party2Name;
    QString currencySuffix;
    std::vector<BoardLine> party1Items; // the left list, in display order
    std::vector<BoardLine> party2Items; // the right list
    split::ExactAmount share1Total;     // exact: split items count with their parts
    split::ExactAmount share2Total;
    split::ExactAmount undistributedTotal;
    split::Share share; // party 1's share of the distributed part; equal unless the case sets one
    // The balance at a glance as a PNG of this size in pixels at 96 dots per inch; none when empty.
    QByteArray chartPng;
    int chartWidth = 0;
    int chartHeight = 0;
};

// One row of the property table, as stored.
struct PropertyListItem {
    QVariant name, price1, price2, agreedPrice, valuation, notes;
};

struct GeneralListData {
    QString description; // the case's description; a line under the title when not empty
    QString party1Name;
    QString party2Name;
    QString currencySuffix;
    std::vector<PropertyListItem> items;
};

struct PartyListData {
    QString partyName;
    QString currencySuffix;
    std::vector<BoardLine> items; // the party's list, in display order
    split::ExactAmount total;     // the list's sum, as the board keeps it
};

// The names of the documents, which the files take, and of their templates.
inline const QString DivisionReportName = QStringLiteral("Вариант раздела имущества");
inline const QString GeneralListName = QStringLiteral("Общий список имущества");
inline const QString Party1ListName = QStringLiteral("Список имущества стороны 1");
inline const QString Party2ListName = QStringLiteral("Список имущества стороны 2");
// The report's picture of the balance, in pixels at 96 dots per inch (about 16 by 2,4 cm).
inline constexpr int ReportChartWidth = 600;
inline constexpr int ReportChartHeight = 90;
inline const QString ReportTemplateFile = QStringLiteral("Отчет.dotx");
inline const QString ListTemplateFile = QStringLiteral("Список.dotx");

} // namespace ravnobor::documents
