// Taking back what the install and the product registered: the entry in the list of
// installed programs, the document associations of this program, the product's own keys.
#pragma once

#include "UninstallRemoval.h"

#include <string>

namespace orv::uninstall {

// program: the full path of the product's executable that is being removed. Anything that
// names another copy of the product is kept.
void RemoveRegistration(const std::string& program, TUninstallLog& log, TRemover& remover);

}  // namespace orv::uninstall
