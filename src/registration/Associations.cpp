// The document-type page, the product's association run, the shortcuts and the final launch.
#include "registration/Associations.h"

#include "common/Errors.h"
#include "common/ProductInterface.h"
#include "engine/FolderLayout.h"
#include "engine/InstallLogFiles.h"
#include "engine/Shortfalls.h"
#include "registration/Shortcuts.h"
#include "registration/UserLaunch.h"

#include <windows.h>

namespace orv {

namespace {

const char AssocLetters[4] = {'A', 'B', 'C', 'D'};
const char* const AssocSuffixes[4] = {"_rtf", "_cod", "_doc", "_docx"};

// The quoted path of the installed product's executable.
std::string QuotedProductPath(const TSetupState& state) {
    return "\"" + InstallPath(state, ProductExeName) + "\"";
}

}  // namespace

std::string AssociationArgument(const bool checked[4]) {
    std::string argument = AssocArgument;
    for (int i = 0; i < 4; ++i)
        if (checked[i]) argument += AssocSuffixes[i];
    return argument;
}

void EnterAssocPage(TSetupState& state) {
    for (int i = 0; i < 4; ++i)
        state.AssocChecked[i] = state.Options.Extensions.find(AssocLetters[i]) != std::string::npos;
}

void EnterFinishPage(TSetupState& state) {
    if (IsPortableInstall(state)) return;
    state.Options.Extensions.clear();
    for (int i = 0; i < 4; ++i)
        if (state.AssocChecked[i]) state.Options.Extensions += AssocLetters[i];
    // The document types are the user's own (the product writes them below
    // HKEY_CURRENT_USER), and the installed product must not run with an elevated setup's
    // rights: an administrator's token would register them for the wrong account, and any
    // program that could write to the install folder would run elevated.
    const std::string command = QuotedProductPath(state) + " " + AssociationArgument(state.AssocChecked);
    if (!LaunchForUser(command)) RecordShortfall("the document types (the run of " + command + ")", ::GetLastError());
    CreateProductShortcuts(state);
}

void LeaveFinishPage(TAttachedFiles& files, const TSetupState& state) {
    bool updateLogFailed = false;
    std::string failure;
    if (!IsPortableInstall(state)) {
        try {
            WriteUpdateLog(files, state);
        } catch (const EUpdateLogError& e) {
            updateLogFailed = true;
            failure = e.what();
        }
    }
    // The setup may run elevated; the product the user works in must not.
    if (state.Launch) LaunchForUser(QuotedProductPath(state));
    if (updateLogFailed) throw EUpdateLogError(failure);
}

}  // namespace orv
