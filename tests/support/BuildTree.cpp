// Paths of the build's outputs and sources, from ORV_BUILD_DIR and ORV_SOURCE_DIR that ctest sets.
#include "support/BuildTree.h"

#include "support/Scratch.h"

namespace orv::test {

namespace {

std::string WindowsPath(const std::string& unixPath) {
    std::string path = "Z:" + unixPath;
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

}  // namespace

std::string BuildTreePath(const std::string& relative) {
    return WindowsPath(EnvVar("ORV_BUILD_DIR") + "/" + relative);
}

std::string SourceTreePath(const std::string& relative) {
    return WindowsPath(EnvVar("ORV_SOURCE_DIR") + "/" + relative);
}

std::string SetupExePath() {
    return BuildTreePath("src/startup/OrvanelSetup.exe");
}

std::string PayloadArchivePath() {
    return BuildTreePath("resources/payload.orvz");
}

}  // namespace orv::test
