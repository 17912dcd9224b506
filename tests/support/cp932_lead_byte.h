#pragma once

// The lead bytes of a double-byte character in code page 932, the program's
// users' own, for the double-byte rules tested natively.
inline bool IsCp932LeadByte(unsigned char byte)
{
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}
