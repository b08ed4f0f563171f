#include "shell/CommandLine.h"

#include "Version.h"

#include <QCoreApplication>

#include <cstdio>

namespace ravnobor::commandline {

namespace {

bool isOption(const QString& argument) {
    return argument.size() > 1 && argument.startsWith(u'-');
}

void print(std::FILE* stream, const QString& text) {
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fflush(stream);
}

} // namespace

Parsed parse(const QStringList& arguments) {
    Parsed parsed;
    qsizetype first = 0;
    for (; first < arguments.size() && isOption(arguments.at(first)); ++first) {
        const QString& option = arguments.at(first);
        if (option == QStringLiteral("--")) {
            ++first;
            break;
        }
        if (option == QStringLiteral("-h") || option == QStringLiteral("--help")) {
            parsed.request = Request::Help; // asked for both, the help answers
        } else if (option == QStringLiteral("-v") || option == QStringLiteral("--version")) {
            if (parsed.request == Request::Start)
                parsed.request = Request::Version;
        } else {
            parsed.request = Request::UnknownOption;
            parsed.unknownOption = option;
            return parsed;
        }
    }
    parsed.caseArguments = arguments.mid(first);
    return parsed;
}

QString helpText(const ProgramPaths& paths) {
    return QStringLiteral("Использование: ravnobor [ФАЙЛ.rvb]\n"
                          "               ravnobor ПАРАМЕТР\n"
                          "Равнобор — раздел совместно нажитого имущества двух сторон.\n"
                          "Открывает дело из файла ФАЙЛ.rvb (имя должно оканчиваться на «.rvb»),\n"
                          "без него начинает новое дело с шаблона.\n"
                          "\n"
                          "Параметры:\n"
                          "  -h, --help     показать эту справку и выйти\n"
                          "  -v, --version  показать версию и выйти\n"
                          "  --             дальше только имя файла, даже если оно начинается с «-»\n"
                          "\n"
                          "Файлы:\n") +
           QStringLiteral("Шаблон: ") + paths.templatePath() + u'\n' + QStringLiteral("Пример: ") +
           paths.examplePath() + u'\n' + QStringLiteral("Справка: ") + paths.helpDir() +
           QStringLiteral("/index.html\n") + QStringLiteral("Рабочая копия: ") + paths.workingCopyPath() + u'\n' +
           QStringLiteral("Папка документов: ") + paths.documentsFolder() + u'\n';
}

QString versionText() {
    return QStringLiteral("Равнобор ") + QLatin1String(ProgramVersion) + u'\n';
}

QString unknownOptionText(const QString& option) {
    return QStringLiteral("ravnobor: неизвестный параметр «%1»\n"
                          "По команде «ravnobor --help» можно получить дополнительную информацию.\n")
        .arg(option);
}

std::optional<int> answerOptions(int argc, char** argv, QStringList* caseArguments) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const Parsed parsed = parse(arguments);
    *caseArguments = parsed.caseArguments;
    switch (parsed.request) {
    case Request::Start:
        return std::nullopt;
    case Request::Version:
        print(stdout, versionText());
        return ExitSuccess;
    case Request::UnknownOption:
        print(stderr, unknownOptionText(parsed.unknownOption));
        return ExitUsage;
    case Request::Help:
        break;
    }
    // The paths need the executable's folder, which only an application object knows.
    QCoreApplication app(argc, argv);
    print(stdout, helpText(ProgramPaths::fromSystem()));
    return ExitSuccess;
}

} // namespace ravnobor::commandline
