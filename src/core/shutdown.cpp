#include "core/shutdown.h"

#include <cstdlib>

namespace {
void (*serviceRelease)() = nullptr;
void (*programEnd)(int32_t status) = nullptr;
}  // namespace

void SetServiceRelease(void (*release)()) { serviceRelease = release; }

void ReleaseServices() {
  if (serviceRelease) serviceRelease();
}

void ShutDown() {
  ReleaseServices();
  EndProgram(0);
}

void SetProgramEnd(void (*end)(int32_t status)) { programEnd = end; }

void EndProgram(int32_t status) {
  if (programEnd) {
    programEnd(status);
    std::abort();  // it promised not to return: going on would run the game past its end
  }
  std::exit(status);
}
