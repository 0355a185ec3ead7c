// The page's functions that need no browser, with Node's own test runner:
//   node --test tests/web/page_test.mjs
import assert from 'node:assert/strict';
import {test} from 'node:test';

import {fragmentOf, isCombatFragment, scenarioOfFragment} from '../../web/page/address.js';
import {loadModule} from '../../web/page/calc.js';
import {barHeight} from '../../web/page/charts.js';
import {readWhole} from '../../web/page/controls.js';
import {sweepRange} from '../../web/page/sweep.js';
import {labelOf, noteText, sentence, tidy} from '../../web/page/words.js';

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

test('whole numbers typed: blank, out of range, not a whole number', () => {
  for (const [typed, state, value] of [
    ['', 'blank'], ['  ', 'blank'], ['7', 'ok', 7], [' 12 ', 'ok', 12], ['0', 'bad'],
    ['1.5', 'bad'], ['-1', 'bad'], ['1e3', 'bad'], ['1000000000', 'bad'],
    ['999999999', 'ok', 999999999]]) {
    const read = readWhole(typed, 1, 999999999);
    assert.equal(read.state, state, JSON.stringify(typed));
    assert.equal(read.value, value, JSON.stringify(typed));
  }
});

test('sweeps run over at most 200 values within the field\'s range', () => {
  for (const [minimum, maximum, current, wanted] of [
    [1, 999999999, 10, [1, 21]], [0, 999999999, 8, [0, 20]],
    [1, 999999999, 150, [50, 249]], [1, 999999999, 999999999, [999999800, 999999999]],
    [1, 12, 5, [1, 12]], [0, 999999999, 0, [0, 20]]]) {
    const [from, to] = sweepRange(minimum, maximum, current);
    assert.deepEqual([from, to], wanted, `${current} in ${minimum}..${maximum}`);
    assert.ok(to - from + 1 <= 200 && from <= current && current <= to);
  }
});

test('results say what they are', () => {
  assert.equal(sentence('attackerLosses', 4), 'Attacker loses 4 strength points');
  assert.equal(sentence('attackerLosses', 1), 'Attacker loses 1 strength point');
  assert.equal(sentence('defenderLosses', 5), 'Defender loses 5');
  assert.equal(sentence('defenderSuppression', 3), 'Suppression inflicted 3');
  assert.equal(sentence('defenderSuppression', -2), 'Suppression inflicted -2');
});

test('labels are short; a field without one keeps the dialogue\'s question', () => {
  assert.equal(labelOf('attackValue', '\nPlease enter the attack value:\n>> '), 'Attack');
  assert.equal(labelOf('somethingNew', '\nPlease enter\nthe thing:\n>> '),
               'Please enter the thing:');
  assert.equal(tidy('\n\nIs it? (Y/N):\n>> '), 'Is it? (Y/N):');
});

test('only units beyond the attacker\'s strength get a note', () => {
  assert.match(noteText({kind: 'beyondStrength'}), /already reached the attacker's strength/);
  assert.equal(noteText({kind: 'notAsked'}), '');
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
