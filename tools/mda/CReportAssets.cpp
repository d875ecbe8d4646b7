#include "CReportAssets.h"

QString CReportAssets::Style()
{
    return QStringLiteral(R"CSS(
body{font-family:sans-serif;margin:0 24px 24px;color:#222;background:#fafafa}
h1{margin:16px 0 4px}.sub{color:#555;margin-top:0}
nav.toc{position:sticky;top:0;z-index:4;background:#fafafa;border-bottom:1px solid #ccc;padding:6px 0;font-size:14px}
nav.toc details{margin-top:4px}nav.toc details[open] ol{max-height:40vh;overflow:auto}nav.toc ol{columns:14em;margin:4px 0;font-size:13px}
nav.toc li small{color:#666}
label.switch{margin-left:24px;font-weight:bold;cursor:pointer}
body.only-problems .clean{display:none}
section{scroll-margin-top:48px}
.matrix{display:flex;flex-wrap:wrap;gap:8px;margin:16px 0 12px}
.tile{width:132px;height:70px;border:1px solid #555;border-radius:6px;display:flex;flex-direction:column;align-items:center;justify-content:center;text-align:center;font-size:13px;position:relative;color:#111;text-decoration:none}
.tile:focus,.tile:hover{outline:3px solid #1565c0}
.tile b{font-size:14px}.tile .counts{font-size:12px;margin-top:4px}
.tile .errmark{position:absolute;top:-7px;right:-7px;background:#fff;color:#7a00a0;border:2px solid #b000e0;border-radius:9px;font-size:11px;font-weight:bold;padding:0 4px;line-height:14px}
.tile .tip{display:none;position:absolute;top:74px;left:0;z-index:5;background:#fff;border:1px solid #888;padding:6px;white-space:pre;font:12px monospace;text-align:left;box-shadow:2px 2px 6px #aaa}
.tile:hover .tip{display:block}
.legend{display:grid;grid-template-columns:repeat(2,minmax(0,480px));grid-template-rows:repeat(7,auto);grid-auto-flow:column;gap:2px 24px;font-size:13px;margin-bottom:24px}
.legend span.sw{display:inline-block;width:14px;height:14px;border:1px solid #555;vertical-align:middle;margin-right:6px}
.history{display:grid;grid-template-columns:max-content minmax(0,1fr);gap:1px 8px;font-size:11px;max-width:100%}
.hrow{display:contents;color:#222;text-decoration:none}
.hrow .hname{text-align:right;white-space:nowrap;max-width:14em;overflow:hidden;text-overflow:ellipsis}
.hrow:hover .hname{text-decoration:underline;color:#1565c0}
.hcells{min-width:0;overflow:hidden}.hcells canvas{display:block;height:16px;cursor:pointer}
.haxis{grid-column:2;position:relative;height:30px;overflow:hidden}
.hticks{position:relative;height:30px}.hticks span.hsame{top:15px;left:0;border:0;padding:0}.hticks span{position:absolute;top:2px;white-space:pre;font-size:10px;color:#444;border-left:1px solid #999;padding-left:2px}
.key span{display:inline-block;width:12px;height:12px;vertical-align:middle;margin:0 4px 0 12px}
.st-ok{background:#2e9e3e}.st-viol{background:#e02020}.st-err{background:#b000e0}.st-none{background:#d0d0d0}
.channel{background:#fff;border:1px solid #ddd;border-radius:6px;padding:10px 14px;margin:14px 0}
.channel h2{margin:4px 0;font-size:18px}.channel h2 a{font-size:12px;font-weight:normal;margin-left:12px}
.summary{color:#444;white-space:pre-wrap}
.curves{display:flex;flex-wrap:wrap;gap:12px}
figure.chart{margin:0;width:600px;position:relative}figure.chart figcaption{font-size:14px;font-weight:bold;margin:6px 0}
figure.chart .plot{min-height:150px}.note{font-size:12px;color:#8a4b00;margin:2px 0 0}
.hover-tip{display:none;position:fixed;z-index:10;background:#fff;border:1px solid #888;padding:4px 6px;white-space:pre;font:12px monospace;pointer-events:none;box-shadow:2px 2px 6px #aaa}
svg .area{fill:#fff;stroke:#999}svg .grid{stroke:#e4e4e4}svg .axis{stroke:#666}
svg .ytick,svg .xtick{font-size:10px;fill:#444}
svg .xlabel,svg .ylabel{font-size:11px;fill:#222}
svg .limit{stroke:#d22;stroke-dasharray:6 4}svg .limitlabel{font-size:10px;fill:#b00}
svg .expected{fill:#e3f4e5}svg .expectlabel{font-size:10px;fill:#2e7d32}
svg .curve{fill:none;stroke:#1565c0;stroke-width:1.5}
svg .meas{fill:#1565c0}svg .violation{fill:#e02020;stroke:#600;stroke-width:1}
svg .error{fill:#b000e0}svg .state-cell{fill:#2e9e3e}svg .violation-cell{fill:#f3a0a0}
svg .guide{stroke:#555;stroke-dasharray:2 2}svg .selection{fill:rgba(21,101,192,.15)}
svg .overlay{fill:transparent;cursor:crosshair}
)CSS");
}

QString CReportAssets::Script()
{
    return QStringLiteral(R"JS(
(function () {
  'use strict';
  var data = JSON.parse(document.getElementById('mda-data').textContent);
  var scans = data.scans, times = data.times, n = scans.length;
  var SVG = 'http://www.w3.org/2000/svg';
  var statusWords = ['not measured', 'within limits', 'measurement error', 'limit violation'];
  var statusColours = ['#d0d0d0', '#2e9e3e', '#b000e0', '#e02020'];

  function el(name, attrs, parent) {
    var e = document.createElementNS(SVG, name);
    for (var k in attrs) e.setAttribute(k, attrs[k]);
    if (parent) parent.appendChild(e);
    return e;
  }
  function text(x, y, s, cls, parent, anchor) {
    var t = el('text', {x: x.toFixed(1), y: y.toFixed(1), 'class': cls}, parent);
    if (anchor) t.setAttribute('text-anchor', anchor);
    t.textContent = s;
    return t;
  }
  function datePart(i) { var s = times[i] || ''; var p = s.indexOf(' '); return p < 0 ? '' : s.slice(0, p); }
  function timePart(i) { var s = times[i] || ''; var p = s.indexOf(' '); return p < 0 ? s : s.slice(p + 1); }
  function scanLabel(i) { return 'scan ' + scans[i] + ', ' + (times[i] || 'no time'); }
  // Round numbers without a "-0".
  function fmt(v, decimals) {
    var s = v.toFixed(decimals);
    return /^-0(\.0*)?$/.test(s) ? s.slice(1) : s;
  }
  function fmtValue(v) {
    if (v === 0) return '0';
    var a = Math.abs(v);
    if (a < 0.01 || a >= 1e7) return v.toExponential(2);
    return fmt(v, a >= 100 ? 1 : (a >= 1 ? 2 : 3));
  }
  // A limit as written, without padding zeros.
  function limitText(v) { return String(Number(v.toPrecision(6))); }
  // Tick texts at scan i: time and, where it changes, date; scan numbers when every scan in
  // view has the same time.
  function tickTexts(i, a, b, lastDate) {
    if (times[a] === times[b]) return ['scan ' + scans[i], ''];
    var d = datePart(i);
    return [timePart(i), d !== lastDate ? d : ''];
  }
  function niceStep(span, ticks) {
    if (!(span > 0)) return 1;
    var raw = span / ticks, mag = Math.pow(10, Math.floor(Math.log10(raw))), norm = raw / mag;
    return (norm < 1.5 ? 1 : norm < 3 ? 2 : norm < 7 ? 5 : 10) * mag;
  }
  function xTicks(a, b, width) {
    var count = Math.max(2, Math.floor(width / 110));
    var step = Math.max(1, Math.round(niceStep(b - a, count)));
    var out = [];
    for (var i = Math.ceil(a / step) * step; i <= b; i += step) out.push(i);
    return out;
  }
  var tip = document.createElement('div');
  tip.className = 'hover-tip';
  document.body.appendChild(tip);
  function showTip(ev, s) {
    tip.textContent = s;
    tip.style.display = 'block';
    var x = Math.min(ev.clientX + 14, document.documentElement.clientWidth - tip.offsetWidth - 8);
    tip.style.left = Math.max(0, x) + 'px';
    tip.style.top = (ev.clientY + 16) + 'px';
  }
  function hideTip() { tip.style.display = 'none'; }

  // ---- status history: one even column per scan, or per bin of scans when they outnumber the pixels
  var grid = document.getElementById('history-grid');
  function drawHistory() {
    if (!grid || n === 0) return;
    var rows = grid.querySelectorAll('.hrow');
    if (!rows.length) return;
    var W = Math.floor(rows[0].querySelector('.hcells').clientWidth);
    if (W <= 0) return;
    var bin = n * 2 <= W ? 1 : Math.ceil(n / Math.floor(W / 2));
    var bins = Math.ceil(n / bin), cw = Math.max(1, Math.floor(W / bins));
    grid.dataset.bin = bin;
    grid.dataset.columnWidth = cw;
    rows.forEach(function (row) {
      var st = row.dataset.status, c = row.querySelector('canvas');
      c.width = bins * cw; c.height = 16;
      c.style.width = (bins * cw) + 'px';
      var g = c.getContext('2d');
      for (var b = 0; b < bins; ++b) {
        var worst = 0;
        for (var i = b * bin; i < Math.min(n, (b + 1) * bin); ++i) worst = Math.max(worst, +st.charAt(i));
        g.fillStyle = statusColours[worst];
        g.fillRect(b * cw, 0, cw > 3 ? cw - 1 : cw, 16);
      }
    });
    var ticks = grid.querySelector('.hticks');
    ticks.textContent = '';
    if (times[0] === times[n - 1]) {
      var same = document.createElement('span');
      same.className = 'hsame';
      same.textContent = 'every scan at ' + (times[0] || 'an unknown time');
      ticks.appendChild(same);
    }
    ticks.style.width = (bins * cw) + 'px';
    var lastDate = '';
    xTicks(0, bins - 1, bins * cw).forEach(function (b) {
      var i = b * bin, s = document.createElement('span');
      var t = tickTexts(i, 0, n - 1, lastDate);
      s.textContent = t[0] + (t[1] ? '\n' + t[1] : '');
      lastDate = datePart(i);
      s.style.left = (b * cw) + 'px';
      ticks.appendChild(s);
    });
  }
  if (grid) {
    grid.addEventListener('mousemove', function (ev) {
      var c = ev.target;
      if (c.tagName !== 'CANVAS') { hideTip(); return; }
      var bin = +grid.dataset.bin, cw = +grid.dataset.columnWidth;
      var b = Math.floor(ev.offsetX / cw), first = b * bin, last = Math.min(n, first + bin) - 1;
      if (first >= n) { hideTip(); return; }
      var st = c.parentNode.parentNode.dataset.status, worst = 0;
      for (var i = first; i <= last; ++i) worst = Math.max(worst, +st.charAt(i));
      var name = c.parentNode.parentNode.querySelector('.hname').textContent;
      showTip(ev, name + '\n' + (first === last ? scanLabel(first)
        : 'scans ' + scans[first] + '–' + scans[last] + ', ' + times[first] + ' – ' + times[last] + ' (worst)')
        + ': ' + statusWords[worst] + '\nclick for the channel');
    });
    grid.addEventListener('mouseleave', hideTip);
  }

  // ---- charts
  var W = 600, L = 66, R = 132, T = 12;
  function Chart(fig, c) {
    this.fig = fig; this.c = c; this.a = 0; this.b = Math.max(0, n - 1);
    this.state = !!c.st;
    this.H = this.state ? 48 + 26 * c.st.length : 250;
    this.B = 46;
    this.draw();
    var self = this;
    fig.addEventListener('dblclick', function () { self.a = 0; self.b = Math.max(0, n - 1); self.draw(); });
  }
  Chart.prototype.sx = function (i) {
    var pw = W - L - R;
    return this.b > this.a ? L + (i - this.a) / (this.b - this.a) * pw : L + pw / 2;
  };
  Chart.prototype.index = function (px) {
    var pw = W - L - R;
    return this.b > this.a ? this.a + (px - L) / pw * (this.b - this.a) : this.a;
  };
  Chart.prototype.drawXAxis = function (svg, bottom) {
    var self = this, pw = W - L - R, lastDate = '';
    var a = Math.ceil(this.a), b = Math.floor(this.b);
    xTicks(a, b, pw).forEach(function (i) {
      var x = self.sx(i);
      el('line', {x1: x.toFixed(1), x2: x.toFixed(1), y1: bottom, y2: bottom + 4, 'class': 'axis'}, svg);
      var t = tickTexts(i, a, b, lastDate);
      text(x, bottom + 15, t[0], 'xtick', svg, 'middle');
      if (t[1]) text(x, bottom + 27, t[1], 'xtick', svg, 'middle');
      lastDate = datePart(i);
    });
    text(L + pw / 2, this.H - 4, times[a] === times[b]
      ? 'scan time: every scan shown at ' + (times[a] || 'an unknown time')
      : 'scan time (hover for the scan number)', 'xlabel', svg, 'middle');
  };
  Chart.prototype.draw = function () {
    var c = this.c, self = this, H = this.H, pw = W - L - R, ph = H - T - this.B, bottom = T + ph;
    var holder = this.fig.querySelector('.plot');
    holder.textContent = '';
    var svg = el('svg', {width: W, height: H, viewBox: '0 0 ' + W + ' ' + H,
      'class': this.state ? 'state' : (c.log ? 'log' : 'linear')});
    holder.appendChild(svg);
    el('rect', {x: L, y: T, width: pw, height: ph, 'class': 'area'}, svg);
    var a = Math.max(0, Math.floor(this.a)), b = Math.min(n - 1, Math.ceil(this.b));
    var notes = [];
    var sy;
    if (this.state) {
      var lanes = c.st.length, lh = ph / lanes;
      sy = function (v) { return T + (lanes - 1 - v) * lh + lh / 2; };
      c.st.forEach(function (word, v) {
        var y0 = T + (lanes - 1 - v) * lh;
        if (v === c.ex) el('rect', {x: L, y: y0.toFixed(1), width: pw, height: lh.toFixed(1), 'class': 'expected'}, svg);
        text(L - 6, y0 + lh / 2 + 4, word, 'ytick', svg, 'end');
        if (v === c.ex) text(L + pw + 6, y0 + lh / 2 + 4, 'expected: ' + word, 'expectlabel', svg);
      });
      if (c.ex < 0) notes.push('no expected state in the limits');
      var bw = Math.max(1, pw / Math.max(1, this.b - this.a + 1));
      for (var i = a; i <= b; ++i) {
        var k = c.k.charAt(i);
        if (k === '0' || k === '1') {
          var y = sy(c.y[i]);
          // Kept inside the plot: the first and last scans sit on its edges.
          var x0 = Math.max(L, this.sx(i) - bw / 2), x1 = Math.min(L + pw, this.sx(i) + bw / 2);
          el('rect', {x: x0.toFixed(1), y: (y - lh * 0.3).toFixed(1), width: Math.max(0.5, (x1 - x0) * (bw > 4 ? 0.9 : 1)).toFixed(2),
            height: (lh * 0.6).toFixed(1), 'class': k === '1' ? 'violation-cell' : 'state-cell'}, svg);
          if (k === '1') this.diamond(svg, this.sx(i), y);
        } else if (k === '2') {
          this.errorMark(svg, this.sx(i), bottom);
        }
      }
    } else {
      var log = !!c.log, shown = [];
      var usable = function (v) { return v !== null && isFinite(v) && (!log || v > 0); };
      for (var j = a; j <= b; ++j) if ((c.k.charAt(j) === '0' || c.k.charAt(j) === '1') && usable(c.y[j])) shown.push(c.y[j]);
      var limits = [];
      [['low limit', c.lo], ['high limit', c.hi]].forEach(function (l) {
        if (l[1] === null || l[1] === undefined) return;
        if (!usable(l[1])) {
          notes.push(l[0] + ' ' + limitText(l[1]) + (c.u ? ' ' + c.u : '') + ' not drawn: a log axis has no zero or negative values');
          return;
        }
        limits.push(l);
        shown.push(l[1]);
      });
      if (!shown.length) shown.push(log ? 1e-6 : 0);
      var lo = Math.min.apply(null, shown), hi = Math.max.apply(null, shown), step = 1;
      var ax = function (v) { return log ? Math.log10(v) : v; };
      var aMin = ax(lo), aMax = ax(hi);
      if (log) { aMin = Math.floor(aMin); aMax = Math.max(aMin + 1, Math.ceil(aMax)); }
      else {
        if (aMax - aMin < 1e-9) { aMin -= 1; aMax += 1; }
        step = niceStep(aMax - aMin, 4);
        aMin = Math.floor(aMin / step) * step; aMax = Math.ceil(aMax / step) * step;
      }
      sy = function (v) {
        var q = log ? (v > 0 ? Math.log10(v) : aMin) : v;
        q = Math.min(aMax, Math.max(aMin, q));
        return T + (aMax - q) / (aMax - aMin) * ph;
      };
      var decimals = step >= 1 ? 0 : Math.min(6, Math.ceil(-Math.log10(step) - 1e-9));
      for (var q = aMin; q <= aMax + step / 2; q += step) {
        var v = log ? Math.pow(10, q) : q, yy = sy(v);
        el('line', {x1: L, x2: L + pw, y1: yy.toFixed(1), y2: yy.toFixed(1), 'class': 'grid'}, svg);
        text(L - 6, yy + 4, log ? '1e' + Math.round(q) : fmt(q, decimals), 'ytick', svg, 'end');
      }
      var unitText = (c.u || (log ? 'ratio' : 'no unit')) + (log ? ', log' : '');
      var yl = text(14, T + ph / 2, unitText, 'ylabel', svg, 'middle');
      yl.setAttribute('transform', 'rotate(-90 14 ' + (T + ph / 2).toFixed(1) + ')');
      // Limit labels in the margin right of the data: drifting values never cover them.
      var placed = [];
      limits.sort(function (p, r) { return sy(p[1]) - sy(r[1]); }).forEach(function (l) {
        var y = sy(l[1]);
        el('line', {x1: L, x2: L + pw, y1: y.toFixed(1), y2: y.toFixed(1), 'class': 'limit'}, svg);
        var ly = y + 4;
        if (placed.length && ly - placed[placed.length - 1] < 12) ly = placed[placed.length - 1] + 12;
        placed.push(ly);
        text(L + pw + 6, ly, l[0] + ' ' + limitText(l[1]) + (c.u ? ' ' + c.u : ''), 'limitlabel', svg);
      });
      var pts = [], dots = b - a <= 150;
      for (var m = a; m <= b; ++m) {
        var km = c.k.charAt(m);
        if ((km === '0' || km === '1') && usable(c.y[m])) pts.push(this.sx(m).toFixed(1) + ',' + sy(c.y[m]).toFixed(1));
      }
      if (pts.length) el('polyline', {points: pts.join(' '), 'class': 'curve'}, svg);
      for (var p = a; p <= b; ++p) {
        var kp = c.k.charAt(p);
        if (kp === '0' && dots && usable(c.y[p])) el('circle', {cx: this.sx(p).toFixed(1), cy: sy(c.y[p]).toFixed(1), r: 2.5, 'class': 'meas'}, svg);
        else if (kp === '1') this.diamond(svg, this.sx(p), usable(c.y[p]) ? sy(c.y[p]) : bottom);
        else if (kp === '2') this.errorMark(svg, this.sx(p), bottom);
      }
    }
    el('line', {x1: L, x2: L + pw, y1: bottom, y2: bottom, 'class': 'axis'}, svg);
    this.drawXAxis(svg, bottom);
    var noteBox = this.fig.querySelector('.note');
    noteBox.textContent = notes.join('; ');
    noteBox.style.display = notes.length ? '' : 'none';
    this.interact(svg, bottom);
  };
  Chart.prototype.diamond = function (svg, x, y) {
    el('path', {'class': 'violation', d: 'M' + x.toFixed(1) + ' ' + (y - 6).toFixed(1) + 'l6 6l-6 6l-6 -6z'}, svg);
  };
  Chart.prototype.errorMark = function (svg, x, bottom) {
    el('path', {'class': 'error', d: 'M' + x.toFixed(1) + ' ' + bottom + 'l7 -12h-14z'}, svg);
  };
  Chart.prototype.interact = function (svg, bottom) {
    var self = this, c = this.c, pw = W - L - R;
    var guide = el('line', {y1: T, y2: bottom, 'class': 'guide', visibility: 'hidden'}, svg);
    var sel = el('rect', {y: T, height: bottom - T, 'class': 'selection', visibility: 'hidden'}, svg);
    var overlay = el('rect', {x: L, y: T, width: pw, height: bottom - T, 'class': 'overlay'}, svg);
    var start = null;
    function px(ev) { var r = svg.getBoundingClientRect(); return (ev.clientX - r.left) * W / r.width; }
    function nearest(x) {
      var i = Math.round(self.index(x)), best = -1;
      for (var d = 0; d < n; ++d) {
        if (i - d >= 0 && c.k.charAt(i - d) !== ' ' && c.k.charAt(i - d) !== '') { best = i - d; break; }
        if (i + d < n && c.k.charAt(i + d) !== ' ') { best = i + d; break; }
      }
      return best;
    }
    overlay.addEventListener('mousemove', function (ev) {
      var x = px(ev);
      if (start !== null) {
        sel.setAttribute('x', Math.min(start, x).toFixed(1));
        sel.setAttribute('width', Math.abs(x - start).toFixed(1));
        sel.setAttribute('visibility', 'visible');
      }
      var i = nearest(x);
      if (i < 0 || i < Math.floor(self.a) || i > Math.ceil(self.b)) { hideTip(); return; }
      var gx = self.sx(i).toFixed(1);
      guide.setAttribute('x1', gx); guide.setAttribute('x2', gx); guide.setAttribute('visibility', 'visible');
      var k = c.k.charAt(i), v = c.y[i];
      var what = k === '2' ? '' : (self.state ? c.st[v] : fmtValue(v) + (c.u ? ' ' + c.u : ''));
      showTip(ev, c.n + '\n' + scanLabel(i) + (what ? '\n' + what : '') + (c.t[i] ? '\n' + c.t[i] : ''));
    });
    overlay.addEventListener('mouseleave', function () { hideTip(); guide.setAttribute('visibility', 'hidden'); });
    overlay.addEventListener('mousedown', function (ev) {
      start = px(ev);
      ev.preventDefault();
      // A drag released outside the chart zooms nothing.
      window.addEventListener('mouseup', function () { start = null; sel.setAttribute('visibility', 'hidden'); }, {once: true});
    });
    overlay.addEventListener('mouseup', function (ev) {
      if (start === null) return;
      var x = px(ev), a = self.index(Math.min(start, x)), b = self.index(Math.max(start, x));
      start = null;
      sel.setAttribute('visibility', 'hidden');
      if (b - a >= 1) { self.a = Math.max(0, Math.floor(a)); self.b = Math.min(n - 1, Math.ceil(b)); hideTip(); self.draw(); }
    });
  };

  // A chart's values come only for the scans that have one: spread out over every scan, with a
  // blank kind and no number where a scan has none.
  function dense(c) {
    if (c.k !== undefined) return c;
    var kinds = new Array(n), y = new Array(n);
    for (var i = 0; i < n; ++i) { kinds[i] = ' '; y[i] = null; }
    for (var j = 0; j < c.pi.length; ++j) { kinds[c.pi[j]] = c.pk.charAt(j); y[c.pi[j]] = c.py[j]; }
    c.k = kinds.join('');
    c.y = y;
    return c;
  }

  var figures = document.querySelectorAll('figure.chart');
  function render(fig) {
    if (fig.dataset.drawn) return;
    fig.dataset.drawn = '1';
    new Chart(fig, dense(data.charts[+fig.dataset.chart]));
  }
  if ('IntersectionObserver' in window) {
    var seen = new IntersectionObserver(function (entries) {
      entries.forEach(function (e) { if (e.isIntersecting) { render(e.target); seen.unobserve(e.target); } });
    }, {rootMargin: '600px 0px'});
    figures.forEach(function (f) { seen.observe(f); });
  } else {
    figures.forEach(render);
  }

  // ---- only the channels with problems
  var only = document.getElementById('only-problems');
  function applyFilter() { document.body.classList.toggle('only-problems', only.checked); drawHistory(); }
  only.addEventListener('change', applyFilter);
  applyFilter();
  var resizeTimer = 0;
  window.addEventListener('resize', function () { clearTimeout(resizeTimer); resizeTimer = setTimeout(drawHistory, 100); });
  document.body.classList.add('scripted');
})();
)JS");
}
