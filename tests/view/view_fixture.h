#pragma once
// Helpers of the view tests: a scene and a camera of their own with small
// models put straight into the scene's model, a shown view panel, and a frame
// captured in GL feedback mode and read back in model units (for a camera at
// rest).

#include <array>
#include <string>
#include <vector>

#include "camera.h"
#include "model.h"
#include "scene.h"
#include "view_panel.h"
#include "view_colors.h"

namespace viewtest {

struct Glow {
    TFloat3 Center, MainVec;
};

// What the view tests draw: one model, its selection, the glows shown, a
// preview, the Display options and the camera, set back by ResetViewState.
TModel& Model();
TSelection& Selection();
TGlowDisplay& Display();
TGlowPreview& Preview();
TViewOptions& Options();
TColorTable& Colors();
TCamera& Camera();
// The panel ShowPanel made last, or the one UsePanel gave.
TViewPanel* Panel();
void UsePanel(TViewPanel* panel);
TScene Scene();
// One frame of the scene through the camera on the panel.
void Draw();
// As an open starts the view: the camera fitted to the model, the panel
// started over, a first frame. Throws what the frame throws.
void Restart();
// The face or mesh a click at (x, y), device pixels, selects: the selection
// takes the hit, as a click in the main window does. False for no hit.
bool Pick(int x, int y);

// Appends a mesh to Model(). A face is four vertex indices; -1 in the last
// makes a triangle. Returns the mesh index.
int AddMesh(const std::vector<TVertex>& vertices, const std::vector<std::array<int, 4>>& faces,
            const std::vector<Glow>& glows = {});

// Distinct colours for the seven entries, so every line tells what drew it.
void SetDistinctColors();
const TColorF& Color(TViewColor entry);

// Start values of the scene and the camera, an empty model, distinct colours,
// no glow panel, no glow being edited.
void ResetViewState();

// Shows the glow panel's display buttons as given.
void ShowGlows(bool selectedOnly, bool cones);

struct Point3 {
    float X = 0, Y = 0, Z = 0;
};
bool Near(const Point3& a, const Point3& b, float tolerance = 1e-3f);
std::string Text(const Point3& p);

// One primitive as feedback reports it: a point, a line (Reset marks the
// first edge of a new polygon or line strip) or a polygon.
struct Primitive {
    enum Kind { PointToken, LineToken, PolygonToken } Type = PointToken;
    bool Reset = false;
    std::vector<Point3> Vertices;  // in model units, see ToModel
    TColorF Color;                 // of the first vertex
};

// Runs Draw with feedback on. Vertices are turned back from window
// coordinates into the eye space of the projection fitted to the model (with
// the camera at rest, model units). Rethrows what the frame throws, after
// leaving feedback mode.
std::vector<Primitive> CaptureFrame();

// The primitives drawn in this colour.
std::vector<Primitive> InColor(const std::vector<Primitive>& all, TViewColor entry);

// Polygon outlines: consecutive line tokens grouped from each reset token;
// each group lists the first vertex of each of its edges.
std::vector<std::vector<Point3>> Outlines(const std::vector<Primitive>& lines);

// A 400 x 400 panel (device pixels: times the screen's scale) shown as a
// top-level window, made the tests' panel.
TViewPanel* ShowPanel(int size = 400);

// A length in the panel's pixels as Qt scales it to device pixels.
int DevicePixels(int logical);

// GL integer state of the view's context.
int GLInt(unsigned query);

// Pixel of the panel (device pixels from the top-left corner) over a model
// point, with the camera at rest.
int PixelX(float x);
int PixelY(float y);

}  // namespace viewtest
