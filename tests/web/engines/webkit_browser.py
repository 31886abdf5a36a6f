#!/usr/bin/python3
"""A tiny WebKitGTK browser for WebKitWebDriver: one window whose web view the driver controls,
with a user script that passes the page's console output and uncaught errors on to a file, one
line each ("log", "warn", "error", "info", "debug" or "pageerror", a space, the text). The stock
MiniBrowser passes no console output under automation.

  webkit_browser.py --console FILE [--size WIDTHxHEIGHT]

WebKitWebDriver starts it with the arguments of the session's webkitgtk:browserOptions and tells
it where to connect through WEBKIT_INSPECTOR_SERVER."""

import argparse
import sys

import gi

gi.require_version("Gtk", "3.0")
gi.require_version("WebKit2", "4.1")
from gi.repository import Gtk, WebKit2  # noqa: E402

# Wraps the console's functions in every frame before the page's own scripts run: the page's
# runtime binds console.log when it starts, so it binds the wrapper.
FORWARD_CONSOLE = """(function () {
  var handler = window.webkit.messageHandlers.console;
  function post(level, args) {
    var text = Array.prototype.map.call(args, function (a) {
      try { return String(a); } catch (e) { return "?"; }
    }).join(" ");
    try { handler.postMessage(level + " " + text); } catch (e) {}
  }
  ["log", "info", "warn", "error", "debug"].forEach(function (level) {
    var original = console[level];
    console[level] = function () {
      post(level, arguments);
      return original.apply(console, arguments);
    };
  });
  // The error's name too: the program's exit is thrown as an object named ExitStatus, whose
  // message alone says "[object Object]".
  window.addEventListener("error", function (event) {
    var name = event.error && event.error.name;
    post("pageerror", [(name ? name + ": " : "") + event.message]);
  });
  window.addEventListener("unhandledrejection", function (event) {
    post("pageerror", ["unhandled rejection: " + event.reason]);
  });
})();"""


class Browser:
    def __init__(self, console_path, size):
        self.console = open(console_path, "a", encoding="utf-8", buffering=1)
        self.size = size
        self.windows = []
        # A fresh profile each time, kept in memory: no cache, storage or service worker of an
        # earlier session, and nothing left behind in the home folder.
        self.context = WebKit2.WebContext.new_ephemeral()
        self.context.set_automation_allowed(True)
        self.context.connect("automation-started", self.automation_started)

    def automation_started(self, context, session):
        info = WebKit2.ApplicationInfo()
        info.set_name("vorandel-webkit-browser")
        info.set_version(1, 0, 0)
        session.set_application_info(info)
        session.connect("create-web-view", self.create_web_view)

    def console_message(self, manager, result):
        self.console.write(result.get_js_value().to_string().replace("\n", "\\n") + "\n")

    def create_web_view(self, session):
        manager = WebKit2.UserContentManager()
        manager.connect("script-message-received::console", self.console_message)
        manager.register_script_message_handler("console")
        manager.add_script(WebKit2.UserScript.new(
            FORWARD_CONSOLE, WebKit2.UserContentInjectedFrames.ALL_FRAMES,
            WebKit2.UserScriptInjectionTime.START, None, None))
        settings = WebKit2.Settings()
        settings.set_enable_webgl(True)
        settings.set_hardware_acceleration_policy(WebKit2.HardwareAccelerationPolicy.ALWAYS)
        view = WebKit2.WebView(web_context=self.context, user_content_manager=manager,
                               settings=settings, is_controlled_by_automation=True)
        window = Gtk.Window()
        window.set_default_size(*self.size)
        window.add(view)
        # The driver closes a browsing context through the view's close signal; the browser ends
        # with its last window.
        view.connect("close", lambda _: window.destroy())
        window.connect("destroy", self.window_closed)
        window.show_all()
        self.windows.append(window)
        return view

    def window_closed(self, window):
        self.windows.remove(window)
        if not self.windows:
            Gtk.main_quit()


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--console", required=True, help="file that receives the console lines")
    parser.add_argument("--size", default="1000x800", help="the window's size in pixels")
    args = parser.parse_args()
    Browser(args.console, [int(n) for n in args.size.split("x")])
    Gtk.main()
    return 0


if __name__ == "__main__":
    sys.exit(main())
