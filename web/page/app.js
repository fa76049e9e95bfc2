// The page around the program: a terminal that shows the dialogue and a text
// field that sends typed lines to it.
//
// The program (amostra.js / amostra.wasm, the same C++ program as on a
// console) writes code page 850 bytes with CR LF record ends and reads whole
// typed lines.  While it waits for a line its WebAssembly stack is suspended;
// the page resolves the wait when the user presses Enter.
import { Terminal } from './xterm/xterm.js';
import { FitAddon } from './xterm/addon-fit.js';
import { decode, encode } from './cp850.js';

const COLUMNS = 80; // the console's width: records are never rewrapped
const MIN_FONT = 11; // px: below this, the terminal scrolls sideways instead
const MAX_FONT = 30; // px: large enough for a projector
const HISTORY_LIMIT = 200;

const $ = (id) => document.getElementById(id);
const screen = $('tela');
const field = $('resposta');
const form = $('linha');
const sendButton = $('enviar');
const statusLine = $('estado');
const restartButton = $('recomecar');
const copyButton = $('copiar');
const errorBox = $('erro');
const errorText = $('erro-texto');

const term = new Terminal({
  cols: COLUMNS,
  rows: 24,
  scrollback: 10000,
  convertEol: false,
  disableStdin: true,
  cursorBlink: false,
  cursorInactiveStyle: 'none',
  fontFamily: '"DejaVu Sans Mono", "Liberation Mono", Menlo, Consolas, "Courier New", monospace',
  fontSize: 16,
  theme: {
    background: '#101418',
    foreground: '#eceff1',
    cyan: '#7fd8ff',
    brightRed: '#ff8a80',
    selectionBackground: '#4a6078',
  },
});
const fit = new FitAddon();
term.loadAddon(fit);
term.open($('terminal'));
// The terminal only shows the dialogue: answers are typed in the field below.
if (term.textarea) {
  term.textarea.tabIndex = -1;
  term.textarea.setAttribute('aria-hidden', 'true');
  term.textarea.addEventListener('focus', () => field.focus());
}

// ---- Layout: 80 columns at the largest readable size that fits ----------

function cellWidthRatio() {
  const probe = document.createElement('span');
  probe.style.cssText = 'position:absolute;visibility:hidden;white-space:pre;font-size:100px';
  probe.style.fontFamily = term.options.fontFamily;
  probe.textContent = 'M'.repeat(20);
  document.body.appendChild(probe);
  const ratio = probe.getBoundingClientRect().width / 2000;
  probe.remove();
  return ratio || 0.6;
}
const ratio = cellWidthRatio();

function layout() {
  const available = screen.clientWidth - 24; // padding and the scroll bar
  const size = Math.max(MIN_FONT, Math.min(MAX_FONT, Math.floor(available / (term.cols * ratio))));
  if (term.options.fontSize !== size) term.options.fontSize = size;
  const proposed = fit.proposeDimensions();
  let rows = proposed && proposed.rows > 0 ? Math.max(8, proposed.rows) : 24;
  if (rows !== term.rows) term.resize(term.cols, rows);
  // The last row must be visible: below the rows may stand a sideways scroll
  // bar, which the proposal does not count.
  const room = () => screen.clientHeight - 12 - (screen.offsetHeight - screen.clientHeight);
  while (term.rows > 8 && term.element.getBoundingClientRect().height > room()) {
    term.resize(term.cols, term.rows - 1);
  }
}
window.addEventListener('resize', layout);
// The frame also changes size when the texts below it wrap differently.
if (window.ResizeObserver) new ResizeObserver(() => layout()).observe(screen);
layout();

// ---- Output ---------------------------------------------------------------

let transcript = ''; // the whole session as text, for "Copiar sessão"
const sessionText = () => transcript.replace(/\r\n/g, '\n');
let column = 0; // column of the terminal's cursor in the current record
let pendingWrites = 0;

// Writes text to the terminal, widening it first if a record would pass its
// last column (a record is never wrapped onto a second line).
function show(text, style) {
  let widest = column;
  let col = column;
  for (const ch of text) {
    if (ch === '\n' || ch === '\r') col = 0;
    else widest = Math.max(widest, ++col);
  }
  column = col;
  if (widest > term.cols) {
    term.resize(widest, term.rows);
    layout();
  }
  pendingWrites++;
  const done = () => {
    pendingWrites--;
  };
  term.write(style ? `\x1b[${style}m${text}\x1b[0m` : text, done);
}

// The terminal has drawn everything written so far.
function drawn() {
  return new Promise((resolve) => term.write('', resolve));
}

// ---- One run of the program ------------------------------------------------

// Compiled once (started by the page's head), instantiated for every run.
const compiled = window.amostraWasm;

let run = null; // the current run: { waiting, queue, ended }
const history = [];
let historyAt = 0;
let draft = '';

function setState(state, message) {
  document.body.dataset.estado = state;
  statusLine.textContent = message;
}

function start() {
  const current = { waiting: null, queue: [], ended: false, reads: 0 };
  run = current;
  const mine = () => run === current && !current.ended;
  errorBox.hidden = true;
  errorText.textContent = '';
  restartButton.hidden = true;
  field.disabled = false;
  sendButton.disabled = false;
  setState('carregando', 'Carregando o programa…');

  window.createAmostra({
    instantiateWasm(imports, receive) {
      compiled
        .then((module) => WebAssembly.instantiate(module, imports))
        .then((instance) => receive(instance), (e) => fail(current, e));
      return {};
    },
    amostraWrite(fd, bytes) {
      if (!mine()) return false;
      const text = decode(bytes);
      if (fd === 2) {
        // The error report: set apart in the terminal and in a box below it.
        errorText.textContent += text;
        errorBox.hidden = false;
        show(text.replace(/\r?\n/g, '\r\n'), '1;91');
        transcript += text.replace(/\r?\n/g, '\n');
      } else {
        show(text);
        transcript += text; // CR LF kept here: a record end may straddle two writes
      }
      return true;
    },
    amostraReadLine() {
      if (!mine()) return new Promise(() => {}); // a finished run waits forever
      current.reads++;
      if (current.queue.length > 0) return Promise.resolve(deliver(current.queue.shift()));
      return drawn().then(() => {
        if (!mine()) return new Promise(() => {});
        if (current.queue.length > 0) return deliver(current.queue.shift());
        if (window.amostraPage.readyAt === null) window.amostraPage.readyAt = performance.now();
        setState('aguardando', 'Aguardando sua resposta.');
        if (document.activeElement !== field) field.focus({ preventScroll: true });
        return new Promise((resolve) => {
          current.waiting = resolve;
        });
      });
    },
    onExit(status) {
      if (run !== current) return;
      finish(current, status);
    },
    onAbort(what) {
      fail(current, what);
    },
    print: (text) => console.log(text),
    printErr: (text) => console.warn(text),
  }).catch((e) => fail(current, e));
}

function finish(current, status) {
  current.ended = true;
  current.waiting = null;
  field.disabled = true;
  sendButton.disabled = true;
  drawn().then(() => {
    if (status === 0) setState('fim', 'Fim do programa. Para outra análise, use Recomeçar.');
    else setState('erro', `O programa parou com erro (código ${status}). Use Recomeçar para tentar de novo.`);
    window.amostraPage.exitStatus = status;
    restartButton.hidden = false;
    restartButton.focus();
  });
}

function fail(current, what) {
  if (run !== current || current.ended) return;
  console.error(what);
  current.ended = true;
  field.disabled = true;
  sendButton.disabled = true;
  setState('erro', 'O programa não pôde ser carregado: abra a página por http:// ou https:// (não como arquivo), num navegador com WebAssembly.');
  restartButton.hidden = false;
}

// The runtime reports the program's end by throwing its exit status object
// out of the resumed call; that is not an error of the page.
window.addEventListener('unhandledrejection', (event) => {
  if (event.reason && event.reason.name === 'ExitStatus') event.preventDefault();
});
window.addEventListener('error', (event) => {
  if (event.error && event.error.name === 'ExitStatus') event.preventDefault();
});

// ---- Typing ---------------------------------------------------------------

// A typed line reaches the program when it asks for one, and is echoed then,
// as a console would: what the program receives, then a new record.  Lines
// typed or pasted ahead wait their turn, so each echo stands under its prompt.
function deliver(bytes) {
  const text = decode(bytes);
  show(text + '\r\n', '36');
  transcript += text + '\n';
  const data = new Uint8Array(bytes.length + 1);
  data.set(bytes);
  data[bytes.length] = 0x0a;
  return data;
}

function remember(line) {
  if (line !== '' && history[history.length - 1] !== line) {
    history.push(line);
    if (history.length > HISTORY_LIMIT) history.shift();
  }
  historyAt = history.length;
  draft = '';
}

function send(line) {
  if (!run || run.ended) return;
  remember(line);
  const bytes = encode(line);
  const waiting = run.waiting;
  if (waiting) {
    run.waiting = null;
    setState('executando', 'Calculando…');
    waiting(deliver(bytes));
  } else {
    run.queue.push(bytes);
  }
}

form.addEventListener('submit', (event) => {
  event.preventDefault();
  const line = field.value;
  field.value = '';
  send(line);
  field.focus();
});

// Pasted text of several lines (a column of data, say) is sent line by line;
// a last line without a line end stays in the field.
field.addEventListener('paste', (event) => {
  const text = event.clipboardData && event.clipboardData.getData('text/plain');
  if (!text || !/[\r\n]/.test(text)) return;
  event.preventDefault();
  const lines = text.split(/\r\n|\r|\n/);
  const before = field.value.slice(0, field.selectionStart ?? field.value.length);
  const after = field.value.slice(field.selectionEnd ?? field.value.length);
  lines[0] = before + lines[0];
  const last = lines.pop() + after;
  for (const line of lines) send(line);
  field.value = last;
  field.setSelectionRange(field.value.length, field.value.length);
});

field.addEventListener('keydown', (event) => {
  if (event.key === 'ArrowUp') {
    if (historyAt === 0) return;
    if (historyAt === history.length) draft = field.value;
    historyAt--;
  } else if (event.key === 'ArrowDown') {
    if (historyAt >= history.length) return;
    historyAt++;
  } else {
    return;
  }
  event.preventDefault();
  field.value = historyAt < history.length ? history[historyAt] : draft;
  field.setSelectionRange(field.value.length, field.value.length);
});

// ---- Controls -------------------------------------------------------------

restartButton.addEventListener('click', () => {
  term.reset();
  term.clear();
  term.resize(COLUMNS, term.rows);
  layout();
  column = 0;
  transcript = '';
  window.amostraPage.exitStatus = null;
  start();
  field.focus();
});

async function copyText(text) {
  if (navigator.clipboard && window.isSecureContext) {
    try {
      await navigator.clipboard.writeText(text);
      return true;
    } catch (e) {
      // fall back to the selection below
    }
  }
  const area = document.createElement('textarea');
  area.value = text;
  area.setAttribute('readonly', '');
  area.style.cssText = 'position:fixed;top:0;left:0;opacity:0';
  document.body.appendChild(area);
  area.select();
  let ok = false;
  try {
    ok = document.execCommand('copy');
  } catch (e) {
    ok = false;
  }
  area.remove();
  return ok;
}

copyButton.addEventListener('click', async () => {
  const before = statusLine.textContent;
  const ok = await copyText(sessionText());
  statusLine.textContent = ok
    ? 'Sessão copiada para a área de transferência.'
    : 'Não foi possível copiar: selecione o texto do terminal e copie.';
  setTimeout(() => {
    if (statusLine.textContent !== before) statusLine.textContent = before;
  }, 2500);
});

// ---- What tests and scripts can read ---------------------------------------

window.amostraPage = {
  readyAt: null, // ms after navigation start when the program first waited
  exitStatus: null,
  // The terminal's lines, trailing blanks removed.
  terminalText() {
    const buffer = term.buffer.active;
    const lines = [];
    for (let i = 0; i < buffer.length; i++) {
      const line = buffer.getLine(i);
      lines.push(line ? line.translateToString(true) : '');
    }
    while (lines.length > 0 && lines[lines.length - 1] === '') lines.pop();
    return lines.join('\n');
  },
  sessionText: () => sessionText(),
  reads: () => (run ? run.reads : 0),
  idle: () => pendingWrites === 0,
  columns: () => term.cols,
  fontSize: () => term.options.fontSize,
  // The terminal row (counting from the top of the scrollback) of the cursor.
  cursorRow: () => term.buffer.active.baseY + term.buffer.active.cursorY,
};

start();
