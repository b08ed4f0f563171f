#include "sheets/OdsReader.h"

#include "sheets/SafeZip.h"
#include "sheets/SheetBuilder.h"
#include "sheets/XlsxReader.h"
#include "sheets/XmlPart.h"

#include <algorithm>

namespace ravnobor::sheets {

namespace {

// Deeper nesting is no spreadsheet's; stopping there keeps a hostile file from exhausting the stack.
constexpr int MaxDepth = 32;

// The text of a paragraph: spans and links by their text, <text:s/> as blanks, tabs and line breaks.
void appendText(const pugi::xml_node node, QString& text, int depth = 0) {
    if (depth > MaxDepth)
        return;
    for (const pugi::xml_node child : node.children()) {
        if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata) {
            text += QString::fromUtf8(child.value());
        } else if (isElement(child, "s")) {
            const int count = std::clamp(attributeOf(child, "c").as_int(1), 1, 1000);
            text += QString(count, u' ');
        } else if (isElement(child, "tab")) {
            text += u'\t';
        } else if (isElement(child, "line-break")) {
            text += u'\n';
        } else if (child.type() == pugi::node_element && !isElement(child, "annotation")) {
            appendText(child, text, depth + 1);
        }
    }
}

QString cellText(const pugi::xml_node cell) {
    const std::string_view type = attributeOf(cell, "value-type").value();
    if (type.empty())
        return {}; // an empty cell, or a formula without a stored value
    if (type == "float" || type == "currency" || type == "percentage")
        return plainNumber(attributeOf(cell, "value").value());
    QString text;
    bool first = true;
    for (const pugi::xml_node paragraph : cell.children()) {
        if (!isElement(paragraph, "p"))
            continue;
        if (!first)
            text += u'\n';
        appendText(paragraph, text);
        first = false;
    }
    return text;
}

qint64 repeatCount(const pugi::xml_node node, const char* attribute) {
    return std::clamp<qint64>(attributeOf(node, attribute).as_llong(1), 1, qint64(MaxRows) + 1);
}

class TableReader {
public:
    explicit TableReader(const QString& name) : m_builder(name) {}

    void readRows(const pugi::xml_node parent, int depth = 0) {
        if (depth > MaxDepth)
            return;
        for (const pugi::xml_node node : parent.children()) {
            if (isElement(node, "table-row"))
                readRow(node);
            else if (isElement(node, "table-header-rows") || isElement(node, "table-row-group") ||
                     isElement(node, "table-rows"))
                readRows(node, depth + 1);
        }
    }
    Sheet take() { return m_builder.take(); }

private:
    void readRow(const pugi::xml_node row) {
        const qint64 repeat = repeatCount(row, "number-rows-repeated");
        qint64 column = 0;
        for (const pugi::xml_node cell : row.children()) {
            if (!isElement(cell, "table-cell") && !isElement(cell, "covered-table-cell"))
                continue;
            const qint64 columns = std::min<qint64>(repeatCount(cell, "number-columns-repeated"), MaxColumns + 1);
            const QString text = cellText(cell);
            if (!text.isEmpty()) {
                if (repeat * columns > MaxCells)
                    throw Error(QStringLiteral("В таблице слишком много ячеек: такую таблицу программа не читает"));
                for (qint64 r = 0; r < repeat; ++r)
                    for (qint64 c = 0; c < columns; ++c)
                        m_builder.set(m_row + r, column + c, text);
            }
            column += columns;
        }
        m_row = std::min<qint64>(m_row + repeat, qint64(MaxRows) + 1);
    }

    SheetBuilder m_builder;
    qint64 m_row = 0;
};

} // namespace

Workbook readOds(const QString& path) {
    const SafeZip zip(path);
    if (zip.contains("mimetype") &&
        zip.read("mimetype").trimmed() != QByteArrayLiteral("application/vnd.oasis.opendocument.spreadsheet"))
        zip.fail(QStringLiteral("это не таблица OpenDocument (.ods)"));
    if (!zip.contains("content.xml"))
        zip.fail(QStringLiteral("это не таблица OpenDocument (.ods)"));
    const XmlPart content(zip, "content.xml");
    const pugi::xml_node spreadsheet =
        childElement(childElement(content.doc().document_element(), "body"), "spreadsheet");
    Workbook workbook;
    for (const pugi::xml_node table : spreadsheet.children()) {
        if (!isElement(table, "table"))
            continue;
        TableReader reader(QString::fromUtf8(attributeOf(table, "name").value()));
        reader.readRows(table);
        workbook.sheets.push_back(reader.take());
    }
    if (workbook.sheets.empty())
        zip.fail(QStringLiteral("в файле нет ни одной таблицы"));
    return workbook;
}

} // namespace ravnobor::sheets
