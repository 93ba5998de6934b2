// SPDX-License-Identifier: MIT
// Small helpers for building the page's elements.
(function () {
  'use strict';

  // el('button', {class: 'x', onclick: f}, 'text', child...): properties starting with "on" are
  // listeners, "data-*" and "aria-*" attributes, everything else a property.
  function el(tag, props = {}, ...children) {
    const node = document.createElement(tag);
    for (const [key, value] of Object.entries(props)) {
      if (value === undefined || value === null) continue;
      if (key.startsWith('on')) node.addEventListener(key.slice(2), value);
      else if (key.startsWith('data-') || key.startsWith('aria-') || key === 'list' || key === 'for')
        node.setAttribute(key, value);
      else node[key] = value;
    }
    for (const child of children.flat()) {
      if (child === null || child === undefined || child === false) continue;
      node.append(child instanceof Node ? child : String(child));
    }
    return node;
  }

  function clear(node, ...children) {
    node.replaceChildren(...children.flat().filter((c) => c !== null && c !== undefined && c !== false));
  }

  // Offers bytes to the user as a file download.
  function download(name, contents, type) {
    const url = URL.createObjectURL(new Blob([contents], { type: type }));
    const link = el('a', { href: url, download: name });
    document.body.append(link);
    link.click();
    link.remove();
    setTimeout(() => URL.revokeObjectURL(url), 0);
  }

  window.gattdbDom = { el, clear, download };
})();
