// The touch keyboard: the 26 letters and Backspace as buttons. A key sends the program the
// keydown event a physical key sends, on the canvas, from where it reaches the program's key
// handler on the window like a typed key. Every finger (Pointer Events: its own pointerId, held
// with setPointerCapture) is a key press of its own; a finger held on a key repeats it like a
// held physical key until it lifts or slides off.
"use strict";

var Keyboard = (function () {
  // Alphabetical, in as many columns as the screen has room for (screen.js decides).
  var LETTERS = "abcdefghijklmnopqrstuvwxyz";
  var REPEAT_DELAY = 500; // ms from the press to the first repeat
  var REPEAT_INTERVAL = 1000 / 30; // ms between repeats: 30 a second
  var keyboard = document.getElementById("keyboard");
  var held = {}; // pointerId: {key, timer}

  function addKey(value, label, name) {
    var key = document.createElement("button");
    key.type = "button";
    key.textContent = label;
    key.setAttribute("aria-label", name);
    key.dataset.key = value;
    keyboard.appendChild(key);
  }
  LETTERS.split("").forEach(function (letter) {
    addKey(letter, letter.toUpperCase(), "Letter " + letter.toUpperCase());
  });
  addKey("Backspace", "\u232b", "Backspace");

  function send(type, key, repeat) {
    var code = key.length === 1 ? "Key" + key.toUpperCase() : key;
    Module.canvas.dispatchEvent(new KeyboardEvent(type, {
      key: key, code: code, repeat: repeat, bubbles: true, cancelable: true}));
  }

  function showPressed(key) {
    var down = Object.keys(held).some(function (id) { return held[id].key === key; });
    key.classList.toggle("pressed", down);
  }

  function press(pointerId, key) {
    release(pointerId);
    var hold = {key: key, timer: 0};
    held[pointerId] = hold;
    showPressed(key);
    send("keydown", key.dataset.key, false);
    // Repeats keep to their schedule; one that comes late is not made up for with a burst.
    var due = performance.now() + REPEAT_DELAY;
    function repeat() {
      send("keydown", key.dataset.key, true);
      var now = performance.now();
      due = Math.max(due + REPEAT_INTERVAL, now + REPEAT_INTERVAL / 2);
      hold.timer = setTimeout(repeat, due - now);
    }
    hold.timer = setTimeout(repeat, REPEAT_DELAY);
  }

  function release(pointerId) {
    var hold = held[pointerId];
    if (!hold) return;
    delete held[pointerId];
    clearTimeout(hold.timer);
    showPressed(hold.key);
    send("keyup", hold.key.dataset.key, false);
  }

  function releaseAll() {
    Object.keys(held).forEach(release);
  }

  keyboard.addEventListener("pointerdown", function (event) {
    var key = event.target.closest("button");
    if (!key || (event.pointerType === "mouse" && event.button !== 0)) return;
    // No focus change, text selection or compatibility mouse events: the browser's GLUT would
    // pass a mouse release anywhere on the page to the program.
    event.preventDefault();
    key.setPointerCapture(event.pointerId);
    press(event.pointerId, key);
  });
  keyboard.addEventListener("pointermove", function (event) {
    var hold = held[event.pointerId];
    if (!hold) return;
    var box = hold.key.getBoundingClientRect();
    if (event.clientX < box.left || event.clientX >= box.right || event.clientY < box.top ||
        event.clientY >= box.bottom) {
      release(event.pointerId); // slid off
    }
  });
  ["pointerup", "pointercancel", "lostpointercapture"].forEach(function (type) {
    keyboard.addEventListener(type, function (event) { release(event.pointerId); });
  });
  // A touch's own default actions (scrolling, zoom, the mouse events and click of a tap).
  ["touchstart", "touchend"].forEach(function (type) {
    keyboard.addEventListener(type, function (event) { event.preventDefault(); },
                              {passive: false});
  });
  keyboard.addEventListener("contextmenu", function (event) { event.preventDefault(); });
  // A click with no pointer behind it (assistive technology, a key on a focused button) is one
  // press; a pointer's click has been handled by its pointerdown already.
  keyboard.addEventListener("click", function (event) {
    var key = event.target.closest("button");
    if (key && event.detail === 0) {
      send("keydown", key.dataset.key, false);
      send("keyup", key.dataset.key, false);
    }
  });
  window.addEventListener("blur", releaseAll);

  return {
    element: keyboard,
    count: keyboard.children.length,
    releaseAll: releaseAll
  };
})();
