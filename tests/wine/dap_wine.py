# mowa.exe --dap under Wine, driven by the DAP client over the pipes Wine
# hands the windowed program: launch, a breakpoint reached, the variables
# read, the run continued to its exit code.
#
# usage: dap_wine.py MOWA_EXE
# Needs wine and an X display (ctest runs it under xvfb-run).

import os
import pathlib
import subprocess
import sys
import unittest

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent.parent / 'dap'))
from dap_client import LOOP, DapClient, story  # noqa: E402

EXE = None


class WineSession(unittest.TestCase):
    def setUp(self):
        self.folder = story(self, LOOP)
        self.env = dict(os.environ, WINEPREFIX=str(self.folder / 'prefix'),
                        WINEDEBUG='-all', HOME=str(self.folder),
                        WINEDLLOVERRIDES='mscoree=d;mshtml=d')
        subprocess.run(['wineboot', '-i'], env=self.env, check=False,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                       timeout=240)
        self.addCleanup(subprocess.run, ['wineserver', '-k'], env=self.env,
                        check=False)

    def test_breakpoint_variables_and_exit_code(self):
        dap = DapClient(['wine', EXE, '--dap'], cwd=self.folder,
                        env=self.env)
        self.addCleanup(dap.close)
        folder = 'Z:' + str(self.folder).replace('/', '\\')  # Wine's drive Z:
        placed = dap.launch(folder, [{'line': 4, 'condition': '@01=2'},
                                     {'line': 6}],
                            path=folder + '\\data\\mowa.snr')
        self.assertEqual(placed, [(True, 4), (True, 7)])
        stops = []
        for i in range(2):
            stop = dap.step('continue') if i else dap.stopped(0)
            stops.append((stop['reason'], dap.line(), dap.variable('@01')))
        # @01 as it is before the line runs
        self.assertEqual(stops, [('breakpoint', [4], 2), ('breakpoint', [7], 5)])
        self.assertEqual(dap.ok('evaluate', {'expression': '@01*7'})['result'],
                         '35')
        # `end` shows the farewell box, a real one here: Enter closes it.
        self.assertEqual(dap.finish(nudge=lambda: subprocess.run(
            ['xdotool', 'key', 'Return'], check=False)), (0, 0))
        farewell = [o for o in dap.outputs('console') if 'from ' in o]
        self.assertEqual(len(farewell), 1, dap.outputs('console'))
        for direction, message in dap.log:  # the session, for the log
            print(direction, message)


if __name__ == '__main__':
    EXE = os.path.abspath(sys.argv.pop(1))
    unittest.main(verbosity=2)
