#pragma once
#include <string>

// The program's own texts and the editor's path are ANSI, in the code page
// of the system (932 for the program's users, 65001 where Windows is set to
// use UTF-8); the system's paths are UTF-16.
//
// Both conversions are exact or refused: they return false when the system
// cannot convert the text, or when a character has no exact form on the
// other side (it would come out as a look-alike, '?' or a replacement
// character). The text is converted as far as the system can even then, for
// showing; a path that is stored, compared or started takes only a true.

bool AnsiFromWide(const std::wstring& text, std::string& ansi);
bool WideFromAnsi(const std::string& text, std::wstring& wide);

// Whether a byte is the lead byte of a double-byte character in the code page.
bool IsAnsiLeadByte(unsigned char byte);
