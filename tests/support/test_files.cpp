#include "tests/support/test_files.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

namespace {
void RemoveTree(const std::string& path)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((path + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = found.cFileName;
            if (name == "." || name == "..")
                continue;
            const std::string child = path + "\\" + name;
            SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(child);
            else
                DeleteFileA(child.c_str());
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(path.c_str());
}

// Creates every folder along the path; CharNextA keeps a double-byte character
// whole, so a second byte of 0x5C is not taken for a separator.
void CreateFolders(const std::string& path)
{
    for (const char* p = path.c_str();; p = CharNextA(p)) {
        if (*p == '\\' || *p == '\0')
            CreateDirectoryA(std::string(path.c_str(), p).c_str(), nullptr);
        if (!*p)
            break;
    }
}

// Wine maps the Unix file system to drive Z:.
std::string FromUnixPath(const char* unixPath)
{
    std::string path = std::string("Z:") + unixPath;
    for (char& c : path)
        if (c == '/')
            c = '\\';
    return path;
}

std::string FromEnvironment(const char* variable, const std::string& relative)
{
    const char* root = std::getenv(variable);
    if (!root) {
        ADD_FAILURE() << variable << " is not set; run the tests through ctest";
        return relative;
    }
    std::string path = FromUnixPath(root) + "\\" + relative;
    for (char& c : path)
        if (c == '/')
            c = '\\';
    return path;
}
}  // namespace

TempFolder::TempFolder(const std::string& name)
{
    char base[MAX_PATH];
    GetTempPathA(MAX_PATH, base);
    static int counter = 0;
    m_root = std::string(base) + "wexmoor-" + std::to_string(GetCurrentProcessId()) + "-" +
             std::to_string(++counter);
    m_path = name.empty() ? m_root : m_root + "\\" + name;
    RemoveTree(m_root);
    CreateFolders(m_path);
}

TempFolder::~TempFolder()
{
    RemoveTree(m_root);
}

void WriteBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out << bytes;
    ASSERT_TRUE(out.good()) << "cannot write " << path;
}

std::string ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

bool FileExists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void CopyFileOrFail(const std::string& from, const std::string& to)
{
    ASSERT_TRUE(CopyFileA(from.c_str(), to.c_str(), FALSE)) << from << " -> " << to;
}

std::string BuildTreePath(const std::string& relative)
{
    return FromEnvironment("WEXMOOR_BIN", relative);
}

std::string TestbedPath(const std::string& relative)
{
    return FromEnvironment("WEXMOOR_TESTBED", relative);
}
