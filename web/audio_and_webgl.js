// Runs at the start of the game's script, before the game itself (linked in with --pre-js).

// Sound at the game's own mixing rate. SDL would make the page's audio context at the browser's
// rate (44.1 or 48 kHz) and the mixer would follow it, so that every sound, the minute-long music
// loops too, were resampled while the page loads; the browser resamples far more cheaply as it
// plays, off the page's thread. Browsers start sound only after a key, a click or a touch; SDL
// listens for those only on a context it made itself, so this one is handed to the same listener.
(function () {
  const GAME_MIXING_RATE = 40960;  // Hz, the rate the game opens its mixer at
  if (typeof AudioContext === "undefined") return;
  let audioContext;
  try {
    audioContext = new AudioContext({ sampleRate: GAME_MIXING_RATE });
  } catch (error) {
    return;  // a browser without that rate: SDL makes its own context
  }
  Module["SDL2"] = Module["SDL2"] || {};
  Module["SDL2"].audioContext = audioContext;
  autoResumeAudioContext(audioContext);
})();

// SDL asks WebGL whether a texture's framebuffer is complete each time it draws into another
// texture (loading each picture, capturing the screen, redrawing the overlay). The question is a
// round trip to the GPU process that waits for all the drawing before it, and the answer is known:
// SDL attaches one RGBA texture that it made with a size, which WebGL always renders to.
(function () {
  const FRAMEBUFFER_COMPLETE = 0x8cd5;
  const answerComplete = function () {
    return FRAMEBUFFER_COMPLETE;
  };
  for (const name of ["WebGLRenderingContext", "WebGL2RenderingContext"]) {
    if (typeof window[name] !== "undefined") {
      window[name].prototype.checkFramebufferStatus = answerComplete;
    }
  }
})();
