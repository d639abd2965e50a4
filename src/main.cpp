#include "app/harness.h"
#include "app/main_loop.h"

int main(int argc, char** argv) {
  if (!ParseHarnessOptions(argc, argv)) return 2;
  Main();
}
