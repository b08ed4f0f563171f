#pragma once

// The inner state of a WordDocument, shared by the files that implement it.

#include "documents/OoxmlPackage.h"
#include "documents/WordDocument.h"
#include "documents/WordXml.h"

#include <pugixml.hpp>

#include <optional>
#include <string>
#include <unordered_set>

namespace ravnobor::documents {

using pugi::xml_node;

struct WordDocument::Impl {
    OoxmlPackage package;
    std::string mainPart; // archive name of the main document part
    pugi::xml_document xml;
    xml_node body;

    // The insertion point: in `paragraph`, before its child `before` (null: at its end).
    // Typing always starts a run there, so the point never falls inside a run.
    xml_node paragraph;
    xml_node before;
    xml_node selectedCell;           // the selection when a whole cell is selected
    std::optional<bool> pendingBold; // a toggle waiting for what is typed next
    pugi::xml_document keptFormat;   // formatting of a cleared cell's text, for the text that replaces it
    bool useKeptFormat = false;

    // Runs of the template (and the parts a search cut them into): the only text a search
    // reads, so it never matches inside text the program put in. The set stays as small as
    // the template however much is typed.
    std::unordered_set<pugi::xml_node_struct*> templateRuns;

    // Empty elements parsed once into the document, outside the main part. A copy of a
    // parsed element shares its name instead of storing it again, which makes typing a
    // long table markedly cheaper.
    xml_node prototypes;
    xml_node protoRun, protoText, protoRow, protoCell; // <w:r/> <w:t/> <w:tr/> <w:tc><w:p/></w:tc>

    void load(OoxmlPackage templatePackage);

    // Cursor.
    void placeAtStart(xml_node paragraph);
    void select(xml_node cell);
    xml_node currentCell() const;
    // Before typing: a selected cell is emptied (or the selection dropped when typing
    // does not replace it), leaving the insertion point at its start.
    void settleSelection(bool replace);
    void clearCell(xml_node cell);
    void removeNode(xml_node node);

    // Typing.
    xml_node formatSource() const;
    xml_node insertTypedRun();
    bool deleteLastCharacter(xml_node run);

    // Search: the first match from the insertion point is cut out and an empty run with
    // the match's formatting put in its place; returns that run, or null when not found.
    xml_node replaceOnce(const QString& findText);
    // Adds a PNG image part with its relationship; returns the relationship's id.
    std::string addImagePart(const QByteArray& png);

    // Tables.
    xml_node appendEmptyRow(xml_node lastRow);
    void moveDownFromCell(xml_node cell);

    // The main part as written, in pieces of a few megabytes.
    std::vector<QByteArray> serializedMainPart() const;
};

} // namespace ravnobor::documents
