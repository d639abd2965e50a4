// The full-screen zoom pass: the finished play field is grabbed and drawn back stretched.
#pragma once

#include <cstdint>

void ZoomPass(int8_t smooth);
