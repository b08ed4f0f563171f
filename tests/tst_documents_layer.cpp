// The document layer: each operation on small documents made in code, and the two templates.
#include "documents/BlankDocument.h"
#include "documents/DocumentFile.h"
#include "documents/WordDocument.h"
#include "store/Error.h"
#include "support/Strings.h"
#include "support/TestProgram.h"
#include "tst_documents_reader.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace ravnobor;
using namespace ravnobor::documents;
using ravnobor::test::DocxReader;
using ravnobor::test::strings;
using namespace Qt::StringLiterals;

namespace {

const QByteArray DocumentHead = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>"
                                "<w:document xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\">"
                                "<w:body>";
const QByteArray DocumentTail = "<w:sectPr/></w:body></w:document>";

// A template whose body is the given WordprocessingML.
QString makeTemplate(const QTemporaryDir& dir, const QByteArray& body, const QString& name = QStringLiteral("t.dotx")) {
    OoxmlPackage package = blankDocumentPackage();
    package.put("word/document.xml", DocumentHead + body + DocumentTail);
    const QString path = dir.filePath(name);
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(package.toZip());
    return path;
}

// A table of `rows` rows of three plain cells; the first row's middle cell spans two grid columns.
QByteArray threeColumnTable(int rows) {
    QByteArray xml = "<w:tbl><w:tblGrid><w:gridCol w:w=\"1000\"/><w:gridCol w:w=\"1000\"/><w:gridCol "
                     "w:w=\"1000\"/><w:gridCol w:w=\"1000\"/></w:tblGrid>";
    xml += "<w:tr><w:tc><w:p><w:r><w:t>h1</w:t></w:r></w:p></w:tc>"
           "<w:tc><w:tcPr><w:gridSpan w:val=\"2\"/></w:tcPr><w:p><w:r><w:t>h2</w:t></w:r></w:p></w:tc>"
           "<w:tc><w:p><w:r><w:t>h3</w:t></w:r></w:p></w:tc></w:tr>";
    for (int r = 0; r < rows; ++r) {
        xml += "<w:tr><w:trPr><w:trHeight w:val=\"400\"/></w:trPr>";
        for (int c = 0; c < 4; ++c)
            xml += "<w:tc><w:tcPr><w:shd w:val=\"clear\" w:fill=\"EEEEEE\"/></w:tcPr><w:p><w:pPr><w:jc "
                   "w:val=\"right\"/></w:pPr><w:r><w:rPr><w:i/></w:rPr><w:t>c" +
                   QByteArray::number(r) + QByteArray::number(c) + "</w:t></w:r></w:p></w:tc>";
        xml += "</w:tr>";
    }
    return xml + "</w:tbl>";
}

} // namespace

class TestDocumentLayer : public QObject {
    Q_OBJECT
private slots:
    void typedTextIsEscapedAndCleaned_data();
    void typedTextIsEscapedAndCleaned();
    void lineBreakAndBackspace();
    void backspaceJoinsParagraphsButNotCells();
    void outputIsTypedAsDocument();
    void replaceFindsPlaceholderSplitOverRuns();
    void replaceNeverMatchesInsertedText();
    void replaceStartsAtInsertionPoint();
    void replaceOfMissingTextChangesNothing();
    void moveRightAppendsRowsWithFormatting();
    void moveLeftAndDownFollowTheGrid();
    void typingReplacesASelectedCellOnlyWhenAsked();
    void boldToggleOnCellAndInsertionPoint();
    void templatesLandOnFirstDataCell_data();
    void templatesLandOnFirstDataCell();
    void missingOrBrokenTemplateIsAClearError();
    void newFilesAreNumberedAndNeverOverwritten();
    void unwritableFolderIsAClearError();

private:
    QTemporaryDir m_dir;
};

void TestDocumentLayer::typedTextIsEscapedAndCleaned_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("seen");
    QTest::newRow("markup characters") << "A & B <c> \"q\" 'a'"
                                       << "A & B <c> \"q\" 'a'";
    QTest::newRow("blanks kept") << "  two blanks each side  "
                                 << "  two blanks each side  ";
    QTest::newRow("tab") << "name\tprice"
                         << "name\tprice";
    QTest::newRow("control characters dropped") << QStringLiteral("a\x01z\x1F\x0B") + QChar(0xFFFF) + u'b' << "azb";
    QTest::newRow("lone surrogate dropped") << QStringLiteral("x") + QChar(0xD800) + QStringLiteral("y") << "xy";
    QTest::newRow("pair kept") << QString::fromUtf8("Кот 🐈") << QString::fromUtf8("Кот 🐈");
}

void TestDocumentLayer::typedTextIsEscapedAndCleaned() {
    QFETCH(QString, typed);
    QFETCH(QString, seen);
    WordDocument doc = WordDocument::blank();
    doc.typeText(typed);
    const DocxReader reader(doc.toDocx());
    QVERIFY(reader.parsed());
    QCOMPARE(reader.paragraphs().value(0), seen);
    QVERIFY(!reader.xml().contains('\x01'));
}

void TestDocumentLayer::lineBreakAndBackspace() {
    WordDocument doc = WordDocument::blank();
    doc.typeText(QStringLiteral("Стол\t1500\r\n"));
    QVERIFY(doc.documentXml().contains("<w:br"));
    doc.typeBackspace(); // the CR LF pair is one break
    QVERIFY(!doc.documentXml().contains("<w:br"));
    doc.typeText(QStringLiteral(" руб."));
    doc.typeParagraph();
    doc.typeText(QStringLiteral("a\rb"));
    doc.typeBackspace();
    doc.typeBackspace(); // the paragraph break typed as a lone CR
    doc.typeText(QStringLiteral("c"));
    QCOMPARE(DocxReader(doc.toDocx()).paragraphs(), strings({"Стол\t1500 руб.", "ac"}));
}

void TestDocumentLayer::backspaceJoinsParagraphsButNotCells() {
    const QString path = makeTemplate(m_dir, "<w:p><w:r><w:t>before</w:t></w:r></w:p>" + threeColumnTable(1));
    WordDocument doc = WordDocument::fromTemplate(path);
    doc.goToFirstTable();
    doc.typeBackspace(); // at the start of a cell: nothing to delete
    doc.typeText(QStringLiteral("X"));
    doc.typeBackspace();
    doc.typeBackspace();
    const DocxReader reader(doc.toDocx());
    QCOMPARE(reader.paragraphs(), strings({"before"}));
    QCOMPARE(reader.rows().at(0), strings({"h1", "h2", "h3"}));
}

void TestDocumentLayer::outputIsTypedAsDocument() {
    const QByteArray docx =
        WordDocument::fromTemplate(ravnobor::test::builtFile(QStringLiteral("Отчет.dotx"))).toDocx();
    const DocxReader reader(docx);
    QCOMPARE(reader.mainContentType(),
             u"application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml"_s);
    QVERIFY(!reader.part("[Content_Types].xml").contains("template.main"));
    QVERIFY(!reader.part("word/styles.xml").isEmpty());
}

void TestDocumentLayer::replaceFindsPlaceholderSplitOverRuns() {
    const QString path = makeTemplate(
        m_dir, "<w:p><w:r><w:rPr><w:b/></w:rPr><w:t xml:space=\"preserve\">Сторона: &lt;Сто</w:t></w:r>"
               "<w:proofErr w:type=\"spellStart\"/><w:r><w:t>рона</w:t></w:r><w:proofErr w:type=\"spellEnd\"/>"
               "<w:r><w:rPr><w:i/></w:rPr><w:t xml:space=\"preserve\">1&gt; и &lt;Сторона1&gt;.</w:t></w:r></w:p>");
    WordDocument doc = WordDocument::fromTemplate(path);
    doc.replaceInDocument(QStringLiteral("<Сторона1>"), QStringLiteral("Иванов"));
    DocxReader reader(doc.toDocx());
    QCOMPARE(reader.paragraphs().value(0), QStringLiteral("Сторона: Иванов и <Сторона1>."));
    // The replacement took the formatting of the placeholder's first character (bold).
    pugi::xml_document xml;
    xml.load_buffer(reader.xml().constData(), size_t(reader.xml().size()),
                    pugi::parse_default | pugi::parse_ws_pcdata_single);
    bool boldName = false;
    for (pugi::xml_node r : xml.child("w:document").child("w:body").child("w:p").children("w:r"))
        boldName = boldName || (ravnobor::test::runText(r) == QStringLiteral("Иванов") && ravnobor::test::runIsBold(r));
    QVERIFY(boldName);
    doc.replaceInDocument(QStringLiteral("<Сторона1>"), QStringLiteral("Петров"));
    QCOMPARE(DocxReader(doc.toDocx()).paragraphs().value(0), QStringLiteral("Сторона: Иванов и Петров."));
}

void TestDocumentLayer::replaceNeverMatchesInsertedText() {
    const QString path = makeTemplate(m_dir, "<w:p><w:r><w:t>&lt;A&gt; &lt;A&gt; #7#</w:t></w:r></w:p>");
    WordDocument doc = WordDocument::fromTemplate(path);
    doc.replaceInDocument(QStringLiteral("<A>"), QStringLiteral("x<A>#7#"));
    doc.replaceInDocument(QStringLiteral("<A>"), QStringLiteral("y"));
    doc.replaceInDocument(QStringLiteral("#7#"), QStringLiteral("z"));
    QCOMPARE(DocxReader(doc.toDocx()).paragraphs().value(0), QStringLiteral("x<A>#7# y z"));
    // Text typed by the program is not matched either, nor text that straddles it.
    WordDocument typed = WordDocument::fromTemplate(makeTemplate(m_dir, "<w:p><w:r><w:t>A&gt;</w:t></w:r></w:p>"));
    typed.typeText(QStringLiteral("<"));
    typed.replaceInDocument(QStringLiteral("<A>"), QStringLiteral("!"));
    QCOMPARE(DocxReader(typed.toDocx()).paragraphs().value(0), QStringLiteral("<A>"));
}

void TestDocumentLayer::replaceStartsAtInsertionPoint() {
    const QString path = makeTemplate(m_dir, "<w:p><w:r><w:t>&lt;P&gt;</w:t></w:r></w:p>" + threeColumnTable(1) +
                                                 "<w:p><w:r><w:t>&lt;P&gt;</w:t></w:r></w:p>");
    WordDocument doc = WordDocument::fromTemplate(path);
    doc.goToFirstTable();
    doc.moveDown();
    doc.moveRightCell(); // a selected cell: the search starts at its start
    doc.replaceInDocument(QStringLiteral("<P>"), QStringLiteral("after"));
    doc.replaceInDocument(QStringLiteral("c02"), QStringLiteral("C"));
    doc.replaceInDocument(QStringLiteral("c01"), QStringLiteral("C")); // the selected cell itself
    doc.typeText(QStringLiteral("typed"));                             // the selection did not move
    const DocxReader reader(doc.toDocx());
    QCOMPARE(reader.paragraphs(), strings({"<P>", "after"}));
    QCOMPARE(reader.rows().at(1), strings({"c00", "typed", "C", "c03"}));
}

void TestDocumentLayer::replaceOfMissingTextChangesNothing() {
    const QString path = makeTemplate(m_dir, "<w:p><w:r><w:t>text</w:t></w:r></w:p>");
    WordDocument doc = WordDocument::fromTemplate(path);
    const QByteArray before = doc.documentXml();
    doc.replaceInDocument(QStringLiteral("#5#"), QStringLiteral("x"));
    doc.replaceInDocument(QString(), QStringLiteral("x"));
    QCOMPARE(doc.documentXml(), before);
}

void TestDocumentLayer::moveRightAppendsRowsWithFormatting() {
    WordDocument doc = WordDocument::fromTemplate(makeTemplate(m_dir, threeColumnTable(1)));
    doc.goToFirstTable();
    doc.moveDown(); // first cell of row 1
    for (int i = 0; i < 4 * 2; ++i) {
        doc.typeText(QStringLiteral("n%1").arg(i));
        doc.moveRightCell();
    }
    doc.typeText(QStringLiteral("last"));
    const DocxReader reader(doc.toDocx());
    const auto rows = reader.rows();
    QCOMPARE(int(rows.size()), 4);
    QCOMPARE(rows[1], strings({"n0c00", "n1", "n2", "n3"})); // typed at the start of the first cell
    QCOMPARE(rows[2], strings({"n4", "n5", "n6", "n7"}));
    QCOMPARE(rows[3], strings({"last", "", "", ""}));
    // The appended rows carry the last row's row, cell, paragraph and run formatting.
    pugi::xml_node appended = reader.cell(3, 0);
    QCOMPARE(QString::fromUtf8(appended.parent().child("w:trPr").child("w:trHeight").attribute("w:val").value()),
             u"400"_s);
    QCOMPARE(QString::fromUtf8(appended.child("w:tcPr").child("w:shd").attribute("w:fill").value()), u"EEEEEE"_s);
    QCOMPARE(QString::fromUtf8(appended.child("w:p").child("w:pPr").child("w:jc").attribute("w:val").value()),
             u"right"_s);
    QVERIFY(appended.child("w:p").child("w:r").child("w:rPr").child("w:i"));
}

void TestDocumentLayer::moveLeftAndDownFollowTheGrid() {
    WordDocument doc =
        WordDocument::fromTemplate(makeTemplate(m_dir, threeColumnTable(2) + "<w:p><w:r><w:t>below</w:t></w:r></w:p>"));
    doc.goToFirstTable();
    doc.moveRightCell(); // h2 spans grid columns 1 and 2: its middle lies on the border of c11 and c12
    doc.moveDown();
    doc.typeText(QStringLiteral("[down]"));
    doc.moveLeftCell();
    doc.moveLeftCell();
    doc.moveLeftCell(); // from a row's first cell to the previous row's last
    doc.typeText(QStringLiteral("[left]"));
    doc.moveDown();
    doc.moveDown();
    doc.moveDown(); // out of the table's last row to the paragraph after it
    doc.typeText(QStringLiteral("[out]"));
    const auto rows = DocxReader(doc.toDocx()).rows();
    QCOMPARE(rows[0], strings({"h1", "h2", "[left]"}));
    QCOMPARE(rows[1], strings({"c00", "c01", "[down]c02", "c03"}));
    QCOMPARE(DocxReader(doc.toDocx()).paragraphs(), strings({"[out]below"}));
}

void TestDocumentLayer::typingReplacesASelectedCellOnlyWhenAsked() {
    WordDocument doc = WordDocument::fromTemplate(makeTemplate(m_dir, threeColumnTable(1)));
    doc.goToFirstTable();
    doc.moveRightCell();
    doc.typeText(QStringLiteral("replaced"));
    doc.typeText(QStringLiteral("+more")); // the selection is gone once typed over
    doc.moveRightCell();
    doc.setReplaceSelection(false);
    doc.typeText(QStringLiteral("before "));
    doc.moveDown();
    doc.setReplaceSelection(true);
    doc.moveLeftCell();  // from under h3 (c03) to c02
    doc.typeBackspace(); // deletes a selected cell's text
    const auto rows = DocxReader(doc.toDocx()).rows();
    QCOMPARE(rows[0], strings({"h1", "replaced+more", "before h3"}));
    QCOMPARE(rows[1], strings({"c00", "c01", "", "c03"}));
}

void TestDocumentLayer::boldToggleOnCellAndInsertionPoint() {
    const QString path = makeTemplate(
        m_dir, "<w:p/><w:tbl><w:tblGrid><w:gridCol w:w=\"1\"/><w:gridCol w:w=\"1\"/><w:gridCol w:w=\"1\"/></w:tblGrid>"
               "<w:tr><w:tc><w:p/></w:tc><w:tc><w:p><w:r><w:rPr><w:b/></w:rPr><w:t>bold</w:t></w:r></w:p></w:tc>"
               "<w:tc><w:p><w:r><w:t>plain</w:t></w:r></w:p></w:tc></w:tr></w:tbl>");
    WordDocument doc = WordDocument::fromTemplate(path);
    doc.toggleBold();
    doc.typeText(QStringLiteral("B"));
    doc.toggleBold();
    doc.typeText(QStringLiteral("p"));
    doc.goToFirstTable();
    doc.moveRightCell();
    doc.toggleBold(); // bold text becomes plain
    doc.moveRightCell();
    doc.toggleBold(); // plain text becomes bold, kept when typing replaces it
    doc.typeText(QStringLiteral("new"));
    const DocxReader reader(doc.toDocx());
    QVERIFY(!ravnobor::test::cellIsBold(reader.cell(0, 1)));
    QCOMPARE(ravnobor::test::cellText(reader.cell(0, 1)), u"bold"_s);
    QVERIFY(ravnobor::test::cellIsBold(reader.cell(0, 2)));
    QCOMPARE(ravnobor::test::cellText(reader.cell(0, 2)), u"new"_s);
    QCOMPARE(reader.paragraphs().value(0), u"Bp"_s);
    QVERIFY(reader.xml().contains("<w:b/><w:bCs/></w:rPr><w:t>B</w:t>"));
    QVERIFY(reader.xml().contains("<w:b w:val=\"0\"/><w:bCs w:val=\"0\"/></w:rPr><w:t>p</w:t>"));
}

void TestDocumentLayer::templatesLandOnFirstDataCell_data() {
    QTest::addColumn<QString>("templateFile");
    QTest::addColumn<int>("linesDown");
    QTest::addColumn<bool>("oneCellLeft");
    QTest::addColumn<int>("firstDataRow");
    QTest::newRow("report") << "Отчет.dotx" << 2 << true << 2;
    QTest::newRow("list") << "Список.dotx" << 1 << false << 1;
}

void TestDocumentLayer::templatesLandOnFirstDataCell() {
    QFETCH(QString, templateFile);
    QFETCH(int, linesDown);
    QFETCH(bool, oneCellLeft);
    QFETCH(int, firstDataRow);
    WordDocument doc = WordDocument::fromTemplate(ravnobor::test::builtFile(templateFile));
    doc.goToFirstTable();
    for (int i = 0; i < linesDown; ++i)
        doc.moveDown();
    if (oneCellLeft)
        doc.moveLeftCell();
    doc.typeText(QStringLiteral("X"));
    const DocxReader reader(doc.toDocx());
    const auto rows = reader.rows();
    QCOMPARE(int(rows.size()), firstDataRow + 1);
    QCOMPARE(rows[size_t(firstDataRow)], strings({"X", "", "", "", "", "", ""}));
    for (int r = 0; r < firstDataRow; ++r)
        QVERIFY(!rows[size_t(r)].contains(QStringLiteral("X")));
}

void TestDocumentLayer::missingOrBrokenTemplateIsAClearError() {
    const QString missing = m_dir.filePath(QStringLiteral("Нет.dotx"));
    try {
        WordDocument::fromTemplate(missing);
        QFAIL("no error for a missing template");
    } catch (const Error& e) {
        QCOMPARE(e.message(), QStringLiteral("Не найден шаблон документа «%1»").arg(missing));
    }
    const QString broken = m_dir.filePath(QStringLiteral("broken.dotx"));
    QFile file(broken);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("not a zip archive");
    file.close();
    try {
        WordDocument::fromTemplate(broken);
        QFAIL("no error for a broken template");
    } catch (const Error& e) {
        QVERIFY2(e.message().startsWith(QStringLiteral("Шаблон документа «%1» не читается").arg(broken)),
                 qPrintable(e.message()));
    }
    OoxmlPackage noDocument = blankDocumentPackage();
    noDocument.put("word/document.xml", "<w:document xmlns:w=\"x\"><w:body><w:p>");
    const QString badXml = m_dir.filePath(QStringLiteral("badxml.dotx"));
    QFile bad(badXml);
    QVERIFY(bad.open(QIODevice::WriteOnly));
    bad.write(noDocument.toZip());
    bad.close();
    QVERIFY_THROWS_EXCEPTION(Error, WordDocument::fromTemplate(badXml));
}

void TestDocumentLayer::newFilesAreNumberedAndNeverOverwritten() {
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("Равнобор"));
    const QByteArray docx = WordDocument::blank().toDocx();
    const QString first = saveAsNewDocument(docx, folder, QStringLiteral("Общий список имущества"));
    QCOMPARE(first, folder + QStringLiteral("/Общий список имущества.docx"));
    // A file the user keeps under the next name is left alone.
    QFile kept(folder + QStringLiteral("/Общий список имущества (2).docx"));
    QVERIFY(kept.open(QIODevice::WriteOnly));
    kept.write("the user's own");
    kept.close();
    const QString third = saveAsNewDocument(docx, folder, QStringLiteral("Общий список имущества"));
    QCOMPARE(third, folder + QStringLiteral("/Общий список имущества (3).docx"));
    QCOMPARE(ravnobor::test::fileBytes(kept.fileName()), QByteArray("the user's own"));
    QCOMPARE(ravnobor::test::fileBytes(first), docx);
    QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden).size(), 3); // nothing half-written left
}

void TestDocumentLayer::unwritableFolderIsAClearError() {
    QTemporaryDir dir;
    // A folder that cannot be made: its parent is a file.
    QFile blocker(dir.filePath(QStringLiteral("file")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QString folder = blocker.fileName() + QStringLiteral("/Равнобор");
    try {
        saveAsNewDocument("x", folder, QStringLiteral("Документ"));
        QFAIL("no error for a folder that cannot be made");
    } catch (const Error& e) {
        QCOMPARE(e.message(), QStringLiteral("Не удалось создать папку документов «%1»").arg(folder));
    }
    if (::geteuid() == 0)
        QSKIP("folder permissions do not bind the superuser");
    const QString locked = dir.filePath(QStringLiteral("locked"));
    QVERIFY(QDir().mkpath(locked));
    QFile::setPermissions(locked, QFile::ReadOwner | QFile::ExeOwner);
    QVERIFY_THROWS_EXCEPTION(Error, saveAsNewDocument("x", locked, QStringLiteral("Документ")));
    QFile::setPermissions(locked, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QVERIFY(QDir(locked).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

QTEST_GUILESS_MAIN(TestDocumentLayer)
#include "tst_documents_layer.moc"
