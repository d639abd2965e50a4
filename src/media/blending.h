// The arithmetic of the quad blend factors, kept apart from SDL so that it can be checked alone.
//
// Factors are numbered 1 zero, 2 one, 3 source colour, 4 inverse source colour, 5 source alpha,
// 6 inverse source alpha, 7 destination alpha, 8 inverse destination alpha, 9 destination colour,
// 10 inverse destination colour, 11 saturated source alpha (taken as source alpha).
#pragma once

#include <cstdint>

struct BlendPair {
  int32_t source = 5;
  int32_t destination = 6;
  bool operator<(const BlendPair& o) const {
    return source != o.source ? source < o.source : destination < o.destination;
  }
};

// A factor outside 1..11 takes the default of its side (source alpha, inverse source alpha).
BlendPair NormalBlendPair(int32_t source, int32_t destination);

// One colour channel of the result of drawing a source over a destination, all values 0..1.
// The back buffer is opaque, so the destination alpha is 1.
float BlendChannel(BlendPair pair, float sourceColour, float sourceAlpha, float destinationColour);

// The texel (r | g << 8 | b << 16 | a << 24) to give keyed pixels so that drawing them under the
// pair leaves the destination as it was. (0,0,0,0) where that works; otherwise the neutral texel,
// preferring one that stays neutral whatever the quad's colour and opacity.
uint32_t NeutralTexel(BlendPair pair);
