#include "settings/ColumnLengthValidator.h"

#include <QLineEdit>

#include <algorithm>

namespace ravnobor {

ColumnLengthValidator::ColumnLengthValidator(int columnLength, QLineEdit* edit)
    : QValidator(edit), m_columnLength(columnLength), m_allowed(columnLength) {
    connect(edit, &QLineEdit::textEdited, this, [this](const QString& text) {
        m_allowed = std::max(m_columnLength, std::min(m_allowed, int(text.size())));
    });
}

void ColumnLengthValidator::allowStoredLength(int storedLength) {
    m_allowed = std::max(m_columnLength, storedLength);
}

QValidator::State ColumnLengthValidator::validate(QString& input, int& pos) const {
    const int excess = int(input.size()) - m_allowed;
    if (excess <= 0)
        return Acceptable;
    // Keep what fits of an insertion that ends at the cursor, as a length limit does with a paste.
    if (pos - excess < 0)
        return Invalid;
    input.remove(pos - excess, excess);
    pos -= excess;
    return Acceptable;
}

} // namespace ravnobor
