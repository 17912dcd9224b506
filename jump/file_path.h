#pragma once
#include <cstdio>
#include <string>

// The path of a file the program reads or writes. On Windows it is UTF-16, so
// that the files are found in a folder of any name: an ANSI path puts a
// look-alike or '?' in place of each character outside the code page, and so
// names no file or another one. Elsewhere (the native tests) it is bytes.
#ifdef _WIN32
using FilePath = std::wstring;
#define FILE_PATH_TEXT(text) L##text
#else
using FilePath = std::string;
#define FILE_PATH_TEXT(text) text
#endif

// The path less its last four characters (normally an extension and its
// dot) whatever they are; a path shorter than that loses all of it.
inline FilePath WithoutLastFour(const FilePath& path)
{
    return path.size() > 4 ? path.substr(0, path.size() - 4) : FilePath();
}

inline std::FILE* OpenForReading(const FilePath& path)
{
#ifdef _WIN32
    return _wfopen(path.c_str(), L"rb");
#else
    return std::fopen(path.c_str(), "rb");
#endif
}
