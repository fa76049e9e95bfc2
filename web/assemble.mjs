// Assembles the browser edition's static folder:
//   node web/assemble.mjs WASM_BUILD_DIR OUT_DIR [TUTORIAL_HTML_DIR]
// OUT_DIR receives the page, its script and style, the WebAssembly program,
// the terminal component's files, the code page 850 table (read from the
// program's own source, so there is one table in the project) and, when the
// tutorial has been rendered, a copy of it linked from the page.
import fs from 'node:fs';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { cp850FromSource, tableModule } from './cp850_table.mjs';

const here = path.dirname(fileURLToPath(import.meta.url));
const root = path.dirname(here);
const [wasmDir, outDir, tutorialDir] = process.argv.slice(2);
if (!wasmDir || !outDir) {
  console.error('usage: node web/assemble.mjs WASM_BUILD_DIR OUT_DIR [TUTORIAL_HTML_DIR]');
  process.exit(1);
}

fs.rmSync(outDir, { recursive: true, force: true });
fs.mkdirSync(path.join(outDir, 'xterm'), { recursive: true });

const copy = (from, to) => fs.copyFileSync(from, path.join(outDir, to));
// A copied script loses its pointer to a source map that is not shipped.
const copyScript = (from, to) => {
  const text = fs.readFileSync(from, 'utf8').replace(/\n\/\/# sourceMappingURL=.*\s*$/, '\n');
  fs.writeFileSync(path.join(outDir, to), text);
};

copy(path.join(wasmDir, 'amostra.js'), 'amostra.js');
copy(path.join(wasmDir, 'amostra.wasm'), 'amostra.wasm');

const table = cp850FromSource(fs.readFileSync(path.join(root, 'src/core/cp850.cpp'), 'utf8'));
fs.writeFileSync(path.join(outDir, 'cp850.js'), tableModule(table));

const modules = path.join(here, 'node_modules/@xterm');
copyScript(path.join(modules, 'xterm/lib/xterm.mjs'), 'xterm/xterm.js');
copyScript(path.join(modules, 'addon-fit/lib/addon-fit.mjs'), 'xterm/addon-fit.js');
copy(path.join(modules, 'xterm/css/xterm.css'), 'xterm/xterm.css');
copy(path.join(modules, 'xterm/LICENSE'), 'xterm/LICENSE');

const page = path.join(here, 'page');
copy(path.join(page, 'app.js'), 'app.js');
copy(path.join(page, 'style.css'), 'style.css');

let tutorial = '';
if (tutorialDir && fs.existsSync(path.join(tutorialDir, 'index.html'))) {
  fs.cpSync(tutorialDir, path.join(outDir, 'tutorial'), { recursive: true });
  tutorial = '<a class="tutorial" href="tutorial/index.html" target="_blank" rel="noopener">Tutorial (abre em outra aba)</a>';
  console.log(`tutorial copied from ${tutorialDir}`);
} else {
  console.log('no rendered tutorial (make doc): the page has no tutorial link');
}
const html = fs.readFileSync(path.join(page, 'index.html'), 'utf8').replace('<!-- tutorial -->', tutorial);
fs.writeFileSync(path.join(outDir, 'index.html'), html);

console.log(`page assembled in ${outDir}`);
