#include "core/error_report.h"

#include <cstdio>

#include "core/shutdown.h"
#include "media/files.h"
#include "media/screen.h"

namespace {
bool boxEnabled = false;  // start-up turns it on for a player's run
}

std::string ErrorText(ErrorCode code, const std::string& detail) {
  switch (code) {
    case kErrorConfiguration: return " Could not open " + NativePath(detail);
    case kErrorScreen: return " Could not open screen";
    case kErrorWindow: return " Could not open window";
    case kErrorWorldMap: return " Could not open topographic data";
    case kErrorLabyrinthBase: return " Could not open:" + NativePath(detail);
  }
  // Only a number cast from outside the list gets here.
  return " Error " + std::to_string(static_cast<int32_t>(code));
}

void SetErrorBoxEnabled(bool enabled) { boxEnabled = enabled; }

void ReportError(ErrorCode code, const std::string& detail) {
  const std::string text = ErrorText(code, detail);
  std::fprintf(stderr, "ERROR %s\n", text.c_str());
  std::fflush(stderr);
  if (boxEnabled) ShowMessageBox("ERROR ", text);
  ReleaseServices();
  EndProgram(1);
}
