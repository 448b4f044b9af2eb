#!/usr/bin/env node
// Decodes the Natural Earth 1:10m land polygons shipped by world-atlas into a
// plain text of rings that render_world_map reads:
//
//   P <ring count>        one land polygon: its outer ring, then its holes
//   R <point count>       one ring, followed by that many lines
//   <lon> <lat>           degrees; longitudes -180..180 as in the source
//
// Rings keep the source's order and closing point; no geometry is changed here.
'use strict';

const fs = require('fs');
const path = require('path');
const topojson = require('topojson-client');

const outPath = process.argv[2] || path.join(__dirname, 'land_rings.txt');
const topology = require('world-atlas/land-10m.json');

const collection = topojson.feature(topology, topology.objects.land);
const features = collection.type === 'FeatureCollection' ? collection.features : [collection];

const lines = ['# Natural Earth 1:10m land (world-atlas land-10m.json): lon lat in degrees'];
let polygonCount = 0;
let pointCount = 0;

function addPolygon(rings) {
  lines.push(`P ${rings.length}`);
  for (const ring of rings) {
    lines.push(`R ${ring.length}`);
    for (const [lon, lat] of ring) lines.push(`${lon.toFixed(6)} ${lat.toFixed(6)}`);
    pointCount += ring.length;
  }
  polygonCount += 1;
}

for (const feature of features) {
  const geometry = feature.geometry;
  if (!geometry) continue;
  if (geometry.type === 'Polygon') addPolygon(geometry.coordinates);
  else if (geometry.type === 'MultiPolygon') geometry.coordinates.forEach(addPolygon);
}

fs.writeFileSync(outPath, lines.join('\n') + '\n');
console.log(`${polygonCount} polygons, ${pointCount} points -> ${outPath}`);
