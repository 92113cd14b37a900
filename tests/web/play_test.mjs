// Plays the browser build in headless Chromium as a player would, and checks what the player
// perceives against the Linux build:
//   node play_test.mjs URL LINUX_LOG LINUX_TITLE_PNG WORK_DIR
// the progress bar reaches its end; the log from the start to the title is Linux's line for
// line; the title looks like Linux's; the title and stage 1 are shown at 60 frames per second,
// the title on 120 and 144 Hz displays too; sound runs after the first key; a held SPACE starts
// stage 1 and keyboard play reaches stage 2; ESC on a fresh title ends the game and the page
// says so; the page raises no error; and a browser that cannot run the game is told so.

import { readFileSync } from "node:fs";
import { join } from "node:path";
import {
  framesDrawn, meanDifference, openGame, sleep, startBrowser, waitForLog, waitFrames, waitForTitle,
} from "./browser.mjs";

const [url, linuxLogPath, linuxTitlePath, workDir] = process.argv.slice(2);
const START_SECONDS = 60;  // download, decoding and the 60 black frames on a busy machine
const STEP_SECONDS = 30;
// Space held while running into stage 2, and the wait before the next jump, in the game's frames:
// running costs health by the frame, whatever the machine's speed.
const JUMP_FRAMES = 9;
const BETWEEN_JUMPS_FRAMES = 18;
const PACING_SECONDS = 10;
const FAST_DISPLAY_SECONDS = 5;
const MOST_TITLE_DIFFERENCE = 0.02;  // mean absolute difference, a share of the full range

let failures = 0;
function check(ok, what, detail = "") {
  console.log(`${ok ? "ok  " : "FAIL"} ${what}${detail ? `: ${detail}` : ""}`);
  if (!ok) failures += 1;
}

// The log from its first line to the title's sprite, the map's address (a pointer) aside.
function startToTitle(lines) {
  const end = lines.indexOf("Sprite created!");
  return lines.slice(0, end + 1).map((line) => line.replace(/^Map created -?\d+\.$/, "Map created N."));
}

async function key(page, name, ms = 120) {
  await page.keyboard.down(name);
  await sleep(ms);
  await page.keyboard.up(name);
}

async function pressUntil(game, name, line, seconds) {
  const deadline = Date.now() + seconds * 1000;
  while (!game.log.includes(line) && Date.now() < deadline) {
    await key(game.page, name, 200);
    await waitForLog(game, line, 2);
  }
  return game.log.includes(line);
}

// Runs right with Shift held, hopping over what is in the way, until the next stage is built.
async function runIntoStage2(game) {
  const done = "~WorldContainer() done...";
  const page = game.page;
  await page.keyboard.down("KeyD");
  await page.keyboard.down("ShiftLeft");
  const deadline = Date.now() + 120 * 1000;
  while (!game.log.includes(done) && Date.now() < deadline) {
    await page.keyboard.down("Space");
    await waitFrames(game, JUMP_FRAMES);
    await page.keyboard.up("Space");
    await waitFrames(game, BETWEEN_JUMPS_FRAMES);
  }
  await page.keyboard.up("ShiftLeft");
  await page.keyboard.up("KeyD");
  return game.log.includes(done) && waitForLog(game, "Landed", STEP_SECONDS, done);
}

// The browser's own animation frames, counted beside the game's to tell a slow game from a
// machine too busy to give the page its frames.
async function countAnimationFrames(page) {
  await page.evaluate(() => {
    window.animationFrames = 0;
    const count = () => {
      window.animationFrames += 1;
      requestAnimationFrame(count);
    };
    requestAnimationFrame(count);
  });
}

// Whether what the page shows (`what`) keeps the game's 60 frames per second.
async function checkPacing(game, what) {
  const before = await framesDrawn(game);
  const framesBefore = await game.page.evaluate(() => window.animationFrames);
  await sleep(PACING_SECONDS * 1000);
  const after = await framesDrawn(game);
  const seconds = (after.at - before.at) / 1000;
  const rate = (after.frames - before.frames) / seconds;
  const browserRate =
    (await game.page.evaluate(() => window.animationFrames) - framesBefore) / seconds;
  const measured =
    `${rate.toFixed(2)} (the browser's animation frames: ${browserRate.toFixed(2)} per second)`;
  // A machine too busy to give the page 60 animation frames a second leaves no game 60 frames to
  // show: its pacing is then judged by a frame drawn on each animation frame it was given.
  check(Math.abs(rate - Math.min(60, browserRate)) <= 1, browserRate < 59
    ? `${what} is drawn on each animation frame of a browser short of 60`
    : `${what} is shown at 60 frames per second`, measured);
}

async function playToStage2(browser) {
  const game = await openGame(browser, url);
  const page = game.page;
  check(await waitForLog(game, "All assets loaded.", START_SECONDS), "the assets load");
  const bar = await page.$eval("#progress", (p) => ({ value: p.value, max: p.max }));
  check(bar.value === bar.max, "the progress bar reaches its end", `${bar.value} of ${bar.max}`);
  check(await waitForTitle(game, START_SECONDS), "the title shows");

  const linuxLog = startToTitle(readFileSync(linuxLogPath, "utf8").split("\n"));
  const webLog = startToTitle(game.log);
  const firstDifference = linuxLog.findIndex((line, i) => line !== webLog[i]);
  check(firstDifference < 0 && webLog.length === linuxLog.length,
    "the log from start to title is Linux's", firstDifference < 0 ? `${webLog.length} lines`
      : `line ${firstDifference + 1}: "${webLog[firstDifference]}" for "${linuxLog[firstDifference]}"`);

  const webTitle = join(workDir, "web-title.png");
  await page.screenshot({ path: webTitle, clip: { x: 0, y: 0, width: 800, height: 600 } });
  const difference = meanDifference(linuxTitlePath, webTitle);
  check(difference <= MOST_TITLE_DIFFERENCE, "the title looks as on Linux",
    `mean difference ${(difference * 100).toFixed(2)} %`);

  await countAnimationFrames(page);
  await checkPacing(game, "the title");

  await page.click("canvas");
  await key(page, "ShiftLeft");
  const audio = await page.evaluate(() => Module.SDL2 && Module.SDL2.audioContext &&
    `${Module.SDL2.audioContext.state} at ${Module.SDL2.audioContext.sampleRate} Hz`);
  // At the game's mixing rate, so the sounds are decoded as they are, never resampled first.
  check(audio === "running at 40960 Hz", "sound runs after the first key, at the game's rate",
    String(audio));

  check(await pressUntil(game, "Space", "Hud created!", STEP_SECONDS), "SPACE starts stage 1");
  check(await waitForLog(game, "Landed", STEP_SECONDS, "Hud created!"),
    "the hero lands in stage 1");
  await checkPacing(game, "stage 1");
  check(await runIntoStage2(game), "keyboard play reaches stage 2");
  check(game.errors.length === 0, "the page raises no error", game.errors.join("; "));
  await page.close();
}

// The share of a simulated display's refreshes that the page must get for its pacing to be judged.
const DISPLAY_KEPT_UP = 0.9;

// The title on a faster display still moves at 60 frames per second.
async function titleAt(browser, hz) {
  const game = await openGame(browser, url, hz);
  check(await waitForTitle(game, START_SECONDS), `the title shows on a ${hz} Hz display`);
  const before = await framesDrawn(game);
  const refreshesBefore = await game.page.evaluate(() => window.refreshes);
  await sleep(FAST_DISPLAY_SECONDS * 1000);
  const after = await framesDrawn(game);
  const seconds = (after.at - before.at) / 1000;
  const rate = (after.frames - before.frames) / seconds;
  const refreshes = (await game.page.evaluate(() => window.refreshes) - refreshesBefore) / seconds;
  const measured = `${rate.toFixed(2)} (${refreshes.toFixed(1)} refreshes per second)`;
  // A machine too busy to give the page the simulated display's refreshes measures itself, not
  // the game's pacing: the check is then reported, not judged. A display that keeps most of them
  // may cost the game a frame now and then, but never a larger share than it lost itself.
  if (refreshes < DISPLAY_KEPT_UP * hz) {
    console.log(`skip the title at ${hz} Hz: the simulated display fell behind: ${measured}`);
  } else {
    const fewest = 60 * Math.min(1, refreshes / hz) - 1;
    check(rate >= fewest && rate <= 61,
      `the title is shown at 60 frames per second at ${hz} Hz, less no more than the display lost`,
      measured);
  }
  check(game.errors.length === 0, "the page raises no error", game.errors.join("; "));
  await game.page.close();
}

async function escapeEndsTheGame(browser) {
  const game = await openGame(browser, url);
  check(await waitForTitle(game, START_SECONDS), "a fresh title shows");
  await key(game.page, "Escape");
  check(await waitForLog(game, "Tarnwick exiting code 0", STEP_SECONDS), "ESC on the title ends the game");
  await sleep(200);
  const message = await game.page.$eval("#message", (m) =>
    getComputedStyle(m).display !== "none" ? m.textContent : "");
  check(message.includes("ended"), "the page says the game has ended", message);
  check(game.errors.length === 0, "the page raises no error", game.errors.join("; "));
  await game.page.close();
}

// A browser without WebAssembly SIMD, which the game's wasm needs: the page says so and fetches
// none of the game.
async function tooOldBrowser(browser) {
  const page = await browser.newPage();
  await page.evaluateOnNewDocument(() => {
    WebAssembly.validate = () => false;
  });
  const fetched = [];
  page.on("request", (request) => fetched.push(request.url()));
  await page.goto(url);
  const message = await page.$eval("#message", (m) =>
    getComputedStyle(m).display !== "none" ? m.textContent : "");
  check(message.includes("cannot run the game") && !fetched.some((u) => u.includes("tarnwick.")),
    "a browser without WebAssembly SIMD is told so, and fetches none of the game", message);
  await page.close();
}

const { browser, close } = await startBrowser();
try {
  await tooOldBrowser(browser);
  await playToStage2(browser);
  await titleAt(browser, 120);
  await titleAt(browser, 144);
  await escapeEndsTheGame(browser);
} finally {
  await close();
}
console.log(failures === 0 ? "All web checks passed" : `${failures} web checks failed`);
process.exit(failures === 0 ? 0 : 1);
