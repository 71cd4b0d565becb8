#include "app_fixture.h"

#include <QApplication>
#include <QSettings>
#include <QTest>
#include <filesystem>

#include "main_window.h"
#include "app_start.h"
#include "app_state.h"
#include "byte_order.h"
#include "opt_builder.h"

TAppFixture::TAppFixture()
{
    ResetSharedState();
    AppDirOverride = Folder.Path();
    // The user's own settings (Recent Files) are never touched: a file in the
    // test's folder, also on Windows, whose own format is the registry.
    QSettings::setDefaultFormat(QSettings::IniFormat);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, QString::fromStdString(Folder.File("settings")));
}

TAppFixture::~TAppFixture()
{
    DestroyForms();
    AppDirOverride.clear();
    ResetSharedState();
}

void TAppFixture::PutColors(const std::vector<uint8_t>& bytes)
{
    std::filesystem::create_directories(DataFolder());
    optbuild::WriteFileBytes(DataFolder() + "Colors.dat", bytes);
}

bool TAppFixture::Create()
{
    return CreateForms();
}

bool TAppFixture::Start()
{
    if (!Create())
        return false;
    Me->showMaximized();
    Me->activateWindow();
    return QTest::qWaitForWindowActive(Me);
}

bool TAppFixture::StartWithSampleColors()
{
    PutColors(SampleColorBytes());
    return Start();
}

QWidget* TAppFixture::KeyTarget() const
{
    QWidget* focus = QApplication::focusWidget();
    return focus && focus->window() == Me ? focus : Me;
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
