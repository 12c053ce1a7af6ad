// The standard library's throw helpers, for the setup executable under libstdc++.
//
// Its string and container templates throw through std::__throw_length_error and its kin,
// and the library's own versions construct std::length_error, std::out_of_range and the
// rest of the logic and runtime errors. Those keep their message in the old ABI's
// copy-on-write string, so one reference brings that whole string, the random device its
// object also holds and the exception classes: some 30 KB of a program that never expects
// to throw any of them. These versions throw one small exception with the library's text
// instead; a catch of std::exception or of everything, the only ones the setup has for
// such errors, sees it the same way. All fifteen are defined, so the library's object holding them is never
// linked beside them.
#include <cstdarg>
#include <cstddef>
#include <exception>
#include <new>
#include <typeinfo>

// The library's own macro, known only once one of its headers is in.
#if defined(__GLIBCXX__)
#include <bits/functexcept.h>

namespace {

class StandardLibraryError final : public std::exception {
public:
    explicit StandardLibraryError(const char* text) noexcept { Append(text); }

    // The text filled in as the library's own formatter does: %s, %zu and %% are all its
    // formats use. A text too long for the buffer is cut.
    StandardLibraryError(const char* format, va_list args) noexcept {
        for (const char* p = format; *p; ++p) {
            if (p[0] == '%' && p[1] == 's') {
                Append(va_arg(args, const char*));
                p += 1;
            } else if (p[0] == '%' && p[1] == 'z' && p[2] == 'u') {
                char digits[24];
                size_t count = 0;
                size_t n = va_arg(args, size_t);
                do {
                    digits[count++] = static_cast<char>('0' + n % 10);
                    n /= 10;
                } while (n != 0);
                while (count) Put(digits[--count]);
                p += 2;
            } else {
                Put(*p);
                if (p[0] == '%' && p[1] == '%') p += 1;
            }
        }
    }

    const char* what() const noexcept override { return text_; }

private:
    void Put(char c) noexcept {
        if (length_ + 1 < sizeof text_) text_[length_++] = c;
        text_[length_] = '\0';
    }
    void Append(const char* text) noexcept {
        while (*text) Put(*text++);
    }

    char text_[256] = {};
    size_t length_ = 0;
};

[[noreturn]] void Throw(const char* text) {
    throw StandardLibraryError(text);
}

}  // namespace

namespace std {

void __throw_bad_exception() { throw bad_exception(); }
void __throw_bad_alloc() { throw bad_alloc(); }
void __throw_bad_array_new_length() { throw bad_array_new_length(); }
void __throw_bad_cast() { throw bad_cast(); }
void __throw_bad_typeid() { throw bad_typeid(); }
void __throw_logic_error(const char* text) { Throw(text); }
void __throw_domain_error(const char* text) { Throw(text); }
void __throw_invalid_argument(const char* text) { Throw(text); }
void __throw_length_error(const char* text) { Throw(text); }
void __throw_out_of_range(const char* text) { Throw(text); }
void __throw_out_of_range_fmt(const char* format, ...) {
    va_list args;
    va_start(args, format);
    const StandardLibraryError error(format, args);
    va_end(args);
    throw error;
}
void __throw_runtime_error(const char* text) { Throw(text); }
void __throw_range_error(const char* text) { Throw(text); }
void __throw_overflow_error(const char* text) { Throw(text); }
void __throw_underflow_error(const char* text) { Throw(text); }

}  // namespace std
#endif
