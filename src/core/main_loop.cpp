#include "core/main_loop.h"

#include <cstdio>
#include <cstdlib>

#include "core/error_report.h"
#include "core/game_state.h"
#include "core/harness.h"
#include "core/random.h"
#include "core/settings.h"
#include "media/files.h"

bool labyrinthMode = false;

void ReleaseServices() { CloseAllFiles(); }

void ShutDown() {
  ReleaseServices();
  std::exit(0);
}

void ResetAllState() {
  ResetGameState();
  ResetSettings();
  ResetRandom();
  labyrinthMode = false;
}

void Main() {
  if (!ApplyHarnessOptions()) std::exit(2);
  SetErrorBoxEnabled(!harnessOptions.fast);
  ResetAllState();
  baseDirectory = CurrentDirectory();
  if (!ReadSettingsFile(baseDirectory + "DATA\\ini.txt")) ReportError(0, baseDirectory + "DATA\\ini.txt");
  std::fprintf(stderr, "quorvex: the configuration was read; the window and drawing are not built yet.\n");
  std::exit(3);
}
