// Where everything goes on the screen, recomputed whenever its size changes: the canvas, the
// touch keyboard and the bar (the help line, the "Keyboard" and "Full screen" buttons), all
// inside the safe area and on whole CSS pixels, nothing covering anything else.
// - The canvas keeps the program window's shape, 5:4, with a width that is a multiple of 5, and
//   takes all the room the rest leaves: the full width above the keys in portrait, the full
//   height beside them in landscape, giving up what keys of 48 by 48 pixels need.
// - The keyboard is shown where the main pointer is coarse (phones, tablets); elsewhere its
//   button shows it.
// - "Full screen" is offered where the browser allows it and the page is not full screen yet.
"use strict";

(function () {
  var MIN_KEY = 48; // the touch guidelines' smallest target, CSS pixels
  var MAX_KEY = 112;
  var GAP = 6, PAD = 4; // the keyboard's CSS: gap between keys, padding around them
  var HELP_TYPED = "Type letters to make figures; Backspace takes the last key back; " +
      "Escape ends the program.";
  var HELP_TAPPED = "Tap letters to make figures; \u232b takes the last one back.";

  var canvas = Module.canvas;
  var ended = document.getElementById("ended");
  var bar = document.getElementById("bar");
  var help = document.getElementById("help");
  var keyboard = Keyboard.element;
  var showKeyboard = document.getElementById("show-keyboard");
  var fullscreen = document.getElementById("fullscreen");
  var safeArea = document.getElementById("safe-area");
  var coarse = window.matchMedia("(pointer: coarse)");

  // Through custom properties of page.css: emscripten takes the canvas's own width and height
  // styles away when it sizes the drawing buffer.
  function place(element, box) {
    element.style.setProperty("--left", box.x + "px");
    element.style.setProperty("--top", box.y + "px");
    element.style.setProperty("--width", box.w + "px");
    element.style.setProperty("--height", box.h + "px");
  }

  // The bar's height at a width.
  function barHeight(width) {
    bar.style.setProperty("--width", width + "px");
    bar.style.setProperty("--height", "auto");
    return Math.ceil(bar.getBoundingClientRect().height);
  }

  // The largest 5:4 canvas within w by h, on whole pixels.
  function fit(w, h) {
    var width = Math.max(0, Math.min(w, Math.floor(h * 5 / 4)));
    width -= width % 5;
    return {w: width, h: width / 5 * 4};
  }

  // The room `cols` columns of the keys need at their smallest.
  function keysNeed(cols) {
    var rows = Math.ceil(Keyboard.count / cols);
    return {w: cols * MIN_KEY + (cols - 1) * GAP + 2 * PAD,
            h: rows * MIN_KEY + (rows - 1) * GAP + 2 * PAD};
  }

  // The arrangements with the keys below the canvas (the bar between them) or beside it (the
  // bar above the keys, or under the canvas), each with the largest canvas that leaves the keys
  // their room; the one with the largest canvas wins.
  function arrange(area) {
    var best = null;
    function consider(canvasBox, keysBox, barBox) {
      if (canvasBox.w > 0 && (!best || canvasBox.w > best.canvas.w)) {
        best = {canvas: canvasBox, keys: keysBox, bar: barBox};
      }
    }
    var fullBar = barHeight(area.w);
    for (var cols = 1; cols <= Keyboard.count; cols++) {
      var need = keysNeed(cols);
      if (need.w <= area.w) {
        var c = fit(area.w, area.h - fullBar - need.h);
        var left = area.x + Math.floor((area.w - c.w) / 2);
        var barTop = area.y + c.h;
        consider({x: left, y: area.y, w: c.w, h: c.h},
                 {x: area.x, y: barTop + fullBar, w: area.w, h: area.h - c.h - fullBar},
                 {x: area.x, y: barTop, w: area.w, h: fullBar});
      }
      if (need.w < area.w && need.h <= area.h) {
        var side = area.w - need.w;
        // The bar above the keys, as wide as the room the canvas leaves them.
        c = fit(side, area.h);
        var x = area.x + c.w;
        var keysBar = barHeight(area.w - c.w);
        if (need.h + keysBar <= area.h) {
          consider({x: area.x, y: area.y + Math.floor((area.h - c.h) / 2), w: c.w, h: c.h},
                   {x: x, y: area.y + keysBar, w: area.w - c.w, h: area.h - keysBar},
                   {x: x, y: area.y, w: area.w - c.w, h: keysBar});
        }
        // The bar under the canvas.
        var canvasBar = barHeight(side);
        c = fit(side, area.h - canvasBar);
        var top = area.y + Math.floor((area.h - c.h - canvasBar) / 2);
        consider({x: area.x, y: top, w: c.w, h: c.h},
                 {x: area.x + c.w, y: area.y, w: area.w - c.w, h: area.h},
                 {x: area.x, y: top + c.h, w: c.w, h: canvasBar});
      }
    }
    return best;
  }

  // The columns that give the keys the largest size in their box, squarest on a tie; sets the
  // grid to them.
  function setKeys(box) {
    var best = null;
    for (var cols = 1; cols <= Keyboard.count; cols++) {
      var rows = Math.ceil(Keyboard.count / cols);
      var w = Math.min(MAX_KEY, Math.floor((box.w - 2 * PAD - (cols - 1) * GAP) / cols));
      var h = Math.min(MAX_KEY, Math.floor((box.h - 2 * PAD - (rows - 1) * GAP) / rows));
      var size = Math.min(w, h);
      if (w >= MIN_KEY && h >= MIN_KEY && (!best || size > best.size ||
          (size === best.size && Math.abs(w - h) < Math.abs(best.w - best.h)))) {
        best = {cols: cols, rows: rows, w: w, h: h, size: size};
      }
    }
    if (!best) { // not reached: arrange() leaves room for 48-pixel keys
      best = {cols: Keyboard.count, rows: 1, w: MIN_KEY, h: MIN_KEY};
    }
    keyboard.style.gridTemplateColumns = "repeat(" + best.cols + ", " + best.w + "px)";
    keyboard.style.gridTemplateRows = "repeat(" + best.rows + ", " + best.h + "px)";
    var font = Math.round(Math.min(best.w, best.h) * 0.45);
    keyboard.style.setProperty("--key-font", font + "px");
    // Backspace, last, also takes the cells the letters leave empty in the last row.
    keyboard.lastElementChild.style.gridColumn =
        "span " + (best.cols * best.rows - Keyboard.count + 1);
  }

  function layout() {
    var inset = getComputedStyle(safeArea);
    var top = Math.ceil(parseFloat(inset.paddingTop) || 0);
    var right = Math.ceil(parseFloat(inset.paddingRight) || 0);
    var bottom = Math.ceil(parseFloat(inset.paddingBottom) || 0);
    var left = Math.ceil(parseFloat(inset.paddingLeft) || 0);
    var root = document.documentElement;
    var area = {x: left, y: top, w: root.clientWidth - left - right,
                h: root.clientHeight - top - bottom};
    // The keys where they are wanted and have room (a screen too small for 48-pixel keys gets
    // none until it grows).
    help.textContent = HELP_TAPPED;
    var plan = keysWanted ? arrange(area) : null;
    keyboard.hidden = !plan;
    if (!plan) {
      help.textContent = HELP_TYPED;
      var barH = barHeight(area.w);
      var c = fit(area.w, area.h - barH);
      plan = {canvas: {x: area.x + Math.floor((area.w - c.w) / 2),
                       y: area.y + Math.floor((area.h - barH - c.h) / 2), w: c.w, h: c.h},
              bar: {x: area.x, y: area.y + area.h - barH, w: area.w, h: barH}};
    } else {
      place(keyboard, plan.keys);
      setKeys(plan.keys);
    }
    place(canvas, plan.canvas);
    place(ended, plan.canvas);
    place(bar, plan.bar);
  }

  // Shows the keyboard; the button that does it is no longer needed.
  var keysWanted = false;
  function show() {
    keysWanted = true;
    showKeyboard.hidden = true;
    layout();
  }
  showKeyboard.addEventListener("click", function () {
    show();
    canvas.focus(); // typed keys still go to the program
  });
  function followPointer() {
    if (coarse.matches && !keysWanted) show();
  }
  if (coarse.addEventListener) coarse.addEventListener("change", followPointer);

  // Full screen where the browser allows it; the installed app already opens that way.
  var root = document.documentElement;
  var request = root.requestFullscreen || root.webkitRequestFullscreen;
  function isFull() {
    return !!(document.fullscreenElement || document.webkitFullscreenElement);
  }
  function offerFullscreen() {
    var allowed = !!request && (document.fullscreenEnabled || document.webkitFullscreenEnabled);
    var hidden = !allowed || isFull() || window.matchMedia("(display-mode: fullscreen)").matches;
    if (fullscreen.hidden !== hidden) {
      fullscreen.hidden = hidden;
      layout();
    }
  }
  fullscreen.addEventListener("click", function () {
    var asked = request.call(root);
    if (asked && asked.catch) asked.catch(function () {});
    canvas.focus();
  });
  ["fullscreenchange", "webkitfullscreenchange"].forEach(function (type) {
    document.addEventListener(type, offerFullscreen);
  });

  new ResizeObserver(layout).observe(document.documentElement);
  window.addEventListener("resize", layout);
  followPointer();
  offerFullscreen();
  layout();
})();
