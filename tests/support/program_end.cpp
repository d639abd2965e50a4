#include "support/program_end.h"

#include <string>

#include "core/shutdown.h"

ProgramEnded::ProgramEnded(int32_t exitStatus)
    : std::runtime_error("the game ended the program with exit status " + std::to_string(exitStatus) +
                         " (ShutDown, the error report or a failed start-up)"),
      status(exitStatus) {}

void ThrowAtProgramEnd() {
  SetProgramEnd([](int32_t status) { throw ProgramEnded(status); });
}

int32_t EndStatusOf(const std::function<void()>& body) {
  try {
    body();
  } catch (const ProgramEnded& ended) {
    return ended.status;
  }
  return -1;
}
