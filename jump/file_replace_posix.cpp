// The native build's file replacement, so that the history code runs and is
// tested on Linux with the same contract as on Windows.
#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>

#include "jump/file_replace.h"

namespace {
uint32_t WriteAll(int fd, const std::string& bytes)
{
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n <= 0)
            return n < 0 ? errno : EIO;
        done += static_cast<size_t>(n);
    }
    return fsync(fd) == 0 ? 0 : errno;
}

// Cut to length only once written, so that a failed write leaves the old file's length.
uint32_t WriteInPlace(const std::string& path, const std::string& bytes)
{
    int fd = open(path.c_str(), O_WRONLY | O_CREAT, 0644);
    if (fd < 0)
        return errno;
    uint32_t error = WriteAll(fd, bytes);
    if (!error && ftruncate(fd, static_cast<off_t>(bytes.size())) != 0)
        error = errno;
    if (close(fd) != 0 && !error)
        error = errno;
    return error;
}
}  // namespace

uint32_t ReplaceFileContents(const std::string& path, const std::string& bytes)
{
    const std::string temporary = TemporaryPathFor(path);
    int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    // As on Windows, only a folder that refuses the temporary file sends the save in place.
    if (fd < 0)
        return errno == EACCES || errno == EISDIR ? WriteInPlace(path, bytes) : errno;
    uint32_t error = WriteAll(fd, bytes);
    if (close(fd) != 0 && !error)
        error = errno;
    if (!error && rename(temporary.c_str(), path.c_str()) == 0)
        return 0;
    error = error ? error : errno;
    unlink(temporary.c_str());
    return error;
}
