// What the setup relies on of the product it installs: names, marks and command lines.
#pragma once

#include <cstdint>
#include <string>

namespace orv {

constexpr const char* ProductName = "Orvanel Word Processor";
constexpr const char* ProductExeName = "orv.exe";
// While the product runs, one of its top-level windows carries this property, non-zero.
constexpr const char* RunningMarkProperty = "1.x Lumbrisk";
// The product records the version it last ran as under this current-user key.
constexpr const char* ProductInternalKey = "Software\\Orvanel Word Processor\\Internal";
constexpr const char* LastRunVerValue = "LastRunVer";
constexpr int32_t NoLastRunVer = 0x7FFFFFFF;
// Versions below this one kept no clip library of their own.
constexpr int32_t ClipLibraryVersion = 20004000;
constexpr const char* AssocArgument = "-assoc orvx";
constexpr const char* UninstallArgument = " -ui";
// Added to the uninstall command for a run without questions or messages.
constexpr const char* QuietSwitch = " /S";
constexpr const char* ProductVersion = "2.0.6.0";
// The company name of the setup's version information (resources/setup.rc.in).
constexpr const char* PublisherName = "The Orvanel project";

// True when some top-level window of any process carries the running mark.
bool IsProductRunning();

}  // namespace orv
