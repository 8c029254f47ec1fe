#include "commandline.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QUrl>
#include <cstdio>
#include <cstring>

namespace {

void print(std::FILE *stream, const QString &text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fflush(stream);
}

} // namespace

bool asksForTextOnly(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        const char *argument = argv[i];
        if (std::strcmp(argument, "--") == 0)
            return false;
        for (const char *option : {"-h", "--help", "-v", "--version"}) {
            if (std::strcmp(argument, option) == 0)
                return true;
        }
    }
    return false;
}

CommandLine readCommandLine()
{
    // Options of our own rather than the parser's stock ones, so that their descriptions
    // are Russian whether or not Qt's translations are installed.
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Подготовка и правка списков участников спортивных мероприятий."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Показать эту справку и выйти."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Показать версию программы и выйти."));
    parser.addOption(help);
    parser.addOption(version);
    parser.addPositionalArgument(
        QStringLiteral("файл"),
        QStringLiteral("Список участников (JSON), который открыть на странице «Редактирование "
                       "списка», как кнопкой «Загрузить список». Путь или адрес file://."),
        QStringLiteral("[файл]"));

    CommandLine line;
    // The help and the version win over any mistake beside them.
    const bool parsed = parser.parse(QCoreApplication::arguments());
    if (parser.isSet(help)) {
        print(stdout, parser.helpText());
        line.exitStatus = 0;
        return line;
    }
    if (parser.isSet(version)) {
        print(stdout, QCoreApplication::applicationName() + QLatin1Char(' ') +
                          QCoreApplication::applicationVersion() + QLatin1Char('\n'));
        line.exitStatus = 0;
        return line;
    }
    const QStringList files = parser.positionalArguments();
    if (!parsed || files.size() > 1) {
        const QString problem =
            parsed ? QStringLiteral("Можно открыть только один файл.") : parser.errorText();
        print(
            stderr,
            problem + QLatin1Char('\n') +
                QStringLiteral("Справка: %1 --help\n").arg(QCoreApplication::arguments().value(0)));
        line.exitStatus = 1;
        return line;
    }
    if (!files.isEmpty())
        line.listPath = listPathFromArgument(files.first(), QDir::currentPath());
    return line;
}

QString listPathFromArgument(const QString &argument, const QString &workingFolder)
{
    if (argument.startsWith(QLatin1String("file:"), Qt::CaseInsensitive)) {
        const QUrl url(argument);
        if (url.isLocalFile())
            return url.toLocalFile();
    }
    return QDir::cleanPath(QDir(workingFolder).absoluteFilePath(argument));
}
