#pragma once

#include <QByteArray>
#include <QString>

#include <pugixml.hpp>

#include <cstring>

#include "sheets/SafeZip.h"

namespace ravnobor::sheets {

// One XML part of a zip package, parsed in its own buffer. A document type declaration
// is refused: a spreadsheet part never needs one, and its entities could point elsewhere.
class XmlPart {
public:
    XmlPart(const SafeZip& zip, const std::string& name) : m_bytes(zip.read(name)) {
        const pugi::xml_parse_result result =
            m_doc.load_buffer_inplace(m_bytes.data(), size_t(m_bytes.size()),
                                      pugi::parse_default | pugi::parse_doctype | pugi::parse_ws_pcdata_single);
        const QString shown = QString::fromStdString(name);
        if (!result)
            zip.fail(QStringLiteral("часть «%1» — не правильный XML (%2)")
                         .arg(shown, QString::fromUtf8(result.description())));
        for (const pugi::xml_node node : m_doc.children())
            if (node.type() == pugi::node_doctype)
                zip.fail(QStringLiteral("часть «%1» содержит объявление типа документа, которое программа не читает")
                             .arg(shown));
    }
    const pugi::xml_document& doc() const { return m_doc; }

private:
    QByteArray m_bytes;
    pugi::xml_document m_doc;
};

// The element's name without its namespace prefix.
inline const char* localName(const pugi::xml_node node) {
    const char* name = node.name();
    const char* colon = std::strrchr(name, ':');
    return colon ? colon + 1 : name;
}
inline bool isElement(const pugi::xml_node node, const char* local) {
    return node.type() == pugi::node_element && std::strcmp(localName(node), local) == 0;
}
inline pugi::xml_node childElement(const pugi::xml_node node, const char* local) {
    for (const pugi::xml_node child : node.children())
        if (isElement(child, local))
            return child;
    return {};
}
// An attribute by its name without prefix.
inline pugi::xml_attribute attributeOf(const pugi::xml_node node, const char* local) {
    for (const pugi::xml_attribute attr : node.attributes()) {
        const char* name = attr.name();
        const char* colon = std::strrchr(name, ':');
        if (std::strcmp(colon ? colon + 1 : name, local) == 0)
            return attr;
    }
    return {};
}

} // namespace ravnobor::sheets
