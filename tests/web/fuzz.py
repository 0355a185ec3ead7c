#!/usr/bin/env python3
"""Links and files that go wrong in every way, against the program.

Mutated scenarios, the same every run (seeded): truncated, with values of
the wrong type, fields left out or unknown, `"artillery": 5`, deep nesting,
random characters and bytes, nulls, `[1,2]`, and files of 4 MB and over
16 MiB; each given to the page by its address (`#s=`) or as an imported
file.  For every one:

- no uncaught JavaScript error, no rejected promise left unhandled, no
  error on the console, and the module never fails;
- figures shown are those of `zelvorn-odds --scenario FILE --json` for the
  same text (the first scenario it computes);
- when the program computes none, the page shows no figures and shows its
  messages (each of the program's lines, after the file's name); a file
  over 16 MiB, which the page does not read, is said to be too long;
- a link that cannot be read leaves the address as it was.

Before each case the page shows a valid combat whose figures differ from
those the case should give, so that a case the page ignores cannot pass.

  fuzz.py PROGRAM SITE_DIR OUT_DIR [LINKS] [FILES] [SEED]
"""
import base64
import concurrent.futures
import json
import os
import random
import re
import subprocess
import sys
import tempfile
import urllib.parse

import page

# Transcripts whose scenarios the mutations start from: every kind of
# support fire, the softening, the rugged defense.
BASES = ('support_artillery_two_pieces', 'support_air_two_fighters',
         'combat_rugged_chance', 'softening_repeated', 'q_combat_support',
         'q_terrain_chain', 'extreme_fighter_air_defense', 'q_half_track')

# The cases checked by default (page.sample): every one with
# ZELVORN_WEB_SAMPLE=all.
SAMPLE_SIZE = 100

# Values of the wrong type, or at and past the edges of every range.
ODD_VALUES = [None, True, False, 0, -1, 1, 2, 3, 5, 9, 10, 15, 99, 100, 101,
              2147483647, 2147483648, -2147483649, 9223372036854775807,
              18446744073709551616, 1e308, 1.5, -0.0, '', '5', 'Y', 'null',
              [], [1, 2], {}, {'a': 1}, [None], [{}], '\u0000', '\u00e9\u2603']

# Installed before the page's own scripts: every uncaught error, rejected
# promise and console error or module failure, in the order they come.
ERROR_TRAP = """
  window.zelvornFuzzErrors = [];
  const note = (kind, text) => window.zelvornFuzzErrors.push(kind + ': ' + text);
  window.addEventListener('error', (event) =>
    note('uncaught error', event.message || String(event.error)));
  window.addEventListener('unhandledrejection', (event) =>
    note('unhandled rejection', String(event.reason && (event.reason.stack || event.reason))));
  const failure = /Aborted|RuntimeError|out of bounds|unreachable|abort\\(/;
  const error = console.error.bind(console);
  console.error = (...args) => { note('console error', args.join(' ')); error(...args); };
  const warn = console.warn.bind(console);
  console.warn = (...args) => {
    if (failure.test(args.join(' '))) note('module failure', args.join(' '));
    warn(...args);
  };"""

# One case in the page: a link to a base combat (unless there is none),
# then the case's link or file; each is taken when the page's own listener
# has run and the tasks it queued are done.  Calls back with what the page
# shows before the case and after it: the state, the messages on show, the
# errors trapped so far (then forgotten), the address and the figures.
RUN_CASE = """
  const [reset, kase, done] = arguments;
  const shownFigures = () => { %s };
  const settle = (next) => setTimeout(() => setTimeout(next, 0), 0);
  // The page writes the address of a changed combat a moment later, and at
  // once when it is hidden: told so first, its write cannot land after the
  // next link and replace it (no person follows a link that fast).
  const goTo = (hash, next) => {
    document.dispatchEvent(new Event('visibilitychange'));
    if (location.hash === hash) location.hash = '#fuzz';
    window.addEventListener('hashchange', () => settle(next), {once: true});
    location.hash = hash;
  };
  const outcome = () => {
    const messages = document.getElementById('import-messages');
    const visible = messages && !messages.hidden && messages.getClientRects().length > 0;
    return {state: document.getElementById('results').dataset.state,
            messages: visible ? [...messages.querySelectorAll('[data-message]')]
                               .map((m) => m.dataset.message).join('\\n') : null,
            errors: (window.zelvornFuzzErrors || ['the error trap is missing']).splice(0),
            hash: location.hash, figures: shownFigures()};
  };
  const importFile = (recipe, next) => {
    let parts;
    if (recipe.base64 !== undefined) {
      const raw = atob(recipe.base64);
      const bytes = new Uint8Array(raw.length);
      for (let i = 0; i < raw.length; ++i) bytes[i] = raw.charCodeAt(i);
      parts = [bytes];
    } else {
      parts = [recipe.head, ' '.repeat(recipe.padding), recipe.tail];
    }
    const file = new File(parts, recipe.name, {type: 'application/json'});
    const input = document.getElementById('import-file');
    const transfer = new DataTransfer();
    transfer.items.add(file);
    input.files = transfer.files;
    input.addEventListener('change', () => file.text().then(() => settle(next)),
                           {once: true});
    input.dispatchEvent(new Event('change', {bubbles: true}));
  };
  const run = () => {
    const before = outcome();
    const after = () => done({before: before, after: outcome()});
    if (kase.hash !== undefined) goTo(kase.hash, after);
    else importFile(kase.recipe, after);
  };
  try {
    if (reset === null) run();
    else goTo(reset, run);
  } catch (error) {
    done({failed: String(error)});
  }""" % page.SHOWN_FIGURES

# What the page shows now, as RUN_CASE gives it.
OUTCOME = """
  const shownFigures = () => { %s };
  const messages = document.getElementById('import-messages');
  const visible = messages && !messages.hidden && messages.getClientRects().length > 0;
  return {state: document.getElementById('results').dataset.state,
          messages: visible ? [...messages.querySelectorAll('[data-message]')]
                               .map((m) => m.dataset.message).join('\\n') : null,
          errors: (window.zelvornFuzzErrors || ['the error trap is missing']).splice(0),
          hash: location.hash, figures: shownFigures()};""" % page.SHOWN_FIGURES

# The condition that the page shows what the program makes of a case: the
# figures, or its messages and no figures.
SHOWS_FIGURES = 'document.getElementById("results").dataset.state === "figures"'
SHOWS_REFUSAL = ('document.getElementById("results").dataset.state !== "figures"'
                 ' && !document.getElementById("import-messages").hidden')


def mutated_value(rng, value, depth=0):
    """The value with one thing changed somewhere inside it."""
    container = isinstance(value, (dict, list)) and len(value) > 0
    if container and (depth == 0 or rng.random() < 0.85):
        if isinstance(value, dict):
            key = rng.choice(sorted(value))
            action = rng.random()
            copy = dict(value)
            if action < 0.15:
                del copy[key]
            elif action < 0.2:
                copy['unknownField%d' % rng.randrange(3)] = rng.choice(ODD_VALUES)
            else:
                copy[key] = mutated_value(rng, value[key], depth + 1)
            return copy
        i = rng.randrange(len(value))
        copy = list(value)
        if rng.random() < 0.2:
            del copy[i]
        elif rng.random() < 0.2:
            copy.append(copy[i])
        else:
            copy[i] = mutated_value(rng, value[i], depth + 1)
        return copy
    choice = rng.random()
    if choice < 0.35:
        return rng.choice(ODD_VALUES)
    if choice < 0.85 and isinstance(value, bool):
        return not value
    if choice < 0.85 and isinstance(value, int):
        return max(0, value + rng.choice((-2, -1, 1, 1, 2, 3)))
    if choice < 0.92:
        return nested(rng.choice((2, 30, 600, 5000)))
    return rng.choice(([1, 2], 5, 'artillery', {}))


def nested(depth):
    value = 1
    for level in range(depth):
        value = [value] if level % 2 else {'a': value}
    return value


def dumps(value):
    try:
        return json.dumps(value, separators=(',', ':'), ensure_ascii=False)
    except RecursionError:
        return '[' * 5000 + ']' * 5000


def mutated_text(rng, text, one_line):
    """The text with characters cut, changed or added."""
    choice = rng.random()
    if choice < 0.35:
        return text[:rng.randrange(len(text))]
    pool = '{}[]":,0123456789-.eE+ \t\\/nultrefas\u0000\u00ff\u2603\U0001f3b2'
    if not one_line:
        pool += '\n\r'
    chars = list(text)
    for _ in range(rng.choice((1, 1, 2, 5, 20))):
        where = rng.randrange(len(chars) + 1)
        if rng.random() < 0.5 and where < len(chars):
            chars[where] = rng.choice(pool)
        else:
            chars.insert(where, rng.choice(pool))
    return ''.join(chars)


WHOLE = ['null', '[1,2]', '{}', '1', '"scenario"', 'true', '[]', '{"general":null}',
         '{"artillery":5}', '{"general":{}}', '{"a":' * 3000 + '1' + '}' * 3000,
         '[' * 100000 + ']' * 100000, '{"general":{"attackerClass":2}}\u0000']


def link_texts(rng, bases, count):
    """Single-line texts for links: mutated scenarios and whole odd ones,
    each with the kind of change made ([kind, text])."""
    texts = []
    while len(texts) < count:
        base = rng.choice(bases)
        choice = rng.random()
        if choice < 0.04:
            kind, text = 'odd whole text', rng.choice(WHOLE)
        elif choice < 0.09:
            scenario = json.loads(base)
            scenario['artillery'] = rng.choice((5, 'x', {}, [5], [None], None))
            kind, text = 'odd artillery', dumps(scenario)
        elif choice < 0.75:
            kind, text = 'changed value', dumps(mutated_value(rng, json.loads(base)))
        else:
            kind, text = 'changed characters', mutated_text(rng, base, one_line=True)
        # A link with nothing in it is no link at all.
        if text.strip() and '\n' not in text and '\r' not in text:
            texts.append([kind, text])
    return texts


def file_contents(rng, bases, count):
    """Bytes of imported files: mutated scenarios one a line or spread over
    lines, random bytes, nothing at all; each with the kind of file it is
    ([kind, bytes])."""
    files = [['empty', b''], ['empty line', b'\n'], ['zero bytes', b'\x00' * 64],
             ['byte order mark', '\ufeff'.encode() + bases[0].encode()]]
    while len(files) < count:
        choice = rng.random()
        if choice < 0.1:
            files.append(['random bytes', bytes(rng.randrange(256) for _ in
                                                range(rng.randrange(1, 400)))])
        elif choice < 0.3:
            scenario = mutated_value(rng, json.loads(rng.choice(bases)))
            try:
                text = json.dumps(scenario, indent=rng.choice((1, 2, 4)), ensure_ascii=False)
            except RecursionError:
                text = dumps(scenario)
            files.append(['spread over lines', text.encode()])
        else:
            lines = []
            for _ in range(rng.choice((1, 1, 1, 2, 3))):
                base = rng.choice(bases)
                if rng.random() < 0.5:
                    lines.append(dumps(mutated_value(rng, json.loads(base))))
                else:
                    lines.append(mutated_text(rng, base, one_line=False))
            ending = rng.choice(('\n', '\r\n', ''))
            files.append(['%d lines' % len(lines), (ending or '\n').join(lines).encode()
                          + ending.encode()])
    return files


LONGEST_FILE = 16 * 1024 * 1024
PAGE_TOO_LONG = ' the file is longer than 16 MiB, the most the page reads'


def huge_files(base):
    """A scenario padded with spaces inside its object to 4 MB (the program
    computes it) and to over 16 MiB (the page refuses the file unread)."""
    head, tail = base[:1], base[1:]
    return [{'name': 'padded-4mb.jsonl', 'head': head, 'tail': tail + '\n',
             'padding': 4 * 1000 * 1000},
            {'name': 'padded-17mib.jsonl', 'head': head, 'tail': tail + '\n',
             'padding': 17 * 1024 * 1024},
            {'name': 'spaces-17mib.jsonl', 'head': '', 'tail': '',
             'padding': 17 * 1024 * 1024 + 5}]


def recipe_bytes(recipe):
    if 'base64' in recipe:
        return base64.b64decode(recipe['base64'])
    return (recipe['head'] + ' ' * recipe['padding'] + recipe['tail']).encode()


def native(program, workdir, name, content):
    """What the program makes of a file: its first prediction (or None)
    and its messages without the file's name."""
    folder = tempfile.mkdtemp(dir=workdir)
    with open(os.path.join(folder, name), 'wb') as f:
        f.write(content)
    run = subprocess.run([program, '--scenario', name, '--json'], cwd=folder,
                         capture_output=True)
    os.remove(os.path.join(folder, name))
    os.rmdir(folder)
    out = run.stdout.decode('utf-8', 'replace').splitlines()
    messages = [line[len(name) + 1:] if line.startswith(name + ':') else line
                for line in run.stderr.decode('utf-8', 'replace').splitlines()]
    return {'prediction': json.loads(out[0]) if out else None,
            'messages': messages, 'status': run.returncode}


def natives(program, workdir, cases):
    """native() for every case, two at a time."""
    with concurrent.futures.ThreadPoolExecutor(max_workers=2) as pool:
        return list(pool.map(lambda case: native(program, workdir, case['name'],
                                                 case['content']), cases))


# Marks a difference that is reported but is no failure.
NOTICE = 'notice:'


def problems_of(case, outcome, expected, where):
    """What is wrong with the page's outcome of one case."""
    problems = ['%s: %s' % (where, error[:300]) for error in outcome['errors']]
    prediction = expected['prediction']
    if prediction is not None:
        if outcome['state'] == 'unanswered':
            # A number left out takes its default in the program's reader,
            # and so in the page.
            problems.append('%s: the program computes it, the page asks for an '
                            'answer first' % where)
        elif outcome['state'] != 'figures':
            problems.append('%s: the program computes it, the page is in state %r'
                            ' (messages %r)' % (where, outcome['state'],
                                                (outcome['messages'] or '')[:300]))
        else:
            problems += page.compare_figures(outcome['figures'], prediction, where)
        return problems
    numbers = {k: v for k, v in outcome['figures'].items() if k != 'supportFire.kind'}
    if outcome['state'] == 'figures' or numbers:
        problems.append('%s: the program refuses it (%s), the page shows '
                        'figures' % (where, expected['messages'][:1]))
    if outcome['messages'] is None:
        problems.append('%s: the program refuses it, the page shows no '
                        'message' % where)
    else:
        for line in expected['messages']:
            if line not in outcome['messages']:
                problems.append('%s: the page\'s messages %r lack the '
                                'program\'s %r' % (where, outcome['messages'][:300],
                                                   line[:200]))
                break
    if case['kind'] == 'link' and outcome['hash'] != case['hash']:
        problems.append('%s: the address became %r' % (where, outcome['hash'][:200]))
    return problems


def run_case(browser, case, expected, reset, where):
    """One case; when the page does not show the program's outcome at once,
    it gets until a condition holds (or a time out) to show it."""
    from selenium.common.exceptions import WebDriverException
    try:
        answer = browser.driver.execute_async_script(
            RUN_CASE, reset and reset['hash'], {k: case[k] for k in ('hash', 'recipe') if k in case})
        if 'failed' in answer:
            return ['%s: %s' % (where, answer['failed'])]
        before = answer['before']
        problems = ['%s, before it: %s' % (where, e) for e in before['errors']]
        if reset is not None:
            problems += page.compare_figures(before['figures'], reset['prediction'],
                                             where + ', the base combat before it')
        found = problems_of(case, answer['after'], expected, where)
        if found and not any(': uncaught' in p or 'failure' in p for p in found):
            try:
                browser.wait_for(SHOWS_FIGURES if expected['prediction'] is not None
                                 else SHOWS_REFUSAL, timeout=3)
            except AssertionError:
                pass
            found = problems_of(case, browser.js(OUTCOME), expected, where)
        return problems + found
    except (AssertionError, WebDriverException) as error:
        return ['%s: %s' % (where, str(error).splitlines()[0][:300])]


def shown_for(expected):
    """What the page must show for a case: the figures, or the messages."""
    if expected['prediction'] is not None:
        return sorted(page.expected_figures(expected['prediction']).items())
    return expected['messages']


def case_kinds(item):
    """The kinds of one case: link or file and the change made, whether
    the program computes it, and the first message it gives."""
    case, wanted = item
    kinds = {'%s: %s' % (case['kind'], case['change']),
             '%s: %s' % (case['kind'], 'computed' if wanted['prediction'] else 'refused')}
    if wanted['messages']:
        # What the first message says, without the line, the field, the
        # value and the allowed values.
        said = wanted['messages'][0].split(': ', 2)[-1]
        said = said.split(' (allowed')[0].split(' - ')[0]
        said = re.sub(r'"[^"]*"|\'[^\']*\'', 'VALUE', said)
        kinds.add('message: ' + re.sub(r'-?[0-9]+(\.[0-9]*)?(e[0-9]+)? ', '', said))
    return kinds


def run_cases(browser, server, cases, expected, resets):
    """Every case, after a link to a base combat whose figures differ from
    the case's when the case should show what the page shows already (a
    case that the page ignores cannot pass); after a case that went wrong
    the page is loaded afresh."""
    problems = []
    previous = None
    for n, (case, wanted) in enumerate(zip(cases, expected)):
        where = '%s %d (%s)' % (case['kind'], n, case['label'])
        reset = None
        if previous is None or shown_for(wanted) == previous:
            reset = next(r for r in resets
                         if wanted['prediction'] is None
                         or page.expected_figures(r['prediction'])
                         != page.expected_figures(wanted['prediction']))
        found = run_case(browser, case, wanted, reset, where)
        previous = shown_for(wanted)
        if found:
            problems += found
            previous = None
            browser.open(server.url + 'index.html')
    return problems


def main():
    program, site, out = [os.path.abspath(a) for a in sys.argv[1:4]]
    link_count = int(sys.argv[4]) if len(sys.argv) > 4 else 700
    file_count = int(sys.argv[5]) if len(sys.argv) > 5 else 330
    seed = int(sys.argv[6]) if len(sys.argv) > 6 else 16
    page.check_ready(site)
    rng = random.Random(seed)
    with tempfile.TemporaryDirectory() as workdir:
        bases = []
        for name in BASES:
            with open(os.path.join(page.SOURCE, 'tests', 'transcripts', name + '.in'),
                      'rb') as f:
                bases += page.saved_scenarios(program, f.read(), workdir)[:1]
        cases = []
        for n, (change, text) in enumerate(link_texts(rng, bases, link_count)):
            content = text.encode()
            cases.append({'kind': 'link', 'change': change, 'label': text[:60],
                          'name': 'link.jsonl',
                          'content': content,
                          'hash': '#s=' + urllib.parse.quote(content, safe='')})
        for n, (change, content) in enumerate(file_contents(rng, bases, file_count)):
            name = 'fuzz %d.jsonl' % n
            cases.append({'kind': 'file', 'change': change, 'label': repr(content[:40]),
                          'name': name,
                          'content': content,
                          'recipe': {'name': name,
                                     'base64': base64.b64encode(content).decode()}})
        for recipe in huge_files(bases[0]):
            cases.append({'kind': 'file', 'change': recipe['name'], 'label': recipe['name'],
                          'name': recipe['name'],
                          'content': recipe_bytes(recipe), 'recipe': recipe})
        made = len(cases)
        expected = natives(program, workdir, cases)
        for case, wanted in zip(cases, expected):
            # The page holds a file in the calculator's memory: one longer
            # than a scenario may be is refused whole, unread.
            if len(case['content']) > LONGEST_FILE:
                wanted.update(prediction=None, messages=[PAGE_TOO_LONG])
        chosen = page.sample(list(zip(cases, expected)), SAMPLE_SIZE, case_kinds)
        cases = [case for case, _ in chosen]
        expected = [wanted for _, wanted in chosen]
        for case in cases:
            del case['content']
        resets = [{'hash': '#s=' + urllib.parse.quote(line, safe=''), 'prediction': p}
                  for line, p in zip(bases[:3], page.native_predictions(
                      program, bases[:3], workdir))]
    refused = sum(1 for e in expected if e['prediction'] is None)

    server = page.Server(site)
    browser = page.Browser()
    try:
        browser.driver.execute_cdp_cmd('Page.addScriptToEvaluateOnNewDocument',
                                       {'source': ERROR_TRAP})
        browser.open(server.url + 'index.html')
        problems = run_cases(browser, server, cases, expected, resets)
    finally:
        browser.close()
        server.close()
    links = sum(1 for c in cases if c['kind'] == 'link')
    notices = [p for p in problems if p.startswith(NOTICE)]
    for notice in notices[:20]:
        print(notice)
    problems = [p for p in problems if not p.startswith(NOTICE)]
    return page.report(problems, 'fuzz (seed %d): %d links and %d files of %d cases, '
                       '%d of them refused by the program; %d notices; %d problems' % (
                           seed, links, len(cases) - links, made, refused,
                           len(notices), len(problems)))


if __name__ == '__main__':
    sys.exit(main())
