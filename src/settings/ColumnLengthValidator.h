#pragma once

#include <QValidator>

class QLineEdit;

namespace ravnobor {

// Typing stops at the column's length. A longer text that the case already holds is
// shown whole: it may get shorter but never longer again. (QLineEdit::setMaxLength
// would cut it on setText, and resets the edit's modified flag whenever it is changed.)
class ColumnLengthValidator final : public QValidator {
    Q_OBJECT
public:
    ColumnLengthValidator(int columnLength, QLineEdit* edit);

    // The text just shown came from the case and may be longer than the column allows.
    void allowStoredLength(int storedLength);

    State validate(QString& input, int& pos) const override;

private:
    int m_columnLength;
    int m_allowed;
};

} // namespace ravnobor
