// Plays the browser build by touch alone, as on a phone or tablet, in headless Chromium with
// several fingers at once:
//   node touch_test.mjs URL WORK_DIR [SCREENSHOT_DIR]
// On a landscape phone: no control shows before the first touch, a touch beside them does
// nothing, double taps and a pinch zoom nothing, a tap on Start starts stage 1 with sound, the
// controls sit in the bars beside the picture, the weapon controls change the overlay's weapon,
// a finger slid across hands over, walk and run held by one thumb on their seam while the other
// taps jump and attack reach stage 2, ten fingers or a cancelled touch leave nothing held, a key
// hides the controls and a touch shows them again; Chromium finds the page installable, and with
// the network gone a reload still reaches the title from the one cache of the game's version. A tablet has the controls over the
// picture's lower corners, and a portrait phone shows the whole picture with every control below
// it. Every control is at least 48 px square, and no page raises an error.

import { join } from "node:path";
import {
  framesDrawn, meanDifference, openGame, sleep, startBrowser, touchDevice, waitForLog,
  waitForTitle,
} from "./browser.mjs";

const [url, workDir, screenshotDir] = process.argv.slice(2);
const START_SECONDS = 60;  // download, decoding and the 60 black frames on a busy machine
const STEP_SECONDS = 30;
// Starting a stage takes the title's fade and the world's building, at a few frames per second
// when the software renderer fills a canvas of a phone's or tablet's density.
const STAGE_SECONDS = 60;
const PLAY_SECONDS = 120;
const SMALLEST_CONTROL = 48;  // CSS px
const LEAST_PLATE_CHANGE = 0.05;  // mean absolute difference of the weapon plate, a share
const PLAY_CONTROLS = ["Walk left", "Walk right", "Run", "Jump", "Attack", "Dodge", "Bare paws",
  "Blade", "Maul"];

let failures = 0;
function check(ok, what, detail = "") {
  console.log(`${ok ? "ok  " : "FAIL"} ${what}${detail ? `: ${detail}` : ""}`);
  if (!ok) failures += 1;
}

// Fingers on the screen through the DevTools protocol: each event lists every finger still down.
async function touchScreen(page) {
  const cdp = await page.target().createCDPSession();
  const down = new Map();
  let nextId = 0;
  const send = (type, points) => cdp.send("Input.dispatchTouchEvent", { type, touchPoints: points });
  const all = () => [...down].map(([id, at]) => ({ id, x: at.x, y: at.y }));
  const fingers = {
    cdp,
    async press(at) {
      const id = nextId++;
      down.set(id, at);
      await send("touchStart", all());
      return id;
    },
    async move(id, at) {
      down.set(id, at);
      await send("touchMove", all());
    },
    async lift(id) {
      const at = down.get(id);
      down.delete(id);
      await send("touchEnd", [{ id, x: at.x, y: at.y }]);
    },
    async liftAll(type = "touchEnd") {
      down.clear();
      await send(type, []);
    },
    async tap(at, ms = 100) {
      const id = await fingers.press(at);
      await sleep(ms);
      await fingers.lift(id);
    },
  };
  return fingers;
}

async function boxOf(page, name) {
  const element = await page.$(`aria/${name}`);
  return element ? element.boundingBox() : null;
}

const centre = (box) => ({ x: box.x + box.width / 2, y: box.y + box.height / 2 });

async function heldControls(page) {
  return page.$$eval(".control.held", (held) => held.map((c) => c.getAttribute("aria-label")));
}

async function waitFrames(game, frames) {
  const start = (await framesDrawn(game)).frames;
  const deadline = Date.now() + STEP_SECONDS * 1000;
  while ((await framesDrawn(game)).frames < start + frames && Date.now() < deadline) await sleep(20);
}

// Where the game draws its 4:3 picture in a view of width × height.
function pictureIn(width, height) {
  const w = Math.min(width, height * 4 / 3);
  const h = w * 3 / 4;
  return { x: (width - w) / 2, y: (height - h) / 2, width: w, height: h };
}

const overlaps = (a, b) =>
  a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height && b.y < a.y + a.height;

// Every play control is shown, at least 48 px square and inside the view; `where` says how each
// lies to the picture. Returns the boxes by name.
async function checkPlayControls(page, device, where, what) {
  const { width, height } = device.viewport;
  const picture = pictureIn(width, height);
  const boxes = {};
  const faults = [];
  for (const name of PLAY_CONTROLS) {
    const box = await boxOf(page, name);
    boxes[name] = box;
    if (!box) {
      faults.push(`${name} not shown`);
      continue;
    }
    if (box.width < SMALLEST_CONTROL || box.height < SMALLEST_CONTROL) faults.push(`${name} small`);
    if (box.x < 0 || box.y < 0 || box.x + box.width > width || box.y + box.height > height) {
      faults.push(`${name} outside the view`);
    }
    if (where === "beside" && overlaps(box, picture)) faults.push(`${name} over the picture`);
    if (where === "below" && box.y < picture.y + picture.height) faults.push(`${name} not below`);
    if (where === "over" && box.y + box.height / 2 < picture.y + picture.height / 2) {
      faults.push(`${name} not in a lower corner`);
    }
  }
  check(faults.length === 0, `${what}: every control shown, at least 48 px, ${where} the picture`,
    faults.join(", "));
  return boxes;
}

async function screenshot(page, name) {
  if (screenshotDir) await page.screenshot({ path: join(screenshotDir, `${name}.png`) });
}

// A fresh page on `device`, started by a first tap on the picture.
async function startByTouch(browser, device, what) {
  const game = await openGame(browser, url, undefined, device);
  check(await waitForTitle(game, START_SECONDS), `${what}: the title shows`);
  game.fingers = await touchScreen(game.page);
  await game.fingers.tap(centre(pictureIn(device.viewport.width, device.viewport.height)));
  check(await waitForLog(game, "Hud created!", STAGE_SECONDS),
    `${what}: a first tap on the picture starts stage 1`);
  check(await waitForLog(game, "Landed", STEP_SECONDS, "Hud created!"), `${what}: the hero lands`);
  return game;
}

// The weapon plate of the overlay, as the page shows it.
async function weaponPlate(game, device, name) {
  const picture = pictureIn(device.viewport.width, device.viewport.height);
  const scale = picture.width / 800;
  const path = join(workDir, `plate-${name}.png`);
  await game.page.screenshot({ path, clip: { x: picture.x + 265 * scale, y: picture.y + 105 * scale,
    width: 120 * scale, height: 40 * scale } });
  return path;
}

async function chooseWeapon(game, device, name) {
  await game.fingers.tap(centre(await boxOf(game.page, name)));
  await waitFrames(game, 10);
  return weaponPlate(game, device, name);
}

async function checkWeapons(game, device) {
  const named = game.log.filter((line) => line === "Setting name...").length;
  const blade = await chooseWeapon(game, device, "Blade");
  const maul = await chooseWeapon(game, device, "Maul");
  const paws = await chooseWeapon(game, device, "Bare paws");
  const bladeNamed = game.log.filter((line) => line === "Setting name...").length === named + 1;
  const bladeToMaul = meanDifference(blade, maul);
  const maulToPaws = meanDifference(maul, paws);
  check(bladeNamed && bladeToMaul > LEAST_PLATE_CHANGE && maulToPaws > LEAST_PLATE_CHANGE,
    "Blade, Maul and Bare paws change the overlay's weapon",
    `plate changes ${(bladeToMaul * 100).toFixed(1)} % and ${(maulToPaws * 100).toFixed(1)} %`);
}

// Nothing the page does zooms or scrolls it.
async function checkNoZoom(game, spot) {
  const { fingers, page } = game;
  for (let tap = 0; tap < 2; tap += 1) await fingers.tap(spot, 40);
  const one = await fingers.press({ x: spot.x - 10, y: spot.y - 10 });
  const two = await fingers.press({ x: spot.x + 10, y: spot.y + 10 });
  for (let step = 1; step <= 5; step += 1) {
    await fingers.move(one, { x: spot.x - 10 - 10 * step, y: spot.y - 10 - 10 * step });
    await fingers.move(two, { x: spot.x + 10 + 10 * step, y: spot.y + 10 + 10 * step });
  }
  await fingers.liftAll();
  await sleep(300);  // a zoom animates
  const view = await page.evaluate(() => ({ scale: visualViewport.scale, x: scrollX, y: scrollY }));
  check(view.scale === 1 && view.x === 0 && view.y === 0, "double taps and a pinch neither zoom nor scroll",
    JSON.stringify(view));
}

// Runs right on the seam of Walk right and Run with one finger, tapping Jump and now and then
// Attack with another, until the next stage is built.
async function runIntoStage2(game, boxes) {
  const { fingers, page } = game;
  const walk = boxes["Walk right"];
  const run = boxes["Run"];
  const seam = { x: walk.x + walk.width / 2, y: (walk.y + run.y + run.height) / 2 };
  const thumb = await fingers.press(seam);
  await waitFrames(game, 2);
  const held = await heldControls(page);
  check(held.includes("Walk right") && held.includes("Run") && held.length === 2,
    "one thumb on the seam holds Walk right and Run", held.join(", "));
  const done = "~WorldContainer() done...";
  const deadline = Date.now() + PLAY_SECONDS * 1000;
  for (let tap = 0; !game.log.includes(done) && Date.now() < deadline; tap += 1) {
    await fingers.tap(centre(boxes[tap % 4 === 3 ? "Attack" : "Jump"]), 150);
    await sleep(300);
  }
  await fingers.lift(thumb);
  if (!game.log.includes(done)) console.log(`     the log ends: ${game.log.slice(-3).join(" | ")}`);
  return game.log.includes(done) && waitForLog(game, "Landed", STEP_SECONDS, done);
}

async function checkNothingStuck(game, boxes) {
  const { fingers, page } = game;
  const spots = PLAY_CONTROLS.map((name) => centre(boxes[name]));
  spots.push({ x: 2, y: 2 });
  for (const spot of spots) await fingers.press(spot);
  const heldByTen = (await heldControls(page)).length;
  await fingers.liftAll();
  const afterLift = await heldControls(page);
  await fingers.press(centre(boxes["Dodge"]));
  await fingers.press(centre(boxes["Walk left"]));
  await fingers.liftAll("touchCancel");
  const afterCancel = await heldControls(page);
  check(heldByTen === PLAY_CONTROLS.length && afterLift.length === 0 && afterCancel.length === 0,
    "ten fingers, then a cancelled touch, leave no control held",
    `${heldByTen} held by ten; [${afterLift}] after the lift, [${afterCancel}] after the cancel`);
}

async function checkSlideHandsOver(game, boxes) {
  const { fingers, page } = game;
  const finger = await fingers.press(centre(boxes["Walk left"]));
  const before = await heldControls(page);
  await fingers.move(finger, centre(boxes["Walk right"]));
  const after = await heldControls(page);
  await fingers.lift(finger);
  check(before.join() === "Walk left" && after.join() === "Walk right",
    "a finger slid from Walk left to Walk right hands over", `[${before}] then [${after}]`);
}

async function checkKeyHides(game) {
  const { fingers, page } = game;
  await page.keyboard.press("KeyX");
  const hiddenByKey = (await boxOf(page, "Jump")) === null;
  await fingers.tap({ x: 2, y: 2 });
  const shownByTouch = (await boxOf(page, "Jump")) !== null;
  check(hiddenByKey && shownByTouch, "a key hides the controls and a touch shows them again",
    `hidden: ${hiddenByKey}, shown again: ${shownByTouch}`);
}

async function checkOffline(game) {
  const { fingers, page } = game;
  await page.evaluate(() => navigator.serviceWorker.ready.then(() => true));
  const errors = (await fingers.cdp.send("Page.getInstallabilityErrors")).installabilityErrors;
  const manifest = await fingers.cdp.send("Page.getAppManifest");
  check(errors.length === 0 && manifest.errors.length === 0, "Chromium finds the page installable",
    JSON.stringify([...errors, ...manifest.errors]));
  await page.setOfflineMode(true);
  game.log = [];
  await page.reload();
  check(await waitForTitle(game, START_SECONDS), "offline, a reload reaches the title");
  const kept = await page.evaluate(async () => Promise.all((await caches.keys()).map(async (name) =>
    `${name}: ${(await (await caches.open(name)).keys()).length} files`)));
  check(kept.length === 1 && /^tarnwick-\d+\.\d+\.\d+-[0-9a-f]{12}: 7 files$/.test(kept[0]),
    "one cache, named by the game's version, keeps the page's seven files", kept.join("; "));
  await page.setOfflineMode(false);
}

async function atDensity(page, viewport) {
  await page.setViewport(viewport);
  await page.evaluate(() => dispatchEvent(new Event("resize")));
}

async function phone(browser) {
  const device = touchDevice(844, 390, 3);
  const game = await openGame(browser, url, undefined, device);
  const page = game.page;
  check(await waitForTitle(game, START_SECONDS), "phone: the title shows");
  check((await boxOf(page, "Start")) === null, "no control shows before the first touch");
  game.fingers = await touchScreen(page);
  await game.fingers.tap({ x: 2, y: 2 });
  await checkNoZoom(game, { x: 80, y: 195 });
  await waitFrames(game, 30);
  const start = await boxOf(page, "Start");
  check(start && !game.log.includes("Hud created!"), "touches on no control show Start and start nothing");
  await game.fingers.tap(centre(start));
  check(await waitForLog(game, "Hud created!", STAGE_SECONDS), "phone: a tap on Start starts stage 1");
  const audio = await page.evaluate(() => Module.SDL2 && Module.SDL2.audioContext &&
    Module.SDL2.audioContext.state);
  check(audio === "running", "sound runs after the first touch", String(audio));
  check(await waitForLog(game, "Landed", STEP_SECONDS, "Hud created!"), "phone: the hero lands");
  const boxes = await checkPlayControls(page, device, "beside", "landscape phone");
  await screenshot(page, "phone-landscape");
  await checkWeapons(game, device);
  await checkSlideHandsOver(game, boxes);
  // The run is played at density 1: the same page and controls in CSS px, but a ninth of the
  // pixels for the software renderer, so that the game keeps its 60 frames per second here.
  // The browser reports no resize for a change of density alone; SDL reads it at one.
  await atDensity(page, { ...device.viewport, deviceScaleFactor: 1 });
  check(await runIntoStage2(game, boxes), "touch play reaches stage 2");
  await atDensity(page, device.viewport);
  await checkNothingStuck(game, boxes);
  await checkKeyHides(game);
  await checkOffline(game);
  check(game.errors.length === 0, "the page raises no error", game.errors.join("; "));
  await page.close();
}

async function elsewhere(browser, device, where, what) {
  const game = await startByTouch(browser, device, what);
  await checkPlayControls(game.page, device, where, what);
  // The game fits its whole 4:3 picture into the canvas, which must fill the view at its density.
  const { width, height, deviceScaleFactor } = device.viewport;
  const canvas = await game.page.$eval("canvas", (c) => {
    const box = c.getBoundingClientRect();
    return [box.left, box.top, box.width, box.height, c.width, c.height].join();
  });
  check(canvas === [0, 0, width, height, width * deviceScaleFactor, height * deviceScaleFactor].join(),
    `${what}: the canvas fills the view at its density, the whole picture in it`, canvas);
  if (where === "over") {
    const opacity = await game.page.$eval("#move-pad", (pad) => getComputedStyle(pad).opacity);
    check(opacity === "0.5", `${what}: the controls over the picture are half transparent`, opacity);
  }
  await screenshot(game.page, what.replace(/ /g, "-"));
  check(game.errors.length === 0, `${what}: the page raises no error`, game.errors.join("; "));
  await game.page.close();
}

const { browser, close } = await startBrowser();
try {
  await phone(browser);
  await elsewhere(browser, touchDevice(1024, 768, 2), "over", "tablet");
  await elsewhere(browser, touchDevice(390, 844, 3), "below", "portrait phone");
} finally {
  await close();
}
console.log(failures === 0 ? "All touch checks passed" : `${failures} touch checks failed`);
process.exit(failures === 0 ? 0 : 1);
