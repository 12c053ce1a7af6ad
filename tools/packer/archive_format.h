// The payload archive's record layout: entry names, timestamps and record headers.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

namespace orvpack {

// The loader reads sizes as signed 32-bit numbers, so 2 GiB is out of reach.
constexpr std::int64_t kMaxFileSize = 0x7FFFFFFF;
constexpr std::size_t kMaxNameLength = 255;

// Returns an empty string when `name` is a plain relative archive name
// ("Templates\\Letters\\Letter 1.rtf"), otherwise why it is not.
std::string NameProblem(const std::string& name);

// Days since 1899-12-30 with the time of day as the fraction, at the two-second
// precision of an MS-DOS date and time (odd seconds are truncated). `local` is
// a broken-down local time. Returns false, with a reason, outside 1980..2099.
bool ToDosTDateTime(const std::tm& local, double& value, std::string& why);

// Name length, name, timestamp and size: everything of a record but its data.
std::vector<unsigned char> RecordHeader(const std::string& name, double timestamp, std::int32_t size);

// ASCII upper-case copy, for telling apart names that differ only in letter case.
std::string FoldCase(const std::string& name);

}  // namespace orvpack
