#pragma once
// The start-up checks of the main window's creation: the working folders and
// the colour file, which must exist before the program can run.

#include <string>

// The text of the first message shown when Colors.dat is missing.
std::string MissingColorsText();
inline constexpr const char* CannotContinueText = "Cannot Continue ,Closing Application";

// Sets AppDir (with trailing separator), ProjectDir and DataDir and creates the
// two folders if missing (outcome not examined). Returns false after showing
// the two messages when DataDir has no Colors.dat: the program must end.
bool PrepareFolders(const std::string& appDir);
