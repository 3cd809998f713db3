'use strict';
// Builds the hover texts of the commands from the writer's guide
// (docs/scenario.md), so that the editor says what the guide says: the row of
// the table under "## The commands" gives each command's form, arguments and
// summary, and the paragraphs under its subsections that name the command in
// bold (**`word...`**), with the example lines that follow them, give the
// details.

// The command word of a statement form: `@NN=E` is the word "@"; otherwise
// the word runs up to the first double quote.
function commandWord(form) {
  if (form.startsWith('@')) return '@';
  const quote = form.indexOf('"');
  return quote < 0 ? form : form.slice(0, quote);
}

function commandsSection(guide) {
  const lines = guide.split(/\r?\n/);
  const start = lines.findIndex((l) => /^## The commands\s*$/.test(l));
  if (start < 0) throw new Error('the guide has no "## The commands" section');
  let end = lines.findIndex((l, i) => i > start && /^## /.test(l));
  if (end < 0) end = lines.length;
  return lines.slice(start + 1, end);
}

function tableRows(section) {
  const rows = [];
  for (const line of section) {
    const cells = line.split('|').slice(1, -1).map((c) => c.trim());
    if (cells.length !== 3) continue;
    const form = /^`([^`]+)`$/.exec(cells[0]);
    if (!form) continue;
    rows.push({
      word: commandWord(form[1]),
      form: form[1],
      arguments: cells[1],
      summary: cells[2],
    });
  }
  return rows;
}

// Paragraphs with the indented example lines that follow each of them.
function paragraphs(section) {
  const result = [];
  let current = null;
  for (const line of section) {
    if (/^#/.test(line) || /^\|/.test(line)) {
      current = null;
    } else if (line.trim() === '') {
      if (current && current.text.length > 0) current.closed = true;
    } else if (/^ {4}/.test(line) && current) {
      current.example.push(line.slice(4));
    } else if (current && !current.closed && current.example.length === 0) {
      current.text.push(line);
    } else {
      current = { text: [line], example: [], closed: false };
      result.push(current);
    }
  }
  return result;
}

function buildHoverTable(guide) {
  const section = commandsSection(guide);
  const table = {};
  for (const row of tableRows(section)) {
    table[row.word] = { ...row, details: [] };
  }
  for (const p of paragraphs(section)) {
    const text = p.text.join(' ');
    const named = new Set();
    for (const m of text.matchAll(/\*\*`([^`]+)`\*\*/g)) {
      named.add(commandWord(m[1]));
    }
    for (const word of named) {
      if (!table[word]) continue;
      let detail = text;
      if (p.example.length > 0) {
        detail += '\n\n```mowa\n' + p.example.join('\n') + '\n```';
      }
      table[word].details.push(detail);
    }
  }
  return table;
}

// The hover's Markdown for one command.
function hoverMarkdown(entry) {
  const head = '```mowa\n' + entry.form + '\n```\n\n' + entry.summary +
      (entry.arguments && entry.arguments !== '—' ?
        ' (' + entry.arguments + ')' : '');
  // Links point into the guide, which the hover cannot follow.
  return [head, ...entry.details].join('\n\n')
      .replace(/\[([^\]]+)\]\(#[^)]*\)/g, '$1');
}

module.exports = { buildHoverTable, hoverMarkdown, commandWord };
