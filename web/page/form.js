// The form: the calculator's fields as controls in groups, filled from the
// calculator's reading of a scenario, turned back into a scenario, and
// showing just the questions that the dialogue asks for the answers.
import {el} from './dom.js';
import {makeBarsList, makeField, makeUnitList, readControl, setValue} from './controls.js';
import {noteText, SECTION_TITLES, tidy} from './words.js';

const SECTION_ORDER = ['general', 'attacker', 'defender', 'terrain', 'rugged', 'support'];
// Two columns on a wide screen: the general factors and the attacker, then
// the rest.
const SECOND_COLUMN = new Set(['defender', 'terrain', 'rugged', 'support']);

// Builds the form inside `container` from the calculator's field catalogue;
// `onChange` runs after every change of an answer.
export function buildForm(container, catalogue, onChange) {
  const barsInfo = catalogue.fields.find((f) => f.kind === 'bars');
  const barsMaximum = barsInfo ? barsInfo.maximum : 0;
  const columns = [el('div', {class: 'column'}), el('div', {class: 'column'})];
  container.replaceChildren(...columns);
  const sections = new Map();
  for (const id of SECTION_ORDER) {
    const heading = el('h2', {id: 'section-' + id}, SECTION_TITLES[id]);
    const body = el('div', {class: 'section-body'});
    const element = el('section', {class: 'section', 'data-section': id,
                                   'aria-labelledby': 'section-' + id}, heading, body);
    sections.set(id, {element, body});
    columns[SECOND_COLUMN.has(id) ? 1 : 0].append(element);
  }
  const form = {catalogue, controls: [], byName: new Map(), sections, asked: new Set()};
  const later = catalogue.fields.filter((info) => info.after);
  for (const info of catalogue.fields) {
    if (info.after) continue;
    add(info);
    for (const follower of later) if (follower.after === info.name) add(follower);
  }
  function add(info) {
    let control;
    if (info.kind === 'bars') {
      control = makeBarsList(info.name, catalogue.combatSupport, barsMaximum, onChange);
    } else if (info.kind === 'units') {
      control = makeUnitList(info, catalogue, barsMaximum, onChange);
    } else {
      control = makeField(info, info.name);
    }
    control.info = info;
    control.section = info.section;
    form.controls.push(control);
    form.byName.set(info.name, control);
    sections.get(info.section).body.append(control.wrap);
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
    if (read.state === 'ok') values.push(read.value);
  }
  return values;
}

// The scenario of the form: every answer that its question takes, also of
// questions not asked now (the calculator sets those aside, and they come
// back when the question does), and the supporting units up to the first
// one that still lacks its strength.
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
            if (read.state === 'ok') unit[inner.key] = read.value;
          }
        }
        if (!('strength' in unit)) break;
        units.push(unit);
      }
      scenario[control.name] = units;
    } else if (control.kind === 'bars') {
      put(scenario, info.group, info.key, barsValues(control));
    } else {
      const read = readControl(control);
      if (read.state === 'ok') put(scenario, info.group, info.key, read.value);
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

function placeAfter(node, anchor) {
  if (anchor.nextSibling !== node) anchor.after(node);
}

// Shows exactly the questions that the dialogue asks for a prediction's
// answers, each where the dialogue asks it, with the notes on units that
// it would not ask for.
export function showAsked(form, result) {
  form.asked = new Set(result.asked);
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
  // The half-track's own wording.
  const leader = form.byName.get('general.attackerInfantryLeader');
  const attackerClass = form.byName.get('general.attackerClass');
  if (leader && attackerClass) {
    const halfTrack = form.catalogue.halfTrack;
    const text = readControl(attackerClass).value === halfTrack.class
      ? halfTrack.leaderPrompt : leader.info.prompt;
    const tidied = tidy(text);
    if (leader.question.textContent !== tidied) leader.question.textContent = tidied;
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
