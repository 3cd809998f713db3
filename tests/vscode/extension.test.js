'use strict';
// The extension without an editor: its grammar, run by VS Code's own
// TextMate engine; labels and jumps as the program resolves them,
// completion, the hover table made from the guide, mowa-lint's findings as
// ranges, and how the debugger is started.
const test = require('node:test');
const assert = require('node:assert');
const fs = require('fs');
const os = require('os');
const path = require('path');
const { createRequire } = require('module');
const { setTimeout: sleep } = require('timers/promises');

const root = path.join(__dirname, '..', '..');
const ext = path.join(root, 'editors', 'vscode');
const scenario = require(path.join(ext, 'src', 'scenario'));
const lint = require(path.join(ext, 'src', 'lint'));
const debug = require(path.join(ext, 'src', 'debug'));
const { buildHoverTable, hoverMarkdown } =
    require(path.join(ext, 'src', 'hover-table'));
const { loadExtension, document } = require('./vscode_stub');

const read = (...p) => fs.readFileSync(path.join(root, ...p), 'utf8');
const manifest = JSON.parse(read('editors', 'vscode', 'package.json'));
const demo = read('demo', 'data', 'mowa.utf8.snr').split('\n');
const hoverTable = buildHoverTable(read('docs', 'scenario.md'));
const commandWords = [...read('src', 'engine', 'commands.cpp')
    .matchAll(/\{"([a-z_@]+)", k\w+[,}]/g)].map((m) => m[1]);

// A fresh story folder, removed after the test.
function storyFolder(t) {
  const story = fs.mkdtempSync(path.join(os.tmpdir(), 'mowa-vscode-'));
  t.after(() => fs.rmSync(story, { recursive: true, force: true }));
  return story;
}

test('every jump of the demo lands on its label', () => {
  const jumps = scenario.scanJumps(demo);
  const written = demo.join('\n').match(/(goto|gosub|if)"/g).length;
  assert.ok(jumps.length >= written, `${jumps.length} jumps found`);
  for (const jump of jumps) {
    const label = scenario.findDefinition(demo, jump.name);
    assert.ok(label, `line ${jump.line + 1} jumps to '${jump.name}'`);
    assert.strictEqual(demo[label.line], `[${jump.name}]`);
    assert.deepStrictEqual(
        scenario.findReferences(demo, jump.name).filter(
            (j) => j.line === jump.line && j.start === jump.start).length, 1);
  }
  const clicks = demo.join('\n').match(/gosub"click"|,click[,"]/g).length;
  assert.strictEqual(scenario.findReferences(demo, 'click').length, clicks);
});

// A small scenario with the line rules' corner cases.
const corners = [
  '[a]', // 0: the first of two
  'goto "my label"', // 1: blanks are dropped: jumps to mylabel
  '[a]', // 2: a duplicate, never reached
  '[mylabel]', // 3
  'if"@01<3,a,gone"', // 4
  '  [gone]', // 5: indented: no label
  '[gone] #x', // 6: trailing text: no label
  '"a"', // 7: a quote alone jumps
  'wait"1" [a]', // 8: a comment line, no jump
  '[my label]', // 9: holds a blank: never reached
  '[あいうえおかきく]', // 10: 16 bytes
  '[あいうえおかきくけ]', // 11: 18 bytes: left out of the table
  '[abcdefghijklmnopq]', // 12: 17 bytes: left out
  '[last]', // 13: no line feed after it: never reached
];

test('labels and jumps follow the line rules', () => {
  const cases = [
    // name, the definition's line or null, the lines that jump to it
    ['a', 0, [4, 7]],
    ['mylabel', 3, [1]],
    ['gone', null, [4]],
    ['my label', null, []],
    ['あいうえおかきく', 10, []],
    ['あいうえおかきくけ', null, []],
    ['abcdefghijklmnopq', null, []],
    ['last', null, []],
  ];
  for (const [name, definition, jumps] of cases) {
    const label = scenario.findDefinition(corners, name);
    assert.strictEqual(label ? label.line : null, definition, name);
    assert.deepStrictEqual(
        scenario.findReferences(corners, name).map((j) => j.line), jumps, name);
  }
  assert.deepStrictEqual(scenario.scanLabels(corners).map(
      (l) => [l.line, l.name, l.reachable]),
  [[0, 'a', true], [2, 'a', true], [3, 'mylabel', true],
    [6, 'gone', false], [9, 'my label', false], [10, 'あいうえおかきく', true],
    [11, 'あいうえおかきくけ', false], [12, 'abcdefghijklmnopq', false],
    [13, 'last', false]]);
  // Labels beyond the table's 1000 are left out.
  const many = Array.from({ length: 1001 }, (_, i) => `[l${i}]`).concat('');
  assert.deepStrictEqual(scenario.scanLabels(many).filter(
      (l) => !l.reachable).map((l) => l.name), ['l1000']);
  // The name under the cursor, on a label line and in each kind of jump.
  for (const [line, at, name] of [[1, 8, 'mylabel'], [4, 9, 'a'],
    [4, 12, 'gone'], [4, 1, null], [7, 2, 'a'], [3, 3, 'mylabel']]) {
    assert.strictEqual(scenario.labelAt(corners, line, at), name, `${line}`);
  }
});

test('completion offers labels in jumps and command words at the start', () => {
  const offered = (text, at) => scenario.completionItems(
      corners, hoverTable, text, at ?? text.length);
  const reachable = ['a', 'mylabel', 'あいうえおかきく'];
  for (const [text, labels] of [['goto"', reachable],
    ['if"@01<3,a,', reachable], ['if"@01<', []], ['wait"', []], ['# go', []],
    ['goto"a"', []], ['  scr', commandWords.filter((w) => w !== '@')]]) {
    assert.deepStrictEqual(offered(text).map((c) => c.label), labels, text);
  }
  assert.ok(offered('  scr').every((c) => c.detail && c.documentation));
});

test('the hover table from the guide covers every command word', () => {
  assert.deepStrictEqual(Object.keys(hoverTable), commandWords);
  for (const word of commandWords) {
    const entry = hoverTable[word];
    assert.ok(entry.summary, word);
    const markdown = hoverMarkdown(entry);
    assert.ok(markdown.includes(entry.form), word);
    assert.ok(!/\]\(#/.test(markdown), `${word}: a link into the guide`);
  }
  // The guide's paragraph on a command comes with it.
  assert.match(hoverMarkdown(hoverTable.gosub), /one place to remember/);
  const at = scenario.commandAt(['  gosub "click"'], 0, 4);
  assert.deepStrictEqual([at.word, at.start, at.end], ['gosub', 2, 7]);
  assert.strictEqual(scenario.commandAt(['# gosub'], 0, 3), null);
});

test("mowa-lint's findings become ranges of their lines", () => {
  const lines = ['Goto"x"', 'wait"10ms"', 'message"あいうOK"', '[a]'];
  const finding = (line, column, severity, name, text) => JSON.stringify(
      { file: 's/data/mowa.snr', line, column, severity, name, message: 'm',
        text });
  const out = [finding(1, 1, 'error', 'unknown-command', 'Goto'), 'not json',
    finding(2, 8, 'warning', 'number-text', '10ms'),
    finding(3, 12, 'warning', 'message-ascii', 'OK'),
    finding(4, 1, 'warning', 'unused-label', '')].join('\n');
  assert.deepStrictEqual(
      lint.parseFindings(out, lines).map(
          (f) => [f.line, f.start, f.end, f.severity, f.name]),
      [[0, 0, 4, 'error', 'unknown-command'],
        [1, 5, 9, 'warning', 'number-text'],
        [2, 11, 13, 'warning', 'message-ascii'],
        [3, 0, 3, 'warning', 'unused-label']]);
  assert.strictEqual(lint.lintFolder('/s/data/mowa.snr'), '/s');
  assert.strictEqual(lint.lintFolder('/s/other.snr'), null);
  assert.strictEqual(lint.lintFolder('/s/mowa.snr'), null);
});

test('the real mowa-lint is run and a missing one is told apart',
    { skip: !process.env.MOWA_LINT && 'no mowa-lint given' }, async (t) => {
      const story = storyFolder(t);
      fs.mkdirSync(path.join(story, 'data'));
      const lines = ['textmode', 'Goto"x"', 'wait"10ms"', 'end'];
      fs.writeFileSync(path.join(story, 'data', 'mowa.snr'),
          lines.join('\n') + '\n');
      const run = (program) => new Promise((resolve) => lint.runLint(
          program, story, (error, stdout) => resolve({ error, stdout })));
      const found = await run(process.env.MOWA_LINT);
      assert.strictEqual(found.error, null);
      assert.deepStrictEqual(
          lint.parseFindings(found.stdout, lines).map(
              (f) => [f.line, lines[f.line].slice(f.start, f.end), f.name]),
          [[1, 'Goto', 'unknown-command'], [2, '10ms', 'number-text']]);
      const missing = await run(path.join(story, 'no-such-lint'));
      assert.strictEqual(missing.error.code, 'ENOENT');
    });

test('the debugger plays the story of the scenario being edited', () => {
  const contributed = manifest.contributes.debuggers.find(
      (d) => d.type === 'mowa');
  assert.deepStrictEqual(contributed.initialConfigurations,
      [debug.INITIAL_CONFIGURATION]);
  // F5 without a launch.json plays the story of the scenario being edited.
  assert.deepStrictEqual(
      debug.resolveConfiguration({}, '/s/data/mowa.snr', '/w'),
      { ...debug.INITIAL_CONFIGURATION, folder: '/s' });
  assert.strictEqual(debug.resolveConfiguration({}, null, null), null);
  assert.strictEqual(debug.resolveConfiguration(
      { type: 'mowa', request: 'launch', name: 'x' }, null, '/w').folder, '/w');
});

test('the extension serves the editor and the debugger, and reports a ' +
    'missing checker once', async (t) => {
      const { stub, extension } =
          loadExtension(path.join(ext, 'src', 'extension.js'));
      extension.activate({ subscriptions: [], extensionPath: ext });
      const r = stub.registered;
      for (const name of ['CompletionItem', 'Hover', 'Definition', 'Reference',
        'DocumentSymbol']) {
        assert.deepStrictEqual(r[name].selector, { language: 'mowa' }, name);
      }
      // The debugger: the configured mowa, started with --dap in the story.
      assert.strictEqual(r.DebugAdapterDescriptorFactory.selector, 'mowa');
      assert.strictEqual(r.DebugConfiguration.selector, 'mowa');
      stub.settings['mowa.path'] = '/opt/mowa/bin/mowa';
      const adapter = r.DebugAdapterDescriptorFactory.provider
          .createDebugAdapterDescriptor({ configuration: { folder: '/s/1' } });
      assert.deepStrictEqual({ ...adapter }, {
        command: '/opt/mowa/bin/mowa', args: ['--dap'],
        options: { cwd: '/s/1' },
      });

      const story = storyFolder(t);
      const doc = document(path.join(story, 'data', 'mowa.snr'),
          'gosub"sub"\nend\n[sub]\nreturn');
      const at = (line, character) => ({ line, character });
      const where = (l) => [l.range.start.line, l.range.start.character,
        l.range.end.character];
      assert.deepStrictEqual(
          where(r.Definition.provider.provideDefinition(doc, at(0, 7))),
          [2, 1, 4]);
      assert.deepStrictEqual(r.Reference.provider.provideReferences(
          doc, at(2, 2), { includeDeclaration: true }).map(where),
      [[2, 1, 4], [0, 6, 9]]);
      const hover = r.Hover.provider.provideHover(doc, at(1, 1));
      assert.match(hover.contents.value, /end the run/);
      assert.deepStrictEqual(r.DocumentSymbol.provider
          .provideDocumentSymbols(doc)
          .map((s) => [s.name, s.range.start.line, s.range.end.line]),
      [['sub', 2, 3]]);
      assert.deepStrictEqual(r.CompletionItem.provider.provideCompletionItems(
          document(doc.uri.fsPath, 'goto"\n[sub]\n'), at(0, 5))
          .map((c) => c.label), ['sub']);

      // A checker that finds one error, then one that is not there.
      const fake = path.join(story, 'fake-lint');
      fs.writeFileSync(fake, '#!/bin/sh\necho \'{"line":2,"column":1,' +
          '"severity":"error","name":"n","message":"m","text":"end"}\'\n' +
          'exit 1\n', { mode: 0o755 });
      stub.settings['mowa.lintPath'] = fake;
      const save = (d) => stub.listeners.Save.forEach((fn) => fn(d));
      const settled = async (done) => {
        for (let i = 0; i < 100 && !done(); ++i) await sleep(50);
      };
      save(doc);
      await settled(() => stub.diagnostics.has(doc.uri.fsPath));
      const [d] = stub.diagnostics.get(doc.uri.fsPath);
      assert.deepStrictEqual([d.message, d.code, d.source, d.severity,
        ...where(d)], ['m', 'n', 'mowa-lint', 0, 1, 0, 3]);

      stub.settings['mowa.lintPath'] = path.join(story, 'missing-lint');
      save(doc);
      save(doc);
      await settled(() => !stub.diagnostics.has(doc.uri.fsPath));
      await sleep(200);
      assert.strictEqual(stub.warnings.length, 1);
      assert.match(stub.warnings[0], /missing-lint was not found/);
      assert.ok(!stub.diagnostics.has(doc.uri.fsPath));
    });

test('the extension is versioned as the program it serves', () => {
  const project =
      /project\(mowa VERSION ([0-9.]+)/.exec(read('CMakeLists.txt'));
  assert.strictEqual(manifest.version, project[1]);
});

// The grammar over the demo scenario: every command word, label, variable,
// text, file name and colour escape that simple patterns find in the file
// gets its scope, and the lines the program skips are coloured as comments.

// The npm packages may be installed in a staged copy of the extension.
const load = createRequire(path.join(
    path.resolve(process.env.MOWA_VSCODE_MODULES || ext), 'x.js'));
const textmate = load('vscode-textmate');
const oniguruma = load('vscode-oniguruma');

async function loadGrammar() {
  await oniguruma.loadWASM(
      fs.readFileSync(load.resolve('vscode-oniguruma/release/onig.wasm')));
  const grammarPath = path.join(ext, 'syntaxes', 'mowa.tmLanguage.json');
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
    const { tokens, ruleStack } = grammar.tokenizeLine(line, stack);
    stack = ruleStack;
    return tokens;
  });
}

// The scopes of every character from start to end, which must all carry a
// scope that begins with one of the prefixes.
function assertScoped(tokens, lineText, lineNo, start, end, prefixes, what) {
  for (let i = start; i < end; ++i) {
    const token = tokens.find((t) => t.startIndex <= i && i < t.endIndex);
    const scopes = token ? token.scopes : ['none'];
    assert.ok(scopes.some((s) => prefixes.some((p) => s.startsWith(p))),
        `${what} '${lineText.slice(start, end)}' on line ${lineNo + 1} at ` +
        `${i + 1}: ${scopes.join(' ')}`);
  }
}

// Each group that took part in a match of the regular expression.
const matches = (regex, text) => [...text.matchAll(new RegExp(regex, 'dg'))]
    .flatMap((m) => m.indices.slice(1).filter(Boolean)
        .map(([start, end]) => ({ text: text.slice(start, end), start, end })));

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
  const tokens = tokenize(grammar, demo);
  const seen = new Set();
  let labels = 0;
  demo.forEach((line, n) => {
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
