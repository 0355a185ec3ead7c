// The prediction: each outcome as sentences that say what the figures are,
// the chance of a rugged defense, the softening, each supporting unit's
// fire, and the chart.  It draws what it is given and knows nothing of
// where the answers came from.
import {el} from './dom.js';
import {barChart} from './charts.js';
import {FIGURE_HEADINGS, FIGURE_KEYS, sentence} from './words.js';

// A sentence with its figure marked, e.g. "Attacker loses <4> strength
// points", the figure's element named `path`.
function figureSentence(key, path, value) {
  const text = sentence(key, value);
  const at = text.indexOf(String(value));
  return el('li', {}, text.slice(0, at),
            el('strong', {'data-figure': path}, String(value)),
            text.slice(at + String(value).length));
}

function outcome(title, path, values, suffix) {
  return el('div', {class: 'outcome'}, el('h3', {}, title),
    el('ul', {class: 'sentences'}, ...FIGURE_KEYS.map((key) =>
      figureSentence(key, path + '.' + key + suffix, values[key + suffix]))));
}

function supportName(kind) {
  return kind === 'artillery' ? 'artillery support' : 'air-defense support';
}

function figureCell(path, value) {
  return el('td', {'data-figure': path}, String(value));
}

function supportTable(support) {
  const unitWord = support.kind === 'artillery' ? 'Artillery piece' : 'Supporting unit';
  const rows = support.units.map((unit, i) => el('tr', {},
    el('th', {scope: 'row'}, unitWord + ' ' + (i + 1),
       unit.capped ? el('span', {class: 'capped'}, ' (reaches the attacker\'s strength)') : null),
    figureCell('supportFire.units.' + i + '.damage', unit.damage),
    figureCell('supportFire.units.' + i + '.suppression', unit.suppression),
    figureCell('supportFire.units.' + i + '.damageTotal', unit.damageTotal),
    figureCell('supportFire.units.' + i + '.suppressionTotal', unit.suppressionTotal)));
  const total = el('tr', {class: 'total'}, el('th', {scope: 'row'}, 'All support fire'),
    figureCell('supportFire.damageTotal', support.damageTotal),
    figureCell('supportFire.suppressionTotal', support.suppressionTotal),
    el('td'), el('td'));
  return el('div', {class: 'block support', 'data-support-kind': support.kind},
    el('table', {class: 'figures'},
      el('caption', {}, support.kind === 'artillery' ? 'Artillery fire, piece by piece'
                                                     : 'Air-defense fire, unit by unit'),
      el('colgroup', {}, el('col', {class: 'heading'}), el('col'), el('col'), el('col'), el('col')),
      el('thead', {}, el('tr', {}, el('td'),
        el('th', {scope: 'col'}, 'Damage'), el('th', {scope: 'col'}, 'Sup\u00adpres\u00adsion'),
        el('th', {scope: 'col'}, 'Damage so far'),
        el('th', {scope: 'col'}, 'Sup\u00adpres\u00adsion so far'))),
      el('tbody', {}, ...rows, total)));
}

// Shows a prediction (as --json gives it) in `container`.
export function showFigures(container, p) {
  const support = p.supportFire;
  const supported = support.kind !== 'none';
  const parts = [];
  parts.push(outcome(supported ? 'With ' + supportName(support.kind) : 'Odds', 'odds', p.odds, ''));
  if (supported) {
    parts.push(outcome('Without ' + supportName(support.kind), 'oddsNoSupport', p.oddsNoSupport, ''));
  }
  parts.push(el('p', {class: 'rugged-chance'}, 'Chance of a rugged defense: ',
    el('strong', {'data-figure': 'ruggedChance'}, String(p.ruggedChance)), '%'));
  if (p.rugged) {
    parts.push(outcome('If there is a rugged defense' + (supported ? ', with support' : ''),
                       'rugged', p.rugged, ''));
    if (supported) {
      parts.push(outcome('If there is a rugged defense, without support', 'rugged',
                         p.rugged, 'NoSupport'));
    }
  }
  parts.push(el('p', {class: 'softening'}, 'Times the defender was attacked before: ',
    el('strong', {'data-figure': 'timesAttacked'}, String(p.timesAttacked))));
  if (supported) parts.push(supportTable(support));
  parts.push(barChart(p, supported));
  container.replaceChildren(...parts);
}

// The short summary that stays in sight on a narrow screen: both sides'
// losses and the suppression, with and without support, and the rugged
// chance.
export function showSummary(container, p) {
  const supported = p.supportFire.kind !== 'none';
  const line = (title, path, values) => el('p', {class: 'summary-line'},
    el('span', {class: 'summary-title'}, title + ': '),
    ...FIGURE_KEYS.flatMap((key, i) => [i ? ', ' : '',
      FIGURE_HEADINGS[key].replace(/\u00ad/g, '') + ' ',
      el('strong', {'data-summary-figure': path + '.' + key}, String(values[key]))]));
  container.replaceChildren(
    line(supported ? 'With support' : 'Odds', 'odds', p.odds),
    supported ? line('Without', 'oddsNoSupport', p.oddsNoSupport) : null,
    el('p', {class: 'summary-line'}, 'Rugged defense: ',
       el('strong', {'data-summary-figure': 'ruggedChance'}, String(p.ruggedChance)), '%'));
}
