// Loads the embedded catalogue once ("load"), optionally writes every entry to a folder
// ("extract FOLDER"), or does nothing ("none", the baseline for process start-up).
#include "common/InstUtils.h"
#include "payload/AttachFiles.h"

#include <windows.h>

#include <cstdio>
#include <cstring>

static double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER freq;
    ::QueryPerformanceFrequency(&freq);
    return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(freq.QuadPart);
}

int main(int argc, char** argv) {
    const char* mode = argc > 1 ? argv[1] : "load";
    if (std::strcmp(mode, "none") == 0) return 0;
    orv::InitShellServices();
    int rc = 0;
    {
        LARGE_INTEGER t0, t1, t2;
        ::QueryPerformanceCounter(&t0);
        orv::TAttachedFiles files;
        ::QueryPerformanceCounter(&t1);
        if (std::strcmp(mode, "extract") == 0 && argc > 2) {
            orv::TKnownFolders known;  // as the install worker does
            files.KnownFolders = &known;
            for (int i = 0; i < files.EntryCount(); ++i) {
                const orv::TAttachedFile& e = files.Entry(i);
                if (!files.ExtractFile(&e, e.Name, orv::JoinPath(argv[2], e.Name))) rc = 1;
            }
            files.KnownFolders = nullptr;
        }
        ::QueryPerformanceCounter(&t2);
        std::printf("%d entries, %d bytes inflated; load %.1f ms, %s %.1f ms\n", files.EntryCount(), files.DataSize(),
                    Milliseconds(t0, t1), mode, Milliseconds(t1, t2));
    }
    orv::DoneShellServices();
    return rc;
}
