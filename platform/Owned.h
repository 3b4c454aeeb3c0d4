#pragma once
// One move-only owner for every kind of system handle: the kind's traits say what an empty
// handle is, which handles are live and how a live one is given back to the system.
//   struct Traits { using Handle = ...; static Handle Empty(); static bool Live(Handle);
//                   static void Free(Handle); };
// Most kinds take their empty handle from one of the two rules below and add only Free.
#include <windows.h>

template <class Traits>
class Owned {
public:
  using Handle = typename Traits::Handle;
  Owned() = default;
  explicit Owned(Handle h) : h_(h) {}
  ~Owned() { Reset(); }
  Owned(Owned&& o) noexcept : h_(o.Release()) {}
  Owned& operator=(Owned&& o) noexcept {
    if (this != &o) Reset(o.Release());
    return *this;
  }
  Owned(const Owned&) = delete;
  Owned& operator=(const Owned&) = delete;

  Handle Get() const { return h_; }
  bool Valid() const { return Traits::Live(h_); }
  explicit operator bool() const { return Valid(); }
  // Hands the handle over to the caller, who frees it.
  Handle Release() {
    Handle h = h_;
    h_ = Traits::Empty();
    return h;
  }
  // Frees the handle held (a failure there has no one left to report to) and takes `h`.
  void Reset(Handle h = Traits::Empty()) {
    if (Valid()) Traits::Free(h_);
    h_ = h;
  }

private:
  Handle h_ = Traits::Empty();
};

// Handles that are empty as null: GDI objects, DCs.
template <class H>
struct NullIsEmpty {
  using Handle = H;
  static Handle Empty() { return nullptr; }
  static bool Live(Handle h) { return h != nullptr; }
};
// Kernel handles, which the system hands back as INVALID_HANDLE_VALUE on failure (and some as
// null): both are empty.
struct InvalidIsEmpty {
  using Handle = HANDLE;
  static Handle Empty() { return INVALID_HANDLE_VALUE; }
  static bool Live(Handle h) { return h != INVALID_HANDLE_VALUE && h != nullptr; }
};
