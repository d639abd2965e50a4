#include "core/harness.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "core/game_state.h"
#include "media/clock.h"

HarnessOptions harnessOptions;

namespace {

bool ParseInt(const std::string& text, int32_t& out) {
  if (text.empty()) return false;
  char* end = nullptr;
  const long value = std::strtol(text.c_str(), &end, 10);
  if (*end != '\0' || value < 0 || value > 2147483647L) return false;
  out = static_cast<int32_t>(value);
  return true;
}

// "N:FILE" into the map.
bool ParseFrameFile(const std::string& text, std::multimap<int32_t, std::string>& out) {
  const size_t colon = text.find(':');
  if (colon == std::string::npos || colon + 1 >= text.size()) return false;
  int32_t frame = 0;
  if (!ParseInt(text.substr(0, colon), frame) || frame < 1) return false;
  out.emplace(frame, text.substr(colon + 1));
  return true;
}

}  // namespace

bool ParseHarnessOptions(const std::vector<std::string>& args, std::string& error) {
  harnessOptions = HarnessOptions{};
  for (size_t i = 0; i < args.size(); i++) {
    const std::string& option = args[i];
    auto value = [&](std::string& out) {
      if (i + 1 >= args.size()) {
        error = option + " needs a value";
        return false;
      }
      out = args[++i];
      return true;
    };
    std::string v;
    if (option == "--fast") {
      harnessOptions.fast = true;
    } else if (option == "--data") {
      if (!value(harnessOptions.dataDirectory)) return false;
    } else if (option == "--windowed") {
      if (!value(v)) return false;
      const size_t x = v.find('x');
      if (x == std::string::npos || !ParseInt(v.substr(0, x), harnessOptions.windowWidth) ||
          !ParseInt(v.substr(x + 1), harnessOptions.windowHeight) || harnessOptions.windowWidth < 1 ||
          harnessOptions.windowHeight < 1 || harnessOptions.windowWidth > 16384 || harnessOptions.windowHeight > 16384) {
        error = "--windowed takes WxH, such as 1280x720";
        return false;
      }
    } else if (option == "--frames") {
      if (!value(v)) return false;
      if (!ParseInt(v, harnessOptions.endFrame) || harnessOptions.endFrame < 1) {
        error = "--frames takes a positive number";
        return false;
      }
    } else if (option == "--replay") {
      if (!value(harnessOptions.replayFile)) return false;
    } else if (option == "--record") {
      if (!value(harnessOptions.recordFile)) return false;
    } else if (option == "--screenshot") {
      if (!value(v)) return false;
      if (!ParseFrameFile(v, harnessOptions.screenshots)) {
        error = "--screenshot takes N:FILE with N from 1";
        return false;
      }
    } else if (option == "--dump") {
      if (!value(v)) return false;
      if (!ParseFrameFile(v, harnessOptions.dumps)) {
        error = "--dump takes N:FILE with N from 1";
        return false;
      }
    } else {
      error = "unknown option " + option;
      return false;
    }
  }
  return true;
}

bool ParseHarnessOptions(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  std::string error;
  if (ParseHarnessOptions(args, error)) return true;
  std::fprintf(stderr,
               "quorvex: %s\n"
               "options: --data DIR  --windowed WxH  --fast  --frames N  --replay FILE  --record FILE\n"
               "         --screenshot N:FILE  --dump N:FILE\n",
               error.c_str());
  return false;
}

bool ParseReplay(const std::string& text, std::vector<ReplayEvent>& events, std::string& error) {
  std::istringstream in(text);
  std::string line;
  int lineNumber = 0;
  while (std::getline(in, line)) {
    lineNumber++;
    const size_t hash = line.find('#');
    if (hash != std::string::npos) line.resize(hash);
    std::istringstream words(line);
    std::string frameText, action, input, extra;
    if (!(words >> frameText)) continue;  // blank line
    ReplayEvent event;
    if (!(words >> action >> input) || (words >> extra) || !ParseInt(frameText, event.frame) ||
        (action != "down" && action != "up")) {
      error = "replay line " + std::to_string(lineNumber) + ": expected <frame> down|up <KEY>";
      return false;
    }
    event.down = action == "down";
    event.input = input;
    events.push_back(event);
  }
  return true;
}

bool ApplyHarnessOptions() {
  SetFastMode(harnessOptions.fast);
  if (!harnessOptions.dataDirectory.empty() && ::chdir(harnessOptions.dataDirectory.c_str()) != 0) {
    std::fprintf(stderr, "quorvex: cannot change into %s\n", harnessOptions.dataDirectory.c_str());
    return false;
  }
  return true;
}
