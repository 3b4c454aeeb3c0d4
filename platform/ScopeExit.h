#pragma once
// Runs a clean-up when the scope is left, by return or by an error: a setting put back, a flag
// cleared, drawing resumed. What has a handle of its own gets an owner (platform/Owned.h) instead.
#include <utility>

template <class F>
class ScopeExit {
public:
  explicit ScopeExit(F f) : f_(std::move(f)) {}
  ~ScopeExit() { f_(); }
  ScopeExit(const ScopeExit&) = delete;
  ScopeExit& operator=(const ScopeExit&) = delete;

private:
  F f_;
};
