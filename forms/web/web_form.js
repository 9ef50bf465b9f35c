// The browser back end's side in the page (an Emscripten JavaScript library):
// it adopts a form's controls, which the page's markup holds, reads and
// writes them for web_form.cpp, and hands the page's clicks back to it.
/* global mergeInto, LibraryManager, Module, UTF8ToString, UTF16ToString, stringToUTF16, stringToUTF8, _forms_web_click,
   _forms_web_fail, formsWeb */

mergeInto(LibraryManager.library, {
  // What the functions below share; Emscripten puts it into the page once.
  $formsWeb: {
    rows: [],
    root: null,
    text: '',
    separator: '',
    separatorOfLanguages: function () {
      const tags = [].concat(navigator.languages || [], navigator.language || []);
      for (const tag of tags) {
        try {
          const parts = new Intl.NumberFormat(tag).formatToParts(0.5);
          const point = parts.find((p) => p.type === 'decimal');
          return point && point.value ? point.value : '.';
        } catch {
          // Not a language tag: the next one, or the point.
        }
      }
      return '.';
    },
    // The pools' row height: the form's font's line, as the desktop's list draws it.
    entryHeight: 18,
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
      if (formsWeb.ended) return;
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
      formsWeb.ended = true;
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
    // The form's units (--ux, --uy) grow, as a dialog's in dialog units
    // follow its font, when the reader's settings (a minimum font size, more
    // spacing between letters, words and lines) make a caption need more room
    // than at the described font; at the defaults they are 1, the form as
    // described. Each round widens the form by what the most crowded caption
    // lacks.
    grow: function () {
      const root = formsWeb.root;
      const captions = root.querySelectorAll('.label, .legend, .option span, .button');
      let unit = 1;
      root.style.setProperty('--ux', 1);
      root.style.setProperty('--uy', 1);
      for (let round = 0; round < 8; ++round) {
        let lack = 1;
        for (const e of captions) {
          if (e.closest('[hidden]') || !e.textContent) continue;
          // The text against the box that clips it: the control's, or the
          // frame's for its caption.
          const clip = (e.classList.contains('legend') ? e.parentElement : e.closest('.control')).getBoundingClientRect();
          const range = document.createRange();
          range.selectNodeContents(e);
          const text = range.getBoundingClientRect();
          lack = Math.max(lack, (text.right - clip.left) / clip.width, (text.bottom - clip.top) / clip.height);
        }
        if (lack <= 1) break;
        unit *= lack + 0.01;
        root.style.setProperty('--ux', unit);
        root.style.setProperty('--uy', unit);
      }
      formsWeb.unit = unit;
    },
    // Below its own width and a small margin the form is scaled down as a
    // whole, every control in its place; its frame takes the scaled size so
    // that the page scrolls to all of it and no further. Scaled down, its
    // rows keep their height on the page (--uy), so that the selectors and
    // buttons stay targets a finger can tell apart.
    fit: function () {
      const root = formsWeb.root;
      const frame = root.parentElement;
      root.style.transform = '';
      root.style.setProperty('--uy', formsWeb.unit);
      const width = root.offsetWidth;
      const scale = Math.min(1, (document.documentElement.clientWidth - 16) / width);
      if (scale < 1) {
        // A little more than the described rows, whose 24 px between the
        // selectors' centres is just the spacing a small target needs.
        root.style.setProperty('--uy', formsWeb.unit / scale * 1.05);
        root.style.transform = 'scale(' + scale + ')';
      }
      const height = root.offsetHeight;
      frame.style.width = width * scale + 'px';
      frame.style.height = height * scale + 'px';
    },
    layout: function () {
      formsWeb.grow();
      formsWeb.fit();
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
  forms_web_begin: function (id, points) {
    const root = document.getElementById(UTF8ToString(id));
    formsWeb.root = root;
    formsWeb.status = document.getElementById('forms-status');
    formsWeb.unit = 1;
    formsWeb.entryHeight = Math.round(points * 96 / 72 * 1.125);
  },

  // The form takes input once loaded; a screen reader is told it is no
  // longer busy. Its layout follows the reader's text from here on: a
  // caption's size changes with the settings that change the text.
  forms_web_ready__deps: ['$formsWeb'],
  forms_web_ready: function () {
    const root = formsWeb.root;
    const frame = root.parentElement;
    if (!formsWeb.ended) root.inert = false;
    frame.removeAttribute('aria-busy');
    // The page's style shows the frame, which the markup hides for a page
    // whose style was refused; the frame is then as it looks.
    if (getComputedStyle(frame).display !== 'none') frame.hidden = false;
    document.documentElement.classList.add('ready');
    formsWeb.layout();
    addEventListener('resize', () => formsWeb.guard(formsWeb.layout));
    // A page kept in the back/forward cache comes back the program's as it
    // was left; but a browser may reset, as it brings it back, the fields
    // that keep nothing (WebKit does). They keep nothing again only once
    // back: the page's own load resets them when it is loaded anew.
    const fields = root.querySelectorAll('[autocomplete=off]');
    addEventListener('pagehide', (event) => {
      if (event.persisted) for (const e of fields) e.removeAttribute('autocomplete');
    });
    addEventListener('pageshow', () => {
      for (const e of fields) e.setAttribute('autocomplete', 'off');
    });
    const watch = new ResizeObserver(() => formsWeb.guard(formsWeb.layout));
    for (const e of root.querySelectorAll('.legend, .option span')) watch.observe(e);
  },

  // A row of the description's element in the page's markup; its kind is
  // one of markup.cpp's KindName.
  forms_web_make__deps: ['$formsWeb'],
  forms_web_make: function (row, kindName, name, index, spoken, left, top, width, height, back, visible, tab, container) {
    const kind = UTF8ToString(kindName);
    const box = formsWeb.root.querySelector('[data-row="' + row + '"]');
    if (!box || !box.classList.contains(kind)) throw new Error('the page holds no ' + kind + ' of row ' + row);
    const element = kind === 'option' ? box.querySelector('input') : box;
    // Whatever a browser kept in a field from an earlier visit is not the
    // program's: each starts as written, and the load writes it.
    if (element.tagName === 'INPUT' || element.tagName === 'TEXTAREA') {
      element.value = element.defaultValue;
      element.checked = element.defaultChecked;
    }
    if (kind === 'list') box.addEventListener('keydown', (event) => formsWeb.guard(() => formsWeb.scroll(box, event)));
    if (element.tagName === 'TEXTAREA') {
      // Focus leaves the text where the reader is, at its start on the first
      // Tab, not at the caret's end that its writing left.
      element.addEventListener('focus', () => {
        if (element.dataset.read) return;
        element.dataset.read = 'yes';
        element.setSelectionRange(0, 0);
        element.scrollTop = 0;
      });
    }
    const containerName = UTF8ToString(container);
    // The row as described, which the tests read back from the page.
    formsWeb.rows[row] = {
      box: box, element: element, kind: kind, name: UTF16ToString(spoken),
      row: { kind: kind, name: UTF8ToString(name), index: index, left: left, top: top, width: width, height: height,
        colour: back >= 0 ? back : null, tab: tab, visible: !!visible, container: containerName || null },
    };
    Module.formRows = formsWeb.rows;
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

  // An option button's group, named by its first member's row (the markup
  // names the radios so), and where each arrow key moves from it: rows of the
  // description for Left, Right, Up and Down, -1 at an edge; both as the
  // program worked them out.
  forms_web_arrows__deps: ['$formsWeb'],
  forms_web_arrows: function (row, group, left, right, up, down) {
    const r = formsWeb.rows[row];
    if (r.element.name !== 'group-' + group) throw new Error('the page groups row ' + row + ' otherwise');
    r.arrows = [left, right, up, down];
  },

  // A control's name for a screen reader, anew (a pool's, with its count).
  forms_web_name__deps: ['$formsWeb'],
  forms_web_name: function (row, name) {
    const r = formsWeb.rows[row];
    r.name = UTF16ToString(name);
    r.element.setAttribute('aria-label', r.name);
  },

  // The words of a move; the same words again are said again, told apart by
  // a no-break blank at their end, every other time.
  forms_web_status__deps: ['$formsWeb'],
  forms_web_status: function (words) {
    const text = UTF16ToString(words);
    const status = formsWeb.status;
    status.textContent = status.textContent === text ? text + '\u00a0' : text;
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

  forms_web_error__deps: ['$formsWeb'],
  forms_web_error: function (title, message) { formsWeb.errorBox(UTF16ToString(title), UTF16ToString(message)); },

  // The decimal separator of the first of the browser's languages that is a
  // valid tag, worked out once; a point where none is ("C", "", "en_US").
  // Written as UTF-8 into the buffer; its length in bytes.
  forms_web_decimal_separator__deps: ['$formsWeb'],
  forms_web_decimal_separator: function (utf8, size) {
    if (!formsWeb.separator) formsWeb.separator = formsWeb.separatorOfLanguages();
    return stringToUTF8(formsWeb.separator, utf8, size);
  },
});

