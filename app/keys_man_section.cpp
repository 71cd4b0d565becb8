// Writes the editor manual page's KEYS AND MOUSE section from the key table,
// in help2man's include format, into the file named by its argument (standard
// output without one). The build includes it before data/Nimbra_Engine_Glow.h2m
// (cmake/NegInstall.cmake).

#include <cstdio>
#include <string>
#include <string_view>

#include "key_table.h"

namespace {

// Text as roff sets it: a backslash printed as one, a line that cannot be
// taken for a request, and a key "-" as a minus sign (keys only: a hyphen
// in prose stays one).
std::string Roff(std::string_view text, bool key)
{
    std::string out = text.starts_with('.') || text.starts_with('\'') ? "\\&" : "";
    for (const char c : text) {
        if (c == '\\')
            out += "\\e";
        else if (c == '-' && key)
            out += "\\-";
        else
            out += c;
    }
    return out;
}

// Each key or gesture in bold, the commas between them not.
std::string KeysLine(std::string_view keys)
{
    std::string line;
    for (size_t from = 0;;) {
        const size_t comma = keys.find(", ", from);
        line += "\\fB" + Roff(keys.substr(from, comma - from), true) + "\\fR";
        if (comma == std::string_view::npos)
            return line;
        line += ", ";
        from = comma + 2;
    }
}

// The names between '*' in bold.
std::string DoesLine(std::string_view does)
{
    std::string line;
    bool bold = false;
    for (size_t from = 0;;) {
        const size_t star = does.find('*', from);
        line += Roff(does.substr(from, star - from), false);
        if (star == std::string_view::npos)
            return line;
        bold = !bold;
        line += bold ? "\\fB" : "\\fR";
        from = star + 1;
    }
}

}  // namespace

int main(int argc, char** argv)
{
    std::string page = "[KEYS AND MOUSE]\n" + Roff(KeyTableLead, false) + '\n';
    for (const TKeyGroup& group : KeyTable()) {
        page += ".SS \"" + Roff(group.Title, false) + "\"\n";
        for (const TKeyRow& row : group.Rows)
            page += ".TP\n" + KeysLine(row.Keys) + '\n' + DoesLine(row.Does) + ".\n";
    }
    std::FILE* out = argc > 1 ? std::fopen(argv[1], "w") : stdout;
    const bool written = out && std::fputs(page.c_str(), out) >= 0;
    if (!out || std::fclose(out) != 0 || !written) {
        std::fprintf(stderr, "Cannot write %s\n", argc > 1 ? argv[1] : "the output");
        return 1;
    }
    return 0;
}
