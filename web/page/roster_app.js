// The presets' part of the page: joins the roster kept in the browser and
// its files (presets.js) with their drawing (roster_view.js) and the
// calculator, which checks every roster as --roster does and computes the
// Compare view as --compare does.
import {download} from './files.js';
import {findControl, scenarioOfForm} from './form.js';
import {browserStorage, keepRoster, keptRoster, presetOf, renamed, rosterFileText, rosterText,
        withPreset, without} from './presets.js';
import {drawCompare, drawPresetTools, fillMenu, fillSide} from './roster_view.js';
import {SIDE_TITLES} from './words.js';

const SIDES = ['attacker', 'defender'];
const byId = (id) => document.getElementById(id);

// Starts the presets on the built form.  `current()` gives the text of the
// combat whose figures are on screen (null when none are), and `changed()`
// recomputes after a preset has filled a column.  Gives the function to
// call after every recomputation.
export function startPresets(calc, catalogue, form, current, changed) {
  const fields = catalogue.presetFields;
  const parts = drawPresetTools(form);
  let presets = [];
  let text = rosterText([]);
  let comparing = null;
  // No column chosen: the rows in the calculator's own order, as --compare
  // without --sort gives them.
  let sortKey = '';
  const storage = browserStorage();
  // A kept roster that the calculator refuses: offered as a file before
  // anything replaces it, so that no preset is lost unseen.
  let unread = null;
  // The preset each picker shows, with its column's answers as the pick
  // left them: the name stays on show only while the column holds them.
  const picked = {attacker: null, defender: null};

  function say(status, lines) {
    parts.status.textContent = status;
    parts.messages.textContent = (lines || []).join('\n');
    parts.messages.hidden = !lines || !lines.length;
  }

  function redraw(list) {
    for (const side of SIDES) {
      const own = list.filter((p) => p[side]).map((p) => p.name);
      fillMenu(parts.pickers[side], own, own.length ? 'Preset\u2026' : 'No presets');
      if (picked[side] && own.includes(picked[side].name)) {
        parts.pickers[side].value = picked[side].name;
      } else {
        picked[side] = null;
      }
      byId('compare-' + side).dataset.presets = own.length;
    }
    fillMenu(parts.manage, list.map((p) => p.name));
    for (const id of ['rename-preset', 'delete-preset', 'export-roster']) {
      parts[id].disabled = !list.length;
    }
    refresh();
  }

  // Takes `next` when the calculator reads it as a roster (saying `done`),
  // or shows its error lines and keeps the presets as they were.
  function take(next, done) {
    const candidate = rosterText(next);
    const reading = calc.roster(candidate, 'presets', true);
    if (!reading.valid) return say('Not kept:', reading.messages);
    if (unread !== null) {
      if (confirm('The presets kept earlier in this browser could not be read. ' +
                  'Download them before they are replaced?')) {
        download(unread, 'zelvorn-roster-unread.json');
      }
      unread = null;
    }
    presets = next;
    text = candidate;
    say(done + (keepRoster(storage, text) ? ''
      : ' The browser does not keep them for your next visit.'));
    redraw(reading.presets);
  }

  const sideNames = (side) => fields.map((f) => f[side]).filter(Boolean);

  // The answers of a side's column, as one text to compare.
  function column(side) {
    const scenario = scenarioOfForm(form);
    return JSON.stringify(sideNames(side).map((dotted) => {
      const [group, key] = dotted.split('.');
      return key === undefined ? scenario[group] : (scenario[group] || {})[key];
    }));
  }

  function pick(side, name) {
    picked[side] = null;
    fillSide(form, sideNames(side), calc.preset(name, side));
    say(SIDE_TITLES[side] + ': ' + name + '.');
    changed();
    picked[side] = {name, column: column(side)};
    parts.pickers[side].value = name;
  }

  function save(side) {
    // A preset holds what the calculator takes: a value it refuses is
    // corrected first, never left out unseen.
    const wrong = sideNames(side).map((dotted) => findControl(form, dotted))
      .find((control) => control && control.input &&
            control.input.getAttribute('aria-invalid') === 'true');
    if (wrong) {
      say('Not saved: ' + wrong.error.textContent);
      wrong.input.focus();
      return;
    }
    const name = (prompt('Name of this ' + side + ' preset:') || '').trim();
    if (!name) return;
    // The unit as the combat on screen has it: its answers asked now.
    const scenario = scenarioOfForm(form);
    const answers = new Map();
    for (const dotted of form.asked) {
      const [group, key] = dotted.split('.');
      const value = key === undefined ? scenario[group] : (scenario[group] || {})[key];
      if (value !== undefined) answers.set(dotted, value);
    }
    const replaced = presets.some((p) => p.name === name);
    take(withPreset(presets, presetOf(name, side, fields, answers)),
         (replaced ? 'Replaced ' : 'Saved ') + name + '.');
  }

  function rename() {
    const from = parts.manage.value;
    const to = from && (prompt('New name of ' + from + ':', from) || '').trim();
    if (!to || to === from) return;
    const next = renamed(presets, from, to);
    if (next) take(next, 'Renamed ' + from + ' to ' + to + '.');
    else say(to + ' is already the name of a preset.');
  }

  // The presets of a roster file read, waiting for the player to say
  // whether they join the kept ones or replace them.
  let imported = null;

  async function importRoster() {
    const file = parts.importRoster.files[0];
    if (!file) return;
    const bytes = await rosterFileText(file, catalogue.longestRoster);
    parts.importRoster.value = '';
    chooseImport(false);
    const reading = calc.roster(bytes, file.name, false);
    if (!reading.valid) return say(file.name + ' is not read:', reading.messages);
    let incoming;
    try {
      incoming = JSON.parse(new TextDecoder().decode(bytes)).presets;
    } catch (error) {
      return say(file.name + ' is not read: ' + error.message);
    }
    if (!presets.length) return take(incoming, 'Read ' + file.name + '.');
    imported = {name: file.name, presets: incoming};
    say(file.name + ' holds ' + count(incoming.length) + '; ' + count(presets.length) +
        ' kept here. Add them to the kept ones, or replace those?');
    chooseImport(true);
  }

  const count = (n) => n + (n === 1 ? ' preset' : ' presets');

  function chooseImport(shown) {
    parts.importChoice.hidden = !shown;
    if (shown) parts['import-add'].focus();
    else imported = null;
  }

  // Takes the presets imported, added to the kept ones (where a name is
  // taken, the file's preset replaces the kept one) or in place of them.
  // What is replaced is offered as a file first.
  function finishImport(adding) {
    const {name, presets: incoming} = imported;
    chooseImport(false);
    const names = new Set(incoming.map((p) => p.name));
    const lost = adding ? presets.filter((p) => names.has(p.name)) : presets;
    if (lost.length && confirm('Download the ' + count(lost.length) +
                               ' replaced before they go?')) {
      download(rosterText(lost), 'zelvorn-roster-replaced.json');
    }
    const next = adding ? incoming.reduce(withPreset, presets) : incoming;
    take(next, (adding ? 'Added ' : 'Read ') + name + '.');
    parts.importRoster.focus();
  }

  // The Compare view of the side compared, drawn anew; the focus stays on
  // the button it was on.
  function refresh() {
    for (const side of SIDES) {
      if (picked[side] && column(side) !== picked[side].column) {
        picked[side] = null;
        parts.pickers[side].value = '';
      }
    }
    const scenario = current();
    for (const side of SIDES) {
      const button = byId('compare-' + side);
      button.disabled = !scenario || button.dataset.presets === '0';
      button.setAttribute('aria-pressed', comparing === side);
    }
    const box = byId('compare');
    box.hidden = !comparing || !scenario;
    if (box.hidden) return;
    const answer = calc.compare(scenario, comparing, sortKey);
    byId('compare-heading').textContent = 'This combat with each ' + comparing + ' preset';
    box.dataset.side = comparing;
    const focused = document.activeElement;
    const mark = (b) => (b.dataset.sort ? 's' + b.dataset.sort : 'p' + b.textContent);
    const again = box.contains(focused) && focused.tagName === 'BUTTON' && mark(focused);
    drawCompare(byId('compare-table'), catalogue.figures, answer.rows, answer.messages,
                sortKey, (key) => {
                  sortKey = key;
                  refresh();
                }, (name) => pick(comparing, name), byId('compare-every').checked);
    if (again) {
      const found = [...box.querySelectorAll('button')].find((b) => mark(b) === again);
      if (found) found.focus();
    }
  }

  for (const side of SIDES) {
    // Chosen here, not an answer of the form's.  The name stays on show,
    // so that arrow keys may go from preset to preset.
    parts.pickers[side].addEventListener('change', (event) => {
      event.stopPropagation();
      if (event.target.value) pick(side, event.target.value);
    });
    parts.saves[side].addEventListener('click', () => save(side));
    byId('compare-' + side).addEventListener('click', () => {
      comparing = comparing === side ? null : side;
      refresh();
    });
  }
  byId('compare-every').addEventListener('change', refresh);
  parts.manage.addEventListener('change', (event) => event.stopPropagation());
  parts['rename-preset'].addEventListener('click', rename);
  parts['delete-preset'].addEventListener('click', () => {
    const name = parts.manage.value;
    if (name && confirm('Delete the preset ' + name + '?')) {
      take(without(presets, name), 'Deleted ' + name + '.');
    }
  });
  parts['export-roster'].addEventListener('click', () => download(text, 'zelvorn-roster.json'));
  parts.importRoster.addEventListener('change', importRoster);
  parts['import-add'].addEventListener('click', () => finishImport(true));
  parts['import-replace'].addEventListener('click', () => finishImport(false));
  parts['import-cancel'].addEventListener('click', () => {
    chooseImport(false);
    say('Nothing imported.');
    parts.importRoster.focus();
  });

  const kept = keptRoster(storage);
  const reading = kept === null ? null : calc.roster(kept, 'presets', true);
  if (reading && reading.valid) {
    presets = JSON.parse(kept).presets;
    text = kept;
  } else if (reading) {
    unread = kept;
    say('The presets kept in this browser are not read (they are offered as a file ' +
        'before any preset replaces them):', reading.messages);
  }
  redraw(reading && reading.valid ? reading.presets : []);
  return refresh;
}
