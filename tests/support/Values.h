#pragma once

#include <QVariant>

// Stored values as the fixtures write them and the tests expect them back, with their type.
namespace ravnobor::test {

inline const QVariant Null;

inline QVariant d(double v) {
    return QVariant(v);
}
inline QVariant i(qint64 v) {
    return QVariant(v);
}

} // namespace ravnobor::test
