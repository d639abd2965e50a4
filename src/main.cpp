#include <cstdio>

#include "app/data_check.h"
#include "app/harness.h"
#include "app/main_loop.h"

int main(int argc, char** argv) {
  if (WantsDataCheck(argc, argv)) return RunDataCheck(argc, argv);
  if (!ParseHarnessOptions(argc, argv)) return 2;
  if (harnessOptions.help || harnessOptions.version) {
    std::fputs((harnessOptions.help ? QuorvexHelpText() : QuorvexVersionText()).c_str(), stdout);
    return 0;
  }
  Main();
}
