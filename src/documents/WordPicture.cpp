// Pictures: an image part beside the main part and a drawing in a run that shows it.
#include "documents/WordDocumentImpl.h"

#include <algorithm>
#include <string>

namespace ravnobor::documents {

using namespace wml;

namespace {

constexpr const char* RelationshipsNamespace = "http://schemas.openxmlformats.org/package/2006/relationships";
constexpr const char* ImageRelationship = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/image";

QByteArray saved(const pugi::xml_document& doc) {
    struct Writer final : pugi::xml_writer {
        QByteArray bytes;
        void write(const void* data, size_t size) override {
            bytes.append(static_cast<const char*>(data), qsizetype(size));
        }
    } writer;
    doc.save(writer, "", pugi::format_raw, pugi::encoding_utf8);
    return writer.bytes;
}

// A part of the package parsed, or an empty document when it is missing.
void loadPart(const OoxmlPackage& package, const std::string& name, pugi::xml_document& doc) {
    if (const OoxmlPackage::Part* part = package.find(name))
        doc.load_buffer(part->data.constData(), size_t(part->data.size()));
}

// The relationships part of a part: word/document.xml -> word/_rels/document.xml.rels.
std::string relationshipsOf(const std::string& part) {
    const size_t slash = part.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string() : part.substr(0, slash + 1);
    return folder + "_rels/" + part.substr(slash == std::string::npos ? 0 : slash + 1) + ".rels";
}

void declareNamespace(xml_node root, const char* attribute, const char* uri) {
    if (!root.attribute(attribute))
        root.append_attribute(attribute) = uri;
}

std::string drawingXml(const std::string& relationship, int id, qint64 cx, qint64 cy) {
    const std::string size = "cx=\"" + std::to_string(cx) + "\" cy=\"" + std::to_string(cy) + "\"";
    const std::string number = std::to_string(id);
    return "<w:drawing><wp:inline distT=\"0\" distB=\"0\" distL=\"0\" distR=\"0\"><wp:extent " + size +
           "/><wp:docPr id=\"" + number + "\" name=\"Рисунок " + number +
           "\"/><a:graphic><a:graphicData uri=\"http://schemas.openxmlformats.org/drawingml/2006/picture\">"
           "<pic:pic><pic:nvPicPr><pic:cNvPr id=\"" +
           number + "\" name=\"image" + number +
           ".png\"/><pic:cNvPicPr/></pic:nvPicPr><pic:blipFill><a:blip r:embed=\"" + relationship +
           "\"/><a:stretch><a:fillRect/></a:stretch></pic:blipFill><pic:spPr><a:xfrm><a:off x=\"0\" y=\"0\"/><a:ext " +
           size +
           "/></a:xfrm><a:prstGeom prst=\"rect\"><a:avLst/></a:prstGeom></pic:spPr></pic:pic>"
           "</a:graphicData></a:graphic></wp:inline></w:drawing>";
}

} // namespace

std::string WordDocument::Impl::addImagePart(const QByteArray& png) {
    int number = 1;
    while (package.find("word/media/image" + std::to_string(number) + ".png"))
        ++number;
    const std::string media = "media/image" + std::to_string(number) + ".png";
    package.put("word/" + media, png);

    pugi::xml_document types;
    loadPart(package, "[Content_Types].xml", types);
    xml_node root = types.child("Types");
    if (!root) {
        root = types.append_child("Types");
        root.append_attribute("xmlns") = "http://schemas.openxmlformats.org/package/2006/content-types";
    }
    if (!root.find_child_by_attribute("Default", "Extension", "png")) {
        xml_node png = root.prepend_child("Default");
        png.append_attribute("Extension") = "png";
        png.append_attribute("ContentType") = "image/png";
    }
    package.put("[Content_Types].xml", saved(types));

    const std::string relsName = relationshipsOf(mainPart);
    pugi::xml_document rels;
    loadPart(package, relsName, rels);
    xml_node relationships = rels.child("Relationships");
    if (!relationships) {
        relationships = rels.append_child("Relationships");
        relationships.append_attribute("xmlns") = RelationshipsNamespace;
    }
    std::string id = "rIdImage" + std::to_string(number);
    while (relationships.find_child_by_attribute("Relationship", "Id", id.c_str()))
        id += "x";
    xml_node relationship = relationships.append_child("Relationship");
    relationship.append_attribute("Id") = id.c_str();
    relationship.append_attribute("Type") = ImageRelationship;
    relationship.append_attribute("Target") = media.c_str();
    package.put(relsName, saved(rels));
    return id;
}

void WordDocument::replaceWithPicture(const QString& findText, const QByteArray& png, qint64 widthEmu,
                                      qint64 heightEmu) {
    xml_node run = d->replaceOnce(findText);
    if (!run)
        return;
    const std::string relationship = d->addImagePart(png);
    xml_node root = d->xml.document_element();
    declareNamespace(root, "xmlns:r", "http://schemas.openxmlformats.org/officeDocument/2006/relationships");
    declareNamespace(root, "xmlns:wp", "http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing");
    declareNamespace(root, "xmlns:a", "http://schemas.openxmlformats.org/drawingml/2006/main");
    declareNamespace(root, "xmlns:pic", "http://schemas.openxmlformats.org/drawingml/2006/picture");
    // Drawing ids are unique in the document; templates number theirs from 1.
    const int id =
        1000 + int(std::count_if(d->package.parts().begin(), d->package.parts().end(),
                                 [](const OoxmlPackage::Part& p) { return p.name.starts_with("word/media/"); }));
    const std::string xml = drawingXml(relationship, id, widthEmu, heightEmu);
    run.append_buffer(xml.data(), xml.size());
}

} // namespace ravnobor::documents
