// SPDX-License-Identifier: MIT
// Writing a database from the standard: "Add service" inserts a SIG service's template as `gattdb
// new` writes it, and a finding's Fix button applies the fix `gattdb check --fix` applies. Both are
// the engine's; the page only replaces its description with the one the engine gives back.
(function () {
  'use strict';
  const { el } = window.gattdbDom;

  window.gattdb.ready.then(() => {
    const app = window.gattdbApp;
    const picker = window.gattdbPicker.servicePicker(
      window.gattdb.templateServices(),
      (service, optional) => {
        try {
          const added = window.gattdb.addService(app.description(), service.uuid, optional);
          const warned = added.warnings.length ? ' (' + added.warnings.join('; ') + ')' : '';
          app.replace(added.description, 'Added ' + service.name + warned);
        } catch (error) {
          app.status(error.line || error.message, 'error');
        }
      },
    );
    document.body.append(picker.element);
    document
      .getElementById('editor-title')
      .after(
        el('button', { type: 'button', id: 'add-service', onclick: () => picker.open() }, 'Add service…'),
      );

    document.addEventListener('click', (event) => {
      const button = event.target.closest('[data-fix]');
      if (!button) return;
      event.stopPropagation();
      try {
        const fixed = window.gattdb.fix(app.description(), Number(button.getAttribute('data-fix')));
        app.replace(fixed, 'Fixed: ' + button.parentNode.textContent.replace(/^Fix/, '').trim());
      } catch (error) {
        app.status(error.line || error.message, 'error');
      }
    });
  });
})();
