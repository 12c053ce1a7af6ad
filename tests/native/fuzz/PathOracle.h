// How Windows resolves a name joined to a folder, told independently of the archive's rules.
#pragma once

#include <cctype>
#include <string>

namespace orv::fuzz {

// CON, PRN, AUX, NUL, COM1-9, LPT1-9 and the console names open a device wherever they
// stand, with any extension, whatever follows in trailing blanks.
inline bool IsDeviceLevel(const std::string& level) {
    std::string base = level.substr(0, level.find('.'));
    while (!base.empty() && base.back() == ' ') base.pop_back();
    for (char& c : base) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (base == "CON" || base == "PRN" || base == "AUX" || base == "NUL" || base == "CONIN$" || base == "CONOUT$")
        return true;
    return base.size() == 4 && (base.compare(0, 3, "COM") == 0 || base.compare(0, 3, "LPT") == 0) && base[3] >= '1' &&
           base[3] <= '9';
}

// True when folder + "\" + name opens something inside the folder (or the folder itself):
// no drive or stream colon, no level that Windows reads as "..", no device.
inline bool JoinedStaysInside(const std::string& name) {
    if (name.find(':') != std::string::npos) return false;
    size_t start = 0;
    while (start <= name.size()) {
        size_t end = name.find_first_of("\\/", start);
        if (end == std::string::npos) end = name.size();
        const std::string level = name.substr(start, end - start);
        std::string trimmed = level;
        while (!trimmed.empty() && (trimmed.back() == '.' || trimmed.back() == ' ')) trimmed.pop_back();
        if (!level.empty() && level != "." && trimmed.empty()) return false;  // "..", ". .", "..."
        if (!trimmed.empty() && IsDeviceLevel(trimmed)) return false;
        start = end + 1;
    }
    return true;
}

}  // namespace orv::fuzz
