// Ending the program from any layer. Releasing the services (the window, sound, devices, the
// harness's record file) is the business of the program's top layer, which hands its procedure
// over at start-up; the error report and the rules of play end the program through here.
#pragma once

// Sets the procedure that releases every service.
void SetServiceRelease(void (*release)());
// Runs that procedure; nothing happens before one is set.
void ReleaseServices();
// Releases every service and ends the process with exit status 0. Never returns.
[[noreturn]] void ShutDown();
