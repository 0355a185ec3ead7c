// Presets on screen: a picker and a "Save as preset" button over each
// side's column of the units' table, the tools that rename, delete, import
// and export them, and the Compare view (the combat on screen against every
// preset of one side, a row each).  It draws what it is given.
import {el} from './dom.js';
import {setValue} from './controls.js';
import {SIDE_TITLES} from './words.js';

const SIDES = ['attacker', 'defender'];

// The Compare view's figures in a player's words, by the name --sort gives
// each: its title, where it stands in a row, and whether it shows before
// the player asks for every figure.
const figure = (group, key) => (row) => (row[group] ? row[group][key] : null);
const FIGURE_WORDS = {
  attackerLosses: ['Attacker loses', figure('odds', 'attackerLosses'), true],
  defenderLosses: ['Defender loses', figure('odds', 'defenderLosses'), true],
  defenderSuppression: ['Sup\u00adpres\u00adsion', figure('odds', 'defenderSuppression'), true],
  attackerLossesNoSupport: ['Attacker loses, no support',
                            figure('oddsNoSupport', 'attackerLosses'), false],
  defenderLossesNoSupport: ['Defender loses, no support',
                            figure('oddsNoSupport', 'defenderLosses'), false],
  defenderSuppressionNoSupport: ['Suppression, no support',
                                 figure('oddsNoSupport', 'defenderSuppression'), false],
  ruggedChance: ['Rugged defense %', (row) => row.ruggedChance, true],
  ruggedAttackerLosses: ['Rugged: attacker loses', figure('rugged', 'attackerLosses'), false],
  ruggedDefenderLosses: ['Rugged: defender loses', figure('rugged', 'defenderLosses'), false],
  ruggedDefenderSuppression: ['Rugged: suppression', figure('rugged', 'defenderSuppression'),
                              false],
};

// The Compare view's columns: the preset, then the calculator's figures
// (`figures`, the module's list, in the order of --compare's CSV), each
// with whether more of it is better for the attacker, as the calculator
// sorts by it.  A figure the page has no words for keeps its name.
export function compareColumns(figures) {
  return [{key: 'preset', title: 'Preset', get: (row) => row.preset, more: false, main: true},
    ...figures.map(({name, moreIsBetter}) => {
      const [title, get, main] = FIGURE_WORDS[name] || [name, () => null, false];
      return {key: name, title, get, more: moreIsBetter, main};
    })];
}

const given = (value) => value !== null && value !== undefined;

// The columns on show among `columns`: every one when `every`; else the
// preset, the figures that matter and the one sorted by, leaving out a
// figure that no row has.
export function shownColumns(columns, rows, sortKey, every) {
  return columns.filter((column) => every || column.key === 'preset' ||
    ((column.main || column.key === sortKey) &&
     rows.some((row) => !row.error && given(column.get(row)))));
}

const ENTITIES = {'&': '&amp;', '<': '&lt;', '>': '&gt;', '"': '&quot;'};
const escaped = (text) => String(text).replace(/[&<>"]/g, (c) => ENTITIES[c]);

// Draws a row of pickers over the units' table (`form.table.mainHead`) and
// the preset tools below it; gives their elements by name.
export function drawPresetTools(form) {
  const parts = {pickers: {}, saves: {}};
  const cells = SIDES.map((side) => {
    const id = 'preset-' + side;
    parts.pickers[side] = el('select', {id, class: 'preset-picker', 'data-side': side});
    parts.saves[side] = el('button', {type: 'button', id: 'save-' + side}, 'Save as preset');
    return el('td', {class: 'presets'},
              el('label', {for: id, class: 'visually-hidden'}, SIDE_TITLES[side] + ' preset'),
              parts.pickers[side], parts.saves[side]);
  });
  form.table.mainHead.append(el('tr', {}, el('td'), ...cells));
  const button = (id, text) => (parts[id] = el('button', {type: 'button', id}, text));
  parts.manage = el('select', {id: 'preset-manage'});
  parts.importRoster = el('input', {type: 'file', id: 'import-roster',
                                    accept: '.json,application/json'});
  parts.fold = el('details', {class: 'fold', id: 'preset-fold'},
    el('summary', {}, 'Kept presets: rename, delete, import, export'),
    el('div', {class: 'section-body tools'},
       el('label', {for: 'preset-manage'}, 'Preset:'), parts.manage,
       button('rename-preset', 'Rename'), button('delete-preset', 'Delete'),
       button('export-roster', 'Export presets'),
       el('label', {for: 'import-roster'}, 'Import presets:'), parts.importRoster));
  parts.status = el('p', {id: 'roster-status', class: 'status', role: 'status'});
  parts.messages = el('pre', {id: 'roster-messages', class: 'messages', hidden: true});
  // What an imported roster does to the presets kept already.
  parts.importChoice = el('p', {id: 'import-choice', class: 'tools', hidden: true},
    button('import-add', 'Add them'), button('import-replace', 'Replace the kept ones'),
    button('import-cancel', 'Cancel'));
  form.sections.get('units').body.append(parts.status, parts.importChoice, parts.messages,
                                         parts.fold);
  return parts;
}

// Fills a menu with the names of presets; `prompt` first, when given.
export function fillMenu(select, names, prompt) {
  const options = names.map((name) => el('option', {value: name}, name));
  if (prompt !== undefined) options.unshift(el('option', {value: ''}, prompt));
  select.replaceChildren(...options);
}

// Puts a preset's answers for one side into the form: every answer that a
// preset can give that side (`names`, dotted) is set, blank where `values`
// has none.
export function fillSide(form, names, values) {
  for (const name of names) {
    const control = form.byName.get(name);
    if (!control) continue;
    const value = values ? values[name] : undefined;
    if (control.kind === 'field') setValue(control, value);
    else control.setValues(Array.isArray(value) ? value : []);
  }
}

// Draws rows of --compare --json (in the order given, that of the column
// `sortKey`) under the columns of compareColumns(figures), and the lines of
// `messages`, into `container`: the columns that matter or (`every`) every
// figure; a column's heading asks for its order (`onSort(key)`), a
// preset's name opens its combat (`onOpen(name)`).
export function drawCompare(container, figures, rows, messages, sortKey, onSort, onOpen,
                            every) {
  const columns = shownColumns(compareColumns(figures), rows, sortKey, every);
  const head = el('tr', {}, ...columns.map((column) => el('th', {
    scope: 'col',
    'aria-sort': column.key !== sortKey ? null : column.more ? 'descending' : 'ascending',
  }, el('button', {type: 'button', class: 'sort', 'data-sort': column.key}, column.title))));
  // A thousand rows are drawn as one text: much faster than node by node.
  const shown = columns.slice(1);
  const body = el('tbody');
  body.innerHTML = rows.map((row) => '<tr data-preset="' + escaped(row.preset) +
    '"><th scope="row"><button type="button" class="open">' + escaped(row.preset) +
    '</button></th>' + (row.error
      ? '<td class="error" colspan="' + shown.length + '">' +
        escaped(row.error.text) + '</td>'
      : shown.map((column) => {
        const value = column.get(row);
        return '<td data-column="' + column.key + '">' +
          (given(value) ? escaped(value) : '\u2013') + '</td>';
      }).join('')) + '</tr>').join('');
  const table = el('table', {class: 'compare-table'}, el('thead', {}, head), body);
  table.addEventListener('click', (event) => {
    const button = event.target.closest('button');
    if (!button) return;
    if (button.dataset.sort) onSort(button.dataset.sort);
    else onOpen(button.closest('tr').dataset.preset);
  });
  container.replaceChildren(
    messages.length ? el('pre', {class: 'messages'}, messages.join('\n')) : '', table);
}
