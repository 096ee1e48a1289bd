// Times the npm package gcode-parser on one file: reading it and parseStringSync.
// Prints "seconds peak_rss_kib" on one line.
'use strict';
const fs = require('fs');
const { parseStringSync } = require('gcode-parser');

const start = process.hrtime.bigint();
const text = fs.readFileSync(process.argv[2], 'utf8');
const lines = parseStringSync(text);
const seconds = Number(process.hrtime.bigint() - start) / 1e9;
if (!Array.isArray(lines) || lines.length === 0) {
  console.error('gcode-parser returned no lines');
  process.exit(1);
}
console.log(`${seconds.toFixed(4)} ${process.resourceUsage().maxRSS}`);
