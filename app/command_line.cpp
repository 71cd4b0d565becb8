#include "command_line.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <cstdio>

#include "main_window.h"
#include "path_names.h"

namespace {

struct TParser {
    QCommandLineParser Parser;
    QCommandLineOption Help{{"h", "help"}, "Shows this help and exits."};
    QCommandLineOption Version{{"v", "version"}, "Shows the version and exits."};

    explicit TParser(const QStringList& arguments)
    {
        Parser.setApplicationDescription("Edits the engine glows of OPT model files.");
        // Single-dash words are whole names: the toolkit's "-reverse" must
        // not read as -v.
        Parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
        Parser.addOption(Help);
        Parser.addOption(Version);
        Parser.addPositionalArgument("file", "An OPT file (.opt, .op1) to open, as File > Open Opt does.", "[FILE]");
        Parsed = Parser.parse(arguments);
    }
    bool AsksForText() const { return Parser.isSet(Help) || Parser.isSet(Version); }
    bool Parsed = false;
};

// False when the text did not reach the stream's file (a full disk).
bool Print(std::FILE* stream, const QString& text)
{
    const bool written = std::fputs(text.toLocal8Bit().constData(), stream) >= 0;
    return std::fflush(stream) == 0 && written;
}

// The answer to --help or --version: what did not reach the output is no
// success.
TCommandLine Answer(const QString& text)
{
    if (Print(stdout, text))
        return {0, {}};
    Print(stderr, "Cannot write the output.\n");
    return {1, {}};
}

}  // namespace

TCommandLine ReadCommandLine(const QStringList& arguments)
{
    TParser line(arguments);
    // Help and version win over any fault, so they are answered whatever
    // else the line holds.
    if (line.Parser.isSet(line.Help))
        return Answer(line.Parser.helpText());
    if (line.Parser.isSet(line.Version))
        return Answer(QString::fromLatin1(ProgramCaption).trimmed() + '\n');
    QString fault = line.Parsed ? QString() : line.Parser.errorText();
    const QStringList files = line.Parser.positionalArguments();
    if (fault.isEmpty() && files.size() > 1)
        fault = "Give one file at most.";
    if (!fault.isEmpty()) {
        Print(stderr, fault + '\n' + line.Parser.helpText());
        return {2, {}};
    }
    return {std::nullopt, files.value(0)};
}

QStringList CommandLineArguments(int argc, char** argv)
{
#ifdef _WIN32
    (void)argc;
    (void)argv;
    return QCoreApplication::arguments();
#else
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << PathText(argv[i]);
    return arguments;
#endif
}

std::optional<int> AnswerWithoutDisplay(int& argc, char** argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    if (!TParser(arguments).AsksForText())
        return std::nullopt;
    // The usage line names the program from the application object.
    QCoreApplication core(argc, argv);
    return ReadCommandLine(QCoreApplication::arguments()).ExitCode;
}
