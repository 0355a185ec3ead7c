"""What the browser tests of the page share: the checks that everything is
installed (a missing piece skips the test with the Debian package to
install), a local server for the page's folder, headless Chromium through
Selenium, reading the figures that the page shows, and the native
program's figures to compare them with.

Every test script takes PROGRAM SITE_DIR OUT_DIR [more]: the native
zelvorn-odds, the folder of the built page, and a folder for its output.
"""
import functools
import http.server
import json
import os
import shutil
import subprocess
import sys
import tempfile
import threading
import time
import urllib.parse

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)),
                                '..', '..', 'web'))
import serve  # noqa: E402  (the page's server, as web/serve.sh runs it)

# The status that CTest takes as "skipped" (SKIP_RETURN_CODE).
SKIPPED = 77

CHROMIUM = '/usr/bin/chromium'
CHROMEDRIVER = '/usr/bin/chromedriver'

HERE = os.path.dirname(os.path.abspath(__file__))
SOURCE = os.path.normpath(os.path.join(HERE, '..', '..'))


def required():
    """Whether the environment asks the browser tests to run: then a
    missing piece is a failure, not a skip."""
    return os.environ.get('ZELVORN_WEB_REQUIRED', '') not in ('', '0')


def skip(message):
    if required():
        print('FAILED: ' + message + ' (ZELVORN_WEB_REQUIRED is set)')
        sys.exit(1)
    print('SKIPPED: ' + message)
    sys.exit(SKIPPED)


def check_ready(site):
    """Skips unless the page is built and the browser can be driven."""
    if not os.path.exists(os.path.join(site, 'zelvorn.wasm')):
        skip('the web page is not built: emcc was not found '
             '(Debian: emscripten node-acorn)')
    if not os.access(CHROMIUM, os.X_OK):
        skip('%s not found (Debian: chromium)' % CHROMIUM)
    if not os.access(CHROMEDRIVER, os.X_OK):
        skip('%s not found (Debian: chromium-driver)' % CHROMEDRIVER)
    try:
        import selenium  # noqa: F401
    except ImportError:
        skip('Selenium not found for %s (Debian: python3-selenium)' %
             sys.executable)


# A function body that gives the figures on show, as Browser.figures().
SHOWN_FIGURES = """
    const shown = {};
    const support = document.querySelector('[data-support-kind]');
    if (support) shown['supportFire.kind'] = support.dataset.supportKind;
    for (const node of document.querySelectorAll('[data-figure]')) {
      if (node.getClientRects().length === 0) continue;
      shown[node.dataset.figure] = node.textContent;
    }
    return shown;"""


class QuietHandler(serve.Handler):
    """The handler of web/serve.sh's server, without its log."""

    def log_message(self, *args):
        pass


class Server:
    """The page's folder served on a free port of 127.0.0.1."""

    def __init__(self, site):
        handler = functools.partial(QuietHandler, directory=site)
        self.httpd = http.server.ThreadingHTTPServer(('127.0.0.1', 0), handler)
        self.url = 'http://127.0.0.1:%d/' % self.httpd.server_address[1]
        self.thread = threading.Thread(target=self.httpd.serve_forever,
                                       daemon=True)
        self.thread.start()

    def close(self):
        self.httpd.shutdown()
        self.httpd.server_close()


class Browser:
    """Headless Chromium at a given window width."""

    def __init__(self, width=1280, height=900):
        from selenium import webdriver
        from selenium.webdriver.chrome.service import Service
        self.profile = tempfile.mkdtemp(prefix='zelvorn-chromium-')
        self.downloads = os.path.join(self.profile, 'downloads')
        os.mkdir(self.downloads)
        options = webdriver.ChromeOptions()
        options.binary_location = CHROMIUM
        for flag in ('--headless', '--no-sandbox', '--disable-gpu',
                     '--disable-quic', '--no-first-run',
                     '--disable-background-networking',
                     '--disable-component-update', '--disable-sync',
                     '--disable-dev-shm-usage',
                     '--user-data-dir=' + self.profile,
                     '--window-size=%d,%d' % (width, height)):
            options.add_argument(flag)
        options.add_experimental_option('prefs', {
            'download.default_directory': self.downloads,
            'download.prompt_for_download': False})
        self.driver = webdriver.Chrome(service=Service(CHROMEDRIVER),
                                       options=options)
        self.driver.set_script_timeout(30)
        self.loads = 0
        self.driver.execute_cdp_cmd('Page.setDownloadBehavior', {
            'behavior': 'allow', 'downloadPath': self.downloads})

    def close(self):
        try:
            self.driver.quit()
        finally:
            shutil.rmtree(self.profile, ignore_errors=True)

    def open(self, url):
        """Loads the page afresh (a query of its own makes every address a
        new document, also when only the fragment differs) and waits until
        the calculator is running."""
        self.loads += 1
        address, _, fragment = url.partition('#')
        address += ('&' if '?' in address else '?') + 'load=%d' % self.loads
        self.driver.get(address + ('#' + fragment if fragment else ''))
        self.wait_for('document.documentElement.dataset.ready === "true"')

    def wait_for(self, condition, timeout=20):
        end = time.time() + timeout
        while True:
            if self.driver.execute_script('return Boolean(%s);' % condition):
                return
            if time.time() > end:
                raise AssertionError('timed out waiting for: ' + condition)
            time.sleep(0.01)

    def js(self, script, *args):
        return self.driver.execute_script(script, *args)

    def state(self):
        return self.js('return document.getElementById("results").dataset.state;')

    def figures(self):
        """The figures the page shows, by their names in the prediction:
        {"odds.attackerLosses": "3", ...}, as displayed text, and the kind
        of support fire shown."""
        return self.js('return (() => {%s})();' % SHOWN_FIGURES)

    def shown_fields(self):
        """The dotted names of the questions that the page asks, in page
        order: on show, or within a fold that is closed."""
        return self.js("""
            return [...document.querySelectorAll('[data-field]')]
              .filter((node) => !node.closest('[hidden]'))
              .map((node) => node.dataset.field);""")

    def shown_questions(self):
        """The dialogue's wording of the questions that the page asks, in
        page order (a description may show only on focus)."""
        return self.js("""
            return [...document.querySelectorAll('#questions .question')]
              .filter((node) => !node.closest('[hidden]'))
              .map((node) => node.textContent);""")

    def field(self, name):
        from selenium.webdriver.common.by import By
        return self.driver.find_element(By.CSS_SELECTOR,
                                        '[data-field="%s"]' % name)

    def choose(self, name, value):
        """Picks a menu entry, or clicks a yes/no box until it holds the
        answer ('true' or 'false')."""
        from selenium.webdriver.support.ui import Select
        node = self.field(name)
        if node.tag_name == 'select':
            Select(node).select_by_value(str(value))
            return
        for _ in range(3):
            if node.get_attribute('data-value') == str(value):
                return
            node.click()
        raise AssertionError('%s does not take %r' % (name, value))

    def answer(self, name, value):
        """Answers a question as a player would: a menu entry or a yes/no
        box chosen, or a number typed."""
        node = self.field(name)
        if node.tag_name == 'select' or node.get_attribute('type') == 'checkbox':
            self.choose(name, value)
        else:
            self.type_number(name, value)

    def question_of(self, name):
        """The dialogue's question that a field's description gives."""
        return self.js('const d = document.getElementById(arguments[0].id + "-help");'
                       'return d ? d.textContent : null;', self.field(name))

    def shown_error(self, name):
        """The error text on show for a field, or None."""
        return self.js("""
            const node = document.getElementById(arguments[0].id + '-error');
            return node && node.getClientRects().length ? node.textContent : null;""",
                       self.field(name))

    def type_number(self, name, text):
        """Types a number over what the field holds, key by key (an empty
        text clears it)."""
        from selenium.webdriver.common.keys import Keys
        self.field(name).send_keys(Keys.CONTROL, 'a', Keys.NULL,
                                   str(text) or Keys.BACKSPACE)

    def click(self, selector):
        from selenium.webdriver.common.by import By
        self.driver.find_element(By.CSS_SELECTOR, selector).click()

    def catalogue(self):
        """The calculator's field catalogue, from a module of its own."""
        return json.loads(self.driver.execute_async_script("""
            const done = arguments[arguments.length - 1];
            createZelvorn().then((m) => done(m.ccall('zelvorn_fields', 'string', [], [])));"""))


def in_browsers(items, work, count=1, width=1280, height=900):
    """work(browser, item) for every item, shared among `count` browsers
    that run side by side; the results in the items' order."""
    results = [None] * len(items)
    errors = []

    def run(start):
        try:
            browser = Browser(width, height)
        except Exception as error:  # noqa: BLE001 (reported below)
            errors.append(error)
            return
        try:
            for i in range(start, len(items), count):
                results[i] = work(browser, items[i])
        except Exception as error:  # noqa: BLE001
            errors.append(error)
        finally:
            browser.close()

    threads = [threading.Thread(target=run, args=(n,)) for n in range(count)]
    for thread in threads:
        thread.start()
    for thread in threads:
        thread.join()
    if errors:
        raise errors[0]
    return results


# The long comparisons against the program check a fixed sample of their
# cases unless ZELVORN_WEB_SAMPLE=all asks for every case (as .ci/run does);
# ZELVORN_WEB_SAMPLE=N asks for a sample of N cases instead of the test's own
# size.  The sample is drawn with a fixed seed, so that a run repeats the one
# before it, and it always holds a case of every kind that the cases have.
SAMPLE_SEED = 2026


def sample_all():
    """Whether every case is asked for, not a sample."""
    return os.environ.get('ZELVORN_WEB_SAMPLE', '').strip().lower() == 'all'


def sample(cases, size, kinds):
    """The cases to check: every case (ZELVORN_WEB_SAMPLE=all), or `size` of
    them (ZELVORN_WEB_SAMPLE=N: N of them) in their own order, drawn with a
    fixed seed after one case for each kind that `kinds(case)` names (a set
    of labels), so that no kind is left out however small the size."""
    wanted = os.environ.get('ZELVORN_WEB_SAMPLE', '').strip().lower()
    if wanted == 'all' or size >= len(cases):
        return list(cases)
    if wanted:
        size = int(wanted)
    import random
    order = list(range(len(cases)))
    random.Random(SAMPLE_SEED).shuffle(order)
    chosen = set()
    seen = set()
    # The cases that bring the most kinds not yet seen come first (the
    # shuffled order breaks ties).
    labels = {i: set(kinds(cases[i])) for i in order}
    while True:
        best = max(order, key=lambda i: len(labels[i] - seen))
        if not labels[best] - seen:
            break
        chosen.add(best)
        seen |= labels[best]
    for i in order:
        if len(chosen) >= size:
            break
        chosen.add(i)
    return [case for i, case in enumerate(cases) if i in chosen]


def scenario_kinds(line, sizes=True):
    """The kinds of combat a scenario (a line of --save) stands for: each
    answer by its name (list positions left out) with its value for a yes,
    a no, a neither and a menu entry, and for a number whether it is at the
    largest values, else (with `sizes`) whether it is zero, up to 15 or
    larger; the length of each list."""
    kinds = set()

    def walk(node, name):
        if isinstance(node, dict):
            for key, value in node.items():
                walk(value, name + '.' + key if name else key)
        elif isinstance(node, list):
            kinds.add('%s: %s entries' % (name, min(len(node), 3)))
            for value in node:
                walk(value, name + '[]')
        elif isinstance(node, (int, float)) and not isinstance(node, bool):
            if node >= 10 ** 8:
                kinds.add('%s: largest' % name)
            elif sizes:
                kinds.add('%s: %s' % (name, 'zero' if node == 0 else 'some' if node <= 15
                                      else 'large'))
            else:
                kinds.add('%s: a number' % name)
        else:
            kinds.add('%s: %s' % (name, json.dumps(node)))

    walk(json.loads(line), '')
    return kinds


def scenario_url(base, scenario_text):
    """The page's address for a scenario, as the page writes it."""
    compact = json.dumps(json.loads(scenario_text), separators=(',', ':'))
    return base + 'index.html#s=' + urllib.parse.quote(compact, safe='')


def expected_figures(prediction):
    """The figures that the page must show for a prediction of --json, by
    name: the odds, the softening and the rugged chance always; the rugged
    outcome when there is one; the support fire, and the figures without
    it, when there is a kind of support fire."""
    supported = prediction['supportFire']['kind'] != 'none'
    figures = {'timesAttacked': prediction['timesAttacked'],
               'ruggedChance': prediction['ruggedChance']}
    for key, value in prediction['odds'].items():
        figures['odds.' + key] = value
    if supported:
        for key, value in prediction['oddsNoSupport'].items():
            figures['oddsNoSupport.' + key] = value
        fire = prediction['supportFire']
        figures['supportFire.kind'] = fire['kind']
        figures['supportFire.damageTotal'] = fire['damageTotal']
        figures['supportFire.suppressionTotal'] = fire['suppressionTotal']
        for i, unit in enumerate(fire['units']):
            for key in ('damage', 'suppression', 'damageTotal',
                        'suppressionTotal'):
                figures['supportFire.units.%d.%s' % (i, key)] = unit[key]
    if prediction['rugged'] is not None:
        for key, value in prediction['rugged'].items():
            if key.endswith('NoSupport') and not supported:
                continue
            figures['rugged.' + key] = value
    return {name: str(value) for name, value in figures.items()}


def compare_figures(shown, prediction, where):
    """The differences between the page's figures and --json's."""
    wanted = expected_figures(prediction)
    problems = []
    for name in sorted(set(wanted) | set(shown)):
        if shown.get(name) != wanted.get(name):
            problems.append('%s: %s shows %r, the program gives %r' %
                            (where, name, shown.get(name), wanted.get(name)))
    return problems


def native_predictions(program, scenario_lines, workdir):
    """--scenario FILE --json of the native program, one per line."""
    path = os.path.join(workdir, 'scenarios.jsonl')
    with open(path, 'w') as f:
        f.write(''.join(line + '\n' for line in scenario_lines))
    run = subprocess.run([program, '--scenario', path, '--json'],
                         capture_output=True, text=True)
    predictions = [json.loads(l) for l in run.stdout.splitlines()]
    if len(predictions) != len(scenario_lines):
        raise AssertionError('the program gave %d predictions for %d scenarios:'
                             ' %s' % (len(predictions), len(scenario_lines),
                                      run.stderr[:500]))
    return predictions


def saved_scenarios(program, answers, workdir):
    """The scenarios that the dialogue saves for an answer text."""
    path = os.path.join(workdir, 'saved.jsonl')
    if os.path.exists(path):
        os.remove(path)
    subprocess.run([program, '--save', path], input=answers,
                   capture_output=True)
    if not os.path.exists(path):
        return []
    with open(path, encoding='utf-8') as f:
        return f.read().splitlines()


def answer_files():
    """The example and transcript answer files, by name."""
    files = []
    for folder in ('examples', os.path.join('tests', 'transcripts')):
        directory = os.path.join(SOURCE, folder)
        for entry in sorted(os.listdir(directory)):
            if entry.endswith('.in'):
                with open(os.path.join(directory, entry), 'rb') as f:
                    files.append((os.path.join(folder, entry), f.read()))
    return files


def made_up_answers(count, seed):
    """Answer texts of made-up dialogues (tests/scenario/round_trip.py)."""
    import random
    sys.path.insert(0, os.path.join(SOURCE, 'tests', 'scenario'))
    import round_trip
    rng = random.Random(seed)
    return [round_trip.made_up_answers(rng).encode('latin-1')
            for _ in range(count)]


def report(problems, counts):
    for problem in problems[:30]:
        print(problem)
    if len(problems) > 30:
        print('... and %d more' % (len(problems) - 30))
    print(counts)
    return 1 if problems else 0
