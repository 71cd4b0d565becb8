#include "edit_list_format.h"

#include <algorithm>
#include <cmath>
#include <set>

#include "errors.h"

namespace edit_list {

namespace {

using Json = nlohmann::json;

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
        FailEdit(edit, field, Shown(number) + " lies outside the float32 range");
    return static_cast<float>(d);
}

TFloat3 ToVector(const Json& value, size_t edit, const GlowField& field)
{
    if (!value.is_array() || value.size() != 3 || !value[0].is_number() || !value[1].is_number() ||
        !value[2].is_number())
        FailEdit(edit, field.Name, "expected three numbers [x, y, z], got " + Shown(value));
    const TFloat3 v{ToFloat32(value[0], edit, field.Name), ToFloat32(value[1], edit, field.Name),
                    ToFloat32(value[2], edit, field.Name)};
    if (field.Density) {
        try {
            CheckDensity(v, Shown(value));
        } catch (const Exception& e) {
            FailEdit(edit, field.Name, e.what());
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
        FailEdit(edit, name, std::string("expected a ") + name + " index from 0 or \"*\", got " + Shown(value));
    return value.get<int64_t>();
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
                FailEdit(static_cast<size_t>(Edit), key, "given twice");
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

void FailEdit(size_t index, const std::string& field, const std::string& message)
{
    throw Exception("edit " + std::to_string(index) + (field.empty() ? "" : ", field \"" + field + "\"") + ": " +
                    message);
}

Json ListedEdits(const std::string& jsonText)
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
    if (!list["edits"].is_array())
        throw Exception("\"edits\" is not an array");
    return std::move(list["edits"]);
}

TListedEdit ParseEdit(const Json& edit, size_t index)
{
    if (!edit.is_object())
        FailEdit(index, "", "expected an object {\"mesh\": ..., \"glow\": ..., FIELD: VALUE...}, got " + Shown(edit));
    // Every value is checked before the edit selects any glow.
    TListedEdit listed;
    for (const auto& item : edit.items()) {
        if (item.key() == "mesh" || item.key() == "glow")
            continue;
        const GlowField* field = FindField(item.key());
        if (!field)
            FailEdit(index, item.key(), "unknown field (known: mesh, glow, " + FieldNames() + ")");
        if (field->Color) {
            if (!item.value().is_string())
                FailEdit(index, field->Name, "expected a colour \"AARRGGBB\", got " + Shown(item.value()));
            try {
                listed.Values.*field->Color = ParseColor(item.value().get<std::string>());
            } catch (const Exception& e) {
                FailEdit(index, field->Name, e.what());
            }
        } else {
            listed.Values.*field->Vector = ToVector(item.value(), index, *field);
        }
        listed.Fields.push_back(field);
    }
    for (const char* key : {"mesh", "glow"})
        if (!edit.contains(key))
            FailEdit(index, key, "missing (an edit names \"mesh\" and \"glow\": an index from 0 or \"*\")");
    listed.Mesh = ToSelector(edit["mesh"], index, "mesh");
    listed.Glow = ToSelector(edit["glow"], index, "glow");
    return listed;
}

void RequireFields(const TListedEdit& edit, size_t index)
{
    if (edit.Fields.empty())
        FailEdit(index, "", "changes no field (fields: " + FieldNames() + ")");
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

std::string GlowListText(int mesh, int glow, const TEngineGlow& values)
{
    nlohmann::ordered_json edit;
    edit["mesh"] = mesh;
    edit["glow"] = glow;
    const std::string where = "mesh " + std::to_string(mesh) + " glow " + std::to_string(glow) + " ";
    for (const GlowField& field : GlowFields)
        edit[field.Name] = ListedValue(field, values, where + field.Name + ": ");
    return EditListText(nlohmann::ordered_json::array({edit}));
}

TListedEdit ParseGlowList(const std::string& jsonText)
{
    const Json edits = ListedEdits(jsonText);
    if (edits.empty())
        throw Exception("the edit list holds no edit");
    TListedEdit glow;
    for (size_t i = 0; i < edits.size(); ++i) {
        const TListedEdit edit = ParseEdit(edits[i], i);
        RequireFields(edit, i);
        if (i > 0 && (edit.Mesh != glow.Mesh || edit.Glow != glow.Glow))
            FailEdit(i, "", "selects other glows than edit 0: the list holds more than one glow's values");
        glow.Mesh = edit.Mesh;
        glow.Glow = edit.Glow;
        for (const GlowField* field : edit.Fields) {
            CopyField(*field, edit.Values, glow.Values);
            if (std::find(glow.Fields.begin(), glow.Fields.end(), field) == glow.Fields.end())
                glow.Fields.push_back(field);
        }
    }
    return glow;
}

}  // namespace edit_list
