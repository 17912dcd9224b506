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
    // Writes the bytes at the offset with one call of the system, looping
    // only where it writes less than asked and reports no error. Windows
    // refuses such a call as a whole when another program has locked any
    // part of its range, before writing a byte of it.
    virtual uint32_t WriteAt(uint64_t offset, const std::string& bytes) = 0;
    // To the disk.
    virtual uint32_t Flush() = 0;
    virtual uint32_t Close() = 0;

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
// - a file that keeps its length or shrinks is written with one WriteAt, the
//   bytes and line ends over the rest of the old contents, then cut to the
//   new length; a file that another program maps into memory cannot be cut
//   shorter, and the line ends stay, blank lines that readers of the history
//   skip. Those line ends are held in memory for the one write: a file that
//   would shrink by more than kMostLineEnds is left as it is, and the error
//   is the system's for a file too large.
// The one exception is a failed flush at the end, which is returned though
// the file holds the bytes.
uint32_t WriteInPlace(WritableFile& file, const std::string& bytes);
constexpr uint64_t kMostLineEnds = 16 << 20;

// Runs one of the two writes above, then closes the file: 0 or the first error.
uint32_t WriteAndClose(WritableFile& file, uint32_t (*write)(WritableFile&, const std::string&),
                       const std::string& bytes);
