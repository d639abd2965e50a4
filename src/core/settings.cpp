#include "core/settings.h"

#include <algorithm>
#include <functional>
#include <unordered_map>

#include "core/error_report.h"
#include "core/game_state.h"
#include "core/random.h"
#include "media/files.h"
#include "media/input.h"
#include "media/screen.h"
#include "media/sound.h"
#include "media/text.h"

Settings settings;
std::string baseDirectory;

namespace {

int8_t Flag(const std::string& value) { return static_cast<int8_t>(static_cast<uint8_t>(TextToInteger(value) & 0xFF)); }

using Setter = std::function<void(const std::string&)>;

struct Setting {
  SettingKind kind;
  Setter set;
};

const std::unordered_map<std::string, Setting>& Setters() {
  static const std::unordered_map<std::string, Setting> table = [] {
    std::unordered_map<std::string, Setting> t;
    auto path = [&t](const char* key, std::string Settings::*field) {
      t[key] = {SettingKind::kPath, [field](const std::string& v) { settings.*field = baseDirectory + v; }};
    };
    auto text = [&t](const char* key, std::string Settings::*field) {
      t[key] = {SettingKind::kText, [field](const std::string& v) { settings.*field = v; }};
    };
    auto integer = [&t](const char* key, int32_t Settings::*field) {
      t[key] = {SettingKind::kInteger, [field](const std::string& v) { settings.*field = TextToInteger(v); }};
    };
    auto flag = [&t](const char* key, int8_t Settings::*field) {
      t[key] = {SettingKind::kFlag, [field](const std::string& v) { settings.*field = Flag(v); }};
    };
    auto sound = [&t](const char* key, std::string Settings::*field) {
      t[key] = {SettingKind::kSoundName, [field](const std::string& v) { settings.*field = v; }};
    };
    auto real = [&t](const char* key, float Settings::*field) {
      t[key] = {SettingKind::kFloat, [field](const std::string& v) { settings.*field = TextToFloat(v); }};
    };

    path("SOUNDFXPATH", &Settings::SOUNDFXPATH);
    text("INGAMEMUSIC", &Settings::INGAMEMUSIC);
    path("EGFXPATH", &Settings::EGFXPATH);
    integer("EGFXMAX", &Settings::EGFXMAX);
    text("SCREGFXPATH", &Settings::SCREGFXPATH);
    integer("SCREGFXMAX", &Settings::SCREGFXMAX);
    path("FONTPATH", &Settings::FONTPATH);
    path("FONTSYSTEM", &Settings::FONTSYSTEM);
    t["WINDOWMODE"] = {SettingKind::kFlag, [](const std::string& v) { settings.WINDOWMODE = gameState.drawWorld = Flag(v); }};
    t["USESPRITE3D"] = {SettingKind::kFlag, [](const std::string& v) { settings.USESPRITE3D = gameState.drawWorld = Flag(v); }};
    integer("MULTITASK", &Settings::MULTITASK);
    text("APPNAME", &Settings::APPNAME);
    t["RESOLUTION"] = {SettingKind::kFloat, [](const std::string& v) {
      settings.RESOLUTION = TextToFloat(v);
      gameState.tileWidth = settings.RESOLUTION;
      gameState.tileHeight = settings.RESOLUTION;
    }};
    flag("USEEXTENDEDTOPO", &Settings::USEEXTENDEDTOPO);
    text("APPENTRY", &Settings::APPENTRY);
    text("APPSTART", &Settings::APPSTART);
    text("RGBCODEPATH", &Settings::RGBCODEPATH);
    path("TOPOGFX", &Settings::TOPOGFX);
    text("GFXCODEC", &Settings::GFXCODEC);
    path("WORLDGFX", &Settings::WORLDGFX);
    integer("MAXFOE", &Settings::MAXFOE);
    text("LOADSCREEN", &Settings::LOADSCREEN);
    text("LOADINTROSCREEN", &Settings::LOADINTROSCREEN);
    sound("KESTRAVON1", &Settings::KESTRAVON1);
    sound("KESTRAVON", &Settings::KESTRAVON);
    real("FULLSCREENZOOM", &Settings::FULLSCREENZOOM);
    integer("RESBASEW", &Settings::RESBASEW);
    path("CURSOR", &Settings::CURSOR);
    t["CURSORSPEED"] = {SettingKind::kInteger, [](const std::string& v) {
      int32_t speed = TextToInteger(v);
      if (speed > 255) speed = 255;
      if (speed < 0) speed = 0;
      settings.CURSORSPEED = 255 - speed;
    }};
    t["WORLDRANDOM"] = {SettingKind::kInteger, [](const std::string& v) {
      settings.WORLDRANDOM = TextToInteger(v);
      RandomSeed(settings.WORLDRANDOM);
    }};
    t["MAPSIZE"] = {SettingKind::kInteger, [](const std::string& v) {
      int32_t size = TextToInteger(v);
      if (size > 1024) size = 1024;
      if (size < 0) size = 32;
      settings.MAPSIZE = size;
    }};
    integer("WORLDREFRESH", &Settings::WORLDREFRESH);
    path("SELFCREATEBASE", &Settings::SELFCREATEBASE);
    flag("USESELFCREATEBASE", &Settings::USESELFCREATEBASE);
    integer("LABSWITCH", &Settings::LABSWITCH);
    flag("SMOOTH", &Settings::SMOOTH);
    text("GAMEMODE", &Settings::GAMEMODE);
    sound("TIMERSOUND", &Settings::TIMERSOUND);
    sound("DEFTILESOUND", &Settings::DEFTILESOUND);
    sound("FIXEDTILESOUND", &Settings::FIXEDTILESOUND);
    sound("PINKTILEFIXEDSOUND", &Settings::PINKTILEFIXEDSOUND);
    sound("EXPLOSIONSOUND", &Settings::EXPLOSIONSOUND);
    text("SCREENSIZE", &Settings::SCREENSIZE);

    text("SAVEGFX", &Settings::SAVEGFX);
    text("SAVEEVOLUTION", &Settings::SAVEEVOLUTION);
    text("GFXPATH", &Settings::GFXPATH);
    text("TOPO", &Settings::TOPO);
    text("BASICGFX", &Settings::BASICGFX);
    text("SYSTEMCORE", &Settings::SYSTEMCORE);
    text("CORENAME", &Settings::CORENAME);
    text("LOGPATH", &Settings::LOGPATH);
    text("LOGFILE", &Settings::LOGFILE);
    text("USELOGFILE", &Settings::USELOGFILE);
    text("LOADANIM", &Settings::LOADANIM);
    text("RESBASEH", &Settings::RESBASEH);
    text("VEGIDENSE", &Settings::VEGIDENSE);
    text("USEFULLMATRIX", &Settings::USEFULLMATRIX);
    text("MULTICORE", &Settings::MULTICORE);
    text("WORLDTEMPERATURE", &Settings::WORLDTEMPERATURE);
    text("VIEW", &Settings::VIEW);
    text("ENDTIMERSOUND", &Settings::ENDTIMERSOUND);
    text("BOMBPICKUPSOUND", &Settings::BOMBPICKUPSOUND);
    text("MENUMUSIC", &Settings::MENUMUSIC);
    text("USESCALER", &Settings::USESCALER);
    return t;
  }();
  return table;
}

}  // namespace

void ResetSettings() {
  settings = Settings{};
  baseDirectory.clear();
}

void ApplySetting(const std::string& key, const std::string& value) {
  const auto& table = Setters();
  auto it = table.find(key);
  if (it != table.end()) it->second.set(value);
}

bool FindSettingKind(const std::string& key, SettingKind& kind) {
  const auto& table = Setters();
  auto it = table.find(key);
  if (it == table.end()) return false;
  kind = it->second.kind;
  return true;
}

std::vector<std::string> SettingKeys() {
  std::vector<std::string> keys;
  for (const auto& entry : Setters()) keys.push_back(entry.first);
  std::sort(keys.begin(), keys.end());
  return keys;
}

bool ReadSettingsFile(const std::string& path) {
  const int32_t file = OpenTextFile(-1, path);
  if (file == 0) return false;
  while (!AtEndOfFile(file)) {
    const std::string key = ReadLine(file);
    const std::string value = ReadLine(file);
    ApplySetting(key, value);
  }
  CloseTextFile(file);
  return true;
}

bool ParseScreenSize(const std::string& text, int32_t& width, int32_t& height) {
  size_t at = 0;
  auto blanks = [&] {
    while (at < text.size() && (text[at] == ' ' || text[at] == '\t')) at++;
  };
  auto number = [&](int32_t& out) {
    blanks();
    const size_t start = at;
    int64_t value = 0;
    while (at < text.size() && text[at] >= '0' && text[at] <= '9' && at - start < 6) value = value * 10 + (text[at++] - '0');
    out = static_cast<int32_t>(value);
    return at > start && (at == text.size() || text[at] < '0' || text[at] > '9');
  };
  int32_t w = 0, h = 0;
  if (!number(w)) return false;
  blanks();
  if (at >= text.size() || (text[at] != 'x' && text[at] != 'X')) return false;
  at++;
  if (!number(h)) return false;
  blanks();
  if (at != text.size() || w < 16 || h < 16 || w > 8192 || h > 8192) return false;
  width = w;
  height = h;
  return true;
}

void StartDevices() {
  if (StartVideo()) SetTransparentColour(kMagenta);
  StartKeyboard();
  StartSound();
  StartMouse();
  gameState.joystickPresent = StartJoystick() != 0 ? 1 : 0;
}

void ReadSettings(const std::string& path) {
  if (!ReadSettingsFile(path)) ReportError(kErrorConfiguration, path);
  StartDevices();
}
