#pragma once
// Reading what a call throws; it needs no window, so the core's tests use it too.
#include <string>

// The message of the `E` that `fn` throws, or "(nothing thrown)": compare it with the text the
// user is meant to read.
template <class E, class Fn>
std::string ThrownMessage(Fn fn) {
  try {
    fn();
  } catch (const E& e) {
    return e.Message();
  }
  return "(nothing thrown)";
}
