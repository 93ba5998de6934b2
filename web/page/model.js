// SPDX-License-Identifier: MIT
// The editor's database: services and characteristics as the page edits them, read from and written
// to description JSON (docs/tool.md), which the engine builds. The engine checks everything; this only
// holds the fields.
(function () {
  'use strict';

  function characteristic(fields = {}) {
    return {
      uuid: fields.uuid || '',
      name: fields.name || '',
      properties: fields.properties || [],
      valueMode: fields.text !== undefined ? 'text' : 'hex',
      value: fields.text !== undefined ? fields.text : fields.value || '',
      cccd: fields.cccd === undefined ? null : fields.cccd, // null: as the engine decides from the properties
    };
  }

  function service(fields = {}) {
    return {
      uuid: fields.uuid || '',
      name: fields.name || '',
      characteristics: (fields.characteristics || []).map(characteristic),
    };
  }

  // A description's properties as names: an integer becomes the names of its bits.
  function propertyNames(properties, vocabulary) {
    if (!Number.isInteger(properties)) return properties || [];
    return vocabulary.properties.filter((p) => properties & p.bit).map((p) => p.name);
  }

  function fromDescription(text, vocabulary) {
    const description = JSON.parse(text);
    return {
      services: description.services.map((s) =>
        service({
          ...s,
          characteristics: (s.characteristics || []).map((c) => ({
            ...c,
            properties: propertyNames(c.properties, vocabulary),
          })),
        }),
      ),
    };
  }

  // The editor's fields as a description for the engine to read: every field set, none derived (the
  // engine's writer gives the description that is saved).
  function toDescription(db) {
    const services = db.services.map((s) => {
      const out = { uuid: s.uuid };
      if (s.name) out.name = s.name;
      out.characteristics = s.characteristics.map((c) => {
        const item = { uuid: c.uuid, properties: c.properties };
        if (c.name) item.name = c.name;
        if (c.value) item[c.valueMode === 'text' ? 'text' : 'value'] = c.value;
        if (c.cccd !== null) item.cccd = c.cccd;
        return item;
      });
      return out;
    });
    return JSON.stringify({ services: services });
  }

  function clone(db) {
    return JSON.parse(JSON.stringify(db));
  }

  // Moves list[index] by step (-1 up, +1 down); false when it would leave the list.
  function move(list, index, step) {
    const to = index + step;
    if (to < 0 || to >= list.length) return false;
    list.splice(to, 0, list.splice(index, 1)[0]);
    return true;
  }

  window.gattdbModel = {
    characteristic,
    service,
    fromDescription,
    toDescription,
    clone,
    move,
  };
})();
