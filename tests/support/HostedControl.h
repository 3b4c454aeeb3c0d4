#pragma once
// A list control of the program's own on a dialog-style host window in this process, with the
// framework started for the test and the current directory put back after it (the lists change
// it as they are worked).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/Listing.h"
#include "ui/Application.h"
#include "ui/Form.h"

template <class Control, int Height = 200>
class HostedControl : public ::testing::Test {
protected:
  void SetUp() override {
    InitApplication();
    start = Cwd();
    host = new TForm(Application, TFormDef{"list host", 300, 300, bsDialog});
    control = new Control(host);
    control->Define(host, "control", 0, 0, 200, Height);
  }
  void TearDown() override {
    SetCurrentDirectoryA(start.c_str());
    DoneApplication();
  }
  // The texts of the items, in order.
  std::vector<std::string> Items() {
    std::vector<std::string> out;
    for (int i = 0; i < control->Count(); ++i) out.push_back(control->Strings(i));
    return out;
  }

  std::string start;
  TForm* host = nullptr;
  Control* control = nullptr;
};
