// The form: the calculator's fields as controls in groups, filled from the
// calculator's reading of a scenario, turned back into a scenario, and
// showing just the questions that the dialogue asks for the answers.
import {el} from './dom.js';
import {makeBarsList, makeField, makeUnitList, numberOf, readControl, setValue,
        stateAnswer} from './controls.js';
import {labelOf, noteText, RARE_ATTRIBUTES, RARE_TITLE, SECTION_TITLES, SIDE_TITLES,
        tidy} from './words.js';

const SECTION_ORDER = ['general', 'units', 'terrain', 'rugged', 'support', 'softening'];
// On a wide screen the units' table takes the whole width, so that every
// menu shows its longest entry whole; the short groups stand below it in
// two columns.
const WIDE = new Set(['units']);
const FIRST_COLUMN = new Set(['general', 'terrain', 'rugged']);
// Groups a player seldom changes, folded until they hold an answer other
// than the usual one or need one.  The terrain always holds a yes
// somewhere along its chain: it opens only for an answer it needs, and its
// heading says the terrain meanwhile.
const FOLDED_SECTIONS = new Set(['terrain', 'softening']);
const OPENS_ONLY_WHEN_NEEDED = new Set(['terrain']);
const SIDES = ['attacker', 'defender'];

// The units' attributes side by side: a row per attribute, a column per
// side; the rarely used rows in a fold of their own below.
function unitsTable(caption) {
  const head = () => el('thead', {}, el('tr', {}, el('td', {}),
    ...SIDES.map((side) => el('th', {scope: 'col'}, SIDE_TITLES[side]))));
  const main = el('tbody');
  const rare = el('tbody');
  const rareFold = el('details', {class: 'fold', 'data-fold': 'rare'},
    el('summary', {}, RARE_TITLE),
    el('table', {class: 'units-table'}, head(), rare));
  // The main table's head, where each side's preset picker stands.
  const mainHead = head();
  const element = el('div', {class: 'units-block'},
    el('table', {class: 'units-table'}, el('caption', {class: 'visually-hidden'}, caption),
       mainHead, main), rareFold);
  return {element, main, mainHead, rare, rareFold, rows: new Map()};
}

function unitsRow(table, attribute, label) {
  if (table.rows.has(attribute)) return table.rows.get(attribute);
  const cells = {};
  const tr = el('tr', {'data-attribute': attribute}, el('th', {scope: 'row'}, label),
    ...SIDES.map((side) => (cells[side] = el('td', {'data-side': side}))));
  (RARE_ATTRIBUTES.has(attribute) ? table.rare : table.main).append(tr);
  const row = {tr, cells, controls: []};
  table.rows.set(attribute, row);
  return row;
}

// Builds the form inside `container` from the calculator's field catalogue;
// `onChange` runs after every change of an answer.
export function buildForm(container, catalogue, onChange) {
  const barsInfo = catalogue.fields.find((f) => f.kind === 'bars');
  const barsMaximum = barsInfo ? barsInfo.maximum : 0;
  const wide = el('div', {class: 'wide'});
  const columns = [el('div', {class: 'column'}), el('div', {class: 'column'})];
  container.replaceChildren(wide, ...columns);
  const sections = new Map();
  let table = null;
  for (const id of SECTION_ORDER) {
    const heading = el('h2', {id: 'section-' + id}, SECTION_TITLES[id]);
    const body = el('div', {class: 'section-body'});
    let element;
    let fold = null;
    if (FOLDED_SECTIONS.has(id)) {
      fold = el('details', {class: 'fold', 'data-fold': id},
                el('summary', {}, heading, el('span', {class: 'brief'})), body);
      if (OPENS_ONLY_WHEN_NEEDED.has(id)) fold.dataset.opens = 'needed';
      element = el('section', {class: 'section', 'data-section': id,
                               'aria-labelledby': 'section-' + id}, fold);
    } else {
      element = el('section', {class: 'section', 'data-section': id,
                               'aria-labelledby': 'section-' + id}, heading, body);
    }
    if (id === 'units') {
      table = unitsTable(SECTION_TITLES[id]);
      body.append(table.element);
    }
    sections.set(id, {element, body, fold});
    (WIDE.has(id) ? wide : columns[FIRST_COLUMN.has(id) ? 0 : 1]).append(element);
  }
  const form = {catalogue, controls: [], byName: new Map(), sections, asked: new Set(),
                table, folds: [...sections.values()].map((s) => s.fold).filter(Boolean)
                  .concat([table.rareFold])};
  for (const info of catalogue.fields) {
    let control;
    if (info.kind === 'bars') {
      control = makeBarsList(info, info.name, catalogue.combatSupport, barsMaximum, onChange);
    } else if (info.kind === 'units') {
      control = makeUnitList(info, catalogue, barsMaximum, onChange);
    } else {
      control = makeField(info, info.name);
    }
    control.info = info;
    control.section = info.section;
    form.controls.push(control);
    form.byName.set(info.name, control);
    if (info.side) {
      const row = unitsRow(table, info.attribute, labelOf(info));
      control.row = row;
      row.controls.push(control);
      row.cells[info.side].append(control.wrap);
      // The row's heading shows the attribute; the control's own label
      // names the side too, for those who hear it.
      if (control.label) {
        control.label.textContent = SIDE_TITLES[info.side] + ': ' + row.tr.firstChild.textContent;
        control.label.classList.add('visually-hidden');
      }
    } else {
      sections.get(info.section).body.append(control.wrap);
    }
  }
  // A menu or a box answers on change, a number on every keystroke.
  container.addEventListener('change', (event) => {
    if (event.target.matches('select, input[type="checkbox"]')) onChange();
  });
  container.addEventListener('input', (event) => {
    if (event.target.matches('input[type="number"]')) onChange();
  });
  container.addEventListener('submit', (event) => event.preventDefault());
  return form;
}

// Folds every fold again, as for a combat just opened.
export function foldAll(form) {
  for (const fold of form.folds) fold.open = false;
}

// Puts the answers that the calculator read from a scenario into the form
// ({"attacker.strength": 10, "artillery": [{...}], ...}); every other
// question is left blank.
export function fillForm(form, values) {
  for (const control of form.controls) {
    const value = values ? values[control.name] : undefined;
    if (control.kind === 'field') setValue(control, value);
    else control.setValues(Array.isArray(value) ? value : []);
  }
}

function put(scenario, group, key, value) {
  if (group) {
    if (!scenario[group]) scenario[group] = {};
    scenario[group][key] = value;
  } else {
    scenario[key] = value;
  }
}

function barsValues(list) {
  const values = [];
  for (const entry of list.entries) {
    const read = readControl(entry);
    if (read.state !== 'blank') values.push(read.value);
  }
  return values;
}

// The scenario of the form: every answer given, also of
// questions not asked now (the calculator sets those aside, and they come
// back when the question does), and the supporting units up to the first
// one that still lacks an answer the calculator requires of every unit.
export function scenarioOfForm(form) {
  const scenario = {};
  for (const control of form.controls) {
    const info = control.info;
    if (control.kind === 'units') {
      const units = [];
      for (const row of control.rows) {
        const unit = {};
        for (const inner of row.controls) {
          if (inner.kind === 'bars') {
            unit[inner.key] = barsValues(inner);
          } else {
            const read = readControl(inner);
            if (read.state !== 'blank') unit[inner.key] = read.value;
          }
        }
        if (row.controls.some((inner) => inner.info && inner.info.required &&
                              !(inner.key in unit))) break;
        units.push(unit);
      }
      scenario[control.name] = units;
    } else if (control.kind === 'bars') {
      put(scenario, info.group, info.key, barsValues(control));
    } else {
      const read = readControl(control);
      if (read.state !== 'blank') put(scenario, info.group, info.key, read.value);
    }
  }
  return scenario;
}

// Every question control, with whether the dialogue asks it now.
export function* questionControls(form) {
  for (const control of form.controls) {
    const shown = form.asked.has(control.name);
    if (control.kind === 'field') {
      yield {control, shown};
    } else if (control.kind === 'bars') {
      for (const entry of control.entries) yield {control: entry, shown};
    } else {
      for (const row of control.rows) {
        for (const inner of row.controls) {
          if (inner.kind === 'bars') {
            for (const entry of inner.entries) yield {control: entry, shown};
          } else {
            yield {control: inner, shown};
          }
        }
      }
    }
  }
}

// The control of a field by its dotted name, or null.
export function findControl(form, name) {
  for (const {control} of questionControls(form)) {
    if (control.name === name) return control;
  }
  return form.byName.get(name) || null;
}

// Marks a control with an error text, or clears its mark (text null).
export function markError(control, text) {
  const input = control.input;
  const help = control.question.id;
  if (!text) {
    if (!control.error.hidden) {
      control.error.hidden = true;
      control.error.textContent = '';
    }
    if (input.hasAttribute('aria-invalid')) input.removeAttribute('aria-invalid');
    if (input.getAttribute('aria-describedby') !== help) input.setAttribute('aria-describedby', help);
    control.wrap.classList.remove('invalid');
    return;
  }
  control.error.textContent = text;
  control.error.hidden = false;
  input.setAttribute('aria-invalid', 'true');
  input.setAttribute('aria-describedby', control.error.id + ' ' + help);
  control.wrap.classList.add('invalid');
}

function unusual(control) {
  const read = readControl(control);
  if (read.state !== 'ok') return true;
  return control.type === 'yesNo' ? read.value !== false : numberOf(read.value) !== 0;
}

function placeAfter(node, anchor) {
  if (anchor.nextSibling !== node) anchor.after(node);
}

// Shows exactly the questions that the dialogue asks for a prediction's
// answers, each where the dialogue asks it, with the notes on units that
// it would not ask for.
export function showAsked(form, result) {
  form.asked = new Set(result.asked);
  // A yes/no question asked takes a stated answer: the one the figures
  // were computed with, as it was left out.
  for (const {control, shown} of questionControls(form)) {
    if (shown) stateAnswer(control);
  }
  const shownSections = new Set();
  for (const control of form.controls) {
    const shown = form.asked.has(control.name);
    if (control.wrap.hidden === shown) control.wrap.hidden = !shown;
    if (shown) shownSections.add(control.section);
  }
  for (const [id, section] of form.sections) {
    const shown = shownSections.has(id);
    if (section.element.hidden === shown) section.element.hidden = !shown;
  }
  for (const row of form.table.rows.values()) {
    const shown = row.controls.some((control) => form.asked.has(control.name));
    if (row.tr.hidden === shown) row.tr.hidden = !shown;
  }
  const rareShown = [...form.table.rare.children].some((tr) => !tr.hidden);
  if (form.table.rareFold.hidden === rareShown) form.table.rareFold.hidden = !rareShown;
  // A fold opens by itself when a question in it needs an answer or holds
  // one other than the usual (a yes, a neither, a number other than zero),
  // so that nothing the dialogue asks next stays out of sight.
  for (const fold of form.folds) {
    const brief = fold.querySelector(':scope > summary > .brief');
    if (brief) {
      const yes = [...questionControls(form)].filter(({control, shown}) =>
        shown && fold.contains(control.wrap) && control.type === 'yesNo' &&
        control.answer === true).map(({control}) => control.label.textContent);
      const text = yes.length ? ': ' + yes.join(', ') : '';
      if (brief.textContent !== text) brief.textContent = text;
    }
    if (fold.open) continue;
    const needed = fold.dataset.opens === 'needed';
    for (const {control, shown} of questionControls(form)) {
      if (shown && fold.contains(control.wrap) &&
          (needed ? readControl(control).state !== 'ok' : unusual(control))) {
        fold.open = true;
        break;
      }
    }
  }
  // A question that this combat words in its own way (a half-track's
  // infantry leader), or the field's own question again.
  for (const control of form.controls) {
    if (control.kind !== 'field') continue;
    const tidied = tidy((result.prompts || {})[control.name] || control.info.prompt);
    if (control.question.textContent !== tidied) {
      control.question.textContent = tidied;
      control.helpButton.title = tidied;
    }
  }
  // Questions asked within a list of supporting units stand after what the
  // calculator names: a unit's question, a unit, or the list's units.
  for (const [name, after] of Object.entries(result.placed || {})) {
    const control = form.byName.get(name);
    const list = form.byName.get(after);
    const anchor = list && list.kind === 'units' ? {wrap: list.rowsElement}
      : findRow(form, after) || findControl(form, after);
    if (control && anchor) placeAfter(control.wrap, anchor.wrap);
  }
  const notes = new Map();
  for (const note of result.notes) {
    for (const unit of note.units || []) notes.set(unit, noteText(note));
  }
  for (const name of ['artillery', 'airDefense']) {
    const list = form.byName.get(name);
    if (!list) continue;
    for (const row of list.rows) {
      const text = notes.get(row.name) || '';
      row.note.hidden = !text;
      row.note.textContent = text;
      row.wrap.classList.toggle('ignored', Boolean(text));
    }
  }
}

function findRow(form, name) {
  for (const list of ['artillery', 'airDefense']) {
    const control = form.byName.get(list);
    const row = control && control.rows.find((r) => r.name === name);
    if (row) return row;
  }
  return null;
}
