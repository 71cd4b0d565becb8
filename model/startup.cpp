#include "startup.h"

#include <filesystem>

#include "errors.h"
#include "file_util.h"
#include "messages.h"
#include "open_model.h"
#include "view_colors.h"
#include "working_copy.h"

std::string MissingColorsText(const std::string& dataDir)
{
    return "File is missing " + dataDir + "Colors.dat" + LineBreak +
           " Locate the \"Colors.dat\" file in the zip and copy to  " + LineBreak + dataDir;
}

std::string DamagedColorsText(const std::string& dataDir)
{
    return "File is damaged " + ColorFilePath(dataDir) + LineBreak +
           "It holds fewer than 84 bytes. The editor starts with the shipped colours and leaves the file as it is; "
           "Set Colors saves all seven anew.";
}

std::string ColorsSource(const std::string& exeDir, const std::string& installedColors)
{
    return FileExists(installedColors) ? installedColors : exeDir + "Data" + PathDelim + "Colors.dat";
}

std::string ChooseAppDir(const std::string& exeDir, const std::string& userDataDir, bool installed)
{
    if (!installed && CanCreateFileIn(exeDir))
        return exeDir;
    std::error_code ignored;  // a failure shows as the missing Colors.dat
    std::filesystem::create_directories(SystemPath(userDataDir), ignored);
    return userDataDir;
}

bool PrepareFolders(TOpenModel& open, const std::function<void(const std::string&)>& say, const std::string& appDir,
                    const std::string& colorsSource)
{
    open.AppDir = appDir;
    open.ProjectDir = appDir + "Project" + PathDelim;
    if (!DirectoryExists(open.ProjectDir))
        CreateDirQuietly(open.ProjectDir);
    open.DataDir = appDir + "Data" + PathDelim;
    if (!DirectoryExists(open.DataDir))
        CreateDirQuietly(open.DataDir);
    const std::string colors = ColorFilePath(open.DataDir);
    if (!colorsSource.empty() && !FileExists(colors)) {
        // Never through a link left at that name: the copy goes into Data/.
        try {
            CopyFileStream(colorsSource, colors, TExisting::Keep);
        } catch (const Exception&) {
            // A failed copy leaves the file missing, as reported below.
        }
    }
    if (!FileExists(colors)) {
        say(MissingColorsText(open.DataDir));
        say(CannotContinueText);
        return false;
    }
    return true;
}
