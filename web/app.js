// The calculator's page: the answers of one combat and its prediction after
// every change.  The calculator itself runs as WebAssembly (zelvorn.js);
// this module joins the form, the prediction, the address and the files.
import {calculator, loadModule} from './page/calc.js';
import {el, idOf} from './page/dom.js';
import {fragmentOf, isCombatFragment, scenarioOfFragment} from './page/address.js';
import {EXAMPLE} from './page/example.js';
import {download, listCombats, readFile} from './page/files.js';
import {showFigures, showSummary} from './page/figures.js';
import {buildForm, fillForm, findControl, foldAll, markError, questionControls,
        scenarioOfForm, showAsked} from './page/form.js';
import {readControl} from './page/controls.js';
import {chartField, drawSweep} from './page/sweep.js';
import {startPresets} from './page/roster_app.js';
import {startAdvice} from './page/advice.js';
import {capital, problemText, readingText} from './page/words.js';

let calc = null;
let catalogue = null;
let form = null;
let lastResult = null;
// The messages of a link or a file that the calculator refused: no figures
// until the player changes an answer.
let refusal = null;
// The reading of the file or link read last, and its name on the page:
// another of its combats may be chosen.
let fileReading = null;
let fileWhat = '';
let firstFiguresShown = false;
let sweepFrame = 0;
// Draws the Compare view anew after a recomputation.
let refreshPresets = null;
// Shows what would help for the combat on show.
let showAdvice = null;

const byId = (id) => document.getElementById(id);

// ---------------------------------------------------------------- address

// The address follows the answers once they rest for a moment: the browser
// takes a new address slowly, and only so often.
// A link followed while an address waits must win over it: the waiting
// address is written only over the address it was meant to replace.
let pendingAddress = null;
let replacedAddress = null;
let addressTimer = 0;
function keepInAddress(hash) {
  if (pendingAddress === null) replacedAddress = location.hash;
  pendingAddress = hash;
  clearTimeout(addressTimer);
  addressTimer = setTimeout(flushAddress, 250);
}

function flushAddress() {
  clearTimeout(addressTimer);
  if (pendingAddress === null) return;
  const hash = pendingAddress;
  pendingAddress = null;
  if (location.hash !== replacedAddress) return;
  if (location.hash !== hash) {
    history.replaceState(null, '', hash || location.pathname + location.search);
  }
}

// ---------------------------------------------------------------- reading

// What the calculator said of a link or a file, a line each as the
// command line prints it (kept on the line, for whoever compares), in a
// sentence where the calculator says what the line is about; `source`
// names the link or the file ("the link", "the file a.jsonl").
function showMessages(reading, source) {
  const said = new Map(((reading && reading.said) || []).map((item) => [item.program, item]));
  const lines = (reading ? reading.messages : []).map((line) => {
    const item = said.get(line);
    return el('span', {class: 'message', 'data-message': line},
              item ? readingText(item, source) : line);
  });
  const messages = byId('import-messages');
  messages.replaceChildren(...lines.flatMap((line, i) => (i ? ['\n', line] : [line])));
  messages.hidden = lines.length === 0;
}

// Puts what the calculator read from a link or a file into the page: its
// messages, and its answers when it read any.  A text that it refuses
// leaves no figure on show.
function takeReading(reading, source) {
  showMessages(reading, source);
  fileReading = reading;
  fileWhat = source;
  listCombats(byId('file-combats'), byId('file-combats-note'), byId('file-combat'),
              reading, capital(source));
  showCombat(reading.values, reading.valid, source);
}

// The combat of a reading on show: its answers, and no figures when the
// calculator refuses it.
function showCombat(values, valid, source) {
  if (values) {
    foldAll(form);
    fillForm(form, values);
  }
  refusal = valid ? null : capital(source) + ' could not be read: see the message above.';
  pendingAddress = null;
  clearTimeout(addressTimer);
  update(false);
}

// Another combat of the file read last, chosen from its list.
function chooseCombat() {
  const combat = fileReading && fileReading.combats[Number(byId('file-combat').value)];
  if (!combat || !combat.values) return;
  showCombat(combat.values, combat.valid,
             fileWhat + ', combat ' + (Number(byId('file-combat').value) + 1) + ',');
}

function readLink() {
  takeReading(calc.read(scenarioOfFragment(location.hash), 'link'), 'the link');
}

function openExample() {
  showMessages(null);
  takeReading(calc.read(EXAMPLE, 'example'), 'the example');
}

async function importChosenFile(event) {
  const input = event.target;
  const file = input.files && input.files[0];
  if (!file) return;
  // Nothing of the previous combat stays on show while the file is read.
  refusal = 'Reading ' + file.name + '…';
  update(false);
  const reading = await readFile(calc, file, catalogue.longestFile);
  takeReading(reading, 'the file ' + file.name);
  input.value = '';
}

// ---------------------------------------------------------------- update

function clearFigures() {
  byId('figures').replaceChildren();
  byId('summary-figures').replaceChildren();
  cancelAnimationFrame(sweepFrame);
  drawSweep(form, null);
}

// What the summary says while there are no figures: the reason, and a link
// to the field concerned.
function summaryNote(text, control) {
  const note = el('p', {class: 'summary-line'}, text);
  if (control) {
    note.append(' ', el('a', {href: '#' + idOf(control.name)},
                        'Go to ' + control.label.textContent));
  }
  byId('summary-figures').replaceChildren(note);
}

// Whether a blank number stands for the value the scenario reader takes
// when a file leaves it out, as for a link or a file that omits it: then
// the figures are those of the command line, with no answer asked for.
function takesDefault(control) {
  return Boolean(control.info) && control.info.required === false;
}

// Recomputes the prediction for the answers on the form, once, and shows
// it or the reason there is none; the chart comes with it, in the same
// call.  `byPlayer` is true for a change the player made, which ends a
// refusal.
function update(byPlayer) {
  if (byPlayer) {
    refusal = null;
    showMessages(null);
  }
  const scenario = scenarioOfForm(form);
  const result = calc.predict(JSON.stringify(scenario), chartField());
  showAsked(form, result);

  // Every question that is asked and holds a value that the calculator
  // does not take is marked with what it must be, in its own terms.
  const blank = [];
  for (const {control, shown} of questionControls(form)) {
    markError(control, null);
    if (shown && readControl(control).state === 'blank' && control.type !== 'yesNo' &&
        !takesDefault(control)) {
      blank.push(control);
    }
  }
  const wrong = [];
  let otherError = null;
  for (const error of result.errors || []) {
    const control = findControl(form, error.field);
    if (control && readControl(control).state !== 'blank') {
      if (wrong.some((w) => w.control === control)) continue;
      const text = problemText(error);
      markError(control, text);
      wrong.push({control, text});
    } else if (!otherError && (!control || !blank.includes(control))) {
      otherError = error.key ? problemText(error) : error.text;
    }
  }

  lastResult = null;
  const status = byId('status');
  const results = byId('results');
  if (refusal) {
    clearFigures();
    status.replaceChildren(refusal);
    summaryNote(refusal, null);
    results.dataset.state = 'invalid';
  } else if (wrong.length || otherError) {
    clearFigures();
    const first = wrong.length ? wrong[0].control : null;
    const what = first ? wrong[0].text : otherError;
    status.replaceChildren(first ? what + '. Mend it to see the odds. '
                                 : 'The answers cannot be computed: ' + what + '.',
      first ? el('a', {href: '#' + idOf(first.name)}, 'Go to ' + first.label.textContent) : '');
    summaryNote('No odds: ' + what + '.', first);
    results.dataset.state = 'invalid';
  } else if (blank.length || !result.valid) {
    clearFigures();
    const first = blank[0];
    status.replaceChildren('Answer every question to see the odds. Next: ',
      first ? el('a', {href: '#' + idOf(first.name)}, first.label.textContent) : '');
    summaryNote('No odds yet: ' + (first ? first.label.textContent + ' needs an answer.' : ''),
                first);
    results.dataset.state = 'unanswered';
  } else {
    lastResult = result;
    status.replaceChildren('The odds of these answers:');
    showFigures(byId('figures'), result.prediction);
    showSummary(byId('summary-figures'), result.prediction);
    results.dataset.state = 'figures';
    if (!firstFiguresShown) {
      firstFiguresShown = true;
      performance.mark('zelvorn-first-figures');
    }
  }
  for (const id of ['export', 'copy-result']) byId(id).disabled = !lastResult;
  if (refreshPresets) refreshPresets();
  if (showAdvice) showAdvice(lastResult ? lastResult.scenarioText : null);
  if (!refusal) {
    keepInAddress(lastResult ? fragmentOf(lastResult.scenarioText, EXAMPLE)
                             : '#s=' + encodeURIComponent(JSON.stringify(scenario)));
  }
  scheduleSweep();
}

// The chart is drawn in the next frame, after the figures are on show:
// once for answers that change faster than frames are drawn.
function scheduleSweep() {
  cancelAnimationFrame(sweepFrame);
  if (!lastResult) return;
  const result = lastResult;
  sweepFrame = requestAnimationFrame(() => drawSweep(form, result));
}

// Another field chosen for the chart: the same answers predicted again with
// its chart, in one call.
function chooseSweptField() {
  if (!lastResult) return;
  cancelAnimationFrame(sweepFrame);
  drawSweep(form, calc.predict(lastResult.scenarioText, chartField()));
}

// A change chosen in "What would help": its combat goes on show as a new
// address after the current one, so that Back brings the answers back.
function chooseAdvice(scenarioText) {
  flushAddress();
  const hash = fragmentOf(scenarioText, EXAMPLE);
  if (hash) {
    location.hash = hash;
  } else {
    history.pushState(null, '', location.pathname + location.search);
    openExample();
  }
}

// ---------------------------------------------------------------- sharing

async function copyText(text, button) {
  const done = byId('copy-status');
  try {
    await navigator.clipboard.writeText(text);
    done.textContent = button === 'link' ? 'Link copied.' : 'Result copied.';
  } catch (error) {
    done.textContent = 'The browser did not let the page copy: ' + error.message;
  }
}

// ---------------------------------------------------------------- start

function start(module) {
  calc = calculator(module);
  catalogue = calc.fields();
  form = buildForm(byId('questions'), catalogue, () => update(true));
  fillForm(form, null);
  refreshPresets = startPresets(calc, catalogue, form,
    () => (lastResult ? lastResult.scenarioText : null), () => update(true));
  showAdvice = startAdvice(calc, byId('advice'), chooseAdvice);
  if (isCombatFragment(location.hash)) readLink();
  else openExample();
  window.addEventListener('pagehide', flushAddress);
  document.addEventListener('visibilitychange', flushAddress);
  // Links within the page move the focus and leave the address alone: it
  // holds the combat.
  document.addEventListener('click', (event) => {
    const link = event.target.closest('a[href^="#"]');
    if (!link || isCombatFragment(link.getAttribute('href'))) return;
    event.preventDefault();
    const target = byId(link.getAttribute('href').slice(1));
    if (!target) return;
    target.scrollIntoView({block: 'center'});
    target.focus({preventScroll: true});
  });
  window.addEventListener('hashchange', () => {
    if (isCombatFragment(location.hash)) readLink();
    else if (!location.hash) openExample();  // Back to the page's own combat
  });
  byId('new-combat').addEventListener('click', () => {
    openExample();
    const first = document.querySelector('#questions [data-field]');
    if (first) first.focus();
  });
  byId('export').addEventListener('click', () => {
    if (lastResult) download(lastResult.scenarioText + '\n', 'zelvorn-scenario.jsonl');
  });
  byId('copy-link').addEventListener('click', () => {
    flushAddress();
    copyText(location.href, 'link');
  });
  byId('copy-result').addEventListener('click', () => {
    if (!lastResult) return;
    const answer = calc.resultText(lastResult.scenarioText);
    if (answer.text !== null) copyText(answer.text, 'result');
  });
  byId('import-file').addEventListener('change', importChosenFile);
  byId('file-combat').addEventListener('change', chooseCombat);
  byId('sweep-field').addEventListener('change', chooseSweptField);
  keepFocusAboveSummary();
  document.documentElement.dataset.ready = 'true';
}

// On a narrow screen the odds in brief stay fixed over the foot of the
// page: the browser keeps a field that takes the focus clear of them.
function keepFocusAboveSummary() {
  const summary = byId('summary');
  const room = () => {
    const shown = getComputedStyle(summary).display !== 'none';
    document.documentElement.style.scrollPaddingBottom =
      shown ? Math.ceil(summary.getBoundingClientRect().height) + 8 + 'px' : '';
  };
  new ResizeObserver(room).observe(summary);
  window.addEventListener('resize', room);
  room();
}

function fail(reason) {
  const loading = byId('loading');
  if (loading) loading.textContent = 'The calculator could not be loaded: ' + reason;
}

if (typeof createZelvorn !== 'function') {
  fail('zelvorn.js is missing.');
} else {
  loadModule(createZelvorn, window.zelvornCompiled).then(start, (error) => fail(String(error)));
}
