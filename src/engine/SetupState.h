// The setup's plain state: what the wizard edits and the engine and registration read.
#pragma once

#include "common/ProductInterface.h"
#include "payload/AttachFiles.h"

#include <cstdint>
#include <string>
#include <vector>

namespace orv {

constexpr int ComponentCount = 6;

// Check states of the component list items.
enum : uint8_t { csUnchecked = 0, csChecked = 1, csGrayed = 2 };

// The setup options, remembered between runs.
struct TOptions {
    std::string DestDir;          // destination folder, with or without a final backslash
    uint32_t Comps = 0x7FFFFFFF;  // bit i = component i chosen; bits 6..31 carried over
    std::string Extensions;       // document types to associate: letters "A" to "D"
};

// Everything the install needs from the wizard, with no window in it. The wizard owns one
// and keeps it in step with its controls; an install can be planned and run from it alone.
struct TSetupState {
    TOptions Options;
    int32_t LastRunVer = NoLastRunVer;

    // The component list: one item per component in item order, its component number and
    // its check state. Item 0 (the program itself) is always grayed.
    std::vector<uint8_t> ItemComponents;
    std::vector<uint8_t> ItemStates;

    uint8_t ChosenComponents = 0;  // bit i = component i installed; filled when the install starts
    bool InstallToAll = true;      // "Install for anyone who uses this computer"
    bool Launch = true;            // "Launch Orvanel Word Processor" on the Finish page
    bool AssocChecked[4] = {false, false, false, false};  // the four document-type boxes

    uint32_t InstalledSizeKB = 0;  // the installed components' sizes; set by the plan

    TDateTime InstallStamp = 0;  // set by the plan of a non-portable install
    bool InstallStampSet = false;

    // Whether the install is portable, settled when it starts for the destination it starts
    // with (FixPortableDecision); empty PortableDecisionFor: not settled.
    std::string PortableDecisionFor;
    bool PortableDecision = false;
};

}  // namespace orv
