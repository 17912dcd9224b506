#include "jump/file_replace.h"

namespace {
// Whether the path ends in ".tmp", in any case, as Windows compares names.
bool EndsInTmp(const FilePath& path)
{
    const char suffix[] = ".tmp";
    if (path.size() < 4)
        return false;
    for (size_t i = 0; i < 4; ++i) {
        auto c = path[path.size() - 4 + i];
        if (c >= 'A' && c <= 'Z')
            c += 'a' - 'A';
        if (c != suffix[i])
            return false;
    }
    return true;
}
}  // namespace

FilePath TemporaryPathFor(const FilePath& path)
{
    return WithoutLastFour(path) + (EndsInTmp(path) ? FILE_PATH_TEXT("~tmp") : FILE_PATH_TEXT(".tmp"));
}
