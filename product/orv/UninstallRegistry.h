// Taking back what the install and the product registered: the entry in the list of
// installed programs, the document associations of this program, the product's own keys.
#pragma once

#include "UninstallRemoval.h"

#include <string>

namespace orv::uninstall {

// program: the full path of the product's executable that is being removed. Anything that
// names another copy of the product is kept. The uninstall entry is not among these: it
// goes apart, last, and only when nothing of the product is left.
void RemoveRegistration(const std::string& program, TUninstallLog& log, TRemover& remover);
// Whether the entry in the list of installed programs is this install's: its command starts
// the program, compared in long form (an install given an 8.3 folder registers it so).
// Asked while the program is still there; command receives the entry's command.
bool EntryStartsProgram(const std::string& program, std::string& command);
// Removes that entry when it is ours (a command another copy registered stays).
void RemoveUninstallEntry(bool ours, const std::string& command, TUninstallLog& log, TRemover& remover);

}  // namespace orv::uninstall
