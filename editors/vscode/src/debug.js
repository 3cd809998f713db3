'use strict';
// The debugger contribution: launch configurations of type "mowa" are played
// by the mowa program itself, which speaks the Debug Adapter Protocol on its
// standard input and output when started with --dap.
const path = require('path');

const INITIAL_CONFIGURATION = Object.freeze({
  type: 'mowa',
  request: 'launch',
  name: 'Play the story',
  folder: '${workspaceFolder}',
  stopOnEntry: false,
  trace: false,
});

// The story folder of an open scenario: the folder that holds data/.
function storyFolderOf(filePath) {
  const data = path.dirname(filePath);
  return path.basename(data) === 'data' ? path.dirname(data) : null;
}

// Fills in a configuration: F5 without a launch.json plays the story of the
// scenario being edited, or of the workspace.
function resolveConfiguration(config, activeFile, workspaceFolder) {
  if (config && (config.type || config.request || config.name)) {
    const resolved = { ...config };
    if (!resolved.folder) {
      resolved.folder = workspaceFolder ||
          (activeFile && storyFolderOf(activeFile)) || undefined;
    }
    return resolved;
  }
  const folder = (activeFile && storyFolderOf(activeFile)) || workspaceFolder;
  if (!folder) return null;
  return { ...INITIAL_CONFIGURATION, folder };
}

// How to start the adapter: the configured mowa program with --dap, run in
// the story folder so that the program finds data/mowa.snr as it always does.
function adapterCommand(config, mowaPath) {
  const options = {};
  if (config && typeof config.folder === 'string' && config.folder) {
    options.cwd = config.folder;
  }
  return { command: mowaPath || 'mowa', args: ['--dap'], options };
}

// Registers the factory and the configuration provider with the vscode API
// object given.
function registerDebugger(vscode, context) {
  const factory = {
    createDebugAdapterDescriptor(session) {
      const mowaPath = vscode.workspace.getConfiguration('mowa').get('path');
      const c = adapterCommand(session.configuration, mowaPath);
      return new vscode.DebugAdapterExecutable(c.command, c.args, c.options);
    },
  };
  const provider = {
    resolveDebugConfiguration(folder, config) {
      const editor = vscode.window.activeTextEditor;
      const activeFile = editor && editor.document.languageId === 'mowa' ?
        editor.document.uri.fsPath : null;
      const resolved = resolveConfiguration(config, activeFile,
          folder ? folder.uri.fsPath : null);
      if (!resolved) {
        vscode.window.showInformationMessage(
            'Open the folder that holds data/mowa.snr to play its story.');
        return undefined;
      }
      return resolved;
    },
    provideDebugConfigurations() {
      return [{ ...INITIAL_CONFIGURATION }];
    },
  };
  context.subscriptions.push(
      vscode.debug.registerDebugAdapterDescriptorFactory('mowa', factory),
      vscode.debug.registerDebugConfigurationProvider('mowa', provider));
  return { factory, provider };
}

module.exports = {
  INITIAL_CONFIGURATION,
  storyFolderOf,
  resolveConfiguration,
  adapterCommand,
  registerDebugger,
};
