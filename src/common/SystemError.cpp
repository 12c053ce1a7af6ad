// The system's own words for an error code, as the front ends report a failure.
#include "common/SystemError.h"

#include "common/Owners.h"
#include "common/WideApi.h"

#include <windows.h>

namespace orv {

std::string SystemErrorText(uint32_t code) {
    wchar_t* buffer = nullptr;
    const DWORD length =
        ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                         nullptr, code, 0, reinterpret_cast<LPWSTR>(&buffer), 0, nullptr);
    const UniqueLocal owned(buffer);
    std::string text = length && buffer ? Utf8Of(buffer, length) : std::string();
    if (text.empty()) text = "Unknown error";
    for (char& c : text)
        if (c == '\r' || c == '\n') c = ' ';
    while (!text.empty() && (text.back() == ' ' || text.back() == '.')) text.pop_back();
    return text + " (error " + std::to_string(code) + ")";
}

}  // namespace orv
