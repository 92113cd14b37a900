// The frame benchmarks run under node, which has no navigator, window or animation frames:
// SDL's joystick code listens on the window for gamepads and asks the navigator for them every
// frame, and finds none; loading hands the page a turn now and then, in an animation frame.
if (typeof navigator === "undefined") globalThis.navigator = { getGamepads: () => [] };
if (typeof window === "undefined") {
  globalThis.window = { addEventListener: () => {}, removeEventListener: () => {} };
}
if (typeof requestAnimationFrame === "undefined") {
  globalThis.requestAnimationFrame = (callback) => setImmediate(() => callback(performance.now()));
}
