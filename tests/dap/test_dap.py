# mowa-headless --dap driven by a DAP client: breakpoints, stepping,
# variables, exceptions, restart, bad input and the end of the run.
#
# usage: test_dap.py MOWA_HEADLESS

import os
import sys
import time
import unittest

from dap_client import LOOP, DapClient, TIMEOUT_S, story

HEADLESS = None


class Session(unittest.TestCase):
    def start(self, lines, breakpoints=None, **launch):
        # The adapter on a fresh story of the lines, launched with the
        # breakpoints when they are given (as placed in self.placed).
        self.folder = story(self, lines)
        self.dap = DapClient([HEADLESS, '--dap'])
        self.addCleanup(self.dap.close)
        if breakpoints is not None:
            self.placed = self.dap.launch(self.folder, breakpoints, **launch)
        return self.dap

    def test_line_conditional_hit_count_and_moved_breakpoints(self):
        dap = self.start(LOOP, [
            {'line': 4, 'condition': '@01=3'},
            {'line': 5, 'hitCondition': '2'},
            {'line': 6},          # a label line: moves to the gosub
            {'line': 30},         # past the end: never runs
        ])
        self.assertEqual(self.placed,
                         [(True, 4), (True, 5), (True, 7), (False, None)])
        stops = []
        for i in range(3):
            stop = dap.step('continue') if i else dap.stopped(0)
            stops.append((stop['reason'], dap.line()[0], dap.variable('@01')))
        self.assertEqual(stops, [('breakpoint', 5, 2), ('breakpoint', 4, 3),
                                 ('breakpoint', 7, 5)])
        self.assertEqual(dap.finish(), (0, 0))
        # The trace line of textmode reaches the editor, not the pipe.
        self.assertEqual(dap.outputs('stdout'), ['[textmode]\n'])

    def test_log_points_print_and_never_stop(self):
        dap = self.start(LOOP, [{'line': 5, 'logMessage': 'at {@01}, next {@01+1}'}])
        self.assertEqual(dap.event('exited')['body']['exitCode'], 0)
        logged = [o for o in dap.outputs('console') if o.startswith('at ')]
        self.assertEqual(logged, ['at %d, next %d\n' % (i, i + 1) for i in range(1, 6)])
        self.assertFalse([e for e in dap.events if e['event'] == 'stopped'])

    def test_steps_into_over_and_out_of_a_gosub_and_goto(self):
        dap = self.start(LOOP, [{'line': 7}])
        dap.stopped(0)
        walk = [(dap.step(command)['reason'], dap.line())
                for command in ['stepIn', 'stepOut', 'next']]
        # Into the gosub the caller is the second frame; out of it the
        # statement after the gosub.
        self.assertEqual(walk, [('step', [12, 7]), ('step', [8]), ('step', [9])])
        # Back to the gosub, and over it in one step.
        targets = dap.ok('gotoTargets', {'source': {'path': str(self.folder)},
                                         'line': 6})['targets']
        self.assertEqual([t['line'] for t in targets], [7])
        stop = dap.step('goto', {'threadId': 1, 'targetId': targets[0]['id']})
        self.assertEqual((stop['reason'], dap.line()), ('goto', [7]))
        dap.step('next')
        self.assertEqual(dap.line(), [8])
        self.assertEqual(dap.variable('@02'), 7)
        self.assertEqual(dap.finish(), (0, 0))

    def test_set_variable_and_evaluate_as_the_scenario_computes(self):
        dap = self.start(LOOP, [{'line': 8}])
        dap.stopped(0)
        set_to = dap.ok('setVariable', {'variablesReference': 1,
                                        'name': '@01', 'value': '@01*10'})
        self.assertEqual(set_to['value'], '50')
        cases = [('@01', '50'), ('@01+@02', '57'), ('-7', '-7'),
                 ('-5*2', '-5'), ('7/-2', '-3'), ('1+2+3', '3'),
                 ('2147483647+1', '-2147483648')]
        for expression, want in cases:
            got = dap.ok('evaluate', {'expression': expression, 'context': 'hover'})
            self.assertEqual(got['result'], want, expression)
        for bad in ['@01/0', 'gload', '@1x', '']:
            self.assertFalse(dap.request('evaluate', {'expression': bad})['success'])
        dap.step('next')
        self.assertEqual(dap.variable('@03'), 100)
        self.assertEqual(dap.finish(), (0, 0))

    def test_error_and_check_boxes_stop_with_their_text(self):
        dap = self.start(['@05=3', '@06=@05/0', 'check"@05"', 'end'], [],
                         exceptions=['error', 'check'])
        first = dap.stopped(0)
        self.assertEqual((first['reason'], first['text'], dap.line()),
                         ('exception', '0で割れないの～、くすん。', [2]))
        self.assertEqual(dap.step('continue')['text'],
                         'check=3(script_pointer=3)')
        self.assertEqual(dap.finish(), (0, 0))
        self.assertEqual(dap.outputs('console')[:2],
                         ['[script_read] 0で割れないの～、くすん。\n',
                          '[script_read] check=3(script_pointer=3)\n'])

    def test_data_breakpoint_stops_after_the_change(self):
        dap = self.start(LOOP, [{'line': 2}])
        dap.stopped(0)
        info = dap.ok('dataBreakpointInfo', {'variablesReference': 1, 'name': '@02'})
        self.assertEqual(info['dataId'], '@02')
        dap.ok('setDataBreakpoints', {'breakpoints': [{'dataId': '@02'}]})
        stop = dap.step('continue')
        self.assertEqual((stop['reason'], stop['description']),
                         ('data breakpoint', '@02 0 -> 7'))
        self.assertEqual(dap.line(), [13, 7])
        self.assertEqual(dap.finish(), (0, 0))

    def test_breakpoint_after_a_line_of_300_bytes(self):
        # The second line is read as two: the script pointer counts one
        # more line than the editor from there on.
        lines = ['@01=1', '@02=2' + ' ' * 295, '@03=3', 'end']
        dap = self.start(lines, [{'line': 3}])
        self.assertEqual(self.placed, [(True, 3)])
        dap.stopped(0)
        self.assertEqual(dap.line(), [3])
        self.assertEqual((dap.variable('@02'), dap.variable('@03')), (2, 0))
        state = dap.ok('variables', {'variablesReference': 2})['variables']
        self.assertIn({'name': 'script pointer', 'value': '4',
                       'variablesReference': 0}, state)
        self.assertEqual(dap.finish(), (0, 0))

    def test_restart_reads_the_changed_file(self):
        dap = self.start(['@01=1', 'end'], [{'line': 2}])
        dap.stopped(0)
        (self.folder / 'data' / 'mowa.snr').write_bytes(b'@01=@01+5\n@02=9\nend\n')
        dap.step('restart', None)
        self.assertEqual(dap.line(), [2])
        self.assertEqual((dap.variable('@01'), dap.variable('@02')), (5, 0))
        self.assertEqual(dap.finish(), (0, 0))

    def test_bad_input_is_answered_and_the_session_goes_on(self):
        dap = self.start(LOOP)
        dap.send_raw(b'Content-Length: nine\r\n\r\n')
        dap.send_raw(b'Content-Length: 5\r\n\r\n{oops')
        dap.send_raw(b'Content-Length: 2\r\n\r\n[]')
        self.assertFalse(dap.request('fly', {})['success'])
        self.assertFalse(dap.request('setBreakpoints', {'lines': 'x'})['success'])
        self.assertFalse(dap.request('stackTrace', {'threadId': 1})['success'])
        dap.launch(self.folder, [{'line': 8}])
        dap.stopped(0)
        self.assertFalse(dap.request('variables', {'variablesReference': 'x'})['success'])
        self.assertFalse(dap.request('goto', {'threadId': 1, 'targetId': 999})['success'])
        self.assertEqual(len([o for o in dap.outputs('console') if 'bad input' in o]), 3)
        self.assertEqual(dap.finish(), (0, 0))

    def test_closed_input_ends_the_run_and_leaves_save_dat_whole(self):
        dap = self.start(['[again]', '@01=@01+1', 'save', 'goto"again"'])
        dap.launch(self.folder)
        time.sleep(0.5)  # running: many rounds of the loop go by
        dap.proc.stdin.close()
        self.assertEqual(dap.proc.wait(timeout=TIMEOUT_S), 0)
        self.assertEqual(len((self.folder / 'data' / 'save.dat').read_bytes()), 400)


if __name__ == '__main__':
    HEADLESS = os.path.abspath(sys.argv.pop(1))
    unittest.main(verbosity=2)
