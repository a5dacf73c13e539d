// Runs before the page's own script and is written in ES5, so that every browser parses it, old
// ones included. Where the browser lacks what the engine needs, it says so at once; where the
// engine has not become ready after a while (a script this browser cannot parse, a module it cannot
// compile, a worker that never started), it says so then. Until the page's script reports the
// engine ready, 计算 and the file chooser stay disabled.
(function () {
  'use strict';
  var kPatienceMs = 8000;
  var failure = document.getElementById('failure');
  var timer = 0;

  function cannotRun() {
    window.clearTimeout(timer);
    failure.textContent = document.getElementById('cannot-run').textContent;
  }

  var supported = typeof WebAssembly === 'object' && typeof WebAssembly.instantiate === 'function' &&
    !!window.Worker && !!window.Blob && !!window.Promise && !!window.TextDecoder &&
    !!window.Uint8Array && !!window.URL && typeof URL.createObjectURL === 'function';

  window.tongqiuStartup = {
    supported: supported,
    cannotRun: cannotRun,
    ready: function () {
      window.clearTimeout(timer);
      failure.textContent = '';
    }
  };
  if (supported) {
    timer = window.setTimeout(cannotRun, kPatienceMs);
  } else {
    cannotRun();
  }
})();
