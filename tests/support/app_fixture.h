#pragma once
// The program's windows over their own document, built as its start builds
// them, over a temporary application folder, with settings of their own in
// it. One fixture at a time; the functions below reach the running one's
// windows and document, for the tests and their helpers.

#include <memory>
#include <string>
#include <vector>

#include "app_start.h"
#include "file_util.h"
#include "scripted_dialogs.h"
#include "temp_dir.h"
#include "view_colors.h"

class QWidget;
class TColorSettings;
class TGlowPanel;
class TValueDialog;

class TAppFixture {
public:
    TAppFixture();
    ~TAppFixture();

    TempDir Folder;             // the application folder
    TScriptedDialogs Dialogs;   // every modal thing, scripted
    std::unique_ptr<TEditor> Editor;

    // As the program spells them, with its separator.
    std::string DataFolder() const { return Folder.Path() + "Data" + PathDelim; }
    std::string ProjectFolder() const { return Folder.Path() + "Project" + PathDelim; }
    // Writes Data/Colors.dat (creating Data/).
    void PutColors(const std::vector<uint8_t>& bytes);
    // Makes the windows; false when the program would end.
    bool Create();
    // Create, then show the main window as the program does and make it
    // the active window.
    bool Start();
    // PutColors(SampleColorBytes()), then Start.
    bool StartWithSampleColors();
    // The widget a key press goes to first while the main window is active.
    QWidget* KeyTarget() const;
};

// Replaces app by a new fixture, the old one gone first. Qt Test runs no
// cleanup() after a failed init(), and an old fixture going after the new one
// was made would take the new one's scripted dialogs and folder with it: the
// next start would then meet a real message box and hang.
void MakeFresh(std::unique_ptr<TAppFixture>& app);

// Seven colours whose bytes differ from record to record.
std::vector<uint8_t> SampleColorBytes();

// The running fixture's windows (null before Create, and for the windows a
// start that ended made none of) and its document.
TMainWindow* MainWindow();
TGlowPanel* GlowPanel();
TValueDialog* ValueDialog();
TColorSettings* ColorSettings();
TOpenDocument& Document();
// The colours the running main window draws with.
TColorTable& Colors();
