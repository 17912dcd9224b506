#include "app/file_locations.h"

namespace {
// A path shorter than four bytes loses all of it rather than reading before its start.
std::string WithoutLastFourBytes(const std::string& path)
{
    return path.size() > 4 ? path.substr(0, path.size() - 4) : std::string();
}
}  // namespace

std::string SettingsPathFor(const std::string& modulePath)
{
    return WithoutLastFourBytes(modulePath) + ".ini";
}

std::string HistoryPathFor(const std::string& modulePath)
{
    return WithoutLastFourBytes(modulePath) + ".log";
}
