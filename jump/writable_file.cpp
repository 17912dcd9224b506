#include "jump/writable_file.h"

#ifndef _WIN32
#include <cerrno>
#endif

namespace {
#ifdef _WIN32
const uint32_t kFileTooLarge = 223;  // ERROR_FILE_TOO_LARGE
#else
const uint32_t kFileTooLarge = EFBIG;
#endif

// CR LF pairs, and a lone LF when the count is odd.
void AppendLineEnds(std::string& text, uint64_t count)
{
    for (uint64_t i = 0; i < count / 2; ++i)
        text += "\r\n";
    if (count % 2)
        text += '\n';
}
}  // namespace

uint32_t WriteNewFile(WritableFile& file, const std::string& bytes)
{
    const uint32_t error = file.WriteAt(0, bytes);
    return error ? error : file.Flush();
}

uint32_t WriteInPlace(WritableFile& file, const std::string& bytes)
{
    uint64_t oldSize = 0;
    if (const uint32_t error = file.GetSize(oldSize))
        return error;
    const uint64_t newSize = bytes.size();
    if (newSize > oldSize) {
        if (const uint32_t error = file.SetSize(newSize))
            return error;
        if (const uint32_t error = file.WriteAt(0, bytes)) {
            // Only the length changed. Should this fail too, there is nothing more to try.
            file.SetSize(oldSize);
            return error;
        }
    } else {
        // One write over the whole old length, so that it succeeds or fails as
        // a whole: line ends go over the old bytes past the new history.
        if (oldSize - newSize > kMostLineEnds)
            return kFileTooLarge;
        std::string whole;
        whole.reserve(oldSize);
        whole += bytes;
        AppendLineEnds(whole, oldSize - newSize);
        if (const uint32_t error = file.WriteAt(0, whole))
            return error;
        // The line ends are cut off where the file can be cut; where it
        // cannot, they are blank lines, and the save is done all the same.
        if (newSize < oldSize)
            file.SetSize(newSize);
    }
    return file.Flush();
}

uint32_t WriteAndClose(WritableFile& file, uint32_t (*write)(WritableFile&, const std::string&),
                       const std::string& bytes)
{
    const uint32_t error = write(file, bytes);
    const uint32_t closed = file.Close();
    return error ? error : closed;
}
