// The quad blend factors as the game names them: 1 zero, 2 one, 3 source colour, 4 inverse
// source colour, 5 source alpha, 6 inverse source alpha, 7 destination alpha, 8 inverse
// destination alpha, 9 destination colour, 10 inverse destination colour, 11 saturated source
// alpha (taken as source alpha). SetQuadBlending (screen.h) takes them.
#pragma once

#include <cstdint>

struct BlendPair {
  int32_t source = 5;
  int32_t destination = 6;
  bool operator<(const BlendPair& o) const {
    return source != o.source ? source < o.source : destination < o.destination;
  }
};

// The pair SetQuadBlending draws with: a factor outside 1..11 takes the start value of its side
// (source alpha, inverse source alpha).
BlendPair NormalBlendPair(int32_t source, int32_t destination);
