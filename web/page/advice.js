// "What would help": the combat on show with each change that the attacker
// can still make, as the calculator gives the rows (their words, figures
// and differences), best first.  The rows are computed only while the group
// is open; choosing one hands its changed combat to the page.
import {el} from './dom.js';
import {FIGURE_HEADINGS, FIGURE_KEYS} from './words.js';

const CHANCE_HEADING = 'Rugged defense chance';

// The figures of a row that the group shows, each with where it stands in
// a row of the calculator.
const COLUMNS = [
  ...FIGURE_KEYS.map((key) => ({key, heading: FIGURE_HEADINGS[key],
                                value: (row) => row.odds[key]})),
  {key: 'ruggedChance', heading: CHANCE_HEADING, value: (row) => row.ruggedChance},
];

// A difference as the group shows it: its sign always, "±0" for none.
export function differenceText(difference) {
  if (difference === 0) return '\u00b10';
  return (difference > 0 ? '+' : '\u2212') + Math.abs(difference);
}

function figureCell(column, row, first) {
  const value = column.value(row);
  const difference = row.differences[column.key];
  return el('td', {'data-key': column.key, 'data-value': value,
                   'data-difference': first ? null : difference},
            String(value),
            first ? null : el('span', {class: 'difference'}, ' ' + differenceText(difference)));
}

function rowOf(row, index, choose) {
  const first = index === 0;
  const words = first || !row.scenarioText
    ? row.change
    : el('button', {type: 'button', class: 'advice-choice'}, row.change);
  if (typeof words !== 'string') words.addEventListener('click', () => choose(row.scenarioText));
  const cells = row.error
    ? [el('td', {class: 'error', colspan: COLUMNS.length}, row.error.text)]
    : COLUMNS.map((column) => figureCell(column, row, first));
  return el('tr', {'data-change': row.change}, el('th', {scope: 'row'}, words), ...cells);
}

function tableOf(rows, choose) {
  return el('table', {class: 'advice-table'},
    el('thead', {}, el('tr', {}, el('th', {scope: 'col'}, 'Change'),
      ...COLUMNS.map((column) => el('th', {scope: 'col'}, column.heading)))),
    el('tbody', {}, ...rows.map((row, i) => rowOf(row, i, choose))));
}

// Starts the group: `group` is its <details>, open from the start only on a
// wide screen; the rows take the presets the module keeps; `choose` takes a row's changed combat as --save writes it.
// Returns the function that shows the rows for a combat's text (null for
// none): at once while the group is open, else when it is opened.
export function startAdvice(calc, group, choose) {
  const target = group.querySelector('.advice-rows');
  let scenarioText = null;
  let drawn = false;
  function draw() {
    drawn = true;
    if (scenarioText === null) {
      target.replaceChildren();
      group.dataset.rows = '0';
      return;
    }
    const answer = calc.advise(scenarioText);
    if (!answer.valid) {
      target.replaceChildren();
      group.dataset.rows = '0';
      return;
    }
    target.replaceChildren(
      el('p', {class: 'advice-note'}, answer.rows.length > 1
        ? 'Each figure with its difference from the combat as given; choose a change to put it in the answers.'
        : 'No change that the attacker can still make applies to this combat.'),
      tableOf(answer.rows, choose));
    group.dataset.rows = String(answer.rows.length);
    performance.mark('zelvorn-advice-drawn');
  }
  group.open = window.matchMedia('(min-width: 900px)').matches;
  group.addEventListener('toggle', () => {
    if (group.open && !drawn) draw();
  });
  let timer = 0;
  return (text) => {
    scenarioText = text;
    drawn = false;
    clearTimeout(timer);
    if (group.open) {
      // Right after the prediction is on show, once for answers that change
      // faster than the rows are made.
      timer = setTimeout(() => {
        if (group.open && !drawn) draw();
      }, 0);
    } else {
      // Nothing stays on show that belongs to another combat.
      target.replaceChildren();
      delete group.dataset.rows;
    }
  };
}
