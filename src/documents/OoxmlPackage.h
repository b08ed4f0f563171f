#pragma once

#include <QByteArray>
#include <QString>

#include <string>
#include <vector>

namespace ravnobor::documents {

// The parts of an Office Open XML file (a zip archive), in their archive order.
class OoxmlPackage {
public:
    struct Part {
        std::string name; // archive name, e.g. "word/document.xml"
        QByteArray data;
        // A large part may come in pieces instead, so it is never copied into one block.
        std::vector<QByteArray> pieces;
    };

    // Reads every part of a .dotx/.docx file; throws an Error naming the file when it cannot.
    static OoxmlPackage read(const QString& path);

    const Part* find(const std::string& name) const;
    // Replaces the part's data, or adds the part at the end.
    void put(const std::string& name, QByteArray data);
    void putPieces(const std::string& name, std::vector<QByteArray> pieces);
    const std::vector<Part>& parts() const { return m_parts; }

    // The whole package as zip bytes, every part deflated.
    QByteArray toZip() const;

private:
    std::vector<Part> m_parts;
};

} // namespace ravnobor::documents
