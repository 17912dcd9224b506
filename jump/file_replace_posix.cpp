// The native build's file replacement, so that the history code runs and is
// tested on Linux with the same contract as on Windows.
#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include "jump/file_replace.h"
#include "jump/writable_file.h"

namespace {
class DescriptorFile : public WritableFile {
public:
    explicit DescriptorFile(int fd) : m_fd(fd) {}

    uint32_t GetSize(uint64_t& size) override
    {
        struct stat status;
        if (fstat(m_fd, &status) != 0)
            return errno;
        size = static_cast<uint64_t>(status.st_size);
        return 0;
    }
    uint32_t SetSize(uint64_t size) override { return ftruncate(m_fd, static_cast<off_t>(size)) == 0 ? 0 : errno; }
    uint32_t WriteAt(uint64_t offset, const std::string& bytes) override
    {
        for (size_t done = 0; done < bytes.size();) {
            const ssize_t n = pwrite(m_fd, bytes.data() + done, bytes.size() - done, static_cast<off_t>(offset + done));
            if (n <= 0)
                return n < 0 ? errno : EIO;
            done += static_cast<size_t>(n);
        }
        return 0;
    }
    uint32_t Flush() override { return fsync(m_fd) == 0 ? 0 : errno; }
    uint32_t Close() override { return close(m_fd) == 0 ? 0 : errno; }

private:
    int m_fd;
};
}  // namespace

uint32_t ReplaceFileContents(const std::string& path, const std::string& bytes)
{
    const std::string temporary = TemporaryPathFor(path);
    int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    // As on Windows, a folder that refuses the temporary file sends the save
    // in place; nothing here holds a file against its removal.
    if (fd < 0) {
        if (errno != EACCES && errno != EISDIR)
            return errno;
        fd = open(path.c_str(), O_WRONLY | O_CREAT, 0644);
        if (fd < 0)
            return errno;
        DescriptorFile file(fd);
        return WriteAndClose(file, WriteInPlace, bytes);
    }
    DescriptorFile file(fd);
    uint32_t error = WriteAndClose(file, WriteNewFile, bytes);
    if (!error && rename(temporary.c_str(), path.c_str()) == 0)
        return 0;
    error = error ? error : errno;
    unlink(temporary.c_str());
    return error;
}
