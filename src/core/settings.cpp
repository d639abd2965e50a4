#include "core/settings.h"

#include <utility>

#include "core/error_report.h"
#include "core/game_state.h"
#include "core/random.h"
#include "media/input.h"
#include "media/screen.h"
#include "media/sound.h"
#include "media/text.h"

Settings settings;
std::string baseDirectory;

namespace {

KeyTable<Settings> MakeSettingKeys() {
  KeyTable<Settings> t;
  using K = ValueKind;
  // A path is the base directory followed by the value, joined as they stand.
  auto path = [&t](const char* key, std::string Settings::*field) {
    t.Add(key, K::kPath, [field](Settings& s, const std::string& v) { s.*field = baseDirectory + v; });
  };
  path("SOUNDFXPATH", &Settings::SOUNDFXPATH);
  t.Add("INGAMEMUSIC", K::kText, &Settings::INGAMEMUSIC);
  path("EGFXPATH", &Settings::EGFXPATH);
  t.Add("EGFXMAX", K::kInteger, &Settings::EGFXMAX);
  t.Add("SCREGFXPATH", K::kText, &Settings::SCREGFXPATH);
  t.Add("SCREGFXMAX", K::kInteger, &Settings::SCREGFXMAX);
  path("FONTPATH", &Settings::FONTPATH);
  path("FONTSYSTEM", &Settings::FONTSYSTEM);
  t.Add("WINDOWMODE", K::kFlag, [](Settings& s, const std::string& v) { s.WINDOWMODE = gameState.drawWorld = TextToLowByte(v); });
  t.Add("USESPRITE3D", K::kFlag, [](Settings& s, const std::string& v) { s.USESPRITE3D = gameState.drawWorld = TextToLowByte(v); });
  t.Add("MULTITASK", K::kInteger, &Settings::MULTITASK);
  t.Add("APPNAME", K::kText, &Settings::APPNAME);
  t.Add("RESOLUTION", K::kFloat, [](Settings& s, const std::string& v) {
    s.RESOLUTION = TextToFloat(v);
    gameState.tileWidth = s.RESOLUTION;
    gameState.tileHeight = s.RESOLUTION;
  });
  t.Add("USEEXTENDEDTOPO", K::kFlag, &Settings::USEEXTENDEDTOPO);
  t.Add("APPENTRY", K::kText, &Settings::APPENTRY);
  t.Add("APPSTART", K::kText, &Settings::APPSTART);
  t.Add("RGBCODEPATH", K::kText, &Settings::RGBCODEPATH);
  path("TOPOGFX", &Settings::TOPOGFX);
  t.Add("GFXCODEC", K::kText, &Settings::GFXCODEC);
  path("WORLDGFX", &Settings::WORLDGFX);
  t.Add("MAXFOE", K::kInteger, &Settings::MAXFOE);
  t.Add("LOADSCREEN", K::kText, &Settings::LOADSCREEN);
  t.Add("LOADINTROSCREEN", K::kText, &Settings::LOADINTROSCREEN);
  t.Add("KESTRAVON1", K::kSoundName, &Settings::KESTRAVON1);
  t.Add("KESTRAVON", K::kSoundName, &Settings::KESTRAVON);
  t.Add("FULLSCREENZOOM", K::kFloat, &Settings::FULLSCREENZOOM);
  t.Add("RESBASEW", K::kInteger, &Settings::RESBASEW);
  path("CURSOR", &Settings::CURSOR);
  t.Add("CURSORSPEED", K::kInteger, [](Settings& s, const std::string& v) {
    int32_t speed = TextToInteger(v);
    if (speed > 255) speed = 255;
    if (speed < 0) speed = 0;
    s.CURSORSPEED = 255 - speed;
  });
  t.Add("WORLDRANDOM", K::kInteger, [](Settings& s, const std::string& v) {
    s.WORLDRANDOM = TextToInteger(v);
    RandomSeed(s.WORLDRANDOM);
  });
  t.Add("MAPSIZE", K::kInteger, [](Settings& s, const std::string& v) {
    int32_t size = TextToInteger(v);
    if (size > 1024) size = 1024;
    if (size < 0) size = 32;
    s.MAPSIZE = size;
  });
  t.Add("WORLDREFRESH", K::kInteger, &Settings::WORLDREFRESH);
  path("SELFCREATEBASE", &Settings::SELFCREATEBASE);
  t.Add("USESELFCREATEBASE", K::kFlag, &Settings::USESELFCREATEBASE);
  t.Add("LABSWITCH", K::kInteger, &Settings::LABSWITCH);
  t.Add("SMOOTH", K::kFlag, &Settings::SMOOTH);
  t.Add("GAMEMODE", K::kText, &Settings::GAMEMODE);
  t.Add("TIMERSOUND", K::kSoundName, &Settings::TIMERSOUND);
  t.Add("DEFTILESOUND", K::kSoundName, &Settings::DEFTILESOUND);
  t.Add("FIXEDTILESOUND", K::kSoundName, &Settings::FIXEDTILESOUND);
  t.Add("PINKTILEFIXEDSOUND", K::kSoundName, &Settings::PINKTILEFIXEDSOUND);
  t.Add("EXPLOSIONSOUND", K::kSoundName, &Settings::EXPLOSIONSOUND);
  t.Add("SCREENSIZE", K::kText, &Settings::SCREENSIZE);

  // Read and stored; nothing in the game uses them.
  const std::pair<const char*, std::string Settings::*> unused[] = {{"SAVEGFX", &Settings::SAVEGFX},
                                   {"SAVEEVOLUTION", &Settings::SAVEEVOLUTION},
                                   {"GFXPATH", &Settings::GFXPATH},
                                   {"TOPO", &Settings::TOPO},
                                   {"BASICGFX", &Settings::BASICGFX},
                                   {"SYSTEMCORE", &Settings::SYSTEMCORE},
                                   {"CORENAME", &Settings::CORENAME},
                                   {"LOGPATH", &Settings::LOGPATH},
                                   {"LOGFILE", &Settings::LOGFILE},
                                   {"USELOGFILE", &Settings::USELOGFILE},
                                   {"LOADANIM", &Settings::LOADANIM},
                                   {"RESBASEH", &Settings::RESBASEH},
                                   {"VEGIDENSE", &Settings::VEGIDENSE},
                                   {"USEFULLMATRIX", &Settings::USEFULLMATRIX},
                                   {"MULTICORE", &Settings::MULTICORE},
                                   {"WORLDTEMPERATURE", &Settings::WORLDTEMPERATURE},
                                   {"VIEW", &Settings::VIEW},
                                   {"ENDTIMERSOUND", &Settings::ENDTIMERSOUND},
                                   {"BOMBPICKUPSOUND", &Settings::BOMBPICKUPSOUND},
                                   {"MENUMUSIC", &Settings::MENUMUSIC},
                                   {"USESCALER", &Settings::USESCALER}};
  for (const auto& [key, field] : unused) t.Add(key, K::kText, field);
  return t;
}

}  // namespace

const KeyTable<Settings>& SettingKeys() {
  static const KeyTable<Settings> table = MakeSettingKeys();
  return table;
}

void ResetSettings() {
  settings = Settings{};
  baseDirectory.clear();
}

void ApplySetting(const std::string& key, const std::string& value) {
  if (const auto* found = SettingKeys().FindKey(key)) found->store(settings, value);
}

bool ReadSettingsFile(const std::string& path, LinePairWatcher* watcher) { return SettingKeys().Read(path, settings, watcher); }

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
