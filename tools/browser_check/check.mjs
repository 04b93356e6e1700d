// Opens a page written by `plakett-render --html` in headless Chromium at device scale 1
// and 2, takes screenshots at rest, hovered and pressed, and checks that the sprite moves
// to the hot and pushed rows and that the high-density sprite is the one loaded at 2x.
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

for (const scale of [1, 2]) {
  const page = await browser.newPage();
  const requested = [];
  page.on('request', (r) => requested.push(decodeURIComponent(r.url())));
  await page.setViewport({ width: 900, height: 640, deviceScaleFactor: scale });
  await page.goto(url, { waitUntil: 'networkidle0' });
  const button = await page.$('[role=button]');
  const box = await button.boundingBox();
  const position = () =>
    page.evaluate((el) => getComputedStyle(el).backgroundPosition, button);
  const height = Math.round(box.height);

  await page.mouse.move(1, 1);
  check((await position()) === '0px 0px', `@${scale}x at rest: sprite row 0`);
  await page.screenshot({ path: path.join(shots, `rest@${scale}x.png`) });

  await page.mouse.move(box.x + box.width / 2, box.y + box.height / 2);
  const hot = await position();
  check(hot === `0px -${height}px` || hot === '0px 0px', `@${scale}x hovered: ${hot}`);
  await page.screenshot({ path: path.join(shots, `hover@${scale}x.png`) });

  await page.mouse.down();
  const pushed = await position();
  check(pushed !== '0px 0px', `@${scale}x pressed: ${pushed}`);
  await page.screenshot({ path: path.join(shots, `pressed@${scale}x.png`) });
  await page.mouse.up();

  const dense = requested.filter((n) => /@2x\.[a-z]+$/.test(n));
  const plain = requested.filter((n) => /[^x]\.(png|bmp|jpg)$/.test(n) && !/@\dx\./.test(n));
  if (scale === 1)
    check(dense.length === 0 && plain.length > 0,
          `@1x loads ${plain.map((n) => path.basename(n)).join(', ')} and no @2x sprite`);
  else check(dense.length > 0, `@2x loads ${dense.map((n) => path.basename(n)).join(', ')}`);
  await page.close();
}
await browser.close();
console.log(failures === 0 ? 'all checks passed' : `${failures} check(s) failed`);
process.exit(failures === 0 ? 0 : 1);
