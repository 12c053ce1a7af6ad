// The system's own words for an error code, as the front ends report a failure.
#pragma once

#include <cstdint>
#include <string>

namespace orv {

// The system's own text for an error code, on one line, with the code itself.
std::string SystemErrorText(uint32_t code);

}  // namespace orv
