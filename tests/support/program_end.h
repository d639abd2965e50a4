// The end of the program inside the unit tests. The game ends the process through EndProgram;
// the unit tests put a procedure there that throws ProgramEnded instead, so that a test which
// reaches ShutDown or the error report fails by name ("C++ exception ... thrown in the test
// body") rather than ending the test program with the game's exit status.
#pragma once

#include <cstdint>
#include <functional>
#include <stdexcept>

struct ProgramEnded : std::runtime_error {
  explicit ProgramEnded(int32_t exitStatus);
  int32_t status;
};

// Makes EndProgram throw ProgramEnded (the unit tests' main does this once).
void ThrowAtProgramEnd();

// Runs `body` where a test expects the game to end the program: the exit status it ended with,
// or -1 when it returned without ending it.
int32_t EndStatusOf(const std::function<void()>& body);
