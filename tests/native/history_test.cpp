// The portable code natively, for what a run of the real program cannot reach
// cheaply: the edges of the history's arithmetic and line ends, the native file
// replacement, and the file-name rule for module paths no installation has.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <tuple>

#include "app/editor_location.h"
#include "app/file_locations.h"
#include "jump/editor_command.h"
#include "jump/file_replace.h"
#include "jump/history.h"
#include "jump/in_place_rule.h"
#include "jump/writable_file.h"

namespace fs = std::filesystem;

// The bytes of a file, "" for none, or "/" for a folder.
static std::string Get(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return fs::is_directory(path) ? "/" : std::string(std::istreambuf_iterator<char>(in), {});
}

// Each row loads a history file, puts a typed text in front and saves the list.
TEST(History, LoadRememberSave)
{
    const struct { const char* name; std::string file, temp; int32_t max; std::string typed, after; } rows[] = {
        {"CR LF, LF, lone CR, blanks, a last CR", "a\r\n\r\nc\rd\r\n\ne\r", "", 9, "n", "n\r\na\r\nc\rd\r\ne\r\r\n"},
        {"blanks do not count, the length stops, one trimmed", "\r\na\n\nb\nc\nd", "", 3, "x", "x\r\na\r\nb\r\n"},
        {"the first equal entry moves, nothing trimmed", "M\nmx\nm\ny\nm\n", "", 5, "m", "m\r\nM\r\nmx\r\ny\r\nm\r\n"},
        {"read in pieces, a line crosses many", "a\n" + std::string(1 << 20, 'x'), "", 9, "n", "n\r\na\r\n" + std::string(1 << 20, 'x') + "\r\n"},
        {"a temporary file left by a killed save", "", "stale, longer", 9, "n", "n\r\n"},
        {"length zero; no temporary file possible: emptied in place", "a\n", "/", 0, "n", ""},
        {"a folder in the file's place is reported and stays", "/", "", 9, "n", "/"},
    };
    const fs::path dir = fs::temp_directory_path() / ("wexmoor-native-" + std::to_string(getpid()));
    for (const auto& row : rows) {
        const std::string path = (dir / std::to_string(&row - rows) / "Wexmoor.log").string();
        fs::create_directories(fs::path(path).parent_path());
        // "/" puts a folder at the file's or the temporary file's place, "" nothing.
        for (const auto& [at, what] : {std::pair(path, row.file), std::pair(TemporaryPathFor(path), row.temp)})
            if (what == "/")
                fs::create_directory(at);
            else if (!what.empty())
                std::ofstream(at, std::ios::binary) << what;
        HistoryList history;
        LoadHistory(path, row.max, history);
        RememberInput(history, row.typed, row.max);
        EXPECT_EQ(SaveHistory(path, history) == 0, row.after != "/") << row.name;
        EXPECT_EQ(Get(path), row.after) << row.name;
        EXPECT_EQ(Get(TemporaryPathFor(path)), row.temp == "/" ? "/" : "") << row.name;
    }
    fs::remove_all(dir);
}

// Windows errors: a full disk, a quota or a held temporary file must not send
// the save in place, where a write failing part way would damage the file.
TEST(History, WhenASaveMayWriteInPlace)
{
    using S = SaveStep;
    // The others are rows of the saving test under Wine.
    const std::tuple<S, uint32_t, bool> rows[] = {
        {S::MakingTheTemporaryFile, 112, false},    // the disk is full
        {S::MovingItOverTheOldFile, 33, true},      // the history is locked by another program
        {S::MovingItOverTheOldFile, 112, false},
    };
    for (const auto& [step, error, inPlace] : rows)
        EXPECT_EQ(MayWriteInPlace(step, error), inPlace) << static_cast<int>(step) << " " << error;
}

// A file as Windows treats it when something is in the way: a disk with room
// for `room` bytes takes what fits of a write, a range locked by another
// program from `locked` on refuses a write into it whole, and a file mapped
// into memory by another program cannot be cut.
struct FakeFile : WritableFile {
    std::string bytes = "one\r\ntwo\r\n";
    size_t room, locked;
    bool mapped;
    FakeFile(size_t room, size_t locked, bool mapped) : room(room), locked(locked), mapped(mapped) {}

    uint32_t GetSize(uint64_t& size) override { return size = bytes.size(), 0; }
    uint32_t SetSize(uint64_t size) override
    {
        if (size > room || (size < bytes.size() && mapped))
            return size > room ? 112 : 1224;
        return bytes.resize(size), 0;
    }
    uint32_t WriteAt(uint64_t at, const std::string& data) override
    {
        if (at + data.size() > locked)
            return 33;
        const size_t fits = std::min(data.size(), room - at);
        bytes.resize(std::max<size_t>(bytes.size(), at + fits));
        bytes.replace(at, fits, data, 0, fits);
        return fits < data.size() ? 112 : 0;
    }
    uint32_t Flush() override { return 0; }
    uint32_t Close() override { return 0; }
};

// Written in place, the file holds the old history, or the new one followed
// by nothing but line ends.
TEST(History, WritingInPlaceLeavesTheOldHistoryOrTheNew)
{
    const std::string kOld = "one\r\ntwo\r\n", kLonger = "new\r\none\r\ntwo\r\n";
    const std::tuple<const char*, FakeFile, std::string, std::string, uint32_t> rows[] = {
        {"mapped: the rest becomes line ends", {99, 99, true}, "new\r\n", "new\r\n\r\n\r\n\n", 0},
        {"a full disk stops it before a byte is written", {12, 99, false}, kLonger, kOld, 112},
        {"a locked range past the old end: the old length back", {99, 10, false}, kLonger, kOld, 33},
        {"mapped, and a locked range in the old tail: nothing written", {99, 8, true}, "new\r\n", kOld, 33},
    };
    for (auto [name, file, bytes, after, error] : rows) {
        EXPECT_EQ(WriteInPlace(file, bytes), error) << name;
        EXPECT_EQ(file.bytes, after) << name;
    }
    // The one write of a shrinking file holds its line ends in memory, so
    // much of them only: beyond that the file is left alone.
    FakeFile huge(SIZE_MAX, SIZE_MAX, false);
    huge.bytes.assign(kMostLineEnds + 6, 'x');
    EXPECT_EQ(WriteInPlace(huge, "new\r\n"), static_cast<uint32_t>(EFBIG));
    EXPECT_TRUE(huge.bytes.size() == kMostLineEnds + 6 && huge.bytes.find_first_not_of('x') == std::string::npos);
}

TEST(FileLocationsAndCommandLine, Strings)
{
    EXPECT_EQ(SettingsPathFor("C:\\x\\prog"), "C:\\x\\.ini") << "the last four bytes go whatever they are";
    EXPECT_EQ(HistoryPathFor("exe"), ".log") << "four bytes or less leave only the extension";
    EXPECT_EQ(EditorCommandLine("a\"b"), "\"a\"b\" /h /x Wexmoor.imp") << "the path goes between quotes verbatim";
    EXPECT_EQ(TemporaryPathFor("C:\\x\\Wexmoor.log"), "C:\\x\\Wexmoor.tmp") << "never longer than the file's own";
    EXPECT_EQ(TemporaryPathFor("C:\\x\\a.TMP"), "C:\\x\\a~tmp") << "never the file itself";
    EXPECT_EQ(EditorPathInFolder("D:\\"), "D:\\\\Hidemaru.exe") << "a drive root keeps its separator";
    EXPECT_TRUE(SettingsCanHold(EditorPathInFolder(std::string(246, 'a'))));
    EXPECT_FALSE(SettingsCanHold(EditorPathInFolder(std::string(247, 'a')))) << "the file name counts too";
    // Attributes at the settings file's place: none, a file, a read-only one, a folder, a read-only folder.
    for (const auto& [attributes, refusal] : {std::pair(0xFFFFFFFFu, 0u), {0x20u, 0u}, {0x21u, 6009u}, {0x10u, 5u},
                                              {0x11u, 5u}})
        EXPECT_EQ(SettingsRefusal(attributes), refusal) << attributes;
}
