#include "app_fixture.h"

#include <QApplication>
#include <QSettings>
#include <QTest>
#include <algorithm>
#include <filesystem>
#include <iterator>

#include "byte_order.h"
#include "conversions.h"
#include "glow_panel.h"
#include "opt_builder.h"
#include "view_colors.h"

namespace {

// The fixture whose windows the tests reach; one lives at a time.
TAppFixture* Running = nullptr;

}  // namespace

TAppFixture::TAppFixture()
{
    Running = this;
    // What stays from one test to the next in the process: as at program
    // start.
    DecimalSeparator = '.';
    // The user's own settings (Recent Files) are never touched: a file in the
    // test's folder, also on Windows, whose own format is the registry.
    QSettings::setDefaultFormat(QSettings::IniFormat);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, QString::fromStdString(Folder.File("settings")));
}

TAppFixture::~TAppFixture()
{
    Editor.reset();
    if (Running == this)
        Running = nullptr;
}

void TAppFixture::PutColors(const std::vector<uint8_t>& bytes)
{
    std::filesystem::create_directories(DataFolder());
    optbuild::WriteFileBytes(DataFolder() + "Colors.dat", bytes);
}

bool TAppFixture::Create()
{
    Editor = std::make_unique<TEditor>(Folder.Path());
    return Editor->Created();
}

bool TAppFixture::Start()
{
    if (!Create())
        return false;
    TMainWindow& main = Editor->Main;
    main.showMaximized();
    main.activateWindow();
    return QTest::qWaitForWindowActive(&main);
}

bool TAppFixture::StartWithSampleColors()
{
    PutColors(SampleColorBytes());
    return Start();
}

QWidget* TAppFixture::KeyTarget() const
{
    QWidget* focus = QApplication::focusWidget();
    TMainWindow* main = &Editor->Main;
    return focus && focus->window() == main ? focus : main;
}

void MakeFresh(std::unique_ptr<TAppFixture>& app)
{
    app.reset();
    app = std::make_unique<TAppFixture>();
}

std::vector<uint8_t> SampleColorBytes()
{
    std::vector<uint8_t> bytes(84);
    for (int i = 0; i < 21; ++i)
        PutFloat32LE(bytes.data() + 4 * i, float((i * 12 + 3) % 256) / 255.0f);
    return bytes;
}

TMainWindow* MainWindow()
{
    return Running && Running->Editor ? &Running->Editor->Main : nullptr;
}

TGlowPanel* GlowPanel()
{
    return MainWindow() ? MainWindow()->GlowPanel() : nullptr;
}

TValueDialog* ValueDialog()
{
    return GlowPanel() ? GlowPanel()->Dialog : nullptr;
}

TColorSettings* ColorSettings()
{
    return MainWindow() ? MainWindow()->ColorSettings() : nullptr;
}

TOpenDocument& Document()
{
    return Running->Editor->Document;
}

TColorTable& Colors()
{
    return MainWindow()->ViewState().Colors;
}
