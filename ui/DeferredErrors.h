#pragma once
// Errors caught where no box may open: inside a system callback that runs in the middle of the
// system's own work (DDEML's), a modal error box would run the program's whole message loop
// there. They are kept, and the message dispatch shows them once the callback has returned,
// in the order they happened, the way it shows an error of a window's handler.
#include <windows.h>

#include <exception>
#include <vector>

class DeferredErrors {
public:
  DeferredErrors();
  // Errors not yet shown are dropped with their window.
  ~DeferredErrors();
  DeferredErrors(const DeferredErrors&) = delete;
  DeferredErrors& operator=(const DeferredErrors&) = delete;

  // Keeps the error and asks the message loop to show it; call from a catch block with
  // std::current_exception(). Never throws.
  void Keep(std::exception_ptr error) noexcept;

private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  void ShowPending() noexcept;

  HWND window_ = nullptr;  // owned: a message-only window that receives the request to show
  std::vector<std::exception_ptr> pending_;
};
