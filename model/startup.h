#pragma once
// The start-up checks of the main window's creation: the working folders and
// the colour file, which must exist before the program can run.

#include <functional>
#include <string>

#include "view_colors.h"

struct TOpenModel;

// The text of the first message shown when Colors.dat is missing from dataDir.
std::string MissingColorsText(const std::string& dataDir);
inline constexpr const char* CannotContinueText = "Cannot Continue ,Closing Application";
// What start-up says of a damaged Colors.dat in dataDir (too short to hold
// the seven colours, or far longer than any colour file).
std::string DamagedColorsText(const std::string& dataDir, TColorFile found);

// The folder that holds Project/ and Data/: the executable's folder when it
// can be written and the program is not an installed one (a build folder, a
// portable copy), otherwise the user's data folder, whose missing levels are
// created. An installed program (one with its shared files beside it) always
// takes the user's folder: root can write /usr/bin, but the working copies do
// not belong there. Both with trailing separator.
std::string ChooseAppDir(const std::string& exeDir, const std::string& userDataDir, bool installed = false);

// The Colors.dat that a first start in the user's folder copies there: the
// installed one, or, for a program that is not installed (a portable copy in
// a folder the user cannot write), the one in Data/ beside the executable.
std::string ColorsSource(const std::string& exeDir, const std::string& installedColors);

// Sets open's AppDir (with trailing separator), ProjectDir and DataDir and
// creates the two folders if missing (outcome not examined). When DataDir has
// no Colors.dat and colorsSource names one (the installed copy), it is copied
// there first. Returns false after saying the two messages when DataDir still
// has no Colors.dat, or something else of that name (the first message then
// says what): the program must end.
bool PrepareFolders(TOpenModel& open, const std::function<void(const std::string&)>& say, const std::string& appDir,
                    const std::string& colorsSource = {});
