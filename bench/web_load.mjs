// Time from opening the browser build's page to its title, faded in, in headless Chromium:
//   node bench/web_load.mjs URL [RUNS]
// Each run has a fresh browser profile, so the files always come over the (local) network.
// Prints each run and the median in seconds, with the moment the assets were all loaded.

// puppeteer-core is found beside the web tests, which install it.
import { openGame, startBrowser, waitForLog, waitForTitle } from "../tests/web/browser.mjs";

const [url, runsText = "3"] = process.argv.slice(2);
const runs = Number(runsText);
const loaded = [];
const titled = [];
for (let run = 0; run < runs; run += 1) {
  const { browser, close } = await startBrowser();
  try {
    const game = await openGame(browser, url);
    if (!(await waitForLog(game, "All assets loaded.", 120))) throw new Error("assets never loaded");
    loaded.push((Date.now() - game.loadStarted) / 1000);
    if (!(await waitForTitle(game, 120))) throw new Error("no title");
    titled.push((Date.now() - game.loadStarted) / 1000);
    console.log(`run ${run + 1}: assets loaded ${loaded.at(-1).toFixed(2)} s, title ${titled.at(-1).toFixed(2)} s`);
  } finally {
    await close();
  }
}
const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];
console.log(`median of ${runs}: assets loaded ${median(loaded).toFixed(2)} s, ` +
  `title ${median(titled).toFixed(2)} s`);
