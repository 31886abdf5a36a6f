// What the page tells the emscripten runtime and how it answers it: the Module object (the
// canvas, the end of the program), the exit shown as the program's normal end, the service
// worker, and which fingers on the canvas the browser's GLUT gets to see.
"use strict";

var canvas = document.getElementById("canvas");

// Shows that the program has ended. Installed as an app the page has no reload button of the
// browser's: it has its own.
function showEnd(status) {
  var ended = document.getElementById("ended");
  if (ended.style.display === "flex") return;
  canvas.style.display = "none";
  document.getElementById("ended-text").textContent = "The program has ended (exit status " +
      status + "). Reload the page to start it again.";
  ended.style.display = "flex";
  document.getElementById("bar").hidden = true;
  document.getElementById("keyboard").hidden = true;
}

var Module = {
  canvas: canvas,
  // The runtime shuts down on exit and reports the status here.
  onExit: showEnd
};

// exit ends the program by throwing an ExitStatus out of the key handler that called it; that
// is the program's normal end, not an error of the page.
window.addEventListener("error", function (event) {
  if (event.error && event.error.name === "ExitStatus") {
    event.preventDefault();
    showEnd(event.error.status);
  }
});

document.getElementById("again").addEventListener("click", function () {
  location.reload();
});

// The browser's GLUT, where the document has touch events when it starts, turns each touch
// event on the canvas into the mouse event of its first changed finger: touchstart a left press,
// touchend a release, touchmove a motion, at the finger's point. A one-finger tap on the canvas
// is therefore a click. Every further finger would be one more press and release, so only the
// finger that came first reaches GLUT (this listener runs before GLUT's, which are registered
// later on the same capturing phase); the others do nothing. Without touch events GLUT listens
// to none, and the browser's own mouse events of a tap give the same click.
(function () {
  if (!("ontouchstart" in document.documentElement)) return;
  var finger = null; // the identifier of the finger GLUT follows, while it is down
  function first(event) {
    if (event.target !== canvas) return;
    var ids = Array.prototype.map.call(event.changedTouches, function (t) {
      return t.identifier;
    });
    var pass;
    if (event.type === "touchstart") {
      pass = finger === null;
      if (pass) finger = ids[0];
    } else if (event.type === "touchmove") {
      pass = ids[0] === finger;
    } else {
      pass = ids.indexOf(finger) >= 0; // it lifts (or the system takes it): the next may start
      if (pass) finger = null;
    }
    if (!pass) {
      event.stopImmediatePropagation();
      event.preventDefault();
    }
  }
  ["touchstart", "touchmove", "touchend", "touchcancel"].forEach(function (type) {
    window.addEventListener(type, first, {capture: true, passive: false});
  });
})();

// The browser's GLUT passes every mouse release on the page to the program, wherever it is. The
// page's own buttons (the keys, "Keyboard", "Full screen") keep their mouse events to themselves,
// the browser's compatibility events of a tap included: those presses are not the program's.
["mousedown", "mouseup"].forEach(function (type) {
  window.addEventListener(type, function (event) {
    if (event.target instanceof Element && event.target.closest("button")) {
      event.stopImmediatePropagation();
    }
  }, true);
});

window.addEventListener("load", function () {
  canvas.focus();
  // The service worker keeps a copy of the page's files, so that it loads and plays offline
  // after one visit. Browsers allow it only on https and on this machine's own addresses.
  if ("serviceWorker" in navigator) {
    navigator.serviceWorker.register("service-worker.js").catch(function (error) {
      console.warn("The page will not play offline: " + error);
    });
  }
});
