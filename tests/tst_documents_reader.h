#pragma once

// Reads a produced .docx as a reader would see it: paragraph texts, table cells, bold.

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>

#include <pugixml.hpp>
#include <zip.h>

#include <cstring>
#include <vector>

namespace ravnobor::test {

inline QByteArray zipPart(const QByteArray& zipBytes, const char* name) {
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(zipBytes.constData(), zip_uint64_t(zipBytes.size()), 0, &error);
    zip_t* archive = source ? zip_open_from_source(source, ZIP_RDONLY, &error) : nullptr;
    QByteArray data;
    if (!archive) {
        zip_source_free(source);
        return data;
    }
    zip_stat_t stat;
    if (zip_stat(archive, name, 0, &stat) == 0) {
        if (zip_file_t* file = zip_fopen(archive, name, 0)) {
            data.resize(qsizetype(stat.size));
            zip_fread(file, data.data(), stat.size);
            zip_fclose(file);
        }
    }
    zip_close(archive);
    return data;
}

inline QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool named(pugi::xml_node n, const char* name) {
    return n.type() == pugi::node_element && std::strcmp(n.name(), name) == 0;
}

// What a reader sees of a run: its text, tabs and line breaks.
inline QString runText(pugi::xml_node run) {
    QString text;
    for (pugi::xml_node c : run.children()) {
        if (named(c, "w:t"))
            text += QString::fromUtf8(c.text().get());
        else if (named(c, "w:tab"))
            text += u'\t';
        else if (named(c, "w:br"))
            text += u'\n';
    }
    return text;
}

inline bool runIsBold(pugi::xml_node run) {
    pugi::xml_node b = run.child("w:rPr").child("w:b");
    const std::string val = b.attribute("w:val").value();
    return b && val != "0" && val != "false" && val != "off";
}

inline QString paragraphText(pugi::xml_node p) {
    QString text;
    for (pugi::xml_node r : p.children("w:r"))
        text += runText(r);
    return text;
}

inline QString cellText(pugi::xml_node tc) {
    QStringList paragraphs;
    for (pugi::xml_node p : tc.children("w:p"))
        paragraphs << paragraphText(p);
    return paragraphs.join(u'\n');
}

// Bold when the cell holds text and every run with text in it is bold.
inline bool cellIsBold(pugi::xml_node tc) {
    bool any = false;
    for (pugi::xml_node p : tc.children("w:p")) {
        for (pugi::xml_node r : p.children("w:r")) {
            if (runText(r).isEmpty())
                continue;
            any = true;
            if (!runIsBold(r))
                return false;
        }
    }
    return any;
}

class DocxReader {
public:
    explicit DocxReader(const QByteArray& docx) : m_docx(docx) {
        m_xml = zipPart(docx, "word/document.xml");
        m_parsed = bool(m_doc.load_buffer(m_xml.constData(), size_t(m_xml.size()),
                                          pugi::parse_default | pugi::parse_ws_pcdata_single));
        m_body = m_doc.child("w:document").child("w:body");
    }
    static DocxReader fromFile(const QString& path) { return DocxReader(fileBytes(path)); }

    bool parsed() const { return m_parsed && m_body; }
    const QByteArray& xml() const { return m_xml; }
    QByteArray part(const char* name) const { return zipPart(m_docx, name); }

    // Paragraphs of the body outside tables.
    QStringList paragraphs() const {
        QStringList texts;
        for (pugi::xml_node p : m_body.children("w:p"))
            texts << paragraphText(p);
        return texts;
    }
    QString text() const { return paragraphs().join(u'\n'); }

    pugi::xml_node table(int index = 0) const {
        int i = 0;
        for (pugi::xml_node t : m_body.children("w:tbl")) {
            if (i++ == index)
                return t;
        }
        return {};
    }
    std::vector<QStringList> rows(int tableIndex = 0) const {
        std::vector<QStringList> result;
        for (pugi::xml_node tr : table(tableIndex).children("w:tr")) {
            QStringList cells;
            for (pugi::xml_node tc : tr.children("w:tc"))
                cells << cellText(tc);
            result.push_back(cells);
        }
        return result;
    }
    pugi::xml_node cell(int row, int column, int tableIndex = 0) const {
        int r = 0;
        for (pugi::xml_node tr : table(tableIndex).children("w:tr")) {
            if (r++ != row)
                continue;
            int c = 0;
            for (pugi::xml_node tc : tr.children("w:tc")) {
                if (c++ == column)
                    return tc;
            }
        }
        return {};
    }
    QString mainContentType() const {
        pugi::xml_document types;
        const QByteArray bytes = part("[Content_Types].xml");
        types.load_buffer(bytes.constData(), size_t(bytes.size()));
        for (pugi::xml_node o : types.child("Types").children("Override")) {
            if (std::strcmp(o.attribute("PartName").value(), "/word/document.xml") == 0)
                return QString::fromUtf8(o.attribute("ContentType").value());
        }
        return {};
    }

private:
    QByteArray m_docx;
    QByteArray m_xml;
    pugi::xml_document m_doc;
    pugi::xml_node m_body;
    bool m_parsed = false;
};

} // namespace ravnobor::test
