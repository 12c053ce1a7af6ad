// What the process's token says about elevation under User Account Control.
#pragma once

namespace orv {

enum class TTokenState {
    Unknown,      // no User Account Control (before Vista): nothing to ask for or drop
    Elevated,     // an administrator's full token
    NotElevated,  // a filtered administrator's token or a standard user's
};
TTokenState QueryTokenState();                  // of this process
TTokenState QueryTokenState(void* token);       // of a token handle with query access

}  // namespace orv
