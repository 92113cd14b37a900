// How the browser build's frames fare in headless Chromium, as a player on a desktop and on a
// phone would see them:
//   node bench/web_frames.mjs URL FLOOR_URL BOSS_URL
// At normal speed and with the page's CPU slowed four times (about a mid-range phone): the time
// from opening the page to its title, then the frames drawn a second and the page's main thread
// busy per frame drawn (all its tasks: the game, WebGL, the page; and the game's script alone),
// on the title and in stage 1 with the hero standing; the same for FLOOR_URL, a page that draws
// one picture a frame through the same renderer and nothing else: the browser's own share of
// every frame; and for BOSS_URL, the boss fight with the hero standing, which that page starts
// at once. All of it twice: composited in software, as this machine without a GPU does (each
// WebGL frame read back on the page's main thread), and by the GPU as a phone's is (SwiftShader
// standing in for it).

import { framesDrawn, openGame, sleep, startBrowser, waitForLog, waitForTitle }
  from "../tests/web/browser.mjs";

const [url, floorUrl, bossUrl] = process.argv.slice(2);
const MEASURED_SECONDS = 6;
const WAIT_SECONDS = 240;

// The page's main thread so far, in seconds: all its tasks, and the scripts among them.
async function mainThreadSeconds(session) {
  const { metrics } = await session.send("Performance.getMetrics");
  const metric = (name) => metrics.find((m) => m.name === name).value;
  return { busy: metric("TaskDuration"), script: metric("ScriptDuration") };
}

// Frames a second and main-thread milliseconds a frame, over the next few seconds: all of it,
// and the game's own share (its script: the wasm and the WebGL calls it makes). The rest is the
// page's own work; composited in software, most of it is waiting for the GPU process to finish
// drawing the frame, which the software compositor reads back each frame.
async function measureFrames(game, session) {
  const before = await framesDrawn(game);
  const threadBefore = await mainThreadSeconds(session);
  await sleep(MEASURED_SECONDS * 1000);
  const after = await framesDrawn(game);
  const threadAfter = await mainThreadSeconds(session);
  const frames = Math.max(after.frames - before.frames, 1);
  return {
    fps: frames / ((after.at - before.at) / 1000),
    busyMs: (threadAfter.busy - threadBefore.busy) * 1000 / frames,
    scriptMs: (threadAfter.script - threadBefore.script) * 1000 / frames,
  };
}

async function startStage1(game) {
  for (let tries = 0; tries < 50 && !game.log.includes("Hud created!"); tries += 1) {
    await game.page.keyboard.down("Space");
    await sleep(150);
    await game.page.keyboard.up("Space");
    await sleep(150);
  }
  return waitForLog(game, "Landed", WAIT_SECONDS, "Hud created!");
}

const shown = (measure) => `${measure.fps.toFixed(1)} fps, main thread ` +
  `${measure.busyMs.toFixed(1)} ms a frame (the game's script ${measure.scriptMs.toFixed(1)} ms)`;

// A page that draws from its first frame on: measured once it has drawn for a while.
async function measurePage(browser, pageUrl, slowdown) {
  const page = await openGame(browser, pageUrl, undefined, undefined, slowdown);
  const session = await page.page.target().createCDPSession();
  await session.send("Performance.enable");
  const deadline = Date.now() + WAIT_SECONDS * 1000;
  while ((await framesDrawn(page)).frames < 60) {
    if (Date.now() > deadline) throw new Error(`${pageUrl} draws nothing`);
    await sleep(100);
  }
  const measure = await measureFrames(page, session);
  await page.page.close();
  return measure;
}

for (const [gpuCompositing, slowdown] of [[false, 1], [false, 4], [true, 1], [true, 4]]) {
  const { browser, close } = await startBrowser({ gpuCompositing });
  const setting = `${gpuCompositing ? "GPU" : "software"} compositing, CPU ${slowdown}x`;
  try {
    console.log(`${setting}: one picture a frame (the floor): ` +
      `${shown(await measurePage(browser, floorUrl, slowdown))}`);
    const boss = await measurePage(browser, bossUrl, slowdown);
    console.log(`${setting}: the boss fight: ${shown(boss)}`);
    const game = await openGame(browser, url, undefined, undefined, slowdown);
    const session = await game.page.target().createCDPSession();
    await session.send("Performance.enable");
    if (!(await waitForTitle(game, WAIT_SECONDS))) throw new Error("no title");
    const toTitle = (Date.now() - game.loadStarted) / 1000;
    const title = await measureFrames(game, session);
    await game.page.click("canvas");
    if (!(await startStage1(game))) throw new Error("stage 1 never started");
    const stage1 = await measureFrames(game, session);
    console.log(`${setting}: title after ${toTitle.toFixed(2)} s; title ${shown(title)}; ` +
      `stage 1 ${shown(stage1)}`);
  } finally {
    await close();
  }
}
