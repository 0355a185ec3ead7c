#!/usr/bin/env python3
"""Typing a combat into the empty page, question by question, gives the
native program's figures, and the page asks exactly what the dialogue
asked.

For the first combat of every example and transcript answer file and for
made-up dialogues with support fire (yes/no answers that are neither
included: clicks reach them), the page starts empty (the link of an
empty scenario, `{}`); the test then
answers, from the top, the first question on show whose answer is not yet
the saved scenario's (choosing menu entries, typing numbers, adding
supporting units and Combat Support units with their buttons), until every
question on show that the scenario answers holds its answer.  A question
still on show then that the saved scenario does not answer is a question
the dialogue did not ask.  Then the figures must equal `zelvorn-odds --scenario FILE --json`, the
questions on show must be exactly the scenario's answers, and the page's
address must hold the scenario exactly as --save wrote it.

  figures_by_typing.py PROGRAM SITE_DIR OUT_DIR [MADE_UP_COUNT]
"""
import json
import os
import sys
import tempfile
import urllib.parse

import figures_by_url
import page

# The most answers of a scenario typed in.
MOST_ANSWERS = 60
# The scenarios typed by default (page.sample): every one with
# ZELVORN_WEB_SAMPLE=all.
SAMPLE_SIZE = 25

# The first question on show, from the top, whose answer is not yet the
# scenario's, or the first add button whose list is still short of it:
# {element, field, wanted} or {element, add}; null when all is answered.
NEXT_ACTION = """
  const scenario = arguments[0];
  function answerOf(name) {
    let node = scenario;
    for (const part of name.split('.')) {
      if (node === null || typeof node !== 'object' || !(part in node)) return undefined;
      node = node[part];
    }
    return node;
  }
  const asText = (v) => v === null ? 'null' : String(v);
  const holds = (node) => node.type === 'checkbox' ? node.dataset.value : node.value;
  // A fold that is closed over a question whose answer is not yet the
  // scenario's is opened with a click, as a player would.
  for (const fold of document.querySelectorAll('details.fold:not([open])')) {
    if (fold.closest('[hidden]')) continue;
    for (const node of fold.querySelectorAll('[data-field]')) {
      if (node.closest('[hidden]')) continue;
      const wanted = answerOf(node.dataset.field);
      if (wanted === undefined || holds(node) !== asText(wanted)) {
        return {element: fold.querySelector('summary'), field: 'a fold', select: true};
      }
    }
  }
  for (const node of document.querySelectorAll('[data-field], [data-add]')) {
    if (node.getClientRects().length === 0) continue;
    if (node.dataset.add !== undefined) {
      const wanted = answerOf(node.dataset.add);
      const list = document.querySelector('[data-name="' + node.dataset.add + '"]');
      const count = list.querySelectorAll(':scope > .rows > .unit, :scope > .entries > li').length;
      if (Array.isArray(wanted) && count < wanted.length) return {element: node, add: node.dataset.add};
      continue;
    }
    let wanted = answerOf(node.dataset.field);
    // A menu's answer is saved as the menu's words: its entry keeps them.
    if (node.tagName === 'SELECT' && typeof wanted === 'string') {
      const entry = [...node.options].find(
        (o) => (o.dataset.word || '').toLowerCase() === wanted.toLowerCase());
      if (entry) wanted = Number(entry.value);
    }
    // The units stand side by side, not in the dialogue's order: a question
    // may be on show until an answer further down takes it away.  One left
    // at the end is caught below.
    if (wanted === undefined) continue;
    if (node.type === 'checkbox') {
      // Clicks go round no, yes and neither.
      if (node.dataset.value === asText(wanted)) continue;
      return {element: node, field: node.dataset.field, wanted: asText(wanted), select: true};
    }
    if (node.value === asText(wanted)) continue;
    if (node.tagName === 'SELECT') {
      return {element: node.querySelector('option[value="' + asText(wanted) + '"]'),
              field: node.dataset.field, wanted: asText(wanted), select: true};
    }
    node.focus();
    node.select();
    return {element: node, field: node.dataset.field, wanted: asText(wanted)};
  }
  return null;"""


def leaves(node, prefix=''):
    """The dotted names of every answer of a scenario."""
    if isinstance(node, dict):
        for key, value in node.items():
            yield from leaves(value, prefix + key + '.')
    elif isinstance(node, list):
        for i, value in enumerate(node):
            yield from leaves(value, prefix + str(i) + '.')
    else:
        yield prefix[:-1]


def type_scenario(browser, scenario, where):
    """Answers the questions on show until they hold the scenario: a click
    on the menu entry or the add button, or the number typed over what the
    field held.  Returns the problems met."""
    for _ in range(300):
        action = browser.js(NEXT_ACTION, scenario)
        if action is None:
            return []
        if action.get('element') is None:
            return ['%s: %s has no entry %s' % (where, action['field'],
                                                 action['wanted'])]
        if 'add' in action or action.get('select'):
            action['element'].click()
        else:
            # Typed over the selected text of the focused field, as one
            # insertion of text (as when pasting).
            browser.driver.execute_cdp_cmd('Input.insertText',
                                           {'text': action['wanted']})
    return ['%s: the answers did not settle' % where]


def main():
    program, site, out = sys.argv[1:4]
    made_up = int(sys.argv[4]) if len(sys.argv) > 4 else 4
    page.check_ready(site)
    with tempfile.TemporaryDirectory() as workdir:
        lines = []
        for name, answers in page.answer_files():
            saved = page.saved_scenarios(program, answers, workdir)
            # Not the hundreds of Combat Support units of the largest
            # transcripts: those come by link.
            if saved and len(list(leaves(json.loads(saved[0])))) <= MOST_ANSWERS:
                lines.append((name, saved[0]))
        supported = []
        for i, answers in enumerate(page.made_up_answers(made_up, 11)):
            for line in page.saved_scenarios(program, answers, workdir):
                if '"artillery":[{' in line or '"airDefense":[{' in line:
                    supported.append(line)
                    lines.append(('made-up dialogue %d' % i, line))
                    break
        lines += [('largest answers', line) for line in figures_by_url.valid_lines(
            program, figures_by_url.extreme_scenarios(supported[:2]), workdir,
            quiet=True)]
        made = len(lines)
        # Any number is typed the same way: the kinds are the answers given,
        # the menu entries and yes/no answers chosen, and the lists' lengths.
        lines = page.sample(lines, SAMPLE_SIZE, lambda case: page.scenario_kinds(
            case[1], sizes=False) | {'from ' + case[0].split('/')[0].split(' ')[0]})
        predictions = page.native_predictions(program, [l for _, l in lines],
                                              workdir)
        with open(os.path.join(page.SOURCE, 'examples', 'first_combat.in'), 'rb') as f:
            example = page.saved_scenarios(program, f.read(), workdir)[0]

    server = page.Server(site)

    def check(browser, item):
        (name, line), prediction = item
        scenario = json.loads(line)
        browser.open(server.url + 'index.html#s=%7B%7D')
        if browser.figures() or browser.state() == 'figures':
            return ['%s: the empty scenario shows figures' % name]
        problems = type_scenario(browser, scenario, name)
        if problems:
            return problems
        if browser.state() != 'figures':
            return ['%s: no figures after typing, the page says %r' % (
                name, browser.js('return document.getElementById("status").textContent'))]
        problems = page.compare_figures(browser.figures(), prediction, name)
        shown = browser.shown_fields()
        if sorted(shown) != sorted(leaves(scenario)):
            problems.append('%s: the page shows %s, the scenario answers %s' %
                            (name, sorted(set(shown) - set(leaves(scenario))),
                             sorted(set(leaves(scenario)) - set(shown))))
        # The address follows the answers once they rest; the example
        # combat's address is the page's own.
        wanted = '' if line == example else line
        try:
            browser.wait_for('decodeURIComponent(location.hash.slice(3)) === %s'
                             % json.dumps(wanted), timeout=5)
        except AssertionError:
            pass
        fragment = browser.js('return location.hash;')
        kept = urllib.parse.unquote(fragment[len('#s='):])
        if kept != wanted:
            problems.append('%s: the address holds %r, --save wrote %r' %
                            (name, kept, line))
        return problems

    try:
        found = page.in_browsers(list(zip(lines, predictions)), check, count=2)
    finally:
        server.close()
    problems = [problem for problems in found for problem in problems]
    if made < 50:
        problems.append('only %d scenarios to type' % made)
    return page.report(problems, '%d of %d scenarios typed into the empty page '
                       'and compared with the program, %d problems' %
                       (len(lines), made, len(problems)))


if __name__ == '__main__':
    sys.exit(main())
