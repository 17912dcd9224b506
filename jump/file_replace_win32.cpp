#include <windows.h>

#include <vector>

#include "jump/file_replace.h"

namespace {
// What the user may have set on the history file and the new file keeps.
const DWORD kKeptAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                              FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
// A viewer, a backup or a virus scanner holds a file only briefly.
const int kBusyRetries = 5;
const DWORD kBusyRetryMilliseconds = 30;

// Writes everything, cuts the file there and flushes it to the disk; closes the
// handle in every case.
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
    ok = ok && SetEndOfFile(file) && FlushFileBuffers(file);
    return CloseHandle(file) && ok;
}

// The existing file is opened, not created anew: Windows refuses to re-create a
// hidden file with other attributes, and opening keeps its attributes and
// security settings. A file that others hold open with write sharing can
// still be written this way.
bool WriteInPlace(const std::string& path, const std::string& bytes)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    return file != INVALID_HANDLE_VALUE && WriteAllAndClose(file, bytes);
}

bool IsBusy(DWORD error)
{
    return error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED || error == ERROR_LOCK_VIOLATION;
}

// A file moved into place has its folder's permissions; the user's own stay
// with the old file unless copied. Best effort: without them the save goes on.
void CopyPermissions(const std::string& from, const std::string& to)
{
    DWORD size = 0;
    GetFileSecurityA(from.c_str(), DACL_SECURITY_INFORMATION, nullptr, 0, &size);
    std::vector<char> descriptor(size);
    if (size && GetFileSecurityA(from.c_str(), DACL_SECURITY_INFORMATION, descriptor.data(), size, &size))
        SetFileSecurityA(to.c_str(), DACL_SECURITY_INFORMATION, descriptor.data());
}

// A temporary file left by a save that was killed carries the history's
// attributes, and Windows refuses to re-create a file that is read-only, or
// hidden or system when the new attributes lack those bits: left there, it
// would send every later save in place. Whatever cannot be removed stays.
void RemoveLeftover(const std::string& temporary)
{
    const DWORD attributes = GetFileAttributesA(temporary.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return;
    SetFileAttributesA(temporary.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(temporary.c_str());
}

// 0 when the new file took the old one's place in one step, else the error.
DWORD MoveOver(const std::string& temporary, const std::string& path)
{
    return MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)
               ? 0
               : GetLastError();
}
}  // namespace

bool ReplaceFileContents(const std::string& path, const std::string& bytes)
{
    // A read-only file is one the user does not want written; moving a new file
    // over it would succeed on some systems.
    const DWORD attributes = GetFileAttributesA(path.c_str());
    const bool replacing = attributes != INVALID_FILE_ATTRIBUTES;
    if (replacing && (attributes & FILE_ATTRIBUTE_READONLY))
        return false;
    // The new file is made with the old one's attributes: a move carries none over.
    const DWORD kept = replacing ? attributes & kKeptAttributes : 0;
    const std::string temporary = TemporaryPathFor(path);
    RemoveLeftover(temporary);
    HANDLE file = CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              kept ? kept : FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return WriteInPlace(path, bytes);
    if (!WriteAllAndClose(file, bytes)) {
        DeleteFileA(temporary.c_str());
        return false;
    }
    if (replacing)
        CopyPermissions(path, temporary);
    DWORD error = MoveOver(temporary, path);
    for (int retry = 0; IsBusy(error) && retry < kBusyRetries; ++retry) {
        Sleep(kBusyRetryMilliseconds);
        error = MoveOver(temporary, path);
    }
    if (error == 0)
        return true;
    DeleteFileA(temporary.c_str());
    return IsBusy(error) && WriteInPlace(path, bytes);
}
