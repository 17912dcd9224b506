#pragma once
#include <cstddef>

// Whether a byte is the lead byte of a double-byte character in a code page.
using LeadByteTest = bool (*)(unsigned char byte);

// Copies at most maxBytes bytes of the NUL-terminated source into dest and
// stores a NUL at dest[count], count being the smaller of the source's length
// and maxBytes, so dest must hold count + 1 bytes. A double-byte character is
// never split: when the last byte to copy is a lead byte, a NUL goes in its
// place. Returns count, that dropped lead byte included.
std::size_t CopyWithoutSplitting(char* dest, const char* source, std::size_t maxBytes,
                                 LeadByteTest isLeadByte);
