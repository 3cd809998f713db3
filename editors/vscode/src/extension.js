'use strict';
// The mowa extension: colours come from the grammar alone; this file wires
// mowa-lint's findings, completion, hovers, go to label, find its jumps, the
// outline and the debugger into the editor.
const fs = require('fs');
const path = require('path');
const vscode = require('vscode');

const scenario = require('./scenario');
const lint = require('./lint');
const { buildHoverTable, hoverMarkdown } = require('./hover-table');
const { registerDebugger } = require('./debug');

const SELECTOR = { language: 'mowa' };

// hover.json is written from the guide when the extension is packaged; a
// copy run from the source tree reads the guide itself.
function loadHoverTable(extensionPath) {
  const packaged = path.join(extensionPath, 'hover.json');
  if (fs.existsSync(packaged)) {
    return JSON.parse(fs.readFileSync(packaged, 'utf8'));
  }
  const guide = path.join(extensionPath, '..', '..', 'docs', 'scenario.md');
  try {
    return buildHoverTable(fs.readFileSync(guide, 'utf8'));
  } catch (e) {
    return {};
  }
}

function documentLines(document) {
  const lines = [];
  for (let i = 0; i < document.lineCount; ++i) {
    lines.push(document.lineAt(i).text);
  }
  return lines;
}

function range(line, start, end) {
  return new vscode.Range(line, start, line, end);
}

function registerLint(context) {
  const diagnostics = vscode.languages.createDiagnosticCollection('mowa-lint');
  // A missing or failing checker is reported once, not at every save, until
  // the setting changes.
  let reportedFailure = null;

  function check(document) {
    if (document.languageId !== 'mowa' || document.uri.scheme !== 'file') {
      return;
    }
    const folder = lint.lintFolder(document.uri.fsPath);
    if (!folder) return;
    const lintPath = vscode.workspace.getConfiguration('mowa')
        .get('lintPath') || 'mowa-lint';
    lint.runLint(lintPath, folder, (error, stdout) => {
      if (error) {
        diagnostics.delete(document.uri);
        if (reportedFailure === lintPath) return;
        reportedFailure = lintPath;
        const why = error.code === 'ENOENT' ?
          `${lintPath} was not found. Install mowa-lint or set ` +
            '"mowa.lintPath" to it.' :
          `${lintPath} failed: ${(error.stderr || error.message).trim()}`;
        vscode.window.showWarningMessage(`mowa: ${why}`);
        return;
      }
      const findings = lint.parseFindings(stdout, documentLines(document));
      diagnostics.set(document.uri, findings.map((f) => {
        const d = new vscode.Diagnostic(range(f.line, f.start, f.end),
            f.message, f.severity === 'error' ?
              vscode.DiagnosticSeverity.Error :
              vscode.DiagnosticSeverity.Warning);
        d.source = 'mowa-lint';
        d.code = f.name;
        return d;
      }));
    });
  }

  context.subscriptions.push(
      diagnostics,
      vscode.workspace.onDidOpenTextDocument(check),
      vscode.workspace.onDidSaveTextDocument(check),
      vscode.workspace.onDidCloseTextDocument(
          (document) => diagnostics.delete(document.uri)),
      vscode.workspace.onDidChangeConfiguration((event) => {
        if (!event.affectsConfiguration('mowa.lintPath')) return;
        reportedFailure = null;
        vscode.workspace.textDocuments.forEach(check);
      }));
  vscode.workspace.textDocuments.forEach(check);
}

function registerLanguage(context, hoverTable) {
  const completionKinds = {
    command: vscode.CompletionItemKind.Keyword,
    label: vscode.CompletionItemKind.Reference,
  };
  const completion = {
    provideCompletionItems(document, position) {
      const text = document.lineAt(position.line).text;
      return scenario.completionItems(documentLines(document), hoverTable,
          text, position.character).map((c) => {
        const item = new vscode.CompletionItem(c.label,
            completionKinds[c.kind]);
        item.detail = c.detail;
        if (c.kind === 'command' && hoverTable[c.label]) {
          item.documentation = new vscode.MarkdownString(
              hoverMarkdown(hoverTable[c.label]));
        }
        return item;
      });
    },
  };
  const hover = {
    provideHover(document, position) {
      const at = scenario.commandAt(documentLines(document), position.line,
          position.character);
      const entry = at && hoverTable[at.word];
      if (!entry) return undefined;
      return new vscode.Hover(new vscode.MarkdownString(hoverMarkdown(entry)),
          range(position.line, at.start, at.end));
    },
  };
  const definition = {
    provideDefinition(document, position) {
      const lines = documentLines(document);
      const name = scenario.labelAt(lines, position.line, position.character);
      const label = name !== null && scenario.findDefinition(lines, name);
      if (!label) return undefined;
      return new vscode.Location(document.uri,
          range(label.line, label.start, label.end));
    },
  };
  const references = {
    provideReferences(document, position, refContext) {
      const lines = documentLines(document);
      const name = scenario.labelAt(lines, position.line, position.character);
      if (name === null) return [];
      const found = scenario.findReferences(lines, name).map((j) =>
        new vscode.Location(document.uri, range(j.line, j.start, j.end)));
      const label = scenario.findDefinition(lines, name);
      if (label && refContext.includeDeclaration) {
        found.unshift(new vscode.Location(document.uri,
            range(label.line, label.start, label.end)));
      }
      return found;
    },
  };
  const symbols = {
    provideDocumentSymbols(document) {
      const lines = documentLines(document);
      const labels = scenario.scanLabels(lines);
      return labels.map((l, i) => {
        // A label's section runs to the line before the next label.
        const last = i + 1 < labels.length ? labels[i + 1].line - 1 :
          lines.length - 1;
        const whole = new vscode.Range(l.line, 0, last,
            lines[last] ? lines[last].length : 0);
        return new vscode.DocumentSymbol(l.name,
            l.reachable ? '' : 'no jump can reach it',
            vscode.SymbolKind.Key, whole, range(l.line, l.start, l.end));
      });
    },
  };
  context.subscriptions.push(
      vscode.languages.registerCompletionItemProvider(SELECTOR, completion,
          '"', ','),
      vscode.languages.registerHoverProvider(SELECTOR, hover),
      vscode.languages.registerDefinitionProvider(SELECTOR, definition),
      vscode.languages.registerReferenceProvider(SELECTOR, references),
      vscode.languages.registerDocumentSymbolProvider(SELECTOR, symbols));
}

function activate(context) {
  registerLanguage(context, loadHoverTable(context.extensionPath));
  registerLint(context);
  registerDebugger(vscode, context);
}

function deactivate() {}

module.exports = { activate, deactivate };
