#include "app_state.h"

#include <algorithm>
#include <iterator>
#include <vector>

#include "conversions.h"
#include "model.h"
#include "view_colors.h"

TOpenModel OpenModel;
TSelection Selection;
TModel& TheModel = OpenModel.Model;
OPTInFile& TheReader = OpenModel.Reader;

namespace {

// Function-local, so that registrations made while other files initialize
// find it made.
std::vector<void (*)()>& RegisteredResets()
{
    static std::vector<void (*)()> resets;
    return resets;
}

}  // namespace

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

void ClearPendingMarks()
{
    PendingPoint = PendingVector = PendingDensity0 = PendingDensity1 = PendingDensity2 = false;
}

void ResetSharedState()
{
    OpenModel = TOpenModel{};
    Selection = TSelection{};
    std::fill(std::begin(ViewColors), std::end(ViewColors), TColorF{});
    DecimalSeparator = '.';
    for (void (*reset)() : RegisteredResets())
        reset();
}

bool RegisterStateReset(void (*reset)())
{
    RegisteredResets().push_back(reset);
    return true;
}
