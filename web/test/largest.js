// SPDX-License-Identifier: MIT
// The largest database the image can hold, as bench/databases.cpp builds it for the library's
// benchmarks: 5 services of 25 characteristics, 128-bit UUIDs, 255-byte values; 35,090 bytes.
const SERVICES = 5;
const CHARACTERISTICS = 25;
const IMAGE_SIZE = 35090;

function largestDescription() {
  let next = 0;
  const uuid = () =>
    (0xa000 + next++).toString(16).toUpperCase().padStart(8, '0') + '00001000800000805F9B34FB';
  const value = Array.from({ length: 255 }, (_, i) =>
    ((i * 7 + 1) & 0xff).toString(16).padStart(2, '0'),
  ).join('');
  const services = [];
  for (let s = 0; s < SERVICES; ++s) {
    const service = { uuid: uuid(), characteristics: [] };
    for (let c = 0; c < CHARACTERISTICS; ++c)
      service.characteristics.push({ uuid: uuid(), properties: ['read'], value });
    services.push(service);
  }
  return JSON.stringify({ services }, null, 1);
}

module.exports = { largestDescription, IMAGE_SIZE };
