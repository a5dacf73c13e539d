// Runs the C++ engine in a Web Worker, so that a long table never holds up the page. An engine
// that fails to start, or that aborts (memory runs out), reports it instead of going quiet.
/* global TongqiuEngine */
'use strict';
const failed = () => postMessage({ kind: 'failed' });
let engine = null;

// The module's bytes from the text the page carries, one byte to a character (which compresses
// as well as the bytes do, unlike base64): "~" and the next character's code less 0x40 stand for
// a byte that the HTML parser would not keep (NUL, CR), for "<" (which could end the script in
// the page) and for "~" itself.
function moduleBytes(text) {
  const bytes = new Uint8Array(text.length);
  let size = 0;
  for (let i = 0; i < text.length; ++i) {
    const code = text.charCodeAt(i);
    bytes[size++] = code === 0x7e ? text.charCodeAt(++i) - 0x40 : code;
  }
  return bytes.subarray(0, size);
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
    const wasmBinary = moduleBytes(data.module);
    engine = TongqiuEngine({ onAbort: failed, wasmBinary });
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
