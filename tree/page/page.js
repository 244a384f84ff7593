// velkin-tree's page: the effective menu drawn from the data blocks the page
// carries, rendered as it is opened, so that a definition of any size paints
// at once. The walk is the text view's: a sub-menu expands where it is first
// reached and is referred to after; the menus no top menu reaches follow.
// Search and filters read an index built once; the address keeps them.
(function () {
  'use strict';
  var data = JSON.parse(document.getElementById('menu-data').textContent);
  var menus = data.menus, byId = {};
  var ID = 0, NAME = 1, MARKS = 2, SUB = 3, GROUP = 4, EDIT = 5;
  var MARK_CLASS = {'+': 'added', '~': 'amended', '!': 'placeholder', '-': 'deleted'};
  var CHUNK = 500, RESULTS = 300;
  var $ = function (id) { return document.getElementById(id); };
  var tree = $('tree'), box = $('q'), count = $('count'), results = $('results');
  var filters = Array.prototype.slice.call(document.querySelectorAll('input[data-filter]'));
  var defs = null, index = null;

  // Where each menu is expanded: the entry that first reaches it in the walk,
  // depth first from each root in turn (null for a root).
  var first = menus.map(function () { return null; }), reached = menus.map(function () { return false; });
  function claim(root) {
    reached[root] = true;
    var stack = [[root, 0]];
    while (stack.length) {
      var top = stack[stack.length - 1], entries = menus[top[0]].entries;
      if (top[1] >= entries.length) { stack.pop(); continue; }
      var i = top[1]++, sub = entries[i][SUB];
      if (sub >= 0 && !reached[sub]) { reached[sub] = true; first[sub] = [top[0], i]; stack.push([sub, 0]); }
    }
  }
  // A top menu that another top menu reaches first is referred to there.
  var seenRoot = {};
  data.top.forEach(function (m) { if (reached[m]) seenRoot[m] = true; else claim(m); });
  var unreachableRoots = data.unreachable.filter(function (m) {
    if (reached[m]) return false;
    claim(m);
    return true;
  });
  var lost = {};
  data.unreachable.forEach(function (m) { lost[m] = true; });
  menus.forEach(function (m, i) { byId[m.id] = i; });

  function el(tag, cls, text) {
    var e = document.createElement(tag);
    if (cls) e.className = cls;
    if (text !== undefined) e.textContent = text;
    return e;
  }
  function label(parent, entry) {
    for (var k = 0; k < entry[MARKS].length; k++) {
      var mark = entry[MARKS][k], span = el('span', 'mark ' + MARK_CLASS[mark], mark);
      span.title = MARK_CLASS[mark];
      parent.appendChild(span);
    }
    parent.appendChild(el('span', 'id', entry[ID]));
    if (entry[NAME] !== null) parent.appendChild(el('span', 'name', entry[NAME]));
    if (entry[EDIT]) parent.appendChild(el('span', 'edit', '(' + entry[EDIT] + ')'));
  }
  function seeAbove(parent, sub) {
    var a = el('a', 'ref', '(see above)');
    a.href = '#';
    a.addEventListener('click', function (ev) { ev.preventDefault(); reveal(sub, -1); });
    parent.appendChild(a);
  }
  function menuNode(m, summaryFill) {
    var d = el('details', 'menu');
    d.setAttribute('data-menu', menus[m].id);
    d.id = 'menu-' + m;
    var s = el('summary');
    summaryFill(s);
    d.appendChild(s);
    d.appendChild(el('ul'));
    d.addEventListener('toggle', function () { if (d.open && d.velkinCount === undefined) fill(d, m); });
    return d;
  }
  // The entries of menu `m` into its <details>, a chunk at a time: the first
  // when it opens, the next ones when asked.
  function fill(d, m) {
    var ul = d.lastChild, entries = menus[m].entries, start = d.velkinCount || 0;
    if (d.velkinCount !== undefined && !d.velkinMore) return;
    var more = ul.querySelector(':scope > li.more');
    if (more) ul.removeChild(more);
    var end = Math.min(entries.length, start + CHUNK);
    for (var i = start; i < end; i++) {
      var group = entries[i][GROUP], before = i - 1;
      while (before >= 0 && entries[before][MARKS] === '-') before--;  // deleted: in no group
      if (group >= 0 && (before < 0 || entries[before][GROUP] !== group))
        ul.appendChild(el('li', 'section', '\u2508 ' + menus[m].sections[group]));
      ul.appendChild(entryNode(m, i));
    }
    d.velkinCount = end;
    d.velkinMore = end < entries.length;
    if (d.velkinMore) {
      var li = el('li', 'more'), b = el('button', null, 'show ' + (entries.length - end) + ' more');
      b.addEventListener('click', function () { fill(d, m); });
      li.appendChild(b);
      ul.appendChild(li);
    }
  }
  // Fills menu `m` at least down to its entry `i` (all of it for -1).
  function fillTo(d, m, i) {
    fill(d, m);
    while (d.velkinMore && (i < 0 || d.velkinCount <= i)) fill(d, m);
  }
  function entryNode(m, i) {
    var entry = menus[m].entries[i], li = el('li', 'entry'), sub = entry[SUB];
    li.setAttribute('data-id', entry[ID]);
    if (entry[NAME] !== null) li.setAttribute('data-name', entry[NAME]);
    if (entry[MARKS]) li.setAttribute('data-marks', entry[MARKS]);
    li.id = 'entry-' + m + '-' + i;
    if (sub >= 0 && first[sub] && first[sub][0] === m && first[sub][1] === i) {
      li.appendChild(menuNode(sub, function (s) { label(s, entry); }));
      return li;
    }
    var line = el('span', 'line');
    label(line, entry);
    if (sub >= 0) seeAbove(line, sub);
    line.addEventListener('click', function (ev) { if (ev.target.tagName !== 'A') toggleDefinition(li, m, i); });
    li.appendChild(line);
    return li;
  }
  function definitions() {
    if (defs === null) defs = JSON.parse(document.getElementById('menu-defs').textContent);
    return defs;
  }
  // A definition's text; an amended one comes as [text, [member changed...]].
  function defText(value) {
    return value === null ? null : typeof value === 'string' ? value : value[0];
  }
  function toggleDefinition(li, m, i) {
    var shown = li.querySelector(':scope > .shown');
    if (shown) { li.removeChild(shown); return; }
    var value = definitions()[m][i], text = defText(value), box = el('div', 'shown');
    var entry = menus[m].entries[i];
    if (entry[MARKS] === '-')
      box.appendChild(el('pre', 'definition', 'deleted' + (entry[EDIT] ? ' by ' + entry[EDIT] : ' with its menu') + ': written nowhere'));
    else
      box.appendChild(el('pre', 'definition', text === null ? 'no definition written' : pretty(text)));
    if (value !== null && typeof value !== 'string') {
      var ul = el('ul', 'amended-members');
      value[1].forEach(function (line) {
        var row = el('li');
        row.appendChild(el('span', 'mark amended', '~'));
        row.appendChild(el('span', 'change', line));
        ul.appendChild(row);
      });
      box.insertBefore(ul, box.firstChild);
    }
    li.appendChild(box);
  }
  function pretty(text) {
    try { return JSON.stringify(JSON.parse(text), null, 2); } catch (e) { return text; }
  }
  function rootNode(m, heading) {
    var gone = menus[m].deleted;
    var d = menuNode(m, function (s) {
      label(s, [menus[m].id, null, gone ? '-' : '', -1, -1, gone || null]);
    });
    d.className = gone ? 'root deleted-menu' : 'root';
    if (heading) tree.appendChild(el('h2', null, heading));
    tree.appendChild(d);
    return d;
  }
  function draw() {
    tree.textContent = '';
    if (menus.length === data.deleted.length) tree.appendChild(el('p', null, '(no menu)'));
    data.top.forEach(function (m) {
      if (seenRoot[m]) {
        var p = el('p', 'root seen');
        p.appendChild(el('span', 'id', menus[m].id));
        seeAbove(p, m);
        tree.appendChild(p);
        return;
      }
      var d = rootNode(m);
      fill(d, m);
      d.open = true;
    });
    unreachableRoots.forEach(function (m, k) {
      rootNode(m, k === 0 ? 'Not reached from a top menu' : null);
    });
    data.deleted.forEach(function (m, k) {
      rootNode(m, k === 0 ? 'Deleted by \u201cmenudelete\u201d' : null);
    });
  }
  // Opens every menu where it is first reached, without recursion.
  function expandAll() {
    var stack = Array.prototype.slice.call(tree.querySelectorAll(':scope > details'));
    while (stack.length) {
      var d = stack.pop();
      fillTo(d, Number(d.id.slice(5)), -1);
      d.open = true;
      var subs = d.lastChild.querySelectorAll(':scope > li > details');
      for (var k = 0; k < subs.length; k++) stack.push(subs[k]);
    }
  }
  function collapseAll() {
    var open = tree.querySelectorAll('details[open]');
    for (var k = 0; k < open.length; k++) open[k].open = false;
  }
  // Opens the menus down to menu `m` (and its entry `i`, unless -1) and shows it.
  function reveal(m, i) {
    var chain = [], at = m;
    while (first[at]) { chain.unshift(first[at]); at = first[at][0]; }
    var d = $('menu-' + at);
    chain.forEach(function (step) {
      fillTo(d, step[0], step[1]);
      d.open = true;
      d = $('entry-' + step[0] + '-' + step[1]).querySelector(':scope > details');
    });
    fillTo(d, m, i);
    d.open = true;
    var target = i < 0 ? d : $('entry-' + m + '-' + i);
    var was = tree.querySelector('.found');
    if (was) was.classList.remove('found');
    target.classList.add('found');
    target.scrollIntoView({block: 'center'});
  }

  // The search index: one lower-case text of every entry (identifier,
  // display name, marks in words, definition), each entry's text starting
  // at starts[k]; a search scans it with the browser's own indexOf.
  function buildIndex() {
    if (index !== null) return;
    var all = definitions(), texts = [], starts = [], where = [], at = 0;
    menus.forEach(function (menu, m) {
      menu.entries.forEach(function (entry, i) {
        var words = entry[MARKS].split('').map(function (c) { return MARK_CLASS[c]; }).join(' ');
        var text = [entry[ID], entry[NAME] || '', words, defText(all[m][i]) || ''].join('\n').toLowerCase();
        texts.push(text);
        starts.push(at);
        where.push(m, i);
        at += text.length + 1;
      });
    });
    starts.push(at);
    index = {text: texts.join('\u0000'), starts: starts, where: where};
  }
  // Calls each(m, i) for every entry whose text holds `q`, in order.
  function search(q, each) {
    var text = index.text, starts = index.starts, k = 0, pos = text.indexOf(q);
    while (pos >= 0) {
      while (starts[k + 1] <= pos) k++;
      each(index.where[2 * k], index.where[2 * k + 1]);
      pos = text.indexOf(q, starts[++k]);
    }
  }
  function wanted() {
    var on = {};
    filters.forEach(function (f) { if (f.checked) on[f.getAttribute('data-filter')] = true; });
    return on;
  }
  function passes(on, any, m, entry) {
    if (!any) return true;
    if (on.unreachable && lost[m]) return true;
    for (var k = 0; k < entry[MARKS].length; k++) if (on[MARK_CLASS[entry[MARKS][k]]]) return true;
    return false;
  }
  function pathOf(m) {
    var names = [menus[m].id];
    while (first[m]) { m = first[m][0]; names.unshift(menus[m].id); }
    return names.join(' \u203a ');
  }
  function apply() {
    var q = box.value.trim().toLowerCase(), on = wanted(), any = Object.keys(on).length > 0;
    results.textContent = '';
    if (q === '' && !any) { results.hidden = true; count.textContent = ''; remember(q, on); return 0; }
    if (q !== '') buildIndex();
    var found = 0, list = el('ol');
    var each = function (m, i) {
      var entry = menus[m].entries[i];
      if (!passes(on, any, m, entry)) return;
      if (++found > RESULTS) return;
      list.appendChild(resultNode(m, i, entry));
    };
    if (q === '') menus.forEach(function (menu, m) { menu.entries.forEach(function (e, i) { each(m, i); }); });
    else search(q, each);
    results.appendChild(list);
    if (found > RESULTS) results.appendChild(el('p', 'more', (found - RESULTS) + ' more: narrow the search'));
    results.hidden = false;
    count.textContent = found + (found === 1 ? ' entry matches' : ' entries match');
    remember(q, on);
    return found;
  }
  function resultNode(m, i, entry) {
    var li = el('li', 'entry');
    li.setAttribute('data-id', entry[ID]);
    if (entry[NAME] !== null) li.setAttribute('data-name', entry[NAME]);
    if (entry[MARKS]) li.setAttribute('data-marks', entry[MARKS]);
    li.setAttribute('data-menu', menus[m].id);
    var a = el('a', 'line');
    a.href = '#';
    label(a, entry);
    a.appendChild(el('span', 'path', pathOf(m)));
    a.addEventListener('click', function (ev) { ev.preventDefault(); reveal(m, i); });
    li.appendChild(a);
    return li;
  }
  function remember(q, on) {
    var parts = [];
    if (box.value !== '') parts.push('q=' + encodeURIComponent(box.value));
    var names = Object.keys(on);
    if (names.length) parts.push('f=' + names.join(','));
    try {
      history.replaceState(null, '', parts.length ? '#' + parts.join('&') : location.pathname + location.search);
    } catch (e) {}
  }
  function fromAddress() {
    var asked = {};
    location.hash.replace(/^#/, '').split('&').forEach(function (part) {
      var eq = part.indexOf('=');
      if (eq > 0) {
        try { asked[part.slice(0, eq)] = decodeURIComponent(part.slice(eq + 1)); } catch (e) { asked[part.slice(0, eq)] = part.slice(eq + 1); }
      }
    });
    return asked;
  }
  // #bench=q1|q2|...: each search timed as a keystroke, for the benchmark.
  function bench(queries) {
    buildIndex();
    var times = queries.split('|').map(function (q) {
      box.value = q;
      var t = performance.now();
      apply();
      return Math.round(performance.now() - t);
    });
    document.documentElement.setAttribute('data-keystroke-ms', times.join(' '));
  }

  draw();
  var asked = fromAddress();
  if (asked.f) filters.forEach(function (f) { f.checked = asked.f.split(',').indexOf(f.getAttribute('data-filter')) >= 0; });
  if (asked.q) box.value = asked.q;
  apply();
  box.addEventListener('input', apply);
  filters.forEach(function (f) { f.addEventListener('change', apply); });
  $('expand').addEventListener('click', expandAll);
  $('collapse').addEventListener('click', collapseAll);
  document.documentElement.setAttribute('data-ready-ms', String(Math.round(performance.now())));
  // #click=expand,entry-M-I: the buttons pressed and the entries' lines
  // clicked (their definitions shown) in that order, for tests and pictures.
  if (asked.click) asked.click.split(',').forEach(function (id) {
    var b = $(id);
    if (b) (b.querySelector(':scope > .line') || b).click();
  });
  if (asked.bench) bench(asked.bench);
  else setTimeout(buildIndex, 0);
})();
