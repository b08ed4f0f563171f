// Moves through tables: by cell, and down by line using the table grid.
#include "documents/WordDocumentImpl.h"

#include <vector>

namespace ravnobor::documents {

using namespace wml;

namespace {

int intAttribute(xml_node element, int fallback) {
    pugi::xml_attribute val = element.attribute("w:val");
    return val ? val.as_int(fallback) : fallback;
}

// Left edges of the grid columns in twips (one unit per column when the grid has no widths).
std::vector<long> gridEdges(xml_node table) {
    std::vector<long> widths;
    bool allKnown = true;
    for (xml_node col : table.child("w:tblGrid").children("w:gridCol")) {
        const long w = col.attribute("w:w").as_int(0);
        allKnown = allKnown && w > 0;
        widths.push_back(w);
    }
    std::vector<long> edges{0};
    for (long w : widths)
        edges.push_back(edges.back() + (allKnown ? w : 1));
    return edges;
}

long edgeAt(const std::vector<long>& edges, int column) {
    if (column < int(edges.size()))
        return edges[size_t(column)];
    // Rows may claim more columns than the grid lists; extend it evenly.
    const long step = edges.size() > 1 ? edges.back() / long(edges.size() - 1) : 1;
    return edges.back() + step * (column - int(edges.size()) + 1);
}

struct Span {
    long left = 0;
    long right = 0;
};

Span spanOf(xml_node row, xml_node cell, const std::vector<long>& edges, xml_node* found = nullptr, long middle = -1) {
    int column = intAttribute(row.child("w:trPr").child("w:gridBefore"), 0);
    xml_node last;
    for (xml_node c = row.child("w:tc"); c; c = c.next_sibling("w:tc")) {
        const int span = std::max(1, intAttribute(c.child("w:tcPr").child("w:gridSpan"), 1));
        const Span s{edgeAt(edges, column), edgeAt(edges, column + span)};
        if (c == cell || (middle >= 0 && middle < s.right)) {
            if (found)
                *found = c;
            return s;
        }
        last = c;
        column += span;
    }
    if (found)
        *found = last;
    return {};
}

xml_node cellUnder(xml_node row, long middle, const std::vector<long>& edges) {
    xml_node found;
    spanOf(row, xml_node(), edges, &found, middle);
    return found;
}

xml_node lastCellOf(xml_node row) {
    for (xml_node c = lastElement(row); c; c = previousElement(c)) {
        if (is(c, "w:tc"))
            return c;
    }
    return {};
}

} // namespace

void WordDocument::goToFirstTable() {
    for (xml_node n = firstElement(d->body); n; n = nextElement(n)) {
        if (!is(n, "w:tbl"))
            continue;
        if (xml_node cell = n.child("w:tr").child("w:tc")) {
            d->placeAtStart(firstParagraphIn(cell) ? firstParagraphIn(cell) : cell.append_child("w:p"));
        }
        return;
    }
}

void WordDocument::Impl::moveDownFromCell(xml_node cell) {
    xml_node row = cell.parent();
    xml_node table = row.parent();
    if (xml_node nextRow = row.next_sibling("w:tr")) {
        const std::vector<long> edges = gridEdges(table);
        const Span span = spanOf(row, cell, edges);
        if (xml_node target = cellUnder(nextRow, (span.left + span.right) / 2, edges)) {
            select(target);
            selectedCell = xml_node();
            return;
        }
    }
    if (xml_node after = nextParagraph(table, body))
        placeAtStart(after);
}

void WordDocument::moveDown() {
    xml_node cell = d->currentCell();
    if (!cell) {
        if (xml_node next = nextParagraph(d->paragraph, d->body))
            d->placeAtStart(next);
        return;
    }
    // A cell of several paragraphs has several lines.
    if (!d->selectedCell) {
        xml_node next = nextElement(d->paragraph);
        if (is(next, "w:p") && next.parent() == cell) {
            d->placeAtStart(next);
            return;
        }
    }
    d->moveDownFromCell(cell);
}

void WordDocument::moveRightCell() {
    xml_node cell = d->currentCell();
    if (!cell)
        return;
    xml_node next = cell.next_sibling("w:tc");
    if (!next) {
        xml_node row = cell.parent();
        xml_node nextRow = row.next_sibling("w:tr");
        if (!nextRow)
            nextRow = d->appendEmptyRow(row);
        next = nextRow.child("w:tc");
    }
    if (next)
        d->select(next);
}

void WordDocument::moveLeftCell() {
    xml_node cell = d->currentCell();
    if (!cell)
        return;
    xml_node previous = cell.previous_sibling("w:tc");
    if (!previous) {
        if (xml_node previousRow = cell.parent().previous_sibling("w:tr"))
            previous = lastCellOf(previousRow);
    }
    d->select(previous ? previous : cell);
}

// A new last row with the formatting of the old last row: row, cell, paragraph and
// run properties (the first run's, kept on the paragraph mark), but no text.
xml_node WordDocument::Impl::appendEmptyRow(xml_node lastRow) {
    xml_node table = lastRow.parent();
    xml_node row = table.insert_copy_after(protoRow, lastRow);
    for (pugi::xml_attribute a : lastRow.attributes())
        row.append_attribute(a.name()) = a.value();
    if (xml_node trPr = lastRow.child("w:trPr")) {
        xml_node copy = row.append_copy(trPr);
        copy.remove_child("w:tblHeader"); // a repeated heading row stays the only one
    }
    for (xml_node cell = firstElement(lastRow); cell; cell = nextElement(cell)) {
        if (!is(cell, "w:tc"))
            continue;
        xml_node newCell = row.append_copy(protoCell);
        xml_node newParagraph = newCell.first_child();
        xml_node part = firstElement(cell);
        if (is(part, "w:tcPr")) {
            newCell.prepend_copy(part);
            part = nextElement(part);
        }
        xml_node oldParagraph = is(part, "w:p") ? part : firstParagraphIn(cell);
        xml_node child = firstElement(oldParagraph);
        xml_node format;
        if (is(child, "w:pPr")) {
            xml_node copy = newParagraph.append_copy(child);
            if ((format = child.child("w:rPr")))
                copy.remove_child("w:rPr");
            child = nextElement(child);
        }
        for (; child; child = nextElement(child)) {
            if (is(child, "w:r")) {
                format = runProperties(child);
                break;
            }
        }
        if (format) {
            xml_node mark = ensureMarkProperties(newParagraph);
            for (xml_node c = firstElement(format); c; c = nextElement(c))
                mark.append_copy(c);
        }
    }
    return row;
}

} // namespace ravnobor::documents
