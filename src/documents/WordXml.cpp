#include "documents/WordXml.h"

#include <algorithm>

namespace ravnobor::documents::wml {

xml_node firstElement(xml_node parent) {
    xml_node child = parent.first_child();
    while (child && child.type() != pugi::node_element)
        child = child.next_sibling();
    return child;
}

xml_node nextElement(xml_node node) {
    xml_node next = node.next_sibling();
    while (next && next.type() != pugi::node_element)
        next = next.next_sibling();
    return next;
}

xml_node previousElement(xml_node node) {
    xml_node previous = node.previous_sibling();
    while (previous && previous.type() != pugi::node_element)
        previous = previous.previous_sibling();
    return previous;
}

xml_node lastElement(xml_node parent) {
    xml_node child = parent.last_child();
    while (child && child.type() != pugi::node_element)
        child = child.previous_sibling();
    return child;
}

namespace {

bool isXmlCharacter(char32_t c) {
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD) ||
           (c >= 0x10000 && c <= 0x10FFFF);
}

} // namespace

QString cleanText(const QString& text) {
    const bool plain = std::all_of(text.begin(), text.end(), [](QChar c) {
        return (c.unicode() >= 0x20 && c.unicode() < 0xD800) || c == u'\t' || c == u'\n' ||
               (c.unicode() >= 0xE000 && c.unicode() < 0xFFFE);
    });
    if (plain)
        return text; // the usual case, without a copy
    QString clean;
    clean.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            clean.append(c).append(text.at(i + 1));
            ++i;
            continue;
        }
        if (c.isSurrogate() || !isXmlCharacter(c.unicode()))
            continue;
        if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n')
            continue; // the LF that follows stands for the pair
        clean.append(c);
    }
    return clean;
}

QString textOf(xml_node t) {
    return QString::fromUtf8(t.text().get());
}

void setText(xml_node t, const QString& text) {
    t.text().set(text.toUtf8().constData());
    const bool needsPreserve = !text.isEmpty() && (text.front().isSpace() || text.back().isSpace());
    if (needsPreserve && !t.attribute("xml:space"))
        t.append_attribute("xml:space") = "preserve";
}

void appendContent(xml_node run, const QString& text, xml_node textPrototype) {
    const auto newText = [&] { return textPrototype ? run.append_copy(textPrototype) : run.append_child("w:t"); };
    const auto isBreak = [](QChar c) { return c == u'\t' || c == u'\n' || c == u'\r'; };
    if (std::none_of(text.begin(), text.end(), isBreak)) {
        if (!text.isEmpty())
            setText(newText(), text); // the usual case: one piece of text
        return;
    }
    qsizetype start = 0;
    const auto flush = [&](qsizetype end) {
        if (end > start)
            setText(newText(), text.mid(start, end - start));
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c != u'\t' && c != u'\n' && c != u'\r')
            continue;
        flush(i);
        run.append_child(c == u'\t' ? "w:tab" : "w:br");
        start = i + 1;
    }
    flush(text.size());
}

xml_node firstContent(xml_node run) {
    xml_node child = firstElement(run);
    if (is(child, "w:rPr"))
        child = nextElement(child);
    return child;
}

int contentLength(xml_node element, QString* appendTo) {
    QString read;
    if (is(element, "w:t"))
        read = textOf(element);
    else if (is(element, "w:tab"))
        read = QStringLiteral("\t");
    else if (is(element, "w:br") || is(element, "w:cr"))
        read = QStringLiteral("\n");
    else if (is(element, "w:noBreakHyphen"))
        read = QChar(0x2011);
    else if (is(element, "w:softHyphen"))
        read = QChar(0x00AD);
    else if (!is(element, "w:lastRenderedPageBreak"))
        read = Barrier; // drawings, fields, symbols: nothing a placeholder can span
    if (appendTo)
        appendTo->append(read);
    return int(read.size());
}

int runLength(xml_node run, QString* appendTo) {
    int length = 0;
    for (xml_node c = firstContent(run); c; c = nextElement(c))
        length += contentLength(c, appendTo);
    return length;
}

xml_node splitRun(xml_node run, int at) {
    xml_node right = run.parent().insert_child_after("w:r", run);
    for (pugi::xml_attribute a : run.attributes())
        right.append_attribute(a.name()) = a.value();
    if (xml_node properties = runProperties(run))
        right.append_copy(properties);
    int position = 0;
    xml_node element = firstContent(run);
    while (element) {
        const xml_node next = nextElement(element);
        const int length = contentLength(element);
        if (position >= at) {
            right.append_move(element);
        } else if (position + length > at) {
            const QString text = textOf(element);
            setText(element, text.left(at - position));
            setText(right.append_child("w:t"), text.mid(at - position));
        }
        position += length;
        element = next;
    }
    return right;
}

xml_node runProperties(xml_node run) {
    xml_node first = firstElement(run);
    return is(first, "w:rPr") ? first : xml_node();
}

xml_node ensureRunProperties(xml_node run) {
    if (xml_node properties = runProperties(run))
        return properties;
    return run.prepend_child("w:rPr");
}

xml_node markProperties(xml_node paragraph) {
    return paragraph.child("w:pPr").child("w:rPr");
}

xml_node ensureMarkProperties(xml_node paragraph) {
    xml_node pPr = paragraph.child("w:pPr");
    if (!pPr)
        pPr = paragraph.prepend_child("w:pPr");
    if (xml_node rPr = pPr.child("w:rPr"))
        return rPr;
    // The mark's properties come before the section and the revision record.
    for (xml_node c = firstElement(pPr); c; c = nextElement(c)) {
        if (is(c, "w:sectPr") || is(c, "w:pPrChange"))
            return pPr.insert_child_before("w:rPr", c);
    }
    return pPr.append_child("w:rPr");
}

void copyRunProperties(xml_node from, xml_node toRun) {
    if (!from)
        return;
    xml_node copy = toRun.prepend_copy(from);
    for (const char* revision : {"w:ins", "w:del", "w:moveFrom", "w:moveTo"}) {
        while (xml_node mark = copy.child(revision))
            copy.remove_child(mark);
    }
}

bool isBold(xml_node properties) {
    xml_node b = properties.child("w:b");
    if (!b)
        return false;
    pugi::xml_attribute val = b.attribute("w:val");
    if (!val)
        return true;
    const std::string v = val.value();
    return !(v == "0" || v == "false" || v == "off");
}

void setBold(xml_node properties, bool bold) {
    properties.remove_child("w:b");
    properties.remove_child("w:bCs");
    // w:b follows only w:rStyle and w:rFonts in the properties' fixed order.
    xml_node place = firstElement(properties);
    while (place && (is(place, "w:rStyle") || is(place, "w:rFonts")))
        place = nextElement(place);
    xml_node b = place ? properties.insert_child_before("w:b", place) : properties.append_child("w:b");
    xml_node bCs = properties.insert_child_after("w:bCs", b);
    if (!bold) {
        b.append_attribute("w:val") = "0";
        bCs.append_attribute("w:val") = "0";
    }
}

xml_node paragraphStart(xml_node paragraph) {
    xml_node first = firstElement(paragraph);
    return is(first, "w:pPr") ? nextElement(first) : first;
}

xml_node afterSubtree(xml_node node, xml_node body) {
    while (node && node != body) {
        if (xml_node next = nextElement(node))
            return next;
        node = node.parent();
    }
    return {};
}

xml_node firstParagraphIn(xml_node container) {
    if (is(container, "w:p"))
        return container;
    xml_node node = firstElement(container);
    while (node) {
        if (is(node, "w:p"))
            return node;
        xml_node child = firstElement(node);
        node = child ? child : afterSubtree(node, container);
    }
    return {};
}

xml_node nextParagraph(xml_node paragraph, xml_node body) {
    xml_node node = afterSubtree(paragraph, body);
    while (node) {
        if (is(node, "w:p"))
            return node;
        xml_node child = firstElement(node);
        node = child ? child : afterSubtree(node, body);
    }
    return {};
}

} // namespace ravnobor::documents::wml
