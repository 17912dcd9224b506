#include "jump/writable_file.h"

namespace {
// CR LF pairs, and a lone LF when the count is odd.
std::string LineEnds(uint64_t count)
{
    std::string ends;
    for (uint64_t i = 0; i < count / 2; ++i)
        ends += "\r\n";
    if (count % 2)
        ends += '\n';
    return ends;
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
    const bool grows = newSize > oldSize;
    if (grows)
        if (const uint32_t error = file.SetSize(newSize))
            return error;
    // One write over the whole old length, so that it succeeds or fails as a
    // whole: line ends go over the old bytes past the new history.
    if (const uint32_t error = file.WriteAt(0, grows ? bytes : bytes + LineEnds(oldSize - newSize))) {
        // Only the length changed. Should this fail too, there is nothing more to try.
        if (grows)
            file.SetSize(oldSize);
        return error;
    }
    // The line ends are cut off where the file can be cut; where it cannot,
    // they are blank lines, and the save is done all the same.
    if (newSize < oldSize)
        file.SetSize(newSize);
    return file.Flush();
}
