// The language runtime's failures, made to weigh what the programs need of them. The runtime's
// own versions bring a second kind of string, its exception classes and a demangler along, more
// than all of the uninstaller's windows; these end the same way for the program: the error box of
// the message dispatch, or the end of the program for an error nothing catches.
#include <cstdlib>
#include <exception>
#include <new>
#include <typeinfo>

#include "setupcore/Errors.h"

namespace __gnu_cxx {
// A window program has no console for the runtime to describe the error on.
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx

namespace std {
void __throw_bad_alloc() { throw bad_alloc(); }
void __throw_bad_array_new_length() { throw bad_array_new_length(); }
void __throw_bad_cast() { throw bad_cast(); }
void __throw_bad_typeid() { throw bad_typeid(); }
void __throw_bad_exception() { throw bad_exception(); }
// A string or a container asked beyond its end or its size: a fault of the program, shown with
// the runtime's own words.
void __throw_logic_error(const char* s) { throw setupcore::Exception(s); }
void __throw_domain_error(const char* s) { throw setupcore::Exception(s); }
void __throw_invalid_argument(const char* s) { throw setupcore::Exception(s); }
void __throw_length_error(const char* s) { throw setupcore::Exception(s); }
void __throw_out_of_range(const char* s) { throw setupcore::Exception(s); }
void __throw_out_of_range_fmt(const char* s, ...) { throw setupcore::Exception(s); }
void __throw_runtime_error(const char* s) { throw setupcore::Exception(s); }
void __throw_range_error(const char* s) { throw setupcore::Exception(s); }
void __throw_overflow_error(const char* s) { throw setupcore::Exception(s); }
void __throw_underflow_error(const char* s) { throw setupcore::Exception(s); }
}  // namespace std
