// Record layout, timestamp conversion and name rules of the payload archive.
#include "archive_format.h"

#include <cstring>

namespace orvpack {
namespace {

// Day number of a proleptic Gregorian date (days since 1970-01-01); computed from
// the calendar fields so that the local date is kept exactly, whatever the zone.
std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d) {
    y -= m <= 2 ? 1 : 0;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

bool IsForbiddenChar(unsigned char c) {
    return c < 32 || std::strchr("<>:\"/|?*", c) != nullptr;
}

std::string PartProblem(const std::string& part) {
    if (part.empty()) return "has an empty folder level";
    if (part == "." || part == "..") return "has a \".\" or \"..\" part";
    for (unsigned char c : part) {
        if (IsForbiddenChar(c)) return "has a character Windows does not allow in names";
    }
    return std::string();
}

}  // namespace

std::string NameProblem(const std::string& name) {
    if (name.empty()) return "is empty";
    if (name.size() > kMaxNameLength) return "is longer than 255 bytes";
    if (name.front() == '\\') return "begins with a backslash";
    if (name.back() == '\\') return "ends with a backslash";
    if (name.size() >= 2 && name[1] == ':') return "begins with a drive";
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = name.find('\\', start);
        const std::string why = PartProblem(name.substr(start, end - start));
        if (!why.empty()) return why;
        if (end == std::string::npos) return std::string();
        start = end + 1;
    }
}

bool ToDosTDateTime(const std::tm& local, double& value, std::string& why) {
    const int year = local.tm_year + 1900;
    if (year < 1980 || year > 2099) {
        why =
            "has a modification year of " + std::to_string(year) + ", outside the 1980 to 2099 an MS-DOS time can hold";
        return false;
    }
    const std::int64_t days =
        DaysFromCivil(year, static_cast<unsigned>(local.tm_mon + 1), static_cast<unsigned>(local.tm_mday)) -
        DaysFromCivil(1899, 12, 30);
    const int seconds = local.tm_sec & ~1;
    const double millis = local.tm_hour * 3600000.0 + local.tm_min * 60000.0 + seconds * 1000.0;
    value = static_cast<double>(days) + millis / 86400000.0;
    return true;
}

std::vector<unsigned char> RecordHeader(const std::string& name, double timestamp, std::int32_t size) {
    std::vector<unsigned char> out;
    out.reserve(1 + name.size() + 12);
    out.push_back(static_cast<unsigned char>(name.size()));
    out.insert(out.end(), name.begin(), name.end());
    std::uint64_t bits = 0;
    static_assert(sizeof bits == sizeof timestamp, "IEEE double expected");
    std::memcpy(&bits, &timestamp, sizeof bits);
    for (int i = 0; i < 8; ++i) out.push_back(static_cast<unsigned char>(bits >> (8 * i)));
    const std::uint32_t usize = static_cast<std::uint32_t>(size);
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<unsigned char>(usize >> (8 * i)));
    return out;
}

std::string FoldCase(const std::string& name) {
    std::string folded = name;
    for (char& c : folded) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return folded;
}

}  // namespace orvpack
