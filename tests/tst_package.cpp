// The Debian package, built from this build tree and checked as a user would get it.
#include "Version.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

QString buildDir() {
    return QDir::cleanPath(QStringLiteral(RAVNOBOR_BIN_DIR) + QStringLiteral("/.."));
}

struct Run {
    int exitCode = -1;
    QString out;
    QString err;
};

Run run(const QString& program, const QStringList& arguments, const QProcessEnvironment& environment = {}) {
    QProcess process;
    QProcessEnvironment env = environment.isEmpty() ? QProcessEnvironment::systemEnvironment() : environment;
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8")); // names as UTF-8, not escaped
    process.setProcessEnvironment(env);
    process.start(program, arguments);
    Run result;
    if (!process.waitForStarted(10000)) {
        result.err = process.errorString();
        return result;
    }
    process.waitForFinished(300000);
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.out = QString::fromUtf8(process.readAllStandardOutput());
    result.err = QString::fromUtf8(process.readAllStandardError());
    return result;
}

QString tool(const char* name) {
    return QStandardPaths::findExecutable(QString::fromLatin1(name));
}

QFile::Permissions modeBits(const QString& path) {
    return QFileInfo(path).permissions() &
           (QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::WriteGroup |
            QFile::ExeGroup | QFile::ReadOther | QFile::WriteOther | QFile::ExeOther);
}

} // namespace

class TestPackage : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void packageHoldsTheInstalledFiles();
    void controlFields();
    void dependsOnTheLinkedLibraries();
    void unpackedProgramAnswersWithoutDisplay();
    void unpackedProgramNamesFilesInsideThePackage();
    void unpackedProgramKeepsItsWorkingCopyPrivate();
    void metainfoPassesValidation();
    void desktopEntryPassesValidation();
    void manPageRendersWithoutWarnings();

private:
    QString unpacked(const QString& path) const { return m_root.path() + u'/' + path; }
    QString field(const QString& name) const;
    Run runUnpacked(const QStringList& arguments, const QString& dataHome, bool display) const;

    QTemporaryDir m_out;
    QTemporaryDir m_root;
    QString m_deb;
};

void TestPackage::initTestCase() {
    if (tool("dpkg-deb").isEmpty())
        QSKIP("dpkg-deb is not installed (Debian package dpkg): the package cannot be built or read");
    QVERIFY(m_out.isValid() && m_root.isValid());
    const QString cpack = tool("cpack");
    QVERIFY2(!cpack.isEmpty(), "cpack is on PATH (Debian package cmake)");
    const Run build =
        run(cpack, {QStringLiteral("-G"), QStringLiteral("DEB"), QStringLiteral("--config"),
                    buildDir() + QStringLiteral("/CPackConfig.cmake"), QStringLiteral("-B"), m_out.path()});
    QVERIFY2(build.exitCode == 0, qPrintable(build.out + build.err));
    const QString architecture = run(tool("dpkg"), {QStringLiteral("--print-architecture")}).out.trimmed();
    m_deb =
        m_out.filePath(QStringLiteral("ravnobor_%1_%2.deb").arg(QLatin1String(ravnobor::ProgramVersion), architecture));
    QVERIFY2(QFileInfo::exists(m_deb), qPrintable(QDir(m_out.path()).entryList().join(u' ')));
    const Run unpack = run(tool("dpkg-deb"), {QStringLiteral("-x"), m_deb, m_root.path()});
    QVERIFY2(unpack.exitCode == 0, qPrintable(unpack.err));
}

void TestPackage::packageHoldsTheInstalledFiles() {
    const Run list = run(tool("dpkg-deb"), {QStringLiteral("-c"), m_deb});
    QCOMPARE(list.exitCode, 0);
    // "-rw-r--r-- root/root  1234 2026-12-11 10:00 ./usr/share/..."; folders end in "/".
    static const QRegularExpression line(QStringLiteral("^(\\S+)\\s+\\S+\\s+\\d+\\s+\\S+\\s+\\S+\\s+\\./(.*)$"));
    QStringList files;
    for (const QString& text : list.out.split(u'\n', Qt::SkipEmptyParts)) {
        const QRegularExpressionMatch match = line.match(text);
        QVERIFY2(match.hasMatch(), qPrintable(text));
        if (!match.captured(2).endsWith(u'/'))
            files << match.captured(2);
        if (match.captured(2) == QStringLiteral("usr/bin/ravnobor"))
            QCOMPARE(match.captured(1), QStringLiteral("-rwxr-xr-x"));
    }
    QStringList expected{QStringLiteral("usr/bin/ravnobor"),
                         QStringLiteral("usr/share/applications/org.example.ravnobor.desktop"),
                         QStringLiteral("usr/share/icons/hicolor/scalable/apps/ravnobor.svg"),
                         QStringLiteral("usr/share/man/man1/ravnobor.1.gz"),
                         QStringLiteral("usr/share/metainfo/org.example.ravnobor.metainfo.xml"),
                         QStringLiteral("usr/share/mime/packages/ravnobor.xml"),
                         QStringLiteral("usr/share/ravnobor/default.mdb"),
                         QStringLiteral("usr/share/ravnobor/Пример.rvb"),
                         QStringLiteral("usr/share/ravnobor/Отчет.dotx"),
                         QStringLiteral("usr/share/ravnobor/Список.dotx")};
    const QDir help(QStringLiteral(RAVNOBOR_BIN_DIR) + QStringLiteral("/help"));
    const QStringList pages = help.entryList(QDir::Files);
    QVERIFY(pages.contains(QStringLiteral("index.html")) && pages.size() > 10);
    for (const QString& page : pages)
        expected << QStringLiteral("usr/share/ravnobor/help/") + page;
    files.sort();
    expected.sort();
    QCOMPARE(files, expected);
}

QString TestPackage::field(const QString& name) const {
    return run(tool("dpkg-deb"), {QStringLiteral("-f"), m_deb, name}).out.trimmed();
}

void TestPackage::controlFields() {
    QCOMPARE(field(QStringLiteral("Package")), QStringLiteral("ravnobor"));
    QCOMPARE(field(QStringLiteral("Version")), QLatin1String(ravnobor::ProgramVersion));
    QCOMPARE(field(QStringLiteral("Section")), QStringLiteral("misc"));
    QCOMPARE(field(QStringLiteral("Priority")), QStringLiteral("optional"));
    QCOMPARE(field(QStringLiteral("Maintainer")), QStringLiteral("Ravnobor developers <rb@example.org>"));
    QCOMPARE(field(QStringLiteral("Homepage")), QStringLiteral("https://example.org/ravnobor/"));
    const QStringList description = field(QStringLiteral("Description")).split(u'\n');
    QCOMPARE(description.first(), QStringLiteral("раздел совместно нажитого имущества двух сторон"));
    QVERIFY(description.size() > 5);
    QCOMPARE(description.at(1),
             QStringLiteral(" Равнобор помогает юристу разделить совместно нажитое имущество двух сторон"));
    QVERIFY2(description.contains(QStringLiteral(" .")), "the two paragraphs of the long description");
}

void TestPackage::dependsOnTheLinkedLibraries() {
    // "libc6 (>= 2.34), libqt6core6 (>= 6.4.0), ..." as dpkg-shlibdeps found them.
    QStringList packages;
    for (const QString& dependency : field(QStringLiteral("Depends")).split(u','))
        packages << dependency.trimmed().section(u' ', 0, 0);
    for (const char* library : {"libqt6core6", "libqt6gui6", "libqt6widgets6", "libqt6svg6", "libsqlite3-0", "libzip4",
                                "libpugixml1v5", "libstdc++6", "libc6"})
        QVERIFY2(packages.contains(QString::fromLatin1(library)), qPrintable(packages.join(u' ')));
}

Run TestPackage::runUnpacked(const QStringList& arguments, const QString& dataHome, bool display) const {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QString::fromLatin1(name));
    if (display)
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), dataHome);
    return run(unpacked(QStringLiteral("usr/bin/ravnobor")), arguments, environment);
}

void TestPackage::unpackedProgramAnswersWithoutDisplay() {
    QTemporaryDir data;
    const Run version = runUnpacked({QStringLiteral("--version")}, data.path(), false);
    QCOMPARE(version.err, QString());
    QCOMPARE(version.out, QStringLiteral("Равнобор ") + QLatin1String(ravnobor::ProgramVersion) + u'\n');
    QCOMPARE(version.exitCode, 0);
    const Run unknown = runUnpacked({QStringLiteral("--open")}, data.path(), false);
    QCOMPARE(unknown.exitCode, 2);
    QCOMPARE(unknown.err.section(u'\n', 0, 0), QStringLiteral("ravnobor: неизвестный параметр «--open»"));
}

void TestPackage::unpackedProgramNamesFilesInsideThePackage() {
    QTemporaryDir data;
    const Run help = runUnpacked({QStringLiteral("--help")}, data.path(), false);
    QCOMPARE(help.exitCode, 0);
    QCOMPARE(help.err, QString());
    QMap<QString, QString> paths;
    for (const QString& line : help.out.split(u'\n')) {
        const qsizetype colon = line.indexOf(QStringLiteral(": /"));
        if (colon > 0)
            paths.insert(line.left(colon), line.mid(colon + 2));
    }
    const QString share = QDir(unpacked(QStringLiteral("usr/share/ravnobor"))).canonicalPath();
    QCOMPARE(paths.value(QStringLiteral("Шаблон")), share + QStringLiteral("/default.mdb"));
    QCOMPARE(paths.value(QStringLiteral("Пример")), share + QStringLiteral("/Пример.rvb"));
    QCOMPARE(paths.value(QStringLiteral("Справка")), share + QStringLiteral("/help/index.html"));
    for (const char* name : {"Шаблон", "Пример", "Справка"}) {
        const QFileInfo file(paths.value(QString::fromUtf8(name)));
        QVERIFY2(file.isFile() && file.size() > 0, qPrintable(file.filePath()));
    }
    // Never beside the executable, even though this folder (and /usr/bin for root) could be written.
    QCOMPARE(paths.value(QStringLiteral("Рабочая копия")), data.path() + QStringLiteral("/ravnobor/temp.rvb"));
    QVERIFY(paths.value(QStringLiteral("Папка документов")).endsWith(QStringLiteral("/Равнобор")));
}

void TestPackage::unpackedProgramKeepsItsWorkingCopyPrivate() {
    QTemporaryDir data;
    QTemporaryDir home; // its documents folder gets the example
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), data.path());
    environment.insert(QStringLiteral("HOME"), home.path());
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral(".config")));
    QProcess program;
    program.setProcessEnvironment(environment);
    program.start(unpacked(QStringLiteral("usr/bin/ravnobor")), {});
    QVERIFY(program.waitForStarted(10000));
    const QString folder = data.path() + QStringLiteral("/ravnobor");
    const QString copy = folder + QStringLiteral("/temp.rvb");
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(copy).size() > 0, 60000);
    program.kill();
    program.waitForFinished(10000);
    QCOMPARE(modeBits(folder), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QCOMPARE(modeBits(copy), QFile::ReadOwner | QFile::WriteOwner);
    QCOMPARE(QDir(unpacked(QStringLiteral("usr/bin"))).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             QStringList{QStringLiteral("ravnobor")});
    QVERIFY(!QFileInfo::exists(unpacked(QStringLiteral("usr/share/ravnobor/temp.rvb"))));
}

void TestPackage::metainfoPassesValidation() {
    const QString validator = tool("appstreamcli");
    if (validator.isEmpty())
        QSKIP("appstreamcli is not installed (Debian package appstream)");
    const QString metainfo = unpacked(QStringLiteral("usr/share/metainfo/org.example.ravnobor.metainfo.xml"));
    const Run check = run(validator, {QStringLiteral("validate"), QStringLiteral("--no-net"), metainfo});
    QVERIFY2(check.exitCode == 0, qPrintable(check.out + check.err));
    QFile file(metainfo);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());
    QVERIFY(
        text.contains(QStringLiteral("<release version=\"%1\" date=\"").arg(QLatin1String(ravnobor::ProgramVersion))));
    QVERIFY(text.contains(QStringLiteral("<launchable type=\"desktop-id\">org.example.ravnobor.desktop</launchable>")));
    QVERIFY(!text.contains(u'@')); // every value filled in
}

void TestPackage::desktopEntryPassesValidation() {
    const QString validator = tool("desktop-file-validate");
    if (validator.isEmpty())
        QSKIP("desktop-file-validate is not installed (Debian package desktop-file-utils)");
    const Run check = run(validator, {unpacked(QStringLiteral("usr/share/applications/org.example.ravnobor.desktop"))});
    QVERIFY2(check.exitCode == 0, qPrintable(check.out + check.err));
    QCOMPARE(check.out + check.err, QString());
}

void TestPackage::manPageRendersWithoutWarnings() {
    const QString man = tool("man");
    if (man.isEmpty())
        QSKIP("man is not installed (Debian package man-db)");
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("MANWIDTH"), QStringLiteral("80"));
    environment.insert(QStringLiteral("MANPAGER"), QStringLiteral("cat"));
    const Run page = run(man,
                         {QStringLiteral("--warnings=w"), QStringLiteral("-l"),
                          unpacked(QStringLiteral("usr/share/man/man1/ravnobor.1.gz"))},
                         environment);
    QCOMPARE(page.err, QString());
    QCOMPARE(page.exitCode, 0);
    for (const char* text : {"ravnobor [ФАЙЛ.rvb]", "ravnobor ПАРАМЕТР", "-h, --help", "-v, --version", "ФАЙЛЫ",
                             "~/.local/share/ravnobor/temp.rvb", "/usr/share/ravnobor/default.mdb",
                             "~/Документы/Равнобор", "КОД ВОЗВРАТА"})
        QVERIFY2(page.out.contains(QString::fromUtf8(text)), text);
    QVERIFY(page.out.contains(QStringLiteral("Равнобор ") + QLatin1String(ravnobor::ProgramVersion)));
}

QTEST_GUILESS_MAIN(TestPackage)
#include "tst_package.moc"
