#include "documents/WordDocument.h"

#include "documents/BlankDocument.h"
#include "documents/WordDocumentImpl.h"
#include "store/Error.h"

namespace ravnobor::documents {

using namespace wml;

namespace {

constexpr unsigned ParseOptions = pugi::parse_default | pugi::parse_declaration | pugi::parse_ws_pcdata_single;
const char* const DocumentContentType =
    "application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml";

// The main part named by the package relationships; Word's own name when they say nothing.
std::string mainPartOf(const OoxmlPackage& package) {
    if (const OoxmlPackage::Part* rels = package.find("_rels/.rels")) {
        pugi::xml_document doc;
        if (doc.load_buffer(rels->data.constData(), size_t(rels->data.size()))) {
            for (xml_node r : doc.child("Relationships").children("Relationship")) {
                const std::string type = r.attribute("Type").value();
                if (type.size() >= 15 && type.compare(type.size() - 15, 15, "/officeDocument") == 0) {
                    std::string target = r.attribute("Target").value();
                    while (!target.empty() && target.front() == '/')
                        target.erase(0, 1);
                    if (!target.empty())
                        return target;
                }
            }
        }
    }
    return "word/document.xml";
}

// A template's main part is typed as a template; a word processor refuses to treat
// such a file as a document, so the output says "document".
QByteArray typedAsDocument(const QByteArray& contentTypes, const std::string& mainPart) {
    pugi::xml_document doc;
    doc.load_buffer(contentTypes.constData(), size_t(contentTypes.size()), ParseOptions);
    xml_node types = doc.child("Types");
    if (!types)
        types = doc.append_child("Types");
    if (!types.attribute("xmlns"))
        types.append_attribute("xmlns") = "http://schemas.openxmlformats.org/package/2006/content-types";
    const QString partName = u'/' + QString::fromStdString(mainPart);
    xml_node override;
    for (xml_node o : types.children("Override")) {
        if (QString::fromUtf8(o.attribute("PartName").value()).compare(partName, Qt::CaseInsensitive) == 0)
            override = o;
    }
    if (!override) {
        override = types.append_child("Override");
        override.append_attribute("PartName") = partName.toUtf8().constData();
        override.append_attribute("ContentType");
    }
    override.attribute("ContentType").set_value(DocumentContentType);
    QByteArray out;
    struct Writer final : pugi::xml_writer {
        QByteArray* bytes;
        void write(const void* data, size_t size) override {
            bytes->append(static_cast<const char*>(data), qsizetype(size));
        }
    } writer;
    writer.bytes = &out;
    doc.save(writer, "", pugi::format_raw, pugi::encoding_utf8);
    return out;
}

} // namespace

// ---- loading and saving

void WordDocument::Impl::load(OoxmlPackage templatePackage) {
    package = std::move(templatePackage);
    mainPart = mainPartOf(package);
    const OoxmlPackage::Part* part = package.find(mainPart);
    const Error notADocument(QStringLiteral("Шаблон документа не является документом Word (нет основной части «%1»)")
                                 .arg(QString::fromStdString(mainPart)));
    if (!part)
        throw notADocument;
    const pugi::xml_parse_result parsed =
        xml.load_buffer(part->data.constData(), size_t(part->data.size()), ParseOptions, pugi::encoding_utf8);
    if (!parsed)
        throw Error(QStringLiteral("Шаблон документа повреждён: %1 (позиция %2)")
                        .arg(QString::fromUtf8(parsed.description()))
                        .arg(parsed.offset));
    body = xml.child("w:document").child("w:body");
    if (!body)
        throw notADocument;
    xml_node first = firstParagraphIn(body);
    if (!first) {
        xml_node sectPr = body.child("w:sectPr");
        first = sectPr ? body.insert_child_before("w:p", sectPr) : body.append_child("w:p");
    }
    struct Collect final : pugi::xml_tree_walker {
        std::unordered_set<pugi::xml_node_struct*>* runs;
        bool for_each(xml_node& n) override {
            if (is(n, "w:r"))
                runs->insert(n.internal_object());
            return true;
        }
    } collect;
    collect.runs = &templateRuns;
    body.traverse(collect);
    placeAtStart(first);

    prototypes = xml.append_child(pugi::node_element);
    prototypes.set_name("ravnobor-prototypes");
    static const char fragment[] = "<w:r/><w:t/><w:tr/><w:tc><w:p/></w:tc>";
    prototypes.append_buffer(fragment, sizeof fragment - 1);
    protoRun = prototypes.child("w:r");
    protoText = prototypes.child("w:t");
    protoRow = prototypes.child("w:tr");
    protoCell = prototypes.child("w:tc");
}

std::vector<QByteArray> WordDocument::Impl::serializedMainPart() const {
    // Pieces instead of one growing block: a large document is never copied while written.
    static constexpr qsizetype PieceSize = 4 << 20;
    struct Writer final : pugi::xml_writer {
        std::vector<QByteArray> pieces;
        void write(const void* data, size_t size) override {
            if (pieces.empty() || pieces.back().size() + qsizetype(size) > pieces.back().capacity()) {
                pieces.emplace_back();
                pieces.back().reserve(std::max(PieceSize, qsizetype(size)));
            }
            pieces.back().append(static_cast<const char*>(data), qsizetype(size));
        }
    } writer;
    static const char declaration[] = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n";
    writer.write(declaration, sizeof declaration - 1);
    for (xml_node n = xml.first_child(); n; n = n.next_sibling()) {
        if (n.type() == pugi::node_element && n != prototypes)
            n.print(writer, "", pugi::format_raw, pugi::encoding_utf8);
    }
    return std::move(writer.pieces);
}

WordDocument::WordDocument(std::unique_ptr<Impl> impl) : d(std::move(impl)) {}
WordDocument::WordDocument(WordDocument&&) noexcept = default;
WordDocument& WordDocument::operator=(WordDocument&&) noexcept = default;
WordDocument::~WordDocument() = default;

WordDocument WordDocument::fromTemplate(const QString& templatePath) {
    auto impl = std::make_unique<Impl>();
    try {
        impl->load(OoxmlPackage::read(templatePath));
    } catch (const Error& e) {
        if (e.message().contains(templatePath))
            throw;
        throw Error(e.message() + QStringLiteral(": «%1»").arg(templatePath));
    }
    return WordDocument(std::move(impl));
}

WordDocument WordDocument::blank() {
    auto impl = std::make_unique<Impl>();
    impl->load(blankDocumentPackage());
    return WordDocument(std::move(impl));
}

QByteArray WordDocument::documentXml() const {
    QByteArray whole;
    for (const QByteArray& piece : d->serializedMainPart())
        whole += piece;
    return whole;
}

QByteArray WordDocument::toDocx() const {
    OoxmlPackage out = d->package;
    out.putPieces(d->mainPart, d->serializedMainPart());
    const OoxmlPackage::Part* types = out.find("[Content_Types].xml");
    out.put("[Content_Types].xml", typedAsDocument(types ? types->data : QByteArray(), d->mainPart));
    return out.toZip();
}

// ---- the cursor

void WordDocument::Impl::placeAtStart(xml_node p) {
    paragraph = p;
    before = paragraphStart(p);
    selectedCell = xml_node();
    pendingBold.reset();
    useKeptFormat = false;
}

void WordDocument::Impl::select(xml_node cell) {
    xml_node p = firstParagraphIn(cell);
    if (!p)
        p = cell.append_child("w:p");
    placeAtStart(p);
    selectedCell = cell;
}

xml_node WordDocument::Impl::currentCell() const {
    if (selectedCell)
        return selectedCell;
    for (xml_node n = paragraph.parent(); n && n != body; n = n.parent()) {
        if (is(n, "w:tc"))
            return n;
    }
    return {};
}

void WordDocument::Impl::removeNode(xml_node node) {
    // A freed node's memory may hold a typed run later: forget the template runs removed.
    templateRuns.erase(node.internal_object());
    if (!is(node, "w:r") && firstElement(node)) {
        struct Forget final : pugi::xml_tree_walker {
            std::unordered_set<pugi::xml_node_struct*>* runs;
            bool for_each(xml_node& n) override {
                runs->erase(n.internal_object());
                return true;
            }
        } forget;
        forget.runs = &templateRuns;
        node.traverse(forget);
    }
    node.parent().remove_child(node);
}

void WordDocument::Impl::clearCell(xml_node cell) {
    xml_node keep = paragraph.parent() == cell ? paragraph : firstParagraphIn(cell);
    if (keep && keep.parent() != cell)
        keep = xml_node(); // the first paragraph sits in a nested table: start afresh
    for (xml_node c = firstElement(cell); c;) {
        const xml_node next = nextElement(c);
        if (!is(c, "w:tcPr") && c != keep)
            removeNode(c);
        c = next;
    }
    if (!keep)
        keep = cell.append_child("w:p");
    // What replaces the text takes the formatting of its first character.
    useKeptFormat = false;
    for (xml_node c = firstElement(keep); c; c = nextElement(c)) {
        if (is(c, "w:r")) {
            keptFormat.reset();
            if (xml_node properties = runProperties(c))
                keptFormat.append_copy(properties);
            useKeptFormat = true;
            break;
        }
    }
    for (xml_node c = paragraphStart(keep); c;) {
        const xml_node next = nextElement(c);
        removeNode(c);
        c = next;
    }
    paragraph = keep;
    before = xml_node();
}

void WordDocument::Impl::settleSelection(bool replace) {
    if (!selectedCell)
        return;
    const std::optional<bool> bold = pendingBold;
    // A cell of one empty paragraph, the usual one in a growing table, has nothing to clear.
    const bool empty = !before && paragraph.parent() == selectedCell && !nextElement(paragraph) &&
                       (!previousElement(paragraph) || is(previousElement(paragraph), "w:tcPr"));
    if (replace && empty) {
        useKeptFormat = false;
    } else if (replace) {
        clearCell(selectedCell);
    } else {
        before = paragraphStart(paragraph);
    }
    selectedCell = xml_node();
    pendingBold = bold;
}

} // namespace ravnobor::documents
