// The calculator's WebAssembly module, called with texts of any length:
// each text goes into the module's memory as UTF-8 bytes, and each answer
// comes back as JSON.

// The loaded module (zelvorn.js's createZelvorn), instantiated from
// `compiled`, the promise of the module already compiled by the page, when
// there is one and it came through; else fetched and compiled anew.
export function loadModule(createZelvorn, compiled) {
  const fresh = () => createZelvorn();
  if (!compiled) return fresh();
  return compiled.then((wasm) => createZelvorn({
    instantiateWasm(imports, receive) {
      WebAssembly.instantiate(wasm, imports).then((instance) => receive(instance, wasm),
        (error) => console.error('The calculator could not start: ' + error));
      return {};
    },
  }), fresh);
}

// The calls the page makes, on a loaded module.
export function calculator(module) {
  const encoder = new TextEncoder();
  // A text (or bytes) in the module's memory for the length of one call.
  function inMemory(input, call) {
    const bytes = typeof input === 'string' ? encoder.encode(input) : input;
    const pointer = module._malloc(bytes.length + 1);
    try {
      module.HEAPU8.set(bytes, pointer);
      module.HEAPU8[pointer + bytes.length] = 0;
      return call(pointer, bytes.length);
    } finally {
      module._free(pointer);
    }
  }
  const answer = (pointer) => JSON.parse(module.UTF8ToString(pointer));
  const withBytes = (input, call) => answer(inMemory(input, call));
  const fieldsText = module.cwrap('zelvorn_fields', 'number', []);
  const predict = module.cwrap('zelvorn_predict', 'number', ['number', 'number', 'string']);
  const read = module.cwrap('zelvorn_read', 'number', ['number', 'number', 'string']);
  const resultText = module.cwrap('zelvorn_result_text', 'number', ['number', 'number']);
  const roster = module.cwrap('zelvorn_roster', 'number',
                              ['number', 'number', 'string', 'number']);
  const preset = module.cwrap('zelvorn_preset', 'number', ['string', 'string']);
  const compare = module.cwrap('zelvorn_compare', 'number',
                               ['number', 'number', 'string', 'string']);
  const tooLongFile = module.cwrap('zelvorn_too_long_file', 'number', ['string']);
  const advise = module.cwrap('zelvorn_advise', 'number', ['number', 'number']);
  return {
    fields: () => answer(fieldsText()),
    // The prediction, and the chart of `chartField` (a dotted name, or
    // none for the calculator's own choice) that comes with it.
    predict: (scenario, chartField) =>
      withBytes(scenario, (p, n) => predict(p, n, chartField || '')),
    // A file's bytes or a link's text, read as --scenario reads a file.
    read: (input, name) => withBytes(input, (p, n) => read(p, n, name)),
    resultText: (scenario) => withBytes(scenario, (p, n) => resultText(p, n)),
    // A roster file's text (or bytes) read as --roster reads it; `kept`:
    // when the calculator reads it, the presets and the Compare view take
    // it from then on.
    roster: (input, name, kept) => withBytes(input, (p, n) => roster(p, n, name, kept ? 1 : 0)),
    // The answers the preset `name` of the kept roster gives `side`, by
    // dotted name, or null.
    preset: (name, side) => answer(preset(name, side)),
    // --scenario --roster --compare SIDE --sort SORT --json against the
    // kept roster: its rows and its error lines.
    compare: (scenario, side, sort) =>
      withBytes(scenario, (p, n) => compare(p, n, side, sort)),
    // What would help: --scenario --roster --advise --json's rows, each
    // with its changed combat's text.
    advise: (scenario) => withBytes(scenario, (p, n) => advise(p, n)),
    // The reading of a file too long to be read, as `read` would give it.
    tooLongFile: (name) => answer(tooLongFile(name)),
  };
}
