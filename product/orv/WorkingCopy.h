// The copy of the program that does the uninstall: a running program cannot delete its own
// file, so the first process hands the work to a copy in a temporary place.
#pragma once

#include <windows.h>

#include <string>

namespace orv::uninstall {

// Copies the running program to a working place (see WorkingPlace.h), starts the copy
// with the switches that make it the working copy, and returns the exit code the copy
// reports. The copy's file goes when the copy ends. Returns -1 with a reason in failure
// when the copy could not be made or started, or ended without reporting.
int RunWorkingCopy(const std::string& program, const std::string& folder, bool silent, std::string& failure);

// In the working copy: hands the exit code to the first process, which then ends.
void ReportExitCode(HANDLE pipe, int code);

}  // namespace orv::uninstall
