// The page's code page 850 table, taken from the program's own table in
// src/core/cp850.cpp (the Unicode code points of bytes 0x80..0xFF).
//
// Bytes 0x20..0x7E are ASCII.  Of the control bytes only CR, LF and tab reach
// the terminal as such; any other is shown as U+FFFD, so no byte the program
// writes can act as a terminal control sequence.

export function cp850FromSource(source) {
  const m = /kUpperHalf\[128\]\s*=\s*\{([^}]*)\}/.exec(source);
  if (!m) throw new Error('code page 850 table not found in the source');
  const points = m[1].split(',').map((s) => s.trim()).filter((s) => s !== '').map((s) => Number(s));
  if (points.length !== 128 || points.some((p) => !Number.isInteger(p) || p < 0xa0)) {
    throw new Error(`code page 850 table: expected 128 code points, read ${points.length}`);
  }
  if (new Set(points).size !== 128) throw new Error('code page 850 table: a code point appears twice');
  const decode = [];
  for (let b = 0; b < 256; b++) {
    if (b >= 0x80) decode.push(points[b - 0x80]);
    else if ((b >= 0x20 && b < 0x7f) || b === 0x0d || b === 0x0a || b === 0x09) decode.push(b);
    else decode.push(0xfffd);
  }
  return decode;
}

// The ES module that the page imports.
export function tableModule(decode) {
  return `// Generated from src/core/cp850.cpp by web/assemble.mjs.
// Code page 850: the character of each byte, and each character's byte.
const points = [${decode.join(',')}];
export const DECODE = points.map((p) => String.fromCharCode(p));
const bytes = new Map();
for (let b = 0; b < 256; b++) if (points[b] !== 0xfffd) bytes.set(points[b], b);

// Bytes to text.
export function decode(data) {
  let s = '';
  for (let i = 0; i < data.length; i++) s += DECODE[data[i]];
  return s;
}

// Text to bytes: a character that code page 850 lacks becomes '?'.  Accents
// typed as a letter and a combining mark are composed first.
export function encode(text) {
  const out = [];
  for (const ch of text.normalize('NFC')) {
    const b = bytes.get(ch.codePointAt(0));
    out.push(b === undefined ? 0x3f : b);
  }
  return Uint8Array.from(out);
}
`;
}
