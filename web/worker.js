// Runs the C++ engine in a Web Worker, so that a long table never holds up the page. An engine
// that fails to start, or that aborts (memory runs out), reports it instead of going quiet.
/* global TongqiuEngine */
'use strict';
const failed = () => postMessage({ kind: 'failed' });
const engine = TongqiuEngine({ onAbort: failed });

onmessage = async ({ data }) => {
  const module = await engine;
  try {
    if (data.kind === 'calculate') {
      postMessage({ kind: 'calculated', result: module.calculate(data.fields) });
    } else {
      const progress = (rows) => postMessage({ kind: 'progress', rows });
      const result = module.convertTable(new Uint8Array(data.buffer), data.name, data.format, progress);
      const transfer = result.output ? [result.output.buffer] : [];
      postMessage({ kind: 'converted', id: data.id, format: data.format, result }, transfer);
    }
  } catch (error) {
    failed();
  }
};
engine.then(() => postMessage({ kind: 'ready' }), failed);
