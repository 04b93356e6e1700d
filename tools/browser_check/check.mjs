// Opens a page written by `plakett-render --html` in headless Chromium at device scale 1, 2
// and 3 and checks what a page needs of its buttons: the box is the button (the shadow
// around it takes no pointer), the sprite moves to the hot row on hover and to the pushed
// row on a mouse press and while Space or Enter is held, a focus ring shows for keyboard
// focus, a disabled button stays in its normal row, and the density's own pictures (WebP
// first where there are WebP copies) are the ones loaded. It also drops the style sheet
// onto <a> and <button> elements of a page of its own. Screenshots of each step go to
// SHOTS_DIR.
// usage: node check.mjs PAGE.html SHOTS_DIR [CHROMIUM]
import puppeteer from 'puppeteer-core';
import path from 'node:path';
import fs from 'node:fs';

const [page_, shots, chromium = '/usr/bin/chromium'] = process.argv.slice(2);
if (!page_ || !shots) {
  console.error('usage: node check.mjs PAGE.html SHOTS_DIR [CHROMIUM]');
  process.exit(2);
}
fs.mkdirSync(shots, { recursive: true });
const url = 'file://' + path.resolve(page_);
const browser = await puppeteer.launch({
  executablePath: chromium,
  headless: true,
  args: ['--no-sandbox', '--allow-file-access-from-files'],
});
let failures = 0;
const check = (ok, what) => {
  console.log((ok ? 'ok   ' : 'FAIL ') + what);
  if (!ok) failures++;
};

// The sprite's geometry as the page computes it.
const sprite = (page, el) =>
  page.evaluate((e) => {
    const b = getComputedStyle(e, '::before');
    const size = b.backgroundSize.split(' ').map(parseFloat);
    return {
      position: b.backgroundPosition,
      stateHeight: parseFloat(b.height),
      rows: Math.round(size[1] / parseFloat(b.height)),
      pointerEvents: b.pointerEvents,
      opacity: b.opacity,
      left: parseFloat(b.left),
      top: parseFloat(b.top),
      width: parseFloat(b.width),
      color: getComputedStyle(e).color,
      outline: getComputedStyle(e).outlineStyle,
      focusVisible: e.matches(':focus-visible'),
    };
  }, el);
const rowOf = (s) => Math.round(-parseFloat(s.position.split(' ')[1]) / s.stateHeight);

async function checkPage(scale, target, label) {
  const page = await browser.newPage();
  const requested = [];
  page.on('request', (r) => requested.push(decodeURIComponent(r.url())));
  await page.setViewport({ width: 1000, height: 900, deviceScaleFactor: scale });
  await page.goto(target, { waitUntil: 'networkidle0' });
  const shot = (name) => page.screenshot({ path: path.join(shots, `${label}-${name}@${scale}x.png`) });
  let el = await page.$('.row > :not([disabled]):not([aria-disabled="true"])');
  const box = await el.boundingBox();
  const rest = await sprite(page, el);
  // The first row of a sprite is its sheet offset: rows count from there.
  const base = rowOf(rest);
  const hotRow = rest.rows % 3 === 0 ? 1 : 0; // three states: normal, hot, pushed
  const pushedRow = rest.rows % 3 === 0 ? 2 : rest.rows % 2 === 0 ? 1 : 0;
  await page.mouse.move(1, 1);
  check(rest.pointerEvents === 'none', `${label} @${scale}x: the shadow takes no pointer`);
  check(rest.left < 0 && rest.top < 0 && rest.width > box.width,
        `${label} @${scale}x: the box (${box.width} x ${box.height}) is the button inside its sprite`);
  await shot('rest');

  // Just outside the box, over the shadow: no hover.
  await page.mouse.move(box.x + box.width + 3, box.y + box.height + 3);
  check(rowOf(await sprite(page, el)) === base, `${label} @${scale}x: the shadow does not hover`);
  await page.mouse.move(box.x + box.width / 2, box.y + box.height / 2);
  const hot = await sprite(page, el);
  check(rowOf(hot) === base + hotRow, `${label} @${scale}x hovered: row ${rowOf(hot) - base} (${hot.position})`);
  await shot('hover');
  await page.mouse.down();
  const pushed = await sprite(page, el);
  check(rowOf(pushed) === base + pushedRow, `${label} @${scale}x pressed: row ${rowOf(pushed) - base}`);
  await shot('pressed');
  await page.mouse.up();
  await page.mouse.move(1, 1);

  // Keyboard, on a fresh load: focus by Tab shows a ring; Space and Enter hold the pushed row.
  await page.reload({ waitUntil: 'networkidle0' });
  el = await page.$('.row > :not([disabled]):not([aria-disabled="true"])');
  await page.evaluate((e) => {
    window.clicks = 0;
    e.addEventListener('click', () => window.clicks++);
  }, el);
  await page.keyboard.press('Tab');
  const focused = await sprite(page, el);
  check(focused.focusVisible && focused.outline !== 'none',
        `${label} @${scale}x: Tab focuses the first button with a ring (${focused.outline})`);
  await shot('focus');
  for (const key of ['Space', 'Enter']) {
    await page.keyboard.down(key);
    const held = await sprite(page, el);
    check(rowOf(held) === base + pushedRow, `${label} @${scale}x: ${key} held shows the pushed row`);
    if (key === 'Space') await shot('space');
    await page.keyboard.up(key);
    check(rowOf(await sprite(page, el)) === base, `${label} @${scale}x: ${key} released shows the normal row`);
  }
  check((await page.evaluate(() => window.clicks)) === 2, `${label} @${scale}x: Space and Enter each click once`);

  const disabled = await page.$('.row > [disabled], .row > [aria-disabled="true"]');
  if (disabled) {
    const before = await sprite(page, disabled);
    const dbox = await disabled.boundingBox();
    await page.mouse.move(dbox.x + dbox.width / 2, dbox.y + dbox.height / 2);
    await page.mouse.down();
    const d = await sprite(page, disabled);
    check(d.position === before.position && d.opacity === '0.5',
          `${label} @${scale}x: a disabled button stays normal and dimmed under the mouse (${d.position}, opacity ${d.opacity})`);
    await page.mouse.up();
    await shot('disabled');
  }

  const pictures = requested.filter((n) => /\.(png|webp|jpg|bmp)$/.test(n)).map((n) => path.basename(n));
  const own = pictures.filter((n) => (scale === 1 ? !/@\dx\./.test(n) : n.includes(`@${scale}x.`)));
  const others = pictures.filter((n) => !own.includes(n));
  check(own.length > 0 && others.length === 0, `${label} @${scale}x loads ${pictures.join(', ')}`);
  const webpCopies = fs.existsSync(path.join(path.dirname(path.resolve(page_)),
                                             path.basename(page_, '.html') + '.webp'));
  if (webpCopies)
    check(pictures.some((n) => n.endsWith('.webp')) && !pictures.some((n) => n.endsWith('.png')),
          `${label} @${scale}x takes the WebP copies`);
  await page.close();
}

// A page of its own: the style sheet dropped onto a link and a button in running text.
function dropInPage() {
  const html = fs.readFileSync(path.resolve(page_), 'utf8');
  const css = html.match(/<link rel="stylesheet" href="([^"]+)">/)[1];
  const cls = html.match(/<button type="button" class="([^"]+)"/)[1];
  const text = (html.match(/<button type="button" class="[^"]+">([^<]*)</) || [, ''])[1];
  const label = text || 'Home';
  const own = `<!DOCTYPE html>
<html lang="en"><head><meta charset="utf-8"><link rel="stylesheet" href="${css}">
<style>body { font: 16px serif; margin: 40px; } p { line-height: 3; }</style></head>
<body><p>Read on: <a class="${cls}" href="#top">${text}</a> or
<button class="${cls}" ${text ? '' : `aria-label="${label}"`}>${text}</button> in the middle of a sentence.</p>
<script>
for (const el of document.querySelectorAll('p > *')) {
  const off = () => el.classList.remove('pressed');
  el.addEventListener('keydown', (e) => {
    if (e.key !== 'Enter' && e.key !== ' ') return;
    if (e.key === ' ' && el.tagName === 'A') e.preventDefault();
    el.classList.add('pressed');
  });
  el.addEventListener('keyup', off);
  el.addEventListener('blur', off);
}
</script></body></html>
`;
  const file = path.join(path.dirname(path.resolve(page_)), 'drop-in.html');
  fs.writeFileSync(file, own);
  return file;
}

async function checkDropIn(scale, file) {
  const page = await browser.newPage();
  await page.setViewport({ width: 900, height: 300, deviceScaleFactor: scale });
  await page.goto('file://' + file, { waitUntil: 'networkidle0' });
  const [link, button] = [await page.$('a'), await page.$('button')];
  const [a, b] = [await link.boundingBox(), await button.boundingBox()];
  check(Math.abs(a.width - b.width) < 0.5 && Math.abs(a.height - b.height) < 0.5,
        `drop-in @${scale}x: <a> and <button> get the same box (${a.width} x ${a.height})`);
  const look = (el) => page.evaluate((e) => {
    const s = getComputedStyle(e);
    return [s.borderTopWidth, s.backgroundColor, s.textDecorationLine].join(' ');
  }, el);
  check((await look(link)) === (await look(button)), `drop-in @${scale}x: no browser border, background or underline on either`);
  await page.mouse.move(a.x + a.width / 2, a.y + a.height / 2);
  const hover = await sprite(page, link);
  check(rowOf(hover) === (hover.rows % 3 === 0 ? 1 : 0), `drop-in @${scale}x: the link hovers (${hover.position})`);
  await page.screenshot({ path: path.join(shots, `drop-in@${scale}x.png`) });
  await page.close();
}

const dropIn = dropInPage();
for (const scale of [1, 2, 3]) {
  await checkPage(scale, url, 'page');
  await checkDropIn(scale, dropIn);
}
await browser.close();
console.log(failures === 0 ? 'all checks passed' : `${failures} check(s) failed`);
process.exit(failures === 0 ? 0 : 1);
