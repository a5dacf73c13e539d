// Runs the C++ engine in a Web Worker, so that a long table never holds up the page.
/* global TongqiuEngine */
'use strict';
const engine = TongqiuEngine();

onmessage = async ({ data }) => {
  const module = await engine;
  if (data.kind === 'calculate') {
    postMessage({ kind: 'calculated', result: module.calculate(data.fields) });
  } else {
    const result = module.convertTable(new Uint8Array(data.buffer), data.name);
    postMessage({ kind: 'converted', name: data.name, result }, result.output ? [result.output.buffer] : []);
  }
};
engine.then(() => postMessage({ kind: 'ready' }));
