// The frame benchmarks run under node, which has no navigator or window:
// SDL's joystick code listens on the window for gamepads and asks the navigator for them every
// frame, and finds none.
if (typeof navigator === "undefined") globalThis.navigator = { getGamepads: () => [] };
if (typeof window === "undefined") {
  globalThis.window = { addEventListener: () => {}, removeEventListener: () => {} };
}
