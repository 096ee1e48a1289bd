#include "app/CommandLine.h"

#include "common/Version.h"

#include <QCommandLineParser>
#include <QCoreApplication>

std::optional<QString> CommandLineAnswer(int& argc, char** argv)
{
    // A plain core application names the program in the usage line and needs no display.
    QCoreApplication probe(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("zorvit"));
    QCoreApplication::setApplicationVersion(QString::fromLatin1(kZorvitVersion));

    QCommandLineParser parser;
    parser.setApplicationDescription(QString::fromLatin1(kZorvitDescription));
    // Our own help option: Qt's would add --help-all, for Qt options that the window takes.
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Displays this help and exits."));
    parser.addOption(help);
    const QCommandLineOption version = parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("FILE"),
                                 QStringLiteral("The G-code file to open; further arguments are "
                                                "ignored."),
                                 QStringLiteral("[FILE]"));
    // After the file name everything is ignored, options included.
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    if (!parser.parse(QCoreApplication::arguments()))
        return std::nullopt;
    if (parser.isSet(help))
        return parser.helpText();
    if (parser.isSet(version))
        return QStringLiteral("zorvit %1\n").arg(QCoreApplication::applicationVersion());
    return std::nullopt;
}
