#pragma once

// Plays of one sound that the mixer begins on the same output sample. Every play asked for
// between two of the mixer's passes (4096 frames, 100 ms in the game) begins at the start of the
// next pass, so two foes felled by one strike start two copies of the blow exactly together:
// they add up to the same blow at twice the amplitude (three: +9.5 dB), no clearer to the ear,
// and run the mix into full scale. A play that begins together with plays of the same sound is
// therefore heard only as far as its level exceeds theirs: the loudest level asked for, once.
// Each play keeps its own channel all the same.

struct Mix_Chunk;

class CoincidingPlays {
 public:
  // Watches the play of `chunk` at volume `level` (0-128) about to start on `channel`. Call it
  // after halting whatever the channel played and before starting the play, so that the mixer
  // cannot mix the play's first pass unwatched. The watch ends when the play does; when the
  // play does not start, end it with unwatch(). A mixer not open, or not in the 16-bit format
  // the game opens it in, takes no watch, and the play is heard in full.
  static void watch(int channel, const Mix_Chunk* chunk, int level);

  // Ends the watch of a play that did not start.
  static void unwatch(int channel);
};
