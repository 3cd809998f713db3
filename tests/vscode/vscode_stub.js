'use strict';
// A stand-in for the editor's `vscode` module: just what the extension
// uses, recording what it registers and shows.
const Module = require('module');

// A class that keeps its constructor's arguments under these names.
const record = (...fields) => class {
  constructor(...values) {
    fields.forEach((field, i) => { this[field] = values[i]; });
  }
};

function makeStub() {
  const stub = {
    registered: {},
    warnings: [],
    diagnostics: new Map(),
    settings: { 'mowa.lintPath': 'mowa-lint', 'mowa.path': 'mowa' },
    listeners: {},
  };
  // Each registerXProvider call is kept as { selector, provider } under X,
  // and each onDidXTextDocument listener under X.
  const recording = (api) => new Proxy(api, {
    get: (target, key) => target[key] ?? ((first, second) => {
      const name = key.replace(/^(register|onDid)|(Provider|TextDocument)$/g,
          '');
      if (key.startsWith('onDid')) {
        (stub.listeners[name] ||= []).push(first);
      } else {
        stub.registered[name] = { selector: first, provider: second };
      }
      return { dispose() {} };
    }),
  });
  const warn = (m) => stub.warnings.push(m);
  stub.api = {
    Range: class {
      constructor(l1, c1, l2, c2) {
        this.start = { line: l1, character: c1 };
        this.end = { line: l2, character: c2 };
      }
    },
    Location: record('uri', 'range'),
    Hover: record('contents', 'range'),
    MarkdownString: record('value'),
    CompletionItem: record('label', 'kind'),
    Diagnostic: record('range', 'message', 'severity'),
    DocumentSymbol: record('name', 'detail', 'kind', 'range', 'selectionRange'),
    DebugAdapterExecutable: record('command', 'args', 'options'),
    CompletionItemKind: { Keyword: 13, Reference: 17 },
    DiagnosticSeverity: { Error: 0, Warning: 1 },
    SymbolKind: { Key: 19 },
    languages: recording({
      createDiagnosticCollection: () => ({
        set: (uri, list) => stub.diagnostics.set(uri.fsPath, list),
        delete: (uri) => stub.diagnostics.delete(uri.fsPath),
        dispose() {},
      }),
    }),
    workspace: recording({
      getConfiguration: (section) => ({
        get: (key) => stub.settings[`${section}.${key}`],
      }),
      textDocuments: [],
    }),
    window: { showWarningMessage: warn, showInformationMessage: warn },
    debug: recording({}),
  };
  return stub;
}

// Loads the extension with `require('vscode')` answered by a fresh stub.
function loadExtension(extensionMain) {
  const stub = makeStub();
  const original = Module._load;
  Module._load = function(request, ...rest) {
    return request === 'vscode' ? stub.api :
      original.call(this, request, ...rest);
  };
  try {
    delete require.cache[require.resolve(extensionMain)];
    return { stub, extension: require(extensionMain) };
  } finally {
    Module._load = original;
  }
}

// A text document as the editor hands it to providers.
function document(fsPath, text) {
  const lines = text.split('\n');
  return {
    uri: { fsPath, scheme: 'file' },
    languageId: 'mowa',
    lineCount: lines.length,
    lineAt: (i) => ({ text: lines[i] }),
  };
}

module.exports = { loadExtension, document };
