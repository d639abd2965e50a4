// The frame's cell pass over the tile map: the rules of play meet the map's drawing here.
#pragma once

// Draws the visible cells, row by row from the top, each row from the left, and runs the blue
// and then the pink fixing rule on each drawn cell (opacity above 0, part of the map) first.
void DrawMap();
