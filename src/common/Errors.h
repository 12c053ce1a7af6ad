// The error types that travel as exceptions; the start-up box shows their names.
#pragma once

#include <exception>
#include <string>

namespace orv {

// Base of every error the setup raises on purpose. TypeName() is what the user sees
// in the "Exception %s" box, so it names what went wrong. It keeps its message itself
// rather than deriving from std::runtime_error: under libstdc++ every std::runtime_error
// stores its text in the old ABI's copy-on-write string, some 25 KB of the setup for one
// member (see src/startup/StandardThrows.cpp).
class EOrvError : public std::exception {
public:
    EOrvError(const char* typeName, const std::string& message) : typeName_(typeName), message_(message) {}
    const char* TypeName() const noexcept { return typeName_; }
    const char* what() const noexcept override { return message_.c_str(); }

private:
    const char* typeName_;
    std::string message_;
};

#define ORV_DECLARE_ERROR(Name)                                                  \
    class Name : public EOrvError {                                              \
    public:                                                                      \
        explicit Name(const std::string& message) : EOrvError(#Name, message) {} \
    }

ORV_DECLARE_ERROR(EArchiveMissing);  // the executable carries no archive resource
ORV_DECLARE_ERROR(EArchiveDamaged);  // the archive does not inflate
ORV_DECLARE_ERROR(EArchiveFormat);   // a record does not fit the inflated block
ORV_DECLARE_ERROR(EEntryNotFound);   // a payload name the archive does not hold
ORV_DECLARE_ERROR(EUpdateLogError);  // Update.log could not be read or written
ORV_DECLARE_ERROR(EDataFolderLink);  // the shared data folder is a link that cannot be removed

// The silent kind: unwinds a handler without any message.
ORV_DECLARE_ERROR(EAbort);

#undef ORV_DECLARE_ERROR

}  // namespace orv
