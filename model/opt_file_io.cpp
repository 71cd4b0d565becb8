#include "opt_file_io.h"

#include "errors.h"
#include "model.h"

OPTInFile TheReader;

void OPTInFile::ReadOpt(const std::string& path)
{
    TheModel.Clear();
    throw EFOpenError(path);  // the reader is being written
}
