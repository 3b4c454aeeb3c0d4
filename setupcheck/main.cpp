// setup-check PRODUCT_DIR [--destination D] [--windows W]: shows what the installer would do with
// a product directory and warns about what in its setup.ini would surprise its author.
#include <iostream>
#include <string>

#include "setupcheck/Check.h"
#include "setupcheck/Report.h"

namespace {
int Usage() {
  std::cerr << "usage: setup-check PRODUCT_DIR [--destination D] [--windows W]\n"
               "  Prints the copy plan, the program group's commands and both records as the\n"
               "  installer would make them, then its findings about setup.ini.\n"
               "  --destination D  the destination typed at Install (default: the proposed one,\n"
               "                   \"c:\\program files\" + the script's first line)\n"
               "  --windows W      the Windows directory (default: C:\\WINDOWS)\n"
               "  Exit status: 0 nothing found, 1 warnings, 2 errors.\n";
  return 2;
}
}  // namespace

int main(int argc, char** argv) {
  setupcheck::CheckOptions options;
  bool haveDir = false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--destination" && i + 1 < argc) {
      options.destination = argv[++i];
    } else if (arg == "--windows" && i + 1 < argc) {
      options.windowsDir = argv[++i];
    } else if (!arg.empty() && arg[0] != '-' && !haveDir) {
      options.productDir = arg;
      haveDir = true;
    } else {
      return Usage();
    }
  }
  if (!haveDir) return Usage();

  const setupcheck::ProductCheck check = setupcheck::CheckProduct(options);
  if (check.scriptRead) setupcheck::PrintPlan(std::cout, check);
  std::cout.flush();
  setupcheck::PrintDiagnostics(std::cerr, check);
  return setupcheck::ExitStatus(check.diagnostics);
}
