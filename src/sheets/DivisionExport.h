#pragma once

#include "store/Money.h"
#include "store/Share.h"

#include <QLocale>
#include <QString>
#include <QVariant>

#include <array>
#include <optional>
#include <vector>

namespace ravnobor::store {
class Database;
}

// The property list and its division as a spreadsheet: an .xlsx book with the sheets
// "Имущество" and "Итоги", or the "Имущество" sheet as CSV text.
namespace ravnobor::sheets {

struct ExportItem {
    QString name;
    std::array<QVariant, 3> prices; // as stored; null when empty
    QString valuation;
    QString notes;
    std::array<int, 2> tags{}; // the allocation tag in each division variant
    // An item split between the parties in a variant: party 1's share there.
    std::array<std::optional<Share>, 2> shares;
};

struct ExportCase {
    std::vector<ExportItem> items;
    std::array<QString, 12> headings; // the property list grid's headings, "|" between levels
    QString party1;
    QString party2;
    QString currencySuffix;
    Share share;
};

// Every item of the case, in table order. A price that is no number fails with an Error naming the item.
std::vector<ExportItem> readExportItems(store::Database& db);

// The headings of the "Имущество" sheet: "№", the grid's headings of name, prices,
// valuation and notes (levels joined by a blank), "Вариант 1", "Вариант 2".
QStringList propertyHeadings(const ExportCase& data);
// Who receives the item in a variant: a party's name, or "не распределено".
QString receiverText(const ExportCase& data, const ExportItem& item, int variant);

// One row of the "Итоги" sheet: the amounts of the totals panel for one variant and price basis.
struct TotalsRow {
    QString variant;
    QString basis;
    std::array<Money, 5> sums; // total, distributed, undistributed, party 1's share, party 2's share
    QString targetCaption;
    QString target;
    QString party1Line;
    QString party2Line;
};
std::vector<TotalsRow> totalsRows(const ExportCase& data, const QLocale& locale = QLocale());

// Written through a temporary file beside the target and a rename, so a failure leaves
// any earlier file whole. Errors carry a Russian message naming the file.
void exportXlsx(const ExportCase& data, const QString& path, const QLocale& locale = QLocale());
void exportCsv(const ExportCase& data, const QString& path, const QLocale& locale = QLocale());
// The CSV text: UTF-8 with a byte order mark, ";" when the decimal separator is a comma, else ",".
QByteArray csvText(const ExportCase& data, const QLocale& locale = QLocale());

} // namespace ravnobor::sheets
