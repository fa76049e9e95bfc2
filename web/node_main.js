// Started as `node amostra.js`: run the program once on the process's own
// standard streams; its exit status becomes the process's.
if (typeof process === 'object' && typeof require === 'function' && typeof module === 'object' &&
    require.main === module) {
  createAmostra({
    // Node cannot fetch the module by URL: read it from beside this script.
    wasmBinary: require('fs').readFileSync(require('path').join(__dirname, 'amostra.wasm')),
  });
}
