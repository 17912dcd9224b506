#include "jump/file_replace.h"

FilePath TemporaryPathFor(const FilePath& path)
{
    return path + FILE_PATH_TEXT(".tmp");
}
