#pragma once

// Small operations on WordprocessingML elements, shared by the document layer.
// Element names carry the conventional "w:" prefix of the main namespace.

#include <QString>

#include <pugixml.hpp>

#include <cstring>

namespace ravnobor::documents::wml {

using pugi::xml_node;

// Runs on every step of every cell, so it compares by hand; names of other node kinds are empty.
inline bool is(xml_node node, const char* name) {
    const char* own = node.name();
    while (*name && *own == *name) {
        ++own;
        ++name;
    }
    return *own == *name;
}

// Element siblings only: the parser drops indentation, but a hand-made part may keep some.
xml_node firstElement(xml_node parent);
xml_node nextElement(xml_node node);
xml_node previousElement(xml_node node);
xml_node lastElement(xml_node parent);

// Typed text as it can stand in a document: CR LF becomes LF; characters XML 1.0
// cannot carry (controls other than tab, LF and CR, U+FFFE, U+FFFF, lone surrogates) are dropped.
QString cleanText(const QString& text);

// Text of a w:t element, and setting it (xml:space="preserve" where blanks would be lost).
QString textOf(xml_node t);
void setText(xml_node t, const QString& text);
// Appends w:t, w:tab and w:br children for text holding tabs and LFs; w:t elements are
// copies of `textPrototype` when one is given.
void appendContent(xml_node run, const QString& text, xml_node textPrototype = xml_node());

// A run's content elements (all but w:rPr), and how many characters each one reads as:
// text its length, a tab, break or hyphen one, a drawing or field part one that no search
// text can match (Barrier), bookmarks and the like none.
inline constexpr QChar Barrier = QChar(0xFFFF);
xml_node firstContent(xml_node run);
int contentLength(xml_node element, QString* appendTo = nullptr);
int runLength(xml_node run, QString* appendTo = nullptr);

// Splits a run so that a new run with the same properties begins at character `at`
// (0 < at < length); returns the new run, which follows the old one.
xml_node splitRun(xml_node run, int at);

// Run properties: of a run (w:r/w:rPr) or of a paragraph mark (w:p/w:pPr/w:rPr).
xml_node runProperties(xml_node run);
xml_node ensureRunProperties(xml_node run);
xml_node markProperties(xml_node paragraph);
xml_node ensureMarkProperties(xml_node paragraph);
// Copies run properties to a new run; a paragraph mark's revision marks stay behind.
void copyRunProperties(xml_node from, xml_node toRun);
bool isBold(xml_node properties);
void setBold(xml_node properties, bool bold);

// Paragraphs.
xml_node paragraphStart(xml_node paragraph); // first child after w:pPr; null when empty
xml_node firstParagraphIn(xml_node container);
// The next paragraph in document order after this one (and after its content), within body.
xml_node nextParagraph(xml_node paragraph, xml_node body);
// The node that follows `node` in document order once its whole content is passed.
xml_node afterSubtree(xml_node node, xml_node body);

} // namespace ravnobor::documents::wml
