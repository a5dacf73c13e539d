// Runs the C++ engine in a Web Worker, so that a long table never holds up the page.
/* global TongqiuEngine */
'use strict';
const engine = TongqiuEngine();

function convert(module, name, buffer) {
  const bytes = new Uint8Array(buffer);
  const address = module._malloc(bytes.length || 1); // the engine frees it
  if (!address) return { error: `${name}：文件太大，内存不足。` };
  module.HEAPU8.set(bytes, address);
  return module.convertTable(address, bytes.length, name);
}

onmessage = async ({ data }) => {
  const module = await engine;
  if (data.kind === 'calculate') {
    postMessage({ kind: 'calculated', result: module.calculate(data.fields) });
  } else {
    const result = convert(module, data.name, data.buffer);
    postMessage({ kind: 'converted', name: data.name, result }, result.output ? [result.output.buffer] : []);
  }
};
engine.then(() => postMessage({ kind: 'ready' }));
