#pragma once
// The view's state: the camera every frame is drawn with, and the flags that
// say what the view may do. Each default is the value at program start;
// ResetSharedState puts both back. The short names below (RotX, Zoom, ...)
// are how the windows reach the members.

#include <cstdint>

struct TCamera {
    // Rotations about x, y and z in whole degrees, applied in that order.
    int32_t RotX = 0, RotY = 0, RotZ = 0;
    double Zoom = 1.0;
    // The shift of the picture, in model units.
    int32_t PanX = 0, PanY = 0;
    // Degrees that one key press turns: the panel's movement rate.
    int32_t RotStep = 4;
    // The view volume's bounds, fitted to the model when it is opened.
    int32_t ViewMax = 0, ViewMin = 0;
};

struct TViewState {
    bool ViewReady = false;  // a frame was drawn since the last open: keys and view clicks act
    bool Closing = false;    // the main window is closing: no more frames
    bool Picking = false;    // the frame being drawn is the pick pass
    int32_t GLMade = 0;      // how often the view's context was set up
    // The view panel's client size in device pixels, as the viewport has it.
    int32_t ViewWidth = 0, ViewHeight = 0;
    // False when the last frame stopped on an error: the panel still shows
    // the frame before it.
    bool FrameComplete = true;
};

// What the Display menu adds to the picture; all off at program start.
struct TViewOptions {
    bool GlowColors = false;  // each drawn glow also as a halo in its own colours
    bool Solid = false;       // faces filled and lit, the wireframe over them
    bool WholeModel = false;  // the meshes without glows too, dimmed
};

extern TCamera Camera;
extern TViewState ViewState;
extern TViewOptions ViewOptions;

inline int32_t& RotX = Camera.RotX;
inline int32_t& RotY = Camera.RotY;
inline int32_t& RotZ = Camera.RotZ;
inline double& Zoom = Camera.Zoom;
inline int32_t& PanX = Camera.PanX;
inline int32_t& PanY = Camera.PanY;
inline int32_t& RotStep = Camera.RotStep;
inline int32_t& ViewMax = Camera.ViewMax;
inline int32_t& ViewMin = Camera.ViewMin;

inline bool& ViewReady = ViewState.ViewReady;
inline bool& Closing = ViewState.Closing;
inline bool& Picking = ViewState.Picking;
inline int32_t& GLMade = ViewState.GLMade;
inline int32_t& ViewWidth = ViewState.ViewWidth;
inline int32_t& ViewHeight = ViewState.ViewHeight;

// The start values the main window sets when it is created.
void SetStartValues();

// Rotation, zoom and shift back to 0, 1.0 and 0 (the movement rate stays).
void ResetCamera();

// The six views along the model's axes. The camera's turns that look from
// that side; zoom and shift are left as they are.
enum class TAxisView { Front, Back, Left, Right, Top, Bottom };
void LookFrom(TAxisView view);
