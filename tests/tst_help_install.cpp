// The installed program: every file where the program and the desktop look for it.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

namespace {

QString buildDir() {
    return QDir::cleanPath(QStringLiteral(RAVNOBOR_BIN_DIR) + QStringLiteral("/.."));
}

struct Run {
    int exitCode = -1;
    QString output;
};

Run run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    Run result;
    if (!process.waitForStarted(10000)) {
        result.output = process.errorString();
        return result;
    }
    process.waitForFinished(120000);
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.output = QString::fromUtf8(process.readAll());
    return result;
}

// Key=value lines of the [Desktop Entry] group.
QMap<QString, QString> desktopEntry(const QString& path) {
    QFile file(path);
    QMap<QString, QString> keys;
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return keys;
    bool inGroup = false;
    for (const QString& line : QString::fromUtf8(file.readAll()).split(u'\n')) {
        if (line.startsWith(u'['))
            inGroup = line == QStringLiteral("[Desktop Entry]");
        else if (inGroup && line.contains(u'='))
            keys.insert(line.section(u'=', 0, 0), line.section(u'=', 1));
    }
    return keys;
}

} // namespace

class TestHelpInstall : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void filesAreWhereTheDesktopLooks_data();
    void filesAreWhereTheDesktopLooks();
    void installedProgramFindsItsData();
    void desktopEntry();
    void desktopEntryPassesValidation();
    void mimePackage();
    void mimeDatabaseTakesThePackage();

private:
    QTemporaryDir m_prefix;
    QString installed(const QString& path) const { return m_prefix.path() + u'/' + path; }
};

void TestHelpInstall::initTestCase() {
    QVERIFY(m_prefix.isValid());
    const QString cmake = QStandardPaths::findExecutable(QStringLiteral("cmake"));
    QVERIFY2(!cmake.isEmpty(), "cmake is on PATH");
    const Run install =
        run(cmake, {QStringLiteral("--install"), buildDir(), QStringLiteral("--prefix"), m_prefix.path()});
    QVERIFY2(install.exitCode == 0, qPrintable(install.output));
}

void TestHelpInstall::filesAreWhereTheDesktopLooks_data() {
    QTest::addColumn<QString>("path");
    for (const char* path :
         {"bin/ravnobor", "share/ravnobor/default.mdb", "share/ravnobor/Пример.rvb", "share/ravnobor/help/index.html",
          "share/ravnobor/help/780.html", "share/ravnobor/help/style.css", "share/ravnobor/help/ravnobor.svg",
          "share/applications/org.example.ravnobor.desktop", "share/icons/hicolor/scalable/apps/ravnobor.svg",
          "share/mime/packages/ravnobor.xml", "share/metainfo/org.example.ravnobor.metainfo.xml",
          "share/man/man1/ravnobor.1.gz"})
        QTest::newRow(path) << QString::fromUtf8(path);
}

void TestHelpInstall::filesAreWhereTheDesktopLooks() {
    QFETCH(QString, path);
    const QFileInfo file(installed(path));
    QVERIFY2(file.isFile(), qPrintable(file.filePath()));
    QVERIFY(file.size() > 0);
    if (path.startsWith(QStringLiteral("bin/")))
        QVERIFY(file.isExecutable());
}

void TestHelpInstall::installedProgramFindsItsData() {
    // The program looks in ../share/ravnobor beside its executable; every built help page goes there.
    const QDir built(QStringLiteral(RAVNOBOR_BIN_DIR) + QStringLiteral("/help"));
    const QDir share(installed(QStringLiteral("bin/../share/ravnobor/help")));
    QVERIFY(share.exists());
    QCOMPARE(share.entryList(QDir::Files), built.entryList(QDir::Files));
    QVERIFY(!QFileInfo::exists(installed(QStringLiteral("bin/default.mdb"))));
}

void TestHelpInstall::desktopEntry() {
    const auto keys = ::desktopEntry(installed(QStringLiteral("share/applications/org.example.ravnobor.desktop")));
    QCOMPARE(keys.value(QStringLiteral("Type")), QStringLiteral("Application"));
    QCOMPARE(keys.value(QStringLiteral("Name")), QStringLiteral("Ravnobor"));
    QCOMPARE(keys.value(QStringLiteral("Name[ru]")), QStringLiteral("Равнобор"));
    QCOMPARE(keys.value(QStringLiteral("Exec")), QStringLiteral("ravnobor %f"));
    QCOMPARE(keys.value(QStringLiteral("Icon")), QStringLiteral("ravnobor"));
    QVERIFY(keys.value(QStringLiteral("Categories")).split(u';').contains(QStringLiteral("Office")));
    QVERIFY(keys.value(QStringLiteral("MimeType")).split(u';').contains(QStringLiteral("application/x-ravnobor")));
    QCOMPARE(keys.value(QStringLiteral("Terminal")), QStringLiteral("false"));
    QCOMPARE(keys.value(QStringLiteral("Categories")), QStringLiteral("Office;Finance;"));
    QCOMPARE(keys.value(QStringLiteral("StartupWMClass")), QStringLiteral("org.example.ravnobor"));
}

void TestHelpInstall::desktopEntryPassesValidation() {
    const QString validator = QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
    if (validator.isEmpty())
        QSKIP("desktop-file-validate is not installed (Debian package desktop-file-utils)");
    const Run check = run(validator, {installed(QStringLiteral("share/applications/org.example.ravnobor.desktop"))});
    QVERIFY2(check.exitCode == 0, qPrintable(check.output));
    QVERIFY2(check.output.trimmed().isEmpty(), qPrintable(check.output)); // no warnings either
}

void TestHelpInstall::mimePackage() {
    QFile file(installed(QStringLiteral("share/mime/packages/ravnobor.xml")));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&file);
    QStringList seen; // element, its attributes and text, in document order
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        QString entry = xml.name().toString();
        if (xml.name() == QStringLiteral("mime-info"))
            entry += u' ' + xml.namespaceUri().toString();
        for (const QXmlStreamAttribute& attribute : xml.attributes())
            entry += u' ' + attribute.qualifiedName().toString() + u'=' + attribute.value().toString();
        if (xml.name() == QStringLiteral("comment"))
            entry += QStringLiteral(": ") + xml.readElementText();
        seen << entry;
    }
    QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
    QCOMPARE(seen, (QStringList{
                       QStringLiteral("mime-info http://www.freedesktop.org/standards/shared-mime-info"),
                       QStringLiteral("mime-type type=application/x-ravnobor"),
                       QStringLiteral("comment: Ravnobor case file"),
                       QStringLiteral("comment xml:lang=ru: Файл программы Равнобор"),
                       QStringLiteral("sub-class-of type=application/vnd.sqlite3"),
                       QStringLiteral("generic-icon name=x-office-document"),
                       QStringLiteral("glob pattern=*.rvb case-sensitive=true"),
                   }));
}

void TestHelpInstall::mimeDatabaseTakesThePackage() {
    const QString updater = QStandardPaths::findExecutable(QStringLiteral("update-mime-database"));
    if (updater.isEmpty())
        QSKIP("update-mime-database is not installed (Debian package shared-mime-info)");
    const Run update = run(updater, {installed(QStringLiteral("share/mime"))});
    QVERIFY2(update.exitCode == 0, qPrintable(update.output));
    QFile compiled(installed(QStringLiteral("share/mime/application/x-ravnobor.xml")));
    QVERIFY2(compiled.open(QIODevice::ReadOnly), "update-mime-database compiled the type");
    const QString text = QString::fromUtf8(compiled.readAll());
    QVERIFY(text.contains(QStringLiteral("Файл программы Равнобор")));
    QFile globs(installed(QStringLiteral("share/mime/globs2")));
    QVERIFY(globs.open(QIODevice::ReadOnly));
    QVERIFY(QString::fromUtf8(globs.readAll()).contains(QStringLiteral("application/x-ravnobor:*.rvb:cs")));
}

QTEST_GUILESS_MAIN(TestHelpInstall)
#include "tst_help_install.moc"
