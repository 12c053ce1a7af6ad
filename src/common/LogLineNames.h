// How the lines of Install.log begin and how Update.log marks a kept file: the setup writes
// them and the uninstaller reads them, so both spell them from here.
#pragma once

namespace orv {

constexpr char FileCopyPrefix[] = "File Copy: ";
constexpr char MadeDirPrefix[] = "Made Dir: ";
constexpr char KeepMark[] = "\t!";  // after a public file that a later install keeps

}  // namespace orv
