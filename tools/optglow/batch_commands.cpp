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

}  // namespace

TFileIdentity ReadModel(const std::string& path, TModel& model, std::ostream& err)
{
    OPTInFile reader;
    const TFileIdentity read = reader.ReadOpt(path, model);
    if (const std::string leftOut = LeftOutText(reader.LeftOut); !leftOut.empty())
        err << "optglow: " << path << ": " << leftOut << '\n';
    return read;
}

void NoteUnfinishedWrite(const std::string& path, std::ostream& err)
{
    if (const std::string note = UnfinishedWriteNote(path); !note.empty())
        err << "optglow: " << note << '\n';
}

void TakeBackBeforeWriting(const std::string& path, std::ostream& err)
{
    const TTakeBack takeBack = TakeBackUnfinishedWrite(path, TLinks::Follow);
    if (takeBack.Kind == TTakeBack::LeftAlone)
        throw Exception(takeBack.Text + "; nothing was written");
    if (takeBack.Kind == TTakeBack::TakenBack)
        err << "optglow: " << takeBack.Text << '\n';
}

int GlowsCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    bool json = false;
    const auto operands = Operands(args, "--json", json);
    if (operands.size() != 1)
        throw UsageError("glows takes one FILE");
    NoteUnfinishedWrite(operands[0], err);
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
    NoteUnfinishedWrite(oldPath, err);
    NoteUnfinishedWrite(newPath, err);
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
    // fails the read), once a write that was cut short is taken back.
    const std::vector<uint8_t> editBytes = ReadWholeFile(editsPath);
    if (dryRun)
        NoteUnfinishedWrite(path, err);
    else
        TakeBackBeforeWriting(path, err);
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
    // All or nothing, and not over values that another program wrote since
    // the read.
    std::vector<TGlowPatch> blocks;
    for (const GlowPatch& patch : patches)
        blocks.push_back({patch.After.FilePos, EncodeGlowWriteBack(patch.After)});
    WriteGlowPatches(path, blocks, &read);
    return ExitOk;
}

}  // namespace optglow
