// The page's functions that need no browser, with Node's own test runner:
//   node --test tests/web/page_test.mjs
import assert from 'node:assert/strict';
import {readFileSync} from 'node:fs';
import {test} from 'node:test';

import {fragmentOf, isCombatFragment, scenarioOfFragment} from '../../web/page/address.js';
import {loadModule} from '../../web/page/calc.js';
import {barHeight} from '../../web/page/charts.js';
import {numberOf, readNumber} from '../../web/page/controls.js';
import {scenarioOfForm} from '../../web/page/form.js';
import {keepRoster, keptRoster, presetOf, renamed, rosterText, withPreset,
        without} from '../../web/page/presets.js';
import {labelOf, noteText, problemText, readingText, sentence,
        tidy} from '../../web/page/words.js';

test('an address holds the scenario text and gives it back unchanged', () => {
  const texts = ['{"general":{"attackerClass":2}}', '{"a":"%#&=?+ é"}', '{}', 'null', ''];
  for (const text of texts) {
    const hash = fragmentOf(text, 'EXAMPLE');
    assert.ok(isCombatFragment(hash), hash);
    assert.equal(scenarioOfFragment(hash), text);
  }
});

test('the example combat and no combat have no fragment', () => {
  assert.equal(fragmentOf('EXAMPLE', 'EXAMPLE'), '');
  assert.equal(fragmentOf(null, 'EXAMPLE'), '');
});

test('fragments that hold no combat, or are not percent-encoding', () => {
  for (const [hash, wanted] of [['', null], ['#results-heading', null], ['#s', null],
                                ['#s=%E0%A4%A', '%E0%A4%A'], ['#s=%zz{', '%zz{'],
                                ['#s=%7B%7D', '{}']]) {
    assert.equal(scenarioOfFragment(hash), wanted, hash);
  }
  assert.equal(isCombatFragment('#f-attacker-strength'), false);
});

test('bars are never of negative height and never past the chart', () => {
  for (const [value, largest, span, wanted] of [
    [5, 10, 100, 50], [10, 10, 100, 100], [0, 10, 100, 0], [-3, 10, 100, 0],
    [-3, 1, 136, 0], [20, 10, 100, 100], [1, 0, 100, 0], [NaN, 10, 100, 0]]) {
    assert.equal(barHeight(value, largest, span), wanted, `${value} of ${largest}`);
  }
});

test('numbers typed go to the calculator as written; it alone says what it takes', () => {
  for (const [typed, state, value] of [
    ['', 'blank'], ['  ', 'blank'], ['7', 'ok', 7], [' 12 ', 'ok', 12], ['0', 'ok', 0],
    ['-1', 'ok', -1], ['1.5', 'ok', 1.5], ['1e3', 'ok', 1000], ['1000000000', 'ok', 1000000000],
    ['.5', 'ok', 0.5], ['01', 'ok', 1]]) {
    const read = readNumber(typed);
    assert.equal(read.state, state, JSON.stringify(typed));
    assert.equal(numberOf(read.value), value, JSON.stringify(typed));
  }
});

test('a problem in the field\'s own terms: which unit, and the range', () => {
  const cases = [
    [{group: 'artillery', key: 'strength', label: 'Strength', list: 'artillery', unit: 1, minimum: 1,
      maximum: 999999999, reason: 'belowMinimum'}, 'Strength of artillery piece 2: at least 1'],
    [{group: 'attacker', key: 'initiative', label: 'Initiative', side: 'attacker', minimum: 0,
      maximum: 999999999, reason: 'aboveMaximum'}, 'Initiative of the attacker: at most 999999999'],
    [{group: 'attacker', key: 'initiative', label: 'Initiative', side: 'attacker', minimum: 0,
      maximum: 999999999, reason: 'notWhole'}, 'Initiative of the attacker: a whole number from 0 to 999999999'],
    [{group: 'defender', key: 'combatSupport', bar: 0, minimum: 0, maximum: 999999999,
      reason: 'belowMinimum'}, 'Combat Support unit 1 of the defender: at least 0'],
    [{group: '', key: 'combatRange', label: 'Range of the combat', minimum: 1, maximum: 999999999, reason: 'missing'},
     'Range of the combat: needs an answer'],
    // A unit's own field of the general factors is named by its side.
    [{group: 'general', key: 'attackerClass', label: 'Class', side: 'attacker', minimum: 1,
      maximum: 11, menu: true, reason: 'wrongKind'}, 'Class of the attacker: one of the menu\'s entries'],
  ];
  for (const [problem, wanted] of cases) assert.equal(problemText(problem), wanted);
});

test('notes of a link or a file as sentences', () => {
  assert.equal(readingText({kind: 'notAsked', group: 'defender', key: 'inCityForestMountain',
                            label: 'In a city, forest or mountain', side: 'defender', line: 1}, 'the link'),
               'The link\'s answer for the defender to "In a city, forest or mountain" ' +
               'is not used in this combat.');
  assert.equal(readingText({kind: 'notAsked', group: 'general', key: 'overcast',
                            label: 'Overcast', line: 3},
                           'the file a.jsonl'),
               'The file a.jsonl\'s answer to "Overcast" is not used in this combat.');
  assert.equal(readingText({kind: 'error', group: 'artillery', key: 'strength', label: 'Strength',
                            list: 'artillery', unit: 0, minimum: 1, maximum: 9,
                            reason: 'aboveMaximum', line: 2}, 'the link'),
               'The link, line 2: Strength of artillery piece 1: at most 9.');
  assert.equal(readingText({kind: 'error', field: 'scenario', line: 1,
                            message: 'not valid JSON', text: 'scenario: not valid JSON'},
                           'the link'),
               'The link, line 1: scenario: not valid JSON');
});

test('results say what they are', () => {
  assert.equal(sentence('attackerLosses', 4), 'Attacker loses 4 strength points');
  assert.equal(sentence('attackerLosses', 1), 'Attacker loses 1 strength point');
  assert.equal(sentence('defenderLosses', 5), 'Defender loses 5');
  assert.equal(sentence('defenderSuppression', 3), 'Suppression inflicted 3');
  assert.equal(sentence('defenderSuppression', -2), 'Suppression inflicted -2');
});

test('labels are the calculator\'s; a field without one keeps the dialogue\'s question', () => {
  assert.equal(labelOf({label: 'Attack', prompt: '\nPlease enter the attack value:\n>> '}),
               'Attack');
  assert.equal(labelOf({label: '', prompt: '\nPlease enter\nthe thing:\n>> '}),
               'Please enter the thing:');
  assert.equal(tidy('\n\nIs it? (Y/N):\n>> '), 'Is it? (Y/N):');
});

test('only units beyond the attacker\'s strength get a note', () => {
  assert.match(noteText({kind: 'beyondStrength'}), /already reached the attacker's strength/);
  assert.equal(noteText({kind: 'notAsked'}), '');
});

const PRESET_FIELDS = [
  {name: 'class', attacker: 'general.attackerClass', defender: 'general.defenderClass'},
  {name: 'isInfantry', attacker: null, defender: 'general.defenderIsInfantry'},
  {name: 'strength', attacker: 'attacker.strength', defender: 'defender.strength'},
  {name: 'combatSupport', attacker: 'attacker.combatSupport', defender: 'defender.combatSupport'},
];

test('a preset takes its side\'s own answers and none of the situation', () => {
  const answers = new Map([['general.attackerClass', 2], ['general.defenderClass', 5],
                           ['general.defenderIsInfantry', false], ['general.weather', 1],
                           ['attacker.strength', 9], ['attacker.combatSupport', [3]],
                           ['attacker.inRiver', true], ['defender.strength', 4]]);
  assert.deepEqual(presetOf('Ram', 'attacker', PRESET_FIELDS, answers),
                   {name: 'Ram', sides: ['attacker'], class: 2, strength: 9, combatSupport: [3]});
  assert.deepEqual(presetOf('Wall', 'defender', PRESET_FIELDS, answers),
                   {name: 'Wall', sides: ['defender'], class: 5, isInfantry: false, strength: 4});
  // An answer not given is left out, not written as null.
  assert.deepEqual(presetOf('Bare', 'defender', PRESET_FIELDS, new Map()),
                   {name: 'Bare', sides: ['defender']});
});

test('presets saved, renamed and deleted keep their names unique and their order', () => {
  let presets = [];
  presets = withPreset(presets, {name: 'A', sides: ['attacker'], strength: 1});
  presets = withPreset(presets, {name: 'B', sides: ['defender'], strength: 2});
  presets = withPreset(presets, {name: 'A', sides: ['attacker'], strength: 3});
  assert.deepEqual(presets.map((p) => [p.name, p.strength]), [['A', 3], ['B', 2]]);
  for (const taken of ['B', '']) assert.equal(renamed(presets, 'A', taken), null);
  presets = renamed(presets, 'A', 'C');
  assert.deepEqual(presets.map((p) => p.name), ['C', 'B']);
  assert.deepEqual(without(presets, 'C').map((p) => p.name), ['B']);
  assert.deepEqual(without(presets, 'nobody'), presets);
});

test('a roster file has a preset a line and reads back the same', () => {
  const presets = [{name: 'A "1"', sides: ['attacker'], strength: 1},
                   {name: '\u00dc', sides: ['attacker', 'defender'], combatSupport: [1, 2]}];
  const text = rosterText(presets);
  assert.deepEqual(JSON.parse(text), {presets});
  assert.equal(text.split('\n')[2], JSON.stringify(presets[1]));
  assert.deepEqual(JSON.parse(rosterText([])), {presets: []});
});

test('the roster is kept in the storage, and a storage that refuses is told', () => {
  const stored = new Map();
  const storage = {getItem: (k) => stored.get(k) ?? null, setItem: (k, v) => stored.set(k, v)};
  assert.equal(keptRoster(storage), null);
  assert.equal(keepRoster(storage, 'text'), true);
  assert.equal(keptRoster(storage), 'text');
  const refusing = {getItem: () => { throw new Error('forbidden'); },
                    setItem: () => { throw new Error('full'); }};
  for (const none of [refusing, null]) {
    assert.equal(keptRoster(none), null);
    assert.equal(keepRoster(none, 'text'), false);
  }
});

test('the module compiled early is the one instantiated; without it, a fresh load', async () => {
  const empty = await WebAssembly.compile(new Uint8Array([0, 97, 115, 109, 1, 0, 0, 0]));
  // A stand-in for zelvorn.js's createZelvorn: what it was given, and the
  // instance its instantiateWasm hook handed back.
  const create = (options) => new Promise((resolve) => {
    if (!options) {
      resolve({fresh: true});
      return;
    }
    options.instantiateWasm({}, (instance, module) => resolve({instance, module}));
  });
  const early = await loadModule(create, Promise.resolve(empty));
  assert.ok(early.instance instanceof WebAssembly.Instance);
  assert.equal(early.module, empty);
  assert.deepEqual(await loadModule(create, null), {fresh: true});
  assert.deepEqual(await loadModule(create, Promise.reject(new TypeError('wrong MIME type'))),
                   {fresh: true});
});

test('a supporting unit counts once it has every answer the calculator requires', () => {
  // Stand-ins for a list's controls: a number typed into each field.
  const field = (key, required, value) =>
    ({kind: 'field', type: 'number', key, info: {required}, input: {value}});
  const piece = (attackValue, strength) =>
    ({controls: [field('attackValue', false, attackValue), field('strength', true, strength)]});
  const form = {controls: [{kind: 'units', name: 'artillery', info: {},
                            rows: [piece('3', '4'), piece('5', ''), piece('6', '7')]}]};
  // The second piece still lacks its strength: it and every one after it
  // wait for it.
  assert.deepEqual(scenarioOfForm(form), {artillery: [{attackValue: 3, strength: 4}]});
});

// The module's exports are the functions main.cc marks, the one list of
// them; the page calls each of them and no other.
test('the page calls every function the module exports, and only those', () => {
  const source = (path) => readFileSync(new URL(path, import.meta.url), 'utf8');
  const names = (text, pattern) => [...text.matchAll(pattern)].map((m) => m[1]).sort();
  const exported = names(source('../../web/main.cc'),
                         /EMSCRIPTEN_KEEPALIVE\s+const char\*\s+(zelvorn_\w+)\(/g);
  const called = names(source('../../web/page/calc.js'), /cwrap\('(zelvorn_\w+)'/g);
  assert.ok(exported.length > 0);
  assert.deepEqual(called, exported);
  assert.doesNotMatch(source('../../web/CMakeLists.txt'), /_zelvorn_/);
});
