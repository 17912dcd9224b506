#include "app/file_locations.h"

FilePath SettingsPathFor(const FilePath& modulePath)
{
    return WithoutLastFour(modulePath) + FILE_PATH_TEXT(".ini");
}

FilePath HistoryPathFor(const FilePath& modulePath)
{
    return WithoutLastFour(modulePath) + FILE_PATH_TEXT(".log");
}
