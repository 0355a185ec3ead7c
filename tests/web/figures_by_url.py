#!/usr/bin/env python3
"""Every scenario loaded by its link shows the native program's figures, and
asks the dialogue's questions in the dialogue's words.

The scenarios: all that the dialogue saves for the example and transcript
answer files, made-up dialogues, and combats at the largest answers.  For
each the page is loaded afresh from its address (#s=...), and every figure
it shows must equal `zelvorn-odds --scenario FILE --json`, with no figure
missing or extra.  For the first combat of every answer file, the questions
that the page asks must be the questions that the dialogue printed.

  figures_by_url.py PROGRAM SITE_DIR OUT_DIR [MADE_UP_COUNT]
"""
import json
import os
import re
import subprocess
import sys
import tempfile

import page

BANNER = 'Zelvorn Odds Calculator version 1.1.\n'
REPORT = '\n\n' + '*' * 79
# The dialogue's own wording for a half-track's infantry leader.
HALF_TRACK_LEADER = 'Is the attacking unit infantry with a leader? (Y/N):'
# The scenarios checked by default (page.sample): every one with
# ZELVORN_WEB_SAMPLE=all.
SAMPLE_SIZE = 60


def tidy(text):
    return re.sub(r'\n', ' ', re.sub(r'\n>> $', '', text.lstrip('\n'))).strip()


def question_pattern(catalogue):
    """A pattern for every question of the catalogue, as printed."""
    prompts = {HALF_TRACK_LEADER}
    for info in (catalogue['fields'] + catalogue['artillery'] +
                 catalogue['airDefense']):
        if info['kind'] != 'bars':
            prompts.add(tidy(info['prompt']))
    prompts.add(tidy(catalogue['combatSupport']['first']))
    prompts.add(tidy(catalogue['combatSupport']['bars']))
    ordered = sorted(prompts, key=len, reverse=True)
    return re.compile('|'.join(re.escape(p) for p in ordered))


def dialogue_questions(program, answers, pattern):
    """The catalogue's questions that the dialogue printed for its first
    combat, up to the prediction, in order."""
    run = subprocess.run([program], input=answers, capture_output=True)
    output = run.stdout.decode('latin-1').split(BANNER)[1]
    output = output.split(REPORT)[0]
    return pattern.findall(output.replace('\r', ''))


def extreme_scenarios(lines):
    """Combats at the largest answers: the strengths and the attack value,
    one at a time, and then every supporting unit's strength, attack value
    and Combat Support set to 999999999."""
    made = []
    for line in lines:
        scenario = json.loads(line)
        for group, key in (('attacker', 'strength'), ('defender', 'strength'),
                           ('attacker', 'attackValue')):
            if key in scenario.get(group, {}):
                changed = json.loads(line)
                changed[group][key] = 999999999
                made.append(json.dumps(changed, separators=(',', ':')))
        for key in ('artillery', 'airDefense'):
            if scenario.get(key):
                changed = json.loads(line)
                for unit in changed[key]:
                    unit['strength'] = 999999999
                    unit['attackValue'] = 999999999
                    unit['combatSupport'] = [999999999]
                made.append(json.dumps(changed, separators=(',', ':')))
    return made


def case_kinds(case):
    """The kinds of one case: where its scenario comes from, whether the
    dialogue's questions are compared too, and the combat's own kinds."""
    name, line, answers = case
    source = name.split('/')[0].split(' ')[0]
    return page.scenario_kinds(line) | {'from ' + source,
                                        'questions %s' % (answers is not None)}


def valid_lines(program, lines, workdir, quiet=False):
    """The scenarios that the program takes (with `quiet`, only those of
    which it has nothing to say, such as units that it ignores)."""
    kept = []
    for line in lines:
        path = os.path.join(workdir, 'one.jsonl')
        with open(path, 'w') as f:
            f.write(line + '\n')
        run = subprocess.run([program, '--scenario', path, '--json'],
                             capture_output=True)
        if run.returncode == 0 and not (quiet and run.stderr):
            kept.append(line)
    return kept


def main():
    program, site, out = sys.argv[1:4]
    made_up = int(sys.argv[4]) if len(sys.argv) > 4 else 10
    page.check_ready(site)
    with tempfile.TemporaryDirectory() as workdir:
        # (name, scenario, the answers when it is the first combat of an
        # answer file)
        lines = []
        for name, answers in page.answer_files():
            saved = page.saved_scenarios(program, answers, workdir)
            lines += [(name, line, answers if i == 0 else None)
                      for i, line in enumerate(saved)]
        for i, answers in enumerate(page.made_up_answers(made_up, 7)):
            lines += [('made-up dialogue %d' % i, line, None) for line in
                      page.saved_scenarios(program, answers, workdir)]
        rich = [line for _, line, _ in lines
                if '"artillery":[{' in line or '"airDefense":[{' in line or
                '"attackerCloseDefense"' in line][:8]
        lines += [('largest answers', line, None) for line in
                  valid_lines(program, extreme_scenarios(rich), workdir)]
        made = len(lines)
        lines = page.sample(lines, SAMPLE_SIZE, case_kinds)
        predictions = page.native_predictions(
            program, [line for _, line, _ in lines], workdir)

    server = page.Server(site)
    pattern = None

    def check(browser, item):
        nonlocal pattern
        (name, line, answers), prediction = item
        browser.open(page.scenario_url(server.url, line))
        where = '%s (%s)' % (name, line[:200])
        if browser.state() != 'figures':
            return ['%s: no figures, the page says %r' % (where, browser.js(
                'return document.getElementById("status").textContent'))]
        problems = page.compare_figures(browser.figures(), prediction, where)
        if answers is None:
            return problems
        if pattern is None:
            pattern = question_pattern(browser.catalogue())
        # The page sets the units side by side: the same questions, in
        # another order.
        wanted = sorted(dialogue_questions(program, answers, pattern))
        shown = sorted(browser.shown_questions())
        if shown != wanted:
            at = next((i for i, (a, b) in enumerate(zip(shown, wanted))
                       if a != b), min(len(shown), len(wanted)))
            problems.append('%s: question %d: the page shows %r, the dialogue '
                            'asks %r' % (name, at + 1, shown[at:at + 2],
                                         wanted[at:at + 2]))
        return problems

    try:
        found = page.in_browsers(list(zip(lines, predictions)), check)
    finally:
        server.close()
    problems = [problem for problems in found for problem in problems]
    return page.report(problems, '%d of %d scenarios loaded by link and compared '
                       'with the program, %d question sequences compared with '
                       'the dialogue, %d problems' %
                       (len(lines), made, sum(1 for l in lines if l[2] is not None),
                        len(problems)))


if __name__ == '__main__':
    sys.exit(main())
