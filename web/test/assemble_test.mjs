// Checks the assembly of the page's folder without a browser:
//   node web/test/assemble_test.mjs
// - the code page 850 table generated from the program's source decodes every
//   byte as an independent table does, and encodes back (what code page 850
//   lacks becomes '?', accents typed as combining marks are composed);
// - the tutorial is copied and linked when it has been rendered, and the page
//   has no link when it has not.
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { execFileSync } from 'node:child_process';
import { fileURLToPath, pathToFileURL } from 'node:url';
import { decode850 } from './golden.mjs';

const here = path.dirname(fileURLToPath(import.meta.url));
const web = path.dirname(here);
let failures = 0;
const check = (ok, what) => {
  console.log(`${ok ? 'ok  ' : 'FAIL'} ${what}`);
  if (!ok) failures++;
};

const tmp = fs.mkdtempSync(path.join(os.tmpdir(), 'amostra-assemble-'));
try {
  // Stand-ins for the WebAssembly build: only copied, never run here.
  const wasm = path.join(tmp, 'wasm');
  fs.mkdirSync(wasm);
  fs.writeFileSync(path.join(wasm, 'amostra.js'), '// program\n');
  fs.writeFileSync(path.join(wasm, 'amostra.wasm'), '');
  const tutorial = path.join(tmp, 'html');
  fs.mkdirSync(path.join(tutorial, 'img'), { recursive: true });
  fs.writeFileSync(path.join(tutorial, 'index.html'), '<h1>Tutorial</h1>');
  fs.writeFileSync(path.join(tutorial, 'img', 'menu.png'), 'png');

  const assemble = (out, tut) =>
    execFileSync('node', [path.join(web, 'assemble.mjs'), wasm, out, ...(tut ? [tut] : [])], { encoding: 'utf8' });

  const withTut = path.join(tmp, 'with');
  assemble(withTut, tutorial);
  const html = fs.readFileSync(path.join(withTut, 'index.html'), 'utf8');
  check(html.includes('href="tutorial/index.html"') && fs.existsSync(path.join(withTut, 'tutorial', 'img', 'menu.png')),
    'a rendered tutorial is copied into tutorial/ and linked from the page');
  for (const file of ['index.html', 'app.js', 'style.css', 'cp850.js', 'amostra.js', 'amostra.wasm',
    'xterm/xterm.js', 'xterm/xterm.css', 'xterm/addon-fit.js', 'xterm/LICENSE']) {
    if (!fs.existsSync(path.join(withTut, file))) check(false, `the folder holds ${file}`);
  }
  const script = fs.readFileSync(path.join(withTut, 'xterm/xterm.js'), 'utf8');
  check(!/sourceMappingURL/.test(script.slice(-300)), 'copied scripts do not point to source maps that are not shipped');
  check(!/(src|href)\s*=\s*["']?(https?:)?\/\//i.test(html), 'the page refers to nothing outside its folder');

  const without = path.join(tmp, 'without');
  assemble(without, path.join(tmp, 'missing'));
  const plain = fs.readFileSync(path.join(without, 'index.html'), 'utf8');
  check(!plain.includes('tutorial/') && !fs.existsSync(path.join(without, 'tutorial')),
    'without a rendered tutorial the page has no tutorial link');

  const table = await import(pathToFileURL(path.join(withTut, 'cp850.js')).href);
  const all = Uint8Array.from({ length: 256 }, (_, b) => b);
  const want = decode850(all);
  let same = 0;
  for (let b = 0; b < 256; b++) {
    const printable = b >= 0x20 && b !== 0x7f;
    const expected = printable || b === 0x0a || b === 0x0d || b === 0x09 ? want[b] : '\ufffd';
    if (table.decode([b]) === expected) same++;
    else console.log(`  byte ${b.toString(16)}: ${JSON.stringify(table.decode([b]))}, expected ${JSON.stringify(expected)}`);
  }
  check(same === 256, `the generated table decodes all 256 bytes as expected (${same})`);
  const upper = all.slice(0x80);
  check(Buffer.from(table.encode(table.decode(upper))).equals(Buffer.from(upper)),
    'every byte 0x80..0xFF encodes back to itself');
  check(Buffer.from(table.encode('Jataí Ω€ e\u0301')).equals(Buffer.from([0x4a, 0x61, 0x74, 0x61, 0xa1, 0x20, 0x3f, 0x3f, 0x20, 0x82])),
    'typed text to code page 850: í is A1, characters it lacks become ?, a combining accent is composed');
} finally {
  fs.rmSync(tmp, { recursive: true, force: true });
}
console.log(failures === 0 ? 'assembly test passed' : `assembly test: ${failures} check(s) failed`);
process.exit(failures === 0 ? 0 : 1);
