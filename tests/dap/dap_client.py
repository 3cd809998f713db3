# A small client of the Debug Adapter Protocol over a child's pipes.

import json
import pathlib
import queue
import shutil
import subprocess
import tempfile
import threading

TIMEOUT_S = 30
THREAD = {'threadId': 1}

# A loop, a gosub and a check, played by the tests; the physical line
# numbers are theirs.
LOOP = [
    '# counting to five',       # 1
    '@01=0',                    # 2
    '[loop]',                   # 3
    '@01=@01+1',                # 4
    'if"@01<5,loop,done"',      # 5
    '[done]',                   # 6
    'gosub"sub"',               # 7
    '@03=@01*2',                # 8
    'textmode',                 # 9
    'end',                      # 10
    '[sub]',                    # 11
    '@02=7',                    # 12
    'return',                   # 13
]


def story(test, lines):
    """A fresh story folder, removed after the test, whose data/mowa.snr holds
    the lines in code page 932."""
    folder = pathlib.Path(tempfile.mkdtemp(prefix='mowa-dap-'))
    test.addCleanup(shutil.rmtree, folder, True)
    (folder / 'data').mkdir()
    (folder / 'data' / 'mowa.snr').write_bytes(
        ('\n'.join(lines) + '\n').encode('cp932'))
    return folder


class DapClient:
    def __init__(self, argv, cwd=None, env=None):
        self.proc = subprocess.Popen(argv, stdin=subprocess.PIPE,
                                     stdout=subprocess.PIPE,
                                     stderr=subprocess.PIPE, cwd=cwd,
                                     env=env)
        self.messages = queue.Queue()
        self.events = []      # every event seen, in order
        self.log = []         # (direction, message) for transcripts
        self.seq = 1
        threading.Thread(target=self._read, daemon=True).start()

    def _read(self):
        length = None
        while line := self.proc.stdout.readline():
            name, _, value = line.strip().partition(b':')
            if not name:  # the blank line that ends the headers
                self.messages.put(json.loads(self.proc.stdout.read(length)))
            elif name.lower() == b'content-length':
                length = int(value)
        self.messages.put(None)

    def close(self):
        if self.proc.poll() is None:
            self.proc.kill()
        self.proc.wait()
        for pipe in (self.proc.stdin, self.proc.stdout, self.proc.stderr):
            pipe.close()

    def send_raw(self, data):
        self.proc.stdin.write(data)
        self.proc.stdin.flush()

    def send(self, command, arguments=None):
        message = {'seq': self.seq, 'type': 'request', 'command': command}
        if arguments is not None:
            message['arguments'] = arguments
        self.seq += 1
        self.log.append(('->', message))
        body = json.dumps(message).encode()
        self.send_raw(b'Content-Length: %d\r\n\r\n' % len(body) + body)
        return message['seq']

    def _next(self, timeout_s=TIMEOUT_S):
        message = self.messages.get(timeout=timeout_s)
        if message is None:
            raise EOFError('the adapter closed its output')
        self.log.append(('<-', message))
        if message['type'] == 'event':
            self.events.append(message)
        return message

    def request(self, command, arguments=None):
        """The response to one request (events on the way are kept)."""
        seq = self.send(command, arguments)
        while True:
            message = self._next()
            if message['type'] == 'response' and message['request_seq'] == seq:
                return message

    def ok(self, command, arguments=None):
        response = self.request(command, arguments)
        assert response['success'], response
        return response.get('body', {})

    def event(self, name, start=0, timeout_s=TIMEOUT_S):
        """The first event `name` at or after index `start` of the events
        (queue.Empty when nothing comes for `timeout_s`)."""
        while True:
            for e in self.events[start:]:
                if e['event'] == name:
                    return e
            self._next(timeout_s)

    def stopped(self, start):
        return self.event('stopped', start)['body']

    def step(self, command, arguments=THREAD):
        """The stop that a request which runs the scenario on leads to."""
        mark = len(self.events)
        self.ok(command, arguments)
        return self.stopped(mark)

    def outputs(self, category):
        return [e['body']['output'] for e in self.events
                if e['event'] == 'output' and e['body']['category'] == category]

    def launch(self, folder, breakpoints=None, exceptions=None, path=None):
        """Where the breakpoints were placed: (verified, line) each."""
        self.ok('initialize', {'adapterID': 'mowa', 'linesStartAt1': True})
        self.ok('launch', {'folder': str(folder), 'stopOnEntry': False,
                           'trace': False})
        self.event('initialized')
        placed = breakpoints is not None and self.ok('setBreakpoints', {
            'source': {'path': str(path or folder / 'data' / 'mowa.snr')},
            'breakpoints': breakpoints})['breakpoints']
        self.ok('setExceptionBreakpoints', {'filters': exceptions or []})
        self.ok('configurationDone')
        return placed and [(b['verified'], b.get('line')) for b in placed]

    def line(self):
        return [f['line'] for f in self.ok('stackTrace', THREAD)['stackFrames']]

    def variable(self, name):
        variables = self.ok('variables', {'variablesReference': 1})['variables']
        return next(int(v['value']) for v in variables if v['name'] == name)

    def finish(self, nudge=None):
        """Runs to the end: the exit code the exited event and the process
        report. Each second without the end, nudge() is called if given."""
        mark = len(self.events)
        self.ok('continue', THREAD)
        for _ in range(TIMEOUT_S):
            try:
                code = self.event('exited', mark, 1 if nudge else TIMEOUT_S)
                break
            except queue.Empty:
                if not nudge:
                    raise
                nudge()
        else:
            raise AssertionError('no exited event: the run did not end')
        self.event('terminated', mark)
        self.ok('disconnect')
        return code['body']['exitCode'], self.proc.wait(timeout=TIMEOUT_S)
