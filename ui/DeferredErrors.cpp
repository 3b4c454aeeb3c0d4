#include "ui/DeferredErrors.h"

#include "ui/Application.h"

namespace {
const char kWindowClass[] = "VelmoraDeferredErrors";
const UINT kShowPending = WM_APP;

void Show(const std::exception_ptr& error) noexcept {
  try {
    std::rethrow_exception(error);
  } catch (...) {
    if (Application) Application->HandleCurrentException();
  }
}
}  // namespace

DeferredErrors::DeferredErrors() {
  WNDCLASSA wc = {};
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = kWindowClass;
  RegisterClassA(&wc);  // unchecked: a second registration fails, and the first one serves
  window_ = CreateWindowExA(0, kWindowClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                            wc.hInstance, this);
}

DeferredErrors::~DeferredErrors() {
  if (window_) DestroyWindow(window_);
}

void DeferredErrors::Keep(std::exception_ptr error) noexcept {
  try {
    pending_.push_back(std::move(error));
  } catch (...) {
    return;  // no memory even to keep it: there is nothing left to report it with
  }
  // Each request shows whatever is pending then, so one that finds nothing left is harmless.
  if (window_) PostMessageA(window_, kShowPending, 0, 0);
}

void DeferredErrors::ShowPending() noexcept {
  // Taken out first: a box's own loop may take the next request, and the callback may keep
  // new errors while a box is open.
  std::vector<std::exception_ptr> errors;
  errors.swap(pending_);
  for (const std::exception_ptr& error : errors) Show(error);
}

LRESULT CALLBACK DeferredErrors::WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* self = static_cast<DeferredErrors*>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams);
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<DeferredErrors*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (msg == kShowPending && self) {
    self->ShowPending();
    return 0;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}
