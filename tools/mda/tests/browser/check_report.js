// Loads reports written by mda in Debian's headless Chromium and checks what a person sees:
// no console error, no sideways scrolling, tiles and history rows that lead to their channel,
// violation markers drawn, and the switch that hides the clean channels.
// Usage: node check_report.js <mda_demo> <mda> <work folder> [<screenshot folder>]
'use strict';
const { execFileSync } = require('child_process');
const fs = require('fs');
const path = require('path');

let puppeteer;
try {
  puppeteer = require('puppeteer-core');
} catch (e) {
  console.log('SKIP: puppeteer-core is not installed (npm install in ' + __dirname + ')');
  process.exit(77);
}
const chromium = ['/usr/bin/chromium', '/usr/bin/chromium-browser'].find((p) => fs.existsSync(p));
if (!chromium) {
  console.log('SKIP: no Chromium at /usr/bin/chromium');
  process.exit(77);
}

const [demo, mda, work, shots] = process.argv.slice(2);
let failures = 0;
function check(ok, what) {
  console.log((ok ? 'ok    ' : 'FAIL  ') + what);
  if (!ok) failures++;
  return ok;
}

const hostileName = 'spare 1 </script><img src=x onerror=alert(1)> "%1" &amp;';
const env = Object.assign({}, process.env, { QT_QPA_PLATFORM: 'offscreen' });
function record(name, extra) {
  const out = path.join(work, name);
  fs.rmSync(out, { recursive: true, force: true });
  execFileSync(demo, ['--out', out, '--quiet'].concat(extra), { env, stdio: ['ignore', 'ignore', 'inherit'] });
  return out;
}

// The campaign measures every channel of its table, and the simulated receiver fails now and
// then on each: spare channels never measured give the report channels without problems.
function reportWithSpares(out, spares) {
  const table = JSON.parse(fs.readFileSync(path.join(out, 'config', 'demo.channel'), 'utf8'));
  const rows = table.ChannelTableData;
  for (let i = 0; i < spares; ++i) {
    const row = JSON.parse(JSON.stringify(rows[i % rows.length]));
    // The first spare's name would end the page's script and load an image if written raw.
    row.ChannelItemData.find((item) => item.Id === 'Channel Name').Value =
      i === 0 ? hostileName : 'spare ' + (i + 1);
    rows.push(row);
  }
  const file = path.join(out, 'spares.channel');
  fs.writeFileSync(file, JSON.stringify(table, null, 4));
  const html = path.join(out, 'spares.html');
  execFileSync(mda, ['report', '1', '--database', path.join(out, 'measurements.sqlite'),
    '--channels', file, '-o', html], { env, stdio: ['ignore', 'inherit', 'inherit'] });
  return html;
}

// At the top of the window, below the contents bar, or in view when the page ends first.
function landedOn(href) {
  const top = document.querySelector(href).getBoundingClientRect().top;
  const atEnd = scrollY + innerHeight >= document.documentElement.scrollHeight - 2;
  return top >= 0 && (top < 200 || (atEnd && top < innerHeight - 40));
}

async function checkReport(browser, label, file, screenshot, expectClean) {
  const page = await browser.newPage();
  await page.setViewport({ width: 1400, height: 1000 });
  const problems = [];
  page.on('console', (m) => { if (m.type() === 'error' || m.type() === 'warning') problems.push(m.text()); });
  page.on('pageerror', (e) => problems.push(String(e)));
  page.on('request', (r) => { if (!r.url().startsWith('file:')) problems.push('request ' + r.url()); });
  await page.goto('file://' + file, { waitUntil: 'load' });
  await page.evaluate(() => new Promise((r) => requestAnimationFrame(() => requestAnimationFrame(r))));
  const tag = '[' + label + '] ';

  const layout = await page.evaluate(() => {
    const grid = document.getElementById('history-grid');
    const rows = [...grid.querySelectorAll('.hrow')];
    const canvases = rows.map((r) => r.querySelector('canvas'));
    const status = rows.length ? rows[0].dataset.status.length : 0;
    const widths = new Set(canvases.map((c) => c.width));
    const names = rows.map((r) => r.querySelector('.hname').getBoundingClientRect());
    return {
      scrollWidth: document.documentElement.scrollWidth,
      clientWidth: document.documentElement.clientWidth,
      rows: rows.length,
      scans: status,
      bin: +grid.dataset.bin,
      columnWidth: +grid.dataset.columnWidth,
      canvasWidth: canvases.length ? canvases[0].width : 0,
      evenWidths: widths.size === 1,
      gridRight: grid.getBoundingClientRect().right,
      namesVisible: names.every((r) => r.left >= 0 && r.right <= innerWidth && r.width > 0),
      ticks: [...grid.querySelectorAll('.hticks span:not(.hsame)')].map((s) => s.textContent),
      sameTime: (() => { const d = JSON.parse(document.getElementById('mda-data').textContent);
        return d.times[0] === d.times[d.times.length - 1]; })(),
    };
  });
  check(layout.scrollWidth <= layout.clientWidth,
    tag + `no sideways scrolling at 1,400 px (${layout.scrollWidth} <= ${layout.clientWidth})`);
  check(layout.rows > 0 && layout.evenWidths && layout.gridRight <= layout.clientWidth,
    tag + `status history within the window (${layout.rows} rows, right edge ${layout.gridRight})`);
  check(layout.namesVisible, tag + 'every channel name of the history on screen');
  check(layout.canvasWidth === Math.ceil(layout.scans / layout.bin) * layout.columnWidth,
    tag + `even columns: ${layout.scans} scans in bins of ${layout.bin}, ${layout.columnWidth} px each`);
  // Scans of one time stamp are told apart by number.
  const tickPattern = layout.sameTime ? /^scan \d+$/ : /^\d\d:\d\d:\d\d/;
  check(layout.ticks.length >= 2 && layout.ticks.every((t) => tickPattern.test(t)),
    tag + 'history time axis with scan times (' + layout.ticks.slice(0, 2).join(' | ').replace(/\n/g, ' ') + ')');

  // Counts in words with their number right; a badge on exactly the tiles with errors.
  const tiles = await page.$$eval('a.tile', (ts) => ts.map((t) => ({
    counts: t.querySelector('.counts').textContent,
    badge: t.querySelector('.errmark') ? t.querySelector('.errmark').textContent : null,
    tip: t.querySelector('.tip') ? t.querySelector('.tip').textContent : '',
  })));
  const wordsRight = tiles.every((t) => {
    const m = /^(\d+) (violations?) · (\d+) (errors?)$/.exec(t.counts);
    return m && (m[1] === '1') === (m[2] === 'violation') && (m[3] === '1') === (m[4] === 'error') &&
      (m[3] === '0' ? t.badge === null : t.badge === '⚠ ' + m[3]) &&
      (m[3] === '0' || t.tip.includes(m[3] === '1' ? '1 measurement error;' : m[3] + ' measurement errors;'));
  });
  check(wordsRight, tag + 'tile counts in the right number, error badge and error hover text on the tiles with errors (' +
    tiles.slice(0, 2).map((t) => t.counts).join(' / ') + ')');

  // Every tile and every history row names an existing channel section, and clicking leads there.
  const links = await page.evaluate(() => {
    const targets = (sel) => [...document.querySelectorAll(sel)].map((a) => a.getAttribute('href'));
    return { tiles: targets('a.tile'), rows: targets('a.hrow') };
  });
  const ids = await page.evaluate(() => [...document.querySelectorAll('section.channel')].map((s) => '#' + s.id));
  check(links.tiles.length === ids.length && links.tiles.every((h, i) => h === ids[i]),
    tag + `every tile leads to its own channel section (${links.tiles.length})`);
  check(links.rows.length === ids.length && links.rows.every((h, i) => h === ids[i]),
    tag + 'every history row leads to its own channel section');
  let landed = 0;
  for (let i = 0; i < links.tiles.length; ++i) {
    await page.evaluate(() => window.scrollTo(0, 0));
    await page.click(`a.tile:nth-of-type(${i + 1})`);
    landed += await page.evaluate(landedOn, links.tiles[i]);
  }
  check(landed === links.tiles.length, tag + `clicking each tile scrolls its channel into view (${landed}/${links.tiles.length})`);
  await page.evaluate(() => window.scrollTo(0, 0));
  await page.click('a.hrow:last-of-type canvas');
  check(await page.evaluate(landedOn, links.rows[links.rows.length - 1]),
    tag + 'clicking a history row scrolls its channel into view');

  // The first chart with violations: as many diamonds as the data has violations.
  const violated = await page.evaluate(() => {
    const data = JSON.parse(document.getElementById('mda-data').textContent);
    const i = data.charts.findIndex((c) => c.pk.includes('1') && !c.st);
    if (i < 0) return null;
    const fig = document.querySelector(`figure.chart[data-chart="${i}"]`);
    fig.scrollIntoView();
    return { index: i, expected: data.charts[i].pk.split('1').length - 1 };
  });
  if (check(violated !== null, tag + 'some chart has violations')) {
    const sel = `figure.chart[data-chart="${violated.index}"]`;
    await page.waitForSelector(sel + ' svg');
    const drawn = await page.evaluate((s) => {
      const fig = document.querySelector(s);
      const area = fig.querySelector('rect.area');
      const right = +area.getAttribute('x') + +area.getAttribute('width');
      const labels = [...fig.querySelectorAll('text.limitlabel')];
      return {
        diamonds: fig.querySelectorAll('path.violation').length,
        bad: fig.closest('section.channel').classList.contains('bad'),
        labelsOutside: labels.length > 0 && labels.every((t) => +t.getAttribute('x') >= right),
        ticks: [...fig.querySelectorAll('text.ytick')].map((t) => t.textContent),
        xticks: [...fig.querySelectorAll('text.xtick')].map((t) => t.textContent),
      };
    }, sel);
    check(drawn.diamonds === violated.expected && drawn.bad,
      tag + `a channel with violations shows its ${violated.expected} markers (${drawn.diamonds} drawn)`);
    check(drawn.labelsOutside, tag + 'limit labels right of the data area');
    check(!drawn.ticks.some((t) => /^-0(\.0*)?$/.test(t)), tag + 'no "-0" tick (' + drawn.ticks.join(' ') + ')');
    check(layout.sameTime ? drawn.xticks.every((t) => /^scan \d+$/.test(t))
      : drawn.xticks.some((t) => /^\d\d:\d\d:\d\d$/.test(t)) && drawn.xticks.some((t) => /^\d{4}-\d\d-\d\d$/.test(t)),
      tag + 'chart x axis in scan time and date (' + drawn.xticks.slice(0, 3).join(' ') + ')');
    // Hover tells scan, time and value.
    const box = await page.$eval(sel + ' rect.overlay', (r) => { const b = r.getBoundingClientRect(); return [b.x, b.y, b.width, b.height]; });
    await page.mouse.move(box[0] + box[2] / 2, box[1] + box[3] / 2);
    const hover = await page.$eval('.hover-tip', (t) => t.style.display === 'block' ? t.textContent : '');
    check(/scan \d+, \d{4}-\d\d-\d\d \d\d:\d\d:\d\d/.test(hover), tag + 'hover shows scan and time (' + hover.replace(/\n/g, ' | ') + ')');
    // Dragging across half the chart zooms in on about half of the scans.
    await page.mouse.move(box[0] + 2, box[1] + 10);
    await page.mouse.down();
    await page.mouse.move(box[0] + box[2] / 2, box[1] + 10, { steps: 4 });
    await page.mouse.up();
    const zoomed = await page.$$eval(sel + ' text.xtick', (t) => t.length);
    check(zoomed > 0 && problems.length === 0, tag + 'zoom redraws the chart without an error');
  }

  // A log axis has no zero: its low limit 0 is left out and said so.
  const logChart = await page.evaluate(() => {
    const data = JSON.parse(document.getElementById('mda-data').textContent);
    const i = data.charts.findIndex((c) => c.log && c.lo === 0 && c.hi > 0);
    if (i < 0) return null;
    document.querySelector(`figure.chart[data-chart="${i}"]`).scrollIntoView();
    return i;
  });
  if (check(logChart !== null, tag + 'some log chart has a low limit of 0')) {
    const sel = `figure.chart[data-chart="${logChart}"]`;
    await page.waitForSelector(sel + ' svg');
    const seen = await page.$eval(sel, (f) => ({
      note: f.querySelector('.note').textContent,
      labels: [...f.querySelectorAll('text.limitlabel')].map((t) => t.textContent),
      lines: f.querySelectorAll('line.limit').length,
    }));
    check(seen.note === 'low limit 0 not drawn: a log axis has no zero or negative values' &&
          seen.lines === 1 && seen.labels.length === 1 && /^high limit /.test(seen.labels[0]),
      tag + 'log chart: low limit 0 noted, not drawn (' + seen.labels.join(', ') + ')');
  }

  // State items are drawn as lanes of their words.
  const states = await page.evaluate(() => {
    const data = JSON.parse(document.getElementById('mda-data').textContent);
    // One with a violation where there is one: a state other than the expected one.
    let i = data.charts.findIndex((c) => c.st && c.pk.includes('1'));
    if (i < 0) i = data.charts.findIndex((c) => c.st);
    if (i < 0) return null;
    document.querySelector(`figure.chart[data-chart="${i}"]`).scrollIntoView();
    const c = data.charts[i];
    return { index: i, words: c.st, expected: c.ex, violations: c.pk.split('1').length - 1 };
  });
  if (states) {
    const sel = `figure.chart[data-chart="${states.index}"]`;
    await page.waitForSelector(sel + ' svg');
    const seen = await page.$eval(sel, (f) => ({
      lanes: [...f.querySelectorAll('text.ytick')].map((x) => x.textContent),
      expected: [...f.querySelectorAll('text.expectlabel')].map((x) => x.textContent),
      diamonds: f.querySelectorAll('path.violation').length,
    }));
    check(JSON.stringify(seen.lanes) === JSON.stringify(states.words) &&
          JSON.stringify(seen.expected) === JSON.stringify(states.expected >= 0 ? ['expected: ' + states.words[states.expected]] : []) &&
          seen.diamonds === states.violations,
      tag + `state chart: lanes ${seen.lanes.join(', ')}, ${seen.expected.join('')}, ${seen.diamonds} of ${states.violations} violations marked`);
  }

  // The switch: only the channels with violations or errors stay.
  const filtered = await page.evaluate(() => {
    const box = document.getElementById('only-problems');
    box.click();
    const shown = (sel) => [...document.querySelectorAll(sel)].filter((e) => e.getClientRects().length > 0).length;
    const r = {
      bad: document.querySelectorAll('section.channel.bad').length,
      clean: document.querySelectorAll('section.channel.clean').length,
      shownSections: shown('section.channel'),
      shownRows: shown('a.hrow .hname'),
      shownTiles: shown('a.tile'),
      shownCleanSections: shown('section.channel.clean'),
    };
    box.click();
    r.afterSections = shown('section.channel');
    return r;
  });
  check(filtered.shownSections === filtered.bad && filtered.shownCleanSections === 0 &&
        filtered.shownRows === filtered.bad && filtered.shownTiles === filtered.bad &&
        filtered.afterSections === filtered.bad + filtered.clean,
    tag + `problem switch shows ${filtered.bad} of ${filtered.bad + filtered.clean} channels and back`);
  if (expectClean) {
    check(filtered.clean === expectClean, tag + `${expectClean} clean channels hidden by the switch`);
    const names = await page.$$eval('a.hrow .hname', (n) => n.map((x) => x.textContent));
    check(names.includes(hostileName) && (await page.$$('img')).length === 0,
      tag + 'a channel name with markup shown as text, nothing injected');
  }

  check(problems.length === 0, tag + 'no console error or network request' + (problems.length ? ': ' + problems.slice(0, 3).join(' / ') : ''));
  if (screenshot) {
    await page.evaluate(() => window.scrollTo(0, 0));
    await page.screenshot({ path: screenshot });
    // And the charts of the first channel with violations.
    await page.evaluate(() => document.querySelector('section.channel.bad').scrollIntoView());
    await page.evaluate(() => new Promise((r) => setTimeout(r, 300)));
    await page.screenshot({ path: screenshot.replace(/\.png$/, '-channel.png') });
  }
  await page.close();
}

(async () => {
  fs.mkdirSync(work, { recursive: true });
  if (shots) fs.mkdirSync(shots, { recursive: true });
  const small = path.join(record('demo', []), 'report.html');
  const large = reportWithSpares(record('scans500', ['--scans', '500', '--channels', '30']), 4);
  const browser = await puppeteer.launch({
    executablePath: chromium,
    headless: true,
    args: ['--no-sandbox', '--disable-gpu', '--allow-file-access-from-files'],
  });
  try {
    await checkReport(browser, 'demo', small, shots && path.join(shots, 'report.png'));
    await checkReport(browser, '500 scans', large, shots && path.join(shots, 'report-500-scans.png'), 4);
  } finally {
    await browser.close();
  }
  console.log(failures ? failures + ' check(s) failed' : 'all checks passed');
  process.exit(failures ? 1 : 0);
})().catch((e) => {
  console.error(e);
  process.exit(1);
});
