// The bench's kit of balls (通球球库): chosen once, kept in this browser's local storage until it
// is cleared, and shown in a short table. The engine reads it; here it is only stored and shown.
'use strict';
window.tongqiuKit = (readKit) => {
  const $ = (id) => document.getElementById(id);
  const kKey = 'tongqiu-kit';
  const chooser = $('kit-file');
  const clear = $('kit-clear');
  const status = $('kit-status');
  const shown = $('kit-balls');
  let kit = null;      // { name, bytes } as the engine read them
  let pending = null;  // { name, bytes, remember } while the engine reads them

  // The bytes as text for the storage, which keeps only text.
  const toText = (bytes) => {
    let text = '';
    for (let i = 0; i < bytes.length; i += 0x8000) {
      text += String.fromCharCode.apply(null, bytes.subarray(i, i + 0x8000));
    }
    return btoa(text);
  };
  const fromText = (text) => Uint8Array.from(atob(text), (c) => c.charCodeAt(0));

  function stored() {
    try {
      const saved = JSON.parse(localStorage.getItem(kKey));
      return saved && { name: saved.name, bytes: fromText(saved.data) };
    } catch (error) {
      return null;  // no storage here, or what it held is not ours
    }
  }

  function show(name, balls) {
    clear.hidden = !name;
    shown.hidden = !name;
    if (!name) return;
    shown.caption.textContent = `${name}：${balls.length} 个球`;
    const rows = balls.map((ball) => {
      const row = document.createElement('tr');
      for (const text of ball) row.append(Object.assign(document.createElement('td'), { textContent: text }));
      return row;
    });
    shown.tBodies[0].replaceChildren(...rows);
  }

  function read(name, bytes, remember) {
    pending = { name, bytes, remember };
    status.textContent = `${name}：正在读取……`;
    readKit(name, bytes);
  }

  chooser.addEventListener('change', async (event) => {
    const file = event.target.files[0];
    chooser.value = '';
    if (file) read(file.name, new Uint8Array(await file.arrayBuffer()), true);
  });
  clear.addEventListener('click', () => {
    try {
      localStorage.removeItem(kKey);
    } catch (error) { /* nothing was kept */ }
    kit = null;
    show(null);
    status.textContent = '已清除球库：每根管子只给通球直径。';
  });

  return {
    // The engine can read (again); the kit kept from last time is read once it can.
    ready(isReady) {
      chooser.disabled = !isReady;
      const saved = isReady && !kit && !pending && stored();
      if (saved) read(saved.name, saved.bytes, false);
    },
    // What the engine read: { balls } or { error }.
    read(result) {
      if (!pending) return;
      const { name, bytes, remember } = pending;
      pending = null;
      if (result.error) {
        status.textContent = `无法使用此球库：${result.error}`;
        return;
      }
      kit = { name, bytes };
      show(name, result.balls);
      status.textContent = `按球库“${name}”为每根管子选球。`;
      if (!remember) return;
      try {
        localStorage.setItem(kKey, JSON.stringify({ name, data: toText(bytes) }));
      } catch (error) {
        status.textContent += '本浏览器无法保存球库，下次打开本页须重新选择。';
      }
    },
    bytes: () => (kit ? kit.bytes : null),
  };
};
