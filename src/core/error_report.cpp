#include "core/error_report.h"

#include <cstdio>

#include "core/shutdown.h"
#include "media/files.h"
#include "media/screen.h"

namespace {
bool boxEnabled = false;  // start-up turns it on for a player's run
}

std::string ErrorText(int32_t code, const std::string& detail) {
  switch (code) {
    case 0: return " Could not open " + NativePath(detail);
    case 1: return " Could not open screen";
    case 2: return " Could not open window";
    case 4: return " Could not open topographic data";
    case 5: return " Could not open:" + NativePath(detail);
    default: return " Error " + std::to_string(code);
  }
}

void SetErrorBoxEnabled(bool enabled) { boxEnabled = enabled; }

void ReportError(int32_t code, const std::string& detail) {
  const std::string text = ErrorText(code, detail);
  std::fprintf(stderr, "ERROR %s\n", text.c_str());
  std::fflush(stderr);
  if (boxEnabled) ShowMessageBox("ERROR ", text, 0);
  ReleaseServices();
  EndProgram(1);
}
