#pragma once
#include <cstddef>
#include <string>

// Lead bytes of a double-byte character in code page 932.
bool IsCp932LeadByte(unsigned char byte);

// The first occurrence of needle in text that starts on a character boundary,
// or npos. A lead byte always takes the next byte with it, even one that is no
// valid second byte, as the system's own character stepping does.
std::size_t FindCp932(const std::string& text, const std::string& needle);
