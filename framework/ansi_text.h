#pragma once
#include <string>
#include <vector>

#include "framework/ansi_conversion.h"

// The program's own texts, the editor's path and the history are ANSI, in
// the code page of the system (932 for the program's users, 65001 where
// Windows is set to use UTF-8); the system's paths and what the user types
// are UTF-16. These convert with the system's ANSI code page, by the rules of
// ansi_conversion.h: exact or refused.
const AnsiCodePage& SystemAnsiCodePage();

bool AnsiFromWide(const std::wstring& text, std::string& ansi);
bool WideFromAnsi(const std::string& text, std::wstring& wide);
std::vector<std::wstring> CharactersOutsideAnsi(const std::wstring& text);

// Whether a byte is the lead byte of a double-byte character in the code page.
bool IsAnsiLeadByte(unsigned char byte);
