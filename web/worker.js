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

// The workbook writer keeps its temporary files in the module's in-memory file system (60 MB for
// 100,000 rows), whose files grow by an eighth at a time beyond 1 MB, copying all they hold each
// time: nine times their size. Grown by half, they copy it three times.
function growFilesByHalf(fs) {
  const memfs = fs && fs.filesystems && fs.filesystems.MEMFS;
  if (!memfs || !memfs.expandFileStorage) return;
  memfs.expandFileStorage = (node, needed) => {
    const held = node.contents ? node.contents.length : 0;
    if (held >= needed) return;
    const contents = new Uint8Array(Math.max(needed, Math.floor(held * 1.5), 256));
    if (node.usedBytes > 0) contents.set(node.contents.subarray(0, node.usedBytes));
    node.contents = contents;
  };
}

onmessage = async ({ data }) => {
  if (data.kind === 'start') {
    const wasmBinary = moduleBytes(data.module);
    engine = TongqiuEngine({ onAbort: failed, wasmBinary });
    engine.then((module) => {
      growFilesByHalf(module.FS);
      postMessage({ kind: 'ready' });
    }, failed);
    return;
  }
  const module = await engine;
  try {
    if (data.kind === 'calculate') {
      postMessage({ kind: 'calculated', result: module.calculate(data.fields) });
    } else if (data.kind === 'kit') {
      postMessage({ kind: 'kit', result: module.readKit(data.kit, data.name) });
    } else {
      const bytes = new Uint8Array(data.buffer);
      // A 通球记录 filled in at the bench is checked; any other table is converted.
      const checked = data.format ? { notRecord: true } : module.checkRecord(bytes, data.name, data.kit);
      if (!checked.notRecord) {
        postMessage({ kind: 'converted', id: data.id, format: data.format, result: { check: checked } });
        return;
      }
      const progress = (rows) => postMessage({ kind: 'progress', rows });
      const result = module.convertTable(bytes, data.name, data.format, progress, data.kit);
      const transfer = result.output ? [result.output.buffer] : [];
      postMessage({ kind: 'converted', id: data.id, format: data.format, result }, transfer);
    }
  } catch (error) {
    failed();
  }
};
