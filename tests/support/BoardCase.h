#pragma once

#include "support/TestProgram.h"

#include <QStringList>
#include <QVariant>

#include <functional>

namespace ravnobor {
class TFormMain;
namespace board {
class BoardListView;
}
} // namespace ravnobor

namespace ravnobor::test {

// A whole program started on a case made from these rows, its main window shown: the
// board's lists by name, a selection, a command by its action, a stored value.
class BoardCase {
public:
    // `prepare` may change the case file before the program opens it.
    explicit BoardCase(const QList<ItemRow>& rows, const std::function<void(const QString&)>& prepare = {});

    Program& program() { return tp.program(); }
    TFormMain& form();
    board::BoardListView* list(const char* name);
    board::BoardListView* left() { return list("ListView2"); }
    board::BoardListView* centre() { return list("ListView1"); }
    board::BoardListView* right() { return list("ListView3"); }
    // The names in the list, in list order.
    QStringList names(board::BoardListView* view);
    void select(board::BoardListView* view, int row);
    // Triggers the action of that name, which must be there and enabled.
    void trigger(const char* action);
    // The stored value of the row with key `key` (Код) in the column of that name.
    QVariant stored(qint64 key, const char* column = "1_ц1");

    TestProgram tp;
    QString path;
};

} // namespace ravnobor::test
