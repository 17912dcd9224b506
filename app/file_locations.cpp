#include "app/file_locations.h"

namespace {
// A path shorter than four characters loses all of it rather than reading before its start.
FilePath WithoutLastFour(const FilePath& path)
{
    return path.size() > 4 ? path.substr(0, path.size() - 4) : FilePath();
}
}  // namespace

FilePath SettingsPathFor(const FilePath& modulePath)
{
    return WithoutLastFour(modulePath) + FILE_PATH_TEXT(".ini");
}

FilePath HistoryPathFor(const FilePath& modulePath)
{
    return WithoutLastFour(modulePath) + FILE_PATH_TEXT(".log");
}
