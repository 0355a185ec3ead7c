#!/usr/bin/env python3
"""Links and files are read as the command line reads them, and no figure
stays on show that is not the prediction of the answers on screen:

- a link whose scenario the program refuses (not JSON, cut short, null, a
  list, a value of the wrong type, "artillery": 5) shows the program's
  error line and no figures, and the address stays as it was;
- a file the program refuses, imported after a valid combat, leaves none
  of that combat's figures;
- a file of several megabytes is read whole, and the figures after a
  change are the program's; a file over 16 MiB is refused before it is
  read, as a file too long for the page (not as a fault of its first line);
- a negative suppression draws no bar of negative height;
- no two landmarks of the page share a name.

  reading.py PROGRAM SITE_DIR OUT_DIR
"""
import json
import os
import subprocess
import sys
import tempfile
import urllib.parse

import page

# A link's scenario is read as a file named "link".
LINK_NAME = 'link'
# What the page says of a file longer than it reads: the file, not a line.
TOO_LONG = '%s: the file is longer than 16 MiB, the most the page reads'


def program_messages(program, text, name, workdir):
    """What `zelvorn-odds --scenario NAME --json` prints on standard error
    for a file holding `text` (bytes), and its exit status."""
    with open(os.path.join(workdir, name), 'wb') as f:
        f.write(text)
    run = subprocess.run([program, '--scenario', name, '--json'], cwd=workdir,
                         capture_output=True)
    return run.stderr.decode('utf-8', 'replace').splitlines(), run.returncode


def shown_messages(browser):
    """The messages on show, each as the line of the command line that it
    words for a player."""
    return browser.js("""
        const node = document.getElementById('import-messages');
        return node.getClientRects().length
          ? [...node.querySelectorAll('[data-message]')].map((m) => m.dataset.message) : [];""")


def no_figures(browser, where):
    problems = []
    if browser.state() != 'invalid':
        problems.append('%s: the page is in state %r, not "invalid"' % (where, browser.state()))
    left = browser.figures()
    left.pop('supportFire.kind', None)
    summary = browser.js('return [...document.querySelectorAll("[data-summary-figure]")]'
                         '.filter((n) => n.getClientRects().length).length;')
    if left or summary:
        problems.append('%s: figures on show: %s' % (where, sorted(left)[:5]))
    return problems


def check_links(browser, server, program, workdir, valid_line):
    problems = []
    valid = json.loads(valid_line)
    wrong_type = json.loads(valid_line)
    wrong_type['attacker']['strength'] = 'ten'
    artillery = json.loads(valid_line)
    artillery['artillery'] = 5
    texts = [('not JSON', 'garbage'),
             ('cut short', valid_line[:len(valid_line) // 2]),
             ('null', 'null'),
             ('a list', '[1,2]'),
             ('a string for a number', json.dumps(wrong_type)),
             ('"artillery": 5', json.dumps(artillery)),
             ('an unknown name', json.dumps(dict(valid, colour=1)))]
    for what, text in texts:
        wanted, status = program_messages(program, text.encode(), LINK_NAME, workdir)
        if status == 0:
            problems.append('%s: the program takes it; the case is wrong' % what)
            continue
        hash_ = '#s=' + urllib.parse.quote(text, safe='')
        browser.open(server.url + 'index.html' + hash_)
        problems += no_figures(browser, 'link with ' + what)
        if shown_messages(browser) != wanted:
            problems.append('link with %s: the page says %r, the program %r' %
                            (what, shown_messages(browser), wanted))
        if browser.js('return location.hash;') != hash_:
            problems.append('link with %s: the address became %r' %
                            (what, browser.js('return location.hash;')))
    # A change of an answer afterwards computes the answers on screen again.
    browser.type_number('attacker.strength', '3')
    browser.wait_for('document.getElementById("results").dataset.state !== "invalid"')
    return problems


def import_file(browser, path):
    from selenium.webdriver.common.by import By
    browser.js('document.getElementById("import-messages").hidden = true;'
               'document.getElementById("results").dataset.state = "reading";')
    browser.driver.find_element(By.ID, 'import-file').send_keys(path)
    browser.wait_for('document.getElementById("results").dataset.state !== "reading" && '
                     '!document.getElementById("status").textContent.startsWith("Reading")',
                     timeout=60)


def check_files(browser, server, program, workdir, valid_line):
    problems = []
    # A refused file after a valid combat.
    browser.open(page.scenario_url(server.url, valid_line))
    address = browser.js('return location.hash;')
    refused = b'{"general": {"attackerClass": 2}, "artillery": 5}\n'
    wanted, _ = program_messages(program, refused, 'refused.jsonl', workdir)
    import_file(browser, os.path.join(workdir, 'refused.jsonl'))
    problems += no_figures(browser, 'a refused file')
    if shown_messages(browser) != wanted:
        problems.append('a refused file: the page says %r, the program %r' %
                        (shown_messages(browser), wanted))
    if browser.js('return location.hash;') != address:
        problems.append('a refused file changed the address')

    # A file of several megabytes: one scenario, spread over many lines.
    scenario = json.loads(valid_line)
    scenario['attacker']['strength'] = 7
    big = (json.dumps(scenario, indent=1).replace('\n', '\n' + ' ' * 4000)
           .encode())
    big = big[:-1] + b' ' * (5 * 1024 * 1024) + b'}\n'
    wanted, status = program_messages(program, big, 'big.json', workdir)
    changed = json.loads(valid_line)
    changed['attacker']['strength'] = 9
    first, after = page.native_predictions(program, [json.dumps(scenario),
                                                     json.dumps(changed)], workdir)
    browser.open(page.scenario_url(server.url, valid_line))
    import_file(browser, os.path.join(workdir, 'big.json'))
    if status != 0 or shown_messages(browser) != wanted:
        problems.append('a file of 5 MB: the page says %r, the program %r (status %d)' %
                        (shown_messages(browser), wanted, status))
    problems += page.compare_figures(browser.figures(), first, 'a file of 5 MB')
    browser.type_number('attacker.strength', '9')
    problems += page.compare_figures(browser.figures(), after,
                                     'a change after a file of 5 MB')

    # Over the limit: refused before it is read, as a file too long for the
    # page, not as a fault of its first line (which may be a valid combat).
    browser.js("""
        window.bytesRead = 0;
        for (const name of ['arrayBuffer', 'text', 'stream']) {
          const read = Blob.prototype[name];
          Blob.prototype[name] = function () { window.bytesRead += this.size; return read.call(this); };
        }""")
    huge = b'{' + b' ' * (16 * 1024 * 1024) + b'}\n'
    valid_first = valid_line.encode() + b'\n' + (b' ' * 1023 + b'\n') * (17 * 1024)
    for name, content in [('huge.json', huge), ('big17.json', valid_first)]:
        with open(os.path.join(workdir, name), 'wb') as f:
            f.write(content)
        import_file(browser, os.path.join(workdir, name))
        where = 'a file over 16 MiB (%s)' % name
        if browser.js('return window.bytesRead;'):
            problems.append('%s is read (%d bytes)' % (where, browser.js('return window.bytesRead;')))
        problems += no_figures(browser, where)
        if shown_messages(browser) != [TOO_LONG % name]:
            problems.append('%s: the page says %r' % (where, shown_messages(browser)))
    return problems


def check_negative_suppression(browser, server, program, workdir):
    """A combat whose suppression is below zero, if the model gives one for
    some made-up combat: its figures, and no bar of negative height."""
    lines = []
    for answers in page.made_up_answers(60, 5):
        lines += page.saved_scenarios(program, answers, workdir)[:1]
    predictions = page.native_predictions(program, lines, workdir)
    negative = [(l, p) for l, p in zip(lines, predictions)
                if min(p['odds']['defenderSuppression'],
                       p['oddsNoSupport']['defenderSuppression']) < 0]
    if not negative:
        print('no made-up combat has a negative suppression: bars of all heights '
              'are left to the unit tests')
        return []
    problems = []
    for line, prediction in negative[:3]:
        browser.open(page.scenario_url(server.url, line))
        problems += page.compare_figures(browser.figures(), prediction,
                                         'a negative suppression')
        heights = browser.js('return [...document.querySelectorAll(".chart rect")]'
                             '.map((r) => Number(r.getAttribute("height")));')
        if not heights or min(heights) < 0:
            problems.append('a negative suppression: bar heights %s' % heights)
    return problems


# Every landmark with its role and name, as a screen reader lists them.
LANDMARKS = """
  const roles = {HEADER: 'banner', MAIN: 'main', ASIDE: 'complementary', NAV: 'navigation',
                 FOOTER: 'contentinfo', FORM: 'form', SECTION: 'region'};
  const found = [];
  for (const node of document.querySelectorAll('header, main, aside, nav, footer, form, section, [role]')) {
    if (!node.getClientRects().length) continue;
    const role = node.getAttribute('role') || roles[node.tagName];
    const by = node.getAttribute('aria-labelledby');
    const name = node.getAttribute('aria-label') ||
      (by ? by.split(' ').map((id) => document.getElementById(id).textContent).join(' ') : '');
    const landmarks = ['banner', 'main', 'complementary', 'navigation', 'contentinfo',
                       'form', 'region', 'search'];
    if (!landmarks.includes(role) || ((role === 'region' || role === 'form') && !name)) continue;
    found.push([role, name]);
  }
  return found;"""


def check_landmarks(browser, server, program, workdir):
    problems = []
    for name in ('support_artillery_two_pieces', 'support_air_two_fighters'):
        with open(os.path.join(page.SOURCE, 'tests', 'transcripts', name + '.in'), 'rb') as f:
            line = page.saved_scenarios(program, f.read(), workdir)[0]
        browser.open(page.scenario_url(server.url, line))
        seen = set()
        for role, label in browser.js(LANDMARKS):
            if (role, label) in seen:
                problems.append('%s: two landmarks %s named %r' % (name, role, label))
            seen.add((role, label))
    return problems


def main():
    program, site, out = [os.path.abspath(a) for a in sys.argv[1:4]]
    page.check_ready(site)
    server = page.Server(site)
    browser = page.Browser()
    problems = []
    counts = {}
    try:
        with tempfile.TemporaryDirectory() as workdir:
            with open(os.path.join(page.SOURCE, 'tests', 'transcripts',
                                   'combat_rugged_chance.in'), 'rb') as f:
                line = page.saved_scenarios(program, f.read(), workdir)[0]
            for name, check in [
                    ('links', lambda: check_links(browser, server, program, workdir, line)),
                    ('files', lambda: check_files(browser, server, program, workdir, line)),
                    ('negative suppression',
                     lambda: check_negative_suppression(browser, server, program, workdir)),
                    ('landmarks', lambda: check_landmarks(browser, server, program, workdir))]:
                found = check()
                counts[name] = len(found)
                problems += found
        errors = [e for e in browser.driver.get_log('browser') if e['level'] == 'SEVERE'
                  and 'favicon' not in e['message']]
        problems += ['the browser logged: %s' % e['message'][:200] for e in errors]
    finally:
        browser.close()
        server.close()
    return page.report(problems, 'reading checks (%s): %d problems' % (
        ', '.join('%s %s' % (name, 'passed' if not n else 'FAILED')
                  for name, n in counts.items()), len(problems)))


if __name__ == '__main__':
    sys.exit(main())
