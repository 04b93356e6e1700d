// The page check: see run.sh. Exits non-zero on the first failed check.
import puppeteer from 'puppeteer-core';
import { execFileSync } from 'node:child_process';
import { mkdtempSync, readFileSync, readdirSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import path from 'node:path';

const [url, renderer, root, out] = process.argv.slice(2);
const shape = path.join(root, 'data/Buttons/Pill.shp');
const captioned = path.join(root, 'tests/data/projects/glyph_texture.tbp');

function check(ok, what) {
  if (!ok) { console.error(`FAIL ${what}`); process.exit(1); }
  console.log(`ok   ${what}`);
}

// plakett-render's files for `options`, by name.
function nativeFiles(options, input) {
  const dir = mkdtempSync(path.join(tmpdir(), 'plakett-'));
  execFileSync(renderer, [...options, input, path.join(dir, 'button')]);
  return Object.fromEntries(readdirSync(dir).sort().map((n) => [n, readFileSync(path.join(dir, n))]));
}

// The pixels of a 24-bit bottom-up BMP as RGBA rows, for comparison with ImageData.
function bmpPixels(bytes) {
  const offset = bytes.readUInt32LE(10);
  const w = bytes.readInt32LE(18);
  const h = bytes.readInt32LE(22);
  const stride = Math.ceil((w * 3) / 4) * 4;
  const rgba = new Uint8Array(w * h * 4);
  for (let y = 0; y < h; y += 1) {
    const row = offset + (h - 1 - y) * stride;
    for (let x = 0; x < w; x += 1) {
      const o = (y * w + x) * 4;
      rgba[o] = bytes[row + x * 3 + 2];
      rgba[o + 1] = bytes[row + x * 3 + 1];
      rgba[o + 2] = bytes[row + x * 3];
      rgba[o + 3] = 255;
    }
  }
  return { w, h, rgba };
}

const browser = await puppeteer.launch({
  executablePath: '/usr/bin/chromium',
  headless: true,
  args: ['--no-sandbox', '--disable-gpu'],
});
try {
  const page = await browser.newPage();
  const errors = [];
  page.on('pageerror', (e) => errors.push(e.message));
  await page.setViewport({ width: 1280, height: 800 });
  const started = Date.now();
  await page.goto(url);
  await page.waitForFunction(() => window.plakett !== undefined, { timeout: 60000 });
  console.log(`page ready in ${Date.now() - started} ms`);
  await page.screenshot({ path: path.join(out, 'start-1280x800.png') });

  // Load and render: the states are plakett-render's BMP pixels, for the shape and for the
  // project the page saves from it (which the desktop then opens).
  const statesOf = () => page.evaluate(async () => (await window.plakett.render()).map(
    (img) => ({ w: img.width, h: img.height, data: Array.from(img.data) })));
  const sameStates = (states, input, what) => {
    const native = nativeFiles(['--states', '3', '--format', 'bmp'], input);
    ['button_off.bmp', 'button_over.bmp', 'button_down.bmp'].forEach((name, i) => {
      const n = bmpPixels(native[name]);
      const s = states[i];
      const same = s.w === n.w && s.h === n.h && s.data.every((v, k) => v === n.rgba[k]);
      check(same, `${what}: render() state ${i} equals plakett-render's ${name} (${n.w} x ${n.h})`);
    });
  };
  await page.evaluate((b) => window.plakett.load(new Uint8Array(b)), [...readFileSync(shape)]);
  sameStates(await statesOf(), shape, 'Pill.shp');
  const saved = path.join(mkdtempSync(path.join(tmpdir(), 'plakett-')), 'saved.tbp');
  writeFileSync(saved, Buffer.from(await page.evaluate(() => Array.from(window.plakett.projectBytes()))));
  sameStates(await statesOf(), saved, 'the project saved by the page');
  const project = saved;

  // A caption is drawn by the browser: same size, its own glyphs.
  await page.evaluate((b) => window.plakett.load(new Uint8Array(b)), [...readFileSync(captioned)]);
  const withCaption = await statesOf();
  const nativeCaptioned = bmpPixels(nativeFiles(['--states', '1'], captioned)['button_off.bmp']);
  check(withCaption[0].w === nativeCaptioned.w && withCaption[0].h === nativeCaptioned.h,
    `a design with a caption renders at plakett-render's size (${nativeCaptioned.w} x ${nativeCaptioned.h})`);
  await page.screenshot({ path: path.join(out, 'caption-1280x800.png') });
  const bytes = [...readFileSync(project)];

  // A wrong file is refused with the desktop's message.
  const refusal = await page.evaluate(() => window.plakett.load(new TextEncoder().encode('hello'))
    .then(() => '', (e) => e.message));
  check(refusal.startsWith('Not a shape file'), `a bad file is refused: "${refusal}"`);

  // Drag a point, look at it mid-drag, undo.
  await page.evaluate((b) => window.plakett.load(new Uint8Array(b)), bytes);
  const before = await page.evaluate(() => window.plakett.points());
  const p = before[0];
  await page.mouse.move(p.page[0], p.page[1]);
  await page.mouse.down();
  for (let i = 1; i <= 10; i += 1) await page.mouse.move(p.page[0] + 3 * i, p.page[1] + 2 * i);
  await page.evaluate(() => window.plakett.settled());
  await page.screenshot({ path: path.join(out, 'drag-1280x800.png') });
  await page.mouse.up();
  const moved = await page.evaluate(() => window.plakett.points());
  check(moved[0].x !== p.x || moved[0].y !== p.y, `a dragged point moved (${p.x},${p.y} -> ${moved[0].x},${moved[0].y})`);
  await page.evaluate(() => window.plakett.undo());
  const undone = await page.evaluate(() => window.plakett.points());
  check(undone[0].x === p.x && undone[0].y === p.y, 'undo puts it back');
  await page.evaluate(() => window.plakett.settled());
  await page.screenshot({ path: path.join(out, 'rest-1280x800.png') });

  // Export: the same names and bytes as plakett-render for the same options.
  const files = await page.evaluate(async () => (await window.plakett.exportFiles(
    { scale: 2, sprite: true, html: true })).map((f) => ({ name: f.name, bytes: Array.from(f.bytes) })));
  const expected = nativeFiles(['--scale', '2', '--sprite', '--html'], project);
  check(JSON.stringify(files.map((f) => f.name)) === JSON.stringify(Object.keys(expected)),
    `export names: ${files.map((f) => f.name).join(' ')}`);
  check(files.every((f) => Buffer.from(f.bytes).equals(expected[f.name])), 'export bytes equal plakett-render\'s');

  // A texture from the library through the Background panel: the button changes.
  const plain = await statesOf();
  await page.evaluate(() => { document.querySelectorAll('details').forEach((d) => { d.open = true; }); });
  await page.select('#texture-pick', 'Wood');
  await page.waitForFunction(() => document.getElementById('texture').checked, { timeout: 30000 });
  await page.evaluate(() => window.plakett.settled());
  const textured = await statesOf();
  check(textured[0].data.some((v, k) => v !== plain[0].data[k]), 'a library texture changes the button');
  await page.screenshot({ path: path.join(out, 'texture-1280x800.png') });

  // A phone: the page reloads for the new device and shows the project again.
  await page.setViewport({ width: 390, height: 844, isMobile: true, hasTouch: true, deviceScaleFactor: 2 });
  await page.waitForFunction(() => window.plakett !== undefined, { timeout: 60000 });
  await page.evaluate((b) => window.plakett.load(new Uint8Array(b)), bytes);
  await page.screenshot({ path: path.join(out, 'phone-390x844-top.png') });
  await page.screenshot({ path: path.join(out, 'phone-390x844.png'), fullPage: true });
  check(errors.length === 0, `no page errors ${errors.join('; ')}`);
} finally {
  await browser.close();
}
