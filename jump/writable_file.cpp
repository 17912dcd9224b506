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
    if (const uint32_t error = file.WriteAt(0, bytes)) {
        // Nothing of the old contents was overwritten; only the length
        // changed. Should this fail too, there is nothing more to try.
        if (grows)
            file.SetSize(oldSize);
        return error;
    }
    if (newSize < oldSize && file.SetSize(newSize) != 0)
        if (const uint32_t error = file.WriteAt(newSize, LineEnds(oldSize - newSize)))
            return error;
    return file.Flush();
}
