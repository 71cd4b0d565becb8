#include "startup.h"

#include <filesystem>

#include "app_state.h"
#include "errors.h"
#include "file_util.h"
#include "messages.h"
#include "view_colors.h"
#include "working_copy.h"

std::string MissingColorsText()
{
    return "File is missing " + DataDir + "Colors.dat" + LineBreak +
           " Locate the \"Colors.dat\" file in the zip and copy to  " + LineBreak + DataDir;
}

std::string DamagedColorsText(TColorFile found)
{
    const std::string size = found == TColorFile::Short
                                 ? "fewer than 84 bytes"
                                 : "more than " + std::to_string(ViewColorFileMaxSize) +
                                       " bytes, far more than the 84 of the seven colours";
    return "File is damaged " + ColorFilePath() + LineBreak + "It holds " + size +
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

bool PrepareFolders(const std::string& appDir, const std::string& colorsSource)
{
    AppDir = appDir;
    ProjectDir = AppDir + "Project" + PathDelim;
    if (!DirectoryExists(ProjectDir))
        CreateDirQuietly(ProjectDir);
    DataDir = AppDir + "Data" + PathDelim;
    if (!DirectoryExists(DataDir))
        CreateDirQuietly(DataDir);
    if (!colorsSource.empty() && !FileExists(ColorFilePath())) {
        // Never through a link left at that name: the copy goes into Data/.
        try {
            CopyFileStream(colorsSource, ColorFilePath(), TExisting::Keep);
        } catch (const Exception&) {
            // A failed copy leaves the file missing, as reported below.
        }
    }
    // Something else of that name (a folder, a named pipe, a device) is
    // named for what it is: the file is not missing, it cannot be used.
    const TFileKind kind = KindOf(ColorFilePath(), TLinks::Follow);
    if (kind != TFileKind::Regular) {
        ShowMsg(kind == TFileKind::Missing
                    ? MissingColorsText()
                    : "Cannot use the colour file " + ColorFilePath() + ": it is " + KindText(kind));
        ShowMsg(CannotContinueText);
        return false;
    }
    return true;
}
