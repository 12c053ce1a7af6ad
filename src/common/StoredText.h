// The bytes of text files that other programs and earlier versions read (the install and
// update logs): ANSI as they always were, UTF-8 with a byte-order mark where ANSI cannot say it.
#pragma once

#include <string>

namespace orv {

// The file's bytes for UTF-8 text: the ANSI code page's bytes when every character exists
// there (so an ASCII or ANSI user's file is what it always was), else the whole text as
// UTF-8 after the byte-order mark EF BB BF, which no ANSI text of ours starts with.
std::string EncodeStoredText(const std::string& utf8);
// The UTF-8 form alone: the mark and the text (for a text already known not to fit ANSI).
std::string MarkedUtf8(const std::string& utf8);
// The UTF-8 text of a file's bytes in either form; false when the bytes are neither valid
// UTF-8 after a byte-order mark nor valid text of the ANSI code page.
bool DecodeStoredText(const std::string& bytes, std::string& utf8);

}  // namespace orv
