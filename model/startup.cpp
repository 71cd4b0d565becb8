#include "startup.h"

#include "app_state.h"
#include "file_util.h"
#include "messages.h"
#include "view_colors.h"

std::string MissingColorsText()
{
    return "File is missing " + DataDir + "Colors.dat" + LineBreak +
           " Locate the \"Colors.dat\" file in the zip and copy to  " + LineBreak + DataDir;
}

bool PrepareFolders(const std::string& appDir)
{
    AppDir = appDir;
    ProjectDir = AppDir + "Project" + PathDelim;
    if (!DirectoryExists(ProjectDir))
        CreateDirQuietly(ProjectDir);
    DataDir = AppDir + "Data" + PathDelim;
    if (!DirectoryExists(DataDir))
        CreateDirQuietly(DataDir);
    if (!FileExists(ColorFilePath())) {
        ShowMsg(MissingColorsText());
        ShowMsg(CannotContinueText);
        return false;
    }
    return true;
}
