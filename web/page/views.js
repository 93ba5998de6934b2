// SPDX-License-Identifier: MIT
// What the page shows of a built database: the image as hex with each attribute's bytes in its own
// colour, the handle table, and the comparison with an older database. Bytes and rows of one
// attribute share data-attribute, so that hovering or clicking either lights up both.
(function () {
  'use strict';
  const { el, clear } = window.gattdbDom;

  const BYTES_PER_LINE = 16;
  const TYPE_LIGHTNESS = { service: 78, declaration: 86, value: 80, descriptor: 90 };

  // One hue per service, turned a little for each characteristic; the type sets the lightness.
  function colour(attribute) {
    const hue =
      (attribute.service * 67 +
        (attribute.characteristic === null ? 0 : 18 + attribute.characteristic * 23)) %
      360;
    return 'hsl(' + hue + ', 70%, ' + TYPE_LIGHTNESS[attribute.type] + '%)';
  }

  function hexByte(value) {
    return value.toString(16).toUpperCase().padStart(2, '0');
  }

  // Which attribute each byte of the image belongs to.
  function attributeAt(image, attributes) {
    const owners = new Uint16Array(image.length);
    attributes.forEach((a, index) => owners.fill(index, a.offset, a.offset + a.length));
    return owners;
  }

  const LINE_HEIGHT = 19; // px, as .hex-line sets it
  const SPARE_LINES = 8; // drawn above and below the visible ones, for smooth scrolling

  // The image as hex lines in a scrolling box. Only the lines in view (and a few around them) are in
  // the DOM, so that the largest image costs what a small one does; they are drawn again from the
  // current image whenever it changes or the box scrolls. afterDraw() runs after each drawing (the
  // page marks the lit attributes again).
  function createByteMap(container, afterDraw) {
    const box = el('div', { className: 'hex', 'aria-label': 'Image bytes', tabIndex: 0 });
    const spacer = el('div', { className: 'hex-spacer' });
    const lines = el('div', { className: 'hex-lines' });
    spacer.append(lines);
    box.append(spacer);
    clear(container, box);
    let image = new Uint8Array(0);
    let attributes = [];
    let owners = new Uint16Array(0);
    let drawn = null; // [first, end) of the lines in the DOM
    // The height the box may take (its max-height, 60vh): lines beyond what it shows are not drawn.
    const height = () => Math.ceil(window.innerHeight * 0.6);
    // The box's scroll position as last seen, so that drawing never waits for a layout.
    let scrolled = 0;
    // Whether the attributes lie where they lay at the last drawing, and the image it showed: then
    // only the bytes that changed are drawn.
    let layout = '';
    let sameLayout = false;
    let previous = new Uint8Array(0);

    // The lines in the DOM, kept and refilled: each holds its offset and a span per byte, and what
    // they show is kept beside them, so that a drawing changes only what differs and reads nothing
    // back from the DOM. A byte's title is written when the pointer reaches it.
    const pool = [];
    function poolLine(k) {
      if (!pool[k]) {
        const offset = el('span', { className: 'offset' });
        const spans = [];
        const node = el('div', { className: 'hex-line' }, offset);
        for (let i = 0; i < BYTES_PER_LINE; ++i) {
          const span = el('span', { className: 'byte' });
          spans.push(span);
          // Spaces between the bytes, so that copied lines are hex text the tool reads.
          node.append(' ', span);
        }
        pool[k] = { node, offset, spans, start: -1, shown: [] };
      }
      return pool[k];
    }

    // What a span shows of byte i: its text, class, attribute and colour.
    function look(i) {
      const index = owners[i];
      const a = attributes[index];
      return {
        text: hexByte(image[i]),
        className: 'byte' + (a.offset === i ? ' first' : ''),
        index: index,
        colour: colour(a),
      };
    }

    function fillLine(line, start, changedOnly) {
      if (line.start !== start) {
        line.offset.textContent = start.toString(16).toUpperCase().padStart(4, '0');
        changedOnly = false;
      }
      line.start = start;
      line.spans.forEach((span, k) => {
        const i = start + k;
        if (changedOnly && i < image.length && image[i] === previous[i]) return;
        const was = line.shown[k] || {};
        const now = i < image.length ? look(i) : null;
        line.shown[k] = now || {};
        if (!now) {
          span.hidden = true;
          return;
        }
        if (was.text === undefined) span.hidden = false;
        if (was.text !== now.text) span.textContent = now.text;
        if (was.className !== now.className) span.className = now.className;
        if (was.index !== now.index) {
          span.setAttribute('data-attribute', now.index);
          span.removeAttribute('title');
        }
        if (was.colour !== now.colour) span.style.background = now.colour;
      });
    }

    function draw(force) {
      const count = Math.ceil(image.length / BYTES_PER_LINE);
      const visible = Math.ceil(height() / LINE_HEIGHT);
      const top = Math.floor(scrolled / LINE_HEIGHT);
      const first = Math.max(0, top - SPARE_LINES);
      const end = Math.min(count, top + visible + SPARE_LINES);
      if (!force && drawn && drawn.first === first && drawn.end === end) return;
      drawn = { first, end };
      const tall = count * LINE_HEIGHT + 'px';
      if (spacer.style.height !== tall) spacer.style.height = tall;
      lines.style.transform = 'translateY(' + first * LINE_HEIGHT + 'px)';
      const shown = [];
      for (let line = first; line < end; ++line) {
        const pooled = poolLine(line - first);
        fillLine(pooled, line * BYTES_PER_LINE, sameLayout);
        shown.push(pooled.node);
      }
      const children = lines.children;
      const same = children.length === shown.length && shown.every((n, k) => children[k] === n);
      if (!same) clear(lines, shown);
      afterDraw();
    }
    box.addEventListener('scroll', () => {
      scrolled = box.scrollTop;
      draw(false);
    });
    window.addEventListener('resize', () => draw(false));

    return {
      show(newImage, newAttributes) {
        const newLayout = newAttributes
          .map((a) => [a.offset, a.length, a.handle, a.type, a.label, a.service, a.characteristic].join(' '))
          .join('\n');
        sameLayout = newLayout === layout && newImage.length === image.length;
        layout = newLayout;
        previous = image;
        image = newImage;
        attributes = newAttributes;
        owners = attributeAt(image, attributes);
        draw(true);
        sameLayout = false;
      },
      // Scrolls the attribute's first byte into view, when it is not in view already.
      reveal(index) {
        const a = attributes[index];
        if (!a) return;
        const y = Math.floor(a.offset / BYTES_PER_LINE) * LINE_HEIGHT;
        if (y < scrolled || y + LINE_HEIGHT > scrolled + height()) {
          scrolled = Math.max(0, y - LINE_HEIGHT);
          box.scrollTop = scrolled;
          draw(false);
        }
      },
    };
  }

  function plural(count, noun) {
    return count + ' ' + noun + (count === 1 ? '' : 's');
  }

  // What `gattdb check` finds: a count, and the findings about the database as a whole; the others
  // stand in the handle table beside their attributes.
  function findingSummary(findings) {
    const count = (severity) => findings.filter((f) => f.severity === severity).length;
    const errors = count('error');
    const warnings = count('warning');
    return el(
      'div',
      { className: 'findings' },
      el(
        'p',
        { className: errors ? 'error' : warnings ? 'warning' : 'clean' },
        findings.length
          ? `Checks: ${plural(errors, 'error')}, ${plural(warnings, 'warning')}`
          : 'Checks: nothing found',
      ),
      findings.filter((f) => f.handle === null).map((f) => findingNote(f)),
    );
  }

  function findingNote(f) {
    return el(
      'div',
      { className: 'finding ' + f.severity, title: f.line },
      fixButton(f),
      f.message + ' [' + f.rule + ']',
    );
  }

  // The button that applies a finding's fix, for the findings that have one; the page listens for
  // clicks on [data-fix], which holds the finding's index.
  function fixButton(f) {
    if (!f || !f.fixable) return null;
    return el(
      'button',
      { type: 'button', className: 'fix', 'data-fix': f.index, title: 'Apply the fix of gattdb check --fix' },
      'Fix',
    );
  }

  // The findings by the handle they are about.
  function findingsByHandle(findings) {
    const byHandle = new Map();
    for (const f of findings) {
      if (!byHandle.has(f.handle)) byHandle.set(f.handle, []);
      byHandle.get(f.handle).push(f);
    }
    return byHandle;
  }

  const HANDLE_HEADINGS = ['Handle', 'Attribute', 'UUID and constant', 'Bytes'];

  function handleRow(a, index, moved, findings, interactive) {
    return el(
      'tr',
      {
        className: moved ? 'moved' : null,
        'data-type': a.type,
        tabIndex: interactive ? 0 : -1,
        'data-attribute': interactive ? index : null,
        'data-handle': a.handle,
      },
      el(
        'td',
        { className: 'num' },
        el('span', { className: 'swatch', style: 'background:' + colour(a) }),
        a.handle,
        moved ? el('span', { className: 'moved-mark', title: 'handle moved' }, ' ⇄') : null,
      ),
      el('td', {}, a.type),
      el('td', {}, a.label, el('div', { className: 'constant' }, a.constant), findings.map(findingNote)),
      el('td', { className: 'num' }, a.offset + '+' + a.length),
    );
  }

  function handleTableOf(body) {
    const headings = el(
      'tr',
      {},
      HANDLE_HEADINGS.map((h) => el('th', { scope: 'col' }, h)),
    );
    return el('table', { className: 'handles' }, el('thead', {}, headings), body);
  }

  // The handle table, with each handle's constant in the header and the findings about it.
  function handleTable(attributes, options = {}) {
    const moved = options.moved || new Set();
    const findings = findingsByHandle(options.findings || []);
    const rows = attributes.map((a, index) =>
      handleRow(a, index, moved.has(a.handle), findings.get(a.handle) || [], options.interactive),
    );
    return handleTableOf(el('tbody', {}, rows));
  }

  // The page's own handle table, which every build updates: only the rows whose contents changed
  // are drawn again, so that an edit costs its rows, not the table.
  function createHandleTable() {
    const body = el('tbody');
    const node = handleTableOf(body);
    let shown = []; // the key of each row in the table
    return {
      node,
      update(attributes, moved, allFindings) {
        const findings = findingsByHandle(allFindings);
        const keys = attributes.map((a, index) => {
          const about = findings.get(a.handle) || [];
          return [
            a.handle,
            a.type,
            a.label,
            a.constant,
            a.offset,
            a.length,
            colour(a),
            moved.has(a.handle),
            index,
          ]
            .concat(about.map((f) => f.line))
            .join('\n');
        });
        const rows = body.children;
        for (let i = 0; i < attributes.length; ++i) {
          if (shown[i] === keys[i]) continue;
          const a = attributes[i];
          const row = handleRow(a, i, moved.has(a.handle), findings.get(a.handle) || [], true);
          if (i < rows.length) body.replaceChild(row, rows[i]);
          else body.append(row);
        }
        while (rows.length > attributes.length) body.lastChild.remove();
        shown = keys;
      },
    };
  }

  // The old and new handles of every attribute that the differences say moved.
  function movedAttributes(differences) {
    const before = new Set();
    const after = new Set();
    for (const d of differences) {
      for (const m of d.moves) {
        before.add(m.oldHandle);
        after.add(m.newHandle);
      }
    }
    return { before, after };
  }

  function comparison(name, differences, oldAttributes) {
    const moved = movedAttributes(differences);
    return el(
      'div',
      { className: 'comparison' },
      el('h3', {}, 'Compared with ' + name),
      differences.length
        ? el(
            'pre',
            { className: 'diff' },
            differences.map((d) => el('div', { className: d.kind }, d.line)),
          )
        : el('p', {}, 'The databases are the same.'),
      el(
        'details',
        { open: moved.before.size > 0 },
        el('summary', {}, 'Handles of ' + name),
        handleTable(oldAttributes, { moved: moved.before }),
      ),
    );
  }

  // Hovering or focusing a byte or a row lights up the attribute; clicking selects it. Returns
  // mark(className, indices), with which the editor lights up the attributes of its rows.
  // mark.again() lights up the marked attributes' nodes once more, after they were drawn anew.
  function link(root, onSelect) {
    const marked = { hot: [], selected: [] };
    const mark = (className, indices) => {
      marked[className] = indices;
      root.querySelectorAll('.' + className).forEach((n) => n.classList.remove(className));
      for (const index of indices) {
        root.querySelectorAll('[data-attribute="' + index + '"]').forEach((n) => n.classList.add(className));
      }
    };
    mark.again = () => Object.entries(marked).forEach(([className, indices]) => mark(className, indices));
    const indicesOf = (event) => {
      const node = event.target.closest('[data-attribute]');
      return node ? [node.getAttribute('data-attribute')] : [];
    };
    root.addEventListener('mouseover', (event) => mark('hot', indicesOf(event)));
    root.addEventListener('mouseleave', () => mark('hot', []));
    root.addEventListener('focusin', (event) => mark('hot', indicesOf(event)));
    const select = (event) => {
      const indices = indicesOf(event);
      if (!indices.length) return;
      mark('selected', indices);
      onSelect(Number(indices[0]));
    };
    root.addEventListener('click', select);
    root.addEventListener('keydown', (event) => {
      if (event.key === 'Enter' || event.key === ' ') select(event);
    });
    return mark;
  }

  window.gattdbViews = {
    fixButton,
    createByteMap,
    createHandleTable,
    findingSummary,
    handleTable,
    comparison,
    movedAttributes,
    link,
    clear,
  };
})();
