// The product's Start-menu and desktop shortcuts, written through the shell-link object.
#pragma once

#include "engine/SetupState.h"

#include <string>

namespace orv {

constexpr const char* ShortcutName = "Orvanel Word Processor.lnk";
constexpr const char* ShortcutDescription = "Compact, fast-loading, but still powerful and efficient word processor.";

// Writes one .lnk file (making its folder, with "Made Dir: " lines) and logs it as a copied
// file once it is saved. A save that fails is recorded as a shortfall and not logged;
// nothing is written when the shell-link object is missing.
void CreateShortcut(const std::string& linkPath, const std::string& targetPath, const std::string& workingFolder,
                    const std::string& description);

// The two passes (Start-menu programs, desktop): a shortcut for the chosen audience, and
// the other audience's shortcut of an earlier install removed.
void CreateProductShortcuts(const TSetupState& state);

}  // namespace orv
