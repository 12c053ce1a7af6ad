// DLLs from the system folder only: the search restriction every executable sets first, and
// late binding of the system DLLs that Windows does not always load from System32.
#pragma once

#include <windows.h>

namespace orv {

// Takes the program's own folder and the current folder out of the DLL search, for every
// later load by name. Called first thing in WinMain, before anything can load a DLL.
void RestrictDllSearch();

// The DLL of that name from the system folder, loaded once and kept for the whole run;
// nullptr when it is missing.
HMODULE LoadSystemLibrary(const char* name);

// A function of a system DLL, bound on first use; nullptr when the DLL or the name is missing.
template <typename Fn>
Fn SystemFunction(const char* dll, const char* name) {
    HMODULE module = LoadSystemLibrary(dll);
    return module ? reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(module, name))) : nullptr;
}

}  // namespace orv
