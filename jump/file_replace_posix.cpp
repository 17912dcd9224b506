// The native build's file replacement, so that the history code runs and is
// tested on Linux with the same contract as on Windows.
#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>

#include "jump/file_replace.h"

namespace {
bool WriteAll(int fd, const std::string& bytes)
{
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n <= 0)
            return false;
        done += static_cast<size_t>(n);
    }
    return fsync(fd) == 0;
}

bool WriteInPlace(const std::string& path, const std::string& bytes)
{
    int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0)
        return false;
    bool written = WriteAll(fd, bytes);
    return close(fd) == 0 && written;
}
}  // namespace

bool ReplaceFileContents(const std::string& path, const std::string& bytes)
{
    const std::string temporary = TemporaryPathFor(path);
    int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0)
        return WriteInPlace(path, bytes);
    bool written = WriteAll(fd, bytes);
    written = close(fd) == 0 && written;
    if (written && rename(temporary.c_str(), path.c_str()) == 0)
        return true;
    unlink(temporary.c_str());
    return false;
}
