#include "user_support.h"

#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QImage>
#include <QTest>
#include <cmath>
#include <filesystem>

#include "app_fixture.h"
#include "click_list.h"
#include "main_window.h"
#include "scripted_dialogs.h"
#include "view_panel.h"

using namespace optbuild;

TUserModel WriteUserModel(const std::string& path, const std::vector<TUserMesh>& meshes)
{
    OptBuilder b;
    std::vector<std::vector<NodeId>> glowNodes;
    for (const TUserMesh& entry : meshes) {
        const NodeId mesh = b.Mesh();
        b.AddChild(mesh, b.Vertices(entry.Vertices));
        if (!entry.Faces.empty())
            b.AddChild(mesh, b.LodWithFaces({1000.0f}, {entry.Faces}));
        auto& nodes = glowNodes.emplace_back();
        for (const GlowRecord& g : entry.Glows) {
            nodes.push_back(b.Glow(g));
            b.AddChild(mesh, nodes.back());
        }
        b.AddTopLevel(mesh);
    }
    TUserModel model;
    model.Bytes = b.Build();
    for (const auto& nodes : glowNodes) {
        auto& positions = model.GlowPos.emplace_back();
        for (NodeId node : nodes)
            positions.push_back(b.DataPos(node));
    }
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    WriteFileBytes(path, model.Bytes);
    return model;
}

GlowRecord NumberedGlow(int n)
{
    GlowRecord g;
    const float f = float(n);
    g.Unused = 0x0BAD0000 + n;
    g.CoreColor = 0xC0FF4000u + uint32_t(n);
    g.OuterColor = 0x40204080u + uint32_t(n);
    g.MainVec = {0.5f + f, -1.25f, 2};
    g.Center = {-8 + f, 26, 1.5f};
    g.Density0 = {0.5f, 0.25f, 1};
    g.Density1 = {0.125f, 0.75f, 0};
    g.Density2 = {0.375f, 0.625f, 0.0625f * f};
    return g;
}

bool ChooseMenu(QMenu* menu, QAction* item, QMenu* within)
{
    // Under a window manager on a busy machine, a click on an item now and
    // then chose nothing. A user opens the menu again and clicks once more,
    // and so does this, a few times.
    bool chosen = false;
    QObject chooser;
    QObject::connect(item, &QAction::triggered, &chooser, [&chosen] { chosen = true; });
    QMenuBar* bar = MainWindow()->menuBar();
    for (int attempt = 0; attempt < 3 && !chosen; ++attempt) {
        menu->hide();  // left open by an attempt that chose nothing
        const QRect title = bar->actionGeometry(menu->menuAction());
        if (!title.isValid())
            return false;
        QTest::mouseClick(bar, Qt::LeftButton, {}, title.center());
        if (!QTest::qWaitForWindowExposed(menu))
            continue;
        QMenu* holder = menu;
        if (within) {
            // Highlighted as the keyboard does it: a pointer resting on the
            // item opens the submenu only after a delay, and not at all
            // while it moves towards another open submenu.
            menu->setActiveAction(within->menuAction());
            if (!QTest::qWaitFor([within] { return within->isVisible(); }) || !QTest::qWaitForWindowExposed(within))
                continue;
            holder = within;
        }
        const QRect entry = holder->actionGeometry(item);
        if (!entry.isValid())
            return false;
        QTest::mouseClick(holder, Qt::LeftButton, {}, entry.center());
        if (!QTest::qWaitFor([menu] { return !menu->isVisible(); }))
            return false;
    }
    return chosen;
}

bool OpenThroughMenu(TScriptedDialogs& dialogs, const std::string& path)
{
    dialogs.OpenAnswers.push_back(QString::fromStdString(path));
    return ChooseMenu(MainWindow()->Items().FileMenu, MainWindow()->Items().OpenAction) && dialogs.OpenAnswers.empty();
}

QPoint ViewPoint(float x, float y)
{
    const TMainWindow& main = *MainWindow();
    const double span = double(main.ViewState().Camera.ViewMax) - double(main.ViewState().Camera.ViewMin);
    const double ratio = main.View()->devicePixelRatioF();
    const double px = (double(x) - main.ViewState().Camera.ViewMin) / span * main.View()->DeviceSize().width();
    const double py = (main.ViewState().Camera.ViewMax - double(y)) / span * main.View()->DeviceSize().height();
    return {int(std::lround(px / ratio)), int(std::lround(py / ratio))};
}

void ClickView(float x, float y, Qt::MouseButton button, Qt::KeyboardModifiers modifiers)
{
    QTest::mouseClick(MainWindow()->View(), button, modifiers, ViewPoint(x, y));
}

bool ViewShows(float x, float y, TViewColor entry)
{
    const QImage frame = MainWindow()->View()->grabFramebuffer();
    const QPoint at = ViewPoint(x, y) * MainWindow()->View()->devicePixelRatioF();
    const TColorF& c = Colors()[entry];
    const auto matches = [](int channel, float wanted) { return std::abs(channel - int(std::lround(wanted * 255))) <= 2; };
    for (int dy = -2; dy <= 2; ++dy)
        for (int dx = -2; dx <= 2; ++dx) {
            const QPoint p = at + QPoint(dx, dy);
            if (!frame.rect().contains(p))
                continue;
            const QColor pixel = frame.pixelColor(p);
            if (matches(pixel.red(), c.Red) && matches(pixel.green(), c.Green) && matches(pixel.blue(), c.Blue))
                return true;
        }
    return false;
}

void ClickListItem(TClickList* list, int row)
{
    QListWidgetItem* item = list->item(row);
    list->scrollToItem(item);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
}

QString GlowTitle(int n, int mesh)
{
    return QStringLiteral("Engine Glow Editor   %1 Glows in Mesh %2").arg(n).arg(mesh);
}

void PressOn(QWidget* window, Qt::Key key, Qt::KeyboardModifiers modifiers)
{
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
    // The keyboard, not only the activation, must have moved: the cell
    // editor of a dialog that just closed would take Ctrl+Z for itself.
    QTRY_VERIFY(!QApplication::focusWidget() || QApplication::focusWidget()->window() == window);
    QWidget* focus = QApplication::focusWidget();
    QTest::keyClick(focus && focus->window() == window ? focus : window, key, modifiers);
}
