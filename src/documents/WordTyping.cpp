// Typing at the insertion point: text, paragraphs, backspace and bold.
#include "documents/WordDocumentImpl.h"

#include <vector>

namespace ravnobor::documents {

using namespace wml;

xml_node WordDocument::Impl::formatSource() const {
    if (useKeptFormat)
        return keptFormat.first_child();
    // The character before the insertion point, else the one after it, else the paragraph mark.
    for (xml_node n = before ? previousElement(before) : lastElement(paragraph); n && !is(n, "w:pPr");
         n = previousElement(n)) {
        if (is(n, "w:r"))
            return runProperties(n);
    }
    if (is(before, "w:r"))
        return runProperties(before);
    return markProperties(paragraph);
}

xml_node WordDocument::Impl::insertTypedRun() {
    const xml_node format = formatSource();
    xml_node run = before ? paragraph.insert_copy_before(protoRun, before) : paragraph.append_copy(protoRun);
    copyRunProperties(format, run);
    if (pendingBold)
        setBold(ensureRunProperties(run), *pendingBold);
    return run;
}

void WordDocument::typeText(const QString& text) {
    d->settleSelection(m_replaceSelection);
    const QString clean = cleanText(text);
    if (!clean.contains(u'\r')) {
        if (!clean.isEmpty())
            appendContent(d->insertTypedRun(), clean, d->protoText);
        d->useKeptFormat = false;
        return;
    }
    qsizetype start = 0;
    while (start <= clean.size()) {
        qsizetype end = clean.indexOf(u'\r', start);
        if (end < 0)
            end = clean.size();
        if (end > start)
            appendContent(d->insertTypedRun(), clean.mid(start, end - start), d->protoText);
        if (end == clean.size())
            break;
        typeParagraph(); // a lone CR ends the paragraph, as typing Enter does
        start = end + 1;
    }
    d->useKeptFormat = false;
}

void WordDocument::moveToParagraphEnd() {
    d->settleSelection(false);
    const std::optional<bool> bold = d->pendingBold;
    d->before = xml_node();
    d->pendingBold = bold;
}

void WordDocument::typeParagraph() {
    d->settleSelection(m_replaceSelection);
    xml_node old = d->paragraph;
    xml_node fresh = old.parent().insert_child_after("w:p", old);
    if (xml_node pPr = old.child("w:pPr")) {
        fresh.append_copy(pPr);
        // A section ends with its last paragraph, which is now the new one.
        pPr.remove_child("w:sectPr");
    }
    for (xml_node n = d->before; n;) {
        const xml_node next = n.next_sibling();
        fresh.append_move(n);
        n = next;
    }
    const std::optional<bool> bold = d->pendingBold;
    d->placeAtStart(fresh);
    d->pendingBold = bold;
}

bool WordDocument::Impl::deleteLastCharacter(xml_node run) {
    for (xml_node c = lastElement(run); c && !is(c, "w:rPr");) {
        const xml_node previous = previousElement(c);
        const int length = contentLength(c);
        if (length == 0) {
            c = previous;
            continue;
        }
        if (is(c, "w:t") && length > 1) {
            QString text = textOf(c);
            const bool pair =
                text.size() >= 2 && text.back().isLowSurrogate() && text.at(text.size() - 2).isHighSurrogate();
            text.chop(pair ? 2 : 1);
            setText(c, text);
        } else {
            removeNode(c);
        }
        if (!firstContent(run))
            removeNode(run);
        return true;
    }
    return false;
}

void WordDocument::typeBackspace() {
    if (d->selectedCell) {
        d->settleSelection(true);
        return;
    }
    for (xml_node n = d->before ? previousElement(d->before) : lastElement(d->paragraph); n && !is(n, "w:pPr");) {
        const xml_node previous = previousElement(n);
        if (is(n, "w:r") && d->deleteLastCharacter(n))
            return;
        n = previous;
    }
    // At the start of a paragraph: join it to the previous one of the same cell or body.
    xml_node previousParagraph = previousElement(d->paragraph);
    if (!is(previousParagraph, "w:p"))
        return;
    xml_node current = d->paragraph;
    xml_node firstMoved = paragraphStart(current);
    for (xml_node n = firstMoved; n;) {
        const xml_node next = n.next_sibling();
        previousParagraph.append_move(n);
        n = next;
    }
    if (xml_node sectPr = current.child("w:pPr").child("w:sectPr")) {
        xml_node pPr = previousParagraph.child("w:pPr");
        if (!pPr)
            pPr = previousParagraph.prepend_child("w:pPr");
        pPr.append_move(sectPr);
    }
    const std::optional<bool> bold = d->pendingBold;
    d->removeNode(current);
    d->paragraph = previousParagraph;
    d->before = firstMoved;
    d->pendingBold = bold;
}

void WordDocument::toggleBold() {
    if (xml_node cell = d->selectedCell) {
        std::vector<xml_node> runs;
        std::vector<xml_node> paragraphs;
        struct Collect final : pugi::xml_tree_walker {
            std::vector<xml_node>* runs;
            std::vector<xml_node>* paragraphs;
            bool for_each(xml_node& n) override {
                if (is(n, "w:r"))
                    runs->push_back(n);
                else if (is(n, "w:p"))
                    paragraphs->push_back(n);
                return true;
            }
        } collect;
        collect.runs = &runs;
        collect.paragraphs = &paragraphs;
        cell.traverse(collect);
        bool allBold = runs.empty() ? isBold(markProperties(d->paragraph)) : true;
        for (xml_node run : runs)
            allBold = allBold && isBold(runProperties(run));
        const bool bold = !allBold;
        for (xml_node run : runs)
            setBold(ensureRunProperties(run), bold);
        for (xml_node p : paragraphs)
            setBold(ensureMarkProperties(p), bold);
        d->pendingBold = bold;
        return;
    }
    const bool current = d->pendingBold ? *d->pendingBold : isBold(d->formatSource());
    d->pendingBold = !current;
}

namespace {

// The width between the margins of the body's section, in twentieths of a point.
int textWidth(xml_node body) {
    constexpr int A4WithUsualMargins = 9355;
    const xml_node section = body.child("w:sectPr");
    const int page = section.child("w:pgSz").attribute("w:w").as_int();
    const xml_node margins = section.child("w:pgMar");
    const int width = page - margins.attribute("w:left").as_int() - margins.attribute("w:right").as_int();
    return page > 0 && width > 0 ? width : A4WithUsualMargins;
}

} // namespace

void WordDocument::setRightTabStopWithDots() {
    d->settleSelection(m_replaceSelection);
    xml_node pPr = d->paragraph.child("w:pPr");
    if (!pPr)
        pPr = d->paragraph.prepend_child("w:pPr");
    pPr.remove_child("w:tabs");
    // The schema's order: the style and the numbering and borders come before the tabs.
    xml_node after;
    for (const char* name : {"w:pStyle", "w:keepNext", "w:keepLines", "w:pageBreakBefore", "w:framePr",
                             "w:widowControl", "w:numPr", "w:suppressLineNumbers", "w:pBdr", "w:shd"})
        if (xml_node n = pPr.child(name))
            after = n;
    xml_node tabs = after ? pPr.insert_child_after("w:tabs", after) : pPr.prepend_child("w:tabs");
    xml_node tab = tabs.append_child("w:tab");
    tab.append_attribute("w:val") = "right";
    tab.append_attribute("w:leader") = "dot";
    tab.append_attribute("w:pos") = textWidth(d->body);
}

} // namespace ravnobor::documents
