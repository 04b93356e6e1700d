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
  const sameStates = (states, input, what, options = []) => {
    const native = nativeFiles([...options, '--states', '3', '--format', 'bmp'], input);
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

  // The page's design as a file plakett-render (and so the desktop) reads.
  const savedNow = async (name) => {
    const file = path.join(mkdtempSync(path.join(tmpdir(), 'plakett-')), `${name}.tbp`);
    writeFileSync(file, Buffer.from(await page.evaluate(() => Array.from(window.plakett.projectBytes()))));
    return file;
  };
  const differs = (a, b) => a.some((s, i) => s.data.some((v, k) => v !== b[i].data[k]));
  await page.evaluate(() => { document.querySelectorAll('details').forEach((d) => { d.open = true; }); });

  // A light dragged on the pad: light 2 switched on and moved, the button follows, the saved
  // project renders the same natively, and one undo puts the light back.
  await page.evaluate((b) => window.plakett.load(new Uint8Array(b)), bytes);
  // Clicks as a user makes them, on controls scrolled clear of the sticky bar.
  const click = async (sel) => {
    await page.$eval(sel, (el) => el.scrollIntoView({ block: 'center' }));
    await page.click(sel);
  };
  await click('[data-light-on="2"]');
  await click('[data-light="1"]');
  await page.$eval('#light-pad', (el) => el.scrollIntoView({ block: 'center' }));
  await page.evaluate(() => window.plakett.settled());
  const lit = await statesOf();
  const l0 = await page.evaluate(() => window.plakett.lights());
  const from = await page.evaluate((x, y) => window.plakett.lights().padPoint(x, y), l0.lights[1].x, l0.lights[1].y);
  const to = await page.evaluate(() => window.plakett.lights().padPoint(8, 40));
  await page.mouse.move(from[0], from[1]);
  await page.mouse.down();
  for (let i = 1; i <= 8; i += 1) await page.mouse.move(from[0] + ((to[0] - from[0]) * i) / 8, from[1] + ((to[1] - from[1]) * i) / 8);
  await page.evaluate(() => window.plakett.settled());
  await page.screenshot({ path: path.join(out, 'light-drag-1280x800.png') });
  await page.mouse.up();
  const l1 = await page.evaluate(() => window.plakett.lights());
  check(l1.current === 1 && l1.lights[1].on && l1.lights[1].x === 8 && l1.lights[1].y === 40,
    `light 2 dragged on the pad to (${l1.lights[1].x}, ${l1.lights[1].y})`);
  const dragged = await statesOf();
  check(differs(dragged, lit), 'the dragged light changes the button');
  sameStates(dragged, await savedNow('light'), 'after a light drag');
  await page.evaluate(() => window.plakett.undo());
  const l2 = await page.evaluate(() => window.plakett.lights());
  check(l2.lights[1].x === l0.lights[1].x && l2.lights[1].y === l0.lights[1].y && !differs(await statesOf(), lit),
    'one undo puts the light and the button back');

  // Text colours and effects per state, and the angle, through the Text controls: each state
  // shows its own colour, in the page and in plakett-render's files of the saved project.
  const setControl = (sel, value) => page.$eval(sel, (el, v) => {
    if (el.type === 'checkbox') el.checked = v; else el.value = v;
    el.dispatchEvent(new Event('change'));
  }, value);
  await setControl('#caption', 'Hello');
  await setControl('#font-size', '16');
  await setControl('#bold', true);
  await setControl('#text-opacity', '255');
  const colours = ['#ff0000', '#00ff00', '#0000ff'];
  for (const i of [0, 1, 2]) await setControl(`#text-color-${i}`, colours[i]);
  await setControl('#text-effect-1', '4');
  await setControl('#text-angle', '90');
  await page.evaluate(() => window.plakett.settled());
  await page.screenshot({ path: path.join(out, 'text-1280x800.png') });
  const textFile = await savedNow('text');
  const native = nativeFiles(['--states', '3', '--format', 'bmp'], textFile);
  const nativeStates = ['button_off.bmp', 'button_over.bmp', 'button_down.bmp']
    .map((n) => bmpPixels(native[n])).map((n) => ({ w: n.w, h: n.h, data: n.rgba }));
  // The box of the pixels near a pure colour (channel c high, the others low).
  const box = (img, c) => {
    const b = { n: 0, x0: 1e9, y0: 1e9, x1: -1, y1: -1 };
    for (let k = 0; k < img.data.length; k += 4) {
      if (![0, 1, 2].every((j) => (j === c ? img.data[k + j] > 200 : img.data[k + j] < 60))) continue;
      const x = (k / 4) % img.w, y = Math.floor(k / 4 / img.w);
      Object.assign(b, { n: b.n + 1, x0: Math.min(b.x0, x), y0: Math.min(b.y0, y), x1: Math.max(b.x1, x), y1: Math.max(b.y1, y) });
    }
    return b;
  };
  for (const [who, states] of [['the page', await statesOf()], ['plakett-render', nativeStates]]) {
    const boxes = states.map((img, i) => [0, 1, 2].map((c) => box(img, c)));
    const own = boxes.every((b, i) => b[i].n > 20 && b.every((o, c) => c === i || o.n === 0));
    const upright = boxes.every((b, i) => b[i].y1 - b[i].y0 > b[i].x1 - b[i].x0);
    check(own && upright, `${who}: each state's caption in its own colour, turned by 90 degrees`);
  }

  // Rotate by any angle: the outline turns, and the result is the native one.
  const beforeTurn = await page.evaluate(() => window.plakett.points());
  await setControl('#rotate-angle', '30');
  await click('#rotate-apply');
  await setControl('#caption', '');
  await page.evaluate(() => window.plakett.settled());
  const turned = await page.evaluate(() => window.plakett.points());
  check(turned.some((q, i) => q.x !== beforeTurn[i].x || q.y !== beforeTurn[i].y), 'rotate by 30 degrees turns the points');
  sameStates(await statesOf(), await savedNow('turned'), 'after a rotate by 30 degrees');

  // A texture from the library through the Background panel: the button changes.
  const plain = await statesOf();
  await page.select('#texture-pick', 'Wood');
  await page.waitForFunction(() => document.getElementById('texture').checked, { timeout: 30000 });
  await page.evaluate(() => window.plakett.settled());
  const textured = await statesOf();
  check(textured[0].data.some((v, k) => v !== plain[0].data[k]), 'a library texture changes the button');

  // The texture origin moved on its sliders: the pixels are plakett-render's with the same
  // --texture-origin, and the project bytes stay those of the design.
  const bytesBefore = await page.evaluate(() => Array.from(window.plakett.projectBytes()));
  await setControl('#texture-x', '-120');
  await setControl('#texture-y', '45');
  await page.evaluate(() => window.plakett.settled());
  const shifted = await statesOf();
  check(differs(shifted, textured), 'a moved texture origin changes the button');
  const bytesAfter = await page.evaluate(() => Array.from(window.plakett.projectBytes()));
  check(JSON.stringify(bytesAfter) === JSON.stringify(bytesBefore), 'the texture origin stays out of the project bytes');
  const originFile = await savedNow('origin');
  sameStates(shifted, originFile, 'texture origin -120,45', ['--texture-origin', '-120,45']);
  const originExport = await page.evaluate(async () => (await window.plakett.exportFiles(
    { scale: 2, sprite: true })).map((f) => ({ name: f.name, bytes: Array.from(f.bytes) })));
  const originNative = nativeFiles(['--texture-origin', '-120,45', '--scale', '2', '--sprite'], originFile);
  check(originExport.length === Object.keys(originNative).length &&
    originExport.every((f) => Buffer.from(f.bytes).equals(originNative[f.name])),
  'the export with a moved texture origin equals plakett-render\'s');
  await page.screenshot({ path: path.join(out, 'texture-1280x800.png') });

  // A phone: the page reloads for the new device and shows the project again.
  await page.setViewport({ width: 390, height: 844, isMobile: true, hasTouch: true, deviceScaleFactor: 2 });
  await page.waitForFunction(() => window.plakett !== undefined, { timeout: 60000 });
  await page.evaluate((b) => window.plakett.load(new Uint8Array(b)), bytes);
  await page.screenshot({ path: path.join(out, 'phone-390x844-top.png') });
  await page.screenshot({ path: path.join(out, 'phone-390x844.png'), fullPage: true });
  const overflow = await page.evaluate(() => document.documentElement.scrollWidth - window.innerWidth);
  check(overflow <= 0, `nothing wider than the phone screen (${overflow} px over)`);
  const unlabelled = await page.evaluate(() => [...document.querySelectorAll('input, select, canvas[tabindex]')]
    .filter((el) => el.type !== 'file' && !el.labels?.length && !el.getAttribute('aria-label')).map((el) => el.id));
  check(unlabelled.length === 0, `every control has a label ${unlabelled.join(' ')}`);
  check(errors.length === 0, `no page errors ${errors.join('; ')}`);
} finally {
  await browser.close();
}
