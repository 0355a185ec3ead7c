// The calculator's page: a form that asks what the dialogue asks, in its
// words and its order, and the prediction for the answers after every
// change.  The calculator itself runs as WebAssembly (zelvorn.js); this file
// only builds the form from its field catalogue, turns the answers into a
// scenario, and shows what comes back.
'use strict';

(function () {
  // ---------------------------------------------------------------- texts

  // A question or an error text as the dialogue prints it, made fit for a
  // label: no leading line feed, no trailing answer marker, one line.
  function tidy(text) {
    return text.replace(/^\n+/, '').replace(/\n>> $/, '').replace(/\n/g, ' ').trim();
  }

  // Where the dialogue asks the fields that stand outside the four groups.
  const SECTIONS = [
    {id: 'general', title: 'General Factors', column: 0},
    {id: 'attacker', title: 'Attacker Attributes', column: 0},
    {id: 'defender', title: 'Defender Attributes', column: 1},
    {id: 'terrain', title: 'Terrain Factors', column: 1},
    {id: 'rugged', title: 'Rugged Defense Factor', column: 1},
    {id: 'support', title: 'Support Fire', column: 1},
  ];
  const TOP_SECTION = {
    combatRange: 'defender',
    timesAttacked: 'defender',
    attackerCloseDefense: 'rugged',
    artillery: 'support',
    attackerGroundDefense: 'support',
    airDefense: 'support',
    airplaneAirDefense: 'support',
  };
  // The number of times attacked is asked among the defender's answers,
  // after the question about a ship attacked by another ship.
  const TIMES_ATTACKED_AFTER = 'defender.shipAlreadyAttackedByShip';

  const UNIT_WORDS = {
    artillery: {one: 'Artillery piece', add: 'Add an artillery piece'},
    airDefense: {one: 'Supporting unit', add: 'Add a supporting unit'},
  };

  const FIGURE_NAMES = {
    attackerLosses: 'Attacker loses',
    defenderLosses: 'Defender loses',
    defenderSuppression: 'Defender sup\u00adpres\u00adsion',
  };

  // ---------------------------------------------------------------- DOM

  function el(tag, attributes, ...children) {
    const node = document.createElement(tag);
    for (const [name, value] of Object.entries(attributes || {})) {
      if (value === false || value === null || value === undefined) continue;
      node.setAttribute(name, value === true ? '' : String(value));
    }
    for (const child of children) {
      if (child === null || child === undefined || child === false) continue;
      node.append(child);
    }
    return node;
  }

  const SVG = 'http://www.w3.org/2000/svg';
  function svg(tag, attributes, ...children) {
    const node = document.createElementNS(SVG, tag);
    for (const [name, value] of Object.entries(attributes || {})) {
      node.setAttribute(name, String(value));
    }
    for (const child of children) node.append(child);
    return node;
  }

  function idOf(name) {
    return 'f-' + name.replace(/\./g, '-');
  }

  // ---------------------------------------------------------------- state

  let binding = null;
  let catalogue = null;
  const topControls = [];        // in the dialogue's order
  const byName = new Map();      // dotted name of a top-level field -> control
  let asked = new Set();
  let lastResult = null;
  let sweepTimer = 0;
  let firstFiguresShown = false;

  // ---------------------------------------------------------------- controls

  // One question: a number, a menu or a yes/no answer.
  function makeField(info, name) {
    const id = idOf(name);
    const question = el('span', {class: 'question'}, tidy(info.prompt));
    const label = el('label', {for: id}, question);
    let input;
    let type;
    if (info.kind === 'yesNo') {
      type = 'yesNo';
      input = el('select', {id},
        el('option', {value: ''}, '— answer —'),
        el('option', {value: 'true'}, 'Yes'),
        el('option', {value: 'false'}, 'No'),
        el('option', {value: 'null'}, 'Another answer (neither yes nor no)'));
    } else if (info.options && info.options.length) {
      type = 'menu';
      input = el('select', {id}, el('option', {value: ''}, '— choose —'),
        ...info.options.map((option, i) =>
          el('option', {value: String(i + 1)}, (i + 1) + ' for ' + option)));
    } else {
      type = 'number';
      input = el('input', {id, type: 'number', inputmode: 'numeric', step: 1,
                           min: info.minimum, max: info.maximum});
    }
    input.dataset.field = name;
    const error = el('p', {id: id + '-error', class: 'error', hidden: true});
    const wrap = el('div', {class: 'field', 'data-name': name}, label, input, error);
    return {kind: 'field', type, name, info, wrap, input, question, error,
            errorText: tidy(info.errorText || '')};
  }

  // The experience bars of each Combat Support unit next to a unit.
  function makeBarsList(name) {
    const support = catalogue.combatSupport;
    const list = {kind: 'bars', name, entries: []};
    const question = el('span', {class: 'question'}, tidy(support.first));
    const items = el('ol', {class: 'entries'});
    const add = el('button', {type: 'button', class: 'add', 'data-add': name},
                   'Add a Combat Support unit');
    list.wrap = el('fieldset', {class: 'field list', 'data-name': name},
                   el('legend', {}, question), items, add);
    list.question = question;
    list.items = items;
    list.addButton = add;
    list.values = function () {
      return list.entries.map((entry) => entry.input.value);
    };
    list.setValues = function (values) {
      list.entries = [];
      items.replaceChildren();
      values.forEach((value) => appendEntry(value));
    };
    function appendEntry(value) {
      const index = list.entries.length;
      const entryName = name + '.' + index;
      const field = makeField({kind: 'whole', prompt: support.bars,
                               errorText: support.errorText,
                               minimum: 0, maximum: barsMaximum()}, entryName);
      field.question.after(el('span', {class: 'visually-hidden'}, ' (unit ' + (index + 1) + ')'));
      const remove = el('button', {type: 'button', class: 'remove',
                                   'data-remove': entryName},
                        'Remove', el('span', {class: 'visually-hidden'},
                                     ' Combat Support unit ' + (index + 1)));
      remove.addEventListener('click', () => {
        const values = list.values();
        values.splice(index, 1);
        list.setValues(values.map(fromText));
        const next = list.entries[Math.min(index, list.entries.length - 1)];
        (next ? next.input : add).focus();
        update();
      });
      field.wrap.append(remove);
      items.append(el('li', {}, field.wrap));
      setValue(field, value);
      list.entries.push(field);
      return field;
    }
    add.addEventListener('click', () => {
      appendEntry(undefined).input.focus();
      update();
    });
    return list;
  }

  function barsMaximum() {
    const info = catalogue.fields.find((f) => f.kind === 'bars');
    return info ? info.maximum : 999999999;
  }

  // The artillery pieces or the air-defense units, each with its questions.
  function makeUnitList(info) {
    const kind = info.name;
    const words = UNIT_WORDS[kind];
    const list = {kind: 'units', type: kind, name: kind, info, rows: []};
    const question = el('span', {class: 'question'}, tidy(info.prompt));
    const rows = el('div', {class: 'rows'});
    const add = el('button', {type: 'button', class: 'add', 'data-add': kind}, words.add);
    list.wrap = el('fieldset', {class: 'field units', 'data-name': kind},
                   el('legend', {}, question), rows, add);
    list.question = question;
    list.rowsElement = rows;
    list.addButton = add;
    list.values = function () {
      return list.rows.map((row) => {
        const values = {};
        for (const control of row.controls) {
          values[control.key] = control.kind === 'bars' ? control.values() : control.input.value;
        }
        return values;
      });
    };
    list.setValues = function (values) {
      list.rows = [];
      rows.replaceChildren();
      values.forEach((value) => appendRow(value));
    };
    function appendRow(values) {
      const index = list.rows.length;
      const rowName = kind + '.' + index;
      const controls = [];
      const legend = el('legend', {}, words.one + ' ' + (index + 1));
      const remove = el('button', {type: 'button', class: 'remove', 'data-remove': rowName},
                        'Remove ' + words.one.toLowerCase() + ' ' + (index + 1));
      const note = el('p', {class: 'note', hidden: true});
      const row = el('fieldset', {class: 'unit', 'data-name': rowName}, legend);
      for (const unitInfo of catalogue[kind]) {
        const name = rowName + '.' + unitInfo.key;
        const control = unitInfo.kind === 'bars' ? makeBarsList(name) : makeField(unitInfo, name);
        control.key = unitInfo.key;
        controls.push(control);
        row.append(control.wrap);
        if (control.kind === 'bars') {
          control.setValues(Array.isArray(values && values[unitInfo.key]) ? values[unitInfo.key] : []);
        } else {
          setValue(control, values ? values[unitInfo.key] : undefined);
        }
      }
      row.append(note, remove);
      remove.addEventListener('click', () => {
        const all = list.values();
        all.splice(index, 1);
        list.setValues(all.map(rawRow));
        const next = list.rows[Math.min(index, list.rows.length - 1)];
        (next ? next.remove : add).focus();
        update();
      });
      const entry = {wrap: row, controls, remove, note, name: rowName};
      list.rows.push(entry);
      rows.append(row);
      return entry;
    }
    add.addEventListener('click', () => {
      const row = appendRow(null);
      row.controls[0].input.focus();
      update();
    });
    return list;
  }

  // Values read back from the form are the controls' own texts; setValue
  // takes both those and a scenario's JSON values.
  function rawRow(values) {
    const row = {};
    for (const [key, value] of Object.entries(values)) {
      row[key] = Array.isArray(value) ? value.map(fromText) : fromText(value);
    }
    return row;
  }

  function fromText(text) {
    if (text === '') return undefined;
    if (text === 'true') return true;
    if (text === 'false') return false;
    if (text === 'null') return null;
    return {text};
  }

  function setValue(control, value) {
    const input = control.input;
    if (value && typeof value === 'object' && 'text' in value) {
      input.value = value.text;
    } else if (control.type === 'yesNo') {
      input.value = value === true ? 'true' : value === false ? 'false' : value === null ? 'null' : '';
    } else if (control.type === 'menu' && typeof value === 'string') {
      // A menu's answer by its words, as scenarios are saved.
      const index = control.info.options.findIndex(
        (option) => option.toLowerCase() === value.toLowerCase());
      input.value = index >= 0 ? String(index + 1) : '';
    } else if (typeof value === 'number' && Number.isInteger(value)) {
      input.value = String(value);
      if (control.type === 'menu' && input.value !== String(value)) input.value = '';
    } else {
      input.value = '';
    }
  }

  // What a control holds: nothing yet, a value the question takes, or one
  // it does not take.
  function readControl(control) {
    const input = control.input;
    if (control.type === 'yesNo') {
      if (input.value === '') return {state: 'blank'};
      return {state: 'ok', value: JSON.parse(input.value)};
    }
    if (control.type === 'menu') {
      if (input.value === '') return {state: 'blank'};
      return {state: 'ok', value: Number(input.value)};
    }
    if (input.validity && input.validity.badInput) return {state: 'bad'};
    const text = input.value.trim();
    if (text === '') return {state: 'blank'};
    if (!/^\d+$/.test(text)) return {state: 'bad'};
    const value = Number(text);
    if (value < control.info.minimum || value > control.info.maximum) return {state: 'bad'};
    return {state: 'ok', value};
  }

  // Every question control, with whether the dialogue asks it now.
  function* questionControls() {
    for (const control of topControls) {
      const shown = asked.has(control.name);
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

  function findControl(name) {
    for (const {control} of questionControls()) {
      if (control.name === name) return control;
    }
    return byName.get(name) || null;
  }

  // ---------------------------------------------------------------- form

  function buildForm() {
    const form = document.getElementById('questions');
    // Two columns on a wide screen: the general factors and the attacker,
    // then the rest; one after the other on a narrow one.
    const columns = [el('div', {class: 'column'}), el('div', {class: 'column'})];
    form.replaceChildren(...columns);
    const sections = new Map();
    for (const section of SECTIONS) {
      const heading = el('h2', {id: 'section-' + section.id}, section.title);
      const body = el('div', {class: 'section-body'});
      const element = el('section', {class: 'section', 'data-section': section.id,
                                     'aria-labelledby': 'section-' + section.id},
                         heading, body);
      sections.set(section.id, {element, body});
      columns[section.column].append(element);
    }
    const fields = catalogue.fields;
    const timesAttacked = fields.find((f) => f.name === 'timesAttacked');
    const ordered = [];
    for (const info of fields) {
      if (info === timesAttacked) continue;
      ordered.push(info);
      if (info.name === TIMES_ATTACKED_AFTER && timesAttacked) ordered.push(timesAttacked);
    }
    for (const info of ordered) {
      const sectionId = info.group || TOP_SECTION[info.key] || 'defender';
      let control;
      if (info.kind === 'bars') control = makeBarsList(info.name);
      else if (info.kind === 'units') control = makeUnitList(info);
      else control = makeField(info, info.name);
      control.info = info;
      control.section = sectionId;
      topControls.push(control);
      byName.set(info.name, control);
      sections.get(sectionId).body.append(control.wrap);
    }
    // A menu answers on change, a number on every keystroke.
    form.addEventListener('change', (event) => {
      if (event.target.matches('select')) update();
    });
    form.addEventListener('input', (event) => {
      if (event.target.matches('input')) update();
    });
    form.addEventListener('submit', (event) => event.preventDefault());
    return sections;
  }

  let sections = null;

  function clearForm() {
    for (const control of topControls) {
      if (control.kind === 'field') setValue(control, undefined);
      else control.setValues([]);
    }
  }

  // Puts a scenario's answers into the form; what does not fit a question
  // is left blank.
  function fillForm(scenario) {
    clearForm();
    if (!scenario || typeof scenario !== 'object') return;
    for (const control of topControls) {
      const info = control.info;
      const holder = info.group ? scenario[info.group] : scenario;
      const value = holder && typeof holder === 'object' ? holder[info.key] : undefined;
      if (control.kind === 'field') {
        setValue(control, value);
      } else if (Array.isArray(value)) {
        control.setValues(control.kind === 'units'
          ? value.filter((v) => v && typeof v === 'object') : value);
      }
    }
  }

  // ---------------------------------------------------------------- scenario

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
  // back when the question does), and the supporting units when asked, up
  // to the first one that still lacks its strength.
  function buildScenario() {
    const scenario = {};
    for (const control of topControls) {
      const info = control.info;
      if (control.kind === 'units') {
        if (!asked.has(control.name)) continue;
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

  // ---------------------------------------------------------------- update

  function sameSet(a, b) {
    if (a.size !== b.size) return false;
    for (const item of a) if (!b.has(item)) return false;
    return true;
  }

  function update() {
    let scenario;
    let result;
    // Supporting units are sent once their list is asked, which can ask
    // more: predict until the asked fields settle.
    for (let pass = 0; pass < 4; ++pass) {
      scenario = buildScenario();
      result = JSON.parse(binding.predict(JSON.stringify(scenario)));
      const now = new Set(result.asked);
      const settled = sameSet(now, asked);
      asked = now;
      if (settled) break;
    }
    showAsked(result);

    // Check every question that is asked: a value it does not take is
    // marked with the dialogue's error text.
    const wrong = [];
    const blank = [];
    for (const {control, shown} of questionControls()) {
      markError(control, null);
      if (!shown) continue;
      const read = readControl(control);
      if (read.state === 'bad') wrong.push(control);
      else if (read.state === 'blank') blank.push(control);
    }
    for (const control of wrong) markError(control, control.errorText);
    let otherError = null;
    if (!wrong.length && result.error) {
      const control = findControl(result.error.field);
      const isBlank = control && readControl(control).state === 'blank';
      if (control && !isBlank) {
        markError(control, tidy(result.error.errorText) || result.error.message);
        wrong.push(control);
      } else if (!control || !blank.includes(control)) {
        otherError = result.error.field + ': ' + result.error.message;
      }
    }

    lastResult = null;
    const status = document.getElementById('status');
    const results = document.getElementById('results');
    if (wrong.length || otherError) {
      clearFigures();
      status.replaceChildren(otherError
        ? 'The answers cannot be computed: ' + otherError
        : 'The marked answer is not one the question takes: mend it to see the odds.');
      results.dataset.state = 'invalid';
    } else if (blank.length) {
      clearFigures();
      const first = blank[0];
      status.replaceChildren('Answer every question to see the odds. Next: ',
        el('a', {href: '#' + idOf(first.name)}, first.question.textContent));
      results.dataset.state = 'unanswered';
    } else if (result.valid) {
      lastResult = result;
      status.replaceChildren('The odds of these answers:');
      showFigures(result.prediction);
      results.dataset.state = 'figures';
      if (!firstFiguresShown) {
        firstFiguresShown = true;
        performance.mark('zelvorn-first-figures');
      }
    }
    document.getElementById('export').disabled = !lastResult;
    keepInAddress(lastResult ? lastResult.scenario : scenario);
    scheduleSweep();
  }

  function markError(control, text) {
    const input = control.input;
    if (!text) {
      if (!control.error.hidden) {
        control.error.hidden = true;
        control.error.textContent = '';
      }
      if (input.hasAttribute('aria-invalid')) input.removeAttribute('aria-invalid');
      if (input.hasAttribute('aria-describedby')) input.removeAttribute('aria-describedby');
      control.wrap.classList.remove('invalid');
      return;
    }
    control.error.textContent = text;
    control.error.hidden = false;
    input.setAttribute('aria-invalid', 'true');
    input.setAttribute('aria-describedby', control.error.id);
    control.wrap.classList.add('invalid');
  }

  // Shows exactly the questions that the dialogue asks for these answers,
  // each where the dialogue asks it.
  function showAsked(result) {
    const shownSections = new Set();
    for (const control of topControls) {
      const shown = asked.has(control.name);
      if (control.wrap.hidden === shown) control.wrap.hidden = !shown;
      if (shown) shownSections.add(control.section);
    }
    for (const [id, section] of sections) {
      const shown = shownSections.has(id);
      if (section.element.hidden === shown) section.element.hidden = !shown;
    }
    // The half-track's own wording.
    const leader = byName.get('general.attackerInfantryLeader');
    const attackerClass = readControl(byName.get('general.attackerClass'));
    if (leader) {
      const halfTrack = catalogue.halfTrack;
      const text = tidy(attackerClass.value === halfTrack.class ? halfTrack.leaderPrompt
                                                                 : leader.info.prompt);
      if (leader.question.textContent !== text) leader.question.textContent = text;
    }
    // The attacker's ground defense is asked after the first artillery
    // piece; the airplane's air defense after the first fighter says so.
    const artillery = byName.get('artillery');
    const ground = byName.get('attackerGroundDefense');
    if (artillery && ground) {
      const first = artillery.rows[0];
      placeAfter(ground.wrap, first ? first.wrap : artillery.rowsElement);
    }
    const airDefense = byName.get('airDefense');
    const airplane = byName.get('airplaneAirDefense');
    if (airDefense && airplane) {
      const isFighter = (row) => row.controls.find((c) => c.key === 'isFighter');
      const fighter = airDefense.rows.find((row) => isFighter(row).input.value === 'true');
      placeAfter(airplane.wrap, fighter ? isFighter(fighter).wrap : airDefense.rowsElement);
    }
    // Units after the one whose fire reaches the attacker's strength are
    // not asked.
    const ignored = new Map();
    for (const note of result.notes) {
      if (/^(artillery|airDefense)\.\d+$/.test(note.field)) ignored.set(note.field, note.message);
    }
    for (const list of [artillery, airDefense]) {
      if (!list) continue;
      for (const row of list.rows) {
        const message = ignored.get(row.name);
        row.note.hidden = !message;
        row.note.textContent = message ? 'Not asked: ' + message.replace(/^ignored: /, '') + '.' : '';
        row.wrap.classList.toggle('ignored', Boolean(message));
      }
    }
  }

  function placeAfter(node, anchor) {
    if (anchor.nextSibling !== node) anchor.after(node);
  }

  // ---------------------------------------------------------------- figures

  function clearFigures() {
    document.getElementById('figures').replaceChildren();
    document.getElementById('sweep').hidden = true;
    document.getElementById('sweep-chart').replaceChildren();
  }

  function figure(path, value) {
    return el('td', {'data-figure': path}, String(value));
  }

  // A table's columns: the row headings, then `count` columns of figures.
  function columns(count) {
    return el('colgroup', {}, el('col', {class: 'heading'}),
              ...Array.from({length: count}, () => el('col')));
  }

  function lossesTable(caption, rows) {
    const head = el('tr', {}, el('td', {}),
      ...Object.values(FIGURE_NAMES).map((name) => el('th', {scope: 'col'}, name)));
    const body = rows.map(([label, path, losses, suffix]) =>
      el('tr', {}, el('th', {scope: 'row'}, label),
        ...Object.keys(FIGURE_NAMES).map((key) =>
          figure(path + '.' + key + (suffix || ''), losses[key + (suffix || '')]))));
    return el('table', {class: 'figures'}, el('caption', {}, caption), columns(3),
              el('thead', {}, head), el('tbody', {}, ...body));
  }

  function showFigures(p) {
    const support = p.supportFire;
    const supported = support.kind !== 'none';
    const supportName = support.kind === 'artillery' ? 'artillery support' : 'air-defense support';
    const parts = [];

    const oddsRows = [[supported ? 'With ' + supportName : 'Predicted', 'odds', p.odds]];
    if (supported) oddsRows.push(['Without ' + supportName, 'oddsNoSupport', p.oddsNoSupport]);
    parts.push(el('section', {class: 'block odds', 'aria-label': 'Odds'},
      lossesTable('Odds', oddsRows),
      el('p', {class: 'softening'},
        'Times the defender was attacked before (softening): ',
        el('strong', {'data-figure': 'timesAttacked'}, String(p.timesAttacked)))));

    const rugged = [el('p', {}, 'Chance of a rugged defense: ',
      el('strong', {'data-figure': 'ruggedChance'}, String(p.ruggedChance)), '%')];
    if (p.rugged) {
      const rows = [[supported ? 'With ' + supportName : 'Predicted', 'rugged', p.rugged]];
      if (supported) {
        rows.push(['Without ' + supportName, 'rugged', {
          attackerLossesNoSupport: p.rugged.attackerLossesNoSupport,
          defenderLossesNoSupport: p.rugged.defenderLossesNoSupport,
          defenderSuppressionNoSupport: p.rugged.defenderSuppressionNoSupport,
        }, 'NoSupport']);
      }
      rugged.push(lossesTable('If there is a rugged defense', rows));
    }
    parts.push(el('section', {class: 'block rugged', 'aria-label': 'Rugged defense'}, ...rugged));

    if (supported) {
      const unitWord = support.kind === 'artillery' ? 'Artillery piece' : 'Supporting unit';
      const rows = support.units.map((unit, i) => el('tr', {},
        el('th', {scope: 'row'}, unitWord + ' ' + (i + 1),
           unit.capped ? el('span', {class: 'capped'}, ' (reaches the attacker\'s strength)') : null),
        figure('supportFire.units.' + i + '.damage', unit.damage),
        figure('supportFire.units.' + i + '.suppression', unit.suppression),
        figure('supportFire.units.' + i + '.damageTotal', unit.damageTotal),
        figure('supportFire.units.' + i + '.suppressionTotal', unit.suppressionTotal)));
      const total = el('tr', {class: 'total'}, el('th', {scope: 'row'}, 'All support fire'),
        figure('supportFire.damageTotal', support.damageTotal),
        figure('supportFire.suppressionTotal', support.suppressionTotal),
        el('td'), el('td'));
      parts.push(el('section', {class: 'block support', 'aria-label': 'Support fire',
                                'data-support-kind': support.kind},
        el('table', {class: 'figures'},
          el('caption', {}, support.kind === 'artillery' ? 'Artillery support fire' : 'Air-defense support fire'),
          columns(4),
          el('thead', {}, el('tr', {}, el('td'),
            el('th', {scope: 'col'}, 'Damage'), el('th', {scope: 'col'}, 'Sup\u00adpres\u00adsion'),
            el('th', {scope: 'col'}, 'Damage so far'), el('th', {scope: 'col'}, 'Sup\u00adpres\u00adsion so far'))),
          el('tbody', {}, ...rows, total))));
    }
    parts.push(barChart(p, supported));
    document.getElementById('figures').replaceChildren(...parts);
  }

  // ---------------------------------------------------------------- charts

  // A heading without the places where a narrow table may break it.
  function plain(text) {
    return text.replace(/\u00ad/g, '');
  }

  // Both sides' losses and the suppression, with and without support fire.
  function barChart(p, supported) {
    const series = [{name: 'with support', values: p.odds, className: 'with'}];
    if (supported) series.push({name: 'without support', values: p.oddsNoSupport, className: 'without'});
    if (!supported) series[0].name = 'predicted';
    const keys = Object.keys(FIGURE_NAMES);
    const largest = Math.max(1, ...series.flatMap((s) => keys.map((k) => s.values[k])));
    const width = 360;
    const height = 200;
    const top = 24;
    const bottom = 40;
    const groupWidth = width / keys.length;
    const barWidth = Math.min(40, (groupWidth - 24) / series.length);
    const chart = svg('svg', {viewBox: `0 0 ${width} ${height}`, role: 'img',
                              'aria-labelledby': 'bar-chart-title', class: 'chart bars'});
    chart.append(svg('title', {id: 'bar-chart-title'},
      'Losses and suppression ' + series.map((s) => s.name + ': ' +
        keys.map((k) => plain(FIGURE_NAMES[k]).toLowerCase() + ' ' + s.values[k]).join(', ')).join('; ')));
    const base = height - bottom;
    chart.append(svg('line', {x1: 0, x2: width, y1: base, y2: base, class: 'axis'}));
    keys.forEach((key, g) => {
      const start = g * groupWidth + (groupWidth - barWidth * series.length) / 2;
      series.forEach((s, i) => {
        const value = s.values[key];
        const h = (base - top) * value / largest;
        const x = start + i * barWidth;
        chart.append(svg('rect', {x: x + 2, y: base - h, width: barWidth - 4, height: h,
                                  class: 'bar ' + s.className, 'data-value': value}));
        const label = svg('text', {x: x + barWidth / 2, y: base - h - 4, class: 'value'});
        label.textContent = String(value);
        chart.append(label);
      });
      const name = svg('text', {x: g * groupWidth + groupWidth / 2, y: base + 16, class: 'category'});
      name.textContent = plain(FIGURE_NAMES[key]);
      chart.append(name);
    });
    const legend = el('p', {class: 'legend'}, ...series.map((s) =>
      el('span', {class: 'key ' + s.className}, s.name)));
    return el('figure', {class: 'block chart-block'}, chart,
              supported ? legend : null);
  }

  // The whole-number questions that are asked, for the sweep.
  function sweepChoices() {
    const choices = [];
    for (const {control, shown} of questionControls()) {
      if (!shown || control.type !== 'number' || /combatSupport/.test(control.name)) continue;
      let label = control.question.textContent;
      const unit = /^(artillery|airDefense)\.(\d+)\./.exec(control.name);
      if (unit) label = UNIT_WORDS[unit[1]].one + ' ' + (Number(unit[2]) + 1) + ': ' + label;
      choices.push({name: control.name, label, control});
    }
    return choices;
  }

  function scheduleSweep() {
    clearTimeout(sweepTimer);
    if (!lastResult) return;
    sweepTimer = setTimeout(drawSweep, 200);
  }

  // From the field's minimum to twice the current value (at least twenty
  // values), never more than 200 values and never past its maximum.
  function sweepRange(info, current) {
    let from = info.minimum;
    let to = Math.min(info.maximum, Math.max(current * 2, info.minimum + 20));
    if (to - from + 1 > 200) {
      from = Math.max(info.minimum, current - 100);
      to = Math.min(info.maximum, from + 199);
      from = Math.max(info.minimum, to - 199);
    }
    return [from, to];
  }

  function drawSweep() {
    const box = document.getElementById('sweep');
    const select = document.getElementById('sweep-field');
    const target = document.getElementById('sweep-chart');
    if (!lastResult) return;
    const choices = sweepChoices();
    if (!choices.length) {
      box.hidden = true;
      return;
    }
    const previous = select.value || 'attacker.strength';
    select.replaceChildren(...choices.map((c) => el('option', {value: c.name}, c.label)));
    select.value = choices.some((c) => c.name === previous) ? previous : choices[0].name;
    const choice = choices.find((c) => c.name === select.value);
    const current = readControl(choice.control).value;
    const [from, to] = sweepRange(choice.control.info, current);
    const answer = JSON.parse(binding.sweep(JSON.stringify(lastResult.scenario), choice.name, from, to));
    box.hidden = false;
    box.dataset.sweepField = choice.name;
    box.dataset.from = from;
    box.dataset.to = to;
    if (!answer.valid) {
      target.replaceChildren(el('p', {class: 'status'}, 'No chart for this value: ' +
        answer.error.field + ': ' + answer.error.message));
      return;
    }
    target.replaceChildren(lineChart(answer.rows, choice, current));
  }

  function lineChart(rows, choice, current) {
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
    const x0 = xs[0];
    const x1 = xs[xs.length - 1];
    const sx = (x) => left + (x1 === x0 ? 0 : (x - x0) / (x1 - x0)) * (width - left - right);
    const sy = (y) => height - bottom - y / largest * (height - top - bottom);
    const chart = svg('svg', {viewBox: `0 0 ${width} ${height}`, role: 'img',
                              'aria-labelledby': 'sweep-chart-title', class: 'chart lines'});
    chart.append(svg('title', {id: 'sweep-chart-title'},
      'Predicted losses for ' + choice.label + ' from ' + x0 + ' to ' + x1));
    chart.append(svg('line', {x1: left, x2: width - right, y1: sy(0), y2: sy(0), class: 'axis'}));
    chart.append(svg('line', {x1: left, x2: left, y1: top, y2: sy(0), class: 'axis'}));
    for (const [x, y, text, anchor] of [[left - 4, sy(0) + 4, '0', 'end'],
                                        [left - 4, sy(largest) + 4, String(largest), 'end'],
                                        [sx(x0), height - bottom + 16, String(x0), 'start'],
                                        [sx(x1), height - bottom + 16, String(x1), 'end']]) {
      const label = svg('text', {x, y, 'text-anchor': anchor, class: 'tick'});
      label.textContent = text;
      chart.append(label);
    }
    if (current >= x0 && current <= x1) {
      chart.append(svg('line', {x1: sx(current), x2: sx(current), y1: top, y2: sy(0), class: 'current'}));
      const mark = svg('text', {x: sx(current), y: height - 6, 'text-anchor': 'middle', class: 'tick'});
      mark.textContent = 'now ' + current;
      chart.append(mark);
    }
    for (const line of lines) {
      const points = rows.map((r) => sx(r.value).toFixed(1) + ',' + sy(r.odds[line.key]).toFixed(1));
      chart.append(svg('polyline', {points: points.join(' '), class: 'line ' + line.className}));
    }
    const legend = el('p', {class: 'legend'}, ...lines.map((l) => el('span', {class: 'key ' + l.className}, l.name)));
    const table = el('table', {class: 'figures sweep-values'},
      el('thead', {}, el('tr', {}, el('th', {scope: 'col'}, 'Value'),
        ...lines.map((l) => el('th', {scope: 'col'}, l.name)))),
      el('tbody', {}, ...rows.map((r) => el('tr', {'data-sweep-value': r.value},
        el('th', {scope: 'row'}, String(r.value)),
        ...lines.map((l) => el('td', {'data-sweep': l.key}, String(r.odds[l.key])))))));
    return el('figure', {class: 'block chart-block'}, chart, legend,
              el('details', {}, el('summary', {}, 'The values of the chart'), table));
  }

  // ---------------------------------------------------------------- keeping

  // The address follows the answers once they rest for a moment: the
  // browser takes a new address slowly, and only so often.
  let pendingAddress = null;
  let addressTimer = 0;
  function keepInAddress(scenario) {
    pendingAddress = scenario;
    clearTimeout(addressTimer);
    addressTimer = setTimeout(flushAddress, 250);
  }

  function flushAddress() {
    clearTimeout(addressTimer);
    if (pendingAddress === null) return;
    writeFragment(pendingAddress);
    pendingAddress = null;
  }

  function writeFragment(scenario) {
    const empty = JSON.stringify(scenario) === JSON.stringify(buildEmptyScenario());
    const hash = empty ? '' : '#s=' + encodeURIComponent(JSON.stringify(scenario));
    if (location.hash !== hash) {
      history.replaceState(null, '', hash || location.pathname + location.search);
    }
  }

  // What the form sends with no answer given: the empty Combat Support
  // lists.
  function buildEmptyScenario() {
    const scenario = {};
    for (const control of topControls) {
      if (control.kind === 'bars') put(scenario, control.info.group, control.info.key, []);
    }
    return scenario;
  }

  function readFragment() {
    const hash = location.hash;
    if (!hash.startsWith('#s=')) return null;
    let text = hash.slice(3);
    try {
      text = decodeURIComponent(text);
    } catch (e) {
      // Left as it is.
    }
    try {
      return JSON.parse(text);
    } catch (e) {
      return null;
    }
  }

  function exportScenario() {
    if (!lastResult) return;
    flushAddress();
    const text = JSON.stringify(lastResult.scenario) + '\n';
    const url = URL.createObjectURL(new Blob([text], {type: 'application/json'}));
    const link = el('a', {href: url, download: 'zelvorn-scenario.jsonl', hidden: true});
    document.body.append(link);
    link.click();
    link.remove();
    setTimeout(() => URL.revokeObjectURL(url), 1000);
  }

  async function importScenario(event) {
    const input = event.target;
    const file = input.files && input.files[0];
    if (!file) return;
    const text = await file.text();
    const answer = JSON.parse(binding.importFile(text, file.name));
    const messages = document.getElementById('import-messages');
    messages.textContent = answer.messages.join('\n');
    messages.hidden = answer.messages.length === 0;
    if (answer.scenario !== null) {
      fillForm(JSON.parse(answer.scenario));
      update();
    } else {
      document.getElementById('status').textContent =
        file.name + ' holds no scenario that the calculator takes.';
    }
    input.value = '';
  }

  // ---------------------------------------------------------------- start

  function start(module) {
    binding = {
      fields: module.cwrap('zelvorn_fields', 'string', []),
      predict: module.cwrap('zelvorn_predict', 'string', ['string']),
      sweep: module.cwrap('zelvorn_sweep', 'string', ['string', 'string', 'number', 'number']),
      importFile: module.cwrap('zelvorn_import', 'string', ['string', 'string']),
    };
    catalogue = JSON.parse(binding.fields());
    sections = buildForm();
    fillForm(readFragment());
    update();
    window.addEventListener('pagehide', flushAddress);
    document.addEventListener('visibilitychange', flushAddress);
    // Links within the page move the focus and leave the address alone: it
    // holds the combat.
    document.addEventListener('click', (event) => {
      const link = event.target.closest('a[href^="#"]');
      if (!link || link.getAttribute('href').startsWith('#s=')) return;
      event.preventDefault();
      const target = document.getElementById(link.getAttribute('href').slice(1));
      if (!target) return;
      target.scrollIntoView({block: 'start'});
      target.focus({preventScroll: true});
    });
    window.addEventListener('hashchange', () => {
      if (!location.hash.startsWith('#s=')) return;
      pendingAddress = null;
      fillForm(readFragment());
      update();
    });
    document.getElementById('new-combat').addEventListener('click', () => {
      clearForm();
      document.getElementById('import-messages').hidden = true;
      update();
      const first = document.querySelector('#questions select, #questions input');
      if (first) first.focus();
    });
    document.getElementById('export').addEventListener('click', exportScenario);
    document.getElementById('import-file').addEventListener('change', importScenario);
    document.getElementById('sweep-field').addEventListener('change', drawSweep);
    document.documentElement.dataset.ready = 'true';
  }

  function fail(reason) {
    const loading = document.getElementById('loading');
    if (loading) loading.textContent = 'The calculator could not be loaded: ' + reason;
  }

  if (typeof createZelvorn !== 'function') {
    fail('zelvorn.js is missing.');
  } else {
    createZelvorn().then(start, (error) => fail(String(error)));
  }
})();
