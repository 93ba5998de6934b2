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

  function attributeAt(attributes) {
    const owners = [];
    attributes.forEach((a, index) => {
      for (let i = 0; i < a.length; ++i) owners[a.offset + i] = index;
    });
    return owners;
  }

  function byteMap(image, attributes) {
    const owners = attributeAt(attributes);
    const lines = [];
    for (let start = 0; start < image.length; start += BYTES_PER_LINE) {
      const bytes = Array.from(image.subarray(start, start + BYTES_PER_LINE), (value, i) => {
        const index = owners[start + i];
        const a = attributes[index];
        return el('span', {
          className: 'byte' + (a.offset === start + i ? ' first' : ''),
          textContent: hexByte(value),
          title: 'handle ' + a.handle + ' ' + a.type + ' ' + a.label + ' (byte ' + (start + i) + ')',
          'data-attribute': index,
          style: 'background:' + colour(a),
        });
      });
      // Spaces between the bytes, so that copied lines are hex text the tool reads.
      const spaced = bytes.flatMap((b) => [' ', b]);
      lines.push(
        el(
          'div',
          { className: 'hex-line' },
          el('span', { className: 'offset' }, start.toString(16).toUpperCase().padStart(4, '0')),
          spaced,
        ),
      );
    }
    return el('div', { className: 'hex', 'aria-label': 'Image bytes' }, lines);
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
    if (!f.fixable) return null;
    return el(
      'button',
      { type: 'button', className: 'fix', 'data-fix': f.index, title: 'Apply the fix of gattdb check --fix' },
      'Fix',
    );
  }

  // The handle table, with each handle's constant in the header and the findings about it.
  function handleTable(attributes, options = {}) {
    const moved = options.moved || new Set();
    const findings = options.findings || [];
    return el(
      'table',
      { className: 'handles' },
      el(
        'thead',
        {},
        el(
          'tr',
          {},
          ['Handle', 'Attribute', 'UUID and constant', 'Bytes'].map((h) => el('th', { scope: 'col' }, h)),
        ),
      ),
      el(
        'tbody',
        {},
        attributes.map((a, index) =>
          el(
            'tr',
            {
              className: moved.has(a.handle) ? 'moved' : null,
              'data-type': a.type,
              tabIndex: options.interactive ? 0 : -1,
              'data-attribute': options.interactive ? index : null,
              'data-handle': a.handle,
            },
            el(
              'td',
              { className: 'num' },
              el('span', { className: 'swatch', style: 'background:' + colour(a) }),
              a.handle,
              moved.has(a.handle)
                ? el('span', { className: 'moved-mark', title: 'handle moved' }, ' ⇄')
                : null,
            ),
            el('td', {}, a.type),
            el(
              'td',
              {},
              a.label,
              el('div', { className: 'constant' }, a.constant),
              findings.filter((f) => f.handle === a.handle).map(findingNote),
            ),
            el('td', { className: 'num' }, a.offset + '+' + a.length),
          ),
        ),
      ),
    );
  }

  // The old and new handles that diff's "moved:" lines name: "declaration 2 -> 3, value 3 -> 4".
  function movedHandles(lines) {
    const before = new Set();
    const after = new Set();
    for (const line of lines.filter((l) => l.startsWith('moved: '))) {
      for (const match of line.matchAll(/(\d+) -> (\d+)/g)) {
        before.add(Number(match[1]));
        after.add(Number(match[2]));
      }
    }
    return { before, after };
  }

  function comparison(name, lines, oldAttributes) {
    const moved = movedHandles(lines);
    return el(
      'div',
      { className: 'comparison' },
      el('h3', {}, 'Compared with ' + name),
      lines.length
        ? el(
            'pre',
            { className: 'diff' },
            lines.map((l) => el('div', { className: l.split(':')[0] }, l)),
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
  function link(root, onSelect) {
    const mark = (className, indices) => {
      root.querySelectorAll('.' + className).forEach((n) => n.classList.remove(className));
      for (const index of indices) {
        root.querySelectorAll('[data-attribute="' + index + '"]').forEach((n) => n.classList.add(className));
      }
    };
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
    byteMap,
    findingSummary,
    handleTable,
    comparison,
    movedHandles,
    link,
    clear,
  };
})();
