#!/usr/bin/env python3
"""How fast the page is on this machine, and how much it weighs.

- Load to first odds: from the start of the navigation to the moment the
  figures are in the page (#results turns to state "figures", seen by an
  observer that the browser installs before the page's own scripts run),
  for a combat with support fire loaded by its link.  A first visit comes
  from the server, with the browser's caches and the service worker
  cleared before it; a repeat visit follows it and comes from the service
  worker's cache.  The medians of each, after one load that warms the
  browser up.
- One recomputation: a changed answer to the figures shown for it (the
  page recomputes within the input event), and to the next frame drawn
  after it; the medians over many changes, each checked against the
  program's figures for that answer.
- The size of the page's files: every file in its folder.
- Each file crosses the network once on a first visit: the service worker
  keeps what the page fetched, not copies fetched anew.

The page is served as web/serve.sh serves it, by web/serve.py (Python's
own HTTP server), whose log tells which files the browser asked for.

Prints the figures against the targets (150 ms, 5 ms, 400 KB).  The times
depend on how busy the machine is, so only a gross regression fails the
test (ten times a target); the size fails when it is over its target.

  timing.py PROGRAM SITE_DIR OUT_DIR [VISITS] [CHANGES]
"""
import json
import os
import re
import socket
import statistics
import subprocess
import sys
import tempfile
import threading
import time

import page

LOAD_TARGET_MS = 150
RECOMPUTE_TARGET_MS = 5
SIZE_TARGET = 400 * 1024
GROSS = 10

# Installed in every new document before the page's scripts: notes the time
# at which the figures first stand in the page.
FIGURES_OBSERVER = """
  new MutationObserver((changes, observer) => {
    const results = document.getElementById('results');
    if (results && results.dataset.state === 'figures') {
      window.zelvornTimingFiguresAt = performance.now();
      observer.disconnect();
    }
  }).observe(document, {subtree: true, childList: true, attributes: true,
                        attributeFilter: ['data-state']});"""

# When the figures stood in the page, and whether the service worker
# answered the navigation.
LOAD_FIGURES = """
  const navigation = performance.getEntriesByType('navigation')[0];
  return [window.zelvornTimingFiguresAt, navigation.workerStart > 0];"""

# One change of the attacker's strength, timed in the page: until the
# figures are shown, and until the next frame is drawn.
CHANGE = """
  const [value, done] = [arguments[0], arguments[arguments.length - 1]];
  const input = document.querySelector('[data-field="attacker.strength"]');
  const start = performance.now();
  input.value = String(value);
  input.dispatchEvent(new Event('input', {bubbles: true}));
  const shown = performance.now();
  requestAnimationFrame(() => setTimeout(() =>
    done([shown - start, performance.now() - start]), 0));"""


# How web/serve.sh serves the page folder (followed by SITE PORT).
SERVE = ['/usr/bin/python3', 'web/serve.py']
REQUEST = re.compile(r'"GET (/[^ ?#"]*)[^ "]* HTTP/[0-9.]+" (\d+)')


class ReadmeServer:
    """The page's folder served as web/serve.sh serves it, on a free port;
    `asked()` gives the files asked for since the last call, by path."""

    def __init__(self, site):
        with socket.socket() as probe:
            probe.bind(('127.0.0.1', 0))
            port = probe.getsockname()[1]
        self.url = 'http://127.0.0.1:%d/' % port
        self.process = subprocess.Popen(SERVE + [site, str(port)], cwd=page.SOURCE,
                                        stdout=subprocess.DEVNULL,
                                        stderr=subprocess.PIPE, text=True)
        self.log = []
        self.lock = threading.Lock()
        threading.Thread(target=self.read_log, daemon=True).start()
        end = time.time() + 20
        while True:
            try:
                socket.create_connection(('127.0.0.1', port), timeout=1).close()
                break
            except OSError:
                if time.time() > end or self.process.poll() is not None:
                    self.close()
                    raise AssertionError('the server of web/serve.sh did not start')
                time.sleep(0.02)

    def read_log(self):
        for line in self.process.stderr:
            match = REQUEST.search(line)
            if match:
                with self.lock:
                    self.log.append(match.group(1))

    def asked(self):
        with self.lock:
            asked, self.log = self.log, []
        counts = {}
        for path in asked:
            counts[path] = counts.get(path, 0) + 1
        return counts

    def close(self):
        self.process.terminate()
        self.process.wait()


def check_serve_script():
    """web/serve.sh serves the page as this test does."""
    with open(os.path.join(page.SOURCE, 'web', 'serve.sh'), encoding='utf-8') as f:
        script = f.read()
    if ' '.join(SERVE) not in script:
        return ['web/serve.sh no longer serves the page with %s: the test '
                'measures another server' % ' '.join(SERVE)]
    return []


def site_sizes(site):
    sizes = {}
    for folder, _, names in os.walk(site):
        for name in names:
            path = os.path.join(folder, name)
            sizes[os.path.relpath(path, site)] = os.path.getsize(path)
    return dict(sorted(sizes.items()))


def forget_the_page(browser, server):
    """Clears what the browser keeps of the page: its service worker, the
    worker's cache and the HTTP cache, as before a first visit."""
    browser.driver.execute_cdp_cmd('Storage.clearDataForOrigin', {
        'origin': server.url.rstrip('/'),
        'storageTypes': 'service_workers,cache_storage'})
    browser.driver.execute_cdp_cmd('Network.clearBrowserCache', {})


def load(browser, url):
    """Loads the page: the time to its first figures, and whether the
    service worker answered the navigation."""
    browser.open(url)
    browser.wait_for('window.zelvornTimingFiguresAt !== undefined')
    return browser.js(LOAD_FIGURES)


def main():
    program, site, out = [os.path.abspath(a) for a in sys.argv[1:4]]
    visits = int(sys.argv[4]) if len(sys.argv) > 4 else 7
    changes = int(sys.argv[5]) if len(sys.argv) > 5 else 40
    page.check_ready(site)
    problems = []

    sizes = site_sizes(site)
    total = sum(sizes.values())
    if total > SIZE_TARGET:
        problems.append('the page weighs %d bytes, more than %d' % (total, SIZE_TARGET))

    with tempfile.TemporaryDirectory() as workdir:
        with open(os.path.join(page.SOURCE, 'tests', 'transcripts',
                               'support_artillery_two_pieces.in'), 'rb') as f:
            line = page.saved_scenarios(program, f.read(), workdir)[0]
        strengths = [1 + i % 30 for i in range(changes)]
        variants = []
        for strength in strengths:
            scenario = json.loads(line)
            scenario['attacker']['strength'] = strength
            variants.append(json.dumps(scenario))
        predictions = page.native_predictions(program, variants, workdir)

    problems += check_serve_script()
    server = ReadmeServer(site)
    browser = page.Browser()
    browser.driver.execute_cdp_cmd('Page.addScriptToEvaluateOnNewDocument',
                                   {'source': FIGURES_OBSERVER})
    first_times = []
    first_sizes = []
    twice = set()
    repeat_times = []
    shown_times = []
    drawn_times = []
    try:
        url = page.scenario_url(server.url, line)
        for n in range(visits + 1):
            forget_the_page(browser, server)
            server.asked()
            first, from_worker = load(browser, url)
            if from_worker:
                problems.append('a first visit came from the service worker')
            browser.wait_for('navigator.serviceWorker.controller')
            # The service worker's script is fetched on every visit; every
            # other file once, by the page or (not yet in the browser's
            # cache) by the worker.
            asked = server.asked()
            asked.pop('/sw.js', None)
            twice |= {path for path, count in asked.items() if count > 1}
            missing = sorted(set(sizes) - {'sw.js'} - {p[1:] for p in asked} - {'index.html'})
            if missing and n == 0:
                print('files a first visit did not fetch: %s' % ', '.join(missing))
            first_bytes = sum(sizes.get(p[1:] or 'index.html', 0) * c
                              for p, c in asked.items())
            repeat, from_worker = load(browser, url)
            if not from_worker:
                problems.append('a repeat visit did not come from the service worker')
            # The first round only warms the browser up.
            if n > 0:
                first_times.append(first)
                repeat_times.append(repeat)
                first_sizes.append(first_bytes)
        for strength, prediction in zip(strengths, predictions):
            shown, drawn = browser.driver.execute_async_script(CHANGE, strength)
            shown_times.append(shown)
            drawn_times.append(drawn)
            browser.wait_for('document.getElementById("results").dataset.state === "figures"')
            problems += page.compare_figures(browser.figures(), prediction,
                                             'attacker strength %d' % strength)
    finally:
        browser.close()
        server.close()

    if twice:
        problems.append('a first visit fetched %s more than once' % ', '.join(sorted(twice)))
    first = statistics.median(first_times)
    repeat = statistics.median(repeat_times)
    shown = statistics.median(shown_times)
    drawn = statistics.median(drawn_times)
    for what, median in (('a first visit', first), ('a repeat visit', repeat)):
        if median > GROSS * LOAD_TARGET_MS:
            problems.append('load to first odds takes %.0f ms on %s' % (median, what))
    if shown > GROSS * RECOMPUTE_TARGET_MS:
        problems.append('a recomputation takes %.1f ms' % shown)
    for what, median, times in (('first visit, from the server', first, first_times),
                                ('repeat visit, from the service worker\'s cache',
                                 repeat, repeat_times)):
        print('load to first odds, %s: median %.0f ms over %d visits (%s; target %d '
              'ms; %s)' % (what, median, len(times), ' '.join('%.0f' % t for t in times),
                           LOAD_TARGET_MS, 'met' if median < LOAD_TARGET_MS else 'NOT met'))
    print('one recomputation: median %.2f ms to the figures, %.2f ms to the next '
          'frame, over %d changes (target %d ms; %s)' %
          (shown, drawn, changes, RECOMPUTE_TARGET_MS,
           'met' if shown < RECOMPUTE_TARGET_MS else 'NOT met'))
    print('a first visit fetched %d bytes (most of any visit), the page weighs %d' %
          (max(first_sizes), total - sizes.get('sw.js', 0)))
    print('page files: %s; total %d bytes = %.1f KB (target %d KB; %s)' %
          (', '.join('%s %d' % item for item in sizes.items()), total,
           total / 1024, SIZE_TARGET // 1024, 'met' if total <= SIZE_TARGET else 'NOT met'))
    print('machine load average: %.1f' % os.getloadavg()[0])
    with open(os.path.join(out, 'timing.txt'), 'w') as f:
        f.write(json.dumps({'first_visits_ms': first_times, 'repeat_visits_ms': repeat_times,
                            'figures_ms': shown_times, 'frame_ms': drawn_times,
                            'sizes': sizes}) + '\n')
    return page.report(problems, 'timing: %d problems' % len(problems))


if __name__ == '__main__':
    sys.exit(main())
