#!/usr/bin/python3
"""Opens a page in headless Chromium, driven through its DevTools protocol on
a pipe (standard library only), and reports what a person would see, one fact
a line:

  state loaded|failed|timeout     what the page says of its world
  title TEXT / counts TEXT        the drawing's name and the export's counts
  coverage F                      share of the view's pixels the model covers
  console-error TEXT              every error the console showed
  request URL                     every request for something not in the page
  hover X Y TEXT                  where the pointer found a link's description
  navigated URL                   where a click on that object took the browser

Requests leaving the machine are recorded and refused, so a link is followed
without any network."""
import argparse
import base64
import fcntl
import json
import os
import select
import shutil
import subprocess
import sys
import tempfile
import time

CHROMIUM_FLAGS = ["--headless", "--no-sandbox", "--use-angle=swiftshader", "--enable-unsafe-swiftshader",
                  "--ignore-gpu-blocklist", "--no-first-run", "--no-default-browser-check",
                  "--disable-extensions", "--disable-background-networking", "--mute-audio"]


class DevTools:
    """One browser, spoken to as NUL-separated JSON on its fds 3 and 4."""

    def __init__(self, chromium, profile):
        commands, self.sink = os.pipe()
        self.source, replies = os.pipe()
        # Out of the way of 3 and 4 before the child moves them there.
        high = [fcntl.fcntl(fd, fcntl.F_DUPFD, 10) for fd in (commands, replies)]

        def child():
            os.dup2(high[0], 3)
            os.dup2(high[1], 4)

        self.process = subprocess.Popen(
            [chromium, *CHROMIUM_FLAGS, "--remote-debugging-pipe", "--user-data-dir=" + profile, "about:blank"],
            pass_fds=(3, 4), preexec_fn=child, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        for fd in (commands, replies, *high):
            os.close(fd)
        self.buffer = b""
        self.next_id = 0
        self.events = []

    def close(self):
        self.process.kill()
        self.process.wait()
        os.close(self.sink)
        os.close(self.source)

    def _message(self, deadline):
        while b"\0" not in self.buffer:
            left = deadline - time.monotonic()
            if left <= 0 or not select.select([self.source], [], [], left)[0]:
                raise TimeoutError("the browser did not answer")
            chunk = os.read(self.source, 1 << 20)
            if not chunk:
                raise ConnectionError("the browser went away")
            self.buffer += chunk
        text, self.buffer = self.buffer.split(b"\0", 1)
        return json.loads(text)

    def call(self, method, params=None, session=None, timeout=30):
        self.next_id += 1
        message = {"id": self.next_id, "method": method, "params": params or {}}
        if session:
            message["sessionId"] = session
        os.write(self.sink, json.dumps(message).encode() + b"\0")
        deadline = time.monotonic() + timeout
        while True:
            reply = self._message(deadline)
            if reply.get("id") == self.next_id:
                if "error" in reply:
                    raise RuntimeError(f"{method}: {reply['error']}")
                return reply.get("result", {})
            self.events.append(reply)

    def drain(self, seconds):
        """Collects the events that come within `seconds`."""
        deadline = time.monotonic() + seconds
        try:
            while True:
                self.events.append(self._message(deadline))
        except TimeoutError:
            pass


class Page:
    def __init__(self, tools, width, height):
        self.tools = tools
        target = tools.call("Target.createTarget", {"url": "about:blank"})["targetId"]
        self.session = tools.call("Target.attachToTarget", {"targetId": target, "flatten": True})["sessionId"]
        self.handled = len(tools.events)
        self.requests = []
        self.errors = []
        for domain in ("Runtime", "Log", "Page"):
            self.call(domain + ".enable")
        self.call("Fetch.enable", {"patterns": [{"urlPattern": "http*"}]})
        self.call("Emulation.setDeviceMetricsOverride",
                  {"width": width, "height": height, "deviceScaleFactor": 1, "mobile": False})

    def call(self, method, params=None, timeout=30):
        result = self.tools.call(method, params, self.session, timeout)
        self.handle_events()
        return result

    def evaluate(self, expression, timeout=30):
        result = self.call("Runtime.evaluate", {"expression": expression, "awaitPromise": True,
                                                "returnByValue": True}, timeout)
        return result.get("result", {}).get("value")

    def handle_events(self):
        while self.handled < len(self.tools.events):
            event = self.tools.events[self.handled]
            self.handled += 1
            if event.get("sessionId") != self.session:
                continue
            method, params = event.get("method"), event.get("params", {})
            if method == "Fetch.requestPaused":
                self.requests.append(params["request"]["url"])
                self.tools.call("Fetch.failRequest", {"requestId": params["requestId"],
                                                      "errorReason": "BlockedByClient"}, self.session)
            elif method == "Runtime.consoleAPICalled" and params.get("type") in ("error", "assert"):
                self.errors.append(" ".join(str(a.get("value", a.get("description", ""))) for a in params["args"]))
            elif method == "Runtime.exceptionThrown":
                details = params["exceptionDetails"]
                self.errors.append(details.get("exception", {}).get("description", details.get("text", "")))
            elif method == "Log.entryAdded" and params["entry"]["level"] == "error":
                entry = params["entry"]
                self.errors.append(entry["text"] + (" (" + entry["url"] + ")" if entry.get("url") else ""))

    def wait_for_state(self, timeout):
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            state = self.evaluate("document.body ? document.body.dataset.state || '' : ''")
            if state:
                return state
            self.tools.drain(0.2)
            self.handle_events()
        return "timeout"

    def next_frames(self, count=2):
        self.evaluate("new Promise(done => { let n = %d; const step = () => --n ? requestAnimationFrame(step) : "
                      "done(); requestAnimationFrame(step); })" % count)

    def mouse(self, kind, x, y, **extra):
        self.call("Input.dispatchMouseEvent", {"type": kind, "x": x, "y": y, **extra})


# Counted in the page, from the screenshot: the share of the view's pixels
# that differ from its commonest colour (the sky), and some of them, evenly
# spread, for the pointer to try.
MODEL_PIXELS = """(async (png, [left, top, right, bottom], tries) => {
  const bytes = Uint8Array.from(atob(png), c => c.charCodeAt(0));
  const image = await createImageBitmap(new Blob([bytes], { type: "image/png" }));
  const width = right - left, height = bottom - top;
  const context = new OffscreenCanvas(width, height).getContext("2d");
  context.drawImage(image, -left, -top);
  const data = context.getImageData(0, 0, width, height).data;
  const counts = new Map();
  for (let i = 0; i < data.length; i += 4) {
    const colour = (data[i] << 16) | (data[i + 1] << 8) | data[i + 2];
    counts.set(colour, (counts.get(colour) || 0) + 1);
  }
  const sky = [...counts].reduce((best, entry) => entry[1] > best[1] ? entry : best)[0];
  const model = [];
  for (let i = 0; i < data.length; i += 4) {
    const off = Math.abs(data[i] - (sky >> 16)) + Math.abs(data[i + 1] - ((sky >> 8) & 255)) +
                Math.abs(data[i + 2] - (sky & 255));
    if (off > 12) model.push(i / 4);
  }
  const step = Math.max(1, Math.floor(model.length / tries)), points = [];
  for (let k = Math.floor(step / 2); k < model.length && points.length < tries; k += step)
    points.push([left + model[k] % width, top + Math.floor(model[k] / width)]);
  return { coverage: model.length / (width * height), points };
})"""


def find_link(page, points):
    """Moves the pointer over the model until the page shows a description."""
    for x, y in points:
        page.mouse("mouseMoved", x, y)
        page.next_frames()
        shown = page.evaluate("document.getElementById('description').textContent")
        if shown:
            return x, y, shown
    return None


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("page")
    parser.add_argument("--screenshot", help="where the picture of the loaded page goes")
    parser.add_argument("--follow-link", action="store_true", help="find an object with a link and click it")
    parser.add_argument("--size", default="800x600")
    parser.add_argument("--timeout", type=float, default=60)
    arguments = parser.parse_args()
    chromium = shutil.which("chromium") or shutil.which("chromium-browser")
    if not chromium:
        print("no chromium on PATH", file=sys.stderr)
        return 2
    width, height = (int(n) for n in arguments.size.split("x"))
    profile = tempfile.mkdtemp(prefix="page_probe.")
    tools = DevTools(chromium, profile)
    try:
        page = Page(tools, width, height)
        page.call("Page.navigate", {"url": "file://" + os.path.abspath(arguments.page)})
        state = page.wait_for_state(arguments.timeout)
        print("state", state)
        print("title", page.evaluate("document.getElementById('drawing').textContent"))
        print("counts", page.evaluate("document.getElementById('counts').textContent"))
        page.next_frames(3)
        box = page.evaluate("(r => [r.left, r.top, r.right, r.bottom].map(Math.round))"
                            "(document.getElementById('view').getBoundingClientRect())")
        picture = page.call("Page.captureScreenshot", {"format": "png"})["data"]
        if arguments.screenshot:
            with open(arguments.screenshot, "wb") as out:
                out.write(base64.b64decode(picture))
        model = page.evaluate("%s(%s, %s, 80)" % (MODEL_PIXELS, json.dumps(picture),
                                                   json.dumps(box)))
        print("coverage %.4f" % model["coverage"])
        if arguments.follow_link and model["points"]:
            found = find_link(page, model["points"])
            if found:
                x, y, description = found
                print("hover", x, y, description)
                page.mouse("mousePressed", x, y, button="left", clickCount=1)
                page.mouse("mouseReleased", x, y, button="left", clickCount=1)
                deadline = time.monotonic() + 10
                while not page.requests and time.monotonic() < deadline:
                    tools.drain(0.2)
                    page.handle_events()
                for url in page.requests:
                    print("navigated", url)
                page.requests.clear()
        for url in page.requests:
            print("request", url)
        for error in page.errors:
            print("console-error", " ".join(error.split()))
    finally:
        tools.close()
        shutil.rmtree(profile, ignore_errors=True)
    return 0


if __name__ == "__main__":
    sys.exit(main())
