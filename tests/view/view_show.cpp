// Shows P1 alone with a small craft, for looking at the view by eye (not a
// test). Quits after the given number of seconds (default 10):
//     xvfb-run ... sh -c 'build/tests/view_show 5 & sleep 3; import -window root view.png'

#include <QApplication>
#include <QHBoxLayout>
#include <QTimer>

#include "scene_drawing.h"
#include "app_state.h"
#include "view_fixture.h"
#include "view_state.h"

using namespace viewtest;

namespace {

// A box from lo to hi as six quads.
void AddBox(TFloat3 lo, TFloat3 hi, const std::vector<Glow>& glows)
{
    std::vector<TVertex> v;
    for (int i = 0; i < 8; ++i)
        v.push_back({i & 1 ? hi.X : lo.X, i & 2 ? hi.Y : lo.Y, i & 4 ? hi.Z : lo.Z});
    AddMesh(v, {{0, 1, 3, 2}, {4, 5, 7, 6}, {0, 1, 5, 4}, {2, 3, 7, 6}, {0, 2, 6, 4}, {1, 3, 7, 5}}, glows);
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    ResetViewState();
    // Hull with a nose cone, two engine pods with a glow each at their backs.
    AddBox({-4, -2, -10}, {4, 2, 8}, {{{0, 0, -10}, {6, 4, 3}}});
    AddMesh({{-4, -2, 8}, {4, -2, 8}, {4, 2, 8}, {-4, 2, 8}, {0, 0, 16}},
            {{0, 1, 4, -1}, {1, 2, 4, -1}, {2, 3, 4, -1}, {3, 0, 4, -1}}, {{{0, 0, 16}, {2, 2, 1}}});
    AddBox({-10, -1.5f, -12}, {-6, 1.5f, 2}, {{{-8, 0, -12}, {8, 6, 3}}});
    AddBox({6, -1.5f, -12}, {10, 1.5f, 2}, {{{8, 0, -12}, {8, 6, 3}}});
    ViewColors[ColMeshLines] = {0.55f, 0.6f, 0.7f};
    ViewColors[ColCone] = {1, 0.5f, 0};
    SelectMode = 1;
    SelectedId = PackSelection(2, 2);
    ShowGlows(false, true);
    RotX = 30;
    RotY = -35;

    // Laid out beside another widget, as in the main window.
    QWidget window;
    auto* layout = new QHBoxLayout(&window);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* panel = new TViewPanel(&window);
    panel->setFixedSize(600, 600);
    layout->addWidget(panel);
    layout->addWidget(new QWidget(&window), 1);
    window.resize(800, 600);
    window.show();
    QTimer::singleShot(500, &app, [] { GLRestart(); });
    QTimer::singleShot((argc > 1 ? atoi(argv[1]) : 10) * 1000, &app, &QApplication::quit);
    return QApplication::exec();
}
