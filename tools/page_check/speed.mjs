// Speed figures of the page in headless chromium (docs/performance.md): the time from
// load() of a shape to its three states shown (field and render in the worker), the
// render of the states alone, preview images a second during a drag, and the bytes the
// first load fetched. usage: node speed.mjs URL SHAPE... (see docs/performance.md)
import puppeteer from 'puppeteer-core';
import { readFileSync } from 'node:fs';

const [url, ...shapes] = process.argv.slice(2);
const browser = await puppeteer.launch({
  executablePath: '/usr/bin/chromium', headless: true, args: ['--no-sandbox', '--disable-gpu'],
});
const page = await browser.newPage();
await page.setViewport({ width: 1280, height: 800 });
await page.goto(url);
await page.waitForFunction(() => window.plakett !== undefined, { timeout: 60000 });
const fetched = await page.evaluate(() => performance.getEntriesByType('resource')
  .concat(performance.getEntriesByType('navigation'))
  .reduce((n, e) => n + (e.encodedBodySize || 0), 0));
console.log(`first load: ${fetched} bytes fetched (uncompressed server)`);
const min = (a) => Math.min(...a).toFixed(1);
for (const shape of shapes) {
  const bytes = [...readFileSync(shape)];
  const loads = [];
  const renders = [];
  for (let i = 0; i < 5; i += 1) {
    // Another shape first, so that every load computes a new field.
    await page.evaluate((b) => window.plakett.load(new Uint8Array(b)), [...readFileSync(shapes[0] === shape ? shapes.at(-1) : shapes[0])]);
    loads.push(await page.evaluate(async (b) => {
      const t = performance.now();
      await window.plakett.load(new Uint8Array(b));
      return performance.now() - t;
    }, bytes));
    renders.push(await page.evaluate(async () => {
      const t = performance.now();
      await window.plakett.render();
      return performance.now() - t;
    }));
  }
  // A drag of the first point: preview images shown per second.
  await page.evaluate((b) => window.plakett.load(new Uint8Array(b)), bytes);
  const p = (await page.evaluate(() => window.plakett.points()))[0];
  await page.evaluate(() => {
    window.shown = 0;
    const put = CanvasRenderingContext2D.prototype.putImageData;
    CanvasRenderingContext2D.prototype.putImageData = function (...a) {
      if (this.canvas.id === 'state0') window.shown += 1;
      return put.apply(this, a);
    };
  });
  await page.mouse.move(p.page[0], p.page[1]);
  await page.mouse.down();
  const t0 = Date.now();
  for (let i = 0; i < 100; i += 1) {
    await page.mouse.move(p.page[0] + (i % 20), p.page[1] + (i % 7));
    await new Promise((r) => setTimeout(r, 20));
  }
  const seconds = (Date.now() - t0) / 1000;
  await page.mouse.up();
  const shown = await page.evaluate(() => window.shown);
  console.log(`${shape}: load to shown min ${min(loads)} ms, three states from the kept field min ${min(renders)} ms, drag preview ${(shown / seconds).toFixed(1)} images/s`);
}
await browser.close();
