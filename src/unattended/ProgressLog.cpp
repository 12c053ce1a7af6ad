// The plain-text progress log of a silent install.
#include "unattended/ProgressLog.h"

namespace orv {

std::string SystemErrorText(uint32_t code) {
    char* buffer = nullptr;
    const DWORD length =
        ::FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                         nullptr, code, 0, reinterpret_cast<LPSTR>(&buffer), 0, nullptr);
    auto release = MakeScopeGuard([buffer] { ::LocalFree(buffer); });
    std::string text = length && buffer ? std::string(buffer, length) : std::string("Unknown error");
    for (char& c : text)
        if (c == '\r' || c == '\n') c = ' ';
    while (!text.empty() && (text.back() == ' ' || text.back() == '.')) text.pop_back();
    return text + " (error " + std::to_string(code) + ")";
}

bool TProgressLog::Open(const std::string& fileName) {
    file_.reset(::CreateFileA(fileName.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
    return static_cast<bool>(file_);
}

void TProgressLog::Line(const std::string& text) {
    CriticalSectionLock hold(lock_);
    if (!file_) return;
    const std::string line = text + "\r\n";
    DWORD written = 0;
    ::WriteFile(file_.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

}  // namespace orv
