#include "M_draw.h"

#include "app_state.h"

// Stand-in until the scene drawing is built.

std::function<TGlowDisplay()> GlowDisplay;

void DrawScene()
{
    DrawMeshes();
    ViewReady = true;
}

void DrawMeshes()
{
    DecodeSelection();
}

void DrawAllGlows() {}

void DrawGlow(int, int) {}
