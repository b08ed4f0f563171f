#pragma once

#include <QStringList>

#include <initializer_list>

namespace ravnobor::test {

// Expected texts written as plain UTF-8 literals, for tables of cases and comparisons.
inline QStringList strings(std::initializer_list<const char*> texts) {
    QStringList list;
    for (const char* text : texts)
        list << QString::fromUtf8(text);
    return list;
}

} // namespace ravnobor::test
