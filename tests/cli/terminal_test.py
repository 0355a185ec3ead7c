#!/usr/bin/env python3
"""The dialogue typed at a terminal, through a pseudo-terminal: line editing
(an answer corrected with the arrow keys, an earlier answer recalled with the
up arrow, a preset's name completed with Tab), and the end of the input
leaving the cursor on a fresh line.

  terminal_test.py PROGRAM SOURCE_DIR editing|plain [LINE_EDITING_BUILT]

"editing" tests the line editor (and exits with 77 when the program was
built without it); "plain" tests the terminal without it.
"""
import os
import pty
import select
import sys
import time

PROGRAM, SOURCE, PART = sys.argv[1], sys.argv[2], sys.argv[3]
EDITING = PART == 'editing'
if EDITING and sys.argv[4:5] != ['ON']:
    print('line editing is not built (Debian: libedit-dev): skipped')
    sys.exit(77)
LEFT = b'\x1b[D'
UP = b'\x1b[A'
BACKSPACE = b'\x7f'
TAB = b'\t'
END_OF_INPUT = b'\x04'

failures = []


class Terminal:
    """The program on a pseudo-terminal, typed at like a player would."""

    def __init__(self, *options):
        self.pid, self.fd = pty.fork()
        if self.pid == 0:
            os.environ['TERM'] = 'xterm'
            os.environ['HOME'] = '/nonexistent'  # no editor settings of ours
            os.execv(PROGRAM, [PROGRAM] + list(options))
        self.seen = b''

    def read_until(self, wanted, seconds=10):
        """Reads the screen until `wanted` has appeared `self.seen` anew."""
        deadline = time.monotonic() + seconds
        start = len(self.seen)
        while wanted not in self.seen[start:]:
            left = deadline - time.monotonic()
            if left <= 0:
                return False
            ready, _, _ = select.select([self.fd], [], [], left)
            if not ready:
                return False
            try:
                chunk = os.read(self.fd, 4096)
            except OSError:
                return False
            if not chunk:
                return False
            self.seen += chunk
        return True

    def type(self, keys):
        # A moment for the line editor to take the terminal over after its
        # prompt: keys typed faster than a player types would meet the
        # terminal's own line editing.
        time.sleep(0.15)
        os.write(self.fd, keys)

    def finish(self):
        """Reads to the end and gives the exit status."""
        while True:
            ready, _, _ = select.select([self.fd], [], [], 10)
            if not ready:
                os.kill(self.pid, 9)
                break
            try:
                chunk = os.read(self.fd, 4096)
            except OSError:
                break
            if not chunk:
                break
            self.seen += chunk
        _, status = os.waitpid(self.pid, 0)
        return os.waitstatus_to_exitcode(status)


def expect(condition, message, terminal):
    if not condition:
        failures.append('%s; the screen ends with %r' % (message,
                                                        terminal.seen[-300:]))


DEFENDER_MENU = b'class of the defending unit'
CLASS_ERROR = b'The class must be number between one and eleven'
INPUT_ENDED = b'zelvorn-odds: the input ended before the answer was given\r\n'


def line_editing():
    # "19" (a Tab between, which only beeps where no names are offered),
    # the cursor back over the 9, the 1 deleted: the answer is 9, a bomber,
    # accepted at once.
    t = Terminal()
    expect(t.read_until(b'>> '), 'no first question', t)
    t.type(b'1' + TAB + b'9' + LEFT + BACKSPACE + b'\r')
    expect(t.read_until(DEFENDER_MENU), 'the corrected class was not taken', t)
    expect(CLASS_ERROR not in t.seen, 'the corrected class was rejected', t)
    # The up arrow recalls the 9 for the defender, a bomber too: the next
    # question is the overcast weather, asked when both are airplanes.
    t.type(UP + b'\r')
    expect(t.read_until(b'Is the weather overcast?'),
           'the recalled answer was not taken', t)
    # Ctrl-D at a number question ends the dialogue, the message on a line
    # of its own (the editor shows Ctrl-D as ^D).
    t.type(b'n\r')
    expect(t.read_until(b'attack value of the attacking unit:\r\n>> '),
           'no attack value question', t)
    t.type(END_OF_INPUT)
    status = t.finish()
    expect(status == 1, 'Ctrl-D at a number question gave status %d' % status, t)
    expect(t.seen.endswith(b'>> ^D\r\n' + INPUT_ENDED),
           'the end of input was not reported on a fresh line', t)


def preset_completion():
    # With a roster, Tab completes the preset's name typed so far, the case
    # of its letters aside; Tab on nothing lists the names of the side.
    t = Terminal('--roster', os.path.join(SOURCE, 'examples', 'roster.json'))
    expect(t.read_until(b'preset of the attacking unit, or nothing to enter '
                        b'its values:\r\n>> '), 'no attacker\'s preset question',
           t)
    t.type(b'Ket' + TAB)
    expect(t.read_until(b'tle Hound'), 'Kettle Hound was not completed', t)
    t.type(b'\r')
    expect(t.read_until(b'preset of the defending unit, or nothing to enter '
                        b'its values:\r\n>> '), 'Kettle Hound was not taken', t)
    t.type(TAB)
    expect(t.read_until(b'Brass Boar\r\nMire Lancers\r\nThistle Guard\r\n'),
           'Tab on nothing did not list the defenders', t)
    t.type(b'th' + TAB + b'\r')
    # Thistle Guard taken: the first question of the situation comes.
    expect(t.read_until(b'Is the weather snow or rain?'),
           'Thistle Guard was not completed and taken', t)
    expect(b'The roster has no preset' not in t.seen,
           'a completed name was refused', t)
    t.type(END_OF_INPUT)
    t.finish()


def plain_terminal():
    # Without line editing the terminal's own line editing is all there is,
    # and the arrow keys reach the answer: it is rejected, as before.
    t = Terminal('--no-editing')
    expect(t.read_until(b'>> '), 'no first question', t)
    t.type(b'19' + LEFT + b'\r')
    expect(t.read_until(CLASS_ERROR), 'an arrow key in the answer was accepted',
           t)
    t.type(b'9\r')
    expect(t.read_until(DEFENDER_MENU), 'no defender menu', t)
    t.type(END_OF_INPUT)
    status = t.finish()
    expect(status == 1, 'Ctrl-D at the defender menu gave status %d' % status,
           t)
    expect(t.seen.endswith(b'>> \r\n' + INPUT_ENDED),
           'the end of input was not reported on a fresh line', t)


def end_at_the_last_question(*options):
    """At the last question the end of the input ends the program; the shell's
    prompt that follows stands on a fresh line."""
    path = os.path.join(SOURCE, 'tests', 'transcripts', 'q_bomber_naval.in')
    with open(path, 'rb') as f:
        answers = f.read().split(b'\n')[:-1]  # up to the another-combat question
    t = Terminal(*options)
    for answer in answers:
        expect(t.read_until(b'>> '), 'a question did not come', t)
        t.type(answer + b'\r')
    expect(t.read_until(b'another combat? (Y/N)\r\n>> '),
           'no another-combat question', t)
    t.type(END_OF_INPUT)
    status = t.finish()
    expect(status == 0, 'Ctrl-D at the last question gave status %d' % status, t)
    expect(t.seen.endswith(b'another combat? (Y/N)\r\n>> \r\n') or
           t.seen.endswith(b'another combat? (Y/N)\r\n>> ^D\r\n'),
           'the output did not end on a fresh line %r' % (options,), t)


if EDITING:
    line_editing()
    preset_completion()
    end_at_the_last_question()
else:
    plain_terminal()
    end_at_the_last_question('--no-editing')

for failure in failures:
    print(failure)
print('%d problems' % len(failures))
sys.exit(1 if failures else 0)
