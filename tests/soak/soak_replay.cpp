// Writes a seeded random replay for the soak: a long game of the demo made of episodes that a
// player could play, chosen with the game's own random generator. Walks of every length, bombs,
// pauses that continue or restart the level, quit questions that continue, level changes up and
// down, leaving the window and coming back, idle spells, and now and then an idle long enough
// for the clock to run out (a game over, the title, and the next pause key starts a new game).
//
// B (which quits from the quit question) is only ever pressed after P, and every Escape is
// followed by X, so the quit question is always left by X and the program never quits: the run
// lasts its whole length.
//
//   quorvex_soak_replay SEED FRAMES > replay.txt
#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/random.h"

namespace {

int32_t frame = 0;

// Holds a key for `held` frames from now, then lets it go and waits `after` frames.
void Press(const char* key, int32_t held, int32_t after) {
  std::printf("%d down %s\n%d up %s\n", frame, key, frame + held, key);
  frame += held + after;
}

int32_t Between(int32_t low, int32_t high) { return low + Random(high - low); }

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: quorvex_soak_replay SEED FRAMES\n");
    return 2;
  }
  const int32_t seed = std::atoi(argv[1]);
  const int32_t frames = std::atoi(argv[2]);
  RandomSeed(seed);
  std::printf("# soak replay, seed %d, %d frames\n", seed, frames);
  Press("P", 6, 4);  // leave the title
  static const char* const kArrows[] = {"UP", "DOWN", "LEFT", "RIGHT"};
  int32_t nextLongIdle = Between(15000, 30000);
  while (frame < frames) {
    if (frame >= nextLongIdle) {
      std::printf("# idle until the clock runs out\n");
      frame += 19000;
      nextLongIdle = frame + Between(15000, 30000);
      continue;
    }
    const int32_t pick = Random(99);
    if (pick < 50) {
      Press(kArrows[Random(3)], Between(1, 120), Between(0, 10));
    } else if (pick < 58) {
      Press("SPACE", Between(1, 4), Between(2, 30));
    } else if (pick < 64) {
      Press("P", 3, Between(10, 60));
      Press("X", 3, 5);
    } else if (pick < 68) {
      Press("P", 3, Between(10, 40));
      Press("B", 3, 5);
    } else if (pick < 72) {
      Press("ESCAPE", 3, Between(10, 40));
      Press("X", 3, 5);
    } else if (pick < 78) {
      Press(Random(2) == 0 ? "PGDN" : "PGUP", 2, Between(5, 40));
    } else if (pick < 81) {
      // The player leaves the window (the game pauses), comes back and goes on with X.
      const bool minimised = Random(1) == 0;
      std::printf("%d window %s\n", frame, minimised ? "minimized" : "focus-lost");
      frame += Between(1, 60);
      std::printf("%d window %s\n", frame, minimised ? "restored" : "focus-gained");
      frame += Between(1, 10);
      Press("X", 3, 5);
    } else {
      frame += Between(30, 300);
    }
  }
  return 0;
}
