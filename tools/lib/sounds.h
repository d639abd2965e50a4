// The sound effects: short one-shot sounds made with the synthesizer.
#pragma once

#include <string>
#include <vector>

namespace gen {

enum class Effect { Step, Fixed, PinkFixed, Blast, Timer, Coin, Gem, Goody, ExtraTime, BombPickup, Page1, Page2 };

struct EffectInfo {
  Effect effect;
  const char* fileName;  // as the data names it, with its letter case
  const char* title;
};

const std::vector<EffectInfo>& Effects();
std::vector<float> MakeEffect(Effect effect);

}  // namespace gen
