// What an install meant to leave behind after its copy and could not (the uninstall entry,
// the settings, a shortcut, a log), each with the system's reason. The registration steps
// pass such failures over as before; the front ends report them once the install has ended.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace orv {

struct TShortfall {
    std::string What;    // what is missing, for example "the shortcut \"C:\\...\\x.lnk\""
    uint32_t ErrorCode;  // the system's error code (0 when the system gave none)
};

void RecordShortfall(const std::string& what, uint32_t errorCode);
std::vector<TShortfall> Shortfalls();  // a copy, in the order they were recorded
void ClearShortfalls();

// "<what>: <the system's text> (error <code>)", on one line.
std::string ShortfallText(const TShortfall& shortfall);

}  // namespace orv
