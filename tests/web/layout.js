// The page's layout checked in the current viewport, by any browser engine: the test harnesses
// inject this file and call the functions it defines (it needs nothing else).
//   layoutProblems()  a list of sentences, one per problem found; empty when the layout is sound
//   layoutReport()    the sizes measured: viewport, safe-area insets, canvas, keys
// Sizes are CSS pixels. Rectangles are read with getBoundingClientRect.

function layoutReport() {
  function box(element) {
    var r = element.getBoundingClientRect();
    return {left: r.left, top: r.top, width: r.width, height: r.height};
  }
  function shown(element) {
    if (!element || element.getClientRects().length === 0) return false;
    var style = getComputedStyle(element);
    return style.visibility !== "hidden" && style.display !== "none";
  }
  // The safe-area insets as the engine resolves them (zero where there is no notch).
  var probe = document.createElement("div");
  probe.style.cssText = "position:fixed;visibility:hidden;padding:" +
      "env(safe-area-inset-top,0px) env(safe-area-inset-right,0px) " +
      "env(safe-area-inset-bottom,0px) env(safe-area-inset-left,0px)";
  document.body.appendChild(probe);
  var probed = getComputedStyle(probe);
  var safe = {top: parseFloat(probed.paddingTop) || 0, right: parseFloat(probed.paddingRight) || 0,
              bottom: parseFloat(probed.paddingBottom) || 0,
              left: parseFloat(probed.paddingLeft) || 0};
  document.body.removeChild(probe);

  var root = document.documentElement;
  var keyboard = document.getElementById("keyboard");
  var keys = keyboard ? Array.prototype.slice.call(keyboard.querySelectorAll("button")) : [];
  var canvas = document.getElementById("canvas");
  var controls = Array.prototype.slice.call(document.querySelectorAll("button, #help"))
      .filter(function (e) { return shown(e) && !(keyboard && keyboard.contains(e)); });
  return {
    viewport: {width: root.clientWidth, height: root.clientHeight},
    scroll: {width: root.scrollWidth, height: root.scrollHeight},
    safe: safe,
    canvas: shown(canvas) ? box(canvas) : null,
    keyboardShown: !!keyboard && shown(keyboard),
    keys: keys.filter(shown).map(function (key) {
      var b = box(key);
      b.name = key.getAttribute("aria-label") || key.textContent;
      return b;
    }),
    controls: controls.map(function (e) {
      var b = box(e);
      b.name = e.id || e.textContent;
      return b;
    })
  };
}

function layoutProblems() {
  var report = layoutReport();
  var problems = [];
  var slack = 0.01; // rounding of fractional layout sizes
  function describe(b) {
    return (b.name ? b.name + " " : "") + "(" + [b.left, b.top, b.width, b.height]
        .map(function (v) { return Math.round(v * 100) / 100; }).join(", ") + ")";
  }
  function overlap(a, b) {
    return Math.min(a.left + a.width, b.left + b.width) - Math.max(a.left, b.left) > slack &&
        Math.min(a.top + a.height, b.top + b.height) - Math.max(a.top, b.top) > slack;
  }
  var view = report.viewport;
  if (report.scroll.width > view.width || report.scroll.height > view.height) {
    problems.push("the page scrolls: " + report.scroll.width + "x" + report.scroll.height +
                  " in a viewport of " + view.width + "x" + view.height);
  }
  var c = report.canvas;
  if (!c) {
    problems.push("the canvas is not shown");
  } else {
    var whole = [c.left, c.top, c.width, c.height].every(function (v) {
      return Math.abs(v - Math.round(v)) < slack;
    });
    if (!whole) problems.push("the canvas is not on whole CSS pixels: " + describe(c));
    if (Math.abs(c.width * 4 - c.height * 5) > slack) {
      problems.push("the canvas is not 5:4: " + describe(c));
    }
    if (c.left < -slack || c.top < -slack || c.left + c.width > view.width + slack ||
        c.top + c.height > view.height + slack) {
      problems.push("the canvas reaches past the viewport: " + describe(c));
    }
  }
  var safe = report.safe;
  report.keys.forEach(function (k, i) {
    if (k.width < 48 - slack || k.height < 48 - slack) {
      problems.push("key smaller than 48x48: " + describe(k));
    }
    if (k.left < safe.left - slack || k.top < safe.top - slack ||
        k.left + k.width > view.width - safe.right + slack ||
        k.top + k.height > view.height - safe.bottom + slack) {
      problems.push("key outside the safe area: " + describe(k));
    }
    if (c && overlap(k, c)) problems.push("key over the canvas: " + describe(k));
    report.keys.slice(i + 1).forEach(function (other) {
      if (overlap(k, other)) problems.push("keys overlap: " + describe(k) + " " + describe(other));
    });
  });
  report.controls.forEach(function (e) {
    if (c && overlap(e, c)) problems.push("over the canvas: " + describe(e));
    report.keys.forEach(function (k) {
      if (overlap(e, k)) problems.push("over a key: " + describe(e) + " " + describe(k));
    });
  });
  return problems;
}
