'use strict';
// What the editor needs to know of a scenario's lines, read the way the
// program reads them: which lines are labels, comments and statements, the
// command word of a statement, and the labels its jumps name. Works on the
// text as the editor holds it (one string a line), without the vscode API.

const BLANKS = /[ \t]/g;

// 'empty', 'comment', 'label' (the first byte is "["), 'indented-label'
// (blanks, then "["; skipped but never a jump target) or 'statement'.
function lineKind(text) {
  if (/^[ \t]*\r?$/.test(text)) return 'empty';
  if (text[0] === '[') return 'label';
  if (text[0] === '#') return 'comment';
  // A "#" or "[" right after a blank makes the whole line a comment, inside
  // quotes too.
  const blankMark = /[ \t][#[]/.exec(text);
  if (blankMark) {
    return /^[ \t]+\[/.test(text) ? 'indented-label' : 'comment';
  }
  return 'statement';
}

const MAX_LABELS = 1000;
const MAX_LABEL_NAME_BYTES = 16;

// The bytes a text takes in code page 932: one for ASCII and half-width
// katakana, two for the rest.
function cp932Length(text) {
  let bytes = 0;
  for (const ch of text) {
    const code = ch.codePointAt(0);
    bytes += code < 0x80 || (code >= 0xff61 && code <= 0xff9f) ? 1 : 2;
  }
  return bytes;
}

// Every label line of the file, for the outline: {name, line, start, end,
// reachable}. A jump can reach only a line that is exactly "[NAME]" followed
// by a line feed, with a name of at most 16 bytes and no blank, among the
// first 1000 labels.
function scanLabels(lines) {
  const labels = [];
  let entries = 0;
  lines.forEach((text, line) => {
    if (lineKind(text) !== 'label') return;
    const m = /^\[([^\]]*)\](.*?)\r?$/.exec(text);
    const name = m ? m[1] : text.slice(1).replace(/\r$/, '');
    const registered = cp932Length(name) <= MAX_LABEL_NAME_BYTES &&
        entries < MAX_LABELS;
    if (registered) ++entries;
    const reachable = registered && Boolean(m) && m[2] === '' &&
        !/[ \t]/.test(name) && line < lines.length - 1;
    labels.push({
      name, line, start: 1, end: 1 + name.length, registered, reachable,
    });
  });
  return labels;
}

// The command word of a statement line and where it stands, or null for
// lines that are not statements. Blanks inside the word are dropped, as the
// program drops them; "@" begins an assignment, and an empty word (a line that
// begins with a double quote) jumps like goto.
function statementWord(text) {
  if (lineKind(text) !== 'statement') return null;
  const start = text.search(/[^ \t]/);
  if (text[start] === '@') return { word: '@', start, end: start + 1 };
  let end = text.indexOf('"');
  if (end < 0) end = text.replace(/\r$/, '').length;
  const raw = text.slice(start, end);
  const word = raw.replace(BLANKS, '');
  return { word, start, end: start + raw.replace(/[ \t]+$/, '').length };
}

// The fields between the quotes of a statement, split at commas, each with
// its column range in the line. The closing quote may be missing.
function argumentFields(text) {
  const open = text.indexOf('"');
  if (open < 0) return [];
  let close = text.indexOf('"', open + 1);
  if (close < 0) close = text.replace(/\r$/, '').length;
  const fields = [];
  let from = open + 1;
  for (;;) {
    const comma = text.indexOf(',', from);
    const to = comma >= 0 && comma < close ? comma : close;
    fields.push({ text: text.slice(from, to), start: from, end: to });
    if (to === close) break;
    from = to + 1;
  }
  return fields;
}

function jumpField(field) {
  return {
    name: field.text.replace(BLANKS, ''),
    start: field.start,
    end: field.end,
  };
}

// The labels one statement line jumps to: goto, gosub and "NAME" name one,
// if names two after its comparison.
function jumpsInLine(text) {
  const statement = statementWord(text);
  if (!statement) return [];
  const fields = argumentFields(text);
  if (['goto', 'gosub', ''].includes(statement.word)) {
    if (fields.length === 0) return [];
    // The label runs to the closing quote, commas and all.
    const last = fields[fields.length - 1];
    return [jumpField({
      text: text.slice(fields[0].start, last.end),
      start: fields[0].start,
      end: last.end,
    })];
  }
  if (statement.word === 'if') {
    return fields.slice(1, 3).map(jumpField);
  }
  return [];
}

// Every jump of the file: {name, line, start, end}.
function scanJumps(lines) {
  const jumps = [];
  lines.forEach((text, line) => {
    for (const jump of jumpsInLine(text)) jumps.push({ ...jump, line });
  });
  return jumps;
}

// The label a jump goes to: the first reachable label of that name.
function findDefinition(lines, name) {
  return scanLabels(lines).find((l) => l.reachable && l.name === name) || null;
}

function findReferences(lines, name) {
  return scanJumps(lines).filter((j) => j.name === name);
}

// The label named at a position, on its label line or in a jump, or null.
function labelAt(lines, line, character) {
  const within = (r) => r.line === line && character >= r.start &&
      character <= r.end;
  const label = scanLabels(lines).find(within);
  if (label) return label.name;
  const jump = jumpsInLine(lines[line] || '').map((j) => ({ ...j, line }))
      .find(within);
  return jump ? jump.name : null;
}

// The command word at a position, or null.
function commandAt(lines, line, character) {
  const statement = statementWord(lines[line] || '');
  if (!statement) return null;
  if (character < statement.start || character > statement.end) return null;
  return statement;
}

// What to offer where the cursor stands: 'label' inside the label fields of
// a jump, 'command' while the command word is being written, else null.
function completionContext(text, character) {
  const before = text.slice(0, character);
  if (/^[ \t]*#/.test(before) || before[0] === '[') return null;
  const quote = before.indexOf('"');
  if (quote < 0) return /^[ \t]*[A-Za-z_]*$/.test(before) ? 'command' : null;
  if (before.indexOf('"', quote + 1) >= 0) return null;
  const word = before.slice(0, quote).replace(BLANKS, '');
  if (word === 'goto' || word === 'gosub' || word === '') return 'label';
  if (word === 'if' && before.slice(quote).includes(',')) return 'label';
  return null;
}

// Completion items as plain objects; the extension turns them into the
// editor's own. Command words come in the order of the command table.
function completionItems(lines, hoverTable, text, character) {
  const context = completionContext(text, character);
  if (context === 'label') {
    const seen = new Set();
    return scanLabels(lines).filter((l) => {
      if (!l.reachable || seen.has(l.name)) return false;
      seen.add(l.name);
      return true;
    }).map((l) => ({
      label: l.name, kind: 'label', detail: `line ${l.line + 1}`,
    }));
  }
  if (context === 'command') {
    return Object.values(hoverTable)
        .filter((entry) => entry.word !== '@')
        .map((entry) => ({
          label: entry.word,
          kind: 'command',
          detail: entry.form,
          documentation: entry.summary,
        }));
  }
  return [];
}

module.exports = {
  lineKind,
  scanLabels,
  statementWord,
  argumentFields,
  jumpsInLine,
  scanJumps,
  findDefinition,
  findReferences,
  labelAt,
  commandAt,
  completionContext,
  completionItems,
};
