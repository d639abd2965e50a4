// Ending the program from any layer. Releasing the services (the window, sound, devices, the
// harness's record file) is the business of the program's top layer, which hands its procedure
// over at start-up; the error report and the rules of play end the program through here.
#pragma once

#include <cstdint>

// Sets the procedure that releases every service.
void SetServiceRelease(void (*release)());
// Runs that procedure; nothing happens before one is set.
void ReleaseServices();
// Releases every service and ends the process with exit status 0. Never returns.
[[noreturn]] void ShutDown();

// Ends the process with the status: every way out of the program comes here. By default the
// process exits; a test puts in a procedure of its own that must not return either (it throws),
// so that a test which reaches the end of the program fails instead of ending the test program
// with the game's status. nullptr puts the exit back.
void SetProgramEnd(void (*end)(int32_t status));
[[noreturn]] void EndProgram(int32_t status);
