// What the process's token says about elevation under User Account Control.
#include "common/Elevation.h"

#include "common/Owners.h"

#include <windows.h>

namespace orv {

TTokenState QueryTokenState() {
    UniqueHandle token;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, token.put())) return TTokenState::Unknown;
    return QueryTokenState(token.get());
}

TTokenState QueryTokenState(void* token) {
    TOKEN_ELEVATION elevation = {};
    DWORD size = 0;
    // Before Vista the token knows no such class and the call fails.
    if (!::GetTokenInformation(token, TokenElevation, &elevation, sizeof elevation, &size))
        return TTokenState::Unknown;
    return elevation.TokenIsElevated ? TTokenState::Elevated : TTokenState::NotElevated;
}

}  // namespace orv
