#!/usr/bin/env node
'use strict';
// Writes the extension's hover table from the writer's guide.
// usage: hover-table.js GUIDE.md OUT.json
const fs = require('fs');
const { buildHoverTable } = require('../src/hover-table');

const [guidePath, outPath] = process.argv.slice(2);
if (!guidePath || !outPath) {
  console.error('usage: hover-table.js GUIDE.md OUT.json');
  process.exit(2);
}
const guide = process.env.MOWA_GUIDE || guidePath;
const table = buildHoverTable(fs.readFileSync(guide, 'utf8'));
fs.writeFileSync(outPath, JSON.stringify(table, null, 1) + '\n');
console.log(`hover-table: ${Object.keys(table).length} commands from ${guide}`);
