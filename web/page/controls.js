// The controls of the calculator's fields: a number, a menu or a yes/no
// box for one question, the list of experience bars of a unit's Combat
// Support, and the list of supporting units with their own questions.
// Each shows a short label, and the dialogue's question as its description.
import {el, idOf} from './dom.js';
import {labelOf, menuWord, tidy, UNIT_WORDS} from './words.js';

// A small button that shows the dialogue's question (`help`) below a
// field, in the flow of the page, and hides it again; a pointer resting on
// it shows the question too.  `labelId` names the field it helps.
export function helpToggle(id, help, labelId) {
  const words = el('span', {id: id + '-help-name', class: 'visually-hidden'},
                   'The console\'s question:');
  const button = el('button', {type: 'button', class: 'help-toggle', id: id + '-help-button',
                               'aria-expanded': 'false', 'aria-controls': help.id,
                               'aria-labelledby': words.id + ' ' + labelId,
                               title: help.textContent},
                    el('span', {'aria-hidden': 'true'}, '?'), words);
  help.classList.add('collapsed');
  button.addEventListener('click', () => {
    const open = button.getAttribute('aria-expanded') !== 'true';
    button.setAttribute('aria-expanded', String(open));
    help.classList.toggle('collapsed', !open);
  });
  // The question may change with other answers (a half-track's leader).
  button.addEventListener('pointerenter', () => { button.title = help.textContent; });
  return button;
}

// One question.  `onChange` runs after any change the control makes by
// itself (a removal or an addition).
export function makeField(info, name) {
  const id = idOf(name);
  const help = el('p', {id: id + '-help', class: 'help question'}, tidy(info.prompt));
  const error = el('p', {id: id + '-error', class: 'error', hidden: true});
  const label = el('label', {for: id, id: id + '-label'}, labelOf(info));
  let input;
  let type;
  if (info.kind === 'yesNo') {
    type = 'yesNo';
    input = el('input', {id, type: 'checkbox', 'aria-describedby': help.id});
  } else if (info.options && info.options.length) {
    // Each entry keeps the word a file gives for it.
    type = 'menu';
    input = el('select', {id, 'aria-describedby': help.id},
      el('option', {value: ''}, '— choose —'),
      ...info.options.map((option, i) => el('option', {value: String(i + 1), 'data-word': option}, menuWord(info, i))));
  } else {
    type = 'number';
    input = el('input', {id, type: 'number', inputmode: 'numeric', step: 1,
                         min: info.minimum, max: info.maximum,
                         // Blank, the field takes the value a file that
                         // leaves it out takes; the page says which.
                         placeholder: info.default === undefined ? null : String(info.default),
                         'aria-describedby': help.id});
  }
  input.dataset.field = name;
  // A yes/no box says "neither" in words beside its mark, so that no
  // answer looks like another.
  const neither = type === 'yesNo' ? el('span', {class: 'neither', hidden: true}, 'neither') : null;
  const helpButton = helpToggle(id, help, label.id);
  const wrap = el('div', {class: 'field ' + type, 'data-name': name},
                  type === 'yesNo' ? el('span', {class: 'check'}, input, label, neither, helpButton)
                    : label,
                  type === 'yesNo' ? null : el('span', {class: 'line'}, input, helpButton),
                  help, error);
  const control = {kind: 'field', type, name, info, wrap, input, label, neither, helpButton,
                   question: help, error};
  if (type === 'yesNo') {
    // Clicks go round the three answers a file may give: no, yes, neither
    // (the dialogue's empty answer), and no again.
    input.addEventListener('click', () => {
      control.answer = NEXT_ANSWER.get(control.answer);
      showYesNo(control);
    });
  }
  return control;
}

const NEXT_ANSWER = new Map([[false, true], [true, null], [null, false], [undefined, true]]);

function showYesNo(control) {
  const input = control.input;
  input.checked = control.answer === true;
  input.indeterminate = control.answer === null;
  control.neither.hidden = control.answer !== null;
  input.dataset.value = control.answer === undefined ? '' : String(control.answer);
}

// Gives a yes/no question that has no answer yet the one the calculator
// takes for an answer left out (the catalogue's `default`), on show, so
// that what the box shows is what the figures take.
export function stateAnswer(control) {
  if (control.type !== 'yesNo' || control.answer !== undefined) return;
  const value = control.info.default;
  control.answer = value === true || value === null ? value : false;
  showYesNo(control);
}

// Gives a control a value from the calculator's reading of a scenario (a
// number, true, false or null), or none.
export function setValue(control, value) {
  const input = control.input;
  if (control.type === 'yesNo') {
    control.answer = value === true || value === false || value === null ? value : undefined;
    showYesNo(control);
  } else if (typeof value === 'number' && Number.isInteger(value)) {
    input.value = String(value);
    if (control.type === 'menu' && input.value !== String(value)) input.value = '';
  } else if (typeof value === 'string') {
    input.value = value;
  } else {
    input.value = '';
  }
}

// What a control holds: nothing yet, or a value to give the calculator,
// which alone says whether the question takes it; a number the browser
// cannot read as one is 'bad'.
export function readControl(control) {
  const input = control.input;
  if (control.type === 'yesNo') {
    return control.answer === undefined ? {state: 'blank'} : {state: 'ok', value: control.answer};
  }
  if (control.type === 'menu') {
    if (input.value === '') return {state: 'blank'};
    return {state: 'ok', value: Number(input.value)};
  }
  // Given as a text, so that the calculator says what the field takes.
  if (input.validity && input.validity.badInput) return {state: 'bad', value: ''};
  return readNumber(input.value);
}

const JSON_NUMBER = /^-?(0|[1-9]\d*)(\.\d+)?([eE][-+]?\d+)?$/;

// A number typed, as the calculator is to read it: as written where it is
// a JSON number (so that 1e3 or 1.5 reaches the reader as typed), else as
// the number it stands for; blank, or 'bad' where it is no number at all.
export function readNumber(typed) {
  const text = typed.trim();
  if (text === '') return {state: 'blank'};
  const value = Number(text);
  if (JSON_NUMBER.test(text)) return {state: 'ok', value: asWritten(text, value)};
  if (!Number.isFinite(value)) return {state: 'bad', value: text};
  return {state: 'ok', value};
}

// A number that JSON.stringify writes as `text`, where the browser can
// (JSON.rawJSON), else the number itself.
function asWritten(text, value) {
  if (typeof JSON.rawJSON === 'function' && String(value) !== text) return JSON.rawJSON(text);
  return value;
}

// The number a control's value stands for (a value written as typed, or a
// plain number).
export function numberOf(value) {
  return value !== null && typeof value === 'object' ? Number(value.rawJSON) : value;
}

// The text of a field as it stands, to put back after the list around it
// is built anew.
function rawValue(control) {
  return control.type === 'yesNo' ? control.answer : control.input.value;
}

// The experience bars of each Combat Support unit next to a unit: the
// field `info` of the calculator's list, at `name`.
export function makeBarsList(info, name, support, barsMaximum, onChange) {
  const list = {kind: 'bars', name, entries: []};
  const id = idOf(name);
  const question = el('p', {id: id + '-help', class: 'help question'}, tidy(support.first));
  const title = el('span', {id: id + '-label', class: 'short'}, labelOf(info));
  const items = el('ol', {class: 'entries'});
  const add = el('button', {type: 'button', class: 'add', 'data-add': name},
                 'Add a Combat Support unit');
  list.wrap = el('fieldset', {class: 'field list', 'data-name': name},
                 el('legend', {}, title, helpToggle(id, question, title.id)),
                 question, items, add);
  list.question = question;
  list.addButton = add;
  list.values = () => list.entries.map(rawValue);
  list.setValues = (values) => {
    list.entries = [];
    items.replaceChildren();
    values.forEach((value) => appendEntry(value));
  };
  function appendEntry(value) {
    const index = list.entries.length;
    const entryName = name + '.' + index;
    const field = makeField({kind: 'whole', key: 'bars', prompt: support.bars,
                             minimum: 0, maximum: barsMaximum}, entryName);
    field.label.textContent = 'Experience bars of unit ' + (index + 1);
    const remove = el('button', {type: 'button', class: 'remove', 'data-remove': entryName},
                      'Remove', el('span', {class: 'visually-hidden'},
                                   ' Combat Support unit ' + (index + 1)));
    remove.addEventListener('click', () => {
      const values = list.values();
      values.splice(index, 1);
      list.setValues(values);
      const next = list.entries[Math.min(index, list.entries.length - 1)];
      (next ? next.input : add).focus();
      onChange();
    });
    field.wrap.append(remove);
    items.append(el('li', {}, field.wrap));
    setValue(field, value);
    list.entries.push(field);
    return field;
  }
  add.addEventListener('click', () => {
    appendEntry(undefined).input.focus();
    onChange();
  });
  return list;
}

// The artillery pieces or the air-defense units, each with its questions.
export function makeUnitList(info, catalogue, barsMaximum, onChange) {
  const kind = info.name;
  const words = UNIT_WORDS[kind];
  const list = {kind: 'units', type: kind, name: kind, info, rows: []};
  const id = idOf(kind);
  const question = el('p', {id: id + '-help', class: 'help question'}, tidy(info.prompt));
  const title = el('span', {id: id + '-label'}, labelOf(info));
  const rows = el('div', {class: 'rows'});
  const add = el('button', {type: 'button', class: 'add', 'data-add': kind}, words.add);
  list.wrap = el('fieldset', {class: 'field units', 'data-name': kind},
                 el('legend', {}, title, helpToggle(id, question, title.id)),
                 question, rows, add);
  list.question = question;
  list.rowsElement = rows;
  list.addButton = add;
  list.values = () => list.rows.map((row) => {
    const values = {};
    for (const control of row.controls) {
      values[control.key] = control.kind === 'bars' ? control.values() : rawValue(control);
    }
    return values;
  });
  list.setValues = (values) => {
    list.rows = [];
    rows.replaceChildren();
    values.forEach((value) => appendRow(value));
  };
  function appendRow(values) {
    const index = list.rows.length;
    const rowName = kind + '.' + index;
    const controls = [];
    const row = el('fieldset', {class: 'unit', 'data-name': rowName},
                   el('legend', {}, words.one + ' ' + (index + 1)));
    const remove = el('button', {type: 'button', class: 'remove', 'data-remove': rowName},
                      'Remove ' + words.one.toLowerCase() + ' ' + (index + 1));
    const note = el('p', {class: 'note', hidden: true});
    for (const unitInfo of catalogue[kind]) {
      const name = rowName + '.' + unitInfo.key;
      const value = values && typeof values === 'object' ? values[unitInfo.key] : undefined;
      const control = unitInfo.kind === 'bars'
        ? makeBarsList(unitInfo, name, catalogue.combatSupport, barsMaximum, onChange)
        : makeField(unitInfo, name);
      control.key = unitInfo.key;
      controls.push(control);
      row.append(control.wrap);
      if (control.kind === 'bars') control.setValues(Array.isArray(value) ? value : []);
      else setValue(control, value);
    }
    row.append(note, remove);
    remove.addEventListener('click', () => {
      const all = list.values();
      all.splice(index, 1);
      list.setValues(all);
      const next = list.rows[Math.min(index, list.rows.length - 1)];
      (next ? next.remove : add).focus();
      onChange();
    });
    const entry = {wrap: row, controls, remove, note, name: rowName};
    list.rows.push(entry);
    rows.append(row);
    return entry;
  }
  add.addEventListener('click', () => {
    appendRow(null).controls[0].input.focus();
    onChange();
  });
  return list;
}
