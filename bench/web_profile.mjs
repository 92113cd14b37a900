// Where the browser build's page spends its main thread in stage 1, by Chrome's sampling profiler:
//   node bench/web_profile.mjs URL [SECONDS]
// Prints the functions that take the most time by themselves (WebAssembly, JavaScript and the
// browser's own work, which the profiler names "(program)"), a share of all samples each.

import { openGame, sleep, startBrowser, waitForLog, waitForTitle } from "../tests/web/browser.mjs";

const [url, secondsText = "5"] = process.argv.slice(2);
const WAIT_SECONDS = 240;
const SHOWN = 25;

const { browser, close } = await startBrowser();
try {
  const game = await openGame(browser, url);
  if (!(await waitForTitle(game, WAIT_SECONDS))) throw new Error("no title");
  await game.page.click("canvas");
  for (let tries = 0; tries < 50 && !game.log.includes("Hud created!"); tries += 1) {
    await game.page.keyboard.down("Space");
    await sleep(150);
    await game.page.keyboard.up("Space");
    await sleep(150);
  }
  if (!(await waitForLog(game, "Landed", WAIT_SECONDS, "Hud created!"))) throw new Error("no stage 1");
  const session = await game.page.target().createCDPSession();
  await session.send("Profiler.enable");
  await session.send("Profiler.setSamplingInterval", { interval: 200 });
  await session.send("Profiler.start");
  await sleep(Number(secondsText) * 1000);
  const { profile } = await session.send("Profiler.stop");
  const selfSamples = new Map();
  const byId = new Map(profile.nodes.map((node) => [node.id, node]));
  for (const id of profile.samples) {
    const frame = byId.get(id).callFrame;
    const name = `${frame.functionName || "(anonymous)"} ${frame.url.split("/").pop()}`;
    selfSamples.set(name, (selfSamples.get(name) || 0) + 1);
  }
  const total = profile.samples.length;
  [...selfSamples.entries()].sort((a, b) => b[1] - a[1]).slice(0, SHOWN).forEach(([name, count]) =>
    console.log(`${(100 * count / total).toFixed(1).padStart(5)} %  ${name}`));
} finally {
  await close();
}
