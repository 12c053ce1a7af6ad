// Line-by-line text files that stay ANSI while they can and become UTF-8 with a mark when not.
#include "common/TextLogFile.h"

#include "common/CodePage.h"
#include "common/StoredText.h"
#include "common/WideApi.h"

namespace orv {

bool TTextLogFile::Create(const std::string& path) {
    file_.reset(CreateFileU(path, GENERIC_WRITE, FILE_SHARE_READ, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL));
    text_.clear();
    utf8_ = false;
    return file_.valid();
}

void TTextLogFile::Line(const std::string& text) {
    if (!file_) return;
    const std::string line = text + "\r\n";
    if (utf8_) return Write(line);
    text_ += line;
    std::string ansi;
    if (Utf8ToAnsi(line, ansi)) return Write(ansi);
    // The first line ANSI cannot hold: one file holds one form, so it starts again, whole.
    utf8_ = true;
    ::SetFilePointer(file_.get(), 0, nullptr, FILE_BEGIN);
    ::SetEndOfFile(file_.get());
    Write(MarkedUtf8(text_));
    text_.clear();
}

void TTextLogFile::Write(const std::string& bytes) {
    DWORD written = 0;
    ::WriteFile(file_.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

}  // namespace orv
