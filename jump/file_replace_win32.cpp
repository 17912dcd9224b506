#include <windows.h>

#include "jump/file_replace.h"

namespace {
HANDLE CreateForWriting(const std::string& path)
{
    return CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

// Writes everything and flushes it to the disk; closes the handle in every case.
bool WriteAllAndClose(HANDLE file, const std::string& bytes)
{
    bool ok = true;
    size_t done = 0;
    while (ok && done < bytes.size()) {
        DWORD written = 0;
        ok = WriteFile(file, bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &written,
                       nullptr) &&
             written > 0;
        done += written;
    }
    ok = ok && FlushFileBuffers(file);
    return CloseHandle(file) && ok;
}
}  // namespace

bool ReplaceFileContents(const std::string& path, const std::string& bytes)
{
    // A read-only file is one the user does not want written; moving a new file
    // over it would succeed on some systems.
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        return false;
    const std::string temporary = TemporaryPathFor(path);
    HANDLE file = CreateForWriting(temporary);
    if (file == INVALID_HANDLE_VALUE) {
        file = CreateForWriting(path);
        return file != INVALID_HANDLE_VALUE && WriteAllAndClose(file, bytes);
    }
    if (WriteAllAndClose(file, bytes) &&
        MoveFileExA(temporary.c_str(), path.c_str(),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    DeleteFileA(temporary.c_str());
    return false;
}
