// Speed figures of the page in headless chromium (docs/performance.md "In the browser"):
// - the field alone in a fresh render worker of the page: its first run and the warm runs
//   (after the engine's code has tiered up), beside the native one-thread warm field of the
//   same shape (field_bench under `taskset -c 0`) taken in the same minute;
// - load() of a shape until its three states are shown, and the states from the kept field;
// - preview images a second during a drag, with where a preview's time goes;
// - the bytes the first load fetched.
// usage: node speed.mjs URL [--native build/bin/field_bench] SHAPE...
// (the shapes bench/shapes/rounded_300x120.shp and rounded_500x250.shp are the ones
// field_bench's BM_FieldOfShapeFile times, in that order)
import puppeteer from 'puppeteer-core';
import { execFileSync } from 'node:child_process';
import { readFileSync } from 'node:fs';
import { basename } from 'node:path';

const args = process.argv.slice(2);
const url = args.shift();
let native = null;
if (args[0] === '--native') { args.shift(); native = args.shift(); }
const shapes = args;
const warmRuns = 15;

const browser = await puppeteer.launch({
  executablePath: '/usr/bin/chromium', headless: true, args: ['--no-sandbox', '--disable-gpu'],
});
const page = await browser.newPage();
await page.setViewport({ width: 1280, height: 800 });
// Every answer of a worker that carries its own time (`ms`) is noted, so that a preview's
// time in the worker can be told from the rest of its round trip.
await page.evaluateOnNewDocument(() => {
  const Base = window.Worker;
  window.workerTimes = [];
  window.Worker = class extends Base {
    constructor(...a) {
      super(...a);
      this.addEventListener('message', (e) => {
        if (e.data && e.data.ms !== undefined) window.workerTimes.push(e.data.ms);
      });
    }
  };
});
await page.goto(url);
await page.waitForFunction(() => window.plakett !== undefined, { timeout: 60000 });
const fetched = await page.evaluate(() => performance.getEntriesByType('resource')
  .concat(performance.getEntriesByType('navigation'))
  .reduce((n, e) => n + (e.encodedBodySize || 0), 0));
console.log(`first load: ${fetched} bytes fetched (uncompressed server)`);
const min = (a) => Math.min(...a).toFixed(1);
const median = (a) => [...a].sort((x, y) => x - y)[Math.floor(a.length / 2)].toFixed(1);

// The field of the project in a new worker running the page's own render-worker.js: one run,
// then `warmRuns` more; milliseconds as the engine measured them around the field alone.
async function fieldInWorker(project) {
  return page.evaluate(async (bytes, runs) => {
    const worker = new Worker(new URL('render-worker.js', location.href), { type: 'module' });
    const reply = (message) => new Promise((resolve) => {
      worker.onmessage = (e) => { if (!e.data.ready) resolve(e.data); };
      if (message) worker.postMessage(message);
    });
    await new Promise((resolve) => { worker.onmessage = (e) => e.data.ready && resolve(); });
    const project = new Uint8Array(bytes);
    const first = await reply({ id: 1, kind: 'field', project, runs: 1 });
    const warm = await reply({ id: 2, kind: 'field', project, runs });
    worker.terminate();
    if (first.error || warm.error) throw new Error(first.error || warm.error);
    return { first: first.times[0], warm: warm.times, cells: first.cells };
  }, project, warmRuns);
}

// field_bench's own figure for the same shape on one core: the minimum over repetitions of
// the wall time and of the process's CPU time (both threads' work, which other programs
// on a busy machine do not inflate); the smaller of the two is the one compared.
function nativeField(index) {
  if (!native) return null;
  const out = execFileSync('taskset', ['-c', '0', native,
    `--benchmark_filter=BM_FieldOfShapeFile/${index}/`, '--benchmark_repetitions=5',
    '--benchmark_format=json'], { encoding: 'utf8' });
  const runs = JSON.parse(out).benchmarks.filter((b) => b.run_type === 'iteration');
  return { wall: Math.min(...runs.map((b) => b.real_time)),
    cpu: Math.min(...runs.map((b) => b.cpu_time)) };
}

for (const [index, shape] of shapes.entries()) {
  const bytes = [...readFileSync(shape)];
  await page.evaluate((b) => window.plakett.load(new Uint8Array(b)), bytes);
  const project = await page.evaluate(() => Array.from(window.plakett.projectBytes()));
  const field = await fieldInWorker(project);
  const nativeMs = nativeField(index);
  const warm = field.warm.slice(5);
  const nativeText = nativeMs === null ? '' : `; native one core warm: wall ${nativeMs.wall.toFixed(1)} ` +
    `ms, CPU ${nativeMs.cpu.toFixed(1)} ms; warm min / native ` +
    `${(Math.min(...warm) / Math.min(nativeMs.wall, nativeMs.cpu)).toFixed(1)}x`;
  console.log(`${basename(shape)}: field alone (${field.cells} cells) in the worker: first run ` +
    `${field.first.toFixed(1)} ms, warm min ${min(warm)} / median ${median(warm)} ms${nativeText}`);

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
  console.log(`${basename(shape)}: load to shown min ${min(loads)} ms, three states from the kept field min ${min(renders)} ms`);

  // Drags of the first point, 100 moves 20 ms apart: new preview images shown a second, and
  // the worker's own time per preview (from the request's start to its answer built). Three
  // drags, as a busy machine disturbs single ones.
  await page.evaluate((b) => window.plakett.load(new Uint8Array(b)), bytes);
  const p = (await page.evaluate(() => window.plakett.points()))[0];
  // Only pictures that differ from the one shown before count: a move within the same
  // editor pixel renders the kept field again, which costs little and shows nothing new.
  await page.evaluate(() => {
    if (window.countsShown) return;
    window.countsShown = true;
    const put = CanvasRenderingContext2D.prototype.putImageData;
    let last = '';
    CanvasRenderingContext2D.prototype.putImageData = function (...a) {
      if (this.canvas.id === 'state0') {
        const d = a[0].data;
        let h = 0;
        for (let i = 0; i < d.length; i += 1) h = (h * 31 + d[i]) | 0;
        const key = `${a[0].width}x${a[0].height}:${h}`;
        if (key !== last) window.shown += 1;
        last = key;
      }
      return put.apply(this, a);
    };
  });
  const drags = [];
  for (let d = 0; d < 3; d += 1) {
    await page.evaluate(() => window.plakett.settled());
    await page.evaluate(() => { window.shown = 0; window.workerTimes = []; });
    await page.mouse.move(p.page[0], p.page[1]);
    await page.mouse.down();
    const t0 = Date.now();
    for (let i = 1; i <= 100; i += 1) {
      await page.mouse.move(p.page[0] + (i % 20), p.page[1] + (i % 7));
      await new Promise((r) => setTimeout(r, 20));
    }
    const seconds = (Date.now() - t0) / 1000;
    const shown = await page.evaluate(() => window.shown);
    const inWorker = await page.evaluate(() => window.workerTimes);
    await page.mouse.up();
    const q = (await page.evaluate(() => window.plakett.points()))[0];
    if (q.x === p.x && q.y === p.y) throw new Error('the drag did not move the point');
    await page.evaluate(() => window.plakett.undo());
    drags.push(`${(shown / seconds).toFixed(1)} (worker median ${median(inWorker)} ms)`);
  }
  console.log(`${basename(shape)}: drag preview, new images/s: ${drags.join(', ')}`);
}
await browser.close();
