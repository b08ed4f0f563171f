#pragma once

#include <QByteArray>
#include <QString>

#include <memory>

namespace ravnobor::documents {

// A word-processor document being typed into, with the operations of a word
// processor's automation: go to the first table, move by line and by table cell,
// type text and paragraphs, backspace, toggle bold, and replace once from the
// insertion point. It knows nothing of the program's documents.
//
// The insertion point stays where it is between calls, so every step costs only
// the part of the document it touches.
class WordDocument {
public:
    // A new document from a .dotx template (or .docx); throws an Error when the file
    // is missing or is no WordprocessingML document. The insertion point is at the start.
    static WordDocument fromTemplate(const QString& templatePath);
    // A new document from the built-in blank template (one empty paragraph).
    static WordDocument blank();

    WordDocument(WordDocument&&) noexcept;
    WordDocument& operator=(WordDocument&&) noexcept;
    ~WordDocument();

    // The start of the first cell of the first table of the body; nothing without a table.
    void goToFirstTable();
    // One line down: the next paragraph of the same cell, else the cell of the next row
    // under the horizontal middle of the current cell, else the paragraph after the table.
    // Outside a table, the next paragraph.
    void moveDown();
    // The end of the paragraph at the insertion point (the End key).
    void moveToParagraphEnd();
    // The previous / next cell becomes the selection. Right from a table's last cell
    // appends an empty row with the last row's formatting and selects its first cell.
    void moveLeftCell();
    void moveRightCell();

    // With a selected cell, typing replaces its content (on by default).
    void setReplaceSelection(bool replace) { m_replaceSelection = replace; }

    // Types at the insertion point with the formatting of the place. A tab is a tab;
    // CR LF (or a lone LF) is a line break, a lone CR a paragraph break. Characters
    // that XML cannot carry are dropped; blanks are kept as typed.
    void typeText(const QString& text);
    void typeParagraph();
    // Deletes the character (tab, line break) before the insertion point; at the start
    // of a paragraph, joins it to the previous one. Never crosses a cell.
    void typeBackspace();
    // Inverts bold for the selected cell's text and for what is typed next.
    void toggleBold();
    // Gives the paragraph at the insertion point one right-aligned tab stop at the right
    // margin with a dot leader, in place of its own; paragraphs typed after it keep it.
    void setRightTabStopWithDots();

    // Replaces the first occurrence of the literal text from the insertion point (the
    // start of a selected cell) toward the end of the body. The text may be split over
    // runs of the template; text the program typed or put in by a replace is never
    // matched. The insertion point does not move; a text not found changes nothing.
    void replaceInDocument(const QString& findText, const QString& replaceWith);
    // The same, the match replaced by a picture (PNG) of this size in English Metric Units.
    void replaceWithPicture(const QString& findText, const QByteArray& png, qint64 widthEmu, qint64 heightEmu);

    // The finished document: a .docx (typed as a document, not a template).
    QByteArray toDocx() const;
    // The main part as it would be written, for inspection.
    QByteArray documentXml() const;

private:
    struct Impl;
    explicit WordDocument(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> d;
    bool m_replaceSelection = true;
};

} // namespace ravnobor::documents
