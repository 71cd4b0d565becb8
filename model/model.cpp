#include "model.h"

#include <string>

void ListIndexError(const char* message, int index)
{
    std::string text = message;
    const auto at = text.find("%d");
    text.replace(at, 2, std::to_string(index));
    throw EListError(text);
}

void TModel::Clear()
{
    Meshes.Clear();
    Textures.Clear();
    Palettes.Clear();
}
