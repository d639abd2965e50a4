// The game's icon for desktops: the golden orb standing on four painted tiles, in a dark rounded
// square. Drawn from shapes, so that it is sharp at every size the desktop asks for.
#pragma once

#include <vector>

#include "canvas.h"

namespace gen {

// The sizes of the hicolor icon theme the game installs.
const std::vector<int>& IconSizes();

// The icon, size x size pixels, transparent around the rounded square.
Canvas DrawIcon(int size);

}  // namespace gen
