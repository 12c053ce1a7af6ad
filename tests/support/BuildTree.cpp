// Paths of the build's outputs, from ORV_BUILD_DIR that ctest sets for every test.
#include "support/BuildTree.h"

#include "support/Scratch.h"

namespace orv::test {

std::string BuildTreePath(const std::string& relative) {
    std::string unixPath = EnvVar("ORV_BUILD_DIR") + "/" + relative;
    std::string path = "Z:" + unixPath;
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

std::string SetupExePath() {
    return BuildTreePath("src/startup/OrvanelSetup.exe");
}

std::string PayloadArchivePath() {
    return BuildTreePath("resources/payload.orvz");
}

}  // namespace orv::test
