#include "sheets/XlsxReader.h"

#include "sheets/SafeZip.h"
#include "sheets/SheetBuilder.h"
#include "sheets/XmlPart.h"

#include <QDateTime>
#include <QLocale>

#include <cmath>
#include <cstdlib>
#include <map>
#include <set>
#include <vector>

namespace ravnobor::sheets {

namespace {

QString textOf(const pugi::xml_node node) {
    return QString::fromUtf8(node.text().get());
}

// The text of a string item: its <t>, or the <t> of each run; phonetic runs are not text.
QString stringItemText(const pugi::xml_node item) {
    if (const pugi::xml_node t = childElement(item, "t"))
        return textOf(t);
    QString text;
    for (const pugi::xml_node run : item.children())
        if (isElement(run, "r"))
            text += textOf(childElement(run, "t"));
    return text;
}

std::vector<QString> sharedStrings(const SafeZip& zip) {
    std::vector<QString> strings;
    if (!zip.contains("xl/sharedStrings.xml"))
        return strings;
    const XmlPart part(zip, "xl/sharedStrings.xml");
    const pugi::xml_node root = part.doc().document_element();
    // The declared count is never used to reserve memory, only to refuse a file that
    // claims more strings than any table the program reads can hold.
    const auto tooMany = [&zip] { zip.fail(QStringLiteral("в таблице строк слишком много строк")); };
    if (root.attribute("count").as_ullong() > MaxCells || root.attribute("uniqueCount").as_ullong() > MaxCells)
        tooMany();
    for (const pugi::xml_node item : root.children()) {
        if (!isElement(item, "si"))
            continue;
        if (strings.size() >= size_t(MaxCells))
            tooMany();
        strings.push_back(stringItemText(item));
    }
    return strings;
}

bool isDateFormatCode(const QString& code) {
    bool quoted = false;
    int bracket = 0;
    for (const QChar c : code) {
        if (c == u'"')
            quoted = !quoted;
        else if (!quoted && c == u'[')
            ++bracket;
        else if (!quoted && c == u']')
            bracket = std::max(0, bracket - 1);
        else if (!quoted && bracket == 0 && QStringView(u"dmyhsДМГдмг").contains(c))
            return true;
    }
    return false;
}

bool isBuiltInDateFormat(int id) {
    return (id >= 14 && id <= 22) || (id >= 27 && id <= 36) || (id >= 45 && id <= 47) || (id >= 50 && id <= 58);
}

// For each cell style, whether its number format shows a date or a time.
std::vector<bool> dateStyles(const SafeZip& zip) {
    std::vector<bool> dates;
    if (!zip.contains("xl/styles.xml"))
        return dates;
    const XmlPart part(zip, "xl/styles.xml");
    const pugi::xml_node root = part.doc().document_element();
    std::set<int> customDates;
    for (const pugi::xml_node format : childElement(root, "numFmts").children())
        if (isElement(format, "numFmt") && isDateFormatCode(QString::fromUtf8(format.attribute("formatCode").value())))
            customDates.insert(format.attribute("numFmtId").as_int());
    for (const pugi::xml_node xf : childElement(root, "cellXfs").children()) {
        if (!isElement(xf, "xf"))
            continue;
        const int id = xf.attribute("numFmtId").as_int();
        dates.push_back(isBuiltInDateFormat(id) || customDates.count(id) > 0);
    }
    return dates;
}

QString dateText(const QString& plain, bool date1904) {
    bool ok = false;
    const double serial = plain.toDouble(&ok);
    if (!ok || serial < 0 || serial > 2958465)
        return plain;
    const QDate epoch = date1904 ? QDate(1904, 1, 1) : QDate(1899, 12, 30);
    const double whole = std::floor(serial);
    const int seconds = int(std::lround((serial - whole) * 86400.0));
    const QDateTime moment = QDateTime(epoch.addDays(qint64(whole)), QTime(0, 0)).addSecs(seconds);
    if (whole == 0 && seconds > 0)
        return moment.time().toString(QStringLiteral("HH:mm:ss"));
    if (seconds == 0)
        return moment.date().toString(QStringLiteral("dd.MM.yyyy"));
    return moment.toString(QStringLiteral("dd.MM.yyyy HH:mm:ss"));
}

// "BC12" as column 54 and row 11 (from 0); false when it is no cell reference.
bool parseReference(const char* ref, qint64& row, qint64& column) {
    qint64 col = 0;
    const char* p = ref;
    while (*p >= 'A' && *p <= 'Z') {
        col = col * 26 + (*p - 'A' + 1);
        if (col > MaxColumns + 1)
            col = MaxColumns + 1;
        ++p;
    }
    if (p == ref || *p < '0' || *p > '9')
        return false;
    qint64 r = 0;
    for (; *p >= '0' && *p <= '9'; ++p)
        r = std::min<qint64>(r * 10 + (*p - '0'), qint64(MaxRows) + 1);
    if (*p != 0 || r == 0)
        return false;
    row = r - 1;
    column = col - 1;
    return true;
}

struct WorkbookContext {
    std::vector<QString> strings;
    std::vector<bool> dates;
    bool date1904 = false;
};

QString cellText(const pugi::xml_node cell, const WorkbookContext& context) {
    const std::string_view type = cell.attribute("t").value();
    if (type == "inlineStr")
        return stringItemText(childElement(cell, "is"));
    const pugi::xml_node value = childElement(cell, "v");
    if (!value)
        return {}; // a formula without a cached value, or an empty styled cell
    const char* raw = value.text().get();
    if (type == "s") {
        const unsigned long long index = std::strtoull(raw, nullptr, 10);
        return index < context.strings.size() ? context.strings[size_t(index)] : QString();
    }
    if (type == "str" || type == "e" || type == "b" || type == "d")
        return QString::fromUtf8(raw);
    const QString plain = plainNumber(raw);
    const unsigned style = cell.attribute("s").as_uint();
    if (style < context.dates.size() && context.dates[style])
        return dateText(plain, context.date1904);
    return plain;
}

Sheet readSheet(const SafeZip& zip, const std::string& partName, const QString& name, const WorkbookContext& context) {
    const XmlPart part(zip, partName);
    SheetBuilder builder(name);
    const pugi::xml_node data = childElement(part.doc().document_element(), "sheetData");
    qint64 rowIndex = -1;
    for (const pugi::xml_node row : data.children()) {
        if (!isElement(row, "row"))
            continue;
        const qint64 declared = row.attribute("r").as_llong(0);
        rowIndex = declared > 0 ? std::min<qint64>(declared - 1, MaxRows) : rowIndex + 1;
        qint64 column = -1;
        for (const pugi::xml_node cell : row.children()) {
            if (!isElement(cell, "c"))
                continue;
            qint64 refRow = 0;
            qint64 refColumn = 0;
            if (parseReference(cell.attribute("r").value(), refRow, refColumn))
                column = refColumn;
            else
                ++column;
            builder.set(rowIndex, column, cellText(cell, context));
        }
    }
    return builder.take();
}

// "worksheets/sheet1.xml" relative to xl/, or "/xl/worksheets/sheet1.xml" from the root.
std::string partPath(const std::string& target) {
    if (!target.empty() && target.front() == '/')
        return target.substr(1);
    return "xl/" + target;
}

} // namespace

QString plainNumber(const char* text) {
    char* end = nullptr;
    const double value = std::strtod(text, &end);
    if (end == text || *end != 0 || !std::isfinite(value))
        return QString::fromUtf8(text);
    return QString::number(value, 'f', QLocale::FloatingPointShortest);
}

Workbook readXlsx(const QString& path) {
    const SafeZip zip(path);
    if (!zip.contains("xl/workbook.xml"))
        zip.fail(QStringLiteral("это не книга Excel (.xlsx)"));
    const XmlPart book(zip, "xl/workbook.xml");
    std::map<std::string, std::string> targets;
    if (zip.contains("xl/_rels/workbook.xml.rels")) {
        const XmlPart rels(zip, "xl/_rels/workbook.xml.rels");
        for (const pugi::xml_node rel : rels.doc().document_element().children())
            if (isElement(rel, "Relationship") && std::string_view(rel.attribute("TargetMode").value()) != "External")
                targets[rel.attribute("Id").value()] = rel.attribute("Target").value();
    }
    WorkbookContext context;
    context.strings = sharedStrings(zip);
    context.dates = dateStyles(zip);
    const pugi::xml_node root = book.doc().document_element();
    context.date1904 = childElement(root, "workbookPr").attribute("date1904").as_bool();

    Workbook workbook;
    for (const pugi::xml_node sheet : childElement(root, "sheets").children()) {
        if (!isElement(sheet, "sheet"))
            continue;
        const auto target = targets.find(attributeOf(sheet, "id").value());
        if (target == targets.end())
            continue;
        const std::string part = partPath(target->second);
        if (!zip.contains(part))
            continue; // a chart sheet or a missing part holds no cells
        workbook.sheets.push_back(readSheet(zip, part, QString::fromUtf8(sheet.attribute("name").value()), context));
    }
    if (workbook.sheets.empty())
        zip.fail(QStringLiteral("в книге нет ни одного листа"));
    return workbook;
}

} // namespace ravnobor::sheets
