#include <windows.h>

#include <vector>

#include "jump/file_replace.h"
#include "jump/in_place_rule.h"
#include "jump/writable_file.h"

namespace {
// What the user may have set on the history file and the new file keeps.
const DWORD kKeptAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                              FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
// A viewer, a backup or a virus scanner holds a file only briefly.
const int kBusyRetries = 5;
const DWORD kBusyRetryMilliseconds = 30;

class HandleFile : public WritableFile {
public:
    explicit HandleFile(HANDLE file) : m_file(file) {}

    uint32_t GetSize(uint64_t& size) override
    {
        LARGE_INTEGER length = {};
        if (!GetFileSizeEx(m_file, &length))
            return GetLastError();
        size = static_cast<uint64_t>(length.QuadPart);
        return 0;
    }
    uint32_t SetSize(uint64_t size) override
    {
        return MoveTo(size) && SetEndOfFile(m_file) ? 0 : GetLastError();
    }
    uint32_t WriteAt(uint64_t offset, const std::string& bytes) override
    {
        if (!MoveTo(offset))
            return GetLastError();
        for (size_t done = 0; done < bytes.size();) {
            DWORD written = 0;
            if (!WriteFile(m_file, bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &written, nullptr))
                return GetLastError();
            if (written == 0)
                return ERROR_WRITE_FAULT;
            done += written;
        }
        return 0;
    }
    uint32_t Flush() override { return FlushFileBuffers(m_file) ? 0 : GetLastError(); }
    uint32_t Close() override { return CloseHandle(m_file) ? 0 : GetLastError(); }

private:
    bool MoveTo(uint64_t offset)
    {
        LARGE_INTEGER at = {};
        at.QuadPart = static_cast<LONGLONG>(offset);
        return SetFilePointerEx(m_file, at, nullptr, FILE_BEGIN) != FALSE;
    }

    HANDLE m_file;
};

// An existing file is opened rather than created anew (it is created only
// when missing): Windows refuses to re-create a hidden file with other
// attributes, and opening keeps its attributes and security settings. A file
// that others hold open with write sharing can still be written this way.
DWORD OpenAndWriteInPlace(const FilePath& path, const std::string& bytes)
{
    HANDLE handle = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return GetLastError();
    HandleFile file(handle);
    return WriteAndClose(file, WriteInPlace, bytes);
}

// A file moved into place has its folder's permissions; the user's own stay
// with the old file unless copied. Best effort: without them the save goes on.
void CopyPermissions(const FilePath& from, const FilePath& to)
{
    DWORD size = 0;
    GetFileSecurityW(from.c_str(), DACL_SECURITY_INFORMATION, nullptr, 0, &size);
    std::vector<char> descriptor(size);
    if (size && GetFileSecurityW(from.c_str(), DACL_SECURITY_INFORMATION, descriptor.data(), size, &size))
        SetFileSecurityW(to.c_str(), DACL_SECURITY_INFORMATION, descriptor.data());
}

// A temporary file left by a save that was killed carries the history's
// attributes, and Windows refuses to re-create a file that is read-only, or
// hidden or system when the new attributes lack those bits: left there, it
// would stop every later save. Whatever cannot be removed (another program
// holds it) stays, and the save goes in place (in_place_rule.h).
void RemoveLeftover(const FilePath& temporary)
{
    const DWORD attributes = GetFileAttributesW(temporary.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return;
    SetFileAttributesW(temporary.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(temporary.c_str());
}

// 0 when the new file took the old one's place in one step, else the error.
DWORD MoveOver(const FilePath& temporary, const FilePath& path)
{
    return MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)
               ? 0
               : GetLastError();
}
}  // namespace

uint32_t ReplaceFileContents(const FilePath& path, const std::string& bytes)
{
    // A read-only file is one the user does not want written (moving a new file
    // over it would succeed on some systems), and a folder is no file.
    const DWORD attributes = GetFileAttributesW(path.c_str());
    const bool replacing = attributes != INVALID_FILE_ATTRIBUTES;
    if (replacing && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return ERROR_ACCESS_DENIED;
    if (replacing && (attributes & FILE_ATTRIBUTE_READONLY))
        return ERROR_FILE_READ_ONLY;
    // The new file is made with the old one's attributes: a move carries none over.
    const DWORD kept = replacing ? attributes & kKeptAttributes : 0;
    const FilePath temporary = TemporaryPathFor(path);
    RemoveLeftover(temporary);
    HANDLE file = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              kept ? kept : FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        return MayWriteInPlace(SaveStep::MakingTheTemporaryFile, error) ? OpenAndWriteInPlace(path, bytes) : error;
    }
    HandleFile created(file);
    if (const DWORD error = WriteAndClose(created, WriteNewFile, bytes)) {
        DeleteFileW(temporary.c_str());
        return error;
    }
    if (replacing)
        CopyPermissions(path, temporary);
    DWORD error = MoveOver(temporary, path);
    for (int retry = 0; error && MayWriteInPlace(SaveStep::MovingItOverTheOldFile, error) && retry < kBusyRetries;
         ++retry) {
        Sleep(kBusyRetryMilliseconds);
        error = MoveOver(temporary, path);
    }
    if (error == 0)
        return 0;
    DeleteFileW(temporary.c_str());
    return MayWriteInPlace(SaveStep::MovingItOverTheOldFile, error) ? OpenAndWriteInPlace(path, bytes) : error;
}
