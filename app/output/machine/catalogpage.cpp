// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/output/machine/catalogpage.h"

namespace mrb::core
{

const std::string_view catalogPageStart = R"PAGE(<!DOCTYPE html>
<html lang="en">
<head>
<meta charset="utf-8">
<meta http-equiv="Content-Security-Policy" content="default-src 'none'; style-src 'unsafe-inline'; script-src 'unsafe-inline'">
<meta name="viewport" content="width=device-width, initial-scale=1">
<meta name="generator" content="Marrowby">
<title>)PAGE";

const std::string_view catalogPageMiddle = R"PAGE(</title>
<style>
* { box-sizing: border-box; }
html, body { height: 100%; margin: 0; }
body { display: flex; flex-direction: column; font: 14px/1.4 system-ui, sans-serif; color: #1d1d1f; background: #fff; }
header { display: flex; flex-wrap: wrap; align-items: center; gap: 8px 16px; padding: 8px 12px; border-bottom: 1px solid #ccc; background: #f4f4f6; }
h1 { font-size: 16px; margin: 0; flex: 1 1 auto; overflow: hidden; text-overflow: ellipsis; white-space: nowrap; }
#search { width: 22em; max-width: 100%; padding: 4px 8px; font: inherit; }
#count { color: #555; white-space: nowrap; }
main { flex: 1 1 auto; display: flex; min-height: 0; }
#tree { width: 28%; min-width: 14em; max-width: 40em; overflow: auto; border-right: 1px solid #ccc; padding: 6px 0; }
#tree ul { list-style: none; margin: 0; padding-left: 14px; }
#tree > ul { padding-left: 4px; }
#tree li { white-space: nowrap; }
#tree button { font: inherit; border: 0; background: none; padding: 1px 3px; cursor: pointer; color: inherit; }
#tree .toggle { width: 1.4em; color: #666; }
#tree .toggle:disabled { visibility: hidden; }
#tree .folder.selected { background: #d6e4ff; border-radius: 3px; }
#tree .stats { color: #666; font-size: 12px; margin-left: 4px; }
#list { flex: 1 1 auto; display: flex; flex-direction: column; min-width: 0; }
.grid { display: grid; grid-template-columns: minmax(10em, 3fr) minmax(6em, 2fr) 6em minmax(6em, 1.5fr) 11.5em 11.5em 11.5em; min-width: 63em; }
.tags .grid { grid-template-columns: minmax(10em, 3fr) 4.5em repeat(3, minmax(6em, 2fr)) minmax(6em, 2fr) 6em minmax(6em, 1.5fr) 11.5em 11.5em 11.5em; min-width: 95em; }
#head { position: sticky; top: 0; z-index: 1; border-bottom: 1px solid #ccc; background: #fafafa; }
#head button { font: inherit; font-weight: 600; text-align: left; border: 0; border-right: 1px solid #e2e2e2; background: none; padding: 4px 6px; cursor: pointer; overflow: hidden; text-overflow: ellipsis; white-space: nowrap; }
#head button[aria-sort="ascending"]::after { content: " \25B2"; }
#head button[aria-sort="descending"]::after { content: " \25BC"; }
#viewport { flex: 1 1 auto; overflow: auto; position: relative; }
#sizer { position: relative; }
#rows { position: absolute; left: 0; right: 0; top: 0; will-change: transform; }
.row { height: 24px; border-bottom: 1px solid #f0f0f0; }
.row:nth-child(even) { background: #fafafc; }
.row > div { padding: 2px 6px; overflow: hidden; text-overflow: ellipsis; white-space: nowrap; }
.row .size, .row .length { text-align: right; }
.row.is-folder .name { font-weight: 600; }
.changes .grid { grid-template-columns: 6em minmax(10em, 3fr) minmax(6em, 2fr) 6em minmax(6em, 1.5fr) 11.5em 11.5em 11.5em; min-width: 69em; }
.row[data-change="added"] .change { color: #1a7f37; }
.row[data-change="removed"] .change { color: #b42318; }
.row[data-change="changed"] .change { color: #9a6700; }
.row[data-change="moved"] .change { color: #0b5cad; }
noscript { padding: 12px; }
</style>
</head>
<body>
<header>
<h1 id="title"></h1>
<input id="search" type="search" placeholder="Search names" autocomplete="off" aria-label="Search names">
<span id="count" role="status"></span>
</header>
<noscript>This catalog needs JavaScript to show its listing.</noscript>
<main>
<nav id="tree" aria-label="Folders"></nav>
<section id="list" role="table" aria-label="Listing">
<div id="viewport"><div id="head" class="grid" role="row"></div><div id="sizer"><div id="rows" role="rowgroup"></div></div></div>
</section>
</main>
<script id="data" type="application/json">)PAGE";

const std::string_view catalogPageEnd = R"PAGE(</script>
<script>
(function () {
  'use strict';
  var data = JSON.parse(document.getElementById('data').textContent);
  var total = data.count, names = data.names, folders = data.folders, types = data.types;
  // a comparison of two snapshots marks each row with its change
  var marks = data.marks || null, CHANGES = ['', 'added', 'removed', 'changed', 'moved'];
  if (marks) document.body.classList.add('changes');
  var ROW = 24;
  var MAX_HEIGHT = 8000000; // browsers cap an element's height; beyond it rows are mapped

  // Number columns come as one text each: differences from the value before,
  // zig-zagged, in base-32 digits ("." unknown, "!" starts again from 0).
  var DIGITS = '0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz-_';
  var digitOf = new Int8Array(128).fill(-1);
  for (var g = 0; g < DIGITS.length; g++) digitOf[DIGITS.charCodeAt(g)] = g;
  function numbers(text) {
    var into = new Float64Array(total), last = 0, p = 0;
    for (var r = 0; r < total; r++) {
      var c = text.charCodeAt(p++);
      if (c === 46) { into[r] = NaN; continue; }
      if (c === 33) { last = 0; c = text.charCodeAt(p++); }
      var d = digitOf[c];
      if (d < 32) { // one digit: most rows
        last += (d >>> 1) ^ -(d & 1);
      } else {
        var v = d - 32, scale = 32;
        do { d = digitOf[text.charCodeAt(p++)]; v += (d & 31) * scale; scale *= 32; } while (d >= 32);
        last += v % 2 === 0 ? v / 2 : -(v + 1) / 2;
      }
      into[r] = last;
    }
    return into;
  }
  var folderOfRow = numbers(data.folder), typeOfRow = numbers(data.type), isFolder = numbers(data.kind);
  var sizes = numbers(data.size), modified = numbers(data.modified);
  var created = numbers(data.created), accessed = numbers(data.accessed);
  function known(values, r) { var v = values[r]; return v === v ? v : null; } // NaN: unknown

  document.getElementById('title').textContent = document.title;

  function pad(n) { return n < 10 ? '0' + n : '' + n; }
  function dateText(seconds) {
    if (seconds === null) return '';
    var d = new Date(seconds * 1000);
    return d.getFullYear() + '-' + pad(d.getMonth() + 1) + '-' + pad(d.getDate()) + ' ' +
      pad(d.getHours()) + ':' + pad(d.getMinutes()) + ':' + pad(d.getSeconds());
  }
  function sizeText(bytes) {
    if (bytes === null) return '';
    if (bytes < 1024) return bytes + ' B';
    var units = ['KB', 'MB', 'GB', 'TB', 'PB'], value = bytes / 1024, u = 0;
    while (value >= 1024 && u < units.length - 1) { value /= 1024; u++; }
    return value.toFixed(value < 10 ? 1 : 0) + ' ' + units[u];
  }
  function lengthText(seconds) {
    if (seconds === null) return '';
    var h = Math.floor(seconds / 3600), m = Math.floor(seconds / 60) % 60, s = seconds % 60;
    return (h ? h + ':' + pad(m) : '' + m) + ':' + pad(s);
  }
  function folderOf(r) { return folders[folderOfRow[r]]; }
  function joinPath(folder, name) { return folder === '/' ? '/' + name : folder + '/' + name; }
  function parentOf(path) { var k = path.lastIndexOf('/'); return k <= 0 ? '/' : path.slice(0, k); }

  var columns = [
    { title: 'Name', cls: 'name', tip: true, text: function (r) { return names[r]; }, key: function (r) { return names[r].toLowerCase(); } },
    { title: 'Folder', cls: 'folder', tip: true, text: folderOf, key: function (r) { return folderOf(r).toLowerCase(); } },
    { title: 'Size', cls: 'size', text: function (r) { return sizeText(known(sizes, r)); }, key: function (r) { return known(sizes, r); }, numeric: true },
    { title: 'Type', cls: 'type', text: function (r) { return types[typeOfRow[r]]; }, key: function (r) { return types[typeOfRow[r]].toLowerCase(); } },
    { title: 'Modified', cls: 'date', text: function (r) { return dateText(known(modified, r)); }, key: function (r) { return known(modified, r); }, numeric: true },
    { title: 'Created', cls: 'date', text: function (r) { return dateText(known(created, r)); }, key: function (r) { return known(created, r); }, numeric: true },
    { title: 'Accessed', cls: 'date', text: function (r) { return dateText(known(accessed, r)); }, key: function (r) { return known(accessed, r); }, numeric: true }
  ];
  // What the search looks in, row by row; made into one lower-cased index
  // after the page shows (see the search below).
  var searchText = function (r) { return names[r]; };
  // Tags read and found: length, artist, title and album as columns, and in the search.
  var lengths = null, titles = null, artists = null, albums = null, tagged = false;
  if (data.tags === true) {
    lengths = numbers(data.length);
    titles = data.title; artists = data.artist; albums = data.album;
    for (var f = 0; f < total && !tagged; f++)
      tagged = lengths[f] === lengths[f] || artists[f] !== '' || titles[f] !== '' || albums[f] !== '';
  }
  if (tagged) {
    columns.splice(1, 0,
      { title: 'Length', cls: 'length', text: function (r) { return lengthText(known(lengths, r)); }, key: function (r) { return known(lengths, r); }, numeric: true },
      { title: 'Artist', cls: 'tag', tip: true, text: function (r) { return artists[r]; }, key: function (r) { return artists[r].toLowerCase(); } },
      { title: 'Title', cls: 'tag', tip: true, text: function (r) { return titles[r]; }, key: function (r) { return titles[r].toLowerCase(); } },
      { title: 'Album', cls: 'tag', tip: true, text: function (r) { return albums[r]; }, key: function (r) { return albums[r].toLowerCase(); } });
    searchText = function (r) { return [names[r].toLowerCase(), artists[r], titles[r], albums[r]].join('\n'); };
    var search0 = document.getElementById('search');
    search0.placeholder = 'Search names, artists, titles, albums';
    search0.setAttribute('aria-label', search0.placeholder);
    document.body.classList.add('tags');
  }
  // the change first, where it is seen
  if (marks) columns.unshift({ title: 'Change', cls: 'change', text: function (r) { return CHANGES[marks[r]]; }, key: function (r) { return marks[r]; } });
  var sizeAt = columns.findIndex(function (column) { return column.title === 'Size'; });

  // ---- folder tree: counts and sizes of everything listed below each folder
  var nodes = new Map();
  var collator = new Intl.Collator(undefined, { numeric: true, sensitivity: 'base' });
  function nodeFor(path) {
    var node = nodes.get(path);
    if (node) return node;
    node = { path: path, name: path === '/' ? '/' : path.slice(path.lastIndexOf('/') + 1), children: [],
      files: 0, folders: 0, bytes: 0, direct: 0, parent: null, element: null, changes: [0, 0, 0, 0, 0] };
    nodes.set(path, node);
    if (path !== '/') { node.parent = nodeFor(parentOf(path)); node.parent.children.push(node); }
    return node;
  }
  // Each row counts in the folder holding it: totals per folder first, then
  // handed up to every folder above. Nodes are made in the order of the rows,
  // so folders that sort alike keep that order.
  function buildTree() {
    var holders = new Array(folders.length);
    var directFiles = new Float64Array(folders.length), directFolders = new Float64Array(folders.length);
    var directBytes = new Float64Array(folders.length);
    var directChanges = marks ? new Array(folders.length) : null;
    for (var r = 0; r < total; r++) {
      var at = folderOfRow[r];
      if (!holders[at]) holders[at] = nodeFor(folders[at]);
      if (marks) (directChanges[at] = directChanges[at] || [0, 0, 0, 0, 0])[marks[r]]++;
      if (isFolder[r] === 1) { directFolders[at]++; nodeFor(joinPath(folders[at], names[r])); }
      else { directFiles[at]++; directBytes[at] += sizes[r] || 0; }
    }
    for (var h = 0; h < folders.length; h++) {
      var holder = holders[h];
      if (!holder) continue;
      holder.direct += directFiles[h] + directFolders[h];
      for (var n = holder; n; n = n.parent) {
        n.folders += directFolders[h]; n.files += directFiles[h]; n.bytes += directBytes[h];
        if (marks) for (var m = 1; m < CHANGES.length; m++) n.changes[m] += directChanges[h][m];
      }
    }
    var top = nodes.get('/');
    while (top && top.children.length === 1 && top.direct === 0) top = top.children[0];
    if (top) {
      var rootList = document.createElement('ul');
      var rootItem = treeItem(top);
      rootList.appendChild(rootItem.li);
      document.getElementById('tree').appendChild(rootList);
      if (!rootItem.toggle.disabled) rootItem.toggle.click();
    }
  }

  var selectedFolder = null, selectedElement = null;
  function statsText(node) {
    var parts = [];
    if (marks) {
      for (var m = 1; m < CHANGES.length; m++) if (node.changes[m]) parts.push(node.changes[m].toLocaleString() + ' ' + CHANGES[m]);
      return parts.join(' \u00b7 ');
    }
    parts.push(node.files.toLocaleString() + (node.files === 1 ? ' file' : ' files'));
    if (node.folders) parts.push(node.folders.toLocaleString() + (node.folders === 1 ? ' folder' : ' folders'));
    parts.push(sizeText(node.bytes));
    return parts.join(' \u00b7 ');
  }
  function treeItem(node) {
    var li = document.createElement('li');
    var toggle = document.createElement('button');
    toggle.className = 'toggle';
    toggle.textContent = '\u25b8';
    toggle.setAttribute('aria-label', 'Expand');
    toggle.disabled = node.children.length === 0;
    var label = document.createElement('button');
    label.className = 'folder';
    label.textContent = node.name;
    label.title = node.path;
    var stats = document.createElement('span');
    stats.className = 'stats';
    stats.textContent = statsText(node);
    li.appendChild(toggle); li.appendChild(label); li.appendChild(stats);
    var list = null;
    toggle.addEventListener('click', function () {
      if (!list) {
        list = document.createElement('ul');
        node.children.slice().sort(function (a, b) { return collator.compare(a.name, b.name); })
          .forEach(function (child) { list.appendChild(treeItem(child).li); });
        li.appendChild(list);
      } else {
        list.hidden = !list.hidden;
      }
      var open = !list.hidden;
      toggle.textContent = open ? '\u25be' : '\u25b8';
      toggle.setAttribute('aria-label', open ? 'Collapse' : 'Expand');
    });
    label.addEventListener('click', function () {
      if (selectedElement) selectedElement.classList.remove('selected');
      var same = selectedFolder === node.path;
      selectedFolder = same ? null : node.path;
      selectedElement = same ? null : label;
      if (selectedElement) selectedElement.classList.add('selected');
      refilter();
    });
    return { li: li, toggle: toggle };
  }
  // ---- table: sorted order, filtered view, only the rows in sight rendered
  var order = new Int32Array(total);
  for (var k = 0; k < total; k++) order[k] = k;
  var view = order;
  var sortColumn = -1, descending = false;
  var head = document.getElementById('head');
  var headButtons = columns.map(function (column, c) {
    var button = document.createElement('button');
    button.textContent = column.title;
    button.setAttribute('role', 'columnheader');
    button.setAttribute('aria-sort', 'none');
    button.addEventListener('click', function () { sortBy(c); });
    head.appendChild(button);
    return button;
  });
  function sortBy(c) {
    descending = sortColumn === c ? !descending : false;
    sortColumn = c;
    var keys = new Array(total), column = columns[c];
    for (var i = 0; i < total; i++) keys[i] = column.key(i);
    var sign = descending ? -1 : 1;
    order.sort(function (a, b) {
      var x = keys[a], y = keys[b];
      if (x === y) return a - b;
      if (x === null) return -sign;
      if (y === null) return sign;
      return (x < y ? -1 : 1) * sign;
    });
    headButtons.forEach(function (button, i) {
      button.setAttribute('aria-sort', i === c ? (descending ? 'descending' : 'ascending') : 'none');
    });
    refilter();
  }

  // The search looks through the rows' texts lower-cased once, in chunks of
  // rows, each text ended by a NUL; made in slices after the page shows, so
  // neither the first view nor typing waits for all of it.
  var chunks = null, ends = new Float64Array(total), pendingSearch = false;
  var CHUNK = 50000;
  function buildIndex() {
    var made = [], r = 0;
    (function slice() {
      var first = r, end = Math.min(total, r + CHUNK), texts = [], at = 0;
      for (; r < end; r++) {
        var text = searchText(r).toLowerCase();
        at += text.length + 1;
        ends[r] = at;
        texts.push(text);
      }
      made.push({ first: first, text: texts.join('\0') + '\0' });
      if (r < total) { setTimeout(slice, 0); return; }
      chunks = made;
      if (pendingSearch) { pendingSearch = false; refilter(); }
    })();
  }
  // Which rows' search texts hold the query.
  function matches(query) {
    var hit = new Uint8Array(total);
    if (query.indexOf('\0') >= 0) {
      for (var q = 0; q < total; q++) hit[q] = searchText(q).toLowerCase().indexOf(query) >= 0 ? 1 : 0;
      return hit;
    }
    chunks.forEach(function (chunk) {
      var r = chunk.first, p = chunk.text.indexOf(query);
      while (p >= 0) {
        while (ends[r] <= p) r++;
        hit[r] = 1;
        p = chunk.text.indexOf(query, ends[r]);
      }
    });
    return hit;
  }

  var search = document.getElementById('search');
  var count = document.getElementById('count');
  function refilter() {
    var query = search.value.trim().toLowerCase();
    if (query && !chunks) { pendingSearch = true; return; }
    var inFolder = null;
    if (selectedFolder !== null) {
      var prefix = selectedFolder === '/' ? '/' : selectedFolder + '/';
      inFolder = folders.map(function (f) { return f === selectedFolder || f.indexOf(prefix) === 0; });
    }
    if (!query && !inFolder) {
      view = order;
    } else {
      var hit = query ? matches(query) : null;
      var picked = new Int32Array(total), m = 0;
      for (var i = 0; i < total; i++) {
        var r = order[i];
        if (hit && !hit[r]) continue;
        if (inFolder && !inFolder[folderOfRow[r]]) continue;
        picked[m++] = r;
      }
      view = picked.subarray(0, m);
    }
    count.textContent = view.length === total ? total.toLocaleString() + ' items'
      : view.length.toLocaleString() + ' of ' + total.toLocaleString() + ' items';
    count.setAttribute('data-shown', String(view.length));
    viewport.scrollTop = 0;
    layout();
  }
  var timer = 0;
  search.addEventListener('input', function () {
    clearTimeout(timer);
    timer = setTimeout(refilter, total > 20000 ? 30 : 0);
  });

  var viewport = document.getElementById('viewport');
  var sizer = document.getElementById('sizer');
  var rowBox = document.getElementById('rows');
  var pool = [];
  var scaled = false;
  function layout() {
    var height = view.length * ROW;
    scaled = height > MAX_HEIGHT;
    sizer.style.height = (scaled ? MAX_HEIGHT : height) + 'px';
    render();
  }
  function rowElement(i) {
    while (pool.length <= i) {
      var element = document.createElement('div');
      element.className = 'row grid';
      element.setAttribute('role', 'row');
      columns.forEach(function (column) {
        var cell = document.createElement('div');
        cell.className = column.cls;
        cell.setAttribute('role', 'cell');
        element.appendChild(cell);
      });
      rowBox.appendChild(element);
      pool.push(element);
    }
    return pool[i];
  }
  function render() {
    var visible = Math.ceil(viewport.clientHeight / ROW) + 2; // the header hides less than a row's worth
    var scroll = viewport.scrollTop, first, offset;
    if (scaled) {
      var range = Math.max(1, MAX_HEIGHT - viewport.clientHeight);
      first = Math.floor(Math.min(1, scroll / range) * Math.max(0, view.length - visible + 2));
      offset = scroll;
    } else {
      first = Math.floor(scroll / ROW);
      offset = first * ROW;
    }
    rowBox.style.transform = 'translateY(' + offset + 'px)';
    var shown = Math.max(0, Math.min(visible, view.length - first));
    for (var i = 0; i < shown; i++) {
      var r = view[first + i], element = rowElement(i);
      element.hidden = false;
      element.classList.toggle('is-folder', isFolder[r] === 1);
      if (marks) element.setAttribute('data-change', CHANGES[marks[r]]);
      var cells = element.children;
      for (var c = 0; c < columns.length; c++) {
        var text = columns[c].text(r);
        if (cells[c].textContent !== text) cells[c].textContent = text;
        if (columns[c].tip) cells[c].title = text;
      }
      if (known(sizes, r) !== null) cells[sizeAt].title = sizes[r].toLocaleString() + ' bytes';
      else cells[sizeAt].removeAttribute('title');
    }
    for (var j = shown; j < pool.length; j++) pool[j].hidden = true;
  }
  var pending = false;
  viewport.addEventListener('scroll', function () {
    if (pending) return;
    pending = true;
    requestAnimationFrame(function () { pending = false; render(); });
  });
  window.addEventListener('resize', render);
  // The table shows first; the folder tree and the search index follow.
  refilter();
  setTimeout(function () { buildTree(); buildIndex(); }, 0);
})();
</script>
</body>
</html>
)PAGE";

} // namespace mrb::core
