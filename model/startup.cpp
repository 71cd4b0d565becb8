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

std::string DamagedColorsText(const std::string& dataDir, TColorFile found)
{
    const std::string size = found == TColorFile::Short
                                 ? "fewer than 84 bytes"
                                 : "more than " + std::to_string(ViewColorFileMaxSize) +
                                       " bytes, far more than the 84 of the seven colours";
    return "File is damaged " + ColorFilePath(dataDir) + LineBreak + "It holds " + size +
           ". The editor starts with the shipped colours and leaves the file as it is; Set Colors saves all seven "
           "anew.";
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
    // Something else of that name (a folder, a named pipe, a device) is
    // named for what it is: the file is not missing, it cannot be used.
    const TFileKind kind = KindOf(colors, TLinks::Follow);
    if (kind != TFileKind::Regular) {
        say(kind == TFileKind::Missing ? MissingColorsText(open.DataDir)
                                       : "Cannot use the colour file " + colors + ": it is " + KindText(kind));
        say(CannotContinueText);
        return false;
    }
    return true;
}
