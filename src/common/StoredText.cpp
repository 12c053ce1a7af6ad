// Stored text: ANSI where every character has an ANSI form, UTF-8 with a byte-order mark otherwise.
#include "common/StoredText.h"

#include "common/CodePage.h"
#include "common/Utf8.h"

namespace orv {

namespace {

const char Utf8Mark[] = "\xEF\xBB\xBF";
const size_t Utf8MarkSize = 3;

}  // namespace

std::string EncodeStoredText(const std::string& utf8) {
    std::string ansi;
    if (Utf8ToAnsi(utf8, ansi)) return ansi;
    return MarkedUtf8(utf8);
}

std::string MarkedUtf8(const std::string& utf8) {
    return Utf8Mark + utf8;
}

bool DecodeStoredText(const std::string& bytes, std::string& utf8) {
    utf8.clear();
    if (bytes.compare(0, Utf8MarkSize, Utf8Mark) == 0) {
        std::string text = bytes.substr(Utf8MarkSize);
        if (!IsValidUtf8(text)) return false;
        utf8.swap(text);
        return true;
    }
    if (IsAsciiText(bytes)) {
        utf8 = bytes;
        return true;
    }
    return AnsiToUtf8(bytes, utf8);
}

}  // namespace orv
