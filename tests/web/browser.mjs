// The browser build in Debian's headless Chromium, for the web tests and the benchmark: starts
// the browser, opens the page and keeps what the page logs.

import { execFileSync } from "node:child_process";
import { mkdtempSync, rmSync } from "node:fs";
import { tmpdir } from "node:os";
import { join } from "node:path";
import puppeteer from "puppeteer-core";

const CHROMIUM_FLAGS = [
  "--no-sandbox", "--enable-unsafe-swiftshader", "--no-first-run",
  "--disable-background-networking", "--disable-component-update", "--disable-sync",
];
// WebGL runs on SwiftShader either way. On a machine without a GPU the page is composited in
// software, which reads every WebGL frame back, a wait on the page's main thread; a phone's GPU
// composites the frame as it stands, which these flags have SwiftShader do too.
const SOFTWARE_COMPOSITING_FLAGS = ["--disable-gpu"];
const GPU_COMPOSITING_FLAGS = [
  "--ignore-gpu-blocklist", "--use-gl=angle", "--use-angle=swiftshader",
];

// A fresh profile each time, so nothing cached from an earlier run is reused.
export async function startBrowser({ gpuCompositing = false } = {}) {
  const profile = mkdtempSync(join(tmpdir(), "tarnwick-chromium-"));
  const compositing = gpuCompositing ? GPU_COMPOSITING_FLAGS : SOFTWARE_COMPOSITING_FLAGS;
  const browser = await puppeteer.launch({
    executablePath: process.env.CHROMIUM || "/usr/bin/chromium",
    headless: true,
    args: [...CHROMIUM_FLAGS, ...compositing, `--user-data-dir=${profile}`],
  });
  return {
    browser,
    async close() {
      await browser.close();
      rmSync(profile, { recursive: true, force: true });
    },
  };
}

// Animation frames as a display refreshing `hz` times a second would give them: each on the
// display's next refresh, with that refresh's time. Headless Chromium's own come at 60 Hz.
function displayAt(hz) {
  const period = 1000 / hz;
  const start = performance.now();
  let waiting = [];
  let lastRefresh = -Infinity;
  window.refreshes = 0;
  window.requestAnimationFrame = (callback) => {
    waiting.push(callback);
    if (waiting.length === 1) {
      // A timer may fire a little before its time: the next refresh is never the last one again.
      const now = performance.now();
      const refresh = Math.max(start + Math.ceil((now - start) / period) * period,
        lastRefresh + period);
      lastRefresh = refresh;
      setTimeout(() => {
        window.refreshes += 1;
        const callbacks = waiting;
        waiting = [];
        for (const call of callbacks) call(refresh);
      }, refresh - now);
    }
    return 0;
  };
}

// A phone's or tablet's browser: its screen in CSS px at its density, touch only.
export function touchDevice(width, height, density) {
  return {
    viewport: { width, height, deviceScaleFactor: density, isMobile: true, hasTouch: true,
      isLandscape: width > height },
    userAgent: "Mozilla/5.0 (Linux; Android 14; Pixel 8) AppleWebKit/537.36 (KHTML, like Gecko) " +
      "Chrome/131.0.0.0 Mobile Safari/537.36",
  };
}

// The page of the game at `url` in an 800 × 600 view (or on `device`, from touchDevice), its
// console lines and errors collected; on a display of `refreshHz` if given, and with the page's
// CPU `cpuSlowdown` times slower if given (about a mid-range phone at 4).
export async function openGame(browser, url, refreshHz, device, cpuSlowdown) {
  const page = await browser.newPage();
  if (cpuSlowdown) {
    const session = await page.target().createCDPSession();
    await session.send("Emulation.setCPUThrottlingRate", { rate: cpuSlowdown });
  }
  await page.setViewport(device ? device.viewport : { width: 800, height: 600 });
  if (device) await page.setUserAgent(device.userAgent);
  if (refreshHz) await page.evaluateOnNewDocument(displayAt, refreshHz);
  const game = watchGame(page);
  game.loadStarted = Date.now();
  await page.goto(url);
  return game;
}

// The game in `page`, before it is opened: what it logs, and its errors.
export function watchGame(page) {
  const game = { page, log: [], errors: [] };
  page.on("console", (message) => {
    if (message.type() === "log") game.log.push(message.text());
  });
  page.on("pageerror", (error) => game.errors.push(String(error)));
  page.on("requestfailed", (request) => game.errors.push(`failed: ${request.url()}`));
  return game;
}

export function sleep(ms) {
  return new Promise((resolve) => setTimeout(resolve, ms));
}

// Waits until the log holds `line` (after the line `after`, if given); false on time-out.
export async function waitForLog(game, line, seconds, after) {
  const deadline = Date.now() + seconds * 1000;
  for (;;) {
    const from = after === undefined ? 0 : game.log.indexOf(after);
    if (from >= 0 && game.log.indexOf(line, from) >= 0) return true;
    if (Date.now() > deadline) return false;
    await sleep(20);
  }
}

// How many frames the game has drawn so far, and when, on the page's clock (ms).
export function framesDrawn(game) {
  return game.page.evaluate(() => ({ frames: Module.framesDrawn || 0, at: performance.now() }));
}

// Waits until the game has drawn `frames` more frames, or `seconds` have passed.
export async function waitFrames(game, frames, seconds = 30) {
  const start = (await framesDrawn(game)).frames;
  const deadline = Date.now() + seconds * 1000;
  while ((await framesDrawn(game)).frames < start + frames && Date.now() < deadline) {
    await sleep(20);
  }
}

// Waits until the title has faded in: its sprite is made (after the 60 black frames), then the
// 21 frames of the fade are drawn, and a few more.
export async function waitForTitle(game, seconds) {
  if (!(await waitForLog(game, "Sprite created!", seconds))) return false;
  const start = (await framesDrawn(game)).frames;
  const deadline = Date.now() + seconds * 1000;
  while ((await framesDrawn(game)).frames < start + 30) {
    if (Date.now() > deadline) return false;
    await sleep(50);
  }
  return true;
}

// The mean absolute difference of two pictures of one size, a share of the full range
// (ImageMagick's compare).
export function meanDifference(onePath, otherPath) {
  // compare exits 1 when the pictures differ at all; the measure is on standard error.
  let measure = "";
  try {
    execFileSync("compare", ["-metric", "MAE", onePath, otherPath, "null:"], { stdio: "pipe" });
  } catch (error) {
    measure = String(error.stderr);
  }
  return Number((/\(([\d.e-]+)\)/.exec(measure) || [])[1] ?? 0);
}
