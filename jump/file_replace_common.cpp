#include "jump/file_replace.h"

std::string TemporaryPathFor(const std::string& path)
{
    return path + ".tmp";
}
