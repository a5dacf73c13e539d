// Runs the C++ engine in a Web Worker, so that a long table never holds up the page. An engine
// that fails to start, or that aborts (memory runs out), reports it instead of going quiet.
/* global TongqiuEngine */
'use strict';
const failed = () => postMessage({ kind: 'failed' });
let engine = null;

// The module's bytes from the text the page carries: packed by LZMA (five bytes of properties,
// the unpacked size, the data), in base64, and unpacked by the small module carried beside it.
const fromBase64 = (text) => Uint8Array.from(atob(text), (c) => c.charCodeAt(0));
function moduleBytes(packedText, unpackerText) {
  const packed = fromBase64(packedText);
  const { exports } = new WebAssembly.Instance(new WebAssembly.Module(fromBase64(unpackerText)));
  exports._initialize();
  const size = new DataView(packed.buffer).getUint32(5, true);
  const from = exports.room(packed.length);
  const to = exports.room(size);
  if (!from || !to) throw new RangeError('no memory to unpack the engine');
  new Uint8Array(exports.memory.buffer).set(packed, from);  // after room() grew the memory
  if (!exports.unpack(from, packed.length, to, size)) throw new Error('the engine does not unpack');
  return new Uint8Array(exports.memory.buffer, to, size).slice();
}

// The engine's C functions take text in its memory, and files copied into room it keeps for
// them, and answer in JSON.
function answer(module, at) {
  return JSON.parse(module.UTF8ToString(at));
}
function withTexts(module, texts, use) {
  const pointers = texts.map((text) => module.allocateUTF8(String(text)));
  try {
    return use(pointers);
  } finally {
    pointers.forEach((pointer) => module._free(pointer));
  }
}
// Copies `bytes` (none: null) into the engine's room for a table (0) or a kit (1); whether there
// were any.
function handIn(module, room, bytes) {
  if (!bytes) return 0;
  const at = module._tongqiu_room(room, bytes.length);
  module.HEAPU8.set(bytes, at);  // after the call, which may have grown the memory
  return 1;
}

function calculate(module, fields) {
  const namesAndTexts = Object.entries(fields).flat();
  return withTexts(module, namesAndTexts, (pointers) => {
    const list = module._malloc(4 * pointers.length);
    try {
      module.HEAPU32.set(pointers, list / 4);
      return answer(module, module._tongqiu_calculate(list, pointers.length / 2));
    } finally {
      module._free(list);
    }
  });
}

function readKit(module, kit, name) {
  handIn(module, 1, kit);
  return withTexts(module, [name], ([text]) => answer(module, module._tongqiu_read_kit(text)));
}

// A 通球记录 filled in at the bench is checked; any other table is converted.
function convertTable(module, data) {
  handIn(module, 0, new Uint8Array(data.buffer));
  const withKit = handIn(module, 1, data.kit);
  return withTexts(module, [data.name, data.format || ''], ([name, format]) => {
    if (!data.format) {
      const checked = answer(module, module._tongqiu_check_record(name, withKit));
      if (!checked.notRecord) return { check: checked };
    }
    module.onProgress = (rows) => postMessage({ kind: 'progress', rows });
    const result = answer(module, module._tongqiu_convert_table(name, format, withKit));
    if (result.outputSize !== undefined) {
      const at = module._tongqiu_output();
      result.output = module.HEAPU8.slice(at, at + result.outputSize);
    }
    return result;
  });
}

onmessage = async ({ data }) => {
  if (data.kind === 'start') {
    try {
      engine = TongqiuEngine({ onAbort: failed, wasmBinary: moduleBytes(data.module, data.unpacker) });
    } catch (error) {
      failed();
      return;
    }
    engine.then(() => postMessage({ kind: 'ready' }), failed);
    return;
  }
  const module = await engine;
  try {
    if (data.kind === 'calculate') {
      postMessage({ kind: 'calculated', result: calculate(module, data.fields) });
    } else if (data.kind === 'kit') {
      postMessage({ kind: 'kit', result: readKit(module, data.kit, data.name) });
    } else {
      const result = convertTable(module, data);
      const transfer = result.output ? [result.output.buffer] : [];
      postMessage({ kind: 'converted', id: data.id, format: data.format, result }, transfer);
    }
  } catch (error) {
    failed();
  }
};
