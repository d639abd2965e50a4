#include "core/shutdown.h"

#include <cstdlib>

namespace {
void (*serviceRelease)() = nullptr;
}

void SetServiceRelease(void (*release)()) { serviceRelease = release; }

void ReleaseServices() {
  if (serviceRelease) serviceRelease();
}

void ShutDown() {
  ReleaseServices();
  std::exit(0);
}
