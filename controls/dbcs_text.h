#pragma once
#include <cstddef>
#include <string>

// Text in a code page whose characters take one or two bytes: a copy that
// never splits a character, and a search that finds only whole characters.

// Whether a byte is the lead byte of a double-byte character in a code page.
using LeadByteTest = bool (*)(unsigned char byte);

// Copies at most maxBytes bytes of the NUL-terminated source into dest and
// stores a NUL at dest[count], count being the smaller of the source's length
// and maxBytes, so dest must hold count + 1 bytes. A double-byte character is
// never split: when the last byte to copy is a lead byte, a NUL goes in its
// place. Returns count, that dropped lead byte included.
std::size_t CopyWithoutSplitting(char* dest, const char* source, std::size_t maxBytes,
                                 LeadByteTest isLeadByte);

// The first occurrence of needle in text that starts on a character boundary,
// or npos. A lead byte always takes the next byte with it, even one that is no
// valid second byte, as the system's own character stepping does.
std::size_t FindWholeCharacters(const std::string& text, const std::string& needle, LeadByteTest isLeadByte);
