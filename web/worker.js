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
      const result = module.convertTable(new Uint8Array(data.buffer), data.name);
      postMessage({ kind: 'converted', name: data.name, result }, result.output ? [result.output.buffer] : []);
    }
  } catch (error) {
    failed();
  }
};
engine.then(() => postMessage({ kind: 'ready' }), failed);
