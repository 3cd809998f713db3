'use strict';
// The extension's grammar, run by VS Code's own TextMate engine over the
// demo scenario: every command word, label, variable, text, file name and
// colour escape that simple patterns find in the file gets its scope, and
// the lines the program skips are coloured as comments.
const test = require('node:test');
const assert = require('node:assert');
const fs = require('fs');
const path = require('path');
const { createRequire } = require('module');

const root = path.join(__dirname, '..', '..');
const extensionDir = path.join(root, 'editors', 'vscode');
// The npm packages may be installed in a staged copy of the extension.
const load = createRequire(path.join(
    path.resolve(process.env.MOWA_VSCODE_MODULES || extensionDir), 'x.js'));
const textmate = load('vscode-textmate');
const oniguruma = load('vscode-oniguruma');

async function loadGrammar() {
  const wasm = fs.readFileSync(
      load.resolve('vscode-oniguruma/release/onig.wasm'));
  await oniguruma.loadWASM(
      wasm.buffer.slice(wasm.byteOffset, wasm.byteOffset + wasm.byteLength));
  const grammarPath =
      path.join(extensionDir, 'syntaxes', 'mowa.tmLanguage.json');
  const registry = new textmate.Registry({
    onigLib: Promise.resolve({
      createOnigScanner: (patterns) => new oniguruma.OnigScanner(patterns),
      createOnigString: (s) => new oniguruma.OnigString(s),
    }),
    loadGrammar: async (scopeName) => scopeName === 'source.mowa' ?
      textmate.parseRawGrammar(fs.readFileSync(grammarPath, 'utf8'),
          grammarPath) : null,
  });
  return registry.loadGrammar('source.mowa');
}

function tokenize(grammar, lines) {
  let stack = textmate.INITIAL;
  return lines.map((line) => {
    const result = grammar.tokenizeLine(line, stack);
    stack = result.ruleStack;
    return result.tokens;
  });
}

// The scopes of every character from start to end, which must all carry a
// scope that begins with one of the prefixes.
function assertScoped(tokens, lineText, lineNo, start, end, prefixes, what) {
  for (let i = start; i < end; ++i) {
    const token = tokens.find((t) => t.startIndex <= i && i < t.endIndex);
    const ok = token && token.scopes.some(
        (s) => prefixes.some((p) => s.startsWith(p)));
    const scopes = token ? token.scopes.join(' ') : 'none';
    assert.ok(ok, `${what} '${lineText.slice(start, end)}' on line ` +
        `${lineNo + 1} at ${i + 1}: ${scopes}`);
  }
}

// Each group that took part in a match of the regular expression.
function* matches(regex, text) {
  for (const m of text.matchAll(new RegExp(regex, 'dg'))) {
    for (let g = 1; g < m.length; ++g) {
      if (m[g] === undefined) continue;
      yield { text: m[g], start: m.indices[g][0], end: m.indices[g][1] };
    }
  }
}

const read = (...p) => fs.readFileSync(path.join(root, ...p), 'utf8');
const demoLines = read('demo', 'data', 'mowa.utf8.snr').split('\n');
const commandWords = [...read('src', 'engine', 'commands.cpp')
    .matchAll(/\{"([a-z_]+)", k\w+[,}]/g)].map((m) => m[1]);

// Pattern, the scope prefixes each of its groups must carry, and what it is.
const demoChecks = [
  [/^([a-z_]+)/g, ['keyword.control.', 'support.function.'], 'command word'],
  [/@([0-9]{2})/g, ['variable.other.'], 'variable'],
  [/(?:goto|gosub)"([^"]+)"/g, ['entity.name.label'], 'jump label'],
  [/^if"[^,]*,([^,]+),([^"]+)"/g, ['entity.name.label'], 'if label'],
  [/^message"([^"]*)"/g, ['string.quoted.'], 'message text'],
  [/^message"[^"]*?(c[0-9a-f]{6})/g, ['constant.character.escape.'],
    'colour escape'],
  [/^(?:gload|character|play_wav|play_midi)"([^,"]+)/g, ['string.'],
    'file name'],
  [/^text_write"([^,"]+)/g, ['string.'], 'text'],
  [/[",]([-+]?[0-9]+)(?=[,"])/g, ['constant.numeric.'], 'number'],
];

test('the grammar scopes the demo scenario', async () => {
  const grammar = await loadGrammar();
  const tokens = tokenize(grammar, demoLines);
  const seen = new Set();
  let labels = 0;
  demoLines.forEach((line, n) => {
    if (/^[ \t]*#/.test(line)) {
      assertScoped(tokens[n], line, n, 0, line.length, ['comment.'], 'comment');
    } else if (line.startsWith('[')) {
      const m = /^\[([^\]]+)\]$/.exec(line);
      assert.ok(m, `label line ${n + 1}`);
      assertScoped(tokens[n], line, n, 1, 1 + m[1].length,
          ['entity.name.label'], 'label');
      ++labels;
    } else if (line.trim() !== '') {
      for (const [regex, prefixes, what] of demoChecks) {
        for (const m of matches(regex, line)) {
          if (what === 'command word') seen.add(m.text);
          assertScoped(tokens[n], line, n, m.start, m.end, prefixes, what);
        }
      }
    }
  });
  assert.ok(labels > 10, 'the demo has its labels');
  // The demo uses every command, so every word of the table was checked.
  const missing = commandWords.filter((w) => w !== '@' && !seen.has(w));
  assert.deepStrictEqual(missing, []);
});

// Lines whose colour warns of what the program does with them.
const trapLines = [
  ['wait"500" #pause', 0, 16, ['comment.'], 'a blank before # comments out'],
  ['message"あ [い]"', 0, 13, ['comment.'], 'a blank before [ comments out'],
  ['  [indented]', 0, 12, ['comment.'], 'an indented label is no label'],
  ['Goto"menu"', 0, 4, ['invalid.'], 'a word that names no command'],
  ['return x', 0, 8, ['invalid.'], 'blanks join the word: returnx'],
  ['[menu] #main', 6, 12, ['invalid.'], 'text after a label'],
  ['"menu"', 1, 5, ['entity.name.label'], 'a quote alone jumps'],
  ['@05=@01*-3', 7, 8, ['keyword.operator.'], 'the assignment operator'],
  ['message"あcxyzい"', 9, 10, ['invalid.'], 'a c that is no colour'],
];

test('the grammar shows the traps of the line rules', async () => {
  const grammar = await loadGrammar();
  for (const [line, start, end, prefixes, what] of trapLines) {
    const [tokens] = tokenize(grammar, [line]);
    assertScoped(tokens, line, 0, start, end, prefixes, what);
  }
  // Blanks alone make an empty line, which is no mistake.
  const [blank] = tokenize(grammar, [' \t ']);
  assert.ok(blank.every((t) => t.scopes.every((s) => !/invalid/.test(s))));
});
