#include "edit_list.h"

#include <cmath>
#include <cstdint>
#include <map>
#include <set>
#include <utility>

#include "errors.h"
#include "glow_values.h"

namespace optglow {

namespace {

using Json = nlohmann::json;

std::string CountText(int count, const char* one, const char* many)
{
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

[[noreturn]] void Fail(size_t edit, const std::string& field, const std::string& message)
{
    throw Exception("edit " + std::to_string(edit) + (field.empty() ? "" : ", field \"" + field + "\"") + ": " +
                    message);
}

// A JSON value as it stood in the list, shortened for a message. Values
// nested inside it show as [...] or {...}: dumping a value whole recurses as
// deep as it is nested, and a hostile list nests deeper than the stack holds.
std::string Shown(const Json& value)
{
    std::string text;
    if (value.is_structured()) {
        text = value.is_array() ? "[" : "{";
        for (auto it = value.begin(); it != value.end() && text.size() <= 40; ++it) {
            text += it == value.begin() ? "" : ",";
            if (value.is_object())
                text += Json(it.key()).dump() + ":";
            text += it->is_array() ? "[...]" : it->is_object() ? "{...}" : it->dump();
        }
        text += value.is_array() ? "]" : "}";
    } else {
        text = value.dump();
    }
    if (text.size() > 40)
        text = text.substr(0, 37) + "...";
    return text;
}

// The float32 nearest to a JSON number; numbers beyond the float32 range
// (those that would round to infinity) are refused.
float ToFloat32(const Json& number, size_t edit, const std::string& field)
{
    // Doubles from here up round to infinity as float32: FLT_MAX plus half
    // its last step.
    static const double overflow = std::ldexp(1.0, 128) - std::ldexp(1.0, 103);
    const double d = number.get<double>();
    if (!(std::fabs(d) < overflow))
        Fail(edit, field, Shown(number) + " lies outside the float32 range");
    return static_cast<float>(d);
}

TFloat3 ToVector(const Json& value, size_t edit, const GlowField& field)
{
    if (!value.is_array() || value.size() != 3 || !value[0].is_number() || !value[1].is_number() ||
        !value[2].is_number())
        Fail(edit, field.Name, "expected three numbers [x, y, z], got " + Shown(value));
    const TFloat3 v{ToFloat32(value[0], edit, field.Name), ToFloat32(value[1], edit, field.Name),
                    ToFloat32(value[2], edit, field.Name)};
    if (field.Density) {
        try {
            CheckDensity(v, Shown(value));
        } catch (const Exception& e) {
            Fail(edit, field.Name, e.what());
        }
    }
    return v;
}

// A mesh or glow selector: an index from 0, or "*" (-1).
int64_t ToSelector(const Json& value, size_t edit, const char* name)
{
    if (value.is_string() && value.get<std::string>() == "*")
        return -1;
    const bool index = value.is_number_unsigned() || (value.is_number_integer() && value.get<int64_t>() >= 0);
    if (!index || value.get<uint64_t>() > static_cast<uint64_t>(INT64_MAX))
        Fail(edit, name, std::string("expected a ") + name + " index from 0 or \"*\", got " + Shown(value));
    return value.get<int64_t>();
}

// The glows an edit selects, as (mesh, glow) pairs.
std::vector<std::pair<int, int>> Select(const Json& edit, size_t index, const TModel& model,
                                        const std::string& modelName)
{
    for (const char* key : {"mesh", "glow"})
        if (!edit.contains(key))
            Fail(index, key, "missing (an edit names \"mesh\" and \"glow\": an index from 0 or \"*\")");
    const int64_t mesh = ToSelector(edit["mesh"], index, "mesh");
    const int64_t glow = ToSelector(edit["glow"], index, "glow");
    const int meshCount = model.Meshes.Count();
    if (mesh >= meshCount)
        Fail(index, "mesh",
             "mesh " + std::to_string(mesh) + " does not exist: " + modelName + " has " +
                 CountText(meshCount, "mesh", "meshes"));
    if (mesh >= 0) {
        const int glowCount = model.Meshes.Get(static_cast<int>(mesh)).Glows.Count();
        if (glow >= glowCount)
            Fail(index, "glow",
                 "glow " + std::to_string(glow) + " does not exist: mesh " + std::to_string(mesh) + " has " +
                     CountText(glowCount, "glow", "glows"));
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
        Fail(index, "glow",
             glow < 0 ? "selects no glow: " + (mesh < 0 ? modelName : "mesh " + std::to_string(mesh)) + " has none"
                      : "glow " + std::to_string(glow) + " does not exist in any mesh of " + modelName);
    return selected;
}

// The JSON parser keeps the last of two equal keys of an object: a key given
// twice is refused instead, naming the edit where it stands. Read as a pass
// of its own over the text before it is parsed: the keys of every open
// object, and which element of the top-level "edits" array is being read.
// (The parser's own callback would do, but it looks through the whole array
// again after each edit, which made a long list take quadratic time.)
class TDuplicateKeys : public nlohmann::json_sax<Json> {
public:
    bool null() override { return Value(); }
    bool boolean(bool) override { return Value(); }
    bool number_integer(number_integer_t) override { return Value(); }
    bool number_unsigned(number_unsigned_t) override { return Value(); }
    bool number_float(number_float_t, const string_t&) override { return Value(); }
    bool string(string_t&) override { return Value(); }
    bool binary(binary_t&) override { return Value(); }
    bool start_object(std::size_t) override
    {
        Value();
        Keys.emplace_back();
        ++Depth;
        return true;
    }
    bool key(string_t& key) override
    {
        if (!Keys.back().insert(key).second) {
            if (Depth == 3 && InEdits)
                Fail(static_cast<size_t>(Edit), key, "given twice");
            throw Exception("key \"" + key + "\" given twice");
        }
        if (Depth == 1) {
            TopKey = key;
            InEdits = false;
        }
        return true;
    }
    bool end_object() override
    {
        Keys.pop_back();
        --Depth;
        return true;
    }
    bool start_array(std::size_t) override
    {
        Value();
        if (Depth == 1)
            InEdits = TopKey == "edits";
        ++Depth;
        return true;
    }
    bool end_array() override
    {
        --Depth;
        return true;
    }
    // The parse proper says what is wrong with the text.
    bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception&) override { return false; }

private:
    // A value (or an object or array) begins inside Depth open ones; depth 0
    // is the list, 1 its keys and their values, 2 the edits.
    bool Value()
    {
        if (Depth == 2 && InEdits)
            ++Edit;
        return true;
    }

    std::vector<std::set<std::string>> Keys;
    std::string TopKey;
    bool InEdits = false;
    int Depth = 0;
    int64_t Edit = -1;
};

}  // namespace

std::vector<GlowPatch> ParseEditList(const std::string& jsonText, const TModel& model, const std::string& modelName)
{
    Json list;
    try {
        TDuplicateKeys duplicates;
        Json::sax_parse(jsonText, &duplicates);
        list = Json::parse(jsonText);
    } catch (const Json::exception& e) {
        // A syntax error, or a number beyond a double (1e400). The library's
        // text starts with its own tag, "[json.exception.parse_error.101] ".
        std::string what = e.what();
        const auto tag = what.find("] ");
        throw Exception("not valid JSON: " + (tag == std::string::npos ? what : what.substr(tag + 2)));
    }
    if (!list.is_object() || !list.contains("edits"))
        throw Exception("expected an edit list {\"edits\": [...]}");
    for (const auto& item : list.items())
        if (item.key() != "edits")
            throw Exception("unknown key \"" + item.key() + "\" (an edit list holds only \"edits\")");
    const Json& edits = list["edits"];
    if (!edits.is_array())
        throw Exception("\"edits\" is not an array");

    std::map<std::pair<int, int>, GlowPatch> patches;
    for (size_t i = 0; i < edits.size(); ++i) {
        const Json& edit = edits[i];
        if (!edit.is_object())
            Fail(i, "", "expected an object {\"mesh\": ..., \"glow\": ..., FIELD: VALUE...}, got " + Shown(edit));
        // Every value is checked before the edit touches any glow.
        TEngineGlow values;
        std::vector<const GlowField*> fields;
        for (const auto& item : edit.items()) {
            if (item.key() == "mesh" || item.key() == "glow")
                continue;
            const GlowField* field = FindField(item.key());
            if (!field)
                Fail(i, item.key(), "unknown field (known: mesh, glow, " + FieldNames() + ")");
            if (field->Color) {
                if (!item.value().is_string())
                    Fail(i, field->Name, "expected a colour \"AARRGGBB\", got " + Shown(item.value()));
                try {
                    values.*field->Color = ParseColor(item.value().get<std::string>());
                } catch (const Exception& e) {
                    Fail(i, field->Name, e.what());
                }
            } else {
                values.*field->Vector = ToVector(item.value(), i, *field);
            }
            fields.push_back(field);
        }
        const auto selected = Select(edit, i, model, modelName);
        if (fields.empty())
            Fail(i, "", "changes no field (fields: " + FieldNames() + ")");
        for (const auto& [mesh, glow] : selected) {
            auto [at, added] = patches.try_emplace({mesh, glow});
            GlowPatch& patch = at->second;
            if (added) {
                patch.Mesh = mesh;
                patch.Glow = glow;
                patch.Before = patch.After = model.Meshes.Get(mesh).Glows.Get(glow);
            }
            for (const GlowField* field : fields) {
                if (field->Color)
                    patch.After.*field->Color = values.*field->Color;
                else
                    patch.After.*field->Vector = values.*field->Vector;
            }
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
                if (field.Color) {
                    edit[field.Name] = ColorText(after.*field.Color);
                    continue;
                }
                // Refused here rather than by apply later: what diff prints
                // always applies.
                const TFloat3& v = after.*field.Vector;
                const std::string where = "mesh " + std::to_string(m) + " glow " + std::to_string(g) + " " +
                                          field.Name + " of " + newName + ": ";
                if (!std::isfinite(v.X) || !std::isfinite(v.Y) || !std::isfinite(v.Z))
                    throw Exception(where + "'" + ValueText(field, after) +
                                    "' holds a number that is not finite, which an edit list cannot carry");
                if (field.Density) {
                    try {
                        CheckDensity(v, ValueText(field, after));
                    } catch (const Exception& e) {
                        throw Exception(where + e.what() + ", and apply takes no other");
                    }
                }
                edit[field.Name] = VectorJson(v);
            }
            if (edit.size() > 2)
                edits.push_back(std::move(edit));
        }
    }
    return edits;
}

std::string EditListText(const nlohmann::ordered_json& edits)
{
    if (edits.empty())
        return "{\"edits\": []}\n";
    std::string text = "{\"edits\": [\n";
    for (size_t i = 0; i < edits.size(); ++i)
        text += "  " + edits[i].dump() + (i + 1 < edits.size() ? ",\n" : "\n");
    return text + "]}\n";
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
