// UTF-8 text to and from a Windows code page (the ANSI one by default), never approximated.
#pragma once

#include "common/Utf8.h"

#include <windows.h>

#include <string>

namespace orv {

// The bytes of UTF-8 text in a code page; false (out empty) when a character has no form of
// its own there. WideCharToMultiByte would otherwise write a look-alike ("best fit": Ł as L,
// the full-width quote as '"') or the default character '?' in its place.
bool Utf8ToCodePage(const std::string& utf8, UINT codePage, std::string& out);
// Text in a code page as UTF-8; false (out empty) when the bytes are not valid there (a lone
// lead byte of a double-byte code page) or when utf8 is not valid UTF-8 for CP_UTF8.
bool CodePageToUtf8(const std::string& bytes, UINT codePage, std::string& out);

// Every ANSI code page (UTF-8 as ANSI included) holds ASCII as itself: no table is asked.
inline bool Utf8ToAnsi(const std::string& utf8, std::string& ansi) {
    if (!IsAsciiText(utf8)) return Utf8ToCodePage(utf8, CP_ACP, ansi);
    ansi = utf8;
    return true;
}
inline bool AnsiToUtf8(const std::string& ansi, std::string& utf8) {
    return CodePageToUtf8(ansi, CP_ACP, utf8);
}
// Whether every character of the UTF-8 text exists in the ANSI code page.
bool IsAnsiRepresentable(const std::string& utf8);

}  // namespace orv
