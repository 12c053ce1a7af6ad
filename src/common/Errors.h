// The error types that travel as exceptions; the start-up box shows their names.
#pragma once

#include <stdexcept>
#include <string>

namespace orv {

// Base of every error the setup raises on purpose. TypeName() is what the user sees
// in the "Exception %s" box, so it names what went wrong.
class EOrvError : public std::runtime_error {
public:
    EOrvError(const char* typeName, const std::string& message) : std::runtime_error(message), typeName_(typeName) {}
    const char* TypeName() const noexcept { return typeName_; }

private:
    const char* typeName_;
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
