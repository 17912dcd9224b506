#pragma once
#include <cstdint>
#include <string>

// An open file as writing it in place needs it. Every call returns 0 or the
// system's error code.
class WritableFile {
public:
    virtual uint32_t GetSize(uint64_t& size) = 0;
    // Grows or cuts the file.
    virtual uint32_t SetSize(uint64_t size) = 0;
    // One write at the offset: Windows refuses a write into a range that
    // another program has locked as a whole, without writing any of it.
    virtual uint32_t WriteAt(uint64_t offset, const std::string& bytes) = 0;
    // To the disk.
    virtual uint32_t Flush() = 0;

protected:
    ~WritableFile() = default;
};

// Writes bytes into a new, empty file and flushes it.
uint32_t WriteNewFile(WritableFile& file, const std::string& bytes);

// Writes bytes over the file from its start, so that the file afterwards
// holds either its old contents unchanged (the save failed, and the error is
// returned) or the bytes, possibly followed by line ends only:
// - a file that grows is given its new length before any byte is written, so
//   a full disk stops the save there, and it is given its old length back
//   when the write then fails;
// - a file that keeps its length or shrinks is written in one write, the
//   bytes and line ends over the rest of the old contents, then cut to the
//   new length; a file that another program maps into memory cannot be cut
//   shorter, and the line ends stay, blank lines that readers of the history
//   skip.
// The one exception is a failed flush at the end, which is returned though
// the file holds the bytes.
uint32_t WriteInPlace(WritableFile& file, const std::string& bytes);
