#include "core/harness.h"
#include "core/main_loop.h"

int main(int argc, char** argv) {
  if (!ParseHarnessOptions(argc, argv)) return 2;
  Main();
}
