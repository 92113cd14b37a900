// Plays the browser build by touch alone, as on a phone or tablet, in headless Chromium with
// several fingers at once:
//   node touch_test.mjs URL WORK_DIR [SCREENSHOT_DIR]
// On a landscape phone: no control shows before the first touch, a touch beside them does
// nothing, double taps and a pinch zoom nothing, a tap on Start starts stage 1 with sound, the
// controls sit in the bars beside the picture, the weapon controls change the overlay's weapon,
// a finger slid across hands over, walk and run held by one thumb on their seam while the other
// taps jump and attack reach stage 2, walking off its first ledge until the game is over offers
// Start alone, a tap on it goes back to the title, a controller's button there starts the game
// and hides the controls and a touch shows them again, ten fingers or a cancelled touch leave
// nothing held, a key hides the controls and a touch shows them again; Chromium finds the page
// installable, and with the network gone a reload still reaches the title from the one cache of
// the game's version. A tablet has the controls over the picture's lower corners, and a portrait
// phone shows the whole picture with every control below it. Every control is at least 48 px
// square, and no page raises an error. A new build deployed at the same address plays whole
// from its own cache at the first visit after every page of the old one is closed, never mixed
// with the old one's files, and the old cache goes.

import { createHash } from "node:crypto";
import { createServer } from "node:http";
import { join } from "node:path";
import {
  framesDrawn, meanDifference, openGame, sleep, startBrowser, touchDevice, waitForLog, waitFrames,
  waitForTitle, watchGame,
} from "./browser.mjs";

const [url, workDir, screenshotDir] = process.argv.slice(2);
const START_SECONDS = 60;  // download, decoding and the 60 black frames on a busy machine
const STEP_SECONDS = 30;
// Starting a stage takes the title's fade and the world's building, at a few frames per second
// when the software renderer fills a canvas of a phone's or tablet's density.
const STAGE_SECONDS = 60;
const PLAY_SECONDS = 120;
// Falls from stage 2's first ledge until the game is over: some forty, about 2600 frames, which
// a busy machine draws at far fewer than 60 a second.
const LOSE_SECONDS = 300;
const TAP_FRAMES = 9;  // a tap while running into stage 2, and the wait before the next
const BETWEEN_TAPS_FRAMES = 18;
const FADE_FRAMES = 120;  // the longest fade between two screens, and a few frames more
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
// Attack with another, until the next stage is built. The taps keep time in the game's frames,
// not the clock's: running and attacking cost health by the frame, so a busy machine drawing
// fewer frames a second must not make the hero attack more often or jump elsewhere.
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
    const finger = await fingers.press(centre(boxes[tap % 4 === 3 ? "Attack" : "Jump"]));
    await waitFrames(game, TAP_FRAMES);
    await fingers.lift(finger);
    await waitFrames(game, BETWEEN_TAPS_FRAMES);
  }
  await fingers.lift(thumb);
  if (!game.log.includes(done)) console.log(`     the log ends: ${game.log.slice(-3).join(" | ")}`);
  return game.log.includes(done) && waitForLog(game, "Landed", STEP_SECONDS, done);
}

const startSays = (page) => page.$eval("#start", (start) => start.innerText.trim());

// Walking left off stage 2's first ledge, again and again, costs the hero a fall each time until
// the game is over; a tap on Start there goes back to the title, which waits for the next tap.
async function loseAndGoBack(game, boxes) {
  const { fingers, page } = game;
  const thumb = await fingers.press(centre(boxes["Walk left"]));
  const from = await framesDrawn(game);
  const lost = await waitForLog(game, "Going to GameOver...", LOSE_SECONDS);
  const to = await framesDrawn(game);
  await fingers.lift(thumb);
  check(lost, "walking off a ledge again and again loses the game",
    `${to.frames - from.frames} frames, ${((to.at - from.at) / 1000).toFixed(0)} s`);
  if (!lost) return false;
  game.log = [];
  const gameOver = await waitInPage(page, () => document.getElementById("touch").className ===
    "game-over", STEP_SECONDS);
  await waitFrames(game, FADE_FRAMES);
  const offered = { start: await startSays(page), jump: (await boxOf(page, "Jump")) !== null };
  check(gameOver && offered.start === "Tap for the title" && !offered.jump,
    "game over offers Start alone, back to the title", JSON.stringify(offered));
  await fingers.tap(centre(await boxOf(page, "Start")));
  const title = await waitInPage(page, () => document.getElementById("touch").className ===
    "title", STEP_SECONDS);
  await waitFrames(game, FADE_FRAMES);
  const waits = { start: await startSays(page), started: game.log.includes("Hud created!") };
  check(title && waits.start === "Tap to start" && !waits.started,
    "a tap on Start at game over goes back to the title, which waits", JSON.stringify(waits));
  return title;
}

// A controller plugged in, as the browser reports one to the page and to the game: a standard
// pad whose state the test sets.
async function plugController(page) {
  await page.evaluate(() => {
    const pad = { id: "Test pad (STANDARD GAMEPAD)", index: 0, connected: true,
      mapping: "standard", timestamp: performance.now(), axes: [0, 0, 0, 0],
      buttons: Array.from({ length: 17 }, () => ({ pressed: false, touched: false, value: 0 })) };
    window.testPad = pad;
    Object.defineProperty(navigator, "getGamepads", { value: () => [pad], configurable: true });
    const plugged = new Event("gamepadconnected");
    plugged.gamepad = pad;
    dispatchEvent(plugged);
  });
}

async function pressPadButton(page, button, pressed) {
  await page.evaluate((index, down) => {
    testPad.buttons[index] = { pressed: down, touched: down, value: down ? 1 : 0 };
    testPad.timestamp = performance.now();
  }, button, pressed);
}

// On the title, the controller's south button starts the game and hides the controls; the next
// touch shows them again.
async function checkControllerHides(game) {
  const { fingers, page } = game;
  await plugController(page);
  await waitFrames(game, 5);
  const shownBefore = (await boxOf(page, "Start")) !== null;
  await pressPadButton(page, 0, true);
  const started = await waitForLog(game, "Hud created!", STAGE_SECONDS);
  await pressPadButton(page, 0, false);
  const hidden = (await boxOf(page, "Start")) === null && (await boxOf(page, "Jump")) === null;
  await waitForLog(game, "Landed", STEP_SECONDS, "Hud created!");
  await fingers.tap({ x: 2, y: 2 });
  const shownAgain = (await boxOf(page, "Jump")) !== null;
  check(shownBefore && started && hidden && shownAgain,
    "a controller's button starts the game and hides the controls; a touch shows them again",
    `shown before: ${shownBefore}, started: ${started}, hidden: ${hidden}, shown again: ${shownAgain}`);
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

const digestOf = (bytes) => createHash("sha256").update(bytes).digest("hex");

// The build served at `url`, file by file as its service worker lists them (and the worker).
async function downloadBuild() {
  const get = async (name) => Buffer.from(await (await fetch(new URL(name, url))).arrayBuffer());
  const worker = await get("service-worker.js");
  const build = new Map([["service-worker.js", worker]]);
  for (const name of JSON.parse(/const FILES = (\[.*\]);/.exec(worker)[1])) {
    build.set(name, await get(name));
  }
  return build;
}

const cacheOf = (build) => /const CACHE = "([^"]+)"/.exec(build.get("service-worker.js"))[1];

// The next build of the game, as the build script would make it: index.html, tarnwick.js and
// tarnwick.wasm each differ (the WebAssembly by a custom section, which changes nothing it does),
// and so does the cache name the worker writes in.
function nextBuild(build) {
  const next = new Map(build);
  next.set("index.html", Buffer.from(String(build.get("index.html"))
    .replace("<head>", '<head>\n<meta name="build" content="next">')));
  next.set("tarnwick.js", Buffer.concat([build.get("tarnwick.js"),
    Buffer.from('\nwindow.build = "next";\n')]));
  const name = Buffer.from("build");
  const section = Buffer.concat([Buffer.from([name.length]), name, Buffer.from("next")]);
  next.set("tarnwick.wasm", Buffer.concat([build.get("tarnwick.wasm"),
    Buffer.from([0, section.length]), section]));
  const digest = digestOf(Buffer.concat([...next.values()])).slice(0, 12);
  next.set("service-worker.js", Buffer.from(String(build.get("service-worker.js"))
    .replace(cacheOf(build), cacheOf(build).replace(/[0-9a-f]{12}$/, digest))));
  return next;
}

const TYPES = { html: "text/html", js: "text/javascript", wasm: "application/wasm",
  data: "application/octet-stream", webmanifest: "application/manifest+json", png: "image/png" };

// A static host as many are: the build deployed last in the folder /game/, every file with its
// tag and browsers told to keep it ten minutes, and a page of the host's own outside the folder.
async function staticHost(build) {
  const host = { build, workerFetches: 0 };
  const server = createServer((request, response) => {
    const path = new URL(request.url, "http://host").pathname;
    if (path === "/") {
      response.writeHead(200, { "Content-Type": "text/html" });
      response.end("<!doctype html><title>Host</title>");
      return;
    }
    const name = path === "/game/" ? "index.html" : path.slice("/game/".length);
    const bytes = path.startsWith("/game/") && host.build.get(name);
    if (!bytes) {
      response.writeHead(404);
      response.end();
      return;
    }
    if (name === "service-worker.js") host.workerFetches += 1;
    const tag = `"${digestOf(bytes).slice(0, 16)}"`;
    const headers = { ETag: tag, "Cache-Control": "max-age=600" };
    if (request.headers["if-none-match"] === tag) {
      response.writeHead(304, headers);
      response.end();
      return;
    }
    response.writeHead(200, { ...headers, "Content-Type": TYPES[name.split(".").pop()],
      "Content-Length": bytes.length });
    response.end(bytes);
  });
  await new Promise((resolve) => server.listen(0, "127.0.0.1", resolve));
  host.origin = `http://127.0.0.1:${server.address().port}`;
  host.close = () => new Promise((resolve) => server.close(resolve));
  return host;
}

// A visit to the game at `address`: its log, and the digest of every file it got, by name, with
// whether the service worker answered.
async function visit(browser, address, offline = false) {
  const page = await browser.newPage();
  const game = watchGame(page);
  game.got = new Map();
  const bodies = [];
  page.on("response", (response) => {
    const name = new URL(response.url()).pathname.replace(/^\/game\/$/, "/game/index.html")
      .replace(/^\/game\//, "");
    bodies.push(response.buffer().then((body) => game.got.set(name,
      { digest: digestOf(body), fromWorker: response.fromServiceWorker() }), () => {}));
  });
  game.settled = () => Promise.all(bodies);
  if (offline) await page.setOfflineMode(true);
  await page.goto(address);
  return game;
}

// The files of `game` that are not those of `build`, or not from the service worker.
async function notFrom(game, build, fromWorker) {
  await game.settled();
  const faults = [];
  for (const name of ["index.html", "tarnwick.js", "tarnwick.wasm", "tarnwick.data"]) {
    const got = game.got.get(name);
    if (!got) faults.push(`${name} not fetched`);
    else if (got.digest !== digestOf(build.get(name))) faults.push(`${name} of another build`);
    else if (fromWorker && !got.fromWorker) faults.push(`${name} not from the service worker`);
  }
  return faults;
}

// The service worker's caches, each with the digest of every file it holds, by name.
function cachesOf(page) {
  return page.evaluate(async () => {
    const hex = (bytes) =>
      Array.from(new Uint8Array(bytes), (b) => b.toString(16).padStart(2, "0")).join("");
    const kept = {};
    for (const name of await caches.keys()) {
      const cache = await caches.open(name);
      kept[name] = {};
      for (const request of await cache.keys()) {
        const body = await (await cache.match(request)).arrayBuffer();
        kept[name][new URL(request.url).pathname.split("/").pop()] =
          hex(await crypto.subtle.digest("SHA-256", body));
      }
    }
    return kept;
  });
}

// Polls `condition` in `page` until it holds; false on time-out.
function waitInPage(page, condition, seconds, ...args) {
  return page.waitForFunction(condition, { timeout: seconds * 1000, polling: 100 }, ...args)
    .then(() => true, () => false);
}

// A player's second visit after a new build is deployed plays the old build whole while the new
// one is fetched beside it; the next visit, once the old pages are closed, plays the new build
// whole from its own cache, with no network, and the old cache is gone.
async function newVersion(browser) {
  const build = await downloadBuild();
  const next = nextBuild(build);
  const host = await staticHost(build);
  const address = `${host.origin}/game/`;
  const first = await visit(browser, address);
  check(await waitInPage(first.page, () =>
    navigator.serviceWorker.ready.then(() => caches.keys()).then((names) => names.length === 1),
    START_SECONDS), "new version: a first visit keeps the build in its cache");
  await first.page.close();

  host.build = next;
  const workerFetches = host.workerFetches;
  const second = await visit(browser, address);
  check(await waitForLog(second, "All assets loaded.", START_SECONDS), "new version: a second visit loads");
  const updated = await waitInPage(second.page, () => navigator.serviceWorker.getRegistration()
    .then((registration) => registration.waiting !== null), START_SECONDS);
  const secondFaults = await notFrom(second, build, true);
  check(secondFaults.length === 0 && updated && host.workerFetches > workerFetches,
    "new version: the second visit plays the old build whole while the new one waits",
    `${secondFaults.join(", ") || "the old build's files"}; new worker waiting: ${updated}, ` +
    `${host.workerFetches - workerFetches} fetches of the worker`);
  const both = Object.keys(await cachesOf(second.page));
  await second.page.close();

  const hostPage = await browser.newPage();
  await hostPage.goto(host.origin);
  const swapped = await waitInPage(hostPage, (name) => caches.keys()
    .then((names) => names.length === 1 && names[0] === name), STEP_SECONDS, cacheOf(next));
  await hostPage.close();
  const third = await visit(browser, address, true);
  check(await waitForTitle(third, START_SECONDS), "new version: offline, the next visit reaches the title");
  const thirdFaults = await notFrom(third, next, true);
  const kept = await cachesOf(third.page);
  const keptFaults = [...next.keys()].filter((name) => name !== "service-worker.js" &&
    (kept[cacheOf(next)] || {})[name] !== digestOf(next.get(name)));
  check(thirdFaults.length === 0 && keptFaults.length === 0 && Object.keys(kept).length === 1 &&
    swapped && both.length === 2,
    "new version: the next visit plays the new build whole from its own cache, the old one gone",
    `${[...thirdFaults, ...keptFaults.map((name) => `${name} not cached`)].join(", ") ||
      "the new build's files"}; ` +
    `caches while both: ${both.length}, then ${Object.keys(kept).join(", ")}; ` +
    `swapped once the old pages closed: ${swapped}`);
  check(second.errors.length + third.errors.length === 0, "new version: the pages raise no error",
    [...second.errors, ...third.errors].join("; "));
  await third.page.close();
  await host.close();
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
  if (await loseAndGoBack(game, boxes)) await checkControllerHides(game);
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
  await newVersion(browser);
} finally {
  await close();
}
console.log(failures === 0 ? "All touch checks passed" : `${failures} touch checks failed`);
process.exit(failures === 0 ? 0 : 1);
