// Compiled into the test binary (each generator source in its own unit, as in the tool).
#include "../../../tools/lib/sounds.cpp"
