// The chart of the losses against one whole-number answer, computed by the
// calculator as --vary computes it.
import {el} from './dom.js';
import {lineChart} from './charts.js';
import {numberOf, readControl} from './controls.js';
import {questionControls} from './form.js';
import {problemText, UNIT_WORDS} from './words.js';

// The values a sweep runs over: from the field's minimum to twice the
// current value (at least twenty values), never more than 200 values and
// never past its maximum.
export function sweepRange(minimum, maximum, current) {
  let from = minimum;
  let to = Math.min(maximum, Math.max(current * 2, minimum + 20));
  if (to - from + 1 > 200) {
    from = Math.max(minimum, current - 100);
    to = Math.min(maximum, from + 199);
    from = Math.max(minimum, to - 199);
  }
  return [from, to];
}

// The whole-number questions that are asked, with their labels.
function sweepChoices(form) {
  const choices = [];
  for (const {control, shown} of questionControls(form)) {
    if (!shown || control.type !== 'number' || /combatSupport/.test(control.name)) continue;
    let label = control.label.textContent;
    const unit = /^(artillery|airDefense)\.(\d+)\./.exec(control.name);
    if (unit) label = UNIT_WORDS[unit[1]].one + ' ' + (Number(unit[2]) + 1) + ': ' + label;
    else if (control.info.group) {
      // The units' table already names the side in its cells' labels.
      const group = control.info.group[0].toUpperCase() + control.info.group.slice(1) + ': ';
      if (!label.startsWith(group)) label = group + label;
    }
    choices.push({name: control.name, label, control});
  }
  return choices;
}

// Draws the sweep for the answers of a valid prediction (scenarioText),
// or hides it (null).
export function drawSweep(calc, form, scenarioText) {
  const box = document.getElementById('sweep');
  const select = document.getElementById('sweep-field');
  const target = document.getElementById('sweep-chart');
  const choices = scenarioText === null ? [] : sweepChoices(form);
  if (!choices.length) {
    box.hidden = true;
    target.replaceChildren();
    return;
  }
  const previous = select.value || 'attacker.strength';
  select.replaceChildren(...choices.map((c) => el('option', {value: c.name}, c.label)));
  select.value = choices.some((c) => c.name === previous) ? previous : choices[0].name;
  const choice = choices.find((c) => c.name === select.value);
  const current = numberOf(readControl(choice.control).value);
  const info = choice.control.info;
  const [from, to] = sweepRange(info.minimum, info.maximum, current);
  const answer = calc.sweep(scenarioText, choice.name, from, to);
  box.hidden = false;
  box.dataset.sweepField = choice.name;
  box.dataset.from = from;
  box.dataset.to = to;
  if (!answer.valid) {
    const error = answer.error;
    target.replaceChildren(el('p', {class: 'status'}, 'No chart for this value: ' +
      (error.key ? problemText(error) : error.field + ': ' + error.message)));
    return;
  }
  target.replaceChildren(lineChart(answer.rows, choice.label, current));
}
