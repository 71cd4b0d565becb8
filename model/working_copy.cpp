#include "working_copy.h"

#include "app_state.h"
#include "errors.h"
#include "model.h"

std::string FileNamePart(const std::string& path)
{
    return path.substr(path.find_last_of('/') + 1);
}

void CopyOpt(const std::string&)
{
    throw Exception("not built yet");
}

void CopyFileStream(const std::string&, const std::string&)
{
    throw Exception("not built yet");
}

void WriteGlow(const std::string&, const TEngineGlow&)
{
    throw Exception("not built yet");
}

void WriteDialogGlow()
{
    if (DialogGlow)
        WriteGlow(ProjectDir + OptFileName, *DialogGlow);
}
