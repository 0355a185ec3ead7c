// Charts of a prediction: the losses and the suppression as bars, and
// the losses against one answer as lines.  Each chart carries its values
// as text too.
import {svg, el} from './dom.js';
import {FIGURE_HEADINGS, FIGURE_KEYS, plain} from './words.js';

// The height of a bar for `value` where `largest` fills `span`: never
// negative, so a value below zero (a suppression can be) lies on the axis.
export function barHeight(value, largest, span) {
  if (!(largest > 0) || !(value > 0)) return 0;
  return span * Math.min(value, largest) / largest;
}

// Both sides' losses and the suppression, with and without support fire.
export function barChart(p, supported) {
  const series = [{name: supported ? 'with support' : 'predicted', values: p.odds, className: 'with'}];
  if (supported) series.push({name: 'without support', values: p.oddsNoSupport, className: 'without'});
  const largest = Math.max(1, ...series.flatMap((s) => FIGURE_KEYS.map((k) => s.values[k])));
  const width = 360;
  const height = 200;
  const top = 24;
  const bottom = 40;
  const groupWidth = width / FIGURE_KEYS.length;
  const barWidth = Math.min(40, (groupWidth - 24) / series.length);
  const chart = svg('svg', {viewBox: `0 0 ${width} ${height}`, role: 'img',
                            'aria-labelledby': 'bar-chart-title', class: 'chart bars'});
  chart.append(svg('title', {id: 'bar-chart-title'},
    'Losses and suppression ' + series.map((s) => s.name + ': ' +
      FIGURE_KEYS.map((k) => plain(FIGURE_HEADINGS[k]).toLowerCase() + ' ' + s.values[k])
        .join(', ')).join('; ')));
  const base = height - bottom;
  chart.append(svg('line', {x1: 0, x2: width, y1: base, y2: base, class: 'axis'}));
  FIGURE_KEYS.forEach((key, g) => {
    const start = g * groupWidth + (groupWidth - barWidth * series.length) / 2;
    series.forEach((s, i) => {
      const value = s.values[key];
      const h = barHeight(value, largest, base - top);
      const x = start + i * barWidth;
      chart.append(svg('rect', {x: x + 2, y: base - h, width: barWidth - 4, height: h,
                                class: 'bar ' + s.className, 'data-value': value}));
      const label = svg('text', {x: x + barWidth / 2, y: base - h - 4, class: 'value'});
      label.textContent = String(value);
      chart.append(label);
    });
    const name = svg('text', {x: g * groupWidth + groupWidth / 2, y: base + 16, class: 'category'});
    name.textContent = plain(FIGURE_HEADINGS[key]).replace(' inflicted', '');
    chart.append(name);
  });
  const legend = el('p', {class: 'legend'}, ...series.map((s) =>
    el('span', {class: 'key ' + s.className}, s.name)));
  return el('figure', {class: 'block chart-block'}, chart, supported ? legend : null);
}

// The predicted losses for every value of one answer (rows as --vary
// --json gives them), with the current value marked.
export function lineChart(rows, label, current) {
  const width = 360;
  const height = 220;
  const left = 44;
  const right = 12;
  const top = 12;
  const bottom = 40;
  const xs = rows.map((r) => r.value);
  const lines = [
    {key: 'attackerLosses', name: 'Attacker loses', className: 'with'},
    {key: 'defenderLosses', name: 'Defender loses', className: 'without'},
  ];
  const largest = Math.max(1, ...rows.flatMap((r) => lines.map((l) => r.odds[l.key])));
  const lowest = Math.min(0, ...rows.flatMap((r) => lines.map((l) => r.odds[l.key])));
  const x0 = xs[0];
  const x1 = xs[xs.length - 1];
  const sx = (x) => left + (x1 === x0 ? 0 : (x - x0) / (x1 - x0)) * (width - left - right);
  const sy = (y) => height - bottom - (y - lowest) / (largest - lowest) * (height - top - bottom);
  const chart = svg('svg', {viewBox: `0 0 ${width} ${height}`, role: 'img',
                            'aria-labelledby': 'sweep-chart-title', class: 'chart lines'});
  chart.append(svg('title', {id: 'sweep-chart-title'},
    'Predicted losses for ' + label + ' from ' + x0 + ' to ' + x1));
  chart.append(svg('line', {x1: left, x2: width - right, y1: sy(0), y2: sy(0), class: 'axis'}));
  chart.append(svg('line', {x1: left, x2: left, y1: top, y2: sy(lowest), class: 'axis'}));
  for (const [x, y, text, anchor] of [[left - 4, sy(0) + 4, '0', 'end'],
                                      [left - 4, sy(largest) + 4, String(largest), 'end'],
                                      [sx(x0), height - bottom + 16, String(x0), 'start'],
                                      [sx(x1), height - bottom + 16, String(x1), 'end']]) {
    const tick = svg('text', {x, y, 'text-anchor': anchor, class: 'tick'});
    tick.textContent = text;
    chart.append(tick);
  }
  if (current >= x0 && current <= x1) {
    chart.append(svg('line', {x1: sx(current), x2: sx(current), y1: top, y2: sy(lowest),
                              class: 'current'}));
    const mark = svg('text', {x: sx(current), y: height - 6, 'text-anchor': 'middle', class: 'tick'});
    mark.textContent = 'now ' + current;
    chart.append(mark);
  }
  for (const line of lines) {
    const points = rows.map((r) => sx(r.value).toFixed(1) + ',' + sy(r.odds[line.key]).toFixed(1));
    chart.append(svg('polyline', {points: points.join(' '), class: 'line ' + line.className}));
  }
  const legend = el('p', {class: 'legend'},
    ...lines.map((l) => el('span', {class: 'key ' + l.className}, l.name)));
  const table = el('table', {class: 'figures sweep-values'},
    el('thead', {}, el('tr', {}, el('th', {scope: 'col'}, 'Value'),
      ...lines.map((l) => el('th', {scope: 'col'}, l.name)))),
    el('tbody', {}, ...rows.map((r) => el('tr', {'data-sweep-value': r.value},
      el('th', {scope: 'row'}, String(r.value)),
      ...lines.map((l) => el('td', {'data-sweep': l.key}, String(r.odds[l.key])))))));
  return el('figure', {class: 'block chart-block'}, chart, legend,
            el('details', {}, el('summary', {}, 'The values of the chart'), table));
}
