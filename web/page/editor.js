// SPDX-License-Identifier: MIT
// The editor: services and characteristics as an editable table. Each control carries the JSON path
// (data-place) of the field it edits, so that errors and findings, which the engine reports by that
// path, are shown where the edit happened. Typing edits the model in place and rebuilds; adding,
// removing and moving redraw the editor.
(function () {
  'use strict';
  const { el, clear } = window.gattdbDom;
  const model = window.gattdbModel;

  function servicePlace(i) {
    return 'services[' + i + ']';
  }

  function characteristicPlace(i, j) {
    return servicePlace(i) + '.characteristics[' + j + ']';
  }

  const SUGGESTIONS = 50; // at most, of the UUID table's hundreds of entries

  // The UUID suggestions: one list per role, value the UUID and label its name, holding the entries
  // that match what the field holds (its UUID's digits or a word of the name), filled as it is
  // typed in.
  function suggestionLists(vocabulary) {
    const lists = {};
    for (const role of ['service', 'characteristic']) {
      let entries = null; // when first asked for
      const list = el('datalist', { id: 'uuids-' + role });
      let shownFor = null;
      lists[role] = {
        node: list,
        suggest(text) {
          const wanted = text.trim().toLowerCase();
          if (wanted === shownFor) return;
          shownFor = wanted;
          entries = entries || vocabulary.uuids.filter((u) => u.role === role);
          const matching = entries.filter(
            (u) => u.uuid.toLowerCase().includes(wanted) || u.name.toLowerCase().includes(wanted),
          );
          clear(
            list,
            matching
              .slice(0, SUGGESTIONS)
              .map((u) => el('option', { value: u.uuid, label: u.name + (u.sig ? '' : ' (vendor)') })),
          );
        },
      };
    }
    return lists;
  }

  // Shorter labels for the longer property names; the title gives the full one.
  const PROPERTY_LABELS = {
    'write-without-response': 'write no resp.',
    'authenticated-signed-writes': 'signed writes',
    'extended-properties': 'ext. props',
  };

  function textField(place, label, value, onInput, extra = {}) {
    return el('input', {
      type: 'text',
      value: value,
      spellcheck: false,
      autocomplete: 'off',
      'aria-label': label,
      'data-place': place,
      oninput: (event) => onInput(event.target.value),
      ...extra,
    });
  }

  function moveButtons(label, index, count, edit) {
    return [
      el('button', {
        type: 'button',
        textContent: '↑',
        title: 'Move ' + label + ' up',
        'aria-label': 'Move ' + label + ' up',
        disabled: index === 0,
        onclick: () => edit(-1),
      }),
      el('button', {
        type: 'button',
        textContent: '↓',
        title: 'Move ' + label + ' down',
        'aria-label': 'Move ' + label + ' down',
        disabled: index === count - 1,
        onclick: () => edit(1),
      }),
    ];
  }

  function removeButton(label, edit) {
    return el('button', {
      type: 'button',
      className: 'remove',
      textContent: '✕',
      title: 'Remove ' + label,
      'aria-label': 'Remove ' + label,
      onclick: edit,
    });
  }

  function create(container, vocabulary, hooks) {
    // hooks.changed(place): a field of the item at place changed in place, rebuild. hooks.restructure(mutate): an edit that adds,
    // removes or moves items; the page applies it to the database, redraws and rebuilds.
    const lists = suggestionLists(vocabulary);

    // A service's or characteristic's UUID (suggesting the UUID table's entries of its role) and name.
    function uuidField(item, place, role, placeholder) {
      const label = role[0].toUpperCase() + role.slice(1) + ' UUID';
      return textField(
        place + '.uuid',
        label,
        item.uuid,
        (v) => {
          item.uuid = v.trim();
          lists[role].suggest(v);
          hooks.changed(place);
        },
        {
          list: 'uuids-' + role,
          placeholder: placeholder,
          className: 'uuid',
          onfocus: (event) => lists[role].suggest(event.target.value),
        },
      );
    }

    function nameField(item, place, label, placeholder) {
      return textField(
        place + '.name',
        label,
        item.name,
        (v) => {
          item.name = v;
          hooks.changed(place);
        },
        { placeholder: placeholder, className: 'name' },
      );
    }

    // The property checkboxes and the value's form, built once and cloned for each row: a large
    // database has hundreds of rows, and a clone costs a fraction of building the same nodes.
    const propertyTemplate = el(
      'div',
      { className: 'properties', role: 'group', 'aria-label': 'Properties' },
      vocabulary.properties.map((p) =>
        el(
          'label',
          { className: 'property', title: p.name + ' (0x' + p.bit.toString(16).padStart(2, '0') + ')' },
          el('input', { type: 'checkbox', 'data-property': p.name }),
          PROPERTY_LABELS[p.name] || p.name,
        ),
      ),
    );
    const modeTemplate = el(
      'select',
      { 'aria-label': 'Value as' },
      el('option', { value: 'hex', textContent: 'hex' }),
      el('option', { value: 'text', textContent: 'text' }),
      el('option', { value: 'typed', textContent: 'typed' }),
    );

    function propertyBoxes(c, place) {
      const group = propertyTemplate.cloneNode(true);
      group.setAttribute('data-place', place + '.properties');
      const boxes = [...group.querySelectorAll('input')];
      for (const box of boxes) box.checked = c.properties.includes(box.getAttribute('data-property'));
      group.addEventListener('change', () => {
        c.properties = boxes.filter((box) => box.checked).map((box) => box.getAttribute('data-property'));
        hooks.changed(place);
      });
      return group;
    }

    function valueField(c, place) {
      const mode = modeTemplate.cloneNode(true);
      mode.setAttribute('data-place', place + '.mode');
      mode.value = c.valueMode;
      mode.addEventListener('change', (event) => {
        const was = c.valueMode;
        c.valueMode = event.target.value;
        // The typed form reads hex digits and quoted text as they are.
        if (c.valueMode === 'typed') {
          c.typed = was === 'text' && c.value ? JSON.stringify(c.value) : c.value;
          input.value = c.typed;
        } else if (was === 'typed') {
          input.value = c.value;
        }
        hooks.changed(place);
      });
      const input = textField(
        place + '.value',
        'Value',
        c.valueMode === 'typed' ? c.typed : c.value,
        (v) => {
          if (c.valueMode !== 'typed') {
            c.value = v;
            hooks.changed(place);
            return;
          }
          // The bytes are the engine's reading of the field; until it reads, the last ones stay.
          c.typed = v;
          try {
            c.value = window.gattdb.valueBytes(v);
            input.removeAttribute('aria-invalid');
            input.title = '';
          } catch (error) {
            input.setAttribute('aria-invalid', 'true');
            input.title = error.line || error.message;
            return;
          }
          hooks.changed(place);
        },
        { placeholder: 'u8 0, u16 72 or hex' },
      );
      return el('div', { className: 'value' }, mode, input);
    }

    function characteristicRow(s, i, c, j) {
      const place = characteristicPlace(i, j);
      const label = 'characteristic ' + (j + 1) + ' of service ' + (i + 1);
      return el(
        'tr',
        { 'data-row': place },
        el('td', { className: 'handle', 'data-handles': place }),
        el(
          'td',
          {},
          uuidField(c, place, 'characteristic', 'UUID or name'),
          el('div', { className: 'uuid-name', 'data-uuid-name': place }),
        ),
        el('td', {}, nameField(c, place, 'Characteristic name', 'derived')),
        el('td', {}, propertyBoxes(c, place)),
        el('td', {}, valueField(c, place)),
        el(
          'td',
          { className: 'cccd' },
          el('input', {
            type: 'checkbox',
            checked: c.cccd === true, // the page ticks it from each build's attributes
            'aria-label': 'Client characteristic configuration descriptor',
            title: 'Client characteristic configuration descriptor (2902)',
            'data-place': place + '.cccd',
            onchange: (event) => {
              c.cccd = event.target.checked;
              hooks.changed(place);
            },
          }),
        ),
        el(
          'td',
          { className: 'actions' },
          moveButtons(label, j, s.characteristics.length, (step) =>
            hooks.restructure((db) => model.move(db.services[i].characteristics, j, step)),
          ),
          removeButton(label, () => hooks.restructure((db) => db.services[i].characteristics.splice(j, 1))),
        ),
      );
    }

    // A service's characteristic rows, put into its card's table.
    function drawRows(card, s, i) {
      const body = card.querySelector('tbody');
      if (!body) return;
      body.replaceChildren(
        ...s.characteristics.flatMap((c, j) => [
          characteristicRow(s, i, c, j),
          el(
            'tr',
            { className: 'message-row' },
            el('td', { colSpan: 7, 'data-messages': characteristicPlace(i, j) }),
          ),
        ]),
      );
    }

    function serviceCard(db, s, i) {
      const place = servicePlace(i);
      const label = 'service ' + (i + 1);
      return el(
        'section',
        { className: 'service', 'data-row': place, 'aria-label': 'Service ' + (i + 1) },
        el(
          'div',
          { className: 'service-head' },
          el('span', { className: 'handle', 'data-handles': place }),
          uuidField(s, place, 'service', 'Service UUID or name'),
          el('span', { className: 'uuid-name', 'data-uuid-name': place }),
          nameField(s, place, 'Service name', 'name (derived)'),
          el(
            'span',
            { className: 'actions' },
            moveButtons(label, i, db.services.length, (step) =>
              hooks.restructure((d) => model.move(d.services, i, step)),
            ),
            removeButton(label, () => hooks.restructure((d) => d.services.splice(i, 1))),
          ),
        ),
        el('div', { className: 'messages', 'data-messages': place }),
        s.characteristics.length
          ? el(
              'table',
              { className: 'characteristics' },
              el(
                'thead',
                {},
                el(
                  'tr',
                  {},
                  ['Handles', 'UUID', 'Name', 'Properties', 'Value', 'CCCD', ''].map((h) =>
                    el('th', { scope: 'col' }, h),
                  ),
                ),
              ),
              el('tbody', {}),
            )
          : null,
        el('button', {
          type: 'button',
          className: 'add',
          textContent: '+ Characteristic',
          'data-place': place + '.characteristics',
          onclick: () =>
            hooks.restructure((d) =>
              d.services[i].characteristics.push(model.characteristic({ properties: ['read'] })),
            ),
        }),
      );
    }

    // The rows of the services a screen or so down are drawn at once; those of the services after
    // them follow, one service per task, so that opening a large database shows its first rows
    // without first building hundreds it does not show. Until its rows are drawn, a card keeps about
    // the height they will take, and the editor says whether all are drawn in data-drawn.
    const ROW_HEIGHT = 130; // px, about what a characteristic's row and its message row take
    // Safari has no requestIdleCallback: a task after the next frame is the nearest it has.
    const whenIdle = window.requestIdleCallback
      ? (work) => window.requestIdleCallback(work, { timeout: 100 })
      : (work) => requestAnimationFrame(() => setTimeout(work, 0));
    let pending = new Map(); // service index -> [card, service], of the cards still without rows
    let generation = 0;

    // Draws the rows of service i, yet to be drawn, and has the page mark and label them.
    function drawPending(i) {
      const [card, s] = pending.get(i);
      pending.delete(i);
      card.style.minHeight = '';
      drawRows(card, s, i);
      drawnAll();
      hooks.drawn();
    }

    function pendingService(place) {
      const service = /^services\[(\d+)\]\.characteristics\[/.exec(place);
      return service === null ? -1 : Number(service[1]);
    }

    function drawnAll() {
      container.setAttribute('data-drawn', String(pending.size === 0));
    }

    return {
      render(db) {
        const focused =
          document.activeElement && container.contains(document.activeElement)
            ? document.activeElement.getAttribute('data-place') ||
              document.activeElement.getAttribute('aria-label')
            : null;
        const cards = db.services.map((s, i) => serviceCard(db, s, i));
        clear(
          container,
          Object.values(lists).map((l) => l.node),
          cards,
          el('div', { className: 'messages', 'data-messages': 'services' }),
          el('button', {
            type: 'button',
            className: 'add add-service',
            textContent: '+ Service',
            'data-place': 'services.add',
            onclick: () => hooks.restructure((d) => d.services.push(model.service())),
          }),
        );
        generation += 1;
        pending = new Map();
        let rowsLeft = Math.ceil((window.scrollY + 2 * window.innerHeight) / ROW_HEIGHT);
        db.services.forEach((s, i) => {
          if (rowsLeft > 0) {
            drawRows(cards[i], s, i);
            rowsLeft -= s.characteristics.length + 1;
          } else {
            cards[i].style.minHeight = s.characteristics.length * ROW_HEIGHT + 'px';
            pending.set(i, [cards[i], s]);
          }
        });
        drawnAll();
        const refocus = () => {
          if (!focused) return true;
          const again =
            container.querySelector('[data-place="' + focused + '"]') ||
            container.querySelector('[aria-label="' + focused + '"]');
          if (again) again.focus();
          return again !== null;
        };
        let focusedAgain = refocus();
        const drawNext = (mine) => {
          if (mine !== generation || pending.size === 0) return;
          drawPending(pending.keys().next().value);
          if (!focusedAgain) focusedAgain = refocus();
          later(mine);
        };
        // When the browser is idle: after the frame that shows the first rows, and between frames.
        const later = (mine) => whenIdle(() => drawNext(mine));
        if (pending.size) later(generation);
      },

      // Whether the row at place (services[i] or services[i].characteristics[j]) is yet to be drawn.
      isPending(place) {
        return pending.has(pendingService(place));
      },

      // Draws the row at place now, if it is yet to be drawn: the page is about to show it.
      draw(place) {
        const i = pendingService(place);
        if (pending.has(i)) drawPending(i);
      },
    };
  }

  window.gattdbEditor = { create, servicePlace, characteristicPlace };
})();
