#pragma once
#include <string>

// The program's own texts and the editor's path are ANSI, in the code page
// of the system (932 for the program's users); the system's paths are UTF-16.

std::wstring WideFromAnsi(const std::string& text);

// false when a character has no exact form in the code page: the conversion
// would put a look-alike or '?' in its place.
bool AnsiFromWide(const std::wstring& text, std::string& ansi);

// Whether a byte is the lead byte of a double-byte character in the code page.
bool IsAnsiLeadByte(unsigned char byte);
