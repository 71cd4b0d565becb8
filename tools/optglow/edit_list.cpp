#include "edit_list.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <iterator>
#include <map>
#include <type_traits>
#include <unordered_map>
#include <utility>

#include "errors.h"
#include "glow_values.h"
#include "messages.h"

namespace optglow {

namespace {

constexpr size_t FieldCount = std::tuple_size_v<std::remove_cvref_t<decltype(GlowFields)>>;

size_t FieldIndex(const GlowField* field)
{
    return size_t(field - GlowFields.data());
}

// How many glows the model's meshes hold, for what an edit selects.
struct TGlowCounts {
    explicit TGlowCounts(const TModel& model)
    {
        for (const TOMesh& mesh : model.Meshes) {
            PerMesh.push_back(mesh.Glows.Count());
            Most = std::max(Most, PerMesh.back());
            Total += PerMesh.back();
        }
    }
    std::vector<int> PerMesh;
    int Most = 0;     // in one mesh
    int64_t Total = 0;
};

// Throws the error of an edit that names a glow or mesh the model does not
// have, or selects no glow. "*" for the mesh: glow N of every mesh that has
// one, or every glow; an index looks at its own mesh or glow alone.
void CheckSelection(const edit_list::TListedEdit& edit, size_t index, const TGlowCounts& counts,
                    const std::string& modelName)
{
    const int64_t mesh = edit.Mesh;
    const int64_t glow = edit.Glow;
    const int meshCount = int(counts.PerMesh.size());
    if (mesh >= meshCount)
        edit_list::FailEdit(index, "mesh",
                            "mesh " + std::to_string(mesh) + " does not exist: " + modelName + " has " +
                                CountText(meshCount, "mesh", "meshes"));
    if (mesh >= 0) {
        const int glowCount = counts.PerMesh[size_t(mesh)];
        if (glow >= glowCount)
            edit_list::FailEdit(index, "glow",
                                "glow " + std::to_string(glow) + " does not exist: mesh " + std::to_string(mesh) +
                                    " has " + CountText(glowCount, "glow", "glows"));
    }
    const bool none = mesh >= 0   ? counts.PerMesh[size_t(mesh)] == 0
                      : glow >= 0 ? glow >= counts.Most
                                  : counts.Total == 0;
    if (none)
        edit_list::FailEdit(index, "glow",
                            glow < 0 ? "selects no glow: " + (mesh < 0 ? modelName : "mesh " + std::to_string(mesh)) +
                                           " has none"
                                     : "glow " + std::to_string(glow) + " does not exist in any mesh of " + modelName);
}

// The edits of one selector (the same "mesh" and "glow"): each field's latest
// value, with the number of the edit that set it (-1: none).
struct TLatest {
    bool Selects = false;  // an edit of the selector was listed
    std::array<int64_t, FieldCount> Edit;
    TEngineGlow Values;
    TLatest() { Edit.fill(-1); }
};

// For each field, the selector whose edit of it is the latest.
using TWinners = std::array<const TLatest*, FieldCount>;

// Field f of into becomes candidate's when candidate's edit of it is later.
void TakeLater(TWinners& into, size_t f, const TLatest* candidate)
{
    if (candidate && candidate->Edit[f] >= 0 && (!into[f] || candidate->Edit[f] > into[f]->Edit[f]))
        into[f] = candidate;
}

// The edits of a list, kept by selector: a glow's value of a field is that of
// the latest edit, among the selectors that take the glow in, that sets it.
// Each edit is taken once and each glow looked at once, however many glows
// an edit of "*" selects.
class TSelectors {
public:
    void Add(const edit_list::TListedEdit& edit, size_t index)
    {
        TLatest& latest = edit.Mesh < 0 ? (edit.Glow < 0 ? Every : ByGlow[edit.Glow])
                          : edit.Glow < 0 ? ByMesh[edit.Mesh]
                                          : ByIndex[{edit.Mesh, edit.Glow}];
        latest.Selects = true;
        for (const GlowField* field : edit.Fields) {
            latest.Edit[FieldIndex(field)] = int64_t(index);
            edit_list::CopyField(*field, edit.Values, latest.Values);
        }
    }

    // The latest edit of each field among the selectors that take in glow g
    // of mesh m; false when none does.
    bool Winners(int m, int g, TWinners& winners) const
    {
        const TLatest* const from[] = {Every.Selects ? &Every : nullptr, Find(ByMesh, int64_t(m)),
                                       Find(ByGlow, int64_t(g)), Find(ByIndex, std::pair<int64_t, int64_t>(m, g))};
        winners.fill(nullptr);
        for (const TLatest* latest : from)
            for (size_t f = 0; f < FieldCount; ++f)
                TakeLater(winners, f, latest);
        return std::any_of(std::begin(from), std::end(from), [](const TLatest* latest) { return latest; });
    }

private:
    template <typename Map, typename Key>
    static const TLatest* Find(const Map& map, const Key& key)
    {
        const auto at = map.find(key);
        return at == map.end() ? nullptr : &at->second;
    }

    TLatest Every;  // "*" and "*"
    std::map<int64_t, TLatest> ByMesh, ByGlow;
    std::map<std::pair<int64_t, int64_t>, TLatest> ByIndex;
};

}  // namespace

std::vector<GlowPatch> ParseEditList(const std::string& jsonText, const TModel& model, const std::string& modelName)
{
    const nlohmann::json edits = edit_list::ListedEdits(jsonText);
    const TGlowCounts counts(model);
    TSelectors selectors;
    for (size_t i = 0; i < edits.size(); ++i) {
        // Every value is checked before the edit touches any glow.
        const edit_list::TListedEdit edit = edit_list::ParseEdit(edits[i], i);
        CheckSelection(edit, i, counts, modelName);
        edit_list::RequireFields(edit, i);
        selectors.Add(edit, i);
    }

    // Glows that the node tables list more than once share one block: the
    // file keeps one value of each field for all of them, that of the latest
    // edit of any of them, and each of their patches carries it.
    std::vector<GlowPatch> patches;
    std::unordered_map<int32_t, TWinners> blocks;
    for (int m = 0; m < model.Meshes.Count(); ++m) {
        const TEngineGlowL& glows = model.Meshes.Get(m).Glows;
        for (int g = 0; g < glows.Count(); ++g) {
            TWinners winners;
            if (!selectors.Winners(m, g, winners))
                continue;
            patches.push_back({m, g, glows.Get(g), glows.Get(g)});
            auto [block, added] = blocks.try_emplace(glows.Get(g).FilePos, winners);
            for (size_t f = 0; !added && f < FieldCount; ++f)
                TakeLater(block->second, f, winners[f]);
        }
    }
    for (GlowPatch& patch : patches) {
        const TWinners& winners = blocks.at(patch.Before.FilePos);
        for (size_t f = 0; f < FieldCount; ++f)
            if (winners[f])
                edit_list::CopyField(GlowFields[f], winners[f]->Values, patch.After);
    }
    return patches;
}

std::string GlowLayoutDifference(const TModel& oldModel, const std::string& oldName, const TModel& newModel,
                                 const std::string& newName)
{
    std::string differences;
    const auto add = [&differences](const std::string& clause) {
        differences += (differences.empty() ? "" : "; ") + clause;
    };
    const int oldCount = oldModel.Meshes.Count();
    const int newCount = newModel.Meshes.Count();
    if (oldCount != newCount)
        add(oldName + " has " + CountText(oldCount, "mesh", "meshes") + ", " + newName + " " +
            CountText(newCount, "mesh", "meshes"));
    for (int m = 0; m < std::min(oldCount, newCount); ++m) {
        const int oldGlows = oldModel.Meshes.Get(m).Glows.Count();
        const int newGlows = newModel.Meshes.Get(m).Glows.Count();
        if (oldGlows != newGlows)
            add("mesh " + std::to_string(m) + " has " + CountText(oldGlows, "glow", "glows") + " in " + oldName + ", " +
                std::to_string(newGlows) + " in " + newName);
    }
    return differences;
}

nlohmann::ordered_json DiffEdits(const TModel& oldModel, const TModel& newModel, const std::string& newName)
{
    nlohmann::ordered_json edits = nlohmann::ordered_json::array();
    for (int m = 0; m < oldModel.Meshes.Count(); ++m) {
        const TOMesh& oldMesh = oldModel.Meshes.Get(m);
        const TOMesh& newMesh = newModel.Meshes.Get(m);
        for (int g = 0; g < oldMesh.Glows.Count(); ++g) {
            const TEngineGlow& before = oldMesh.Glows.Get(g);
            const TEngineGlow& after = newMesh.Glows.Get(g);
            nlohmann::ordered_json edit;
            edit["mesh"] = m;
            edit["glow"] = g;
            for (const GlowField& field : GlowFields) {
                if (SameValue(field, before, after))
                    continue;
                // Refused here rather than by apply later: what diff prints
                // always applies.
                edit[field.Name] = edit_list::ListedValue(field, after,
                                                          "mesh " + std::to_string(m) + " glow " + std::to_string(g) +
                                                              " " + field.Name + " of " + newName + ": ");
            }
            if (edit.size() > 2)
                edits.push_back(std::move(edit));
        }
    }
    return edits;
}

std::string DescribeChanges(int mesh, int glow, const TEngineGlow& before, const TEngineGlow& after)
{
    std::string text;
    for (const GlowField& field : GlowFields)
        if (!SameValue(field, before, after))
            text += "mesh " + std::to_string(mesh) + " glow " + std::to_string(glow) + " " + field.Name + ": " +
                    ValueText(field, before) + " -> " + ValueText(field, after) + "\n";
    return text;
}

}  // namespace optglow
