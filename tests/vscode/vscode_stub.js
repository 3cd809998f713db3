'use strict';
// A stand-in for the editor's `vscode` module: just what the extension
// uses, recording what it registers and shows.
const Module = require('module');

function makeStub() {
  const stub = {
    registered: {},
    warnings: [],
    diagnostics: new Map(),
    settings: { 'mowa.lintPath': 'mowa-lint', 'mowa.path': 'mowa' },
    listeners: {},
    textDocuments: [],
  };
  const listen = (name) => (fn) => {
    (stub.listeners[name] ||= []).push(fn);
    return { dispose() {} };
  };
  const register = (name) => (selector, provider) => {
    stub.registered[name] = { selector, provider };
    return { dispose() {} };
  };
  class Range {
    constructor(l1, c1, l2, c2) {
      Object.assign(this, { start: { line: l1, character: c1 },
        end: { line: l2, character: c2 } });
    }
  }
  stub.api = {
    Range,
    Location: class {
      constructor(uri, range) { Object.assign(this, { uri, range }); }
    },
    Hover: class {
      constructor(contents, range) { Object.assign(this, { contents, range }); }
    },
    MarkdownString: class { constructor(value) { this.value = value; } },
    CompletionItem: class {
      constructor(label, kind) { Object.assign(this, { label, kind }); }
    },
    Diagnostic: class {
      constructor(range, message, severity) {
        Object.assign(this, { range, message, severity });
      }
    },
    DocumentSymbol: class {
      constructor(name, detail, kind, range, selectionRange) {
        Object.assign(this, { name, detail, kind, range, selectionRange });
      }
    },
    DebugAdapterExecutable: class {
      constructor(command, args, options) {
        Object.assign(this, { command, args, options });
      }
    },
    CompletionItemKind: { Keyword: 13, Reference: 17 },
    DiagnosticSeverity: { Error: 0, Warning: 1 },
    SymbolKind: { Key: 19 },
    languages: {
      createDiagnosticCollection: () => ({
        set: (uri, list) => stub.diagnostics.set(uri.fsPath, list),
        delete: (uri) => stub.diagnostics.delete(uri.fsPath),
        dispose() {},
      }),
      registerCompletionItemProvider: register('completion'),
      registerHoverProvider: register('hover'),
      registerDefinitionProvider: register('definition'),
      registerReferenceProvider: register('references'),
      registerDocumentSymbolProvider: register('symbols'),
    },
    workspace: {
      getConfiguration: (section) => ({
        get: (key) => stub.settings[`${section}.${key}`],
      }),
      onDidOpenTextDocument: listen('open'),
      onDidSaveTextDocument: listen('save'),
      onDidCloseTextDocument: listen('close'),
      onDidChangeConfiguration: listen('configuration'),
      get textDocuments() { return stub.textDocuments; },
    },
    window: {
      activeTextEditor: undefined,
      showWarningMessage: (m) => stub.warnings.push(m),
      showInformationMessage: (m) => stub.warnings.push(m),
    },
    debug: {
      registerDebugAdapterDescriptorFactory: register('adapter'),
      registerDebugConfigurationProvider: register('configuration'),
    },
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
