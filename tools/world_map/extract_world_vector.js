#!/usr/bin/env node
// Writes data/maps/world_vector.bin: the land polygons and country borders of
// Natural Earth 1:10m (world-atlas land-10m.json and countries-10m.json), thinned
// with Douglas-Peucker, for drawing the map as paths in SVG and PDF outputs.
// README.md beside this file describes the format; src/render/canvas/
// vector_world.cpp reads it.
//
// usage: extract_world_vector.js [out.bin] [tolerance in degrees]
'use strict';

const fs = require('fs');
const path = require('path');
const topojson = require('topojson-client');

const MAGIC = 'TCMAPVW1';
const UNITS_PER_DEGREE = 10000;
// 0.01° is a fifth of a pixel of the 20-pixel-a-degree map picture: the thinned
// coast stays within that of the source everywhere, and keeps about a third of
// its points. README.md has the figures behind the choice.
const DEFAULT_TOLERANCE = 0.01;

const outPath = process.argv[2] || path.join(__dirname, '..', '..', 'data', 'maps', 'world_vector.bin');
const tolerance = process.argv[3] === undefined ? DEFAULT_TOLERANCE : Number(process.argv[3]);
if (!(tolerance >= 0)) throw new Error(`bad tolerance ${process.argv[3]}`);

// Continuous longitudes: a step of more than 180° between two points is the
// source crossing the 180° meridian, not a jump across the map.
function unwrap(points) {
  const out = [points[0].slice()];
  for (let i = 1; i < points.length; i++) {
    const previous = out[i - 1][0];
    let lon = points[i][0];
    lon -= 360 * Math.round((lon - previous) / 360);
    out.push([lon, points[i][1]]);
  }
  return out;
}

// Back into -180..180 as the source writes them; 180 itself stays 180.
function wrap(lon) {
  if (lon >= -180 && lon <= 180) return lon;
  return lon - 360 * Math.floor((lon + 180) / 360);
}

// Douglas-Peucker on the open run of points, first and last kept. A closed
// ring (first point = last) is thinned the same way: its first split is at the
// point farthest from the start.
function simplify(points, tol) {
  const n = points.length;
  if (n < 3 || tol === 0) return points;
  const keep = new Uint8Array(n);
  keep[0] = keep[n - 1] = 1;
  const stack = [[0, n - 1]];
  const tol2 = tol * tol;
  while (stack.length) {
    const [a, b] = stack.pop();
    const [ax, ay] = points[a];
    const dx = points[b][0] - ax, dy = points[b][1] - ay;
    const length2 = dx * dx + dy * dy;
    let farthest = -1, index = -1;
    for (let i = a + 1; i < b; i++) {
      const px = points[i][0] - ax, py = points[i][1] - ay;
      let u = length2 === 0 ? 0 : (px * dx + py * dy) / length2;
      u = Math.max(0, Math.min(1, u));
      const d = (px - u * dx) ** 2 + (py - u * dy) ** 2;
      if (d > farthest) {
        farthest = d;
        index = i;
      }
    }
    if (farthest > tol2) {
      keep[index] = 1;
      stack.push([a, index], [index, b]);
    }
  }
  return points.filter((_, i) => keep[i]);
}

// A ring thinned below a triangle would vanish; small islands keep all their
// points (they have few).
function simplifyRing(ring) {
  const thinned = simplify(unwrap(ring), tolerance);
  return thinned.length >= 4 ? thinned : unwrap(ring);
}

// CRC-32 as zlib computes it (zlib.crc32 is missing from older Node releases).
function crc32(bytes) {
  let crc = 0xffffffff;
  for (const byte of bytes) {
    crc ^= byte;
    for (let k = 0; k < 8; k++) crc = (crc >>> 1) ^ (0xedb88320 & -(crc & 1));
  }
  return (crc ^ 0xffffffff) >>> 0;
}

class Writer {
  constructor() {
    this.bytes = [];
    this.points = 0;
  }
  u32(value) {
    for (let i = 0; i < 4; i++) this.bytes.push((value >>> (8 * i)) & 0xff);
  }
  varint(value) {
    if (!Number.isInteger(value) || value < 0 || value > 0xffffffff) throw new Error(`varint ${value}`);
    while (value >= 0x80) {
      this.bytes.push((value & 0x7f) | 0x80);
      value = Math.floor(value / 128);
    }
    this.bytes.push(value);
  }
  signed(value) {
    this.varint(value >= 0 ? value * 2 : -value * 2 - 1);
  }
  // Point count, then the first point and the steps to each next one, in
  // units of 1/UNITS_PER_DEGREE degree.
  run(points) {
    this.varint(points.length);
    let lastLon = 0, lastLat = 0;
    for (const [lon, lat] of points) {
      const x = Math.round(wrap(lon) * UNITS_PER_DEGREE);
      const y = Math.round(lat * UNITS_PER_DEGREE);
      this.signed(x - lastLon);
      this.signed(y - lastLat);
      lastLon = x;
      lastLat = y;
    }
    this.points += points.length;
  }
}

function polygonsOf(topology, object) {
  const collection = topojson.feature(topology, object);
  const features = collection.type === 'FeatureCollection' ? collection.features : [collection];
  const polygons = [];
  for (const { geometry } of features) {
    if (!geometry) continue;
    if (geometry.type === 'Polygon') polygons.push(geometry.coordinates);
    else if (geometry.type === 'MultiPolygon') polygons.push(...geometry.coordinates);
  }
  return polygons;
}

const land = require('world-atlas/land-10m.json');
const countries = require('world-atlas/countries-10m.json');
const polygons = polygonsOf(land, land.objects.land).map((rings) => rings.map(simplifyRing));
// Only boundaries shared by two countries: coasts are the land's edge already.
const borders = topojson
  .mesh(countries, countries.objects.countries, (a, b) => a !== b)
  .coordinates.map((line) => simplify(unwrap(line), tolerance));

const body = new Writer();
for (const rings of polygons) {
  body.varint(rings.length);
  rings.forEach((ring) => body.run(ring));
}
const landPoints = body.points;
borders.forEach((line) => body.run(line));

const header = new Writer();
for (const c of MAGIC) header.bytes.push(c.charCodeAt(0));
header.u32(UNITS_PER_DEGREE);
header.u32(polygons.length);
header.u32(borders.length);
header.u32(body.points);
const content = Buffer.from([...header.bytes, ...body.bytes]);
const crc = Buffer.alloc(4);
crc.writeUInt32LE(crc32(content));
fs.writeFileSync(outPath, Buffer.concat([content, crc]));
console.log(
  `${polygons.length} polygons (${landPoints} points), ${borders.length} border lines ` +
    `(${body.points - landPoints} points), tolerance ${tolerance}° -> ${outPath}, ` +
    `${content.length + 4} bytes`,
);
