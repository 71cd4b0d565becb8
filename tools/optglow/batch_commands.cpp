#include "batch_commands.h"

#include <ostream>
#include <utility>

#include "edit_list.h"
#include "file_bytes.h"
#include "glow_list.h"
#include "opt_file_io.h"
#include "optglow_commands.h"
#include "working_copy.h"

namespace optglow {

namespace {

// The operands of a command line (after the command name), with its one
// optional flag taken out.
std::vector<std::string> Operands(const std::vector<std::string>& args, const std::string& flag, bool& given)
{
    given = false;
    std::vector<std::string> operands;
    for (size_t i = 1; i < args.size(); ++i) {
        if (args[i] == flag)
            given = true;
        else if (args[i].starts_with("--"))
            throw UsageError("unknown option '" + args[i] + "' for " + args[0]);
        else
            operands.push_back(args[i]);
    }
    return operands;
}

std::string GlowName(const GlowPatch& patch)
{
    return "mesh " + std::to_string(patch.Mesh) + " glow " + std::to_string(patch.Glow);
}

// Patches each glow once, in order, into the file as read (identity), and
// as this command left it after each glow. A failure names what was already
// written.
void WritePatches(const std::string& path, const std::vector<GlowPatch>& patches, TFileIdentity identity)
{
    for (size_t k = 0; k < patches.size(); ++k) {
        const std::string before = k == 0 ? "no glow was patched before"
                                          : std::to_string(k) + " of " + std::to_string(patches.size()) +
                                                " glows were patched before, up to " + GlowName(patches[k - 1]);
        try {
            identity = WriteGlow(path, patches[k].After, &identity);
        } catch (const EFOpenError& e) {
            // Nothing of this glow was written.
            throw Exception(std::string(e.what()) + " to patch " + GlowName(patches[k]) + "; " + before);
        } catch (const EFileChanged& e) {
            throw Exception(std::string(e.what()) + ", so " + GlowName(patches[k]) + " was not patched; " + before);
        } catch (const Exception& e) {
            throw Exception(std::string(e.what()) + " while patching " + GlowName(patches[k]) +
                            ", whose 68 bytes may be partly written; " + before);
        }
    }
}

}  // namespace

TFileIdentity ReadModel(const std::string& path, TModel& model, std::ostream& err)
{
    OPTInFile reader;
    const TFileIdentity read = reader.ReadOpt(path, model);
    if (const std::string leftOut = LeftOutText(reader.LeftOut); !leftOut.empty())
        err << "optglow: " << path << ": " << leftOut << '\n';
    return read;
}

int GlowsCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    bool json = false;
    const auto operands = Operands(args, "--json", json);
    if (operands.size() != 1)
        throw UsageError("glows takes one FILE");
    TModel model;
    ReadModel(operands[0], model, err);
    out << (json ? GlowsJson(model).dump() + "\n" : GlowTable(model));
    return ExitOk;
}

int DiffCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    bool text = false;
    const auto operands = Operands(args, "--text", text);
    if (operands.size() != 2)
        throw UsageError("diff takes OLD and NEW");
    const std::string& oldPath = operands[0];
    const std::string& newPath = operands[1];
    TModel oldModel, newModel;
    ReadModel(oldPath, oldModel, err);
    ReadModel(newPath, newModel, err);
    const std::string layout = GlowLayoutDifference(oldModel, oldPath, newModel, newPath);
    if (!layout.empty())
        throw Exception(oldPath + " and " + newPath + " do not hold the same glows: " + layout);
    const nlohmann::ordered_json edits = DiffEdits(oldModel, newModel, newPath);
    if (!text) {
        out << EditListText(edits);
    } else {
        for (const auto& edit : edits) {
            const int m = edit["mesh"].get<int>();
            const int g = edit["glow"].get<int>();
            out << DescribeChanges(m, g, oldModel.Meshes.Get(m).Glows.Get(g), newModel.Meshes.Get(m).Glows.Get(g));
        }
    }
    return edits.empty() ? ExitOk : ExitDifferent;
}

int ApplyCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    bool dryRun = false;
    const auto operands = Operands(args, "--dry-run", dryRun);
    if (operands.size() != 2)
        throw UsageError("apply takes FILE and EDITS.json");
    const std::string& path = operands[0];
    const std::string& editsPath = operands[1];

    // Everything is checked before the first byte is written: the edit list
    // whole, against the model read whole (a glow block that leaves the file
    // fails the read).
    const std::vector<uint8_t> editBytes = ReadWholeFile(editsPath);
    TModel model;
    const TFileIdentity read = ReadModel(path, model, err);
    std::vector<GlowPatch> patches;
    try {
        patches = ParseEditList(std::string(editBytes.begin(), editBytes.end()), model, path);
    } catch (const Exception& e) {
        throw Exception(editsPath + ": " + e.what());
    }

    if (dryRun) {
        for (const GlowPatch& patch : patches)
            out << DescribeChanges(patch.Mesh, patch.Glow, patch.Before, patch.After);
        out << "dry run: would patch " << patches.size() << (patches.size() == 1 ? " glow" : " glows") << " of "
            << path << ", nothing written\n";
        return ExitOk;
    }
    WritePatches(path, patches, read);
    return ExitOk;
}

}  // namespace optglow
