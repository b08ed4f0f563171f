// Builds a case database from SQL text at build time: mkdb <out.db> <file.sql>...
#include "store/Database.h"
#include "store/Error.h"

#include <QFile>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: mkdb <out.db> <file.sql>...\n");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    QFile::remove(out);
    try {
        ravnobor::store::Database db(out, ravnobor::store::Database::Mode::Create);
        for (int i = 2; i < argc; ++i) {
            QFile sql(QString::fromLocal8Bit(argv[i]));
            if (!sql.open(QIODevice::ReadOnly)) {
                std::fprintf(stderr, "mkdb: cannot read %s\n", argv[i]);
                return 1;
            }
            db.execute(QString::fromUtf8(sql.readAll()));
        }
    } catch (const ravnobor::Error& e) {
        std::fprintf(stderr, "mkdb: %s\n", e.what());
        QFile::remove(out);
        return 1;
    }
    return 0;
}
