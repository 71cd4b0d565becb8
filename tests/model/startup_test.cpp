#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "file_util.h"
#include "open_model.h"
#include "opt_builder.h"
#include "startup.h"
#include "temp_dir.h"

namespace {

namespace fs = std::filesystem;
using optbuild::WriteFileBytes;

TEST(ChooseAppDir, WritableExecutableFolderElseTheUsersDataFolder)
{
    TempDir dir;
    const std::string user = dir.File("home") + PathDelim + "share" + PathDelim + "NEG" + PathDelim;

    // A build folder or a portable copy: everything stays beside the program.
    EXPECT_EQ(ChooseAppDir(dir.Path(), user), dir.Path());
    EXPECT_FALSE(fs::exists(user));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), fs::directory_iterator()), 0) << "probe left behind";

    // A folder nothing can be created in (a regular file stands where the
    // folder would be, so this holds even for root): the user's folder, made
    // with all its missing levels.
    WriteFileBytes(dir.File("bin"), {1});
    const std::string bin = dir.File("bin") + PathDelim;
    EXPECT_FALSE(CanCreateFileIn(bin));
    EXPECT_EQ(ChooseAppDir(bin, user), user);
    EXPECT_TRUE(fs::is_directory(user));

    // An installed program takes the user's folder even where it could write
    // its own (root and /usr/bin).
    EXPECT_EQ(ChooseAppDir(dir.Path(), user, true), user);

#ifndef _WIN32
    // The trial file is new and its own: a link left in the program's folder
    // is never followed to make a file elsewhere.
    const std::string outside = dir.File("outside");
    fs::create_symlink(outside, dir.File(".neg-write-probe"));
    EXPECT_EQ(ChooseAppDir(dir.Path(), user), dir.Path());
    EXPECT_FALSE(fs::exists(outside));
#endif
}

TEST(PrepareFolders, FirstStartInTheUsersFolderCopiesTheInstalledColours)
{
    TempDir dir;
    TOpenModel open;
    std::vector<std::string> shown;
    const auto say = [&](const std::string& text) { shown.push_back(text); };
    const std::vector<uint8_t> installed(84, 7);
    WriteFileBytes(dir.File("Colors.dat"), installed);
    const std::string user = dir.File("user") + PathDelim;
    fs::create_directory(user);

    EXPECT_TRUE(PrepareFolders(open, say, user, dir.File("Colors.dat")));
    EXPECT_EQ(ReadBytes(user + "Data" + PathDelim + "Colors.dat"), installed);
    EXPECT_TRUE(fs::is_directory(open.ProjectDir));

    // The user's own colours are never replaced by the installed ones.
    const std::vector<uint8_t> own(84, 9);
    WriteFileBytes(open.DataDir + "Colors.dat", own);
    EXPECT_TRUE(PrepareFolders(open, say, user, dir.File("Colors.dat")));
    EXPECT_EQ(ReadBytes(open.DataDir + "Colors.dat"), own);
    EXPECT_TRUE(shown.empty());

    // Nothing installed to copy: the usual two messages about the user's Data/.
    const std::string other = dir.File("other") + PathDelim;
    fs::create_directory(other);
    EXPECT_FALSE(PrepareFolders(open, say, other, dir.File("none.dat")));
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0], MissingColorsText(open.DataDir));
    EXPECT_NE(shown[0].find(other + "Data" + PathDelim + "Colors.dat"), std::string::npos);
}

// Something other than a file where Colors.dat should be: the messages say
// what is there, and the program ends as without one.
TEST(PrepareFolders, AColorsDatThatIsNoFileIsNamedForWhatItIs)
{
    TempDir dir;
    TOpenModel open;
    std::vector<std::string> shown;
    const auto say = [&](const std::string& text) { shown.push_back(text); };
    const std::string colors = dir.File("Data") + PathDelim + "Colors.dat";
    // Each makes the thing at colors and says what it is.
    std::vector<std::pair<std::function<void()>, std::string>> things = {
        {[&] { fs::create_directories(colors); }, "a folder"}};
#ifndef _WIN32
    things.push_back({[&] { ASSERT_EQ(mkfifo(colors.c_str(), 0600), 0); }, "a named pipe"});
    things.push_back({[&] { fs::create_symlink("/dev/null", colors); }, "a device"});
    // A link to itself is there, though it names no file: not "missing".
    things.push_back({[&] { fs::create_symlink("Colors.dat", colors); }, "a loop of symbolic links"});
#endif
    for (const auto& [make, kind] : things) {
        fs::remove_all(dir.File("Data"));
        fs::create_directories(dir.File("Data"));
        make();
        shown.clear();
        EXPECT_FALSE(PrepareFolders(open, say, dir.Path()));
        EXPECT_EQ(shown, (std::vector<std::string>{"Cannot use the colour file " + colors + ": it is " + kind,
                                                   CannotContinueText}));
    }
}

TEST(PrepareFolders, APortableCopyInAFolderItCannotWriteTakesItsOwnColours)
{
    TempDir dir;
    const std::string exe = dir.File("portable") + PathDelim;
    fs::create_directories(exe + "Data");
    const std::vector<uint8_t> own(84, 5);
    WriteFileBytes(exe + "Data" + PathDelim + "Colors.dat", own);
    const std::string user = dir.File("user") + PathDelim;
    fs::create_directory(user);

    // Nothing installed: the copy beside the program is what there is.
    TOpenModel open;
    EXPECT_TRUE(PrepareFolders(open, [](const std::string&) {}, user, ColorsSource(exe, dir.File("share/Colors.dat"))));
    EXPECT_EQ(ReadBytes(open.DataDir + "Colors.dat"), own);
}

}  // namespace
