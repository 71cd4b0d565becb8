#include "app_state.h"

#include <algorithm>
#include <iterator>

#include "model.h"
#include "view_colors.h"

std::string AppDir;
std::string ProjectDir;
std::string DataDir;
std::string OptFileName;

int32_t SelectMode = 0;
int32_t SelectedId = 0;
int32_t CurMesh = 0;
int32_t CurFace = 0;

int32_t EditGlow = 0;
TEngineGlow* DialogGlow = nullptr;
bool PendingPoint = false, PendingVector = false, PendingDensity0 = false, PendingDensity1 = false,
     PendingDensity2 = false;

bool ViewReady = false;
bool Closing = false;
bool Picking = false;

int32_t RotX = 0, RotY = 0, RotZ = 0;
double Zoom = 1.0;
int32_t PanX = 0, PanY = 0;
int32_t RotStep = 4;
int32_t ViewMax = 0, ViewMin = 0;
int32_t GLMade = 0;

void DecodeSelection()
{
    if (SelectMode == 0) {
        const int32_t last = TheModel.Meshes.Count() - 1;
        if (SelectedId <= last) {
            CurMesh = SelectedId;
            CurFace = 0;
        } else {
            CurMesh = last;
        }
    } else {
        // C++ division truncates toward zero and the remainder takes the
        // dividend's sign, as the packing expects.
        CurMesh = SelectedId % 65536;
        CurFace = SelectedId / 65536;
    }
}

void SetStartValues()
{
    Closing = false;
    GLMade = 0;
    Picking = false;
    RotX = RotY = RotZ = 0;
    Zoom = 1.0;
    RotStep = 4;
    ViewReady = false;
    CurMesh = 0;
    CurFace = 0;
    SelectedId = 0;
}

void ResetCamera()
{
    RotX = RotY = RotZ = 0;
    Zoom = 1.0;
    PanX = PanY = 0;
}

void ResetSharedState()
{
    TheModel.Clear();
    AppDir.clear();
    ProjectDir.clear();
    DataDir.clear();
    OptFileName.clear();
    SelectMode = 0;
    EditGlow = 0;
    DialogGlow = nullptr;
    ClearPendingMarks();
    PanX = PanY = 0;
    ViewMax = ViewMin = 0;
    SetStartValues();
    std::fill(std::begin(ViewColors), std::end(ViewColors), TColorF{});
}

void ClearPendingMarks()
{
    PendingPoint = PendingVector = PendingDensity0 = PendingDensity1 = PendingDensity2 = false;
}
