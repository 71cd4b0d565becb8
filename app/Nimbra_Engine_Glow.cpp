#include "Main.h"
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
    const bool started = CreateForms();
    int result = 0;
    if (started) {
        ShowMainWindow(line.File);
        result = QApplication::exec();
    }
    DestroyForms();
    return result;
}
