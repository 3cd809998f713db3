'use strict';
// mowa-lint's findings for the editor. The checker always reads
// DIR/data/mowa.snr, so only a file of that name in a folder named data can
// be checked; it reads the file as saved, so checks run on open and save.
const childProcess = require('child_process');
const path = require('path');

// The folder to hand to mowa-lint for a scenario file, or null.
function lintFolder(filePath) {
  if (path.basename(filePath) !== 'mowa.snr') return null;
  const data = path.dirname(filePath);
  if (path.basename(data) !== 'data') return null;
  return path.dirname(data);
}

// The range of a finding in its line: the offending text where it stands at
// (or else nearest to) the reported column, else the rest of the word there.
function findingRange(lineText, column, text) {
  const at = Math.max(0, Math.min(column - 1, lineText.length));
  if (text) {
    if (lineText.startsWith(text, at)) return [at, at + text.length];
    let best = -1;
    for (let i = lineText.indexOf(text); i >= 0;
      i = lineText.indexOf(text, i + 1)) {
      if (best < 0 || Math.abs(i - at) < Math.abs(best - at)) best = i;
    }
    if (best >= 0) return [best, best + text.length];
  }
  const word = /^[^ \t",]*/.exec(lineText.slice(at))[0];
  return [at, at + Math.max(1, word.length)];
}

// mowa-lint --json prints one object a line. Lines it cannot read are left
// out rather than failing the whole check.
function parseFindings(stdout, lines) {
  const findings = [];
  for (const row of stdout.split('\n')) {
    if (!row.trim()) continue;
    let f;
    try {
      f = JSON.parse(row);
    } catch (e) {
      continue;
    }
    if (typeof f.line !== 'number') continue;
    const line = Math.max(0, f.line - 1);
    const lineText = (lines[line] || '').replace(/\r$/, '');
    const [start, end] = findingRange(lineText, f.column || 1, f.text);
    findings.push({
      line,
      start,
      end,
      severity: f.severity === 'error' ? 'error' : 'warning',
      name: f.name,
      message: f.message,
    });
  }
  return findings;
}

// Runs the checker; calls back with (error, stdout). A missing program is
// error.code 'ENOENT'; exit status 1 only means an error was found.
function runLint(lintPath, folder, callback) {
  childProcess.execFile(lintPath, ['--json', folder],
      { maxBuffer: 16 * 1024 * 1024, timeout: 30000 },
      (error, stdout, stderr) => {
        if (error && error.code === 1) error = null;
        if (error) error.stderr = stderr;
        callback(error, stdout);
      });
}

module.exports = { lintFolder, findingRange, parseFindings, runLint };
