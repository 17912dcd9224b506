#include "app/path_exists.h"

BOOL PathExists(const std::string& path, BOOL wantDirectory)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(path.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return FALSE;
    FindClose(search);
    const bool isDirectory = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    return wantDirectory ? isDirectory : !isDirectory;
}
