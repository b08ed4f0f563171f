#include "support/BoardCase.h"

#include "board/BoardColumnModel.h"
#include "board/BoardListView.h"
#include "shell/TFormMain.h"
#include "store/Database.h"
#include "store/TDataModule1.h"

#include <QAction>
#include <QTest>

namespace ravnobor::test {

BoardCase::BoardCase(const QList<ItemRow>& rows, const std::function<void(const QString&)>& prepare) {
    path = tp.path(QStringLiteral("Дело.rvb"));
    makeCase(path, rows);
    if (prepare)
        prepare(path);
    tp.start({path});
    form().show();
    QVERIFY(QTest::qWaitForWindowExposed(&form()));
}

TFormMain& BoardCase::form() {
    return program().formMain();
}

board::BoardListView* BoardCase::list(const char* name) {
    return form().findChild<board::BoardListView*>(QString::fromLatin1(name));
}

QStringList BoardCase::names(board::BoardListView* view) {
    QStringList out;
    for (const auto& row : view->columnModel().rows())
        out << row.name;
    return out;
}

void BoardCase::select(board::BoardListView* view, int row) {
    view->selectionModel()->select(view->model()->index(row, 0),
                                   QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void BoardCase::trigger(const char* action) {
    QAction* act = form().findChild<QAction*>(QString::fromLatin1(action));
    QVERIFY2(act, action);
    QVERIFY2(act->isEnabled(), action);
    act->trigger();
}

QVariant BoardCase::stored(qint64 key, const char* column) {
    store::Statement s =
        program().dataModule().connection().prepare(QStringLiteral("SELECT %1 FROM \"Таблица\" WHERE \"Код\" = ?")
                                                        .arg(store::quoteIdentifier(QString::fromUtf8(column))));
    s.bind(1, key);
    return s.step() ? s.value(0) : QVariant(QStringLiteral("нет строки"));
}

} // namespace ravnobor::test
