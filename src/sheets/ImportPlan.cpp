#include "sheets/ImportPlan.h"

#include "sheets/ImportNumber.h"
#include "store/CaseWriter.h"
#include "store/Layout.h"

#include <QStringList>

namespace ravnobor::sheets {

namespace {

constexpr std::array<int, 3> PriceFields = {FieldPrice1, FieldPrice2, FieldAgreed};

QString cell(const QStringList& row, int column) {
    return column >= 0 && column < row.size() ? row[column] : QString();
}

bool rowIsEmpty(const QStringList& row) {
    for (const QString& text : row)
        if (!text.trimmed().isEmpty())
            return false;
    return true;
}

bool headingNames(const QString& heading, ImportField field, const QString& party1, const QString& party2) {
    const QString h = heading.simplified().toLower();
    const auto has = [&h](const char16_t* word) { return h.contains(QString::fromUtf16(word)); };
    const auto hasParty = [&h](const QString& name) {
        return !name.trimmed().isEmpty() && h.contains(name.simplified().toLower());
    };
    switch (field) {
    case FieldName:
        return has(u"наименование") || has(u"имущество") || has(u"название") || has(u"предмет");
    case FieldPrice1:
        return has(u"1 стороны") || has(u"цена 1") || hasParty(party1);
    case FieldPrice2:
        return has(u"2 стороны") || has(u"цена 2") || hasParty(party2);
    case FieldAgreed:
        return has(u"согласованн");
    case FieldValuation:
        return has(u"оценка");
    case FieldNotes:
        return has(u"заметки") || has(u"примечание");
    default:
        return false;
    }
}

bool holdsNumber(const QStringList& row) {
    for (const QString& text : row)
        if (!text.trimmed().isEmpty() && importNumber(text).problem == ImportedNumber::None)
            return true;
    return false;
}

} // namespace

QString fieldLabel(ImportField field) {
    switch (field) {
    case FieldName:
        return layout::PropertyColumnNames[layout::ColName];
    case FieldPrice1:
        return layout::PropertyColumnNames[layout::ColPrice1];
    case FieldPrice2:
        return layout::PropertyColumnNames[layout::ColPrice2];
    case FieldAgreed:
        return layout::PropertyColumnNames[layout::ColAgreedPrice];
    case FieldValuation:
        return layout::PropertyColumnNames[layout::ColValuation];
    default:
        return layout::PropertyColumnNames[layout::ColNotes];
    }
}

bool guessHeader(const Sheet& sheet) {
    if (sheet.rows.empty())
        return false;
    const QStringList& first = sheet.rows.front();
    for (const QString& text : first)
        for (int field = 0; field < FieldCount; ++field)
            if (headingNames(text, ImportField(field), {}, {}))
                return true;
    return sheet.rows.size() > 1 && !holdsNumber(first) && holdsNumber(sheet.rows[1]);
}

ImportMapping guessMapping(const Sheet& sheet, bool header, const QString& party1, const QString& party2) {
    ImportMapping mapping;
    mapping.header = header;
    if (!header || sheet.rows.empty())
        return mapping;
    const QStringList& headings = sheet.rows.front();
    std::vector<bool> taken(size_t(headings.size()), false);
    // Prices first: a heading "Цена 1 стороны Иванова" must not become the name.
    for (const int field : {FieldPrice1, FieldPrice2, FieldAgreed, FieldValuation, FieldNotes, FieldName}) {
        for (int column = 0; column < headings.size(); ++column) {
            if (taken[size_t(column)] || !headingNames(headings[column], ImportField(field), party1, party2))
                continue;
            mapping.column[size_t(field)] = column;
            taken[size_t(column)] = true;
            break;
        }
    }
    return mapping;
}

ImportPlan planImport(const Sheet& sheet, const ImportMapping& mapping) {
    ImportPlan plan;
    const auto& col = mapping.column;
    for (size_t r = mapping.header ? 1 : 0; r < sheet.rows.size(); ++r) {
        const QStringList& row = sheet.rows[r];
        if (rowIsEmpty(row))
            continue;
        ImportItem item;
        QStringList reasons;
        item.name = cell(row, col[FieldName]);
        if (item.name.trimmed().isEmpty())
            reasons << QStringLiteral("нет наименования");
        for (size_t p = 0; p < PriceFields.size(); ++p) {
            const QString text = cell(row, col[size_t(PriceFields[p])]);
            const ImportedNumber number = importNumber(text);
            const QString label = fieldLabel(ImportField(PriceFields[p]));
            if (number.problem == ImportedNumber::NotNumber)
                reasons << QStringLiteral("в поле «%1» не число: «%2»").arg(label, text);
            else if (number.problem == ImportedNumber::OutOfRange)
                reasons << QStringLiteral("в поле «%1» число больше 10^15 по модулю: «%2»").arg(label, text);
            item.prices[p] = number.value;
        }
        item.valuation = cell(row, col[FieldValuation]);
        item.notes = cell(row, col[FieldNotes]);
        if (reasons.isEmpty())
            plan.items.push_back(std::move(item));
        else
            plan.skipped.push_back({int(r) + 1, reasons.join(QStringLiteral("; "))});
    }
    return plan;
}

void writeImport(store::CaseWriter& writer, const std::vector<ImportItem>& items, const void* origin) {
    using store::CaseTable;
    const auto column = [&writer](int pos) { return writer.columnName(CaseTable::Property, pos); };
    const QString name = column(layout::ColName);
    const std::array<QString, 3> prices = {column(layout::ColPrice1), column(layout::ColPrice2),
                                           column(layout::ColAgreedPrice)};
    const QString valuation = column(layout::ColValuation);
    const QString notes = column(layout::ColNotes);
    std::vector<QString> allocations;
    for (int pos = layout::ColAlloc1; pos <= layout::ColAlloc2c; ++pos)
        allocations.push_back(column(pos));
    const auto textOrNull = [](const QString& text) { return text.isEmpty() ? QVariant() : QVariant(text); };

    QStringList columns{name};
    for (const QString& price : prices)
        columns << price;
    columns << valuation << notes;
    for (const QString& allocation : allocations)
        columns << allocation;
    std::vector<std::vector<QVariant>> rows;
    rows.reserve(items.size());
    for (const ImportItem& item : items) {
        std::vector<QVariant> row{item.name};
        row.insert(row.end(), item.prices.begin(), item.prices.end());
        row.push_back(textOrNull(item.valuation));
        row.push_back(textOrNull(item.notes));
        row.insert(row.end(), allocations.size(), QVariant(qint64(layout::Undistributed)));
        rows.push_back(std::move(row));
    }
    store::CaseWriter::Step step(writer, QStringLiteral("импорт (%1)").arg(items.size()), -1, origin);
    writer.insertRows(CaseTable::Property, columns, rows, origin);
    step.commit();
}

} // namespace ravnobor::sheets
