#include "optglow_commands.h"

#include <charconv>
#include <ostream>

#include "batch_commands.h"
#include "messages.h"
#include "opt_file_io.h"
#include "working_copy.h"

namespace optglow {

namespace {

using Json = nlohmann::ordered_json;

constexpr const char* HelpText =
    "optglow - inspect, list, diff and patch the engine glows of OPT models\n"
    "\n"
    "Usage:\n"
    "  optglow dump FILE\n"
    "      Prints the model as JSON: for every mesh its lodCount, lodDist,\n"
    "      vertices, faces (vertex indices per LOD 0, 1, 2) and glows (filePos,\n"
    "      coreColor, outerColor, center, mainVec, density0..2). Colours are\n"
    "      AARRGGBB; numbers read back to the exact stored value; non-finite\n"
    "      numbers are \"nan\", \"inf\" or \"-inf\". Printed as it goes: dump\n"
    "      needs the memory of the model and little more.\n"
    "\n"
    "  optglow glows FILE [--json]\n"
    "      Prints every glow of the model, one line each under a header: mesh,\n"
    "      glow, filePos, core, outer, center, vector, density0..2, values\n"
    "      written as set takes them. With --json: {\"glows\": [...]}, the glows\n"
    "      of dump, each with its \"mesh\" and \"glow\" index.\n"
    "\n"
    "  optglow diff OLD NEW [--text]\n"
    "      Compares the glows of two files that hold the same glows (same\n"
    "      number of meshes, same number of glows in each) and prints the edit\n"
    "      list that turns OLD's glows into NEW's: one edit per glow that\n"
    "      differs, with only the fields that differ. Applied to OLD, it makes\n"
    "      the 68 written bytes of every glow equal to NEW's. With --text: one\n"
    "      line per changed field, \"mesh M glow G FIELD: OLD -> NEW\".\n"
    "\n"
    "  optglow apply FILE EDITS [--dry-run]\n"
    "      Applies the edit list in the file EDITS to FILE in place: each glow\n"
    "      an edit selects is patched once, at its 68 bytes; nothing else of\n"
    "      FILE changes. With --dry-run: prints, as diff --text does, what would\n"
    "      change, and writes nothing. An edit list is JSON:\n"
    "        {\"edits\": [{\"mesh\": 0, \"glow\": 1, \"core\": \"FF8040C0\",\n"
    "                    \"center\": [0, 1.5, -2]}, ...]}\n"
    "      \"mesh\" and \"glow\" are indices from 0 or \"*\": \"mesh\": \"*\" selects\n"
    "      that glow of every mesh that has it, \"glow\": \"*\" every glow of the\n"
    "      mesh, both \"*\" every glow of the model. The other keys are set's\n"
    "      fields: colours as \"AARRGGBB\", vectors as [x, y, z], each number\n"
    "      taken as the nearest float32 (densities from 0.0 to 1.0). Later\n"
    "      edits of the same glow and field win; a key given twice in one\n"
    "      object is an error. Errors name the edit (counted from 0) and the\n"
    "      field.\n"
    "\n"
    "  optglow set FILE MESH GLOW FIELD=VALUE...\n"
    "      Changes glow GLOW of mesh MESH (both counted from 0, as in dump) and\n"
    "      writes its 68 bytes back into FILE itself; nothing else of the file\n"
    "      changes. Fields:\n"
    "        core=AARRGGBB, outer=AARRGGBB     colours, 8 hexadecimal digits\n"
    "        center=X,Y,Z, vector=X,Y,Z        numbers with '.' as decimal point\n"
    "        density0=X,Y,Z, density1=X,Y,Z, density2=X,Y,Z\n"
    "                                          each number from 0.0 to 1.0\n"
    "\n"
    "  optglow --help\n"
    "      Shows this text.\n"
    "\n"
    "Options:\n"
    "  --json      glows: JSON instead of the table\n"
    "  --text      diff: a readable summary instead of the edit list\n"
    "  --dry-run   apply: show what would change, write nothing\n"
    "  -h, --help  show this text\n"
    "\n"
    "What happens to FILE on errors:\n"
    "  set and apply check the command line, every value, the whole edit list\n"
    "  and FILE itself (readable, every glow block inside it) before they write\n"
    "  a byte: on any such error FILE is left exactly as it was. A file that\n"
    "  another program writes while it is read is refused (\"changed while it\n"
    "  was being read\"), and so is one that another program changed between\n"
    "  the read and the write: nothing is written.\n"
    "  apply writes all its glows or none, even across a crash or a power cut:\n"
    "  before it patches several glows it records what it overwrites in\n"
    "  .FILE.neg-record beside FILE (flushed to the disk), and removes the record\n"
    "  once the glows are patched and flushed. A failure of the writing itself\n"
    "  (a full disk, an input/output error) puts the old bytes back at once and\n"
    "  exits non-zero with FILE as it was; where putting them back fails too,\n"
    "  the message says so and the record stays. One glow is written as it is:\n"
    "  a failed write can leave its 68 bytes partly new.\n"
    "  A record beside FILE is a write that did not finish: set and apply first\n"
    "  put back the old bytes it keeps and say so (or, where FILE no longer\n"
    "  matches the record, say that and write nothing), as the editor does when\n"
    "  it opens the file; dump, glows and diff say that it is there and change\n"
    "  nothing.\n"
    "\n"
    "Files whose node tables share nodes:\n"
    "  A node that the tables list many times (legal, though rare) is read once\n"
    "  for every listing, so a file of a few kilobytes can stand for a model of\n"
    "  up to 2.25 GiB in memory; the reader refuses more, and a walk over more\n"
    "  than 2,000,000 nodes. Every command holds the model while it runs, and\n"
    "  reading one that large takes seconds; dump's output grows with it, to\n"
    "  hundreds of megabytes. The glows of a glow node listed more than once\n"
    "  share its block: apply patches them alike, each field as the latest\n"
    "  edit of any of them sets it.\n"
    "\n"
    "Tables longer than the reader takes:\n"
    "  Past 70 top-level nodes, 50 children of a mesh or a group and 100 face\n"
    "  nodes of an LOD, the entries are left out. Every command that reads a\n"
    "  file says on standard error what was left out of it, as in\n"
    "  \"optglow: FILE: 10 glows past the reader's limits are left out\".\n"
    "\n"
    "Exit status:\n"
    "  diff: 0 no difference, 1 differences, 2 wrong usage, 3 error.\n"
    "  Every other command: 0 success, 1 error, 2 wrong usage.\n"
    "  Output that cannot be written is an error.\n";

// The bounds the help text names.
static_assert(OPTInFile::DefaultMaxModelBytes == int64_t{9} << 28 && OPTInFile::DefaultMaxNodeVisits == 2'000'000);
static_assert(OPTInFile::MaxTopLevel == 70 && OPTInFile::MaxMeshChildren == 50 && OPTInFile::MaxGroupChildren == 50 &&
              OPTInFile::MaxFaceNodes == 100);

constexpr const char* UsageText =
    "Usage: optglow dump FILE\n"
    "       optglow glows FILE [--json]\n"
    "       optglow diff OLD NEW [--text]\n"
    "       optglow apply FILE EDITS [--dry-run]\n"
    "       optglow set FILE MESH GLOW FIELD=VALUE...\n"
    "       optglow --help\n";

// A JSON array of the items, each printed by print, written as it goes.
template <typename Range, typename Print>
void PrintArray(std::ostream& out, const Range& items, const Print& print)
{
    out << '[';
    bool first = true;
    for (const auto& item : items) {
        if (!first)
            out << ',';
        first = false;
        print(item);
    }
    out << ']';
}

// The model as compact JSON, one value at a time: the memory stays that of
// the model, however large the text grows. Each value is nlohmann's own dump,
// so the text is the one the whole document would give.
void PrintModel(std::ostream& out, const TModel& model)
{
    out << "{\"meshes\":";
    PrintArray(out, model.Meshes, [&](const TOMesh& mesh) {
        out << "{\"lodCount\":" << Json(mesh.LodCount).dump() << ",\"lodDist\":" << VectorJson(mesh.LodDist).dump()
            << ",\"vertices\":";
        PrintArray(out, mesh.Vertices, [&](const TVertex& v) { out << VectorJson({v.X, v.Y, v.Z}).dump(); });
        out << ",\"faces\":";
        PrintArray(out, mesh.Faces, [&](const TFaceL& lod) {
            PrintArray(out, lod, [&](const TOFace& f) {
                const auto& i = f.VertIdx.Index;
                out << Json::array({i[0], i[1], i[2], i[3]}).dump();
            });
        });
        out << ",\"glows\":";
        PrintArray(out, mesh.Glows, [&](const TEngineGlow& g) { out << GlowToJson(g).dump(); });
        out << '}';
    });
    out << "}\n";
}

int Dump(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    if (args.size() != 2)
        throw UsageError("dump takes one FILE");
    NoteUnfinishedWrite(args[1], err);
    TModel model;
    // Read whole before anything is printed: a damaged file prints nothing.
    ReadModel(args[1], model, err);
    PrintModel(out, model);
    return ExitOk;
}

int Set(const std::vector<std::string>& args, std::ostream& err)
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

    TakeBackBeforeWriting(path, err);
    TModel model;
    const TFileIdentity read = ReadModel(path, model, err);
    if (meshIndex >= model.Meshes.Count())
        throw Exception("mesh " + std::to_string(meshIndex) + " does not exist: " + path + " has " +
                        CountText(model.Meshes.Count(), "mesh", "meshes"));
    const TOMesh& mesh = model.Meshes.Get(meshIndex);
    if (glowIndex >= mesh.Glows.Count())
        throw Exception("glow " + std::to_string(glowIndex) + " does not exist: mesh " + std::to_string(meshIndex) +
                        " has " + CountText(mesh.Glows.Count(), "glow", "glows"));
    TEngineGlow glow = mesh.Glows.Get(glowIndex);
    for (const auto& [field, value] : assignments)
        SetField(glow, field, value);
    // Not over values that another program wrote since the read.
    WriteGlow(path, glow, &read);
    return ExitOk;
}

}  // namespace

int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    const std::string command = args.empty() ? "" : args[0];
    const int errorCode = command == "diff" ? ExitDiffError : ExitError;
    try {
        int code = ExitOk;
        if (args.size() == 1 && (command == "--help" || command == "-h"))
            out << HelpText;
        else if (command == "dump")
            code = Dump(args, out, err);
        else if (command == "glows")
            code = GlowsCommand(args, out, err);
        else if (command == "diff")
            code = DiffCommand(args, out, err);
        else if (command == "apply")
            code = ApplyCommand(args, out, err);
        else if (command == "set")
            code = Set(args, err);
        else
            throw UsageError(args.empty() ? "no command given" : "unknown command '" + command + "'");
        // A full disk or a closed pipe shows only when the buffered output
        // goes out: what was not delivered is not a success.
        if (!out.flush())
            throw Exception("cannot write the output");
        return code;
    } catch (const UsageError& e) {
        err << "optglow: " << e.what() << '\n' << UsageText;
        return ExitUsage;
    } catch (const std::exception& e) {
        err << "optglow: " << e.what() << '\n';
        return errorCode;
    }
}

}  // namespace optglow
