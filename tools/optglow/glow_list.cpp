#include "glow_list.h"

#include <algorithm>
#include <vector>

#include "glow_values.h"

namespace optglow {

std::string GlowTable(const TModel& model)
{
    using Row = std::vector<std::string>;
    Row header = {"mesh", "glow", "filePos"};
    for (const GlowField& field : GlowFields)
        header.emplace_back(field.Name);
    std::vector<Row> rows = {header};
    for (int m = 0; m < model.Meshes.Count(); ++m) {
        const TOMesh& mesh = model.Meshes.Get(m);
        for (int g = 0; g < mesh.Glows.Count(); ++g) {
            const TEngineGlow& glow = mesh.Glows.Get(g);
            Row row = {std::to_string(m), std::to_string(g), std::to_string(glow.FilePos)};
            for (const GlowField& field : GlowFields)
                row.push_back(ValueText(field, glow));
            rows.push_back(std::move(row));
        }
    }
    std::vector<size_t> widths(header.size(), 0);
    for (const Row& row : rows)
        for (size_t c = 0; c < row.size(); ++c)
            widths[c] = std::max(widths[c], row[c].size());
    // Indices and positions to the right, texts to the left; no blanks at the
    // end of a line.
    std::string text;
    for (const Row& row : rows) {
        std::string line;
        for (size_t c = 0; c < row.size(); ++c) {
            const std::string pad(widths[c] - row[c].size(), ' ');
            line += (c ? "  " : "") + (c < 3 ? pad + row[c] : row[c] + pad);
        }
        line.erase(line.find_last_not_of(' ') + 1);
        text += line + "\n";
    }
    return text;
}

nlohmann::ordered_json GlowsJson(const TModel& model)
{
    nlohmann::ordered_json glows = nlohmann::ordered_json::array();
    for (int m = 0; m < model.Meshes.Count(); ++m) {
        const TOMesh& mesh = model.Meshes.Get(m);
        for (int g = 0; g < mesh.Glows.Count(); ++g) {
            nlohmann::ordered_json j;
            j["mesh"] = m;
            j["glow"] = g;
            j.update(GlowToJson(mesh.Glows.Get(g)));
            glows.push_back(std::move(j));
        }
    }
    nlohmann::ordered_json j;
    j["glows"] = std::move(glows);
    return j;
}

}  // namespace optglow
