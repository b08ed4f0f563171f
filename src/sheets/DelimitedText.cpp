#include "sheets/DelimitedText.h"

#include "store/Error.h"

#include <array>

namespace ravnobor::sheets {

namespace {

// Reads records one at a time, so that a guess can stop after a few.
class RecordReader {
public:
    RecordReader(const QString& text, QChar delimiter) : m_text(text), m_delimiter(delimiter) {}
    bool atEnd() const { return m_pos >= m_text.size(); }

    QStringList next() {
        QStringList fields;
        QString field;
        bool quoted = false;
        bool fieldStarted = false;
        const qsizetype size = m_text.size();
        while (m_pos < size) {
            const QChar c = m_text[m_pos++];
            if (quoted) {
                if (c != u'"') {
                    field += c;
                } else if (m_pos < size && m_text[m_pos] == u'"') {
                    field += c;
                    ++m_pos;
                } else {
                    quoted = false;
                }
            } else if (c == u'"' && !fieldStarted) {
                quoted = true;
                fieldStarted = true;
            } else if (c == m_delimiter) {
                fields.append(field);
                field.clear();
                fieldStarted = false;
            } else if (c == u'\r' || c == u'\n') {
                if (c == u'\r' && m_pos < size && m_text[m_pos] == u'\n')
                    ++m_pos;
                break;
            } else {
                field += c;
                fieldStarted = true;
            }
        }
        fields.append(field);
        return fields;
    }

private:
    const QString& m_text;
    QChar m_delimiter;
    qsizetype m_pos = 0;
};

constexpr int GuessRecords = 20;

} // namespace

QChar guessDelimiter(const QString& text) {
    QChar best = u';';
    int bestScore = 0;
    for (const QChar candidate : std::array<QChar, 3>{u';', u'\t', u','}) {
        RecordReader reader(text, candidate);
        qsizetype firstCount = -1;
        int score = 0;
        for (int i = 0; i < GuessRecords && !reader.atEnd(); ++i) {
            const qsizetype count = reader.next().size();
            if (firstCount < 0)
                firstCount = count;
            if (count > 1 && count == firstCount)
                ++score;
        }
        if (score > bestScore) {
            best = candidate;
            bestScore = score;
        }
    }
    return best;
}

Sheet readDelimited(const QString& text, QChar delimiter) {
    Sheet sheet;
    RecordReader reader(text, delimiter);
    qint64 cells = 0;
    while (!reader.atEnd()) {
        if (int(sheet.rows.size()) >= MaxRows)
            throw Error(QStringLiteral("В таблице больше %1 строк: такую таблицу программа не читает").arg(MaxRows));
        QStringList row = reader.next();
        trimRow(row);
        cells += row.size();
        if (row.size() > MaxColumns || cells > MaxCells)
            throw Error(QStringLiteral("В таблице слишком много ячеек: такую таблицу программа не читает"));
        sheet.rows.push_back(std::move(row));
    }
    while (!sheet.rows.empty() && sheet.rows.back().isEmpty())
        sheet.rows.pop_back();
    return sheet;
}

bool looksLikeCells(const QString& text) {
    if (text.contains(u'\t'))
        return true;
    const QString body = text.trimmed();
    return body.contains(u'\n') || body.contains(u'\r');
}

} // namespace ravnobor::sheets
