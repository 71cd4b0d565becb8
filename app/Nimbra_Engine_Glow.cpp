#include "app_start.h"
#include "command_line.h"
#include "file_util.h"

int main(int argc, char** argv)
{
    FailWritesPastTheFileSizeLimit();
    if (const auto answered = AnswerWithoutDisplay(argc, argv))
        return *answered;
    TNegApplication app(argc, argv);
    InstallAppBasics();
    // The toolkit has taken its own options out of the arguments by now.
    const TCommandLine line = ReadCommandLine(CommandLineArguments(argc, argv));
    if (line.ExitCode)
        return *line.ExitCode;
    TEditor editor;
    if (!editor.Created())
        return 0;
    editor.Show(line.File);
    return QApplication::exec();
}
