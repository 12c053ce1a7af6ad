// The program's main sequence: refuse old systems, load the payload, run the wizard, save.
#include "startup/MainSequence.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    return orv::RunProgram();
}
