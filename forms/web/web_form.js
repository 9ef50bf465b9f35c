// The browser back end's side in the page (an Emscripten JavaScript library):
// it makes a form's controls as elements of the page, reads and writes them
// for web_form.cpp, and hands the page's clicks back to it.
/* global mergeInto, LibraryManager, Module, UTF8ToString, UTF16ToString, stringToUTF16, _forms_web_click,
   _forms_web_fail, formsWeb */

mergeInto(LibraryManager.library, {
  // What the functions below share; Emscripten puts it into the page once.
  $formsWeb: {
    rows: [],
    root: null,
    text: '',
    separator: 0,
    // The pools' row height: the form's font's line, as the desktop's list draws it.
    entryHeight: 18,
    colour: function (value) { return '#' + value.toString(16).padStart(6, '0'); },
    // Runs an event's work; whatever goes wrong on its way, in the script or
    // in the program, shows the error box rather than leaving a dead page.
    guard: function (work) {
      try {
        work();
      } catch (error) {
        formsWeb.failed(error);
      }
    },
    failed: function (error) {
      const what = String(error && error.message ? error.message : error);
      if (formsWeb.root && formsWeb.root.inert) return;
      try {
        // The program reads the text as it reads a control's.
        formsWeb.text = what;
        _forms_web_fail(what.length);
      } catch {
        // The program itself is beyond use: the box is made here alone.
        const caption = document.title.split('\u00a0\u00a0\u00a0').pop();
        formsWeb.errorBox(caption, 'Грешка при изпълнение:\n\n' + what);
      }
    },
    errorBox: function (title, message) {
      // The form takes no more input from here on, as the program has ended.
      if (formsWeb.root) formsWeb.root.inert = true;
      const dialog = document.createElement('dialog');
      dialog.className = 'error';
      dialog.setAttribute('role', 'alertdialog');
      const heading = document.createElement('h1');
      heading.id = 'error-title';
      heading.textContent = title;
      const text = document.createElement('p');
      text.id = 'error-message';
      text.textContent = message;
      const form = document.createElement('form');
      form.method = 'dialog';
      const ok = document.createElement('button');
      ok.textContent = 'Добре';  // as the desktop's box says
      form.append(ok);
      dialog.setAttribute('aria-labelledby', heading.id);
      dialog.setAttribute('aria-describedby', text.id);
      dialog.append(heading, text, form);
      document.body.append(dialog);
      dialog.showModal();
      ok.focus();
    },
    // Below its own width and a small margin the form is scaled down as a
    // whole, every control in its place; its frame takes the scaled size so
    // that the page scrolls to all of it and no further.
    fit: function () {
      const root = formsWeb.root;
      const frame = root.parentElement;
      const width = root.offsetWidth;
      const height = root.offsetHeight;
      const scale = Math.min(1, (document.documentElement.clientWidth - 16) / width);
      root.style.transform = scale < 1 ? 'scale(' + scale + ')' : '';
      frame.style.width = width * scale + 'px';
      frame.style.height = height * scale + 'px';
    },
    // In a group of option buttons the arrow keys move to the neighbour the
    // program named for each direction (none at an edge), and select it.
    arrow: function (r, event) {
      const way = { ArrowLeft: 0, ArrowRight: 1, ArrowUp: 2, ArrowDown: 3 }[event.key];
      if (way === undefined || event.altKey || event.ctrlKey || event.metaKey || event.shiftKey) return;
      event.preventDefault();
      const to = r.arrows ? r.arrows[way] : -1;
      if (to < 0) return;
      formsWeb.rows[to].element.focus();
      formsWeb.rows[to].element.click();
    },
    // The group is one stop of Tab, at the selected one or else the first.
    rove: function (name) {
      const group = formsWeb.rows.filter((r) => r && r.kind === 'option' && r.element.name === name);
      const stop = group.find((r) => r.element.checked) || group[0];
      for (const r of group) r.element.tabIndex = r === stop ? 0 : -1;
    },
    // The arrow keys and Page Up / Page Down scroll a pool by its rows.
    scroll: function (list, event) {
      const rows = Math.max(1, Math.floor(list.clientHeight / formsWeb.entryHeight));
      const by = { ArrowUp: -1, ArrowDown: 1, PageUp: -rows, PageDown: rows, Home: -Infinity, End: Infinity }[event.key];
      if (by === undefined || event.altKey || event.ctrlKey || event.metaKey) return;
      event.preventDefault();
      const top = Math.round(list.scrollTop / formsWeb.entryHeight) + by;
      list.scrollTop = Math.max(0, Math.min(top, list.children.length)) * formsWeb.entryHeight;
    },
  },

  forms_web_begin__deps: ['$formsWeb'],
  forms_web_begin: function (id, title, width, height, back, fonts, points) {
    const root = document.getElementById(UTF8ToString(id));
    formsWeb.root = root;
    // A title collapses runs of blanks; no-break blanks keep them as written.
    const caption = UTF16ToString(title);
    document.title = caption.replace(/ {2,}/g, (blanks) => '\u00a0'.repeat(blanks.length));
    // The page's heading, for those who find their way by headings: the
    // caption without the site before it, as the error box's title.
    const heading = document.createElement('h1');
    heading.className = 'unseen';
    heading.textContent = caption.split('   ').pop();
    root.prepend(heading);
    // The one place that says what each move changed, politely, as a whole.
    const status = document.createElement('div');
    status.className = 'unseen';
    status.id = 'forms-status';
    status.setAttribute('role', 'status');
    status.setAttribute('aria-atomic', 'true');
    root.append(status);
    formsWeb.status = status;
    root.style.width = width + 'px';
    root.style.height = height + 'px';
    root.style.background = formsWeb.colour(back);
    root.style.fontFamily = UTF8ToString(fonts);
    root.style.fontSize = points + 'pt';
    formsWeb.entryHeight = Math.round(points * 96 / 72 * 1.125);
    formsWeb.fit();
    window.addEventListener('resize', formsWeb.fit);
  },

  // A row of the description as an element of the page; its kind is one of
  // "label", "frame", "option", "button", "text", "list".
  forms_web_make__deps: ['$formsWeb'],
  forms_web_make: function (row, kindName, name, index, caption, left, top, width, height, back, visible, multiLine, tab) {
    const kind = UTF8ToString(kindName);
    const text = UTF16ToString(caption);
    const arrayName = UTF8ToString(name);
    let box;
    let element;
    if (kind === 'label') {
      box = element = document.createElement('div');
      box.className = 'label';
      box.textContent = text;
    } else if (kind === 'frame') {
      box = element = document.createElement('div');
      box.className = 'frame';
      box.setAttribute('role', 'group');
      const edge = document.createElement('div');
      edge.className = 'edge';
      const legend = document.createElement('span');
      legend.className = 'legend';
      legend.id = arrayName + '-caption';
      legend.textContent = text;
      box.setAttribute('aria-labelledby', legend.id);
      box.append(edge, legend);
    } else if (kind === 'option') {
      // The whole box is the radio's label, so a click anywhere in it selects.
      box = document.createElement('label');
      box.className = 'option';
      element = document.createElement('input');
      element.type = 'radio';
      const span = document.createElement('span');
      span.textContent = text;
      box.append(element, span);
    } else if (kind === 'button') {
      box = element = document.createElement('button');
      box.type = 'button';
      box.className = 'button';
      box.textContent = text;
    } else if (kind === 'text') {
      box = element = document.createElement(multiLine ? 'textarea' : 'input');
      box.className = multiLine ? 'panel' : 'cell';
      box.readOnly = true;
      box.setAttribute('aria-readonly', 'true');
      if (!multiLine) box.type = 'text';
    } else if (kind === 'list') {
      // Drawn by the page, so that every engine, a phone's too, shows a list
      // of the same rows.
      box = element = document.createElement('div');
      box.className = 'list';
      box.setAttribute('role', 'listbox');
      box.tabIndex = 0;
      box.addEventListener('keydown', (event) => formsWeb.guard(() => formsWeb.scroll(box, event)));
    } else {
      throw new Error('no such kind of control: ' + kind);
    }
    box.classList.add('control');
    box.dataset.name = arrayName;
    if (index >= 0) box.dataset.index = index;
    box.style.left = left + 'px';
    box.style.top = top + 'px';
    box.style.width = width + 'px';
    box.style.height = height + 'px';
    if (back >= 0) box.style.background = formsWeb.colour(back);
    if (!visible) box.hidden = true;
    // The row as described, which the tests read back from the page.
    formsWeb.rows[row] = {
      box: box, element: element, kind: kind, name: '',
      row: { kind: kind, name: arrayName, index: index, left: left, top: top, width: width, height: height,
        colour: back >= 0 ? back : null, tab: tab, visible: !!visible, container: null },
    };
    Module.formRows = formsWeb.rows;
  },

  // Puts a row's box into its container (-1: the form) in tab order.
  forms_web_place__deps: ['$formsWeb'],
  forms_web_place: function (row, container) {
    const r = formsWeb.rows[row];
    const parent = container < 0 ? formsWeb.root : formsWeb.rows[container].box;
    parent.append(r.box);
    if (container >= 0) {
      r.row.container = formsWeb.rows[container].row.name;
      if (r.kind === 'option') parent.setAttribute('role', 'radiogroup');
    }
    if (r.kind === 'option') formsWeb.rove(r.element.name);
  },

  // What names a control for a screen reader beside its caption; a label named
  // so speaks the name, then its caption.
  forms_web_name__deps: ['$formsWeb'],
  forms_web_name: function (row, name) {
    const r = formsWeb.rows[row];
    r.name = UTF16ToString(name);
    if (r.kind === 'label') {
      // Not a live region of its own: the form's status says what changed.
      r.box.setAttribute('role', 'note');
      r.box.setAttribute('aria-label', r.name + r.box.textContent);
    } else {
      r.element.setAttribute('aria-label', r.name);
    }
  },

  // An option is clicked when it becomes selected: a click on the selected one
  // raises nothing, as on the desktop.
  forms_web_listen__deps: ['$formsWeb'],
  forms_web_listen: function (row) {
    const r = formsWeb.rows[row];
    if (r.kind === 'option') {
      r.element.addEventListener('change', () => formsWeb.guard(() => {
        formsWeb.rove(r.element.name);
        _forms_web_click(row);
      }));
      r.element.addEventListener('keydown', (event) => formsWeb.guard(() => formsWeb.arrow(r, event)));
    } else {
      r.element.addEventListener('click', () => formsWeb.guard(() => _forms_web_click(row)));
    }
  },

  // An option button's group, named by its first member's row, and where
  // each arrow key moves from it: rows of the description for Left, Right,
  // Up and Down, -1 at an edge; both as the program worked them out.
  forms_web_arrows__deps: ['$formsWeb'],
  forms_web_arrows: function (row, group, left, right, up, down) {
    formsWeb.rows[row].element.name = 'group-' + group;
    formsWeb.rows[row].arrows = [left, right, up, down];
  },

  forms_web_list_count__deps: ['$formsWeb'],
  forms_web_list_count: function (row) { return formsWeb.rows[row].element.children.length; },
  forms_web_list_clear__deps: ['$formsWeb'],
  forms_web_list_clear: function (row) { formsWeb.rows[row].element.replaceChildren(); },
  forms_web_list_append__deps: ['$formsWeb'],
  forms_web_list_append: function (row, entry) {
    const option = document.createElement('div');
    option.className = 'entry';
    option.setAttribute('role', 'option');
    option.setAttribute('aria-selected', 'false');
    option.textContent = UTF16ToString(entry);
    formsWeb.rows[row].element.append(option);
  },
  forms_web_list_remove__deps: ['$formsWeb'],
  forms_web_list_remove: function (row, index) { formsWeb.rows[row].element.children[index].remove(); },

  // Multi-line texts keep CR LF line ends; the page shows plain line feeds.
  forms_web_text_length__deps: ['$formsWeb'],
  forms_web_text_length: function (row) {
    const r = formsWeb.rows[row];
    formsWeb.text = r.element.tagName === 'TEXTAREA' ? r.element.value.replace(/\n/g, '\r\n') : r.element.value;
    return formsWeb.text.length;
  },
  forms_web_text_read__deps: ['$formsWeb'],
  forms_web_text_read: function (buffer, length) { stringToUTF16(formsWeb.text, buffer, 2 * length + 2); },
  forms_web_text_set__deps: ['$formsWeb'],
  forms_web_text_set: function (row, text) {
    formsWeb.rows[row].element.value = UTF16ToString(text).replace(/\r\n/g, '\n');
  },

  forms_web_caption_set__deps: ['$formsWeb'],
  forms_web_caption_set: function (row, caption) {
    const r = formsWeb.rows[row];
    r.box.textContent = UTF16ToString(caption);
    if (r.name) r.box.setAttribute('aria-label', r.name + r.box.textContent);
  },

  forms_web_enabled__deps: ['$formsWeb'],
  forms_web_enabled: function (row) { return formsWeb.rows[row].element.disabled ? 0 : 1; },
  forms_web_set_enabled__deps: ['$formsWeb'],
  forms_web_set_enabled: function (row, enabled) { formsWeb.rows[row].element.disabled = !enabled; },
  forms_web_checked__deps: ['$formsWeb'],
  forms_web_checked: function (row) { return formsWeb.rows[row].element.checked ? 1 : 0; },
  forms_web_set_checked__deps: ['$formsWeb'],
  forms_web_set_checked: function (row, checked) {
    const r = formsWeb.rows[row];
    r.element.checked = !!checked;
    formsWeb.rove(r.element.name);
  },

  // The words of a move; the same words again are said again, told apart by
  // a no-break blank at their end, every other time.
  forms_web_status__deps: ['$formsWeb'],
  forms_web_status: function (words) {
    const text = UTF16ToString(words);
    const status = formsWeb.status;
    status.textContent = status.textContent === text ? text + '\u00a0' : text;
  },

  forms_web_error__deps: ['$formsWeb'],
  forms_web_error: function (title, message) { formsWeb.errorBox(UTF16ToString(title), UTF16ToString(message)); },

  // The decimal separator of the first of the browser's languages that is a
  // valid tag, worked out once; a point where none is ("C", "", "en_US").
  forms_web_decimal_separator__deps: ['$formsWeb'],
  forms_web_decimal_separator: function () {
    if (formsWeb.separator) return formsWeb.separator;
    formsWeb.separator = 46;
    const tags = [].concat(navigator.languages || [], navigator.language || []);
    for (const tag of tags) {
      try {
        const parts = new Intl.NumberFormat(tag).formatToParts(0.5);
        const point = parts.find((p) => p.type === 'decimal');
        if (point && point.value.length === 1) formsWeb.separator = point.value.charCodeAt(0);
        break;
      } catch {
        // Not a language tag: the next one, or the point.
      }
    }
    return formsWeb.separator;
  },
});
