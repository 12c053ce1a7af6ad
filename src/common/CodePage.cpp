// Code-page conversions through the system's tables, checked both ways so that nothing is
// silently replaced.
#include "common/CodePage.h"

#include "common/Utf8.h"

namespace orv {

namespace {

// UTF-7, UTF-8 and the ISO-2022 and ISCII code pages refuse WC_NO_BEST_FIT_CHARS and the
// used-default flag (ERROR_INVALID_PARAMETER).
bool TakesBestFitFlags(UINT codePage) {
    return codePage != CP_UTF7 && codePage != CP_UTF8 && codePage != 42 && !(codePage >= 50220 && codePage <= 50229) &&
           !(codePage >= 57002 && codePage <= 57011);
}

bool WideToCodePage(const TWideText& wide, UINT codePage, std::string& out) {
    if (wide.empty()) return true;
    const int size = static_cast<int>(wide.size());
    const bool flags = TakesBestFitFlags(codePage);
    BOOL usedDefault = FALSE;
    const int n = ::WideCharToMultiByte(codePage, flags ? WC_NO_BEST_FIT_CHARS : 0, wide.c_str(), size, nullptr, 0,
                                        nullptr, flags ? &usedDefault : nullptr);
    if (n <= 0 || usedDefault) return false;
    std::string bytes(static_cast<size_t>(n), '\0');
    ::WideCharToMultiByte(codePage, flags ? WC_NO_BEST_FIT_CHARS : 0, wide.c_str(), size, &bytes[0], n, nullptr,
                          flags ? &usedDefault : nullptr);
    if (usedDefault) return false;
    out.swap(bytes);
    return true;
}

bool CodePageToWide(const std::string& bytes, UINT codePage, TWideText& out) {
    out.clear();
    if (bytes.empty()) return true;
    const int size = static_cast<int>(bytes.size());
    const int n = ::MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), size, nullptr, 0);
    if (n <= 0) return false;
    out.resize(static_cast<size_t>(n));
    ::MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), size, out.data(), n);
    return true;
}

}  // namespace

bool Utf8ToCodePage(const std::string& utf8, UINT codePage, std::string& out) {
    out.clear();
    TWideText wide;
    if (!Utf8ToUtf16(utf8, wide)) return false;
    std::string bytes;
    if (!WideToCodePage(wide, codePage, bytes)) return false;
    // Some tables still map a character to another one without reporting a default (a
    // compatibility form to its plain letter); reading the bytes back must give the text.
    TWideText back;
    if (!CodePageToWide(bytes, codePage, back) || back != wide) return false;
    out.swap(bytes);
    return true;
}

bool CodePageToUtf8(const std::string& bytes, UINT codePage, std::string& out) {
    out.clear();
    TWideText wide;
    return CodePageToWide(bytes, codePage, wide) && Utf16ToUtf8(wide, out);
}

bool IsAnsiRepresentable(const std::string& utf8) {
    std::string ansi;
    return Utf8ToAnsi(utf8, ansi);
}

}  // namespace orv
