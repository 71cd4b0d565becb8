#include "optglow_commands.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <ostream>

#include "errors.h"
#include "opt_file_io.h"
#include "working_copy.h"

namespace optglow {

namespace {

using Json = nlohmann::ordered_json;

constexpr const char* HelpText =
    "optglow - inspect and patch the engine glows of an OPT model\n"
    "\n"
    "Usage:\n"
    "  optglow dump FILE\n"
    "      Prints the model as JSON: for every mesh its lodCount, lodDist,\n"
    "      vertices, faces (vertex indices per LOD 0, 1, 2) and glows (filePos,\n"
    "      coreColor, outerColor, center, mainVec, density0..2). Colours are\n"
    "      AARRGGBB; numbers read back to the exact stored value; non-finite\n"
    "      numbers are \"nan\", \"inf\" or \"-inf\".\n"
    "\n"
    "  optglow set FILE MESH GLOW FIELD=VALUE...\n"
    "      Changes glow GLOW of mesh MESH (both counted from 0, as in dump) and\n"
    "      writes its 68 bytes back into FILE itself; nothing else of the file\n"
    "      changes. Fields:\n"
    "        core=AARRGGBB, outer=AARRGGBB     colours, 8 hexadecimal digits\n"
    "        center=X,Y,Z, vector=X,Y,Z        numbers with '.' as decimal point\n"
    "        density0=X,Y,Z, density1=X,Y,Z, density2=X,Y,Z\n"
    "                                          each number from 0.0 to 1.0\n"
    "      Every value is checked before anything is written: on an error FILE\n"
    "      is left exactly as it was.\n"
    "\n"
    "  optglow --help\n"
    "      Shows this text.\n"
    "\n"
    "Exit codes: 0 success, 1 error, 2 wrong usage.\n";

constexpr const char* UsageText =
    "Usage: optglow dump FILE\n"
    "       optglow set FILE MESH GLOW FIELD=VALUE...\n"
    "       optglow --help\n";

// A command line that does not have the shape of a command.
class UsageError : public Exception {
public:
    using Exception::Exception;
};

Json VectorJson(float x, float y, float z)
{
    return Json::array({FloatToJson(x), FloatToJson(y), FloatToJson(z)});
}

Json VectorJson(const TFloat3& v)
{
    return VectorJson(v.X, v.Y, v.Z);
}

Json GlowToJson(const TEngineGlow& g)
{
    Json j;
    j["filePos"] = g.FilePos;
    j["coreColor"] = ColorText(g.CoreColor);
    j["outerColor"] = ColorText(g.OuterColor);
    j["center"] = VectorJson(g.Center);
    j["mainVec"] = VectorJson(g.MainVec);
    j["density0"] = VectorJson(g.Density0);
    j["density1"] = VectorJson(g.Density1);
    j["density2"] = VectorJson(g.Density2);
    return j;
}

Json MeshToJson(const TOMesh& mesh)
{
    Json j;
    j["lodCount"] = mesh.LodCount;
    j["lodDist"] = VectorJson(mesh.LodDist);
    Json vertices = Json::array();
    for (const TVertex& v : mesh.Vertices)
        vertices.push_back(VectorJson(v.X, v.Y, v.Z));
    j["vertices"] = std::move(vertices);
    Json faces = Json::array();
    for (const TFaceL& lod : mesh.Faces) {
        Json lodFaces = Json::array();
        for (const TOFace& f : lod)
            lodFaces.push_back(Json::array({f.VertIdx.Index[0], f.VertIdx.Index[1], f.VertIdx.Index[2], f.VertIdx.Index[3]}));
        faces.push_back(std::move(lodFaces));
    }
    j["faces"] = std::move(faces);
    Json glows = Json::array();
    for (const TEngineGlow& g : mesh.Glows)
        glows.push_back(GlowToJson(g));
    j["glows"] = std::move(glows);
    return j;
}

// One number of a vector: optional sign, digits with '.' as decimal point,
// optional exponent, blanks around; finite as a float32.
float ParseNumber(const std::string& text, const std::string& whole)
{
    const auto first = text.find_first_not_of(' ');
    const auto last = text.find_last_not_of(' ');
    const auto bad = [&whole]() { return Exception("'" + whole + "' is not three numbers x,y,z"); };
    if (first == std::string::npos)
        throw bad();
    const char* begin = text.data() + first;
    const char* end = text.data() + last + 1;
    if (*begin == '+' && end - begin > 1 && begin[1] != '-')
        ++begin;
    float value = 0;
    const auto [stop, ec] = std::from_chars(begin, end, value, std::chars_format::general);
    if (ec != std::errc() || stop != end || !std::isfinite(value))
        throw bad();
    return value;
}

std::string CountText(int count, const char* one, const char* many)
{
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

int Dump(const std::vector<std::string>& args, std::ostream& out)
{
    if (args.size() != 2)
        throw UsageError("dump takes one FILE");
    TheReader.ReadOpt(args[1]);
    // Built whole before anything is printed: a damaged file prints nothing.
    const std::string text = ModelToJson(TheModel).dump();
    out << text << '\n';
    return ExitOk;
}

int Set(const std::vector<std::string>& args)
{
    if (args.size() < 5)
        throw UsageError("set takes FILE MESH GLOW and at least one FIELD=VALUE");
    const std::string& path = args[1];
    const int meshIndex = ParseIndex(args[2], "mesh");
    const int glowIndex = ParseIndex(args[3], "glow");
    std::vector<std::pair<std::string, std::string>> assignments;
    for (size_t i = 4; i < args.size(); ++i) {
        const auto eq = args[i].find('=');
        if (eq == std::string::npos)
            throw UsageError("'" + args[i] + "' is not FIELD=VALUE");
        assignments.emplace_back(args[i].substr(0, eq), args[i].substr(eq + 1));
    }

    TheReader.ReadOpt(path);
    if (meshIndex >= TheModel.Meshes.Count())
        throw Exception("mesh " + std::to_string(meshIndex) + " does not exist: the model has " +
                        CountText(TheModel.Meshes.Count(), "mesh", "meshes"));
    const TOMesh& mesh = TheModel.Meshes.Get(meshIndex);
    if (glowIndex >= mesh.Glows.Count())
        throw Exception("glow " + std::to_string(glowIndex) + " does not exist: mesh " + std::to_string(meshIndex) +
                        " has " + CountText(mesh.Glows.Count(), "glow", "glows"));
    TEngineGlow glow = mesh.Glows.Get(glowIndex);
    for (const auto& [field, value] : assignments)
        SetField(glow, field, value);
    WriteGlow(path, glow);
    return ExitOk;
}

}  // namespace

Json FloatToJson(float value)
{
    if (std::isnan(value))
        return "nan";
    if (std::isinf(value))
        return value > 0 ? "inf" : "-inf";
    // The shortest decimal that reads back as this float32 ("0.8", not
    // "0.800000011920929"), held as the double nearest to it; the JSON writer
    // prints that double with the same digits. Should the double not round
    // back to the float, the float's exact value is used instead.
    char text[32];
    const auto written = std::to_chars(text, text + sizeof text, value);
    double shortest = 0;
    const auto read = std::from_chars(text, written.ptr, shortest);
    if (written.ec == std::errc() && read.ec == std::errc() && static_cast<float>(shortest) == value)
        return shortest;
    return static_cast<double>(value);
}

std::string ColorText(uint32_t color)
{
    char text[9];
    std::snprintf(text, sizeof text, "%08X", static_cast<unsigned>(color));
    return text;
}

Json ModelToJson(const TModel& model)
{
    Json meshes = Json::array();
    for (const TOMesh& mesh : model.Meshes)
        meshes.push_back(MeshToJson(mesh));
    Json j;
    j["meshes"] = std::move(meshes);
    return j;
}

uint32_t ParseColor(const std::string& text)
{
    uint32_t value = 0;
    const auto [stop, ec] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
    // from_chars takes no sign or prefix for base 16, so 8 consumed characters
    // are 8 hexadecimal digits.
    if (text.size() != 8 || ec != std::errc() || stop != text.data() + text.size())
        throw Exception("'" + text + "' is not a colour of 8 hexadecimal digits AARRGGBB");
    return value;
}

TFloat3 ParseVector(const std::string& text)
{
    const auto comma1 = text.find(',');
    const auto comma2 = comma1 == std::string::npos ? comma1 : text.find(',', comma1 + 1);
    if (comma2 == std::string::npos || text.find(',', comma2 + 1) != std::string::npos)
        throw Exception("'" + text + "' is not three numbers x,y,z");
    return {ParseNumber(text.substr(0, comma1), text), ParseNumber(text.substr(comma1 + 1, comma2 - comma1 - 1), text),
            ParseNumber(text.substr(comma2 + 1), text)};
}

TFloat3 ParseDensity(const std::string& text)
{
    const TFloat3 v = ParseVector(text);
    for (float c : {v.X, v.Y, v.Z})
        if (c < 0.0f || c > 1.0f)
            throw Exception("'" + text + "': a density lies between 0.0 and 1.0");
    return v;
}

int ParseIndex(const std::string& text, const char* what)
{
    // from_chars takes a '-', and "-0" would pass as 0: digits only.
    int value = -1;
    const auto [stop, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || text[0] == '-' || ec != std::errc() || stop != text.data() + text.size())
        throw Exception(std::string("'") + text + "' is not a " + what + " index");
    return value;
}

void SetField(TEngineGlow& glow, const std::string& field, const std::string& value)
{
    if (field == "core")
        glow.CoreColor = ParseColor(value);
    else if (field == "outer")
        glow.OuterColor = ParseColor(value);
    else if (field == "center")
        glow.Center = ParseVector(value);
    else if (field == "vector")
        glow.MainVec = ParseVector(value);
    else if (field == "density0")
        glow.Density0 = ParseDensity(value);
    else if (field == "density1")
        glow.Density1 = ParseDensity(value);
    else if (field == "density2")
        glow.Density2 = ParseDensity(value);
    else
        throw Exception("unknown field '" + field +
                        "' (known: core, outer, center, vector, density0, density1, density2)");
}

int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    try {
        if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
            out << HelpText;
            return ExitOk;
        }
        if (!args.empty() && args[0] == "dump")
            return Dump(args, out);
        if (!args.empty() && args[0] == "set")
            return Set(args);
        throw UsageError(args.empty() ? "no command given" : "unknown command '" + args[0] + "'");
    } catch (const UsageError& e) {
        err << "optglow: " << e.what() << '\n' << UsageText;
        return ExitUsage;
    } catch (const std::exception& e) {
        err << "optglow: " << e.what() << '\n';
        return ExitError;
    }
}

}  // namespace optglow
