#pragma once

#include <QByteArray>
#include <QString>

namespace ravnobor::sheets {

// Text from a file of unknown encoding: UTF-8 with or without a byte order mark when
// the bytes are valid UTF-8, otherwise Windows-1251, which Russian spreadsheet programs write.
QString decodeText(const QByteArray& bytes);
QString fromWindows1251(const QByteArray& bytes);

} // namespace ravnobor::sheets
