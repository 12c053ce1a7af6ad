// The program's terminate handler under libstdc++: the library's own one demangles the
// exception's type name, and its demangler and formatted printing would add some 60 KB.
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <typeinfo>

// The library's own macro, known only once one of its headers is in.
#if defined(__GLIBCXX__)
#include <cxxabi.h>

namespace __gnu_cxx {

// Takes the place of the library's handler of this name (the default terminate handler),
// saying the same with the type's name as the compiler spells it.
void __verbose_terminate_handler() {
    const std::type_info* type = abi::__cxa_current_exception_type();
    if (type) {
        std::fputs("terminate called after throwing an instance of '", stderr);
        std::fputs(type->name(), stderr);
        std::fputs("'\n", stderr);
        // The library's handler also says what a standard exception carries.
        try {
            throw;
        } catch (const std::exception& e) {
            std::fputs("  what():  ", stderr);
            std::fputs(e.what(), stderr);
            std::fputs("\n", stderr);
        } catch (...) {
        }
    } else {
        std::fputs("terminate called without an active exception\n", stderr);
    }
    std::abort();
}

}  // namespace __gnu_cxx
#endif
