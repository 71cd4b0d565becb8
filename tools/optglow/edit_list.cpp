#include "edit_list.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <utility>

#include "errors.h"
#include "glow_values.h"

namespace optglow {

namespace {

std::string CountText(int count, const char* one, const char* many)
{
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

// The glows an edit selects, as (mesh, glow) pairs.
std::vector<std::pair<int, int>> Select(const edit_list::TListedEdit& edit, size_t index, const TModel& model,
                                        const std::string& modelName)
{
    const int64_t mesh = edit.Mesh;
    const int64_t glow = edit.Glow;
    const int meshCount = model.Meshes.Count();
    if (mesh >= meshCount)
        edit_list::FailEdit(index, "mesh",
                            "mesh " + std::to_string(mesh) + " does not exist: " + modelName + " has " +
                                CountText(meshCount, "mesh", "meshes"));
    if (mesh >= 0) {
        const int glowCount = model.Meshes.Get(static_cast<int>(mesh)).Glows.Count();
        if (glow >= glowCount)
            edit_list::FailEdit(index, "glow",
                                "glow " + std::to_string(glow) + " does not exist: mesh " + std::to_string(mesh) +
                                    " has " + CountText(glowCount, "glow", "glows"));
    }
    // "*" for the mesh: glow N of every mesh that has one, or every glow. An
    // index looks at its own mesh or glow alone.
    std::vector<std::pair<int, int>> selected;
    const int firstMesh = mesh < 0 ? 0 : int(mesh);
    const int endMesh = mesh < 0 ? meshCount : int(mesh) + 1;
    for (int m = firstMesh; m < endMesh; ++m) {
        const int glowCount = model.Meshes.Get(m).Glows.Count();
        if (glow < 0) {
            for (int g = 0; g < glowCount; ++g)
                selected.emplace_back(m, g);
        } else if (glow < glowCount) {
            selected.emplace_back(m, int(glow));
        }
    }
    if (selected.empty())
        edit_list::FailEdit(index, "glow",
                            glow < 0 ? "selects no glow: " + (mesh < 0 ? modelName : "mesh " + std::to_string(mesh)) +
                                           " has none"
                                     : "glow " + std::to_string(glow) + " does not exist in any mesh of " + modelName);
    return selected;
}

}  // namespace

std::vector<GlowPatch> ParseEditList(const std::string& jsonText, const TModel& model, const std::string& modelName)
{
    const nlohmann::json edits = edit_list::ListedEdits(jsonText);
    std::map<std::pair<int, int>, GlowPatch> patches;
    for (size_t i = 0; i < edits.size(); ++i) {
        // Every value is checked before the edit touches any glow.
        const edit_list::TListedEdit edit = edit_list::ParseEdit(edits[i], i);
        const auto selected = Select(edit, i, model, modelName);
        edit_list::RequireFields(edit, i);
        for (const auto& [mesh, glow] : selected) {
            auto [at, added] = patches.try_emplace({mesh, glow});
            GlowPatch& patch = at->second;
            if (added) {
                patch.Mesh = mesh;
                patch.Glow = glow;
                patch.Before = patch.After = model.Meshes.Get(mesh).Glows.Get(glow);
            }
            for (const GlowField* field : edit.Fields)
                edit_list::CopyField(*field, edit.Values, patch.After);
        }
    }
    std::vector<GlowPatch> result;
    result.reserve(patches.size());
    for (auto& entry : patches)
        result.push_back(std::move(entry.second));
    return result;
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
