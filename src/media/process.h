// The process's stop signals: Ctrl+C in a terminal (SIGINT) and a polite kill (SIGTERM) end the
// game cleanly instead of being swallowed by the window system's event queue. A second stop
// signal ends the program at once, whatever it is doing (a long load presents no frame).
#pragma once

// Installs our handlers (and keeps SDL from installing its own). Call before any SDL start.
void CatchStopSignals();
// True once a stop signal has arrived; the game then shuts down after the next presented frame.
bool StopSignalled();
