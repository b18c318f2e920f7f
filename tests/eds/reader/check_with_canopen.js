// Loads every data sheet that brenvale-cli writes for the EDS fixtures, in both templates, with
// the Eds class of the npm package "canopen", and checks the objects a CANopen master relies on:
// PDO communication and mapping parameters, the mapped data objects, the server SDO objects and
// their access types.
//
// usage: node check_with_canopen.js BRENVALE_CLI FIXTURES_DIR NODE_MODULES_DIR
'use strict';

const { execFileSync } = require('child_process');
const fs = require('fs');
const os = require('os');
const path = require('path');

const [cli, fixtures, modules] = process.argv.slice(2);
if (!cli || !fixtures || !modules) {
  console.error('usage: node check_with_canopen.js BRENVALE_CLI FIXTURES_DIR NODE_MODULES_DIR');
  process.exit(2);
}
// The package's data sheet module alone: its index also loads a native CRC add-on, which the
// test install does not build and the data sheet does not need.
const { Eds } = require(path.join(modules, 'canopen', 'source', 'eds'));

// What each fixture configuration holds: PDOs as [COB-ID, length] after the reader's rules,
// server SDO objects as index -> sub-index -> [access type, data type].
const U8 = 0x5, U16 = 0x6, U32 = 0x7;
const cases = {
  empty: { rx: [], tx: [], sdo: {} },
  several: {
    rx: [[0x201, 8], [0x202, 2]],
    tx: [[0x181, 8], [0x182, 4], [0x183, 2]],
    sdo: {
      0x2000: { 1: ['rw', U16], 3: ['ro', U8], 12: ['rw', U32] },
      0x2001: { 0: ['ro', U32], 2: ['ro', U16] },
      0x3000: { 10: ['rw', U32] },
    },
  },
  both_tables: {
    rx: [], tx: [],
    sdo: { 0x2000: { 1: ['rw', U8] }, 0x2100: { 0: ['ro', U16] }, 0x2200: { 5: ['rw', U32] } },
  },
  many_pdos: {
    rx: [[0x201, 1], [0x202, 2], [0x203, 3], [0x204, 4], [0x205, 5], [0x206, 0]],
    tx: [[0x181, 8], [0x182, 8], [0x183, 2], [0x184, 8], [0x201, 7], [0x186, 6], [0x187, 5], [0x188, 4],
      [0x189, 3], [0x18A, 1]],
    sdo: {},
  },
};

// Where each template maps the PDO bytes, and how many PDOs of a direction it describes.
const templates = {
  'with-port': { slots: 10, rxData: 0x6000, txData: 0x6050, txCobIdFlags: 0x40000000 },
  'without-port': { slots: 4, rxData: 0x2020, txData: 0x202A, txCobIdFlags: 0 },
};

const failures = [];
let checks = 0;
function check(condition, what) {
  checks += 1;
  if (!condition) failures.push(what);
}
const hex = (v) => '0x' + v.toString(16).toUpperCase();

function checkPdos(eds, name, pdos, commBase, mapBase, dataBase, cobIdFlags, dataAccess, t) {
  const written = Math.min(pdos.length, t.slots);
  for (let i = 0; i < written; ++i) {
    const [cobId, length] = pdos[i];
    const comm = eds.getEntry(commBase + i);
    check(comm, `${name}: ${hex(commBase + i)} missing`);
    if (comm) {
      check(comm[1] && comm[1].value === (cobId | cobIdFlags) >>> 0,
        `${name}: ${hex(commBase + i)}sub1 COB-ID ${comm[1] && comm[1].value} != ${hex(cobId | cobIdFlags)}`);
      check(comm[2] && comm[2].value === 0xFE, `${name}: ${hex(commBase + i)}sub2 transmission type`);
    }
    const map = eds.getEntry(mapBase + i);
    check(map, `${name}: ${hex(mapBase + i)} missing`);
    if (!map) continue;
    check(map[0].value === length, `${name}: ${hex(mapBase + i)}sub0 ${map[0].value} != ${length}`);
    check(map.subNumber === length + 1, `${name}: ${hex(mapBase + i)} has ${map.subNumber} sub-objects`);
    check(map[length + 1] === undefined, `${name}: ${hex(mapBase + i)} maps more than ${length} bytes`);
    for (let j = 1; j <= length; ++j) {
      const expected = ((dataBase + i) * 0x10000 + j * 0x100 + 8) >>> 0;
      check(map[j] && map[j].value === expected,
        `${name}: ${hex(mapBase + i)}sub${j} maps ${map[j] && hex(map[j].value)}, not ${hex(expected)}`);
      // The mapped object must exist, be one byte and be mappable.
      const data = eds.getEntry(dataBase + i);
      const target = data && data[j];
      check(target && target.dataType === U8 && target.pdoMapping === '1' && target.accessType === dataAccess,
        `${name}: mapped object ${hex(dataBase + i)}sub${j} missing or not a mappable ${dataAccess} UNSIGNED8`);
    }
  }
  check(!eds.getEntry(commBase + written), `${name}: ${hex(commBase + written)} written for no PDO`);
  check(!eds.getEntry(mapBase + written), `${name}: ${hex(mapBase + written)} written for no PDO`);
  return written;
}

function checkSheet(file, name, expected, t) {
  let eds;
  try {
    eds = Eds.fromFile(file);
  } catch (error) {
    failures.push(`${name}: does not load: ${error.message}`);
    return;
  }
  check(eds.getEntry(0x1000) && eds.getEntry(0x1001) && eds.getEntry(0x1018), `${name}: mandatory objects`);

  const rx = checkPdos(eds, name, expected.rx, 0x1400, 0x1600, t.rxData, 0, 'rww', t);
  const tx = checkPdos(eds, name, expected.tx, 0x1800, 0x1A00, t.txData, t.txCobIdFlags, 'rwr', t);
  check(Number(eds.deviceInfo.NrOfRXPDO) === rx, `${name}: NrOfRXPDO ${eds.deviceInfo.NrOfRXPDO} != ${rx}`);
  check(Number(eds.deviceInfo.NrOfTXPDO) === tx, `${name}: NrOfTXPDO ${eds.deviceInfo.NrOfTXPDO} != ${tx}`);

  for (const [indexText, subs] of Object.entries(expected.sdo)) {
    const index = Number(indexText);
    const entry = eds.getEntry(index);
    check(entry && entry.subNumber !== undefined, `${name}: server SDO object ${hex(index)} missing`);
    if (!entry) continue;
    const subIndices = Object.keys(subs).map(Number);
    if (!subIndices.includes(0)) {
      check(entry[0] && entry[0].value === Math.max(...subIndices), `${name}: ${hex(index)}sub0 largest sub-index`);
    }
    for (const [subText, [access, dataType]] of Object.entries(subs)) {
      const sub = entry[Number(subText)];
      check(sub, `${name}: ${hex(index)}sub${subText} missing`);
      if (!sub) continue;
      check(sub.accessType === access, `${name}: ${hex(index)}sub${subText} access ${sub.accessType} != ${access}`);
      check(sub.dataType === dataType, `${name}: ${hex(index)}sub${subText} data type ${sub.dataType}`);
      check(sub.pdoMapping === '0', `${name}: ${hex(index)}sub${subText} is not mappable`);
    }
  }
}

const out = fs.mkdtempSync(path.join(os.tmpdir(), 'brenvale-eds-reader-'));
try {
  for (const [fixture, expected] of Object.entries(cases)) {
    for (const [template, t] of Object.entries(templates)) {
      const name = `${fixture}.${template}`;
      const file = path.join(out, `${name}.eds`);
      execFileSync(cli, ['eds', path.join(fixtures, fixture), file, '--template', template],
        { env: { ...process.env, SOURCE_DATE_EPOCH: '1709821800', TZ: 'UTC0' }, stdio: 'inherit' });
      checkSheet(file, name, expected, t);
    }
  }
} finally {
  fs.rmSync(out, { recursive: true, force: true });
}

for (const failure of failures) console.error('FAIL ' + failure);
console.log(`${checks - failures.length} passed, ${failures.length} failed`);
process.exit(failures.length === 0 ? 0 : 1);
