// Golden sessions as the page should show them.
import fs from 'node:fs';
import path from 'node:path';

// Code page 850, decoded independently of the page's generated table (the
// test would otherwise compare the table with itself).
const UPPER =
  'ÇüéâäàåçêëèïîìÄÅÉæÆôöòûùÿÖÜø£Ø×ƒáíóúñÑªº¿®¬½¼¡«»░▒▓│┤ÁÂÀ©╣║╗╝¢¥┐' +
  '└┴┬├─┼ãÃ╚╔╩╦╠═╬¤ðÐÊËÈıÍÎÏ┘┌█▄¦Ì▀ÓßÔÒõÕµþÞÚÛÙýÝ¯´\u00ad±‗¾¶§÷¸°¨·¹³²■\u00a0';
if ([...UPPER].length !== 128) throw new Error('code page 850 table of the test is incomplete');
const upper = [...UPPER];
export function decode850(bytes) {
  let s = '';
  for (const b of bytes) s += b < 0x80 ? String.fromCharCode(b) : upper[b - 0x80];
  return s;
}

// NAME.in split into typed lines (text), NAME.out as decoded records, the
// exit status and the error line.
export function goldenSession(dir, name) {
  const base = path.join(dir, name);
  const input = decode850(fs.readFileSync(`${base}.in`));
  const lines = input.split('\n').map((l) => l.replace(/\r$/, ''));
  if (lines[lines.length - 1] === '') lines.pop();
  const out = decode850(fs.readFileSync(`${base}.out`));
  if (out !== '' && !out.endsWith('\r\n')) throw new Error(`${name}.out does not end with a record end`);
  const records = out === '' ? [] : out.slice(0, -2).split('\r\n');
  const hasErr = fs.existsSync(`${base}.err`);
  const errorLine = hasErr ? fs.readFileSync(`${base}.err`, 'utf8').trim() : null;
  return { name, lines, records, status: hasErr ? 2 : 0, errorLine };
}

// The terminal's rows after the session: the records, with the answer typed
// at each wait echoed on the row where the program waited, then (after a
// fatal error) the two lines of the error report.  Blanks the program wrote
// at the end of a record are part of the terminal's row and are compared.
export function expectedScreen(session, echoRows) {
  const rows = [...session.records];
  echoRows.forEach((row, i) => {
    rows.splice(row, 0, session.lines[i]);
  });
  if (session.errorLine) {
    rows.push(/^At line \d+ of file \S+ \(unit = 5, file = 'stdin'\)$/, session.errorLine);
  }
  return rows;
}
