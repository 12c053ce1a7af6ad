// print_setup_texts: writes what the setup tells the outside world to standard output: the
// values of the uninstall entry it writes and its usage text (the box that /? shows), for
// the check of the package manager's manifests.
#include <cstdio>
#include <string>

#include "common/ProductInterface.h"
#include "registration/CommandLine.h"

int main() {
    std::printf("DisplayName: %s\nDisplayVersion: %s\nPublisher: %s\n", orv::ProductName, orv::ProductVersion,
                orv::PublisherName);
    std::string text = orv::UsageText();
    for (char& c : text)
        if (c == '\r') c = '\n';
    std::printf("%s\n", text.c_str());
    return 0;
}
