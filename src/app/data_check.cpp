// The data checker's command: `--check [--data DIR]`. The checks themselves are in app/check/,
// one file for each kind of data.
#include "app/data_check.h"

#include <unistd.h>

#include <cstdio>

#include "app/check/checker.h"
#include "app/check/texts.h"
#include "app/data_lookup.h"
#include "media/files.h"

DataCheck CheckBaseDirectory() { return check::DataChecker().Run(); }

std::string FormatProblem(const DataProblem& problem, const std::string& prefix) {
  std::string line = prefix + problem.file;
  if (problem.line > 0) line += ":" + std::to_string(problem.line);
  return line + (problem.error ? ": error: " : ": warning: ") + problem.text;
}

bool WantsDataCheck(int argc, char** argv) {
  for (int i = 1; i < argc; i++)
    if (std::string(argv[i]) == "--check") return true;
  return false;
}

int RunDataCheck(int argc, char** argv) {
  std::string directory;
  bool given = false, world = false;
  for (int i = 1; i < argc; i++) {
    const std::string option = argv[i];
    if (option == "--check") continue;
    if (option == "--world") {
      world = true;
      continue;
    }
    if (option == "--data" && i + 1 < argc && !given) {
      directory = argv[++i];
      given = true;
      continue;
    }
    std::fprintf(stderr, "quorvex: --check takes only --data DIR or --world (the base directory to check), not %s\n", option.c_str());
    return 2;
  }
  if (!given) {
    // The data the game itself would play: the current directory, else the installed base.
    const std::string start = CurrentDirectory();
    std::string notFound;
    if (!EnterInstalledData(world, notFound)) {
      std::printf("%s\nquorvex --check: no data to check\n", notFound.c_str());
      return 1;
    }
    if (CurrentDirectory() != start) {
      directory = CurrentDirectory();
      given = true;
    }
  }
  const std::string shownDirectory = given ? directory : ".";
  if (given && ::chdir(directory.c_str()) != 0) {
    std::printf("%s: error: there is no such directory (give the base directory, the one that holds DATA/)\n",
                directory.c_str());
    std::printf("quorvex --check: 1 error in %s\n", directory.c_str());
    return 1;
  }
  const std::string prefix = given ? (directory.back() == '/' ? directory : directory + "/") : "";
  const DataCheck check = CheckBaseDirectory();
  size_t errors = 0;
  for (const DataProblem& problem : check.problems) {
    std::printf("%s\n", FormatProblem(problem, prefix).c_str());
    errors += problem.error ? 1 : 0;
  }
  const size_t warnings = check.problems.size() - errors;
  const std::string what = !check.configured ? "no configuration" : check.labyrinthMode ? "labyrinth mode" : "world mode";
  std::string found = check.problems.empty() ? "no problems" : "";
  if (errors > 0) found = check::Count(errors, "error");
  if (warnings > 0) found += (found.empty() ? "" : " and ") + check::Count(warnings, "warning");
  std::printf("quorvex --check: %s in %s (%s, %s read)\n", found.c_str(), shownDirectory.c_str(), what.c_str(),
              check::Count(static_cast<size_t>(check.filesRead), "file").c_str());
  std::fflush(stdout);
  return check.problems.empty() ? 0 : 1;
}
