// SPDX-License-Identifier: MIT
// "Add service": a searchable list of the SIG services the engine has templates for (by name, short
// name or UUID). Choosing one offers its optional characteristics; Add hands the choice to the page,
// which inserts the engine's template.
(function () {
  'use strict';
  const { el, clear } = window.gattdbDom;

  function matches(service, query) {
    if (!query) return true;
    return [service.uuid, service.name, service.id].some((field) => field.toLowerCase().includes(query));
  }

  // services: [{uuid, name, id, optional: [{uuid, name}]}]; onAdd(service, [optional UUIDs chosen]).
  function servicePicker(services, onAdd) {
    const search = el('input', {
      type: 'search',
      id: 'service-search',
      placeholder: 'Heart Rate, heart_rate or 180D',
      'aria-label': 'Search the SIG services',
      autocomplete: 'off',
    });
    const list = el('ul', { className: 'picker-list', id: 'service-list' });
    const details = el('div', { className: 'picker-details' });
    const dialog = el(
      'dialog',
      { id: 'service-picker', 'aria-labelledby': 'service-picker-title' },
      el('h2', { id: 'service-picker-title' }, 'Add service'),
      search,
      list,
      details,
      el(
        'div',
        { className: 'picker-actions' },
        el('button', { type: 'button', onclick: () => dialog.close() }, 'Close'),
      ),
    );

    function choose(service) {
      list.querySelectorAll('[aria-pressed]').forEach((b) => b.setAttribute('aria-pressed', 'false'));
      list.querySelector('[data-service="' + service.uuid + '"]').setAttribute('aria-pressed', 'true');
      const boxes = service.optional.map((c) =>
        el(
          'label',
          {},
          el('input', { type: 'checkbox', value: c.uuid, 'data-optional': c.uuid }),
          ' ',
          c.uuid,
          ' ',
          c.name,
        ),
      );
      const chosen = () =>
        boxes
          .map((b) => b.firstChild)
          .filter((box) => box.checked)
          .map((box) => box.value);
      clear(
        details,
        boxes.length
          ? el('fieldset', {}, el('legend', {}, 'Optional characteristics of ' + service.name), boxes)
          : el('p', {}, service.name + ' has no optional characteristics.'),
        el(
          'button',
          {
            type: 'button',
            id: 'add-service-confirm',
            onclick: () => {
              dialog.close();
              onAdd(service, chosen());
            },
          },
          'Add ' + service.name,
        ),
      );
    }

    function show() {
      const query = search.value.trim().toLowerCase();
      const shown = services.filter((s) => matches(s, query));
      clear(
        list,
        shown.length
          ? shown.map((s) =>
              el(
                'li',
                {},
                el(
                  'button',
                  {
                    type: 'button',
                    'data-service': s.uuid,
                    'aria-pressed': 'false',
                    onclick: () => choose(s),
                  },
                  el('code', {}, s.uuid),
                  ' ',
                  s.name,
                ),
              ),
            )
          : el('li', { className: 'none' }, 'No service matches.'),
      );
      if (shown.length === 1) choose(shown[0]);
    }

    search.addEventListener('input', show);
    // Enter takes the first service shown.
    search.addEventListener('keydown', (event) => {
      if (event.key !== 'Enter') return;
      const first = list.querySelector('[data-service]');
      if (first) first.click();
    });
    show();
    return {
      element: dialog,
      open() {
        search.value = '';
        clear(details);
        show();
        dialog.showModal();
        search.focus();
      },
    };
  }

  window.gattdbPicker = { servicePicker };
})();
