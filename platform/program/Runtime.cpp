// The language runtime's failures and thread support, made to weigh what the shipped programs
// need of them; linked into setup.exe and remove.exe only, whose own objects are taken before the
// runtime's library is searched. The runtime's versions bring a second kind of string, its
// exception classes and a demangler along, more than all of the uninstaller's windows; these end
// the same way for the program: the error box of the message dispatch, or the end of the program
// for an error nothing catches.
#include <windows.h>

#include <cerrno>
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

// The unwinder runs its set-up once, and the runtime keeps each thread's error state, through the
// thread library, whose thread support would come along whole for those few calls. The programs
// start no thread of their own and throw only on the one that runs their windows, so once is
// simply the first time; a thread's values are the system's own thread slots; and the locks the
// unwinder and the runtime's store for exceptions take have no other thread to keep out.
extern "C" {
int pthread_mutex_init(intptr_t*, const unsigned*) { return 0; }
int pthread_mutex_destroy(intptr_t*) { return 0; }
int pthread_mutex_lock(intptr_t*) { return 0; }
int pthread_mutex_unlock(intptr_t*) { return 0; }
int pthread_once(long* once, void (*init)(void)) {
  if (*once == 0) {
    *once = 1;
    init();
  }
  return 0;
}
int pthread_key_create(unsigned* key, void (*)(void*)) {
  const DWORD slot = TlsAlloc();
  if (slot == TLS_OUT_OF_INDEXES) return EAGAIN;
  *key = slot;
  return 0;
}
void* pthread_getspecific(unsigned key) { return TlsGetValue(key); }
int pthread_setspecific(unsigned key, const void* value) {
  return TlsSetValue(key, const_cast<void*>(value)) ? 0 : ENOMEM;
}
}
