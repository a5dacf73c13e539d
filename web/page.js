// The page: sends what was typed or dropped to the engine and shows what comes back. Every
// number, text and decision comes from the C++ engine; nothing here computes.
'use strict';
(() => {
  const $ = (id) => document.getElementById(id);
  const kMaxFileBytes = 100 * 1024 * 1024;
  const form = $('calculation');
  const calculate = $('Command1');
  const fields = [...form.querySelectorAll('input[id^="Text"]')];
  const inputs = fields.filter((field) => !field.readOnly);
  const status = $('table-status');
  const download = $('download');
  const downloadWorkbook = $('download-xlsx');
  const printRecord = $('print-record');
  const problems = $('problems');
  let record = null;  // the last table's 通球记录, as the engine gives it
  const kTypes = { csv: 'text/csv;charset=utf-8', xlsx: 'application/vnd.openxmlformats-officedocument.spreadsheetml.sheet' };
  const kProgressAfterMs = 1000;

  const chooser = $('file');
  const startup = window.tongqiuStartup;
  if (!startup.supported) return;

  // The engine runs in a worker made from the text the page carries, and its module is handed to
  // each worker. A worker that dies is replaced, since an engine that aborted cannot go on.
  const source = $('engine');
  const engineUrl = URL.createObjectURL(new Blob([source.textContent], { type: 'text/javascript' }));
  source.remove();
  // Each worker turns the module's text back into bytes, away from the page.
  const [module, unpacker] = ['module', 'unpacker'].map((id) => {
    const element = $(id);
    element.remove();
    return element.textContent;
  });
  let worker = null;
  let pendingTable = null;  // the table being converted: its file and when it started
  const kit = window.tongqiuKit((name, bytes) => worker.postMessage({ kind: 'kit', name, kit: bytes }));

  // The engine is ready exactly while 计算 is enabled.
  const ready = () => !calculate.disabled;
  function setReady(isReady) {
    calculate.disabled = !isReady;
    chooser.disabled = !isReady;
    kit.ready(isReady);
  }

  function workerDied(dead) {
    dead.terminate();
    if (dead !== worker) return;  // a second word from a worker already replaced
    if (!ready()) {
      startup.cannotRun();
      return;
    }
    setReady(false);
    if (pendingTable !== null) {
      status.textContent = `${pendingTable.file.name}：计算中断，可能是内存不足。请把表分成几个较小的文件再试，或用 tongqiu-batch。`;
      pendingTable = null;
    }
    startWorker();
  }

  function startWorker() {
    let started;
    try {
      started = new Worker(engineUrl);
    } catch (error) {
      startup.cannotRun();
      return;
    }
    worker = started;
    started.postMessage({ kind: 'start', module, unpacker });
    started.onmessage = ({ data }) => {
      if (data.kind === 'ready') {
        setReady(true);
        startup.ready();
      }
      if (data.kind === 'failed') workerDied(started);
      if (data.kind === 'calculated') showCalculated(data.result);
      if (data.kind === 'progress') showProgress(data.rows);
      if (data.kind === 'kit') kit.read(data.result);
      // A table's result, unless another table has been chosen since.
      if (data.kind === 'converted' && pendingTable && data.id === pendingTable.id) {
        const { file } = pendingTable;
        pendingTable = null;
        if (data.format) offer(downloadWorkbook, data.result, stemOf(file.name));
        else showConverted(file, data.result);
      }
    };
    started.onerror = (event) => {
      event.preventDefault();
      workerDied(started);
    };
  }

  function clearFailure() {
    $('failure').textContent = '';
    for (const input of inputs) {
      input.removeAttribute('aria-invalid');
      input.removeAttribute('aria-describedby');
      $(`${input.id}-message`).textContent = '';
    }
  }

  // The message goes to the alert region, which screen readers announce, and beside the field
  // it names, which takes the focus with its text selected, ready to be typed over.
  function showFailure(message, fieldId) {
    $('failure').textContent = message;
    const input = fieldId && $(fieldId);
    if (!input) return;
    $(`${fieldId}-message`).textContent = message;
    input.setAttribute('aria-invalid', 'true');
    input.setAttribute('aria-describedby', `${fieldId}-message`);
    input.focus();
    input.select();
  }

  function showCalculated({ fields: texts, message, field }) {
    for (const output of fields) if (output.readOnly) output.value = texts[output.id];
    clearFailure();
    if (message) showFailure(message, field);
  }

  function offer(link, result, stem) {
    if (link.href) URL.revokeObjectURL(link.href);
    link.removeAttribute('href');
    link.hidden = !result.output;
    if (!result.output) return;
    link.href = URL.createObjectURL(new Blob([result.output], { type: kTypes[result.format] }));
    link.download = `${stem}-通球.${result.format}`;
  }

  const stemOf = (name) => name.replace(/\.(csv|xlsx)$/i, '');

  function showConverted(file, result) {
    offer(download, {}, '');
    offer(downloadWorkbook, {}, '');
    record = result.record || null;
    printRecord.hidden = !record;
    problems.hidden = true;
    if (result.check) {
      showChecked(result.check);
      return;
    }
    if (result.error) {
      status.textContent = `无法计算：${result.error}`;
      return;
    }
    const where = result.sheet ? `${file.name}（工作表“${result.sheet}”）` : file.name;
    const failed = result.failedRows ? `，${result.failedRows} 行无法计算，第一处：${result.firstFailure}` : '，全部算出';
    const summary = `${where}：共 ${result.rows} 行${failed}`;
    // The first failure's message ends its own sentence.
    status.textContent = `${summary}${summary.endsWith('。') ? '' : '。'}${result.noKitBall || ''}${result.notes.join('')}`;
    offer(download, result, stemOf(file.name));
    // A CSV's results as a workbook too, made while the CSV is already there to take.
    if (result.format === 'csv') startConversion(file, 'xlsx');
  }

  // A filled 通球记录, checked: the summary, then each problem.
  function showChecked({ error, summary, problems: lines, notes }) {
    if (error) {
      status.textContent = `无法核对：${error}`;  // the kit's
      return;
    }
    status.textContent = summary;
    problems.replaceChildren(...[...lines, ...notes.map((note) => `另：${note}`)].map((line) => element('li', line)));
    problems.hidden = problems.children.length === 0;
  }

  function showProgress(rows) {
    if (!pendingTable || pendingTable.format || Date.now() - pendingTable.started < kProgressAfterMs) return;
    status.textContent = `${pendingTable.file.name}：正在计算……已算 ${rows} 行`;
  }

  form.addEventListener('submit', (event) => {
    event.preventDefault();
    if (!ready()) return;
    const texts = {};
    for (const field of fields) texts[field.id] = field.value;
    worker.postMessage({ kind: 'calculate', fields: texts });
  });

  // `format` "" gives the input's own format.
  let conversions = 0;
  async function startConversion(file, format) {
    const id = ++conversions;
    const buffer = await file.arrayBuffer();
    if (id !== conversions) return;
    pendingTable = { file, format, id, started: Date.now() };
    worker.postMessage({ kind: 'table', name: file.name, format, id, buffer, kit: kit.bytes() }, [buffer]);
  }

  function convert(file) {
    if (!file) return;
    download.hidden = true;
    downloadWorkbook.hidden = true;
    if (file.size > kMaxFileBytes) {
      status.textContent = `${file.name}：文件超过 100 MB，本页不计算。请分成几个文件，或用 tongqiu-batch。`;
      return;
    }
    status.textContent = `${file.name}：正在计算……`;
    startConversion(file, '');
  }

  chooser.addEventListener('change', (event) => convert(event.target.files[0]));
  $('print').addEventListener('click', () => window.print());

  const element = (tag, text) => {
    const made = document.createElement(tag);
    if (text !== undefined) made.textContent = text;
    return made;
  };

  // The record as a table whose headings repeat on every printed page.
  function fillRecord({ title, source, above, headings, firstBall, balls, tubes, signatures }) {
    const section = $('record');
    section.replaceChildren(element('h2', title), element('p', source));
    for (const row of above) section.append(element('p', row.join('　')));
    const table = element('table');
    const head = element('tr');
    for (const heading of headings) head.append(element('th', heading));
    table.append(element('thead'), element('tbody'));
    table.tHead.append(head);
    for (const cells of tubes) {
      const row = element('tr');
      for (const text of cells) row.append(element('td', text));
      // A row that failed has its 说明 across the balls' columns; then the columns to fill in.
      if (cells.length === firstBall + 1) row.lastChild.colSpan = balls;
      for (let i = firstBall + balls; i < headings.length; ++i) row.append(element('td'));
      table.tBodies[0].append(row);
    }
    section.append(table);
    for (const line of signatures) section.append(element('p', line));
  }

  // Printed on A4 across while the record is shown; the page as it was afterwards.
  const landscape = element('style', '@page { size: A4 landscape; }');
  window.addEventListener('afterprint', () => {
    landscape.remove();
    document.body.classList.remove('printing-record');
  });
  printRecord.addEventListener('click', () => {
    if (!record) return;
    if (record.refusal) {
      status.textContent = record.refusal;
      return;
    }
    fillRecord(record);
    document.head.append(landscape);
    document.body.classList.add('printing-record');
    window.print();
  });

  const table = $('table');
  document.addEventListener('dragover', (event) => {
    event.preventDefault();
    table.classList.add('dragging');
  });
  document.addEventListener('dragleave', () => table.classList.remove('dragging'));
  document.addEventListener('drop', (event) => {
    event.preventDefault();
    table.classList.remove('dragging');
    if (ready()) convert(event.dataTransfer.files[0]);
  });
  startWorker();
})();
