// The pictures of the labyrinth: the tile graphics (40 x 40, opaque), the pick-ups and foes
// (white is their transparent colour), the player's orb, and the dim glows that float over
// the screens. Every tile state differs by pattern as well as by colour.
#pragma once

#include <string>
#include <vector>

#include "canvas.h"

namespace gen {

constexpr int kTileSize = 40;

enum class LabTile { Floor, Green, Water, Wall, Blue, FixedBlue, Pink, FixedPink, Dummy };
enum class Edge { None, East, South };

Canvas DrawLabTile(LabTile tile, Edge edge = Edge::None);

// Objects (pick-ups and foes), 40 x 40, hard-edged on a transparent background.
enum class Sprite { Coin, Gem, Bomb, Clock, Cherry, Spinner, Wisp, Player, Tree, Flower };
Canvas DrawSprite(Sprite sprite);

// Floating glows: drawn on black (never pure black, so nothing is keyed out), dim and soft.
enum class Glow { Sparkle, Orb, Mote };
Canvas DrawGlowImage(Glow glow);

}  // namespace gen
