// Fuzz target: the destination normalisation. Normalising twice gives what normalising once
// gave, and the result always names a folder on a drive or a share. Input: the drive list's
// letter, a byte choosing the program-files folder, the text.
#include "fuzz/FuzzCheck.h"
#include "engine/DestDirNormalize.h"

#include <string>

namespace {

const char* const ProgramFiles[] = {"C:\\Program Files", "D:\\Apps", "", "c:\\", "\\\\server\\share\\Programs"};

bool BeginsWithDriveOrShare(const std::string& s) {
    if (s.size() >= 2 && s[1] == ':') return true;
    const size_t serverEnd = s.find('\\', 2);
    return s.compare(0, 2, "\\\\") == 0 && serverEnd != std::string::npos && serverEnd > 2 &&
           serverEnd + 1 < s.size() && s[serverEnd + 1] != '\\';
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    // The drive list holds a letter, or a blank before it has one.
    const char drive = data[0] >= 'a' && data[0] <= 'z' ? static_cast<char>(data[0]) : ' ';
    const std::string programFiles = ProgramFiles[data[1] % (sizeof ProgramFiles / sizeof ProgramFiles[0])];
    const std::string text(reinterpret_cast<const char*>(data + 2), size - 2);

    const std::string once = orv::NormalizeDestDir(text, drive, programFiles);
    FUZZ_CHECK(BeginsWithDriveOrShare(once), "the result names a drive or a share");
    FUZZ_CHECK(once.back() != '\\' && once.back() != ':', "the result is a folder below the root");
    FUZZ_CHECK(orv::NormalizeDestDir(once, drive, programFiles) == once, "normalising is idempotent");
    return 0;
}
