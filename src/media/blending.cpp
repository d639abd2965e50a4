#include "media/blending.h"

#include <algorithm>
#include <cmath>

#include "media/internal.h"

namespace {

float Factor(int32_t factor, float sourceColour, float sourceAlpha, float destinationColour) {
  const float destinationAlpha = 1.0f;
  switch (factor) {
    case 1: return 0.0f;
    case 2: return 1.0f;
    case 3: return sourceColour;
    case 4: return 1.0f - sourceColour;
    case 5: return sourceAlpha;
    case 6: return 1.0f - sourceAlpha;
    case 7: return destinationAlpha;
    case 8: return 1.0f - destinationAlpha;
    case 9: return destinationColour;
    case 10: return 1.0f - destinationColour;
    default: return sourceAlpha;  // 11, saturated source alpha
  }
}

// True when a texel of colour c and alpha a (0 or 1 each), modulated by colour m and opacity o,
// leaves every tried destination unchanged.
bool Neutral(BlendPair pair, float c, float a, float m, float o) {
  for (float d : {0.0f, 0.25f, 0.6f, 1.0f}) {
    if (std::fabs(BlendChannel(pair, c * m, a * o, d) - d) > 1e-4f) return false;
  }
  return true;
}

}  // namespace

BlendPair NormalBlendPair(int32_t source, int32_t destination) {
  BlendPair pair;
  if (source >= 1 && source <= 11) pair.source = source;
  if (destination >= 1 && destination <= 11) pair.destination = destination;
  return pair;
}

float BlendChannel(BlendPair pair, float sourceColour, float sourceAlpha, float destinationColour) {
  const float result = sourceColour * Factor(pair.source, sourceColour, sourceAlpha, destinationColour) +
                       destinationColour * Factor(pair.destination, sourceColour, sourceAlpha, destinationColour);
  return std::clamp(result, 0.0f, 1.0f);
}

uint32_t NeutralTexel(BlendPair pair) {
  struct Candidate {
    float colour, alpha;
  };
  const Candidate candidates[] = {{0, 0}, {0, 1}, {1, 0}, {1, 1}};
  auto texel = [](const Candidate& c) {
    const uint32_t v = c.colour > 0 ? 255u : 0u;
    return v | v << 8 | v << 16 | (c.alpha > 0 ? 255u : 0u) << 24;
  };
  for (const Candidate& c : candidates) {
    bool always = true;
    for (float m : {1.0f, 0.5f})
      for (float o : {1.0f, 0.5f}) always = always && Neutral(pair, c.colour, c.alpha, m, o);
    if (always) return texel(c);
  }
  for (const Candidate& c : candidates)
    if (Neutral(pair, c.colour, c.alpha, 1.0f, 1.0f)) return texel(c);
  return 0;
}
