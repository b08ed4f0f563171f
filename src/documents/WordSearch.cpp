// Find and replace once, from the insertion point toward the end of the body.
#include "documents/WordDocumentImpl.h"

#include <vector>

namespace ravnobor::documents {

using namespace wml;

namespace {

// Inline containers whose runs read as part of the paragraph's text.
bool isRunContainer(xml_node n) {
    return is(n, "w:hyperlink") || is(n, "w:smartTag") || is(n, "w:ins") || is(n, "w:customXml") || is(n, "w:sdt") ||
           is(n, "w:sdtContent");
}

// A paragraph's searchable text from a starting child on, with the run each character
// comes from. Runs the program put in read as a barrier, so no match can reach into them.
struct ParagraphText {
    QString text;
    struct Piece {
        xml_node run;
        int start;
        int length;
    };
    std::vector<Piece> pieces;

    void add(xml_node run, bool fromTemplate) {
        if (!fromTemplate) {
            text.append(Barrier);
            return;
        }
        const int start = int(text.size());
        const int length = runLength(run, &text);
        if (length > 0)
            pieces.push_back({run, start, length});
    }
    void addChildren(xml_node first, const std::unordered_set<pugi::xml_node_struct*>& templateRuns) {
        for (xml_node n = first; n; n = nextElement(n)) {
            if (is(n, "w:r"))
                add(n, templateRuns.count(n.internal_object()) > 0);
            else if (isRunContainer(n))
                addChildren(firstElement(n), templateRuns);
            else if (is(n, "w:fldSimple") || is(n, "w:del") || is(n, "w:moveFrom"))
                text.append(Barrier);
        }
    }
    // The piece holding character `index`.
    size_t pieceAt(int index) const {
        size_t i = 0;
        while (i + 1 < pieces.size() && pieces[i].start + pieces[i].length <= index)
            ++i;
        return i;
    }
};

} // namespace

void WordDocument::replaceInDocument(const QString& findText, const QString& replaceWith) {
    if (xml_node replacement = d->replaceOnce(findText))
        appendContent(replacement, cleanText(replaceWith));
}

xml_node WordDocument::Impl::replaceOnce(const QString& findText) {
    if (findText.isEmpty())
        return {};
    xml_node start = before;
    for (xml_node p = paragraph; p; p = nextParagraph(p, body), start = paragraphStart(p)) {
        ParagraphText read;
        read.addChildren(p == paragraph ? start : paragraphStart(p), templateRuns);
        const qsizetype at = read.text.indexOf(findText);
        if (at < 0)
            continue;
        const int from = int(at);
        const int to = from + int(findText.size()); // one past the match
        const size_t firstPiece = read.pieceAt(from);
        const size_t lastPiece = read.pieceAt(to - 1);

        // Cut the runs at both ends of the match so that it covers whole runs.
        std::vector<xml_node> matched;
        const auto& last = read.pieces[lastPiece];
        if (to - last.start < last.length)
            templateRuns.insert(splitRun(last.run, to - last.start).internal_object());
        const auto& first = read.pieces[firstPiece];
        xml_node firstRun = first.run;
        if (from > first.start)
            firstRun = splitRun(first.run, from - first.start);
        templateRuns.insert(firstRun.internal_object());
        matched.push_back(firstRun);
        for (size_t i = firstPiece + 1; i <= lastPiece; ++i)
            matched.push_back(read.pieces[i].run);

        // The replacement takes the formatting of the match's first character.
        xml_node replacement = firstRun.parent().insert_child_before("w:r", firstRun);
        copyRunProperties(runProperties(firstRun), replacement);
        for (xml_node run : matched) {
            if (run == before)
                before = replacement;
            removeNode(run);
        }
        return replacement;
    }
    return {};
}

} // namespace ravnobor::documents
