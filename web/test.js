// Drives the page in Debian's Chromium (headless, WebGL on SwiftShader).
//   node test.js test BASE_URL DESKTOP_SHOT.png SHOT_FRAME RECORDING DIGEST
//   node test.js replay BASE_URL NAME        (a recording served under extra/)
//   node test.js bench BASE_URL              (README's level-10 frame, bench/bench.html)
// `test` runs the page's tests and prints "N passed, N failed"; `replay` prints the
// page's digest line and exits with the status the game ended with.
'use strict';
const fs = require('fs');
const zlib = require('zlib');
const puppeteer = require('puppeteer-core');

const CHROMIUM = process.env.BRINEGATE_CHROMIUM || '/usr/bin/chromium';
// A picture pixel differs when a channel is off by more than this; the page's frame
// may have at most kPictureShare of its pixels differ from the desktop's.
const kChannelTolerance = 48;
const kPictureShare = 0.01;

// A browser start on a loaded machine now and then fails to connect: it is tried again.
// Nothing else is retried.
async function launch() {
  for (let attempt = 1; ; ++attempt) {
    try {
      return await puppeteer.launch({
        executablePath: CHROMIUM,
        headless: true,
        timeout: 120000,
        protocolTimeout: 600000,
        args: ['--no-sandbox', '--use-angle=swiftshader', '--enable-unsafe-swiftshader',
          '--autoplay-policy=no-user-gesture-required', '--window-size=800,600'],
      });
    } catch (e) {
      if (attempt === 3) throw e;
      console.error(`Chromium did not start (${e.message}); starting it again`);
    }
  }
}

// A page in a context of its own (its own storage), with its console kept.
async function open(context, url, size = { width: 800, height: 600 }) {
  const page = await context.newPage();
  await page.setViewport({ ...size, deviceScaleFactor: 1 });
  const log = { lines: [], errors: [] };
  page.on('console', (m) => {
    log.lines.push(m.text());
    if (m.type() === 'error') log.errors.push(m.text());
  });
  page.on('pageerror', (e) => log.errors.push(String(e)));
  await page.goto(url, { timeout: kFrameTimeout });
  return { page, log };
}

// Every wait counts the game's frames, not the clock, so that a slow machine only
// makes the test slower; the timeouts are only there to end a page that stopped.
const kFrameTimeout = 300000;
const frames = (page, n) =>
  page.waitForFunction((n) => Module.framesShown >= n, { timeout: kFrameTimeout, polling: 50 }, n);
const moreFrames = async (page, n) => frames(page, (await page.evaluate(() => Module.framesShown)) + n);
const sleep = (ms) => new Promise((r) => setTimeout(r, ms));
// Between frames the game's loop is suspended (Asyncify): ccall would then return a
// promise of the loop's end, which never comes. The export only reads, so it is called
// as it is.
const shipX = (page) => page.evaluate(() => Module._BrinegateShipX());
const hasShip = (page) => page.waitForFunction(() => !Number.isNaN(Module._BrinegateShipX()),
  { timeout: kFrameTimeout, polling: 100 });

// The number of kept files written so far; then, until more are written, `file` is
// there, and every write is in the browser's storage.
const writes = (page) => page.evaluate(() => Module.keptWrites);
const kept = (page, before, file) => page.waitForFunction((before, file) => Module.keptWrites > before &&
  Module.FS.analyzePath(file).exists && Module.keptSynced === Module.keptWrites,
{ timeout: kFrameTimeout, polling: 100 }, before, file);
const kSettings = '/home/web_user/.config/brinegate/settings.ini';
const kRecords = '/home/web_user/.local/share/brinegate/records.ini';

// Pictures of the steps, when BRINEGATE_WEB_SHOTS names a folder to look at them in.
async function shot(page, name) {
  if (!process.env.BRINEGATE_WEB_SHOTS) return;
  fs.mkdirSync(process.env.BRINEGATE_WEB_SHOTS, { recursive: true });
  await page.screenshot({ path: `${process.env.BRINEGATE_WEB_SHOTS}/${name}.png` });
}

// The game reads the cursor once a frame: it is where the button goes down a few frames
// before, and the button is down for a few frames.
async function click(page, x, y) {
  await page.mouse.move(x, y);
  await moreFrames(page, 3);
  await page.mouse.down();
  await moreFrames(page, 3);
  await page.mouse.up();
  await moreFrames(page, 3);
}

// 8-bit RGB or RGBA PNG, as Chromium and SDL2_image write them, to RGBA.
function decodePng(bytes) {
  let pos = 8, width = 0, height = 0, type = 0;
  const data = [];
  while (pos < bytes.length) {
    const length = bytes.readUInt32BE(pos), kind = bytes.toString('ascii', pos + 4, pos + 8);
    const body = bytes.subarray(pos + 8, pos + 8 + length);
    if (kind === 'IHDR') {
      width = body.readUInt32BE(0);
      height = body.readUInt32BE(4);
      type = body[9];
      if (body[8] !== 8 || (type !== 2 && type !== 6) || body[12] !== 0) throw new Error('unsupported PNG');
    } else if (kind === 'IDAT') data.push(body);
    pos += 12 + length;
  }
  const raw = zlib.inflateSync(Buffer.concat(data));
  const channels = type === 6 ? 4 : 3, stride = width * channels;
  const out = Buffer.alloc(width * height * 4);
  let previous = Buffer.alloc(stride);
  for (let y = 0; y < height; ++y) {
    const filter = raw[y * (stride + 1)];
    const line = Buffer.from(raw.subarray(y * (stride + 1) + 1, (y + 1) * (stride + 1)));
    for (let i = 0; i < stride; ++i) {
      const a = i >= channels ? line[i - channels] : 0, b = previous[i], c = i >= channels ? previous[i - channels] : 0;
      let add = 0;
      if (filter === 1) add = a;
      else if (filter === 2) add = b;
      else if (filter === 3) add = (a + b) >> 1;
      else if (filter === 4) {
        const p = a + b - c, pa = Math.abs(p - a), pb = Math.abs(p - b), pc = Math.abs(p - c);
        add = pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
      }
      line[i] = (line[i] + add) & 255;
    }
    for (let x = 0; x < width; ++x) {
      for (let k = 0; k < 3; ++k) out[(y * width + x) * 4 + k] = line[x * channels + k];
      out[(y * width + x) * 4 + 3] = 255;
    }
    previous = line;
  }
  return { width, height, rgba: out };
}

function pictureDifference(a, b) {
  if (a.width !== b.width || a.height !== b.height) return { share: 1, mean: 255 };
  let differing = 0, sum = 0;
  for (let i = 0; i < a.rgba.length; i += 4) {
    let most = 0;
    for (let k = 0; k < 3; ++k) {
      const d = Math.abs(a.rgba[i + k] - b.rgba[i + k]);
      most = Math.max(most, d);
      sum += d;
    }
    if (most > kChannelTolerance) ++differing;
  }
  const pixels = a.width * a.height;
  return { share: differing / pixels, mean: sum / (pixels * 3) };
}

function distinctColours(picture) {
  const seen = new Set();
  for (let i = 0; i < picture.rgba.length && seen.size < 1000; i += 4 * 97)
    seen.add(picture.rgba.readUInt32BE(i));
  return seen.size;
}

// Replays draw into a 200 x 150 page, the picture letterboxed into it as in any small
// window, so that software rendering does not take most of the time.
async function replayDigest(browser, url) {
  const context = await browser.createBrowserContext();
  const { page, log } = await open(context, url, { width: 200, height: 150 });
  await page.waitForFunction(() => Module.exitStatus !== undefined, { timeout: 900000, polling: 200 });
  const status = await page.evaluate(() => Module.exitStatus);
  await context.close();
  const digest = log.lines.find((l) => /^digest [0-9a-f]{16}$/.test(l.trim()));
  return { status, digest: digest ? digest.trim() : null, log };
}

async function runTests(base, desktopShot, shotFrame, recording, expected) {
  const browser = await launch();
  const results = [];
  const check = (name, ok, detail) => {
    results.push(ok);
    console.log(`${ok ? 'PASS' : 'FAIL'} ${name}${detail ? ': ' + detail : ''}`);
  };
  // BRINEGATE_WEB_CHECKS=playing,... runs only the checks named.
  const only = process.env.BRINEGATE_WEB_CHECKS ? process.env.BRINEGATE_WEB_CHECKS.split(',') : null;
  const attempt = async (name, body) => {
    if (only && !only.includes(name)) return;
    try {
      await body();
    } catch (e) {
      check(name, false, String(e && e.stack ? e.stack : e));
    }
  };

  await attempt('the menu', async () => {
    const context = await browser.createBrowserContext();
    const { page, log } = await open(context, base);
    await frames(page, 60);
    const times = await page.evaluate(() => ({ first: Module.firstFrameAt, start: Module.startedAt }));
    const picture = decodePng(Buffer.from(await page.screenshot({ type: 'png' })));
    const overlay = await page.$eval('#start', (e) => getComputedStyle(e).display);
    check('the menu', log.errors.length === 0 && distinctColours(picture) > 20 && overlay === 'block',
      `load to menu ${Math.round(times.first)} ms, ${distinctColours(picture)} colours, ` +
      `"Click to play" ${overlay}, console errors: ${JSON.stringify(log.errors)}`);
    await context.close();
  });

  await attempt('the picture', async () => {
    const context = await browser.createBrowserContext();
    const { page, log } = await open(context, `${base}?replay=${recording}&hold=${shotFrame}`);
    await page.waitForFunction(() => Module.held, { timeout: 300000, polling: 100 });
    await page.$eval('#full', (e) => { e.style.display = 'none'; });
    await sleep(300);
    const shot = Buffer.from(await page.screenshot({ type: 'png', clip: { x: 0, y: 0, width: 800, height: 600 } }));
    if (process.env.BRINEGATE_WEB_SHOT) fs.writeFileSync(process.env.BRINEGATE_WEB_SHOT, shot);
    const d = pictureDifference(decodePng(shot), decodePng(fs.readFileSync(desktopShot)));
    check('the picture', d.share <= kPictureShare && log.errors.length === 0,
      `frame ${shotFrame}: ${(100 * d.share).toFixed(2)} % of pixels differ by more than ` +
      `${kChannelTolerance} (at most ${100 * kPictureShare} %), mean difference ${d.mean.toFixed(2)}`);
    await context.close();
  });

  await attempt('playing', async () => {
    const context = await browser.createBrowserContext();
    const { page, log } = await open(context, base);
    await frames(page, 30);
    await click(page, 400, 300);  // "Click to play"
    const overlay = await page.$eval('#start', (e) => getComputedStyle(e).display);
    await click(page, 200, 200);  // "Play!"
    await hasShip(page);
    await shot(page, 'playing-1-started');
    const start = await shipX(page);
    // Two seconds of the game's time with D held, then with A.
    await page.keyboard.down('d');
    await moreFrames(page, 120);
    await page.keyboard.up('d');
    const right = await shipX(page);
    await shot(page, 'playing-2-after-d');
    await page.keyboard.down('a');
    let least = right;
    for (let i = 0; i < 12; ++i) {
      await moreFrames(page, 10);
      least = Math.min(least, await shipX(page));
    }
    await page.keyboard.up('a');
    await shot(page, 'playing-3-after-a');
    check('playing', overlay === 'none' && right > start + 20 && least < right - 20 && log.errors.length === 0,
      `ship x ${start.toFixed(1)}, after D ${right.toFixed(1)}, least after A ${least.toFixed(1)}`);
    await context.close();
  });

  await attempt('kept over a reload', async () => {
    const context = await browser.createBrowserContext();
    const { page, log } = await open(context, base);
    await frames(page, 30);
    await click(page, 400, 300);  // "Click to play"
    await click(page, 200, 270);  // "Options"
    await moreFrames(page, 90);   // the menu's buttons fall away
    await shot(page, 'kept-1-options');
    const beforeMusic = await writes(page);
    await click(page, 610, 132);  // Music "+": the settings are written
    await kept(page, beforeMusic, kSettings);
    await shot(page, 'kept-2-music-raised');
    await click(page, 400, 520);  // "Back"
    await moreFrames(page, 90);
    await shot(page, 'kept-3-menu');
    await click(page, 200, 200);  // "Play!"
    await hasShip(page);
    await moreFrames(page, 30);
    await shot(page, 'kept-4-playing');
    const beforeMenu = await writes(page);
    await page.keyboard.press('Escape');  // back to the menu: the records are written
    await kept(page, beforeMenu, kRecords);
    await shot(page, 'kept-5-menu-again');
    const read = () => page.evaluate((files) => {
      const text = (p) => { try { return Module.FS.readFile(p, { encoding: 'utf8' }); } catch (e) { return null; } };
      return { settings: text(files[0]), records: text(files[1]) };
    }, [kSettings, kRecords]);
    const before = await read();
    await page.reload({ timeout: kFrameTimeout });
    await frames(page, 30);
    const after = await read();
    await shot(page, 'kept-6-reloaded');
    const music = /music = 3/.test(before.settings || '');
    check('kept over a reload', music && before.records !== null && after.settings === before.settings &&
      after.records === before.records && log.errors.length === 0,
      `music raised to 3: ${music}; records written: ${before.records !== null}; ` +
      `the same after the reload: ${after.settings === before.settings && after.records === before.records}`);
    await context.close();
  });

  await attempt('the replay', async () => {
    const began = Date.now();
    const r = await replayDigest(browser, `${base}?replay=${recording}`);
    check('the replay', r.status === 0 && r.digest === expected && r.log.errors.length === 0,
      `${recording}: page "${r.digest}", desktop "${expected}", status ${r.status}, ` +
      `${((Date.now() - began) / 1000).toFixed(1)} s`);
  });

  await browser.close();
  const passed = results.filter((r) => r).length;
  console.log(`${passed} passed, ${results.length - passed} failed`);
  return passed === results.length ? 0 : 1;
}

async function main() {
  const [command, base, ...rest] = process.argv.slice(2);
  if (command === 'test') return runTests(base, ...rest);
  if (command === 'replay') {
    const browser = await launch();
    const r = await replayDigest(browser, `${base}?replay=${encodeURIComponent(rest[0])}&served=1`);
    await browser.close();
    for (const line of r.log.lines) if (!/^digest /.test(line.trim())) console.error(line);
    if (r.digest) console.log(r.digest);
    return r.status;
  }
  if (command === 'bench') {
    // README's level-10 frame: the page bench/bench.html prints its states and its time.
    const browser = await launch();
    const context = await browser.createBrowserContext();
    const { page, log } = await open(context, `${base}bench/bench.html`);
    // (bench.html has no icon: the browser's 404 for it is no failure.)
    const done = () => log.lines.some((l) => /^level \d+ frame:/.test(l));
    for (let waited = 0; !done() && waited < 1800; ++waited) await sleep(1000);
    await browser.close();
    for (const line of log.lines) console.log(line);
    return log.lines.some((l) => /^level \d+ frame:/.test(l)) ? 0 : 1;
  }
  console.error('usage: node test.js test|replay|bench BASE_URL ...');
  return 2;
}

main().then((status) => process.exit(status), (e) => {
  console.error(e);
  process.exit(1);
});
